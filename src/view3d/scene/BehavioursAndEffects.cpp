#include "view3d/scene/BehavioursAndEffects.h"

#include "view3d/persistence/PersistenceErrors.h"
#include "view3d/scene/BaseSceneObject.h"

const TXCollectionItemClass& GLBehaviourClass()
{
    static const TXCollectionItemClass itemClass{"TGLBehaviour", "Behaviour", false, nullptr, nullptr};
    return itemClass;
}

const TXCollectionItemClass& GLObjectEffectClass()
{
    static const TXCollectionItemClass itemClass{"TGLObjectEffect", "Effect", false, &GLBehaviourClass(), nullptr};
    return itemClass;
}

TGLObjectItemList::TGLObjectItemList(TGLBaseSceneObject& owner, bool effects)
    : OwnerObject(owner), HoldsEffects(effects)
{
}

std::string TGLObjectItemList::NamePath() const
{
    return OwnerObject.Name + (HoldsEffects ? ".Effects" : ".Behaviours");
}

bool TGLObjectItemList::CanAdd(const TXCollectionItemClass& itemClass) const
{
    if (!itemClass.InheritsFrom(GLBehaviourClass()))
        return false;
    return itemClass.InheritsFrom(GLObjectEffectClass()) == HoldsEffects && Items.CanAdd(itemClass);
}

TXCollectionItem& TGLObjectItemList::Add(const TXCollectionItemClass& itemClass)
{
    if (!CanAdd(itemClass))
        throw EListError("Class " + itemClass.ClassName + " cannot be added to " + NamePath());
    return Items.Add(itemClass);
}

void TGLObjectItemList::DoProgress(const TProgressTimes& times)
{
    for (int i = 0; i < Items.Count(); ++i)
        if (auto* behaviour = dynamic_cast<TGLBehaviour*>(&Items.Item(i)))
            behaviour->DoProgress(times);
}

void TGLObjectEffects::RenderPreEffects(TRenderContextInfo& rci)
{
    for (int i = 0; i < Items.Count(); ++i)
        if (auto* effect = dynamic_cast<TGLObjectEffect*>(&Items.Item(i)))
            effect->PreRender(rci);
}

void TGLObjectEffects::RenderPostEffects(TRenderContextInfo& rci)
{
    for (int i = 0; i < Items.Count(); ++i)
        if (auto* effect = dynamic_cast<TGLObjectEffect*>(&Items.Item(i)))
            effect->Render(rci);
}
