#pragma once

// A view of a drawing, without its window: the visible world rectangle and its
// mapping to the screen, zoom and pan, and two pictures. All painting goes to
// the off-screen bitmap; the window picture is refreshed by one copy of it,
// and transient (xor) drawings go on the window picture only, so copying the
// bitmap again wipes them. The widget that shows the view only blits the
// window picture and passes its input to the Dispatch operations.
//
// Painting happens on the calling (GUI) thread: UsePaintingThread is kept as
// a setting but a background painting thread is never started.

#include <functional>

#include "cad/canvas/CanvasTypes.h"
#include "cad/canvas/ImageCanvas.h"
#include "cad/drawing/CADViewportLink.h"
#include "cad/geometry/CADBaseTypes.h"
#include "cad/view/CADInputTypes.h"

class TCADCmp;
class TGraphicObject;
class TGraphicObjList;

// What the interaction engine sees of the view's input. Each handler runs
// before the view's own handling and returns false when it has already fired
// the view's 2D mouse events itself, so the view does not fire them again.
class TCADViewportHook {
public:
    virtual ~TCADViewportHook() = default;
    virtual bool HookKeyDown(int key, TShiftState shift) = 0;
    virtual bool HookKeyUp(int key, TShiftState shift) = 0;
    virtual bool HookMouseMove(TShiftState shift, int x, int y) = 0;
    // button: 0 left, 1 right.
    virtual bool HookMouseDown(int button, TShiftState shift, int x, int y) = 0;
    virtual bool HookMouseUp(int button, TShiftState shift, int x, int y) = 0;
    virtual bool HookDblClick() = 0;
    // The view is going away and must be forgotten.
    virtual void HookViewportDestroyed() = 0;
};

class TCADViewportCore : public TCADViewportLink {
public:
    TCADViewportCore();
    ~TCADViewportCore() override;
    TCADViewportCore(const TCADViewportCore&) = delete;
    TCADViewportCore& operator=(const TCADViewportCore&) = delete;

    // Settings: changing one stops a running repaint and repaints.
    float AspectRatio() const { return AspectRatioValue; }
    void SetAspectRatio(float value) { Change(AspectRatioValue, value); }
    // The rubber pen draws in RubberPenColor xor BackGroundColor; no repaint.
    TColor RubberPenColor() const { return RubberPenColorValue; }
    void SetRubberPenColor(TColor value);
    TColor ControlPointsColor() const { return ControlPointsColorValue; }
    void SetControlPointsColor(TColor value) { Change(ControlPointsColorValue, value); }
    TColor BackGroundColor() const { return BackGroundColorValue; }
    void SetBackGroundColor(TColor value);
    TColor GridColor() const { return GridColorValue; }
    void SetGridColor(TColor value) { Change(GridColorValue, value); }
    bool GridOnTop() const { return GridOnTopValue; }
    void SetGridOnTop(bool value) { Change(GridOnTopValue, value); }
    float GridDeltaX() const { return GridDeltaXValue; }
    void SetGridDeltaX(float value) { Change(GridDeltaXValue, value); }
    float GridDeltaY() const { return GridDeltaYValue; }
    void SetGridDeltaY(float value) { Change(GridDeltaYValue, value); }
    float GridSubX() const { return GridSubXValue; }
    void SetGridSubX(float value) { Change(GridSubXValue, value); }
    float GridSubY() const { return GridSubYValue; }
    void SetGridSubY(float value) { Change(GridSubYValue, value); }
    int ControlPointsWidth() const { return ControlPointsWidthValue; }
    void SetControlPointsWidth(int value) { Change(ControlPointsWidthValue, value); }
    bool ShowControlPoints() const { return ShowControlPointsValue; }
    void SetShowControlPoints(bool value) { Change(ShowControlPointsValue, value); }
    bool ShowGrid() const { return ShowGridValue; }
    void SetShowGrid(bool value) { Change(ShowGridValue, value); }
    bool ShowAssi() const { return ShowAssiValue; }
    void SetShowAssi(bool value) { Change(ShowAssiValue, value); }
    // Pixels of the background colour are not shown: what lies under the
    // view shows through them (the window leaves them unpainted).
    bool IsTransparent() const { return IsTransparentValue; }
    void SetIsTransparent(bool value) { Change(IsTransparentValue, value); }
    bool UsePaintingThread() const { return UsePaintingThreadValue; }
    void SetUsePaintingThread(bool value) { Change(UsePaintingThreadValue, value); }
    // > 0: the bitmap is shown after every that many objects of a repaint.
    int CopingFrequency() const { return CopingFrequencyValue; }
    void SetCopingFrequency(int value) { Change(CopingFrequencyValue, value); }

    // Replaces the default background fill of a repaint.
    using TClearCanvas = std::function<void(TDecorativeCanvas& canvas, const TRect2D& area, TColor backColor)>;
    void SetOnClearCanvas(TClearCanvas handler);

    std::function<void()> OnBeginRedraw;
    std::function<void()> OnEndRedraw;
    // After every copy of the bitmap to the window that asks for it.
    std::function<void()> OnPaint;
    std::function<void()> OnResize;
    std::function<void()> OnViewMappingChanged;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;
    std::function<void()> OnDblClick;
    // One notch of the wheel at a window point: up (away from the user) or down.
    std::function<void(bool up, int x, int y)> OnMouseWheel;
    // The window picture changed and should be shown; set by the widget.
    std::function<void()> OnWindowChanged;

    // The drawing shown; the view registers with it.
    TCADCmp* Drawing() const { return DrawingValue; }
    virtual void SetDrawing(TCADCmp* drawing);
    // Replaces the drawing's objects for painting and picking; borrowed.
    TGraphicObjList* OwnObjectList() const { return OwnObjects; }
    void SetOwnObjectList(TGraphicObjList* list);

    // Painting
    void Repaint();
    void RepaintRect(const TRect2D& area);
    // Shows the bitmap again, wiping transient drawings, without redrawing.
    void InvalidateView();
    void Paint();
    void CopyBitmapToWindow(bool firePaint);
    // Kept for callers that stop or await a painting thread; there is none.
    void StopRepaint() {}
    void WaitForRepaint() {}
    bool IsRepainting() const { return false; }
    void DisableRepaint();
    void EnableRepaint();
    bool RepaintDisabled() const { return RepaintDisabledValue; }

    // View changes. A rectangle without width or height, or one that would
    // give an unusable mapping, leaves the view as it was.
    void ZoomWindow(TRect2D rect);
    void ZoomIn();
    void ZoomOut();
    // The same steps about a world point, which stays where it is on the screen.
    void ZoomInAt(TPoint2D world);
    void ZoomOutAt(TPoint2D world);
    void PanWindow(float deltaX, float deltaY);
    float PixelsToWorld(int pixels) const;
    // The visible rectangle keeps its bottom-left corner and becomes as large
    // as the window would measure, in millimetres, on the canvas's device,
    // times the scales. Nothing when a scale is 0 or the device has no size.
    void FitToDeviceScale(const TDecorativeCanvas& canvas, float xScale, float yScale);
    void UpdateViewMapping();
    // The window's client area changed size.
    void Resize(int width, int height);

    const TRect2D& VisualRect() const { return VisualRectValue; }
    int ClientWidth() const { return Width; }
    int ClientHeight() const { return Height; }
    TWindowRect ClientRect() const { return {0, 0, Width, Height}; }
    TTransform2D GetWorldToScreen() const { return WorldToScreenValue; }
    TTransform2D GetScreenToWorld() const { return ScreenToWorldValue; }
    // The world size of one pixel in X and Y.
    TPoint2D GetPixelAperture() const;
    // Homogeneous result.
    TPoint2D ScreenToWorld(TPoint2D point) const;
    // Cartesian result.
    TPoint2D WorldToScreen(TPoint2D point) const;

    // The two pictures and their canvases.
    TImageCanvas& OffScreen() { return Bitmap; }
    TImageCanvas& OnScreen() { return Window; }
    const QImage& BitmapImage() const { return Bitmap.Image(); }
    const QImage& WindowImage() const { return Window.Image(); }
    // Counts the copies of the bitmap to the window: each one wipes what was
    // drawn on the window before it.
    unsigned WindowGeneration() const { return WindowCopies; }
    // The rubber pen as a canvas pen: xor, solid, width 2.
    TPenState RubberPen() const { return RubberPenValue; }

    // Input from the widget: the engine's hook first, then the view's own handling.
    void SetHook(TCADViewportHook* hook) { Hook = hook; }
    void DispatchKeyDown(int key, TShiftState shift);
    void DispatchKeyUp(int key, TShiftState shift);
    void DispatchMouseMove(TShiftState shift, int x, int y);
    void DispatchMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void DispatchMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // The second press of a double click: it arrives instead of a mouse down.
    void DispatchDblClick(TMouseButton button, TShiftState shift, int x, int y);
    void DispatchMouseWheel(bool up, int x, int y);
    void DispatchMouseEnter();
    void DispatchMouseLeave();
    // Set while the engine has fired the 2D mouse events itself.
    bool Skip2DEvents() const { return SkipMouse2D; }

    // TCADViewportLink
    void RepaintView() override { Repaint(); }
    void RefreshView() override { InvalidateView(); }
    void DrawingDestroyed() override;

protected:
    // The world-to-screen mapping of the rectangle, which it may adjust.
    virtual TTransform2D BuildViewMapping(TRect2D& rect, const TWindowRect& screen, float aspect);
    virtual void DrawObject(TGraphicObject& object, TDecorativeCanvas& canvas, const TRect2D& clip) = 0;
    // Every object of the own list or the drawing, in order, through DrawObject.
    virtual void DrawObjects(TDecorativeCanvas& canvas, const TRect2D& clip);
    void DrawGrid(const TRect2D& rect, TDecorativeCanvas& canvas) const;
    void DrawAxesAndScale(const TRect2D& rect, TDecorativeCanvas& canvas) const;
    void ClearCanvas(TDecorativeCanvas& canvas, const TRect2D& area) const;
    // The view's own handling of the mouse, after the engine's.
    virtual void OwnMouseMove(TShiftState shift, int x, int y);
    virtual void OwnMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void OwnMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    TRect2D ClipBox() const;
    // Forgets the drawing without unregistering (it is going away).
    void ForgetDrawing() { DrawingValue = nullptr; }

private:
    template <typename T>
    void Change(T& field, T value)
    {
        if (field == value)
            return;
        StopRepaint();
        field = value;
        Repaint();
    }
    bool TryViewMapping();
    void ScaleAbout(TPoint2D world, float factor);
    void RunWithSkip(bool handled, const std::function<void()>& own);

    float AspectRatioValue = 0.0f;
    TColor RubberPenColorValue = clRed;
    TColor ControlPointsColorValue = clSilver;
    TColor BackGroundColorValue = clSilver;
    TColor GridColorValue = clGray;
    bool GridOnTopValue = false;
    float GridDeltaXValue = 0.0f;
    float GridDeltaYValue = 0.0f;
    float GridSubXValue = 0.0f;
    float GridSubYValue = 0.0f;
    int ControlPointsWidthValue = 6;
    bool ShowControlPointsValue = false;
    bool ShowGridValue = false;
    bool ShowAssiValue = false;
    bool IsTransparentValue = false;
    bool UsePaintingThreadValue = false;
    int CopingFrequencyValue = 0;
    TClearCanvas OnClearCanvas;

    TCADCmp* DrawingValue = nullptr;
    TGraphicObjList* OwnObjects = nullptr;
    TRect2D VisualRectValue;
    TTransform2D WorldToScreenValue;
    TTransform2D ScreenToWorldValue;
    TPenState RubberPenValue;
    TImageCanvas Bitmap;
    TImageCanvas Window;
    int Width = 0;
    int Height = 0;
    bool RepaintDisabledValue = false;
    bool InOnPaint = false;
    bool SkipMouse2D = false;
    unsigned WindowCopies = 0;
    TCADViewportHook* Hook = nullptr;
};
