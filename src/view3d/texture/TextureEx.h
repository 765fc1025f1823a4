#pragma once

// Several textures on several texture units, each with its own offset and
// scale of the texture coordinates.

#include <memory>
#include <string>
#include <vector>

#include "view3d/notification/Coordinates.h"
#include "view3d/texture/Texture.h"

class TGLTextureExItem : public TGLUpdateAbleObject {
public:
    explicit TGLTextureExItem(TGLNotifyObject* owner);

    // "Tex [index]"
    std::string DisplayName() const;

    TGLTexture& Texture() { return TextureObject; }
    int TextureIndex() const { return Index; }
    // Never below 0.
    void SetTextureIndex(int index);
    TGLCoordinates& TextureOffset() { return Offset; }
    TGLCoordinates& TextureScale() { return Scale; }

    void Assign(const TGLTextureExItem& source);
    void Apply(const TGLTextureApplyInfo& info);
    void UnApply(const TGLTextureApplyInfo& info);

private:
    // Offset 0 and scale 1 leave the coordinates alone.
    bool MovesCoordinates() const;

    TGLTexture TextureObject;
    int Index = 0;
    TGLCoordinates Offset;
    TGLCoordinates Scale;
};

class TGLTextureEx : public TGLUpdateAbleObject {
public:
    explicit TGLTextureEx(TGLNotifyObject* owner);

    int Count() const { return int(Items.size()); }
    bool IsEmpty() const { return Items.empty(); }
    TGLTextureExItem& Item(int index) { return *Items[std::size_t(index)]; }
    TGLTextureExItem& Add();
    void Delete(int index);
    void Clear();
    // As many items as the source, each a copy of the source's.
    void Assign(const TGLTextureEx& source);

    // Whether an item on unit 0 stands in for the material's own texture.
    bool IsTextureEnabled(int unit);

    // Only with multitexturing, and only items on units the driver has.
    void Apply(const TGLTextureApplyInfo& info);
    void UnApply(const TGLTextureApplyInfo& info);
    void PrepareBuildList();

private:
    bool UnitAvailable(int unit) const;
    // The enabled items on units the driver has, where it multitextures at all.
    template <class TStep>
    void ForEachUsableItem(TStep step);

    std::vector<std::unique_ptr<TGLTextureExItem>> Items;
};
