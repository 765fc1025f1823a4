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

// The states that fix a figure point by point read their events alike: a
// left click fixes a point, moves drag the next one, a repaint shows the
// rubber again once a point is fixed, accept completes the figure (or acts
// as cancel before the first point) and cancel frees it.
class TCAD2DPointsState : public TCAD2DDrawingState {
public:
    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key, TCADStateClass& nextState) override;

protected:
    using TCAD2DDrawingState::TCAD2DDrawingState;

    virtual TObject2D& Figure() const = 0;
    virtual std::unique_ptr<TObject2D> TakeFigure() = 0;
    virtual int FixedPoints() const = 0;
    // True leaves the state.
    virtual bool Click(TCADStateClass& nextState) = 0;
    virtual void FollowPointer() = 0;
    // On to the after-state with the figure in the parameter, or the figure into the drawing.
    bool Complete(TCADStateClass& nextState);
};

// The point-by-point states whose figure is the parameter's primitive.
class TCAD2DPrimitivePointsState : public TCAD2DPointsState {
protected:
    using TCAD2DPointsState::TCAD2DPointsState;

    TCAD2DDrawUnSizedPrimitiveParam& Drawing() const
    {
        return static_cast<TCAD2DDrawUnSizedPrimitiveParam&>(*Param());
    }
    TObject2D& Figure() const override { return *Drawing().Primitive; }
    std::unique_ptr<TObject2D> TakeFigure() override { return std::move(Drawing().Primitive); }
    int FixedPoints() const override { return Drawing().CurrentPoint; }
    // The rubber goes, and the click's point in the primitive's coordinates,
    // made ortho against the last fixed point, comes back; it is the last point too.
    TPoint2D ClickedPoint();
    // The moving point follows the pointer, ortho against the last fixed point.
    void FollowPointer() override;
};
