#include "edit/entities/EntityCopy.h"

#include <memory>

#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/EngineHooks.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/ClassRegistry.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"

namespace {

// Classes whose control points still describe the shape after any affine
// transform (a circle and a frame as nearly as they can).
bool TakesBakedPoints(const TObject2D& object)
{
    return dynamic_cast<const TPunto2D*>(&object) || dynamic_cast<const TLine2D*>(&object) ||
           dynamic_cast<const TFrame2D*>(&object) || dynamic_cast<const TCerchio2D*>(&object) ||
           dynamic_cast<const TPolyline2D*>(&object) || dynamic_cast<const TBSpline2D*>(&object);
}

void BakeIntoPoints(TPrimitive2D& copy)
{
    const TTransform2D t = copy.GetTransform();
    TPointsSet2D& points = *copy.Points();
    points.SetNotifySuspended(true);
    for (int i = 0; i < points.Count(); ++i)
        points.Put(i, ApplyTransform2D(points[i], t));
    points.SetNotifySuspended(false);
    copy.SetModelTransform(IdentityTransform2D);
    copy.ResetTransform();
}

} // namespace

TObject2D* CopiaOggetto(TCADCmp2D& drawing, const TObject2D& object)
{
    std::unique_ptr<TGraphicObject> made = CADCoreFindClassByName(object.ClassName()).Create();
    auto copy = std::unique_ptr<TObject2D>(dynamic_cast<TObject2D*>(made.release()));
    // Assign takes the source's whole transform as the copy's model transform.
    copy->Assign(object);
    if (TakesBakedPoints(object))
        BakeIntoPoints(static_cast<TPrimitive2D&>(*copy));
    return drawing.AddObject(-1, std::move(copy));
}

void InstallEntityCopy(TCADCmp2D& drawing)
{
    EngineHooks().CopiaOggetto = [&drawing](TObject2D& object) { CopiaOggetto(drawing, object); };
}
