#include "view3d/scene/GLCamera.h"

#include <cmath>

#include "view3d/maths/MatrixGeometry.h"
#include "view3d/maths/VectorGeometry.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/scene/SceneLink.h"

TGLCamera::TGLCamera(TGLNotifyObject* owner)
    : TGLBaseSceneObject(owner)
{
    Direction().Initialize({0.0f, 0.0f, -1.0f, 0.0f});
}

std::unique_ptr<TGLBaseSceneObject> TGLCamera::CreateNew() const
{
    return std::make_unique<TGLCamera>();
}

void TGLCamera::SetDepthOfView(float value)
{
    if (value == Lens.DepthOfView)
        return;
    Lens.DepthOfView = value;
    MarkTransformChanged();
}

void TGLCamera::SetFocalLength(float value)
{
    if (value <= 0.0f)
        value = 1.0f;
    if (value == Lens.FocalLength)
        return;
    Lens.FocalLength = value;
    MarkTransformChanged();
}

void TGLCamera::SetSceneScale(float value)
{
    if (value == 0.0f)
        value = 1.0f;
    if (value == Lens.SceneScale)
        return;
    Lens.SceneScale = value;
    NotifyScene();
}

void TGLCamera::SetNearPlaneBias(float value)
{
    if (value <= 0.0f)
        value = 1.0f;
    if (value == Lens.NearPlaneBias)
        return;
    Lens.NearPlaneBias = value;
    MarkTransformChanged();
}

void TGLCamera::SetCameraStyle(TGLCameraStyle value)
{
    if (value == Lens.Style)
        return;
    Lens.Style = value;
    NotifyScene();
}

void TGLCamera::SetTargetObject(TGLBaseSceneObject* value)
{
    if (value == Target)
        return;
    if (Target != nullptr)
        Target->RemoveFreeNotification(*this);
    Target = value;
    if (Target != nullptr)
        Target->FreeNotification(*this);
    MarkTransformChanged();
}

void TGLCamera::Notification(TGLBaseSceneObject& freed)
{
    if (&freed == Target)
        Target = nullptr;
}

void TGLCamera::NotifyScene()
{
    if (Scene() != nullptr)
        Scene()->NotifyChange(this);
}

void TGLCamera::ApplyLookAt()
{
    if (OnDeferredLookAt) {
        OnDeferredLookAt(*this);
        return;
    }
    const Vector4f eye = AbsolutePosition();
    Vector4f centre;
    Vector4f up;
    if (Target != nullptr) {
        centre = Target->AbsolutePosition();
        up = Up().AsVector();
        LastDirectionValue = DirectionMake(Vector3Normalize(AffineOf(Vector4Subtract(centre, eye))));
    } else {
        const Matrix4f& parent = Parent() != nullptr ? Parent()->AbsoluteMatrix() : IdentityMatrix4f;
        const Vector4f direction = VectorTransform(Direction().AsVector(), parent);
        up = VectorTransform(Up().AsVector(), parent);
        LastDirectionValue = direction;
        centre = Vector4Add(eye, direction);
    }
    GL().GluLookAt(eye.X, eye.Y, eye.Z, centre.X, centre.Y, centre.Z, up.X, up.Y, up.Z);
    ClearChange(TGLObjectChange::ocStructure);
}

void TGLCamera::ApplyProjection(const TGLViewPort& viewPort, int width, int height, float dpi)
{
    if (width < 1 || height < 1)
        return;
    const float halfDiagonal = std::hypot(static_cast<float>(width), static_cast<float>(height)) / 2.0f;
    switch (Lens.Style) {
    case TGLCameraStyle::csOrtho2D:
        GL().GluOrtho2D(0.0, width, 0.0, height);
        NearPlaneValue = -1.0f;
        ViewPortRadiusValue = halfDiagonal;
        return;
    case TGLCameraStyle::csCustom:
        ViewPortRadiusValue = halfDiagonal;
        if (OnCustomPerspective)
            OnCustomPerspective(viewPort, width, height, dpi, ViewPortRadiusValue);
        return;
    case TGLCameraStyle::csPerspective:
    case TGLCameraStyle::csOrthogonal:
    case TGLCameraStyle::csInfinitePerspective:
        break;
    }
    const TGLProjectionBounds b = ProjectionBounds(Lens, viewPort, width, height, dpi);
    NearPlaneValue = b.Near;
    if (Lens.Style == TGLCameraStyle::csPerspective) {
        GL().Frustum(b.Left, b.Right, b.Bottom, b.Top, b.Near, b.Far);
    } else if (Lens.Style == TGLCameraStyle::csOrthogonal) {
        GL().Ortho(b.Left, b.Right, b.Bottom, b.Top, b.Near, b.Far);
    } else {
        const Matrix4f infinite = InfinitePerspectiveMatrix(b);
        GL().MultMatrixf(&infinite.M[0][0]);
    }
    ViewPortRadiusValue = ::ViewPortRadius(b);
}

void TGLCamera::OrbitTarget(float pitchDelta, float turnDelta)
{
    OrbitAround(Target, pitchDelta, turnDelta);
}

Vector4f TGLCamera::ScreenDeltaToWorld(int deltaX, int deltaY, float ratio) const
{
    const Vector4f view = Target != nullptr ? Vector4Subtract(Target->AbsolutePosition(), AbsolutePosition())
                                            : Direction().AsVector();
    return ScreenDeltaToWorldVector(view, deltaX, deltaY, ratio);
}

float TGLCamera::GetFieldOfView(float viewportDimension) const
{
    return FieldOfViewOf(Lens.FocalLength, viewportDimension);
}

void TGLCamera::SetFieldOfView(float fieldOfView, float viewportDimension)
{
    SetFocalLength(FocalLengthFor(fieldOfView, viewportDimension));
}

bool TGLCamera::RayCastIntersect(const Vector4f&, const Vector4f&, Vector4f*, Vector4f*) const
{
    return false;
}
