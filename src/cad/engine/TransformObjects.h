#pragma once

// Moves, rotates, scales or mirrors a selection with the mouse or by typed
// values: the first click fixes the base point, the objects follow the
// pointer as a rubber image, and the second click (or accept) applies the
// transform to the objects themselves or to copies of them.

#include <optional>

#include "cad/engine/CAD2DState.h"
#include "cad/engine/RubberDrawing.h"
#include "cad/model/GraphicObjList.h"

class TSCTransformObjectsParam : public TCAD2DCommonParam {
public:
    // Refers to every object of the list (which must not be empty) and bakes
    // its transform; the union box is joined from theirs.
    TSCTransformObjectsParam(TGraphicObjList& objects, TCADStateClass afterState);

    // Current := the point (made horizontal or vertical from the base with
    // ortho) and the transform from the base to it.
    void SetCurrentPoint(TCADViewport2DCore& view, TPoint2D current, bool ortho);
    // The objects (or their box) as the transform would leave them, and the
    // line from the base point to the current one once the base is fixed.
    void DrawRubber(TCADViewport2DCore& view);
    // False, changing nothing, when the transform was refused.
    bool Apply();
    void ResetTransforms();

    TPoint2D Base;
    TPoint2D Current;
    TRect2D Box;
    std::int16_t Clicks = 0;
    // The drawing keeps owning the objects.
    TGraphicObjList Objects;
    bool DrawBox = false;
    TTransform2D Transform;
    // Cleared while the transform from base to current is refused.
    bool Usable = true;

protected:
    // None refuses the pair of points.
    virtual std::optional<TTransform2D> BuildTransform(TCADViewport2DCore& view, TPoint2D base,
                                                       TPoint2D current) = 0;
    // Circles and arcs cannot carry the transform and go over into polylines.
    virtual bool TurnsCurvesIntoPolylines() const { return false; }

private:
    void ApplyCopies(TObject2D& object, bool curvesToPolylines, bool framesToPolylines);
};

class TSCTraslaObjectsParam : public TSCTransformObjectsParam {
public:
    using TSCTransformObjectsParam::TSCTransformObjectsParam;

protected:
    std::optional<TTransform2D> BuildTransform(TCADViewport2DCore& view, TPoint2D base, TPoint2D current) override;
};

class TSCRuotaObjectsParam : public TSCTransformObjectsParam {
public:
    using TSCTransformObjectsParam::TSCTransformObjectsParam;

protected:
    std::optional<TTransform2D> BuildTransform(TCADViewport2DCore& view, TPoint2D base, TPoint2D current) override;
};

class TSCScalaObjectsParam : public TSCTransformObjectsParam {
public:
    using TSCTransformObjectsParam::TSCTransformObjectsParam;

protected:
    std::optional<TTransform2D> BuildTransform(TCADViewport2DCore& view, TPoint2D base, TPoint2D current) override;
    bool TurnsCurvesIntoPolylines() const override;
};

class TSCSpecchiaObjectsParam : public TSCTransformObjectsParam {
public:
    using TSCTransformObjectsParam::TSCTransformObjectsParam;

protected:
    std::optional<TTransform2D> BuildTransform(TCADViewport2DCore& view, TPoint2D base, TPoint2D current) override;
};

class TSCTransformObjects : public TCAD2DState {
public:
    static constexpr const char* ClassName = "TSCTransformObjects";
    TSCTransformObjects(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key, TCADStateClass& nextState) override;
    // The objects stay as they were.
    void CancelState() override;

private:
    TSCTransformObjectsParam& Transforming() const { return static_cast<TSCTransformObjectsParam&>(*Param()); }
    void ShowRubber();
    void HideRubber();
    void MoveCurrentTo(TPoint2D point);
    bool Click(TCADStateClass& nextState);
    // Applies, repaints and finishes; a refused transform keeps the state running.
    bool ApplyAndFinish(TCADStateClass& nextState);
    bool MirrorAboutAxis(TCADStateClass& nextState);
    // The point the typed values of the event stand for, when they are numbers.
    std::optional<TPoint2D> TypedPoint(int code) const;

    TXorMark Rubber;
};
