#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/SelectObject.h"
#include "cad/engine/SelectObjectsParam.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/geometry/VectorHelpers.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "edit/entities/EditEntities.h"
#include "edit/commands/EditSettings.h"
#include "edit/commands/EditStates.h"
#include "edit/commands/FilletPairs.h"
#include "edit/geometry/TangentGeometry.h"

namespace {

// A line, or a polyline of exactly two points.
bool IsTwoPointRun(const TObject2D* object)
{
    if (dynamic_cast<const TLine2D*>(object))
        return true;
    const auto* polyline = dynamic_cast<const TPolyline2D*>(object);
    return polyline && !dynamic_cast<const TPolygon2D*>(object) && polyline->PointCount() == 2;
}

// The fillet of two two-point runs when either is a polyline: an elliptic arc
// about the origin moved onto the centre.
void PolylineFillet(TCADCmp2D& drawing, TPrimitive2D& first, TPrimitive2D& second, TVect pick1, TVect pick2,
                    double radius)
{
    std::vector<TVect> a = WorldPoints(first);
    std::vector<TVect> b = WorldPoints(second);
    const auto fillet = LineLineFillet(a[0], a[1], b[0], b[1], pick1, pick2, radius);
    if (!fillet)
        return;
    const auto r = static_cast<float>(radius);
    auto arc = std::make_unique<TArc2D>(-1, MakePoint2D(-r, -r), MakePoint2D(r, r),
                                        static_cast<float>(fillet->Angles.Start),
                                        static_cast<float>(fillet->Angles.End));
    arc->SetModelTransform(
        MakeTranslation2D(static_cast<float>(fillet->Centre.X), static_cast<float>(fillet->Centre.Y)));
    drawing.AddObject(-1, std::move(arc))->UpdateExtension();
    a[fillet->FirstEnd1 ? 0 : 1] = fillet->Tangent1;
    b[fillet->FirstEnd2 ? 0 : 1] = fillet->Tangent2;
    SetWorldPoints(first, a);
    SetWorldPoints(second, b);
}

} // namespace

TMyArcoTan2::TMyArcoTan2(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TEditState(engine, std::move(param), nextState)
{
    const std::vector<TObject2D*> picked = Picked();
    if (picked.size() == 2) {
        const std::array<TVect, 2> picks = TwoPicks();
        const bool polyline = dynamic_cast<TPolyline2D*>(picked[0]) || dynamic_cast<TPolyline2D*>(picked[1]);
        if (polyline) {
            if (IsTwoPointRun(picked[0]) && IsTwoPointRun(picked[1]))
                PolylineFillet(Drawing(), dynamic_cast<TPrimitive2D&>(*picked[0]),
                               dynamic_cast<TPrimitive2D&>(*picked[1]), picks[0], picks[1],
                               EditSettings().FilletRadius);
        } else {
            TFilletOptions options;
            options.MakeArc = true;
            options.ModifyEntities = EditSettings().ArcTanTrim;
            options.Radius = EditSettings().ArcTanRadius;
            options.ModifyWhenCircleWithArc = true;
            FilletPair(Drawing(), &View(), *picked[0], *picked[1], picks[0], picks[1], options);
        }
    }
    End(nextState);
}

TMyArcoTan1::TMyArcoTan1(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TEditState(engine, std::move(param), nextState)
{
    KeepEntityForPoint(TCADStateClass::Of<TMyArcoTan1Punto>(), nextState);
}

TMyArcoTan1Punto::TMyArcoTan1Punto(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                   TCADStateClass& nextState)
    : TEditState(engine, std::move(param), nextState)
{
    const TVect centre = PickPoint();
    if (const std::optional<TVect> touch = KeptEntityFoot(centre))
        AddArc(Drawing(), centre, PointDistance(centre, *touch), {}, Drawing().CurrentLayer);
    End(nextState);
}
