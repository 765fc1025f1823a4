#include "cad/engine/TransformObjects.h"

#include <cmath>
#include <vector>

#include "cad/engine/EngineGlobals.h"
#include "cad/engine/EngineHooks.h"
#include "cad/engine/TransformGeometry.h"
#include "cad/geometry/FormatCoordinate.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Polyline2D.h"

namespace {

constexpr double DegreesPerRadian = 180.0 / 3.14159265358979323846;

bool IsCircleOrArc(const TObject2D& object)
{
    return dynamic_cast<const TCerchio2D*>(&object) || dynamic_cast<const TArco2D*>(&object);
}

// Every object of the list, so that the list may change while they are visited.
std::vector<TObject2D*> ObjectsOf(TGraphicObjList& list)
{
    std::vector<TObject2D*> objects;
    std::unique_ptr<TGraphicObjIterator> iterator = list.GetIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next())
        objects.push_back(static_cast<TObject2D*>(object));
    return objects;
}

void CopyIntoDrawing(TObject2D& object)
{
    if (EngineHooks().CopiaOggetto)
        EngineHooks().CopiaOggetto(object);
}

std::unique_ptr<TPolyline2D> CurveAsPolyline(TObject2D& curve)
{
    const auto& convert = EngineHooks().CurveToPolyline;
    return convert ? convert(static_cast<TCurve2D&>(curve)) : nullptr;
}

void ShowField(TTransformField field, float value)
{
    TransformPanel().ShowFieldText(field, FormatCoordinate(value));
}

} // namespace

TSCTransformObjectsParam::TSCTransformObjectsParam(TGraphicObjList& objects, TCADStateClass afterState)
    : TCAD2DCommonParam(afterState)
{
    Objects.OwnsObjects = false;
    bool first = true;
    for (TObject2D* object : ObjectsOf(objects)) {
        Objects.Add(object);
        object->BakeTransform();
        Box = first ? TRect2D(object->Box) : UnionBox2D(Box, object->Box);
        first = false;
    }
    if (first)
        throw ECADCoreException("TCAD2DTransformObjectsParam: Invalid list");
    ObjectSnapActive = true;
}

void TSCTransformObjectsParam::SetCurrentPoint(TCADViewport2DCore& view, TPoint2D current, bool ortho)
{
    current = CartesianPoint2D(current);
    if (ortho)
        OrthoConstrain2D(Base, current);
    Current = current;
    const std::optional<TTransform2D> built = BuildTransform(view, Base, Current);
    Usable = built.has_value();
    Transform = built ? *built : IdentityTransform2D;
}

void TSCTransformObjectsParam::DrawRubber(TCADViewport2DCore& view)
{
    if (DrawBox) {
        const TPoint2D corners[4] = {Box.FirstEdge, MakePoint2D(Box.SecondEdge.X, Box.FirstEdge.Y), Box.SecondEdge,
                                     MakePoint2D(Box.FirstEdge.X, Box.SecondEdge.Y)};
        for (int i = 0; i < 4; ++i)
            DrawRubberLine(view, ApplyTransform2D(corners[i], Transform), ApplyTransform2D(corners[(i + 1) % 4], Transform));
    } else {
        // The objects carry the transform only while they are drawn, so a
        // repaint of the drawing meanwhile still shows them where they are.
        for (TObject2D* object : ObjectsOf(Objects)) {
            object->SetCurrentTransform(Transform);
            view.DrawObject2DWithRubber(*object, false);
            object->SetCurrentTransform(IdentityTransform2D);
        }
    }
    if (Clicks > 0)
        DrawRubberLine(view, Base, Current);
}

void TSCTransformObjectsParam::ApplyCopies(TObject2D& object, bool curvesToPolylines, bool framesToPolylines)
{
    TTransform2D m = Transform;
    for (std::int32_t k = 0; k < TransformRepeat; ++k) {
        object.SetCurrentTransform(m);
        if (curvesToPolylines && IsCircleOrArc(object)) {
            if (std::unique_ptr<TPolyline2D> polyline = CurveAsPolyline(object))
                CopyIntoDrawing(*polyline);
        } else if (framesToPolylines && dynamic_cast<TFrame2D*>(&object)) {
            const auto& convert = EngineHooks().FrameToPolyline;
            if (std::unique_ptr<TPolyline2D> polyline = convert ? convert(static_cast<TFrame2D&>(object)) : nullptr)
                CopyIntoDrawing(*polyline);
        } else {
            CopyIntoDrawing(object);
        }
        m = MultiplyTransforms2D(m, Transform);
    }
    object.SetCurrentTransform(IdentityTransform2D);
}

bool TSCTransformObjectsParam::Apply()
{
    if (!Usable)
        return false;
    TTransformPanel& panel = TransformPanel();
    const bool curvesToPolylines = TurnsCurvesIntoPolylines() && !panel.ScaleUniform();
    const bool framesToPolylines = panel.CommandCode() == COMMAND_ROTATE;
    if (TransformCopyMode) {
        if (TransformRepeat <= 0)
            TransformRepeat = 1;
        for (TObject2D* object : ObjectsOf(Objects))
            ApplyCopies(*object, curvesToPolylines, framesToPolylines);
        return true;
    }
    for (TObject2D* object : ObjectsOf(Objects)) {
        if (curvesToPolylines && IsCircleOrArc(*object)) {
            // The curve stays; a polyline carries the scaled shape.
            object->SetCurrentTransform(Transform);
            std::unique_ptr<TPolyline2D> polyline = CurveAsPolyline(*object);
            object->SetCurrentTransform(IdentityTransform2D);
            if (polyline)
                CopyIntoDrawing(*polyline);
            Objects.Delete(object->ID);
            continue;
        }
        object->SetCurrentTransform(Transform);
        object->BakeTransform();
    }
    return true;
}

void TSCTransformObjectsParam::ResetTransforms()
{
    for (TObject2D* object : ObjectsOf(Objects))
        object->SetCurrentTransform(IdentityTransform2D);
}

std::optional<TTransform2D> TSCTraslaObjectsParam::BuildTransform(TCADViewport2DCore&, TPoint2D base, TPoint2D current)
{
    ShowField(TTransformField::Dx, current.X - base.X);
    ShowField(TTransformField::Dy, current.Y - base.Y);
    return MoveTransform(base, current);
}

std::optional<TTransform2D> TSCRuotaObjectsParam::BuildTransform(TCADViewport2DCore&, TPoint2D base, TPoint2D current)
{
    const float angle = DirectionAngle(base, current);
    if (TransformPanel().MouseInView())
        ShowField(TTransformField::RotateAngle, static_cast<float>(angle * DegreesPerRadian));
    return RotateAbout(base, angle);
}

std::optional<TTransform2D> TSCScalaObjectsParam::BuildTransform(TCADViewport2DCore& view, TPoint2D base,
                                                                  TPoint2D current)
{
    TTransformPanel& panel = TransformPanel();
    const bool uniform = panel.ScaleUniform();
    const TScaleFactors factors = ScreenScaleFactors(view.WorldToScreen(base), view.WorldToScreen(current), uniform);
    if (panel.MouseInView()) {
        ShowField(TTransformField::ScaleX, factors.X);
        if (!uniform)
            ShowField(TTransformField::ScaleY, factors.Y);
    }
    if (!UsableScale(factors))
        return std::nullopt;
    return ScaleAbout(base, factors.X, factors.Y);
}

bool TSCScalaObjectsParam::TurnsCurvesIntoPolylines() const
{
    return true;
}

std::optional<TTransform2D> TSCSpecchiaObjectsParam::BuildTransform(TCADViewport2DCore&, TPoint2D base,
                                                                     TPoint2D current)
{
    return MirrorThrough(base, current);
}

TSCTransformObjects::TSCTransformObjects(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                         TCADStateClass& nextState)
    : TCAD2DState(engine, std::move(param), nextState)
{
    RequireParam<TSCTransformObjectsParam>("TCAD2DTransformObjects: Invalid param");
    SetPrompt(478);
    ShowRubber();
}

void TSCTransformObjects::ShowRubber()
{
    Rubber.Show(View(), [&] { Transforming().DrawRubber(View()); });
}

void TSCTransformObjects::HideRubber()
{
    Rubber.Hide(View(), [&] { Transforming().DrawRubber(View()); });
}

void TSCTransformObjects::MoveCurrentTo(TPoint2D point)
{
    HideRubber();
    Transforming().SetCurrentPoint(View(), point, Prg2D().UseOrto);
    ShowRubber();
}

void TSCTransformObjects::CancelState()
{
    if (auto* param = dynamic_cast<TSCTransformObjectsParam*>(Param()))
        param->ResetTransforms();
    TCAD2DState::CancelState();
}

bool TSCTransformObjects::ApplyAndFinish(TCADStateClass& nextState)
{
    HideRubber();
    if (!Transforming().Apply()) {
        ShowRubber();
        return false;
    }
    {
        TBlockedEvents blocked(Engine());
        View().Repaint();
    }
    Finish(nextState);
    return true;
}

bool TSCTransformObjects::MirrorAboutAxis(TCADStateClass& nextState)
{
    TTransformPanel& panel = TransformPanel();
    const TMirrorAxis axis = panel.MirrorAxis();
    if (panel.CommandCode() != COMMAND_MIRROR || axis == TMirrorAxis::TwoPoints)
        return false;
    HideRubber();
    TSCTransformObjectsParam& param = Transforming();
    param.Transform = MakeMirror2D(static_cast<int>(axis) - 1);
    param.Usable = true;
    return ApplyAndFinish(nextState);
}

bool TSCTransformObjects::Click(TCADStateClass& nextState)
{
    TSCTransformObjectsParam& param = Transforming();
    const TPoint2D p = SnappedPoint();
    if (param.Clicks == 0) {
        HideRubber();
        param.Base = param.Current = CartesianPoint2D(p);
        param.Clicks = 1;
        SetPrompt(479);
        ShowRubber();
        return false;
    }
    MoveCurrentTo(p);
    return ApplyAndFinish(nextState);
}

std::optional<TPoint2D> TSCTransformObjects::TypedPoint(int code) const
{
    const TTransformPanel& panel = TransformPanel();
    const TPoint2D base = Transforming().Base;
    switch (code) {
    case CADPRG_APPLY_MOVE: {
        const std::optional<double> dx = panel.FieldValue(TTransformField::Dx);
        const std::optional<double> dy = panel.FieldValue(TTransformField::Dy);
        if (!dx || !dy)
            return std::nullopt;
        return MakePoint2D(static_cast<float>(base.X + *dx), static_cast<float>(base.Y + *dy));
    }
    case CADPRG_APPLY_ANGLE: {
        const std::optional<double> degrees = panel.FieldValue(TTransformField::RotateAngle);
        if (!degrees)
            return std::nullopt;
        const double a = *degrees / DegreesPerRadian;
        return MakePoint2D(static_cast<float>(base.X + 10.0 * std::cos(a)), static_cast<float>(base.Y + 10.0 * std::sin(a)));
    }
    case CADPRG_APPLY_SCALE: {
        const std::optional<double> sx = panel.FieldValue(TTransformField::ScaleX);
        // One factor applies to both axes in uniform mode: the one typed into X.
        const std::optional<double> sy = panel.ScaleUniform() ? sx : panel.FieldValue(TTransformField::ScaleY);
        if (!sx || !sy)
            return std::nullopt;
        const TPoint2D b = View().WorldToScreen(base);
        const TPoint2D c = MakePoint2D(static_cast<float>(b.X + *sx * ScaleAxisPixels),
                                       static_cast<float>(b.Y + *sy * ScaleAxisPixels));
        return CartesianPoint2D(View().ScreenToWorld(c));
    }
    default:
        return std::nullopt;
    }
}

bool TSCTransformObjects::ProcessEvent(TCADPrgEvent kind, int button, TShiftState, int key,
                                       TCADStateClass& nextState)
{
    switch (kind) {
    case TCADPrgEvent::MouseMove:
        if (Transforming().Clicks > 0)
            MoveCurrentTo(SnappedPoint());
        return MirrorAboutAxis(nextState);
    case TCADPrgEvent::MouseDown:
        return IsLeft(button) && Click(nextState);
    case TCADPrgEvent::ViewRepainted:
        ShowRubber();
        return false;
    case TCADPrgEvent::UserEvent:
        switch (key) {
        case CADPRG_ACCEPT: return ApplyAndFinish(nextState);
        case CADPRG_CANCEL: return Cancel(nextState);
        case CADPRG_APPLY_MOVE:
        case CADPRG_APPLY_ANGLE:
        case CADPRG_APPLY_SCALE:
            // Values count as typed only while the pointer is away from the view.
            if (!TransformPanel().MouseInView())
                if (const std::optional<TPoint2D> point = TypedPoint(key))
                    MoveCurrentTo(*point);
            return false;
        default: return false;
        }
    default:
        return false;
    }
}
