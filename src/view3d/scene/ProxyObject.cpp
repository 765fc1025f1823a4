#include "view3d/scene/ProxyObject.h"

#include "view3d/material/RenderContextInfo.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/scene/BehavioursAndEffects.h"

TGLProxyObject::TGLProxyObject(TGLNotifyObject* owner) : TGLBaseSceneObject(owner)
{
    SetObjectStyle(TGLObjectStyle::osDirectDraw, true);
}

TGLProxyObject::~TGLProxyObject()
{
    SetMasterObject(nullptr);
}

void TGLProxyObject::SetMasterObject(TGLBaseSceneObject* value)
{
    if (value == Master || value == this)
        return;
    if (Master)
        Master->RemoveFreeNotification(*this);
    Master = value;
    if (Master)
        Master->FreeNotification(*this);
    StructureChanged();
}

void TGLProxyObject::SetProxyOptions(TGLProxyObjectOptions value)
{
    if (value == Options)
        return;
    Options = value;
    StructureChanged();
}

std::unique_ptr<TGLBaseSceneObject> TGLProxyObject::CreateNew() const
{
    return std::make_unique<TGLProxyObject>();
}

void TGLProxyObject::Assign(const TGLBaseSceneObject& source)
{
    if (const auto* proxy = dynamic_cast<const TGLProxyObject*>(&source)) {
        SetMasterObject(proxy->Master);
        Options = proxy->Options;
    }
    TGLBaseSceneObject::Assign(source);
}

void TGLProxyObject::Notification(TGLBaseSceneObject& freed)
{
    if (&freed == Master) {
        Master = nullptr;
        StructureChanged();
    }
}

Vector3f TGLProxyObject::AxisAlignedDimensionsUnscaled() const
{
    return Master ? Master->AxisAlignedDimensionsUnscaled() : TGLBaseSceneObject::AxisAlignedDimensionsUnscaled();
}

void TGLProxyObject::RenderSelfAndChildren(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (Rendering)
        return;
    Rendering = true;
    try {
        if (Master && (Options & pooObjects)) {
            const bool wasProxySubObject = rci.ProxySubObject;
            rci.ProxySubObject = true;
            // The master's transform is for the master alone, not for the
            // proxy's own children after it.
            GL().PushMatrix();
            if (Options & pooTransformation)
                GL().MultMatrixf(&Master->LocalMatrix().M[0][0]);
            Master->RenderSelfAndChildren(rci, renderSelf, Master->Count() > 0);
            GL().PopMatrix();
            rci.ProxySubObject = wasProxySubObject;
        }
        if (renderChildren && Count() > 0)
            RenderChildren(0, Count() - 1, rci);
        if (Master && (Options & pooEffects) && Master->HasEffects())
            Master->Effects().RenderPostEffects(rci);
    } catch (...) {
        Rendering = false;
        throw;
    }
    Rendering = false;
    ClearChange(TGLObjectChange::ocStructure);
}
