#pragma once

// A named material of a material library, shared by every material that
// links to it by name: a change of it reaches all of them.

#include <cstdint>
#include <string>
#include <vector>

#include "view3d/material/Material.h"
#include "view3d/maths/VectorTypes.h"
#include "view3d/notification/Coordinates.h"

class TGLLibMaterials;
class TGLShader;

class TGLLibMaterial : public TGLNotifyObject {
public:
    // Named "LibMaterial", or the first variant of it the collection does
    // not hold yet; TGLLibMaterials::Add makes it and takes it in.
    explicit TGLLibMaterial(TGLLibMaterials& collection);
    // Its users lose the link.
    ~TGLLibMaterial() override;

    const std::string& Name() const { return MaterialName; }
    // A name another material of the collection holds gets 1, 2, ... appended.
    void SetName(const std::string& value);
    std::uint32_t NameHash() const { return NameHashKey; }

    int Tag = 0;

    TGLMaterial& Material() { return OwnMaterial; }
    const TGLMaterial& Material() const { return OwnMaterial; }
    void SetMaterial(const TGLMaterial& value) { OwnMaterial.Assign(value); }

    // The texture matrix while this material is applied: translation and scale.
    TGLCoordinates& TextureOffset() { return Offset; }
    TGLCoordinates& TextureScale() { return Scale; }
    const TGLCoordinates& TextureOffset() const { return Offset; }
    const TGLCoordinates& TextureScale() const { return Scale; }

    const std::string& Texture2Name() const { return SecondTextureName; }
    void SetTexture2Name(const std::string& value);

    TGLShader* Shader() const { return OwnShader; }
    void SetShader(TGLShader* value);

    // The shader runs before, after or instead of the material, by its style.
    // Where the driver multitextures, the texture of the material named by
    // Texture2Name goes on the second unit, placed by that material's
    // texture offset and scale.
    void Apply(TRenderContextInfo& rci);
    // Whether the user must draw once more.
    bool Unapply(TRenderContextInfo& rci);
    // Before a user compiles a display list: the textures it applies.
    void PrepareBuildList();

    void RegisterUser(TGLMaterial& user);
    void UnregisterUser(TGLMaterial& user);
    void NotifyUsers();
    void NotifyUsersOfTexMapChange();

    TGLLibMaterials& Collection() const { return *Owner; }

private:
    friend class TGLShader;

    bool TextureMatrixIsIdentity() const;
    Matrix4f TextureMatrix() const;
    // The material named by Texture2Name, when its texture is in use and the
    // driver multitextures; none otherwise.
    TGLLibMaterial* SecondTextureMaterial() const;
    void ApplySecondTexture(TRenderContextInfo& rci);
    void UnapplySecondTexture(TRenderContextInfo& rci);
    // The shader is going away.
    void ForgetShader() { OwnShader = nullptr; }

    TGLLibMaterials* Owner;
    std::string MaterialName;
    std::uint32_t NameHashKey = 0;
    TGLMaterial OwnMaterial;
    TGLCoordinates Offset;
    TGLCoordinates Scale;
    std::string SecondTextureName;
    TGLShader* OwnShader = nullptr;
    std::vector<TGLMaterial*> Users;
};
