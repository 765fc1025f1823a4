#include "view3d/notification/Color.h"

TGLColor::TGLColor(TGLNotifyObject* owner, const Vector4f& initial) : TGLUpdateAbleObject(owner), Value(initial) {}

TGLColor::TGLColor(TGLNotifyObject* owner, const Vector4f& initial, std::function<void(TGLNotifyObject&)> onChange)
    : TGLColor(owner, initial)
{
    OnNotifyChange = std::move(onChange);
}

void TGLColor::NotifyChange(TGLNotifyObject* sender)
{
    if (!GetOwner())
        return;
    if (auto* component = dynamic_cast<TGLUpdateAbleComponent*>(GetOwner()))
        component->StructureChanged();
    TGLUpdateAbleObject::NotifyChange(sender);
}

void TGLColor::SetComponent(int index, float value)
{
    float* component = nullptr;
    switch (index) {
    case 0: component = &Value.X; break;
    case 1: component = &Value.Y; break;
    case 2: component = &Value.Z; break;
    case 3: component = &Value.W; break;
    default: return;
    }
    if (*component == value)
        return;
    *component = value;
    NotifyChange(this);
}

void TGLColor::SetColor(const Vector4f& value)
{
    Value = value;
    NotifyChange(this);
}

void TGLColor::Assign(const TGLColor& source)
{
    Value = source.Value;
    NotifyChange(this);
}
