#pragma once

// An invisible cube that groups its children and serves as a target (the
// camera looks at one). At run time it draws only its children, unless
// VisibleAtRunTime shows its edges; with Amalgamate it and its children are
// compiled into one display list.

#include <functional>

#include "view3d/notification/Color.h"
#include "view3d/opengl/GLContextHandle.h"
#include "view3d/scene/CameraInvariantObject.h"

class TGLDummyCube : public TGLCameraInvariantObject {
public:
    // Answers whether the cube and its children are drawn in this frame.
    using TVisibilityDetermination = std::function<bool(TGLDummyCube& sender, TRenderContextInfo& rci)>;

    explicit TGLDummyCube(TGLNotifyObject* owner = nullptr);
    ~TGLDummyCube() override;

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    float CubeSize() const { return Size; }
    void SetCubeSize(float value);
    TGLColor& EdgeColor() { return EdgeColorValue; }
    bool VisibleAtRunTime() const { return ShownAtRunTime; }
    void SetVisibleAtRunTime(bool value);
    bool Amalgamate() const { return Amalgamated; }
    void SetAmalgamate(bool value);
    TVisibilityDetermination OnVisibilityDetermination;

    // The average of its children's barycentres, or its absolute position
    // without children.
    Vector4f BarycenterAbsolutePosition() const;

    void BuildList(TRenderContextInfo& rci) override;
    void RenderSelfAndChildren(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;
    void StructureChanged() override;
    Vector3f AxisAlignedDimensionsUnscaled() const override;
    // A target, never something to hit.
    bool RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector, Vector4f* intersectPoint = nullptr,
                          Vector4f* intersectNormal = nullptr) const override;

private:
    float Size = 1.0f;
    TGLColor EdgeColorValue;
    bool ShownAtRunTime = false;
    bool Amalgamated = false;
    TGLListHandle GroupList;
    bool GroupListStale = true;
};
