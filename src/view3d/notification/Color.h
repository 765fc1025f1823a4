#pragma once

// An RGBA colour that tells its owner when it changes. Components run from
// 0 to 1 by convention and are not clamped.

#include "view3d/maths/VectorTypes.h"
#include "view3d/notification/UpdateAble.h"

class TGLColor : public TGLUpdateAbleObject {
public:
    static constexpr Vector4f kOpaqueBlack{0.0f, 0.0f, 0.0f, 1.0f};

    explicit TGLColor(TGLNotifyObject* owner, const Vector4f& initial = kOpaqueBlack);
    TGLColor(TGLNotifyObject* owner, const Vector4f& initial, std::function<void(TGLNotifyObject&)> onChange);

    // An owning scene object rebuilds what it draws before the change goes up the chain.
    void NotifyChange(TGLNotifyObject* sender) override;

    float Red() const { return Value.X; }
    float Green() const { return Value.Y; }
    float Blue() const { return Value.Z; }
    float Alpha() const { return Value.W; }
    void SetRed(float value) { SetComponent(0, value); }
    void SetGreen(float value) { SetComponent(1, value); }
    void SetBlue(float value) { SetComponent(2, value); }
    void SetAlpha(float value) { SetComponent(3, value); }
    // Stores and notifies only when the value differs.
    void SetComponent(int index, float value);

    const Vector4f& Color() const { return Value; }
    // Stores and notifies.
    void SetColor(const Vector4f& value);
    // Stores without a notification.
    void Initialize(const Vector4f& value) { Value = value; }
    // Copies the colour and notifies.
    void Assign(const TGLColor& source);

    // The four singles in a row, for glColor4fv, glMaterialfv and the like.
    const float* AsAddress() const { return &Value.X; }

private:
    Vector4f Value;
};
