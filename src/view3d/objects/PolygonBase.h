#pragma once

// The base of filled shapes whose outline is a collection of nodes, joined
// straight or along a curve they define.

#include "view3d/notification/Nodes.h"
#include "view3d/objects/LineSplineMode.h"
#include "view3d/scene/CustomSceneObject.h"

class TGLPolygonBase : public TGLSceneObject {
public:
    explicit TGLPolygonBase(TGLNotifyObject* owner = nullptr);

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    TGLNodes& Nodes() { return NodeList; }
    const TGLNodes& Nodes() const { return NodeList; }
    // Steps per span of a curve; at least 1.
    int Division() const { return DivisionValue; }
    void SetDivision(int value);
    TLineSplineMode SplineMode() const { return Mode; }
    void SetSplineMode(TLineSplineMode value);

    // A change of a node or of the collection rebuilds the drawing.
    void NotifyChange(TGLNotifyObject* sender) override;

private:
    TGLNodes NodeList;
    int DivisionValue = 10;
    TLineSplineMode Mode = TLineSplineMode::lsmLines;
};
