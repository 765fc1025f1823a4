#pragma once

// A thick tube on the local Y axis, centred on the origin.

#include "view3d/objects/CylinderBase.h"

struct TAnnulusParts {
    bool anInnerSides = true;
    bool anOuterSides = true;
    bool anBottom = true;
    bool anTop = true;
    bool operator==(const TAnnulusParts&) const = default;
};

class TGLAnnulus : public TGLCylinderBase {
public:
    using TGLCylinderBase::TGLCylinderBase;

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    float BottomInnerRadius() const { return BottomInnerRadiusValue; }
    float TopInnerRadius() const { return TopInnerRadiusValue; }
    float TopRadius() const { return TopRadiusValue; }
    TAnnulusParts Parts() const { return PartsValue; }
    void SetBottomInnerRadius(float value);
    void SetTopInnerRadius(float value);
    void SetTopRadius(float value);
    void SetParts(TAnnulusParts value);

    void BuildList(TRenderContextInfo& rci) override;
    Vector3f AxisAlignedDimensionsUnscaled() const override;
    bool RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector, Vector4f* intersectPoint = nullptr,
                          Vector4f* intersectNormal = nullptr) const override;

private:
    float BottomInnerRadiusValue = 0.3f;
    float TopInnerRadiusValue = 0.3f;
    float TopRadiusValue = 0.5f;
    TAnnulusParts PartsValue;
};
