// A DXF drawing of any bytes, imported as Open imports one, then seen whole
// and picked in.

#include <string>

#include "FuzzSupport.h"
#include "cad/base/CADExceptions.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/dxf/DXF2DImport.h"
#include "cad/dxf/DXFRead.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return fuzz::StartDrawingEngine();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TCADCmp2D drawing;
    TDXF2DImport import(TDXFRead::FromBytes(std::string(reinterpret_cast<const char*>(data), size)), &drawing);
    try {
        import.Import();
    } catch (const ECADCoreException&) {
        // A damaged file keeps what was read before the damage, and that is drawn.
    }
    fuzz::RedrawAndPick(drawing);
    return 0;
}
