#pragma once

// Draws another object of the scene (its master) in its own place, with
// its own children after it.

#include <cstdint>

#include "view3d/scene/BaseSceneObject.h"

enum TGLProxyObjectOption : std::uint8_t {
    // The master's effects run after the proxy's drawing.
    pooEffects = 1 << 0,
    // The master's drawing and children.
    pooObjects = 1 << 1,
    // The master's own transform on top of the proxy's.
    pooTransformation = 1 << 2,
};
using TGLProxyObjectOptions = std::uint8_t;

class TGLProxyObject : public TGLBaseSceneObject {
public:
    explicit TGLProxyObject(TGLNotifyObject* owner = nullptr);
    ~TGLProxyObject() override;

    // Borrowed: dropped when the master is freed.
    TGLBaseSceneObject* MasterObject() const { return Master; }
    void SetMasterObject(TGLBaseSceneObject* value);
    TGLProxyObjectOptions ProxyOptions() const { return Options; }
    void SetProxyOptions(TGLProxyObjectOptions value);

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;
    void RenderSelfAndChildren(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;
    Vector3f AxisAlignedDimensionsUnscaled() const override;

protected:
    void Notification(TGLBaseSceneObject& freed) override;

private:
    TGLBaseSceneObject* Master = nullptr;
    TGLProxyObjectOptions Options = pooEffects | pooObjects | pooTransformation;
    // A master that holds its proxy would draw it again and again.
    bool Rendering = false;
};
