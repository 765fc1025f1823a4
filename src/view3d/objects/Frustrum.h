#pragma once

// A pyramid over a rectangle, cut flat below its apex.

#include "view3d/objects/NormalDirection.h"
#include "view3d/objects/ShapeMeshes.h"
#include "view3d/scene/CustomSceneObject.h"

class TGLFrustrum : public TGLCustomSceneObject {
public:
    using TGLCustomSceneObject::TGLCustomSceneObject;

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    float ApexHeight() const { return ApexHeightValue; }
    float BaseDepth() const { return BaseDepthValue; }
    float BaseWidth() const { return BaseWidthValue; }
    float Height() const { return HeightValue; }
    TFrustrumParts Parts() const { return PartsValue; }
    TNormalDirection NormalDirection() const { return NormalDirectionValue; }
    // Negative sizes are refused. The cut stays between the base and the
    // apex: a lower apex pulls the cut down, a higher cut lifts the apex.
    void SetApexHeight(float value);
    void SetBaseDepth(float value);
    void SetBaseWidth(float value);
    void SetHeight(float value);
    void SetParts(TFrustrumParts value);
    void SetNormalDirection(TNormalDirection value);

    void BuildList(TRenderContextInfo& rci) override;
    Vector3f AxisAlignedDimensionsUnscaled() const override;

private:
    float ApexHeightValue = 1.0f;
    float BaseDepthValue = 1.0f;
    float BaseWidthValue = 1.0f;
    float HeightValue = 0.5f;
    TFrustrumParts PartsValue;
    TNormalDirection NormalDirectionValue = TNormalDirection::ndOutside;
};
