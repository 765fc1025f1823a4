#pragma once

// Control-point editing: a working copy of the primitive is edited with the
// mouse (drag a control point, double-click to insert one where the set may
// grow) and accept copies the result back into the primitive.

#include "cad/engine/CAD2DState.h"
#include "cad/engine/RubberDrawing.h"
#include "cad/shapes/Primitive2D.h"

// Names the primitive to edit; the drawing keeps owning it.
class TCAD2DPrimitiveParam : public TCADPrgParam {
public:
    explicit TCAD2DPrimitiveParam(TPrimitive2D& primitive) : Primitive(&primitive) {}

    TPrimitive2D* Primitive;
};

class TCAD2DEditPrimitiveParam : public TCAD2DCommonParam {
public:
    // The copy is made by the class registry from the primitive's class name.
    explicit TCAD2DEditPrimitiveParam(TPrimitive2D& primitive);

    std::unique_ptr<TPrimitive2D> WorkingCopy;
    TPrimitive2D* Primitive;
    std::int32_t HeldPoint = -1;
    int Aperture = 5;
    TPoint2D MarkerPosition;
};

class TCAD2DEditPrimitive : public TCAD2DState {
public:
    static constexpr const char* ClassName = "TCAD2DEditPrimitive";
    TCAD2DEditPrimitive(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key, TCADStateClass& nextState) override;

private:
    TCAD2DEditPrimitiveParam& Editing() const { return static_cast<TCAD2DEditPrimitiveParam&>(*Param()); }
    void ShowEdit();
    void HideEdit();
    void DrawEdit();
    // The control point of the copy under the raw point, or -1.
    int HitControlPoint() const;
    bool Accept(TCADStateClass& nextState);

    TXorMark Edit;
};

// Takes the first object of a finished selection, which must be a primitive,
// and edits it.
class TCAD2DEditSelectedPrimitive : public TCAD2DState {
public:
    static constexpr const char* ClassName = "TCAD2DEditSelectedPrimitive";
    TCAD2DEditSelectedPrimitive(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};
