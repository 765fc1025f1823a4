#include "view3d/scene/GLScene.h"

#include <algorithm>

#include "view3d/maths/MatrixGeometry.h"
#include "view3d/maths/PlaneGeometry.h"
#include "view3d/maths/VectorGeometry.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/scene/GLCamera.h"
#include "view3d/scene/GLLightSource.h"
#include "view3d/scene/GLSceneBuffer.h"

namespace {

Matrix4f CurrentMatrix(GLenum which)
{
    Matrix4f m;
    GL().GetFloatv(which, &m.M[0][0]);
    return m;
}

void RayCastSubtree(TGLBaseSceneObject& parent, const Vector4f& start, const Vector4f& vector, float& bestSquared,
                    TGLBaseSceneObject*& best, Vector4f* point, Vector4f* normal)
{
    for (int i = 0; i < parent.Count(); ++i) {
        TGLBaseSceneObject& child = parent.Children(i);
        if (!child.Visible())
            continue;
        Vector4f hit;
        Vector4f hitNormal;
        if (child.RayCastIntersect(start, vector, &hit, &hitNormal)) {
            const float squared = Vector3SquaredDistance(AffineOf(start), AffineOf(hit));
            if (squared < bestSquared) {
                bestSquared = squared;
                best = &child;
                if (point != nullptr)
                    *point = hit;
                if (normal != nullptr)
                    *normal = hitNormal;
            }
        }
        RayCastSubtree(child, start, vector, bestSquared, best, point, normal);
    }
}

} // namespace

TGLScene::TGLScene(TGLNotifyObject* owner)
    : TGLUpdateAbleComponent(owner),
      ObjectRoot(std::make_unique<TGLSceneRootObject>(*this, this)),
      CameraRoot(std::make_unique<TGLSceneRootObject>(*this, this))
{
    ObjectRoot->Name = "ObjectRoot";
    CameraRoot->Name = "CameraRoot";
}

TGLScene::~TGLScene()
{
    Destroying = true;
    // Buffers that outlive the scene must not keep its camera.
    for (TGLSceneBuffer* buffer : BufferList)
        buffer->CameraGone();
    BufferList.clear();
    ObjectRoot->DeleteChildren();
    CameraRoot->DeleteChildren();
}

void TGLScene::NotifyChange(TGLNotifyObject*)
{
    if (IsUpdating())
        return;
    for (TGLSceneBuffer* buffer : BufferList)
        buffer->NotifyChange(this);
}

void TGLScene::BeginUpdate()
{
    ++UpdateCount;
}

void TGLScene::EndUpdate()
{
    if (UpdateCount == 0)
        return;
    if (--UpdateCount == 0)
        NotifyChange(this);
}

void TGLScene::AddLight(TGLBaseSceneObject& object)
{
    auto* light = dynamic_cast<TGLLightSource*>(&object);
    if (light == nullptr || std::find(Lights.begin(), Lights.end(), light) != Lights.end())
        return;
    const auto free = std::find(Lights.begin(), Lights.end(), nullptr);
    if (free == Lights.end()) {
        light->SetLightID(0);
        return;
    }
    *free = light;
    light->SetLightID(GL_LIGHT0 + static_cast<GLenum>(free - Lights.begin()));
}

void TGLScene::RemoveLight(TGLBaseSceneObject& object)
{
    if (auto* camera = dynamic_cast<TGLCamera*>(&object)) {
        if (CurrentGLCamera == camera)
            CurrentGLCamera = nullptr;
        std::erase_if(BufferList, [camera](TGLSceneBuffer* buffer) {
            if (buffer->Camera() != camera)
                return false;
            buffer->CameraGone();
            return true;
        });
        return;
    }
    if (auto* light = dynamic_cast<TGLLightSource*>(&object)) {
        const auto slot = std::find(Lights.begin(), Lights.end(), light);
        if (slot != Lights.end()) {
            *slot = nullptr;
            light->SetLightID(0);
        }
    }
}

float TGLScene::CurrentCameraDepthOfView() const
{
    return CurrentGLCamera != nullptr ? CurrentGLCamera->DepthOfView() : 100.0f;
}

Matrix4f TGLScene::CurrentBaseViewMatrix() const
{
    return CurrentBuffer != nullptr ? CurrentBuffer->BaseViewMatrix() : IdentityMatrix4f;
}

void TGLScene::AddBuffer(TGLSceneBuffer& buffer)
{
    if (std::find(BufferList.begin(), BufferList.end(), &buffer) == BufferList.end())
        BufferList.push_back(&buffer);
}

void TGLScene::RemoveBuffer(TGLSceneBuffer& buffer)
{
    std::erase(BufferList, &buffer);
    if (CurrentBuffer == &buffer)
        CurrentBuffer = nullptr;
}

TGLContext* TGLScene::BaseContext() const
{
    return BufferList.empty() ? nullptr : BufferList.front()->RenderingContext();
}

void TGLScene::SetObjectsSorting(TGLObjectsSorting value)
{
    if (value == TGLObjectsSorting::osInherited)
        value = TGLObjectsSorting::osRenderBlendedLast;
    if (value == Sorting)
        return;
    Sorting = value;
    NotifyChange(this);
}

void TGLScene::SetVisibilityCulling(TGLVisibilityCulling value)
{
    if (value == TGLVisibilityCulling::vcInherited)
        value = TGLVisibilityCulling::vcNone;
    if (value == Culling)
        return;
    Culling = value;
    NotifyChange(this);
}

void TGLScene::SetupLights(int maxLights)
{
    const int count = std::min(kLightSlots, maxLights);
    GL().PushMatrix();
    for (int slot = 0; slot < count; ++slot) {
        const TGLLightSource* light = Lights[static_cast<std::size_t>(slot)];
        if (light == nullptr)
            GL().Disable(GL_LIGHT0 + static_cast<GLenum>(slot));
        else if (!light->Shining())
            GL().Disable(light->LightID());
        else
            SetupLight(*light);
    }
    GL().PopMatrix();
    for (int slot = count; slot < maxLights; ++slot)
        GL().Disable(GL_LIGHT0 + static_cast<GLenum>(slot));
}

void TGLScene::SetupLight(const TGLLightSource& light)
{
    const GLenum id = light.LightID();
    GL().Enable(id);
    // Back to the camera's view before the light's own place is multiplied in.
    GL().PopMatrix();
    GL().PushMatrix();
    if (light.LightStyle() == TLightStyle::lsParallel) {
        GL().MultMatrixf(&light.AbsoluteMatrix().M[0][0]);
        GL().Lightfv(id, GL_POSITION, light.SpotDirection().AsAddress());
    } else {
        const Matrix4f& parent = light.Parent() != nullptr ? light.Parent()->AbsoluteMatrix() : IdentityMatrix4f;
        GL().MultMatrixf(&parent.M[0][0]);
        GL().Lightfv(id, GL_POSITION, light.Position().AsAddress());
    }
    GL().Lightfv(id, GL_AMBIENT, light.Ambient().AsAddress());
    GL().Lightfv(id, GL_DIFFUSE, light.Diffuse().AsAddress());
    GL().Lightfv(id, GL_SPECULAR, light.Specular().AsAddress());
    if (light.LightStyle() == TLightStyle::lsSpot) {
        if (light.SpotCutOff() != 180.0f) {
            GL().Lightfv(id, GL_SPOT_DIRECTION, light.SpotDirection().AsAddress());
            GL().Lightf(id, GL_SPOT_EXPONENT, light.SpotExponent());
        }
        GL().Lightf(id, GL_SPOT_CUTOFF, light.SpotCutOff());
    } else {
        GL().Lightf(id, GL_SPOT_CUTOFF, 180.0f);
    }
    GL().Lightf(id, GL_CONSTANT_ATTENUATION, light.ConstAttenuation());
    GL().Lightf(id, GL_LINEAR_ATTENUATION, light.LinearAttenuation());
    GL().Lightf(id, GL_QUADRATIC_ATTENUATION, light.QuadraticAttenuation());
}

void TGLScene::RenderScene(TGLSceneBuffer& buffer, TDrawState drawState, TGLBaseSceneObject* baseObject)
{
    CurrentBuffer = &buffer;
    TRenderContextInfo rci;
    rci.Scene = this;
    rci.Buffer = &buffer;
    rci.GLStates = &buffer.GLStates();
    rci.ObjectsSorting = Sorting;
    rci.VisibilityCulling = Culling;
    rci.BufferFaceCull = buffer.FaceCulling();
    rci.BufferDepthTest = buffer.DepthTest();
    rci.DrawState = drawState;
    rci.AmbientColor = buffer.AmbientColor().Color();
    if (const TGLCamera* camera = buffer.Camera()) {
        rci.CameraPosition = camera->AbsolutePosition();
        const Vector3f direction = AffineOf(camera->LastDirection());
        rci.CameraDirection = DirectionMake(direction);
        const Vector3f right = Vector3Cross(direction, AffineOf(camera->AbsoluteUp()));
        rci.CameraUp = DirectionMake(Vector3Normalize(Vector3Cross(right, direction)));
        rci.ViewPortRadius = camera->ViewPortRadius();
        rci.FarDistance = camera->NearPlane() + camera->DepthOfView();
    }
    rci.ViewFrustum = ExtractFrustumFromModelViewProjection(
        MatrixMultiply(CurrentMatrix(GL_MODELVIEW_MATRIX), CurrentMatrix(GL_PROJECTION_MATRIX)));
    rci.RenderDPI = buffer.RenderDPI();
    rci.GLStates->ResetAll();

    const bool colourOff =
        buffer.ContextOptions().Has(TContextOption::roNoColorBuffer) || drawState == TDrawState::dsPicking;
    if (colourOff)
        GL().ColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    if (buffer.InitiateRendering)
        buffer.InitiateRendering(buffer);
    (baseObject != nullptr ? *baseObject : *ObjectRoot).RenderObject(rci);
    if (colourOff)
        GL().ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    if (buffer.WrapUpRendering)
        buffer.WrapUpRendering(buffer);

    // What the objects may have left on for the next drawing: blending,
    // alpha test and textures off, depth test on.
    rci.GLStates->Disable(TGLState::stBlend);
    rci.GLStates->Disable(TGLState::stAlphaTest);
    rci.GLStates->Disable(TGLState::stTexture2D);
    rci.GLStates->Enable(TGLState::stDepthTest);
    GL().AlphaFunc(GL_GREATER, 0.0f);
}

TGLBaseSceneObject* TGLScene::RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector,
                                               Vector4f* intersectPoint, Vector4f* intersectNormal)
{
    float bestSquared = 1e20f;
    TGLBaseSceneObject* best = nullptr;
    RayCastSubtree(*ObjectRoot, rayStart, rayVector, bestSquared, best, intersectPoint, intersectNormal);
    return best;
}
