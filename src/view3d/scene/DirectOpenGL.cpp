#include "view3d/scene/DirectOpenGL.h"

#include <algorithm>

TGLDirectOpenGL::TGLDirectOpenGL(TGLNotifyObject* owner) : TGLImmaterialSceneObject(owner)
{
    SetObjectStyle(TGLObjectStyle::osDirectDraw, true);
}

void TGLDirectOpenGL::SetUseBuildList(bool value)
{
    if (value == UseBuildList())
        return;
    SetObjectStyle(TGLObjectStyle::osDirectDraw, !value);
    StructureChanged();
}

void TGLDirectOpenGL::SetBlend(bool value)
{
    if (value == IsBlend)
        return;
    IsBlend = value;
    NotifyChange(this);
}

std::unique_ptr<TGLBaseSceneObject> TGLDirectOpenGL::CreateNew() const
{
    return std::make_unique<TGLDirectOpenGL>();
}

void TGLDirectOpenGL::Assign(const TGLBaseSceneObject& source)
{
    if (const auto* direct = dynamic_cast<const TGLDirectOpenGL*>(&source)) {
        SetObjectStyle(TGLObjectStyle::osDirectDraw, !direct->UseBuildList());
        IsBlend = direct->IsBlend;
        OnRender = direct->OnRender;
    }
    TGLImmaterialSceneObject::Assign(source);
}

void TGLDirectOpenGL::BuildList(TRenderContextInfo& rci)
{
    if (OnRender)
        OnRender(*this, rci);
}

TGLRenderPoint::TGLRenderPoint(TGLNotifyObject* owner) : TGLBaseSceneObject(owner)
{
    SetObjectStyle(TGLObjectStyle::osDirectDraw, true);
}

TGLRenderPoint::~TGLRenderPoint()
{
    Clear();
}

int TGLRenderPoint::RegisterCallBack(TDirectRenderEvent render, TFreedEvent freed)
{
    Registrations.push_back({++LastNumber, std::move(render), std::move(freed)});
    return LastNumber;
}

void TGLRenderPoint::UnRegisterCallBack(int registration)
{
    std::erase_if(Registrations, [registration](const TRegistration& r) { return r.Number == registration; });
}

void TGLRenderPoint::Clear()
{
    std::vector<TRegistration> registrations;
    registrations.swap(Registrations);
    for (const TRegistration& r : registrations)
        if (r.Freed)
            r.Freed(*this);
}

std::unique_ptr<TGLBaseSceneObject> TGLRenderPoint::CreateNew() const
{
    return std::make_unique<TGLRenderPoint>();
}

void TGLRenderPoint::BuildList(TRenderContextInfo& rci)
{
    for (const TRegistration& r : Registrations)
        if (r.Render)
            r.Render(*this, rci);
}
