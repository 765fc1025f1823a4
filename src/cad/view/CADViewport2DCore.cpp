#include "cad/view/CADViewport2DCore.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/GraphicObjList.h"

TCADViewport2DCore::TCADViewport2DCore()
{
    UpdateViewMapping();
}

void TCADViewport2DCore::SetCADCmp2D(TCADCmp2D* drawing)
{
    SetDrawing(drawing);
}

void TCADViewport2DCore::SetDrawing(TCADCmp* drawing)
{
    auto* drawing2D = dynamic_cast<TCADCmp2D*>(drawing);
    TCADViewportCore::SetDrawing(drawing2D);
    Drawing2D = drawing2D;
}

void TCADViewport2DCore::DrawingDestroyed()
{
    TCADViewportCore::DrawingDestroyed();
    Drawing2D = nullptr;
}

TTransform2D TCADViewport2DCore::BuildViewMapping(TRect2D& rect, const TWindowRect& screen, float aspect)
{
    return ViewMapping2D(rect, static_cast<float>(screen.Left), static_cast<float>(screen.Top),
                         static_cast<float>(screen.Right), static_cast<float>(screen.Bottom), aspect);
}

void TCADViewport2DCore::DrawObjectOn(TObject2D& object, TDecorativeCanvas& canvas, const TRect2D& clip,
                                      bool showControlPoints)
{
    if (!object.IsVisible(VisualRect()))
        return;
    if (Drawing2D && !Drawing2D->Layers().ApplyLayerToCanvas(canvas, object.Layer))
        return;
    const TTransform2D mapping = GetWorldToScreen();
    object.Draw(mapping, canvas, clip, 0);
    if (showControlPoints) {
        canvas.Pen.Color = RubberPenColor();
        canvas.Pen.Width = 1;
        canvas.Brush.Color = ControlPointsColor();
        object.PaintControlPoints(mapping, canvas, ControlPointsWidth(), clip);
    }
}

void TCADViewport2DCore::DrawObject(TGraphicObject& object, TDecorativeCanvas& canvas, const TRect2D& clip)
{
    if (auto* object2D = dynamic_cast<TObject2D*>(&object))
        DrawObjectOn(*object2D, canvas, clip, ShowControlPoints());
}

void TCADViewport2DCore::DrawObjects(TDecorativeCanvas& canvas, const TRect2D& clip)
{
    if (OwnObjectList() || !Drawing2D || Drawing2D->IsBlocked()) {
        TCADViewportCore::DrawObjects(canvas, clip);
        return;
    }
    // Held as a plain walk holds it: nothing may add or take objects while they are drawn.
    const std::unique_ptr<TGraphicObjIterator> hold = Drawing2D->ObjectsIterator();
    // Taken, not borrowed: a repaint started from inside this one gets a list of its own.
    std::vector<TObject2D*> objects = std::move(NearObjects);
    Drawing2D->ObjectsNear(VisualRect(), objects);
    const bool showControlPoints = ShowControlPoints();
    const int copyEvery = CopingFrequency();
    int drawn = 0;
    // Zoomed in, the objects drawn lie far apart in memory, and waiting for
    // each one would cost more than drawing it: ask for them a few ahead.
    constexpr std::size_t Ahead = 8;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (i + Ahead < objects.size()) {
            const char* next = reinterpret_cast<const char*>(objects[i + Ahead]);
            for (std::size_t offset = 0; offset < sizeof(TObject2D); offset += 64)
                __builtin_prefetch(next + offset);
        }
        TObject2D* object = objects[i];
        DrawObjectOn(*object, canvas, clip, showControlPoints);
        if (copyEvery > 0 && ++drawn % copyEvery == 0)
            CopyBitmapToWindow(false);
    }
    NearObjects = std::move(objects);
}

void TCADViewport2DCore::DrawRubberOn(TObject2D& object, TDecorativeCanvas& canvas, const TRect2D& clip,
                                      bool showControlPoints)
{
    if (!object.IsVisible(VisualRect()))
        return;
    const TTransform2D mapping = GetWorldToScreen();
    canvas.Pen = RubberPen();
    canvas.Brush = {RubberPen().Color, TBrushStyle::Solid};
    canvas.DecorativePen.SetPattern("");
    object.Draw(mapping, canvas, clip, 0);
    if (showControlPoints) {
        canvas.Pen.Width = 1;
        canvas.Brush.Color = ControlPointsColor();
        object.PaintControlPoints(mapping, canvas, ControlPointsWidth(), clip);
    }
}

void TCADViewport2DCore::DrawObjectWithRubber(TObject2D& object, TDecorativeCanvas& canvas, const TRect2D& clip)
{
    DrawRubberOn(object, canvas, clip, ShowControlPoints());
}

void TCADViewport2DCore::DrawObject2D(TObject2D& object, bool showControlPoints)
{
    if (!Drawing2D)
        return;
    const bool show = ShowControlPoints() || showControlPoints;
    {
        TImageCanvas::TScope bitmap(OffScreen());
        DrawObjectOn(object, bitmap.Canvas(), ClipBox(), show);
    }
    {
        TImageCanvas::TScope window(OnScreen());
        DrawObjectOn(object, window.Canvas(), ClipBox(), show);
    }
    if (OnWindowChanged)
        OnWindowChanged();
}

void TCADViewport2DCore::DrawObject2DWithRubber(TObject2D& object, bool showControlPoints)
{
    {
        TImageCanvas::TScope window(OnScreen());
        DrawRubberOn(object, window.Canvas(), ClipBox(), ShowControlPoints() || showControlPoints);
    }
    if (OnWindowChanged)
        OnWindowChanged();
}

TTransform2D TCADViewport2DCore::FitMapping(TRect2D world, const TWindowRect& screen, int mode)
{
    switch (mode) {
    case 0: return BuildViewMapping(world, screen, 0.0f);
    case 1: return BuildViewMapping(world, screen, AspectRatio());
    default: return GetWorldToScreen();
    }
}

void TCADViewport2DCore::DrawWorldRect(const TRect2D& world, const TWindowRect& screen, int mode,
                                       TDecorativeCanvas& canvas)
{
    TGraphicObjList* ownList = OwnObjectList();
    if (!ownList && (!Drawing2D || Drawing2D->IsBlocked()))
        return;
    const TTransform2D mapping = FitMapping(world, screen, mode);
    const TRect2D clip = MakeRect2D(static_cast<float>(screen.Left), static_cast<float>(screen.Top),
                                    static_cast<float>(screen.Right), static_cast<float>(screen.Bottom));
    QPainter* painter = canvas.GetPainter();
    if (painter) {
        painter->save();
        painter->setClipRect(screen.Left, screen.Top, screen.Right - screen.Left, screen.Bottom - screen.Top);
    }
    std::unique_ptr<TGraphicObjIterator> iterator = ownList ? ownList->GetIterator() : Drawing2D->ObjectsIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        auto* object2D = dynamic_cast<TObject2D*>(object);
        if (!object2D || !object2D->IsVisible(world))
            continue;
        if (Drawing2D && !Drawing2D->Layers().ApplyLayerToCanvas(canvas, object2D->Layer))
            continue;
        object2D->Draw(mapping, canvas, clip, 0);
    }
    if (painter)
        painter->restore();
}

void TCADViewport2DCore::CopyToCanvas(TDecorativeCanvas& canvas, int mode, float xScale, float yScale, int kind)
{
    if (!Drawing2D)
        return;
    const TRect2D remembered = VisualRect();
    const float aspect = AspectRatio();
    const auto restore = [&] {
        SetAspectRatio(aspect);
        ZoomWindow(remembered);
        EnableRepaint();
    };
    DisableRepaint();
    try {
        // The view is fitted without its aspect, then drawn with it.
        SetAspectRatio(0.0f);
        if (kind == 1)
            ZoomToExtension();
        else if (kind == 2)
            FitToDeviceScale(canvas, xScale, yScale);
        SetAspectRatio(aspect);
        DrawWorldRect(VisualRect(), ClientRect(), mode, canvas);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TCADViewport2DCore::ZoomToExtension()
{
    if (!Drawing2D)
        return;
    StopRepaint();
    TRect2D extension;
    // No object, or none visible (the extension is then inverted): the view stays.
    if (!Drawing2D->GetExtension(extension) || extension.FirstEdge.X > extension.SecondEdge.X ||
        extension.FirstEdge.Y > extension.SecondEdge.Y) {
        Repaint();
        return;
    }
    const float width = std::fabs(extension.SecondEdge.X - extension.FirstEdge.X);
    const float height = std::fabs(extension.SecondEdge.Y - extension.FirstEdge.Y);
    ZoomWindow(InflateBox2D(NormalizeBox2D(extension), std::max(width / 20.0f, height / 20.0f)));
}

bool TCADViewport2DCore::Pickable(const TObject2D& object) const
{
    if (Drawing2D) {
        const TLayer& layer = Drawing2D->Layers().GetLayer(object.Layer);
        if (!layer.Active || !layer.Visible)
            return false;
    }
    return PickClass.Matches(object) && object.IsVisible(VisualRect());
}

TObject2D* TCADViewport2DCore::PickObject(TPoint2D point, int aperture, int& code, bool first)
{
    code = PICK_NOOBJECT;
    TGraphicObjList* ownList = OwnObjectList();
    if ((Drawing2D && Drawing2D->IsBlocked()) || (!ownList && !Drawing2D))
        return nullptr;
    StopRepaint();
    const float worldAperture = GetPixelAperture().X * static_cast<float>(aperture);
    float bestDistance = worldAperture;
    TObject2D* result = nullptr;
    std::unique_ptr<TGraphicObjIterator> iterator = ownList ? ownList->GetIterator() : Drawing2D->ObjectsIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        auto* object2D = dynamic_cast<TObject2D*>(object);
        if (!object2D || !Pickable(*object2D))
            continue;
        float distance = PICK_FAR_DISTANCE;
        const int hit = object2D->HitTest(point, distance, worldAperture);
        if (hit >= code && distance <= bestDistance) {
            result = object2D;
            code = hit;
            bestDistance = distance;
            if (first)
                break;
        }
    }
    return result;
}

void TCADViewport2DCore::CollectObjectsInRect(TGraphicObjList& list, const TRect2D& rect, bool remove, int mode)
{
    list.OwnsObjects = remove;
    if (!Drawing2D)
        return;
    const TRect2D area = NormalizeBox2D(rect);
    std::unique_ptr<TExclusiveGraphicObjIterator> iterator = Drawing2D->ObjectsExclusiveIterator();
    int index = 0;
    int count = iterator->Count();
    TGraphicObject* object = iterator->First();
    while (object) {
        auto* object2D = dynamic_cast<TObject2D*>(object);
        bool qualifies = object2D && object2D->Enabled && Pickable(*object2D);
        if (qualifies) {
            const TRect2D box = NormalizeBox2D(object2D->Box);
            qualifies = mode == 0 ? BoxInBox2D(box, area) : BoxesOverlap2D(box, area);
        }
        if (!qualifies || !remove) {
            if (qualifies)
                list.Add(object);
            object = iterator->Next();
            ++index;
            continue;
        }
        // Taking the object out moves the iterator on to the next one (back
        // to the previous one when it was the last).
        const bool last = index == count - 1;
        list.Add(iterator->RemoveCurrent());
        --count;
        object = last ? nullptr : iterator->Current();
    }
}

TPoint2D TCADViewport2DCore::WorldToObject(const TObject2D& object, TPoint2D point) const
{
    point = CartesianPoint2D(point);
    if (object.HasTransform())
        point = CartesianPoint2D(object.WorldToObject(point));
    return point;
}

void TCADViewport2DCore::FireMouseMove2D(TShiftState shift, TPoint2D world, int x, int y)
{
    if (OnMouseMove2D)
        OnMouseMove2D(shift, world.X, world.Y, x, y);
}

void TCADViewport2DCore::FireMouseDown2D(TMouseButton button, TShiftState shift, TPoint2D world, int x, int y)
{
    if (OnMouseDown2D)
        OnMouseDown2D(button, shift, world.X, world.Y, x, y);
}

void TCADViewport2DCore::FireMouseUp2D(TMouseButton button, TShiftState shift, TPoint2D world, int x, int y)
{
    if (OnMouseUp2D)
        OnMouseUp2D(button, shift, world.X, world.Y, x, y);
}

void TCADViewport2DCore::OwnMouseMove(TShiftState shift, int x, int y)
{
    if (!Skip2DEvents())
        FireMouseMove2D(shift, CartesianPoint2D(ScreenToWorld(MakePoint2D(float(x), float(y)))), x, y);
}

void TCADViewport2DCore::OwnMouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!Skip2DEvents())
        FireMouseDown2D(button, shift, CartesianPoint2D(ScreenToWorld(MakePoint2D(float(x), float(y)))), x, y);
}

void TCADViewport2DCore::OwnMouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!Skip2DEvents())
        FireMouseUp2D(button, shift, CartesianPoint2D(ScreenToWorld(MakePoint2D(float(x), float(y)))), x, y);
}
