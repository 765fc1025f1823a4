#include "view3d/notification/UpdateAble.h"

TGLUpdateAbleObject::TGLUpdateAbleObject(TGLNotifyObject* owner) : Owner(owner) {}

void TGLUpdateAbleObject::NotifyChange(TGLNotifyObject* /*sender*/)
{
    if (!Owner)
        return;
    if (auto* object = dynamic_cast<TGLUpdateAbleObject*>(Owner))
        object->NotifyChange(this);
    else if (auto* component = dynamic_cast<TGLUpdateAbleComponent*>(Owner))
        component->NotifyChange(this);
    if (OnNotifyChange)
        OnNotifyChange(*this);
}

void TGLUpdateAbleComponent::NotifyChange(TGLNotifyObject* /*sender*/)
{
    if (auto* owner = dynamic_cast<TGLUpdateAbleComponent*>(GetOwner()))
        owner->NotifyChange(this);
}
