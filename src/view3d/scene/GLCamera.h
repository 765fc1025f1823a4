#pragma once

// The camera: it sets OpenGL's projection for a viewport from its style,
// scene scale, focal length and depth of view, and the viewing transform
// towards its target object (or along its own direction). It also holds the
// navigation maths of the 3D view: orbiting round the target, a screen drag
// as a world vector, zoom through SceneScale.

#include <functional>

#include "view3d/scene/BaseSceneObject.h"
#include "view3d/scene/CameraProjection.h"

class TGLCamera : public TGLBaseSceneObject {
public:
    using TCustomPerspectiveEvent =
        std::function<void(const TGLViewPort& viewPort, int width, int height, float dpi, float& viewPortRadius)>;
    using TDeferredLookAtEvent = std::function<void(TGLCamera& camera)>;

    explicit TGLCamera(TGLNotifyObject* owner = nullptr);

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    bool IsCamera() const override { return true; }

    float DepthOfView() const { return Lens.DepthOfView; }
    float FocalLength() const { return Lens.FocalLength; }
    float SceneScale() const { return Lens.SceneScale; }
    float NearPlaneBias() const { return Lens.NearPlaneBias; }
    TGLCameraStyle CameraStyle() const { return Lens.Style; }
    TGLBaseSceneObject* TargetObject() const { return Target; }

    // Each stores and notifies only when the value differs.
    void SetDepthOfView(float value);
    // Not above 0 becomes 1.
    void SetFocalLength(float value);
    // Exactly 0 becomes 1; a negative scale is kept.
    void SetSceneScale(float value);
    // Not above 0 becomes 1.
    void SetNearPlaneBias(float value);
    void SetCameraStyle(TGLCameraStyle value);
    // A target that is freed is dropped.
    void SetTargetObject(TGLBaseSceneObject* value);

    // Used by the csCustom style.
    TCustomPerspectiveEvent OnCustomPerspective;
    // Replaces the built-in look-at when set.
    TDeferredLookAtEvent OnDeferredLookAt;

    // Sets the current modelview matrix (the identity before) to the view.
    void ApplyLookAt();
    // Multiplies the current projection matrix; nothing below one pixel.
    void ApplyProjection(const TGLViewPort& viewPort, int width, int height, float dpi);

    // Degrees; OrbitAround with the target.
    void OrbitTarget(float pitchDelta, float turnDelta);
    Vector4f ScreenDeltaToWorld(int deltaX, int deltaY, float ratio) const;
    float GetFieldOfView(float viewportDimension) const;
    // Through the FocalLength setter.
    void SetFieldOfView(float fieldOfView, float viewportDimension);

    // Worked values of the last projection and look-at.
    float NearPlane() const { return NearPlaneValue; }
    float ViewPortRadius() const { return ViewPortRadiusValue; }
    const Vector4f& LastDirection() const { return LastDirectionValue; }

    bool RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector, Vector4f* intersectPoint = nullptr,
                          Vector4f* intersectNormal = nullptr) const override;

protected:
    // A camera draws nothing of its own, only its children.
    void RenderSelf(TRenderContextInfo&) override {}
    void Notification(TGLBaseSceneObject& freed) override;

private:
    void NotifyScene();

    TGLCameraLens Lens;
    TGLBaseSceneObject* Target = nullptr;
    float NearPlaneValue = 0.0f;
    float ViewPortRadiusValue = 0.0f;
    Vector4f LastDirectionValue{0.0f, 0.0f, -1.0f, 0.0f};
};
