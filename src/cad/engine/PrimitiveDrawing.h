#pragma once

// What the states that build a primitive point by point share: their
// parameters, the rubber image of the primitive under construction, points in
// the primitive's own coordinates with the ortho constraint, and adding the
// finished primitive to the drawing.

#include <memory>

#include "cad/engine/CAD2DState.h"
#include "cad/engine/RubberDrawing.h"
#include "cad/shapes/Primitive2D.h"

class TCAD2DDrawUnSizedPrimitiveParam : public TCAD2DCommonParam {
public:
    TCAD2DDrawUnSizedPrimitiveParam(TCADStateClass afterState, std::unique_ptr<TPrimitive2D> primitive,
                                    bool ortho = true);

    // Owned until it is added to the drawing.
    std::unique_ptr<TPrimitive2D> Primitive;
    std::int16_t CurrentPoint = 0;
    bool Ortho;
};

// A primitive with a fixed number of points, taken from it at creation.
class TCAD2DDrawSizedPrimitiveParam : public TCAD2DDrawUnSizedPrimitiveParam {
public:
    TCAD2DDrawSizedPrimitiveParam(TCADStateClass afterState, std::unique_ptr<TPrimitive2D> primitive,
                                  bool ortho = true);

    std::uint16_t PointsCount;
};

class TCAD2DDrawingState : public TCAD2DState {
protected:
    // Every drawing task starts with no last point.
    TCAD2DDrawingState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);

    // The snapped point through the inverse of the object's transform.
    TPoint2D SnappedObjectPoint(const TObject2D& object) const;
    // The point made horizontal or vertical from the previous one, when both
    // the task and the engine ask for ortho.
    TPoint2D Constrained(bool taskOrtho, TPoint2D previous, TPoint2D point) const;

    // The object's rubber image, with its control points.
    void ShowRubber(TObject2D& object);
    void HideRubber(TObject2D& object);

    // Adds the object to the drawing, drawn at once, with events blocked; the
    // parameter is then freed and the operation ends.
    void AddToDrawing(std::unique_ptr<TObject2D> object, TCADStateClass& nextState);

private:
    TXorMark Rubber;
};
