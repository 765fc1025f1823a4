#pragma once

// The points a line or polygon object is drawn through. A change of one node
// is a change of its owning scene object; changes made between BeginUpdate
// and EndUpdate reach the owner as one notification.

#include <functional>
#include <memory>
#include <vector>

#include "view3d/maths/VectorTypes.h"
#include "view3d/notification/UpdateAble.h"

class TCubicSpline;
class TGLNodes;

class TGLNode {
public:
    explicit TGLNode(TGLNodes& collection);
    virtual ~TGLNode() = default;
    TGLNode(const TGLNode&) = delete;
    TGLNode& operator=(const TGLNode&) = delete;

    float X() const { return Coords.X; }
    float Y() const { return Coords.Y; }
    float Z() const { return Coords.Z; }
    float W() const { return Coords.W; }
    void SetX(float value) { SetCoordinate(0, value); }
    void SetY(float value) { SetCoordinate(1, value); }
    void SetZ(float value) { SetCoordinate(2, value); }
    // Index 0 to 2 is X, Y, Z; the collection notifies its owner.
    void SetCoordinate(int index, float value);

    // Copies the four singles, without a notification.
    virtual void Assign(const TGLNode& source);

    // The four singles in a row, for OpenGL calls that take an array.
    const Vector4f& AsVector() const { return Coords; }
    Vector3f AsAffineVector() const { return {Coords.X, Coords.Y, Coords.Z}; }

    TGLNodes& Collection() const { return *Owner; }

protected:
    // Tells the collection that this node changed.
    void Changed();

private:
    friend class TGLNodes;

    TGLNodes* Owner;
    Vector4f Coords;
};

// Makes the items of a collection: line objects keep nodes with colours.
using TGLNodeFactory = std::function<std::unique_ptr<TGLNode>(TGLNodes& collection)>;

class TGLNodes : public TGLNotifyObject {
public:
    // Without a factory the items are plain nodes.
    explicit TGLNodes(TGLUpdateAbleComponent* owner, TGLNodeFactory itemClass = {});
    ~TGLNodes() override;

    TGLUpdateAbleComponent* GetOwner() const { return Owner; }

    int Count() const { return static_cast<int>(Items.size()); }
    TGLNode& operator[](int index) const { return *Items[static_cast<std::size_t>(index)]; }

    // A new node at the end, all four singles 0.
    TGLNode& AddNode();
    void Clear();

    void BeginUpdate();
    // The owner hears of the bracket's changes once, when the outermost one ends.
    void EndUpdate();
    int UpdateCount() const { return PendingUpdates; }

    // An item changed (none: the collection as a whole).
    void Update(TGLNode* item);
    // Tells the owner, unless a bracket is open.
    virtual void NotifyChange();

    // Appends segments + 1 nodes (at least two: a segment count below 1
    // counts as 1) on the ellipse round the centre, counter-clockwise from
    // start to stop (radians); stop not above start goes on through a full
    // turn, so equal angles give a whole ellipse. Reverse appends them from
    // the stop end. The nodes get W = 1; the owner hears of it once.
    void AddArcNodes(bool reverse, int segments, float xRadius, float yRadius, float start, float stop,
                     const Vector3f& centre);

    // The normal of the plane through the first three nodes; null with fewer.
    Vector3f Normal() const;
    // A spline through X, Y, Z of all nodes, at the parameters 0, 1, ... n - 1.
    std::unique_ptr<TCubicSpline> CreateNewCubicSpline() const;

    // Draws the nodes as one filled polygon through the GLU tessellator: its
    // outline is the nodes in order (reversed on request), or, with more than
    // one segment per span, points of the nodes' spline. With texturing, each
    // vertex's X and Y are also its texture coordinates. Fewer than three
    // nodes draw nothing.
    void RenderTesselatedPolygon(bool textured, const Vector3f* normal, int splineSegments, bool reverse) const;

private:
    TGLUpdateAbleComponent* Owner;
    TGLNodeFactory ItemClass;
    std::vector<std::unique_ptr<TGLNode>> Items;
    int PendingUpdates = 0;
};
