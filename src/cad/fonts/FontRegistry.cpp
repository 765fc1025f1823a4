#include "cad/fonts/FontRegistry.h"

#include <array>
#include <memory>

#include "cad/base/CADExceptions.h"
#include "cad/base/CADMessageSink.h"
#include "cad/fonts/VectFont.h"
#include "cad/stream/CADStream.h"

namespace {

std::array<std::unique_ptr<TVectFont>, CADCoreFontRegistrySize>& Fonts()
{
    static std::array<std::unique_ptr<TVectFont>, CADCoreFontRegistrySize> fonts;
    return fonts;
}

bool ValidFontIndex(int index)
{
    return index >= 0 && index < CADCoreFontRegistrySize;
}

} // namespace

void CADCoreRegisterFontFromFile(int index, const std::string& fileName)
{
    if (!ValidFontIndex(index))
        throw ECADOutOfBound("CADCoreRegisterFontFromFile: Out of bound registration index");
    auto& slot = Fonts()[static_cast<std::size_t>(index)];
    if (slot)
        throw ECADObjClassNotFound("CADCoreRegisterFontFromFile: Font index already allocated");
    std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(fileName);
    if (!bytes) {
        ShowCADMessage("File not found!\r\n" + fileName);
        return;
    }
    // Fonts are registered at start-up: a damaged file must not stop it.
    try {
        TCADStreamReader stream(std::move(*bytes), fileName);
        slot = std::make_unique<TVectFont>(stream, CADCurrentVersion);
    } catch (const ECADCoreException& error) {
        ShowCADMessage("Font file not valid!\r\n" + fileName + "\r\n" + error.what());
    }
}

int CADCoreFindFontIndex(const TVectFont* font)
{
    if (font)
        for (int i = 0; i < CADCoreFontRegistrySize; ++i)
            if (Fonts()[static_cast<std::size_t>(i)].get() == font)
                return i;
    throw ECADObjClassNotFound("CADCoreFindFontIndex: Font not found");
}

TVectFont* CADCoreFindFontByIndex(int index)
{
    // Indices come from streams: anything outside the table counts as empty.
    if (ValidFontIndex(index))
        if (TVectFont* font = Fonts()[static_cast<std::size_t>(index)].get())
            return font;
    throw ECADObjClassNotFound("CADCoreFindFontByIndex: Font not registered");
}

void CADCoreClearFontRegistry()
{
    for (auto& font : Fonts())
        font.reset();
}
