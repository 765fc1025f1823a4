#pragma once

// A flat disk, ring or slice of one in the local XY plane, facing +Z.

#include "view3d/objects/QuadricObject.h"

class TGLDisk : public TGLQuadricObject {
public:
    using TGLQuadricObject::TGLQuadricObject;

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    float InnerRadius() const { return InnerRadiusValue; }
    float OuterRadius() const { return OuterRadiusValue; }
    int Slices() const { return SlicesValue; }
    int Loops() const { return LoopsValue; }
    // Degrees from +Y towards +X.
    float StartAngle() const { return StartAngleValue; }
    float SweepAngle() const { return SweepAngleValue; }
    void SetInnerRadius(float value);
    void SetOuterRadius(float value);
    void SetSlices(int value);
    void SetLoops(int value);
    void SetStartAngle(float value);
    void SetSweepAngle(float value);

    void BuildList(TRenderContextInfo& rci) override;
    Vector3f AxisAlignedDimensionsUnscaled() const override;
    bool RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector, Vector4f* intersectPoint = nullptr,
                          Vector4f* intersectNormal = nullptr) const override;

private:
    float InnerRadiusValue = 0.0f;
    float OuterRadiusValue = 0.5f;
    int SlicesValue = 16;
    int LoopsValue = 2;
    float StartAngleValue = 0.0f;
    float SweepAngleValue = 360.0f;
};
