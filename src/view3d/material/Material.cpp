#include "view3d/material/Material.h"

#include "view3d/material/LibMaterial.h"
#include "view3d/material/MaterialLibrary.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/opengl/GLStateCache.h"

namespace {

// A material that switches a state off counts itself; one applied while an
// outer material keeps the state off counts too, so that only the outermost
// unapply switches it on again. A state the buffer itself keeps off is left alone.
void SwitchOff(TGLStateCache& states, TGLState state, int& counter)
{
    if (states.Enabled(state)) {
        states.Disable(state);
        ++counter;
    } else if (counter > 0) {
        ++counter;
    }
}

void SwitchBackOn(TGLStateCache& states, TGLState state, int& counter)
{
    if (counter <= 0)
        return;
    if (--counter == 0)
        states.Enable(state);
}

} // namespace

TGLMaterial::TGLMaterial(TGLNotifyObject* owner)
    : TGLUpdateAbleObject(owner), Front(std::make_unique<TGLFaceProperties>(this))
{
}

TGLMaterial::~TGLMaterial()
{
    if (Linked)
        Linked->UnregisterUser(*this);
    if (Library)
        Library->UnregisterReferrer(*this);
}

TGLFaceProperties& TGLMaterial::BackProperties()
{
    if (!Back)
        Back = std::make_unique<TGLFaceProperties>(this);
    return *Back;
}

TGLTexture& TGLMaterial::Texture()
{
    if (!TextureObject)
        TextureObject = std::make_unique<TGLTexture>(this);
    return *TextureObject;
}

void TGLMaterial::FreeTexture()
{
    if (!TextureObject)
        return;
    TextureObject.reset();
    NotifyTexMapChange(this);
}

TGLTextureEx& TGLMaterial::TextureEx()
{
    if (!TextureExObject)
        TextureExObject = std::make_unique<TGLTextureEx>(this);
    return *TextureExObject;
}

bool TGLMaterial::TextureExTakesTexturePlace() const
{
    return TextureExObject && TextureExObject->IsTextureEnabled(0);
}

void TGLMaterial::SetBlendingMode(TBlendingMode value)
{
    if (value == Blending)
        return;
    Blending = value;
    NotifyChange(this);
}

void TGLMaterial::SetMaterialOptions(TMaterialOptions value)
{
    if (value == Options)
        return;
    Options = value;
    NotifyChange(this);
}

void TGLMaterial::SetFaceCulling(TFaceCulling value)
{
    if (value == Culling)
        return;
    Culling = value;
    NotifyChange(this);
}

void TGLMaterial::SetMaterialLibrary(TGLMaterialLibrary* value)
{
    if (value == Library)
        return;
    if (Library)
        Library->UnregisterReferrer(*this);
    Library = value;
    if (Library)
        Library->RegisterReferrer(*this);
    RelinkLibMaterial();
}

void TGLMaterial::SetLibMaterialName(const std::string& value)
{
    LinkName = value;
    RelinkLibMaterial();
}

void TGLMaterial::RelinkLibMaterial()
{
    TGLLibMaterial* found = Library ? Library->Materials().GetLibMaterialByName(LinkName) : nullptr;
    // A library material that leads back to this one would apply itself for ever.
    for (const TGLMaterial* material = found ? &found->Material() : nullptr; material;
         material = material->Linked ? &material->Linked->Material() : nullptr) {
        if (material == this) {
            found = nullptr;
            break;
        }
    }
    if (found == Linked)
        return;
    if (Linked)
        Linked->UnregisterUser(*this);
    Linked = found;
    if (Linked)
        Linked->RegisterUser(*this);
    NotifyTexMapChange(this);
}

void TGLMaterial::ForgetLibrary()
{
    Library = nullptr;
    if (Linked) {
        Linked->UnregisterUser(*this);
        Linked = nullptr;
    }
}

void TGLMaterial::Assign(const TGLMaterial& source)
{
    if (source.Back)
        BackProperties().CopyValues(*source.Back);
    else
        Back.reset();
    Front->CopyValues(*source.Front);
    Blending = source.Blending;
    Options = source.Options;
    Culling = source.Culling;
    if (source.TextureObject)
        Texture().Assign(*source.TextureObject);
    else
        TextureObject.reset();
    if (source.TextureExObject)
        TextureEx().Assign(*source.TextureExObject);
    else
        TextureExObject.reset();
    if (Library != source.Library) {
        if (Library)
            Library->UnregisterReferrer(*this);
        Library = source.Library;
        if (Library)
            Library->RegisterReferrer(*this);
    }
    LinkName = source.LinkName;
    RelinkLibMaterial();
    NotifyChange(this);
}

void TGLMaterial::Apply(TRenderContextInfo& rci)
{
    if (Linked) {
        Linked->Apply(rci);
        return;
    }
    TGLStateCache& states = *rci.GLStates;
    if (Options & moNoLighting)
        SwitchOff(states, TGLState::stLighting, rci.LightingDisabledCounter);
    if (states.Enabled(TGLState::stLighting))
        Front->Apply(rci, GL_FRONT);
    else
        Front->ApplyNoLighting(rci, GL_FRONT);
    ApplyFaceCulling(rci);
    if (!rci.IgnoreBlendingRequests)
        ApplyBlending(rci);
    if (Options & moIgnoreFog)
        SwitchOff(states, TGLState::stFog, rci.FogDisabledCounter);
    const TGLTextureApplyInfo info{&states, rci.CameraDirection, rci.CameraUp};
    if (TextureObject && !TextureExTakesTexturePlace())
        TextureObject->Apply(info);
    else if (TextureExObject && !TextureExObject->IsEmpty())
        TextureExObject->Apply(info);
}

void TGLMaterial::ApplyFaceCulling(TRenderContextInfo& rci)
{
    TGLStateCache& states = *rci.GLStates;
    const bool showBack = Culling == TFaceCulling::fcNoCull ||
                          (Culling == TFaceCulling::fcBufferDefault && !rci.BufferFaceCull);
    if (states.Enabled(TGLState::stCullFace)) {
        if (showBack) {
            states.Disable(TGLState::stCullFace);
            BackProperties().Apply(rci, GL_BACK);
        }
    } else if (showBack) {
        BackProperties().Apply(rci, GL_BACK);
    } else {
        states.Enable(TGLState::stCullFace);
    }
}

void TGLMaterial::ApplyBlending(TRenderContextInfo& rci) const
{
    TGLStateCache& states = *rci.GLStates;
    switch (Blending) {
    case TBlendingMode::bmOpaque:
        states.Disable(TGLState::stBlend);
        states.Disable(TGLState::stAlphaTest);
        break;
    case TBlendingMode::bmTransparency:
        states.Enable(TGLState::stBlend);
        states.Enable(TGLState::stAlphaTest);
        GL().BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        break;
    case TBlendingMode::bmAdditive:
        states.Enable(TGLState::stBlend);
        states.Enable(TGLState::stAlphaTest);
        GL().BlendFunc(GL_SRC_ALPHA, GL_ONE);
        break;
    case TBlendingMode::bmAlphaTest50:
        states.Disable(TGLState::stBlend);
        states.Enable(TGLState::stAlphaTest);
        GL().AlphaFunc(GL_GEQUAL, 0.5f);
        break;
    case TBlendingMode::bmAlphaTest100:
        states.Disable(TGLState::stBlend);
        states.Enable(TGLState::stAlphaTest);
        GL().AlphaFunc(GL_GEQUAL, 1.0f);
        break;
    case TBlendingMode::bmModulate:
        states.Enable(TGLState::stBlend);
        states.Enable(TGLState::stAlphaTest);
        GL().BlendFunc(GL_DST_COLOR, GL_ZERO);
        break;
    }
}

bool TGLMaterial::Unapply(TRenderContextInfo& rci)
{
    if (Linked)
        return Linked->Unapply(rci);
    if (Blending == TBlendingMode::bmAlphaTest50 || Blending == TBlendingMode::bmAlphaTest100)
        GL().AlphaFunc(GL_GREATER, 0.0f);
    if (Options & moNoLighting)
        SwitchBackOn(*rci.GLStates, TGLState::stLighting, rci.LightingDisabledCounter);
    if (Options & moIgnoreFog)
        SwitchBackOn(*rci.GLStates, TGLState::stFog, rci.FogDisabledCounter);
    // The mirror of Apply: a collection that was not applied has no texture
    // matrix pushed to pop.
    const TGLTextureApplyInfo info{rci.GLStates, rci.CameraDirection, rci.CameraUp};
    if (TextureObject && !TextureExTakesTexturePlace())
        TextureObject->UnApply(info);
    else if (TextureExObject)
        TextureExObject->UnApply(info);
    return false;
}

bool TGLMaterial::Blended() const
{
    if (Linked)
        return Linked->Material().Blended();
    return Blending == TBlendingMode::bmTransparency || Blending == TBlendingMode::bmAdditive ||
           Blending == TBlendingMode::bmModulate;
}

void TGLMaterial::NotifyChange(TGLNotifyObject* sender)
{
    if (auto* libMaterial = dynamic_cast<TGLLibMaterial*>(GetOwner())) {
        libMaterial->NotifyUsers();
        if (OnNotifyChange)
            OnNotifyChange(*this);
        return;
    }
    TGLUpdateAbleObject::NotifyChange(sender);
}

void TGLMaterial::NotifyTexMapChange(TGLNotifyObject* /*sender*/)
{
    if (auto* component = dynamic_cast<TGLUpdateAbleComponent*>(GetOwner()))
        component->StructureChanged();
    else if (auto* libMaterial = dynamic_cast<TGLLibMaterial*>(GetOwner()))
        libMaterial->NotifyUsersOfTexMapChange();
}

void TGLMaterial::PrepareBuildList()
{
    if (Linked) {
        Linked->PrepareBuildList();
        return;
    }
    if (TextureObject && !TextureObject->Disabled())
        TextureObject->PrepareBuildList();
    if (TextureExObject)
        TextureExObject->PrepareBuildList();
}
