#pragma once

// A flat shape filled inside the outline of its nodes, seen from both sides.

#include "view3d/objects/PolygonBase.h"

struct TPolygonParts {
    bool ppTop = true;
    bool ppBottom = true;
    bool operator==(const TPolygonParts&) const = default;
};

class TGLPolygon : public TGLPolygonBase {
public:
    using TGLPolygonBase::TGLPolygonBase;

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    TPolygonParts Parts() const { return PartsValue; }
    void SetParts(TPolygonParts value);

    void BuildList(TRenderContextInfo& rci) override;
    // The largest distance from the origin along each axis of any node.
    Vector3f AxisAlignedDimensionsUnscaled() const override;

private:
    TPolygonParts PartsValue;
};
