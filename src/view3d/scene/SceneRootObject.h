#pragma once

// The root of a scene's tree (one for objects, one for cameras). It knows
// its scene from its creation and passes it to everything added below it.

#include "view3d/scene/BaseSceneObject.h"

class TGLSceneRootObject : public TGLBaseSceneObject {
public:
    explicit TGLSceneRootObject(TGLSceneLink& scene, TGLNotifyObject* owner = nullptr)
        : TGLBaseSceneObject(owner)
    {
        // Nothing to keep in a list: a root draws only its children.
        SetObjectStyle(TGLObjectStyle::osDirectDraw, true);
        SetScene(&scene);
    }
};
