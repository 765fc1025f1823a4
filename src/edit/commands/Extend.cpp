#include "cad/drawing/CADCmp2D.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "edit/entities/EditEntities.h"
#include "edit/commands/EditSettings.h"
#include "edit/commands/EditStates.h"
#include "edit/geometry/ExtendGeometry.h"

namespace {

void ExtendObject(TCADCmp2D& drawing, TObject2D& object, TVect pick, double length)
{
    if (auto* line = dynamic_cast<TLine2D*>(&object)) {
        const std::vector<TVect> ends = WorldPoints(*line);
        if (const auto extended = ExtendLine(ends[0], ends[1], pick, length)) {
            ReplaceObject(drawing, *line, NewLine(extended->Start, extended->End));
        }
    } else if (auto* arc = dynamic_cast<TArco2D*>(&object)) {
        TCircleArc world = ArcOf(*arc);
        if (const auto extended = ExtendArc(world.Centre, world.Radius, world.Angles, pick, length)) {
            world.Angles = *extended;
            SetWorldArc(*arc, world);
        }
    } else if (auto* polyline = dynamic_cast<TPolyline2D*>(&object)) {
        if (polyline->IsClosed())
            return;
        if (const auto points = ExtendPolyline(WorldPoints(*polyline), pick, length))
            ReplaceObject(drawing, *polyline, NewPolyline(*points));
    }
}

} // namespace

TMyExtend::TMyExtend(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TEditState(engine, std::move(param), nextState)
{
    const TVect pick = PickPoint();
    const double length = EditSettings().ExtendLength;
    for (TObject2D* object : Picked())
        ExtendObject(Drawing(), *object, pick, length);
    End(nextState);
}
