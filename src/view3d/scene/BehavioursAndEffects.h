#pragma once

// Per-object behaviours (moved on by the progress calls) and effects (which
// also draw before and after their object). The program defines none; the
// lists are here so that a scene object can carry them.

#include <string>

#include "view3d/notification/UpdateAble.h"
#include "view3d/utility/XCollection.h"

class TGLBaseSceneObject;
struct TRenderContextInfo;

class TGLBehaviour : public TXCollectionItem {
public:
    using TXCollectionItem::TXCollectionItem;
    virtual void DoProgress(const TProgressTimes& /*times*/) {}
};

class TGLObjectEffect : public TGLBehaviour {
public:
    using TGLBehaviour::TGLBehaviour;
    virtual void PreRender(TRenderContextInfo& /*rci*/) {}
    virtual void Render(TRenderContextInfo& /*rci*/) {}
};

// The roots of the two families; their classes register under them.
const TXCollectionItemClass& GLBehaviourClass();
const TXCollectionItemClass& GLObjectEffectClass();

// Behaviours or effects of one scene object.
class TGLObjectItemList {
public:
    TGLObjectItemList(TGLBaseSceneObject& owner, bool effects);
    TGLObjectItemList(const TGLObjectItemList&) = delete;
    TGLObjectItemList& operator=(const TGLObjectItemList&) = delete;

    TGLBaseSceneObject& Owner() const { return OwnerObject; }
    // The owner's name followed by ".Behaviours" or ".Effects".
    std::string NamePath() const;
    int Count() const { return Items.Count(); }
    TXCollectionItem& Item(int index) const { return Items.Item(index); }

    // A behaviour list takes no effect, an effect list only effects.
    bool CanAdd(const TXCollectionItemClass& itemClass) const;
    // EListError when the class may not join.
    TXCollectionItem& Add(const TXCollectionItemClass& itemClass);
    void Delete(int index) { Items.Delete(index); }
    void Assign(const TGLObjectItemList& source) { Items.Assign(source.Items); }
    void DoProgress(const TProgressTimes& times);

    void WriteToFiler(TVirtualWriter& writer) const { Items.WriteToFiler(writer); }
    void ReadFromFiler(TVirtualReader& reader) { Items.ReadFromFiler(reader); }

protected:
    TXCollection Items;

private:
    TGLBaseSceneObject& OwnerObject;
    bool HoldsEffects;
};

class TGLBehaviours : public TGLObjectItemList {
public:
    explicit TGLBehaviours(TGLBaseSceneObject& owner) : TGLObjectItemList(owner, false) {}
};

class TGLObjectEffects : public TGLObjectItemList {
public:
    explicit TGLObjectEffects(TGLBaseSceneObject& owner) : TGLObjectItemList(owner, true) {}
    void RenderPreEffects(TRenderContextInfo& rci);
    void RenderPostEffects(TRenderContextInfo& rci);
};
