#pragma once

// Scene objects whose drawing is the caller's own OpenGL code.

#include <functional>
#include <vector>

#include "view3d/scene/CustomSceneObject.h"

// Calls its OnRender event where it stands in the tree.
class TGLDirectOpenGL : public TGLImmaterialSceneObject {
public:
    using TRenderEvent = std::function<void(TGLDirectOpenGL& sender, TRenderContextInfo& rci)>;

    explicit TGLDirectOpenGL(TGLNotifyObject* owner = nullptr);

    TRenderEvent OnRender;
    // Compiled into a display list (false: called on every frame).
    bool UseBuildList() const { return !HasObjectStyle(TGLObjectStyle::osDirectDraw); }
    void SetUseBuildList(bool value);
    bool Blend() const { return IsBlend; }
    void SetBlend(bool value);
    bool Blended() const override { return IsBlend; }

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;
    void BuildList(TRenderContextInfo& rci) override;

private:
    bool IsBlend = false;
};

// Calls every registered callback where it stands in the tree.
class TGLRenderPoint : public TGLBaseSceneObject {
public:
    using TDirectRenderEvent = std::function<void(TGLRenderPoint& sender, TRenderContextInfo& rci)>;
    // Told when the render point goes, so that the registrant forgets it.
    using TFreedEvent = std::function<void(TGLRenderPoint& sender)>;

    explicit TGLRenderPoint(TGLNotifyObject* owner = nullptr);
    ~TGLRenderPoint() override;

    // Returns the registration's number, for unregistering it.
    int RegisterCallBack(TDirectRenderEvent render, TFreedEvent freed);
    void UnRegisterCallBack(int registration);
    void Clear();

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void BuildList(TRenderContextInfo& rci) override;

private:
    struct TRegistration {
        int Number;
        TDirectRenderEvent Render;
        TFreedEvent Freed;
    };
    std::vector<TRegistration> Registrations;
    int LastNumber = 0;
};
