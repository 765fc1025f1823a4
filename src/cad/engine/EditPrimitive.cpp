#include "cad/engine/EditPrimitive.h"

#include "cad/engine/SelectObjectsParam.h"
#include "cad/model/ClassRegistry.h"

namespace {

std::unique_ptr<TPrimitive2D> RegisteredCopy(const TPrimitive2D& primitive)
{
    std::unique_ptr<TGraphicObject> made;
    try {
        made = CADCoreFindClassByName(primitive.ClassName()).Create();
    } catch (...) {
        made.reset();
    }
    auto* copy = dynamic_cast<TPrimitive2D*>(made.get());
    if (!copy)
        throw ECADCoreException("TCAD2DEditPrimitive: Only registered classes are allowed");
    made.release();
    std::unique_ptr<TPrimitive2D> result(copy);
    result->Assign(primitive);
    result->ID = 0;
    return result;
}

} // namespace

TCAD2DEditPrimitiveParam::TCAD2DEditPrimitiveParam(TPrimitive2D& primitive)
    : WorkingCopy(RegisteredCopy(primitive)), Primitive(&primitive)
{
}

TCAD2DEditPrimitive::TCAD2DEditPrimitive(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                         TCADStateClass& nextState)
    : TCAD2DState(engine, std::move(param), nextState)
{
    auto& named = RequireParam<TCAD2DPrimitiveParam>("TCAD2DEditPrimitive: Invalid param");
    if (!named.Primitive)
        throw ECADCoreException("TCAD2DEditPrimitive: Invalid param");
    ReplaceParam(std::make_unique<TCAD2DEditPrimitiveParam>(*named.Primitive));
    SetPrompt(480);
    View().InvalidateView();
    ShowEdit();
}

void TCAD2DEditPrimitive::DrawEdit()
{
    TCAD2DEditPrimitiveParam& editing = Editing();
    View().DrawObject2DWithRubber(*editing.WorkingCopy, true);
    DrawRubberSquare(View(), editing.MarkerPosition, editing.Aperture);
}

void TCAD2DEditPrimitive::ShowEdit()
{
    Edit.Show(View(), [&] { DrawEdit(); });
}

void TCAD2DEditPrimitive::HideEdit()
{
    Edit.Hide(View(), [&] { DrawEdit(); });
}

int TCAD2DEditPrimitive::HitControlPoint() const
{
    TCAD2DEditPrimitiveParam& editing = Editing();
    float distance = PICK_FAR_DISTANCE;
    const int code = editing.WorkingCopy->HitTest(RawPoint(), distance, View().PixelsToWorld(editing.Aperture));
    return code >= 0 ? code : -1;
}

bool TCAD2DEditPrimitive::Accept(TCADStateClass& nextState)
{
    TCAD2DEditPrimitiveParam& editing = Editing();
    editing.Primitive->Assign(*editing.WorkingCopy);
    editing.Primitive->UpdateExtension();
    {
        TBlockedEvents blocked(Engine());
        View().Repaint();
    }
    TakeParam().reset();
    nextState = Engine().DefaultState();
    return true;
}

bool TCAD2DEditPrimitive::ProcessEvent(TCADPrgEvent kind, int button, TShiftState, int key,
                                       TCADStateClass& nextState)
{
    TCAD2DEditPrimitiveParam& editing = Editing();
    switch (kind) {
    case TCADPrgEvent::MouseDown:
        if (IsLeft(button)) {
            editing.HeldPoint = HitControlPoint();
            if (editing.HeldPoint >= 0)
                SetPrompt(483);
        }
        return false;
    case TCADPrgEvent::MouseMove:
        if (editing.HeldPoint >= 0 && editing.HeldPoint < editing.WorkingCopy->PointCount()) {
            HideEdit();
            const TPoint2D snapped = SnappedPoint();
            editing.WorkingCopy->Points()->SetPoint(editing.HeldPoint,
                                                    View().WorldToObject(*editing.WorkingCopy, snapped));
            editing.MarkerPosition = snapped;
            ShowEdit();
        }
        return false;
    case TCADPrgEvent::MouseUp:
        if (IsLeft(button)) {
            editing.HeldPoint = -1;
            SetPrompt(480);
        }
        return false;
    case TCADPrgEvent::DblClick: {
        TPointsSet2D& points = *editing.WorkingCopy->Points();
        const int index = HitControlPoint();
        if (points.GrowingEnabled && index >= 0) {
            HideEdit();
            points.Insert(index, View().WorldToObject(*editing.WorkingCopy, SnappedPoint()));
            ShowEdit();
        }
        return false;
    }
    case TCADPrgEvent::ViewRepainted:
        ShowEdit();
        return false;
    case TCADPrgEvent::UserEvent:
        if (key == CADPRG_ACCEPT)
            return Accept(nextState);
        return key == CADPRG_CANCEL && Cancel(nextState);
    default:
        return false;
    }
}

TCAD2DEditSelectedPrimitive::TCAD2DEditSelectedPrimitive(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                                         TCADStateClass& nextState)
    : TCAD2DState(engine, std::move(param), nextState)
{
    constexpr const char* invalid = "TCAD2DEditSelectedObjects: Invalid param";
    auto& selection = RequireParam<TCAD2DSelectObjectsParam>(invalid);
    std::unique_ptr<TGraphicObjIterator> iterator = selection.SelectedObjects.GetIterator();
    auto* primitive = dynamic_cast<TPrimitive2D*>(iterator->First());
    iterator.reset();
    if (!primitive)
        throw ECADCoreException(invalid);
    ReplaceParam(std::make_unique<TCAD2DPrimitiveParam>(*primitive));
    Engine().SetCurrentOperation(TCADStateClass::Of<TCAD2DEditSelectedPrimitive>());
    nextState = TCADStateClass::Of<TCAD2DEditPrimitive>();
}
