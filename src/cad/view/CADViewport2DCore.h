#pragma once

// The view of a 2D drawing: world/screen mapping that keeps the aspect ratio,
// drawing of objects through their layers, transient (rubber) drawing on the
// window picture, picking and area collection, and the 2D mouse events with
// world coordinates.

#include <functional>
#include <vector>

#include "cad/model/ObjectClassRef.h"
#include "cad/view/CADViewportCore.h"

class TCADCmp2D;
class TObject2D;

class TCADViewport2DCore : public TCADViewportCore {
public:
    TCADViewport2DCore();

    TCADCmp2D* CADCmp2D() const { return Drawing2D; }
    void SetCADCmp2D(TCADCmp2D* drawing);
    // Only a 2D drawing is taken; any other drawing leaves the view without one.
    void SetDrawing(TCADCmp* drawing) override;

    using TMouseMoveEvent2D = std::function<void(TShiftState shift, float wx, float wy, int x, int y)>;
    using TMouseEvent2D = std::function<void(TMouseButton button, TShiftState shift, float wx, float wy, int x, int y)>;
    TMouseMoveEvent2D OnMouseMove2D;
    TMouseEvent2D OnMouseDown2D;
    TMouseEvent2D OnMouseUp2D;

    // Only objects of this class are picked and collected.
    TObject2DClass PickClass;

    void DrawObjectWithRubber(TObject2D& object, TDecorativeCanvas& canvas, const TRect2D& clip);
    // On the bitmap and on the window, so the object survives the next copy.
    void DrawObject2D(TObject2D& object, bool showControlPoints);
    // On the window only, with the rubber pen: drawing it again at the same place erases it.
    void DrawObject2DWithRubber(TObject2D& object, bool showControlPoints);
    // Draws the visible objects inside the world rectangle onto any canvas, mapped onto
    // the screen rectangle: mode 0 stretched, 1 with AspectRatio, else the view's mapping.
    void DrawWorldRect(const TRect2D& world, const TWindowRect& screen, int mode, TDecorativeCanvas& canvas);
    TTransform2D FitMapping(TRect2D world, const TWindowRect& screen, int mode);
    // Draws the view onto another canvas (a printer, a picture) as DrawWorldRect
    // does on the window's rectangle; kind 1 shows the drawing's extension,
    // kind 2 fits the view to the canvas's device scale (FitToDeviceScale),
    // any other kind the visible rectangle. The view is left as it was.
    void CopyToCanvas(TDecorativeCanvas& canvas, int mode, float xScale, float yScale, int kind);
    // The drawing's visible extension with a margin; an empty drawing, or one
    // with nothing visible, only repaints.
    void ZoomToExtension();

    // The best hit within the aperture (pixels) around the world point: the
    // highest code, then the nearest; ties go to the later object. None, with
    // code -200, when nothing is hit.
    TObject2D* PickObject(TPoint2D point, int aperture, int& code, bool first);
    // mode 0: objects whose box lies wholly inside the rectangle; 1: objects
    // whose box overlaps it. With remove they are taken out of the drawing and
    // the list owns them.
    void CollectObjectsInRect(TGraphicObjList& list, const TRect2D& rect, bool remove, int mode);
    // The world point in the object's own coordinates (Cartesian).
    TPoint2D WorldToObject(const TObject2D& object, TPoint2D point) const;

    // Fired by the engine itself when its filters have changed the point.
    void FireMouseMove2D(TShiftState shift, TPoint2D world, int x, int y);
    void FireMouseDown2D(TMouseButton button, TShiftState shift, TPoint2D world, int x, int y);
    void FireMouseUp2D(TMouseButton button, TShiftState shift, TPoint2D world, int x, int y);

    void DrawObjectInView(TObject2D& object) override { DrawObject2D(object, false); }
    void DrawingDestroyed() override;

protected:
    TTransform2D BuildViewMapping(TRect2D& rect, const TWindowRect& screen, float aspect) override;
    void DrawObject(TGraphicObject& object, TDecorativeCanvas& canvas, const TRect2D& clip) override;
    void DrawObjects(TDecorativeCanvas& canvas, const TRect2D& clip) override;
    void OwnMouseMove(TShiftState shift, int x, int y) override;
    void OwnMouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void OwnMouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    bool Pickable(const TObject2D& object) const;
    void DrawObjectOn(TObject2D& object, TDecorativeCanvas& canvas, const TRect2D& clip, bool showControlPoints);
    void DrawRubberOn(TObject2D& object, TDecorativeCanvas& canvas, const TRect2D& clip, bool showControlPoints);

    TCADCmp2D* Drawing2D = nullptr;
    // The objects of a repaint, kept for the next one so that it need not allocate.
    std::vector<TObject2D*> NearObjects;
};
