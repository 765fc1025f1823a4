#pragma once

// A line object drawn through a collection of nodes, each of which may
// carry a marker: axes, a wire cube or a small solid.

#include "view3d/notification/Nodes.h"
#include "view3d/objects/LineBase.h"
#include "view3d/objects/LinesNode.h"

enum class TLineNodesAspect { lnaInvisible, lnaAxes, lnaCube, lnaDodecahedron };

class TGLNodedLines : public TGLLineBase {
public:
    explicit TGLNodedLines(TGLNotifyObject* owner = nullptr);

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    // Items are TGLLinesNode; a new one takes the NodeColor of the moment.
    TGLNodes& Nodes() { return NodeList; }
    const TGLNodes& Nodes() const { return NodeList; }
    TGLLinesNode& Node(int index) const { return static_cast<TGLLinesNode&>(NodeList[index]); }
    // A new node at the point.
    TGLLinesNode& AddNode(const Vector3f& point);

    TLineNodesAspect NodesAspect() const { return Aspect; }
    void SetNodesAspect(TLineNodesAspect value);
    // A new node colour passes to every node that still has the old one.
    TGLColor& NodeColor() { return NodeColorValue; }
    const TGLColor& NodeColor() const { return NodeColorValue; }
    void SetNodeColor(const Vector4f& value) { NodeColorValue.SetColor(value); }
    float NodeSize() const { return MarkerSize; }
    void SetNodeSize(float value);

    // A change of a node or of the collection rebuilds the drawing.
    void NotifyChange(TGLNotifyObject* sender) override;
    // The largest absolute node coordinate on each axis.
    Vector3f AxisAlignedDimensionsUnscaled() const override;

protected:
    // The markers at the nodes, by NodesAspect.
    void DrawNodes(const TRenderContextInfo& rci) const;

private:
    void NodeColorChanged();
    void DrawMarker(const TGLLinesNode& node) const;

    TGLNodes NodeList;
    TLineNodesAspect Aspect = TLineNodesAspect::lnaAxes;
    TGLColor NodeColorValue;
    // What NodeColor was before its last change: the nodes that still
    // carry it follow the change.
    Vector4f PreviousNodeColor;
    float MarkerSize = 1.0f;
};
