#pragma once

// A cone standing on the local Y axis, centred on the origin, its point up.

#include "view3d/objects/CylinderBase.h"

struct TConeParts {
    bool coSides = true;
    bool coBottom = true;
    bool operator==(const TConeParts&) const = default;
};

class TGLCone : public TGLCylinderBase {
public:
    using TGLCylinderBase::TGLCylinderBase;

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    TConeParts Parts() const { return PartsValue; }
    void SetParts(TConeParts value);

    void BuildList(TRenderContextInfo& rci) override;
    Vector3f AxisAlignedDimensionsUnscaled() const override;

private:
    TConeParts PartsValue;
};
