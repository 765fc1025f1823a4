#include "cad/view/CADViewportCore.h"

#include <cmath>

#include <QPaintDevice>
#include <QPainter>

#include "cad/base/Settings.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/GraphicObjList.h"
#include "cad/view/ViewportDecorations.h"

namespace {

bool Finite(float value)
{
    return std::isfinite(value);
}

bool FiniteRect(const TRect2D& r)
{
    return Finite(r.FirstEdge.X) && Finite(r.FirstEdge.Y) && Finite(r.SecondEdge.X) && Finite(r.SecondEdge.Y);
}

// A mapping is usable when both ways are finite and neither axis collapses.
bool UsableMapping(const TTransform2D& toScreen, const TTransform2D& toWorld)
{
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            if (!Finite(toScreen.M[row][col]) || !Finite(toWorld.M[row][col]))
                return false;
    return toScreen.M[0][0] != 0.0f && toScreen.M[1][1] != 0.0f && toWorld.M[0][0] != 0.0f &&
           toWorld.M[1][1] != 0.0f;
}

} // namespace

TCADViewportCore::TCADViewportCore()
{
    VisualRectValue = MakeRect2D(0.0f, 0.0f, 100.0f, 100.0f);
    RubberPenValue.Mode = TPenMode::Xor;
    RubberPenValue.Style = TPenStyle::Solid;
    RubberPenValue.Width = 2;
    RubberPenValue.Color = RubberPenColorValue ^ BackGroundColorValue;
    // The mapping is built by the derived view once it exists (no virtual calls here).
    Width = 50;
    Height = 50;
    Bitmap.Resize(Width, Height);
    Window.Resize(Width, Height);
}

TCADViewportCore::~TCADViewportCore()
{
    StopRepaint();
    if (Hook)
        Hook->HookViewportDestroyed();
    if (DrawingValue)
        DrawingValue->RemoveViewport(this);
}

void TCADViewportCore::SetRubberPenColor(TColor value)
{
    RubberPenColorValue = value;
    RubberPenValue.Color = RubberPenColorValue ^ BackGroundColorValue;
}

void TCADViewportCore::SetBackGroundColor(TColor value)
{
    RubberPenValue.Color = RubberPenColorValue ^ value;
    Change(BackGroundColorValue, value);
}

void TCADViewportCore::SetOnClearCanvas(TClearCanvas handler)
{
    StopRepaint();
    OnClearCanvas = std::move(handler);
    Repaint();
}

void TCADViewportCore::SetDrawing(TCADCmp* drawing)
{
    if (drawing == DrawingValue)
        return;
    StopRepaint();
    if (DrawingValue)
        DrawingValue->RemoveViewport(this);
    if (drawing)
        drawing->AddViewport(this);
    DrawingValue = drawing;
}

void TCADViewportCore::SetOwnObjectList(TGraphicObjList* list)
{
    StopRepaint();
    OwnObjects = list;
}

void TCADViewportCore::DrawingDestroyed()
{
    StopRepaint();
    ForgetDrawing();
}

void TCADViewportCore::Repaint()
{
    RepaintRect(VisualRectValue);
}

TRect2D TCADViewportCore::ClipBox() const
{
    return MakeRect2D(0.0f, 0.0f, static_cast<float>(Width), static_cast<float>(Height));
}

void TCADViewportCore::RepaintRect(const TRect2D& area)
{
    if (RepaintDisabledValue)
        return;
    StopRepaint();
    {
        TImageCanvas::TScope scope(Bitmap);
        TDecorativeCanvas& canvas = scope.Canvas();
        try {
            if (OnClearCanvas)
                OnClearCanvas(canvas, area, BackGroundColorValue);
            else
                ClearCanvas(canvas, area);
            if (OnBeginRedraw)
                OnBeginRedraw();
            const TRect2D clip = ClipBox();
            if (ShowGridValue && !GridOnTopValue)
                DrawGrid(area, canvas);
            if (ShowAssiValue)
                DrawAxesAndScale(VisualRectValue, canvas);
            DrawObjects(canvas, clip);
            if (ShowGridValue && GridOnTopValue)
                DrawGrid(area, canvas);
            if (ShowAssiValue)
                DrawAxesAndScale(VisualRectValue, canvas);
        } catch (...) {
            // Whatever was painted is still shown before the failure goes on.
            CopyBitmapToWindow(true);
            if (OnEndRedraw)
                OnEndRedraw();
            throw;
        }
    }
    CopyBitmapToWindow(true);
    if (OnEndRedraw)
        OnEndRedraw();
}

void TCADViewportCore::DrawObjects(TDecorativeCanvas& canvas, const TRect2D& clip)
{
    // While the drawing's lists are held for a change nothing is drawn, not
    // even from an own list: its objects are usually the drawing's.
    TGraphicObjList* ownList = OwnObjects;
    if ((DrawingValue && DrawingValue->IsBlocked()) || (!ownList && !DrawingValue))
        return;
    std::unique_ptr<TGraphicObjIterator> iterator =
        ownList ? ownList->GetIterator() : DrawingValue->ObjectsIterator();
    int drawn = 0;
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        DrawObject(*object, canvas, clip);
        if (CopingFrequencyValue > 0 && ++drawn % CopingFrequencyValue == 0)
            CopyBitmapToWindow(false);
    }
}

void TCADViewportCore::ClearCanvas(TDecorativeCanvas& canvas, const TRect2D& area) const
{
    QPainter* painter = canvas.GetPainter();
    if (!painter)
        return;
    const TWindowRect r =
        Rect2DToWindowRect(TransformBoxCorners2D(NormalizeBox2D(area), WorldToScreenValue));
    painter->setCompositionMode(QPainter::CompositionMode_Source);
    painter->fillRect(r.Left, r.Top, r.Right - r.Left + 1, r.Bottom - r.Top + 1, ToQColor(BackGroundColorValue));
}

void TCADViewportCore::DrawGrid(const TRect2D& rect, TDecorativeCanvas& canvas) const
{
    TDecorativeCanvas gridCanvas(canvas.GetPainter());
    DrawViewGrid(gridCanvas, WorldToScreenValue, NormalizeBox2D(rect),
                 {GridDeltaXValue, GridDeltaYValue, GridSubXValue, GridSubYValue, GridColorValue,
                  BackGroundColorValue});
}

void TCADViewportCore::DrawAxesAndScale(const TRect2D& rect, TDecorativeCanvas& canvas) const
{
    TDecorativeCanvas axesCanvas(canvas.GetPainter());
    DrawViewAxesAndScale(axesCanvas, WorldToScreenValue, NormalizeBox2D(rect), GridColorValue,
                         BackGroundColorValue, UnitsMode);
}

void TCADViewportCore::InvalidateView()
{
    Paint();
}

void TCADViewportCore::Paint()
{
    CopyBitmapToWindow(true);
}

void TCADViewportCore::CopyBitmapToWindow(bool firePaint)
{
    // A bitmap being painted is copied, not shared, so later strokes stay off the window.
    Window.CopyFrom(Bitmap.IsPainting() ? Bitmap.Image().copy() : Bitmap.Image());
    ++WindowCopies;
    if (OnWindowChanged)
        OnWindowChanged();
    if (firePaint && OnPaint && !InOnPaint) {
        InOnPaint = true;
        try {
            OnPaint();
        } catch (...) {
            InOnPaint = false;
            throw;
        }
        InOnPaint = false;
    }
}

void TCADViewportCore::DisableRepaint()
{
    StopRepaint();
    RepaintDisabledValue = true;
}

void TCADViewportCore::EnableRepaint()
{
    RepaintDisabledValue = false;
    Repaint();
}

TTransform2D TCADViewportCore::BuildViewMapping(TRect2D&, const TWindowRect&, float)
{
    return IdentityTransform2D;
}

bool TCADViewportCore::TryViewMapping()
{
    TRect2D rect = VisualRectValue;
    const TTransform2D toScreen = BuildViewMapping(rect, ClientRect(), AspectRatioValue);
    const TTransform2D toWorld = InvertTransform2D(toScreen);
    if (!FiniteRect(rect) || !UsableMapping(toScreen, toWorld))
        return false;
    VisualRectValue = rect;
    WorldToScreenValue = toScreen;
    ScreenToWorldValue = toWorld;
    return true;
}

void TCADViewportCore::UpdateViewMapping()
{
    StopRepaint();
    // A window without width or height has no mapping; the last one stays
    // until the window has a size again.
    if (Width <= 0 || Height <= 0)
        return;
    if (TryViewMapping() && OnViewMappingChanged)
        OnViewMappingChanged();
    Repaint();
}

void TCADViewportCore::ZoomWindow(TRect2D rect)
{
    rect = NormalizeBox2D(rect);
    if (!FiniteRect(rect) || rect.FirstEdge.X == rect.SecondEdge.X || rect.FirstEdge.Y == rect.SecondEdge.Y)
        return;
    const TRect2D previous = VisualRectValue;
    VisualRectValue = rect;
    if (Width <= 0 || Height <= 0)
        return;
    StopRepaint();
    if (!TryViewMapping()) {
        // The mapping of the previous rectangle is still the stored one.
        VisualRectValue = previous;
        Repaint();
        return;
    }
    if (OnViewMappingChanged)
        OnViewMappingChanged();
    Repaint();
}

void TCADViewportCore::ZoomIn()
{
    const TRect2D r = VisualRectValue;
    const float quarterW = (r.SecondEdge.X - r.FirstEdge.X) / 4.0f;
    const float quarterH = (r.SecondEdge.Y - r.FirstEdge.Y) / 4.0f;
    ZoomWindow(MakeRect2D(r.FirstEdge.X + quarterW, r.FirstEdge.Y + quarterH, r.SecondEdge.X - quarterW,
                          r.SecondEdge.Y - quarterH));
}

void TCADViewportCore::ZoomOut()
{
    const TRect2D r = VisualRectValue;
    const float quarterW = (r.SecondEdge.X - r.FirstEdge.X) / 4.0f;
    const float quarterH = (r.SecondEdge.Y - r.FirstEdge.Y) / 4.0f;
    ZoomWindow(MakeRect2D(r.FirstEdge.X - quarterW, r.FirstEdge.Y - quarterH, r.SecondEdge.X + quarterW,
                          r.SecondEdge.Y + quarterH));
}

void TCADViewportCore::ZoomInAt(TPoint2D world)
{
    ScaleAbout(world, 0.5f);
}

void TCADViewportCore::ZoomOutAt(TPoint2D world)
{
    ScaleAbout(world, 1.5f);
}

void TCADViewportCore::ScaleAbout(TPoint2D world, float factor)
{
    // The rectangle keeps the window's proportions, so the mapping takes it
    // unchanged and the point keeps its pixel.
    const TPoint2D at = CartesianPoint2D(world);
    const TRect2D r = VisualRectValue;
    ZoomWindow(MakeRect2D(at.X + (r.FirstEdge.X - at.X) * factor, at.Y + (r.FirstEdge.Y - at.Y) * factor,
                          at.X + (r.SecondEdge.X - at.X) * factor, at.Y + (r.SecondEdge.Y - at.Y) * factor));
}

void TCADViewportCore::PanWindow(float deltaX, float deltaY)
{
    const TRect2D r = VisualRectValue;
    ZoomWindow(MakeRect2D(r.FirstEdge.X + deltaX, r.FirstEdge.Y + deltaY, r.SecondEdge.X + deltaX,
                          r.SecondEdge.Y + deltaY));
}

float TCADViewportCore::PixelsToWorld(int pixels) const
{
    return static_cast<float>(pixels) * GetPixelAperture().X;
}

void TCADViewportCore::FitToDeviceScale(const TDecorativeCanvas& canvas, float xScale, float yScale)
{
    if (xScale == 0.0f || yScale == 0.0f)
        return;
    const QPainter* painter = canvas.GetPainter();
    const QPaintDevice* device = painter ? painter->device() : nullptr;
    if (!device || device->width() <= 0 || device->height() <= 0 || device->widthMM() <= 0 ||
        device->heightMM() <= 0)
        return;
    // Millimetres per pixel of the device.
    const float h = static_cast<float>(device->widthMM()) / static_cast<float>(device->width());
    const float v = static_cast<float>(device->heightMM()) / static_cast<float>(device->height());
    TRect2D rect = VisualRectValue;
    rect.SecondEdge.X = rect.FirstEdge.X + static_cast<float>(Width) * h * xScale;
    rect.SecondEdge.Y = rect.FirstEdge.Y + v * (v / h) * static_cast<float>(Height) * yScale;
    ZoomWindow(rect);
}

void TCADViewportCore::Resize(int width, int height)
{
    StopRepaint();
    Width = width > 0 ? width : 0;
    Height = height > 0 ? height : 0;
    Bitmap.Resize(Width, Height);
    Window.Resize(Width, Height);
    ++WindowCopies;
    ZoomWindow(VisualRectValue);
    if (OnResize)
        OnResize();
}

TPoint2D TCADViewportCore::GetPixelAperture() const
{
    return {std::fabs(ScreenToWorldValue.M[0][0]), std::fabs(ScreenToWorldValue.M[1][1]), 1.0f};
}

TPoint2D TCADViewportCore::ScreenToWorld(TPoint2D point) const
{
    return ApplyTransform2D(point, ScreenToWorldValue);
}

TPoint2D TCADViewportCore::WorldToScreen(TPoint2D point) const
{
    return CartesianPoint2D(ApplyTransform2D(point, WorldToScreenValue));
}

void TCADViewportCore::RunWithSkip(bool handled, const std::function<void()>& own)
{
    const bool saved = SkipMouse2D;
    SkipMouse2D = !handled;
    try {
        own();
    } catch (...) {
        SkipMouse2D = saved;
        throw;
    }
    SkipMouse2D = saved;
}

void TCADViewportCore::DispatchKeyDown(int key, TShiftState shift)
{
    if (Hook)
        Hook->HookKeyDown(key, shift);
}

void TCADViewportCore::DispatchKeyUp(int key, TShiftState shift)
{
    if (Hook)
        Hook->HookKeyUp(key, shift);
}

void TCADViewportCore::DispatchMouseMove(TShiftState shift, int x, int y)
{
    const bool handled = Hook ? Hook->HookMouseMove(shift, x, y) : true;
    RunWithSkip(handled, [&] { OwnMouseMove(shift, x, y); });
}

void TCADViewportCore::DispatchMouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    // The middle button reaches only the view's own handling.
    bool handled = true;
    if (Hook && button != TMouseButton::Middle)
        handled = Hook->HookMouseDown(button == TMouseButton::Left ? 0 : 1, shift, x, y);
    RunWithSkip(handled, [&] { OwnMouseDown(button, shift, x, y); });
}

void TCADViewportCore::DispatchMouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    bool handled = true;
    if (Hook && button != TMouseButton::Middle)
        handled = Hook->HookMouseUp(button == TMouseButton::Left ? 0 : 1, shift, x, y);
    RunWithSkip(handled, [&] { OwnMouseUp(button, shift, x, y); });
}

void TCADViewportCore::DispatchDblClick(TMouseButton button, TShiftState shift, int x, int y)
{
    bool handled = true;
    if (Hook && button != TMouseButton::Middle) {
        Hook->HookDblClick();
        handled = Hook->HookMouseDown(button == TMouseButton::Left ? 0 : 1, shift, x, y);
    }
    RunWithSkip(handled, [&] {
        if (OnDblClick)
            OnDblClick();
        OwnMouseDown(button, static_cast<TShiftState>(shift | ssDouble), x, y);
    });
}

void TCADViewportCore::DispatchMouseWheel(bool up, int x, int y)
{
    if (OnMouseWheel)
        OnMouseWheel(up, x, y);
}

void TCADViewportCore::DispatchMouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter();
}

void TCADViewportCore::DispatchMouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave();
}

void TCADViewportCore::OwnMouseMove(TShiftState, int, int)
{
}

void TCADViewportCore::OwnMouseDown(TMouseButton, TShiftState, int, int)
{
}

void TCADViewportCore::OwnMouseUp(TMouseButton, TShiftState, int, int)
{
}
