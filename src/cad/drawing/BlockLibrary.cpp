#include "cad/drawing/BlockLibrary.h"

#include "cad/base/CADExceptions.h"
#include "cad/base/CADMessageSink.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/stream/CADStream.h"

namespace {

constexpr std::uint8_t BlocksFollow = 2;

} // namespace

void TCADCmp::LoadLibrary(TCADStreamReader& stream)
{
    const std::string version = stream.ReadFixedString(CADCurrentVersion.size());
    if (version != Version) {
        bool resume = false;
        if (OnInvalidFileVersion)
            OnInvalidFileVersion(*this, TStreamType::Library, stream, resume);
        if (!resume)
            throw ECADFileNotValid("TCADCmp.LoadLibrary: Invalid stream version.");
    }
    if (stream.ReadByte() != BlocksFollow)
        throw ECADFileNotValid("TCADCmp.LoadLibrary: no blocks found");
    LoadBlocks(stream, version);
}

void SaveBlockLibrary(TCADCmp& drawing, TCADStreamWriter& stream)
{
    stream.WriteBytes(CADCurrentVersion);
    stream.WriteByte(BlocksFollow);
    drawing.SaveBlocks(stream, true);
}

bool LoadBlockLibraryFile(TCADCmp& drawing, const std::string& fileName)
{
    std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(fileName);
    if (!bytes) {
        ShowCADMessage("File not found!\r\n" + fileName);
        return false;
    }
    try {
        TCADStreamReader stream(std::move(*bytes), fileName);
        drawing.LoadLibrary(stream);
    } catch (const ECADCoreException& error) {
        ShowCADMessage(error.what());
        return false;
    }
    return true;
}
