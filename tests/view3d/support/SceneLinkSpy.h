#pragma once

// A scene that only counts what its objects tell it, for tests of the
// object tree without the scene, its buffers and its camera.

#include <vector>

#include "view3d/scene/SceneLink.h"

class TSceneLinkSpy : public TGLSceneLink {
public:
    void NotifyChange(TGLNotifyObject* /*sender*/) override
    {
        if (Updating == 0)
            ++Notifications;
    }
    void BeginUpdate() override { ++Updating; }
    void EndUpdate() override
    {
        if (--Updating == 0)
            ++Notifications;
    }
    void AddLight(TGLBaseSceneObject& object) override { Entered.push_back(&object); }
    void RemoveLight(TGLBaseSceneObject& object) override { Left.push_back(&object); }
    float CurrentCameraDepthOfView() const override { return DepthOfView; }
    Matrix4f CurrentBaseViewMatrix() const override { return BaseView; }

    int Notifications = 0;
    int Updating = 0;
    std::vector<TGLBaseSceneObject*> Entered;
    std::vector<TGLBaseSceneObject*> Left;
    float DepthOfView = 100.0f;
    Matrix4f BaseView;
};
