#include "view3d/material/LibMaterial.h"

#include <algorithm>

#include "view3d/material/LibMaterials.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/material/Shader.h"
#include "view3d/maths/MatrixGeometry.h"
#include "view3d/opengl/GLStateCache.h"

TGLLibMaterial::TGLLibMaterial(TGLLibMaterials& collection)
    : Owner(&collection),
      OwnMaterial(this),
      Offset(this, TGLCoordinatesStyle::csPoint, {0.0f, 0.0f, 0.0f, 1.0f}),
      Scale(this, TGLCoordinatesStyle::csVector, {1.0f, 1.0f, 1.0f, 0.0f})
{
    SetName("LibMaterial");
    const auto texMapChanged = [this](TGLNotifyObject&) { NotifyUsersOfTexMapChange(); };
    Offset.OnNotifyChange = texMapChanged;
    Scale.OnNotifyChange = texMapChanged;
}

TGLLibMaterial::~TGLLibMaterial()
{
    SetShader(nullptr);
    for (TGLMaterial* user : Users)
        user->ForgetLibMaterial();
}

void TGLLibMaterial::SetName(const std::string& value)
{
    MaterialName = Owner->MakeUniqueName(value, this);
    NameHashKey = LibMaterialNameHash(MaterialName);
}

void TGLLibMaterial::SetTexture2Name(const std::string& value)
{
    if (value == SecondTextureName)
        return;
    SecondTextureName = value;
    NotifyUsersOfTexMapChange();
}

void TGLLibMaterial::SetShader(TGLShader* value)
{
    if (value == OwnShader)
        return;
    if (OwnShader)
        OwnShader->UnregisterUser(*this);
    OwnShader = value;
    if (OwnShader)
        OwnShader->RegisterUser(*this);
    NotifyUsers();
}

bool TGLLibMaterial::TextureMatrixIsIdentity() const
{
    const Vector4f& offset = Offset.AsVector();
    const Vector4f& scale = Scale.AsVector();
    return offset.X == 0.0f && offset.Y == 0.0f && offset.Z == 0.0f && scale.X == 1.0f && scale.Y == 1.0f &&
           scale.Z == 1.0f;
}

void TGLLibMaterial::Apply(TRenderContextInfo& rci)
{
    if (!TextureMatrixIsIdentity()) {
        rci.GLStates->SetTextureMatrix(
            CreateScaleAndTranslationMatrix(Scale.ToAffineVector(), Offset.ToAffineVector()));
    }
    if (!OwnShader || !OwnShader->Enabled()) {
        OwnMaterial.Apply(rci);
        return;
    }
    switch (OwnShader->ShaderStyle()) {
    case TGLShaderStyle::ssHighLevel:
        OwnShader->Apply(rci, *this);
        OwnMaterial.Apply(rci);
        break;
    case TGLShaderStyle::ssLowLevel:
        OwnMaterial.Apply(rci);
        OwnShader->Apply(rci, *this);
        break;
    case TGLShaderStyle::ssReplace:
        OwnShader->Apply(rci, *this);
        break;
    }
}

bool TGLLibMaterial::Unapply(TRenderContextInfo& rci)
{
    bool anotherPass = false;
    if (OwnShader && OwnShader->Enabled()) {
        anotherPass = OwnShader->Unapply(rci);
        // The material stays applied as long as the shader draws more passes.
        if (!anotherPass && OwnShader->ShaderStyle() != TGLShaderStyle::ssReplace)
            OwnMaterial.Unapply(rci);
    } else {
        OwnMaterial.Unapply(rci);
    }
    // The cache knows whether a matrix was loaded, even one since changed back to identity.
    if (!anotherPass)
        rci.GLStates->ResetTextureMatrix();
    return anotherPass;
}

void TGLLibMaterial::RegisterUser(TGLMaterial& user)
{
    if (std::find(Users.begin(), Users.end(), &user) == Users.end())
        Users.push_back(&user);
}

void TGLLibMaterial::UnregisterUser(TGLMaterial& user)
{
    std::erase(Users, &user);
}

void TGLLibMaterial::NotifyUsers()
{
    // A user may unlink itself while it is told.
    const std::vector<TGLMaterial*> users = Users;
    for (TGLMaterial* user : users)
        user->NotifyChange(this);
}

void TGLLibMaterial::NotifyUsersOfTexMapChange()
{
    const std::vector<TGLMaterial*> users = Users;
    for (TGLMaterial* user : users)
        user->NotifyTexMapChange(this);
}
