#pragma once

// A cylinder, or a cone cut flat, on the local Y axis.

#include "view3d/objects/CylinderBase.h"

struct TCylinderParts {
    bool cySides = true;
    bool cyBottom = true;
    bool cyTop = true;
    bool operator==(const TCylinderParts&) const = default;
};

// Where the origin lies: at the middle, at the top or at the bottom.
enum class TCylinderAlignment { caCenter, caTop, caBottom };

class TGLCylinder : public TGLCylinderBase {
public:
    using TGLCylinderBase::TGLCylinderBase;

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    float TopRadius() const { return TopRadiusValue; }
    TCylinderParts Parts() const { return PartsValue; }
    TCylinderAlignment Alignment() const { return AlignmentValue; }
    void SetTopRadius(float value);
    void SetParts(TCylinderParts value);
    void SetAlignment(TCylinderAlignment value);

    void BuildList(TRenderContextInfo& rci) override;
    Vector3f AxisAlignedDimensionsUnscaled() const override;
    bool RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector, Vector4f* intersectPoint = nullptr,
                          Vector4f* intersectNormal = nullptr) const override;

private:
    // Where the bottom lies on Y.
    float BottomY() const;

    float TopRadiusValue = 0.5f;
    TCylinderParts PartsValue;
    TCylinderAlignment AlignmentValue = TCylinderAlignment::caCenter;
};
