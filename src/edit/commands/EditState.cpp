#include "edit/commands/EditStates.h"

#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/SelectObject.h"
#include "cad/engine/SelectObjectsParam.h"
#include "cad/engine/SelectTwoObjects.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/geometry/VectorHelpers.h"
#include "cad/shapes/Primitive2D.h"
#include "cad/view/CADViewport2DCore.h"
#include "edit/entities/EditEntities.h"

namespace {

// The entity a one-pick command keeps while it asks for a point.
class TKeptEntityParam : public TCAD2DSelectObjectsParam {
public:
    TKeptEntityParam(std::int32_t id, TCADStateClass afterState)
        : TCAD2DSelectObjectsParam(5, afterState), EntityID(id)
    {
    }

    std::int32_t EntityID;
};

} // namespace

TEditState::TEditState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TCAD2DState(engine, std::move(param), nextState)
{
}

std::vector<TObject2D*> TEditState::Picked() const
{
    std::vector<TObject2D*> objects;
    auto* selection = dynamic_cast<TCAD2DSelectObjectsParam*>(Param());
    if (!selection)
        return objects;
    std::unique_ptr<TGraphicObjIterator> iterator = selection->SelectedObjects.GetIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next())
        if (auto* object2D = dynamic_cast<TObject2D*>(object))
            objects.push_back(object2D);
    return objects;
}

TCADCmp2D& TEditState::Drawing() const
{
    TCADCmp2D* drawing = View().CADCmp2D();
    if (!drawing)
        throw ECADCoreException("TEditState: The view shows no drawing");
    return *drawing;
}

TVect TEditState::PickPoint() const { return Point2DToVect(CartesianPoint2D(SnappedPoint())); }

std::array<TVect, 2> TEditState::TwoPicks()
{
    return {Point2DToVect(CartesianPoint2D(TwoPickPoints[0])), Point2DToVect(CartesianPoint2D(TwoPickPoints[1]))};
}

void TEditState::Mark(TVect point) const { MarkPoint(&View(), point); }

void TEditState::End(TCADStateClass& nextState)
{
    Engine().RequestFullRepaint();
    TakeParam().reset();
    nextState = Engine().DefaultState();
}

void TEditState::KeepEntityForPoint(TCADStateClass pointState, TCADStateClass& nextState)
{
    const std::vector<TObject2D*> picked = Picked();
    if (picked.empty() || !dynamic_cast<TPrimitive2D*>(picked.front()))
        throw ECADCoreException("TCAD2DEditSelectedObjects: Invalid param");
    ReplaceParam(std::make_unique<TKeptEntityParam>(picked.front()->ID, pointState));
    nextState = TCADStateClass::Of<TCAD2DSelectPoint>();
}

std::optional<TVect> TEditState::KeptEntityFoot(TVect point) const
{
    const auto* kept = dynamic_cast<const TKeptEntityParam*>(Param());
    TObject2D* entity = kept ? Drawing().GetObject(kept->EntityID) : nullptr;
    if (!entity)
        return std::nullopt;
    const std::optional<TVect> foot = NearestOnEntity(*entity, point);
    if (!foot || EqualPoints(*foot, point))
        return std::nullopt;
    return foot;
}
