#include "view3d/scene/CameraInvariantObject.h"

#include "view3d/material/RenderContextInfo.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/scene/SceneLink.h"

void TGLCameraInvariantObject::SetCamInvarianceMode(TGLCameraInvarianceMode value)
{
    if (Mode == value)
        return;
    Mode = value;
    NotifyChange(this);
}

std::unique_ptr<TGLBaseSceneObject> TGLCameraInvariantObject::CreateNew() const
{
    return std::make_unique<TGLCameraInvariantObject>();
}

void TGLCameraInvariantObject::Assign(const TGLBaseSceneObject& source)
{
    if (const auto* invariant = dynamic_cast<const TGLCameraInvariantObject*>(&source))
        Mode = invariant->Mode;
    TGLImmaterialSceneObject::Assign(source);
}

void TGLCameraInvariantObject::RenderSelfAndChildren(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (Mode == TGLCameraInvarianceMode::cimNone || !Scene()) {
        TGLImmaterialSceneObject::RenderSelfAndChildren(rci, renderSelf, renderChildren);
        return;
    }
    GL().PushMatrix();
    if (Mode == TGLCameraInvarianceMode::cimPosition) {
        const Matrix4f view = Scene()->CurrentBaseViewMatrix();
        GL().LoadMatrixf(&view.M[0][0]);
        GL().Translatef(rci.CameraPosition.X, rci.CameraPosition.Y, rci.CameraPosition.Z);
    } else {
        // Z forward, Y up, as the eye sees it.
        GL().LoadIdentity();
        GL().Scalef(1.0f, -1.0f, -1.0f);
    }
    GL().MultMatrixf(&LocalMatrix().M[0][0]);
    try {
        TGLImmaterialSceneObject::RenderSelfAndChildren(rci, renderSelf, renderChildren);
    } catch (...) {
        GL().PopMatrix();
        throw;
    }
    GL().PopMatrix();
}
