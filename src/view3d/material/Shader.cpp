#include "view3d/material/Shader.h"

#include <algorithm>

#include "view3d/material/LibMaterial.h"

TGLShader::TGLShader(TGLNotifyObject* owner) : TGLUpdateAbleComponent(owner) {}

TGLShader::~TGLShader()
{
    for (TGLLibMaterial* user : Users)
        user->ForgetShader();
}

void TGLShader::SetEnabled(bool value)
{
    if (value == IsEnabled)
        return;
    IsEnabled = value;
    NotifyChange(this);
}

void TGLShader::SetShaderStyle(TGLShaderStyle value)
{
    if (value == Style)
        return;
    Style = value;
    NotifyChange(this);
}

void TGLShader::Apply(TRenderContextInfo& rci, TGLNotifyObject& sender)
{
    if (IsEnabled)
        DoApply(rci, sender);
}

bool TGLShader::Unapply(TRenderContextInfo& rci)
{
    return IsEnabled && DoUnapply(rci);
}

void TGLShader::NotifyChange(TGLNotifyObject* sender)
{
    const std::vector<TGLLibMaterial*> users = Users;
    for (TGLLibMaterial* user : users)
        user->NotifyUsers();
    TGLUpdateAbleComponent::NotifyChange(sender);
}

void TGLShader::RegisterUser(TGLLibMaterial& user)
{
    if (std::find(Users.begin(), Users.end(), &user) == Users.end())
        Users.push_back(&user);
}

void TGLShader::UnregisterUser(TGLLibMaterial& user)
{
    std::erase(Users, &user);
}
