#include "view3d/material/LibMaterial.h"

#include <algorithm>

#include <GL/glext.h>

#include "view3d/material/LibMaterials.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/material/Shader.h"
#include "view3d/maths/MatrixGeometry.h"
#include "view3d/opengl/GLCapabilities.h"
#include "view3d/opengl/GLFunctions.h"
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

Matrix4f TGLLibMaterial::TextureMatrix() const
{
    return CreateScaleAndTranslationMatrix(Scale.ToAffineVector(), Offset.ToAffineVector());
}

TGLLibMaterial* TGLLibMaterial::SecondTextureMaterial() const
{
    if (SecondTextureName.empty() || !GLCapabilities().Has(kARB_multitexture))
        return nullptr;
    TGLLibMaterial* second = Owner->GetLibMaterialByName(SecondTextureName);
    const TGLTexture* texture = second ? second->OwnMaterial.ExistingTexture() : nullptr;
    return texture && !texture->Disabled() ? second : nullptr;
}

// The second unit's texture matrix is pushed and popped around the drawing:
// the state cache follows unit 0 only.
void TGLLibMaterial::ApplySecondTexture(TRenderContextInfo& rci)
{
    const TGLLibMaterial* second = SecondTextureMaterial();
    if (!second)
        return;
    GL().ActiveTexture(GL_TEXTURE1_ARB);
    GL().MatrixMode(GL_TEXTURE);
    GL().PushMatrix();
    if (second->TextureMatrixIsIdentity()) {
        GL().LoadIdentity();
    } else {
        const Matrix4f matrix = second->TextureMatrix();
        GL().LoadMatrixf(&matrix.M[0][0]);
    }
    GL().MatrixMode(GL_MODELVIEW);
    second->OwnMaterial.ExistingTexture()->Apply({rci.GLStates, rci.CameraDirection, rci.CameraUp}, 1);
    GL().ActiveTexture(GL_TEXTURE0_ARB);
}

void TGLLibMaterial::UnapplySecondTexture(TRenderContextInfo& rci)
{
    const TGLLibMaterial* second = SecondTextureMaterial();
    if (!second)
        return;
    GL().ActiveTexture(GL_TEXTURE1_ARB);
    GL().MatrixMode(GL_TEXTURE);
    GL().PopMatrix();
    GL().MatrixMode(GL_MODELVIEW);
    second->OwnMaterial.ExistingTexture()->UnApply({rci.GLStates, rci.CameraDirection, rci.CameraUp}, 1);
    GL().ActiveTexture(GL_TEXTURE0_ARB);
}

void TGLLibMaterial::Apply(TRenderContextInfo& rci)
{
    if (!TextureMatrixIsIdentity())
        rci.GLStates->SetTextureMatrix(TextureMatrix());
    ApplySecondTexture(rci);
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
    if (!anotherPass) {
        UnapplySecondTexture(rci);
        rci.GLStates->ResetTextureMatrix();
    }
    return anotherPass;
}

void TGLLibMaterial::PrepareBuildList()
{
    OwnMaterial.PrepareBuildList();
    if (const TGLLibMaterial* second = SecondTextureMaterial())
        second->OwnMaterial.ExistingTexture()->PrepareBuildList();
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
