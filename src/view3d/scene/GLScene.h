#pragma once

// The scene: the tree of objects (one root for the objects, one for the
// cameras), the eight light slots, and the buffers that show it. A change
// anywhere in the tree makes every buffer ask its window to repaint.

#include <array>
#include <memory>
#include <vector>

#include "view3d/material/RenderContextInfo.h"
#include "view3d/scene/SceneLink.h"
#include "view3d/scene/SceneRootObject.h"

class TGLCamera;
class TGLContext;
class TGLLightSource;
class TGLSceneBuffer;

class TGLScene : public TGLUpdateAbleComponent, public TGLSceneLink {
public:
    static constexpr int kLightSlots = 8;

    explicit TGLScene(TGLNotifyObject* owner = nullptr);
    ~TGLScene() override;

    TGLSceneRootObject& Objects() { return *ObjectRoot; }
    TGLSceneRootObject& Cameras() { return *CameraRoot; }
    // The light in a slot, or null.
    TGLLightSource* Light(int slot) const { return Lights.at(static_cast<std::size_t>(slot)); }

    // --- the link the objects see
    // Unless updating or without buffers, every buffer repaints.
    void NotifyChange(TGLNotifyObject* sender) override;
    void BeginUpdate() override;
    // Notifies when the count returns to 0.
    void EndUpdate() override;
    // A light takes the first free slot (none when all eight are taken).
    void AddLight(TGLBaseSceneObject& object) override;
    // Frees the light's slot; buffers let go of a camera that leaves.
    void RemoveLight(TGLBaseSceneObject& object) override;
    float CurrentCameraDepthOfView() const override;
    Matrix4f CurrentBaseViewMatrix() const override;

    // While updating or being destroyed.
    bool IsUpdating() const { return UpdateCount > 0 || Destroying; }

    // A buffer is listed once; the first one's context is the base context.
    void AddBuffer(TGLSceneBuffer& buffer);
    void RemoveBuffer(TGLSceneBuffer& buffer);
    const std::vector<TGLSceneBuffer*>& Buffers() const { return BufferList; }
    TGLContext* BaseContext() const;

    // Set while a frame is drawn.
    TGLSceneBuffer* CurrentBuffer = nullptr;
    TGLCamera* CurrentGLCamera = nullptr;

    TGLObjectsSorting ObjectsSorting() const { return Sorting; }
    // osInherited stores osRenderBlendedLast.
    void SetObjectsSorting(TGLObjectsSorting value);
    TGLVisibilityCulling VisibilityCulling() const { return Culling; }
    // vcInherited stores vcNone.
    void SetVisibilityCulling(TGLVisibilityCulling value);

    // Loads every light slot below the maximum into OpenGL, the modelview
    // holding the camera's view; the light numbers above are switched off.
    void SetupLights(int maxLights);
    // Draws the base object (the objects' root when null) with a frame's
    // render information.
    void RenderScene(TGLSceneBuffer& buffer, TDrawState drawState, TGLBaseSceneObject* baseObject);

    // The visible object whose ray cast hits nearest to the ray's start, or null.
    TGLBaseSceneObject* RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector,
                                         Vector4f* intersectPoint = nullptr, Vector4f* intersectNormal = nullptr);

private:
    void SetupLight(const TGLLightSource& light);

    std::unique_ptr<TGLSceneRootObject> ObjectRoot;
    std::unique_ptr<TGLSceneRootObject> CameraRoot;
    std::array<TGLLightSource*, kLightSlots> Lights{};
    std::vector<TGLSceneBuffer*> BufferList;
    TGLObjectsSorting Sorting = TGLObjectsSorting::osRenderBlendedLast;
    TGLVisibilityCulling Culling = TGLVisibilityCulling::vcNone;
    int UpdateCount = 0;
    bool Destroying = false;
};
