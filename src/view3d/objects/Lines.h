#pragma once

// The line object: a strip (or separate segments) through its nodes, or a
// curve they define, optionally coloured by the nodes. The toolpath of an
// NC program is one of these, so nodes are added in bulk inside an update
// bracket of the node collection and the drawing is compiled into a display
// list that is rebuilt only after a change.

#include <cstdint>

#include "view3d/lists/VectorLists.h"
#include "view3d/objects/LineSplineMode.h"
#include "view3d/objects/NodedLines.h"

enum class TLinesOption : std::uint8_t { loUseNodeColorForLines = 1 };

class TGLLines : public TGLNodedLines {
public:
    explicit TGLLines(TGLNotifyObject* owner = nullptr);

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    // Steps per span of a curve; at least 1.
    int Division() const { return DivisionValue; }
    void SetDivision(int value);
    TLineSplineMode SplineMode() const { return Mode; }
    void SetSplineMode(TLineSplineMode value);
    bool HasOption(TLinesOption option) const { return (Options & std::uint8_t(option)) != 0; }
    void SetOption(TLinesOption option, bool on);

    // A Bezier curve through more nodes than the driver's evaluator takes is
    // drawn as the straight strip.
    //
    // The NURBS curve's knots, order and sampling tolerance. After editing
    // the knots in place call StructureChanged.
    TSingleList& NURBSKnots() { return Knots; }
    int NURBSOrder() const { return Order; }
    void SetNURBSOrder(int value);
    float NURBSTolerance() const { return Tolerance; }
    void SetNURBSTolerance(float value);

    void BuildList(TRenderContextInfo& rci) override;

private:
    void DrawStraight(GLenum mode) const;
    void DrawCubicSpline() const;
    void DrawBezier() const;
    void DrawNURBS() const;
    bool NodeColors() const { return HasOption(TLinesOption::loUseNodeColorForLines); }

    int DivisionValue = 10;
    TLineSplineMode Mode = TLineSplineMode::lsmLines;
    std::uint8_t Options = 0;
    TSingleList Knots;
    int Order = 0;
    float Tolerance = 50.0f;
};
