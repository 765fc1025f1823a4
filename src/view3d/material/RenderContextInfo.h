#pragma once

// What one frame's drawing hands to every object it draws: the scene buffer
// fills it once per frame, the render pass passes it down the tree, and the
// materials keep their nesting counters in it.

#include "view3d/maths/VectorTypes.h"
#include "view3d/notification/SortingAndCulling.h"

class TGLScene;
class TGLSceneBuffer;
class TGLStateCache;

enum class TDrawState {
    dsRendering,
    dsPicking,
};

struct TRenderContextInfo {
    TGLScene* Scene = nullptr;
    TGLSceneBuffer* Buffer = nullptr;
    // Every OpenGL state of the frame goes through it.
    TGLStateCache* GLStates = nullptr;

    TGLObjectsSorting ObjectsSorting = TGLObjectsSorting::osRenderBlendedLast;
    TGLVisibilityCulling VisibilityCulling = TGLVisibilityCulling::vcNone;
    TDrawState DrawState = TDrawState::dsRendering;

    Vector4f AmbientColor;
    Vector4f CameraPosition;
    // Normalised, W = 0.
    Vector4f CameraDirection;
    // At right angles to the direction, normalised.
    Vector4f CameraUp;
    float ViewPortRadius = 0.0f;
    // The near plane plus the camera's depth of view.
    float FarDistance = 0.0f;
    Frustum6 ViewFrustum;
    int RenderDPI = 96;

    // How many applied materials switched lighting or fog off: only the
    // outermost one switches it on again.
    int LightingDisabledCounter = 0;
    int FogDisabledCounter = 0;

    // The buffer's own settings, which a material's defaults follow.
    bool BufferFaceCull = false;
    bool BufferDepthTest = false;
    bool IgnoreBlendingRequests = false;
    bool IgnoreMaterials = false;
    // Set while a proxy draws another object, whose pick name is then pushed, not loaded.
    bool ProxySubObject = false;
    // Set while an object compiles its children into its own display list:
    // they must then draw themselves directly, not call lists of their own.
    bool Amalgamating = false;
};
