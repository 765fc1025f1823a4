#pragma once

// What a scene object needs from the scene it belongs to. The scene
// (TGLScene) implements it; objects hold only this view of it, so that the
// object tree builds and is tested without the scene, the buffer and the
// camera above it.

#include "view3d/maths/VectorTypes.h"

class TGLBaseSceneObject;
class TGLNotifyObject;

class TGLSceneLink {
public:
    // Something in the scene changed: the scene's viewers repaint, unless
    // the scene itself is inside an update bracket.
    virtual void NotifyChange(TGLNotifyObject* sender) = 0;

    // Brackets a rearrangement of the tree so that it repaints once.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;

    // Called for every object that enters or leaves the scene; the scene
    // keeps those that are lights, and ignores the others.
    virtual void AddLight(TGLBaseSceneObject& object) = 0;
    virtual void RemoveLight(TGLBaseSceneObject& object) = 0;

    // Of the camera the current frame is drawn with: how long the axes of an
    // object are drawn, and the view that camera-invariant objects start from.
    virtual float CurrentCameraDepthOfView() const = 0;
    virtual Matrix4f CurrentBaseViewMatrix() const = 0;

protected:
    ~TGLSceneLink() = default;
};
