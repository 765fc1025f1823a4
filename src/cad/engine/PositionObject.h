#pragma once

// Places an object with the mouse: its reference point follows the pointer
// and a click adds it to the drawing there (or hands it to the after-state).

#include "cad/engine/PrimitiveDrawing.h"

class TCAD2DPositionObjectParam : public TCAD2DCommonParam {
public:
    TCAD2DPositionObjectParam(TCADStateClass afterState, std::unique_ptr<TObject2D> object)
        : TCAD2DCommonParam(afterState), Object(std::move(object))
    {
    }

    // Owned until it is added to the drawing.
    std::unique_ptr<TObject2D> Object;
};

// The point of the object that lands on the pointer: a line's first point, a
// circle's or arc's box centre, a container's box corner less its reference
// point, any other object's lower-left box corner.
TPoint2D PlacementReference(const TObject2D& object);

class TCAD2DPositionObject : public TCAD2DDrawingState {
public:
    static constexpr const char* ClassName = "TCAD2DPositionObject";
    TCAD2DPositionObject(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key, TCADStateClass& nextState) override;

private:
    // None once the click has handed the object to the drawing.
    TObject2D* Object() const;
    void PlaceAtPointer();

    TPoint2D Reference;
    TTransform2D StartTransform;
};
