// The block library file as the program loads it at start-up, then written back.

#include "FuzzSupport.h"
#include "cad/base/CADExceptions.h"
#include "cad/drawing/BlockLibrary.h"
#include "cad/drawing/CADCmp2D.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return fuzz::StartDrawingEngine();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TCADCmp2D drawing;
    TCADStreamReader stream = fuzz::ReaderOf(data, size);
    try {
        drawing.LoadLibrary(stream);
    } catch (const ECADCoreException&) {
        // A refused file keeps the blocks read before the fault.
    }
    try {
        TCADStreamWriter out;
        SaveBlockLibrary(drawing, out);
    } catch (const ECADCoreException&) {
        // Some objects cannot be written (a text without a registered font).
    }
    return 0;
}
