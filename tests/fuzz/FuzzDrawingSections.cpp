// A drawing's stream sections as a drawing file holds them, then a redraw and
// picks in a headless view, then the sections written back.
//
// Input: one byte choosing the stream version (0 the current one, 1-4 the
// older ones), one byte of flags (bit 0: a layer record follows, for the
// layer whose index is the third byte; bit 1: redraw and pick), the third
// byte, [the layer record], the source-block section, the object section.

#include <array>
#include <string_view>

#include "FuzzSupport.h"
#include "cad/base/CADExceptions.h"
#include "cad/drawing/CADCmp2D.h"

namespace {

constexpr std::array<std::string_view, 5> Versions = {"CAD422", "CAD41 ", "CAD4  ", "CAD33 ", "CAD3  "};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return fuzz::StartDrawingEngine();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const std::string_view version = Versions[data[0] % Versions.size()];
    const std::uint8_t flags = data[1];
    const std::uint8_t layerIndex = data[2];
    TCADCmp2D drawing;
    TCADStreamReader stream = fuzz::ReaderOf(data + 3, size - 3);
    try {
        if (flags & 1)
            drawing.Layers().GetLayer(layerIndex).LoadFromStream(stream, version);
        drawing.LoadBlocks(stream, version);
        drawing.LoadObjects(stream, version);
    } catch (const ECADCoreException&) {
        // What was read before the fault stays, and is drawn.
    }
    try {
        if (flags & 2)
            fuzz::RedrawAndPick(drawing);
        TCADStreamWriter out;
        drawing.SaveBlocks(out, false);
        drawing.SaveObjects(out);
    } catch (const ECADCoreException&) {
        // Some objects cannot be written (a text without a registered font).
    }
    return 0;
}
