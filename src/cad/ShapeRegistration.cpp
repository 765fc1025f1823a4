#include "cad/ShapeRegistration.h"

#include <memory>

#include "cad/Arc2D.h"
#include "cad/BSpline2D.h"
#include "cad/Bitmap2D.h"
#include "cad/Circle2D.h"
#include "cad/ClassRegistry.h"
#include "cad/Ellipse2D.h"
#include "cad/Frame2D.h"
#include "cad/Line2D.h"
#include "cad/Polyline2D.h"
#include "cad/PrimitiveHandler.h"
#include "cad/Punto2D.h"
#include "cad/Text2D.h"

namespace {

template <typename TShape>
void RegisterShape(int code)
{
    CADCoreRegisterClass(code, {TShape().ClassName(), [] { return std::make_unique<TShape>(); }});
}

} // namespace

void RegisterShapeClasses()
{
    PrimitiveHandler();
    RegisterShape<TLine2D>(3);
    RegisterShape<TPolyline2D>(4);
    RegisterShape<TPolygon2D>(5);
    RegisterShape<TRectangle2D>(6);
    RegisterShape<TArc2D>(7);
    RegisterShape<TEllipse2D>(8);
    RegisterShape<TFilledEllipse2D>(9);
    RegisterShape<TText2D>(10);
    RegisterShape<TFrame2D>(11);
    RegisterShape<TBitmap2D>(12);
    RegisterShape<TBSpline2D>(13);
    RegisterShape<TPunto2D>(15);
    RegisterShape<TCerchio2D>(16);
    RegisterShape<TArco2D>(17);
    RegisterShape<TFilledCerchio2D>(18);
}
