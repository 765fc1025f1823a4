#include <numbers>

#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/VectorHelpers.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/view/CADViewport2DCore.h"
#include "edit/entities/EditEntities.h"
#include "edit/commands/EditSettings.h"
#include "edit/commands/EditStates.h"
#include "edit/geometry/ExtendGeometry.h"

namespace {

// The new half, or none for a class that cannot be halved.
TObject2D* Halve(TCADCmp2D& drawing, TObject2D& object)
{
    if (auto* line = dynamic_cast<TLine2D*>(&object)) {
        const std::vector<TVect> ends = WorldPoints(*line);
        const TVect middle = MidPoint(ends[0], ends[1]);
        TLine2D& half = AddLine(drawing, middle, ends[0], line->Layer);
        SetWorldPoints(*line, {middle, ends[1]});
        return &half;
    }
    TCircleArc whole;
    if (auto* arc = dynamic_cast<TArco2D*>(&object))
        whole = ArcOf(*arc);
    else if (auto* circle = dynamic_cast<TCerchio2D*>(&object))
        whole = {CircleOf(*circle).Centre, CircleOf(*circle).Radius, {0.0, 2.0 * std::numbers::pi}};
    else
        return nullptr;
    const auto [first, second] = HalveArc(whole.Angles);
    const std::uint8_t layer = object.Layer;
    drawing.DeleteObject(object.ID);
    AddArc(drawing, whole.Centre, whole.Radius, first, layer);
    return &AddArc(drawing, whole.Centre, whole.Radius, second, layer);
}

} // namespace

TMyDivide::TMyDivide(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TEditState(engine, std::move(param), nextState)
{
    for (TObject2D* object : Picked()) {
        if (TObject2D* half = Halve(Drawing(), *object)) {
            View().InvalidateView();
            View().DrawObject2DWithRubber(*half, false);
        } else {
            ShowEditBox({{431, 432}, 0, false});
        }
    }
    End(nextState);
}
