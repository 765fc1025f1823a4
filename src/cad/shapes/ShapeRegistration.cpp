#include "cad/shapes/ShapeRegistration.h"

#include <memory>

#include "cad/model/ClassRegistry.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Ellipse2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/PrimitiveHandler.h"
#include "cad/shapes/Punto2D.h"
#include "cad/shapes/Text2D.h"

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
