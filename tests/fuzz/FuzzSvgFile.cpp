// An SVG document of any bytes, turned into polygons as Open does, then seen
// whole and picked in.

#include <span>

#include "FuzzSupport.h"
#include "cad/drawing/CADCmp2D.h"
#include "import/SvgException.h"
#include "import/SvgToDrawing.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return fuzz::StartDrawingEngine();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TCADCmp2D drawing;
    try {
        ImportSvgBytes(std::span<const char>(reinterpret_cast<const char*>(data), size), drawing);
    } catch (const svg::svg_exception&) {
        // A document that does not read adds nothing.
    }
    fuzz::RedrawAndPick(drawing);
    return 0;
}
