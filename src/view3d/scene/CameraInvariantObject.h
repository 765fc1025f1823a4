#pragma once

// An object that keeps its place or its orientation relative to the camera,
// whatever the camera does (a compass, a heads-up marker).

#include "view3d/scene/CustomSceneObject.h"

enum class TGLCameraInvarianceMode { cimNone, cimPosition, cimOrientation };

class TGLCameraInvariantObject : public TGLImmaterialSceneObject {
public:
    using TGLImmaterialSceneObject::TGLImmaterialSceneObject;

    TGLCameraInvarianceMode CamInvarianceMode() const { return Mode; }
    void SetCamInvarianceMode(TGLCameraInvarianceMode value);

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;
    void RenderSelfAndChildren(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;

private:
    TGLCameraInvarianceMode Mode = TGLCameraInvarianceMode::cimNone;
};
