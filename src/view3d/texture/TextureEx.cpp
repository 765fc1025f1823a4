#include "view3d/texture/TextureEx.h"

#include <algorithm>

#include <GL/glext.h>

#include "view3d/maths/MatrixGeometry.h"
#include "view3d/opengl/GLCapabilities.h"
#include "view3d/opengl/GLFunctions.h"

namespace {

// Runs the step on the unit's texture matrix, then returns to the
// model-view matrix and to unit 0.
template <class TStep>
void OnUnitTextureMatrix(int unit, TStep step)
{
    GL().ActiveTexture(GLenum(GL_TEXTURE0_ARB + unit));
    GL().MatrixMode(GL_TEXTURE);
    step();
    GL().MatrixMode(GL_MODELVIEW);
}

} // namespace

TGLTextureExItem::TGLTextureExItem(TGLNotifyObject* owner)
    : TGLUpdateAbleObject(owner), TextureObject(this), Offset(this, TGLCoordinatesStyle::csVector),
      Scale(this, TGLCoordinatesStyle::csVector, Vector4f{1, 1, 1, 0})
{
}

std::string TGLTextureExItem::DisplayName() const
{
    return "Tex [" + std::to_string(Index) + "]";
}

void TGLTextureExItem::SetTextureIndex(int index)
{
    index = std::max(index, 0);
    if (index == Index)
        return;
    Index = index;
    NotifyChange(this);
}

void TGLTextureExItem::Assign(const TGLTextureExItem& source)
{
    TextureObject.Assign(source.TextureObject);
    Index = source.Index;
    Offset.Assign(source.Offset);
    Scale.Assign(source.Scale);
    NotifyChange(this);
}

bool TGLTextureExItem::MovesCoordinates() const
{
    const Vector4f& o = Offset.AsVector();
    const Vector4f& s = Scale.AsVector();
    return o.X != 0 || o.Y != 0 || o.Z != 0 || s.X != 1 || s.Y != 1 || s.Z != 1;
}

void TGLTextureExItem::Apply(const TGLTextureApplyInfo& info)
{
    OnUnitTextureMatrix(Index, [&] {
        GL().PushMatrix();
        if (MovesCoordinates()) {
            const Matrix4f matrix = CreateScaleAndTranslationMatrix(Scale.ToAffineVector(), Offset.ToAffineVector());
            GL().LoadMatrixf(&matrix.M[0][0]);
        } else {
            GL().LoadIdentity();
        }
    });
    TextureObject.Apply(info, Index);
    GL().ActiveTexture(GL_TEXTURE0_ARB);
}

void TGLTextureExItem::UnApply(const TGLTextureApplyInfo& info)
{
    OnUnitTextureMatrix(Index, [] { GL().PopMatrix(); });
    TextureObject.UnApply(info, Index);
    GL().ActiveTexture(GL_TEXTURE0_ARB);
}

TGLTextureEx::TGLTextureEx(TGLNotifyObject* owner) : TGLUpdateAbleObject(owner) {}

TGLTextureExItem& TGLTextureEx::Add()
{
    Items.push_back(std::make_unique<TGLTextureExItem>(this));
    NotifyChange(this);
    return *Items.back();
}

void TGLTextureEx::Delete(int index)
{
    Items.erase(Items.begin() + index);
    NotifyChange(this);
}

void TGLTextureEx::Clear()
{
    Items.clear();
    NotifyChange(this);
}

void TGLTextureEx::Assign(const TGLTextureEx& source)
{
    if (&source == this)
        return;
    Items.clear();
    for (const auto& item : source.Items) {
        Items.push_back(std::make_unique<TGLTextureExItem>(this));
        Items.back()->Assign(*item);
    }
    NotifyChange(this);
}

bool TGLTextureEx::IsTextureEnabled(int unit)
{
    return std::any_of(Items.begin(), Items.end(), [unit](const auto& item) {
        return item->TextureIndex() == unit && !item->Texture().Disabled();
    });
}

bool TGLTextureEx::UnitAvailable(int unit) const
{
    GLint units = 0;
    GL().GetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
    return unit < units;
}

template <class TStep>
void TGLTextureEx::ForEachUsableItem(TStep step)
{
    if (!GLCapabilities().Has(kARB_multitexture))
        return;
    for (const auto& item : Items)
        if (!item->Texture().Disabled() && UnitAvailable(item->TextureIndex()))
            step(*item);
}

void TGLTextureEx::Apply(const TGLTextureApplyInfo& info)
{
    ForEachUsableItem([&](TGLTextureExItem& item) { item.Apply(info); });
}

void TGLTextureEx::UnApply(const TGLTextureApplyInfo& info)
{
    ForEachUsableItem([&](TGLTextureExItem& item) { item.UnApply(info); });
}

void TGLTextureEx::PrepareBuildList()
{
    for (const auto& item : Items)
        if (!item->Texture().Disabled())
            item->Texture().PrepareBuildList();
}
