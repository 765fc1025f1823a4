#include "cad/engine/PositionObject.h"

#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Container2D.h"
#include "cad/shapes/Line2D.h"

TPoint2D PlacementReference(const TObject2D& object)
{
    const TRect2D box = NormalizeBox2D(object.Box);
    if (const auto* line = dynamic_cast<const TLine2D*>(&object))
        return CartesianPoint2D(ApplyTransform2D(line->Points()->Get(0), line->GetTransform()));
    if (dynamic_cast<const TCerchio2D*>(&object) || dynamic_cast<const TArco2D*>(&object))
        return MakePoint2D((box.FirstEdge.X + box.SecondEdge.X) / 2.0f, (box.FirstEdge.Y + box.SecondEdge.Y) / 2.0f);
    if (const auto* container = dynamic_cast<const TContainer2D*>(&object)) {
        const TPoint2D reference = container->ReferencePoint();
        return MakePoint2D(box.FirstEdge.X - reference.X, box.FirstEdge.Y - reference.Y);
    }
    return MakePoint2D(box.FirstEdge.X, box.FirstEdge.Y);
}

TCAD2DPositionObject::TCAD2DPositionObject(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                           TCADStateClass& nextState)
    : TCAD2DDrawingState(engine, std::move(param), nextState)
{
    auto& placing = RequireParam<TCAD2DPositionObjectParam>("TCAD2DPositionObject: Invalid param");
    if (!placing.Object)
        throw ECADCoreException("TCAD2DPositionObject: Invalid param");
    Reference = PlacementReference(*placing.Object);
    const auto& current = placing.Object->CurrentTransform();
    StartTransform = current ? *current : IdentityTransform2D;
    SetPrompt(473);
}

TObject2D* TCAD2DPositionObject::Object() const
{
    auto* placing = static_cast<TCAD2DPositionObjectParam*>(Param());
    return placing ? placing->Object.get() : nullptr;
}

void TCAD2DPositionObject::PlaceAtPointer()
{
    const TPoint2D p = SnappedPoint();
    Object()->SetCurrentTransform(
        MultiplyTransforms2D(StartTransform, MakeTranslation2D(p.X - Reference.X, p.Y - Reference.Y)));
}

bool TCAD2DPositionObject::ProcessEvent(TCADPrgEvent kind, int button, TShiftState, int key,
                                        TCADStateClass& nextState)
{
    TObject2D* const object = Object();
    if (!object)
        return false;
    switch (kind) {
    case TCADPrgEvent::MouseMove:
        HideRubber(*object);
        PlaceAtPointer();
        ShowRubber(*object);
        return false;
    case TCADPrgEvent::ViewRepainted:
        if (object->HasTransform())
            ShowRubber(*object);
        return false;
    case TCADPrgEvent::MouseDown: {
        if (!IsLeft(button))
            return false;
        if (Param()->AfterState) {
            nextState = Param()->AfterState;
            return true;
        }
        HideRubber(*object);
        PlaceAtPointer();
        TObject2D& placed = *object;
        AddToDrawing(std::move(static_cast<TCAD2DPositionObjectParam&>(*Param()).Object), nextState);
        placed.UpdateExtension();
        return true;
    }
    case TCADPrgEvent::UserEvent:
        return key == CADPRG_CANCEL && Cancel(nextState);
    default:
        return false;
    }
}
