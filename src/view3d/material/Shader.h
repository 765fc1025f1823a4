#pragma once

// The base of shaders a library material runs with its material. Only the
// frame of it exists: a concrete shader sets OpenGL up in DoApply and
// restores it in DoUnapply.

#include <vector>

#include "view3d/notification/UpdateAble.h"
#include "view3d/opengl/GLContextHandle.h"

class TGLLibMaterial;
struct TRenderContextInfo;

// Before the material (high level), after it (low level) or instead of it.
enum class TGLShaderStyle { ssHighLevel, ssLowLevel, ssReplace };

class TGLShader : public TGLUpdateAbleComponent {
public:
    explicit TGLShader(TGLNotifyObject* owner = nullptr);
    // Its library materials lose it.
    ~TGLShader() override;

    bool Enabled() const { return IsEnabled; }
    void SetEnabled(bool value);
    TGLShaderStyle ShaderStyle() const { return Style; }
    void SetShaderStyle(TGLShaderStyle value);

    // Nothing while disabled.
    void Apply(TRenderContextInfo& rci, TGLNotifyObject& sender);
    // Whether the object must be drawn once more; false while disabled.
    bool Unapply(TRenderContextInfo& rci);

    // Its library materials tell their users.
    void NotifyChange(TGLNotifyObject* sender) override;

protected:
    virtual void DoApply(TRenderContextInfo& rci, TGLNotifyObject& sender) = 0;
    virtual bool DoUnapply(TRenderContextInfo& rci) = 0;

    // For the OpenGL objects a shader makes: freed with the context that made them.
    TGLVirtualHandle VirtualHandle;

private:
    friend class TGLLibMaterial;

    void RegisterUser(TGLLibMaterial& user);
    void UnregisterUser(TGLLibMaterial& user);

    bool IsEnabled = true;
    TGLShaderStyle Style = TGLShaderStyle::ssLowLevel;
    std::vector<TGLLibMaterial*> Users;
};
