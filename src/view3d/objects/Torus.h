#pragma once

// A ring-shaped solid round the local Z axis.

#include "view3d/scene/CustomSceneObject.h"

class TGLTorus : public TGLCustomSceneObject {
public:
    using TGLCustomSceneObject::TGLCustomSceneObject;

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    float MajorRadius() const { return MajorRadiusValue; }
    float MinorRadius() const { return MinorRadiusValue; }
    int Rings() const { return RingsValue; }
    int Sides() const { return SidesValue; }
    void SetMajorRadius(float value);
    void SetMinorRadius(float value);
    void SetRings(int value);
    void SetSides(int value);

    void BuildList(TRenderContextInfo& rci) override;
    Vector3f AxisAlignedDimensionsUnscaled() const override;
    bool RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector, Vector4f* intersectPoint = nullptr,
                          Vector4f* intersectNormal = nullptr) const override;

private:
    float MajorRadiusValue = 0.4f;
    float MinorRadiusValue = 0.1f;
    int RingsValue = 25;
    int SidesValue = 15;
};
