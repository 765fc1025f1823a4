#pragma once

// How a scene object looks: front and back face properties, blending, face
// culling and lighting options, or a link to a named material of a library
// that then takes the place of all of them. The object applies it before it
// draws itself and unapplies it afterwards.

#include <cstdint>
#include <memory>
#include <string>

#include "view3d/material/FaceProperties.h"
#include "view3d/texture/Texture.h"
#include "view3d/texture/TextureEx.h"

class TGLLibMaterial;
class TGLMaterialLibrary;

enum class TBlendingMode { bmOpaque, bmTransparency, bmAdditive, bmAlphaTest50, bmAlphaTest100, bmModulate };

// A set of TMaterialOption bits, stored as one byte.
using TMaterialOptions = std::uint8_t;
enum TMaterialOption : TMaterialOptions {
    moIgnoreFog = 1 << 0,
    moNoLighting = 1 << 1,
};

enum class TFaceCulling { fcBufferDefault, fcCull, fcNoCull };

class TGLMaterial : public TGLUpdateAbleObject, public TGLTextureMappingOwner {
public:
    // The owner is a scene object or a library material.
    explicit TGLMaterial(TGLNotifyObject* owner);
    ~TGLMaterial() override;

    TGLFaceProperties& FrontProperties() { return *Front; }
    const TGLFaceProperties& FrontProperties() const { return *Front; }
    // Made with the defaults on first use.
    TGLFaceProperties& BackProperties();
    // None until the back properties are first used.
    const TGLFaceProperties* ExistingBackProperties() const { return Back.get(); }
    void SetFrontProperties(const TGLFaceProperties& value) { Front->Assign(value); }
    void SetBackProperties(const TGLFaceProperties& value) { BackProperties().Assign(value); }

    TBlendingMode BlendingMode() const { return Blending; }
    void SetBlendingMode(TBlendingMode value);
    TMaterialOptions MaterialOptions() const { return Options; }
    void SetMaterialOptions(TMaterialOptions value);
    TFaceCulling FaceCulling() const { return Culling; }
    void SetFaceCulling(TFaceCulling value);

    // Made on first use; FreeTexture takes it away again.
    TGLTexture& Texture();
    TGLTexture* ExistingTexture() const { return TextureObject.get(); }
    void FreeTexture();
    // Made on first use.
    TGLTextureEx& TextureEx();
    TGLTextureEx* ExistingTextureEx() const { return TextureExObject.get(); }

    TGLMaterialLibrary* MaterialLibrary() const { return Library; }
    // Both link the material to the library's material of that name, when
    // the library has one.
    void SetMaterialLibrary(TGLMaterialLibrary* value);
    const std::string& LibMaterialName() const { return LinkName; }
    void SetLibMaterialName(const std::string& value);
    // The library material this one stands for now, or none.
    TGLLibMaterial* LibMaterial() const { return Linked; }

    // Takes every setting of the other material, then notifies once.
    void Assign(const TGLMaterial& source);

    void Apply(TRenderContextInfo& rci);
    // Whether the object must be drawn once more: never for this material.
    bool Unapply(TRenderContextInfo& rci);

    // Whether the object must be drawn after the opaque ones.
    bool Blended() const;

    // A library material tells its users in turn.
    void NotifyChange(TGLNotifyObject* sender) override;
    // What the owner drew must be built again: its display list holds the texture mapping.
    void NotifyTexMapChange(TGLNotifyObject* sender) override;

    // Before the owner compiles a display list, which must not upload textures.
    void PrepareBuildList();

private:
    friend class TGLLibMaterial;
    friend class TGLMaterialLibrary;

    void ApplyFaceCulling(TRenderContextInfo& rci);
    void ApplyBlending(TRenderContextInfo& rci) const;
    // Whether the collection's item on unit 0 stands in for the texture.
    bool TextureExTakesTexturePlace() const;
    void RelinkLibMaterial();
    // The library material or the library is going away.
    void ForgetLibMaterial() { Linked = nullptr; }
    void ForgetLibrary();

    std::unique_ptr<TGLFaceProperties> Front;
    std::unique_ptr<TGLFaceProperties> Back;
    TBlendingMode Blending = TBlendingMode::bmOpaque;
    TMaterialOptions Options = 0;
    TFaceCulling Culling = TFaceCulling::fcBufferDefault;
    TGLMaterialLibrary* Library = nullptr;
    std::string LinkName;
    TGLLibMaterial* Linked = nullptr;
    std::unique_ptr<TGLTexture> TextureObject;
    std::unique_ptr<TGLTextureEx> TextureExObject;
};
