#include "view3d/scene/CustomSceneObject.h"

#include "view3d/material/RenderContextInfo.h"

TGLCustomSceneObject::TGLCustomSceneObject(TGLNotifyObject* owner)
    : TGLBaseSceneObject(owner), MaterialObject(std::make_unique<TGLMaterial>(this))
{
}

std::unique_ptr<TGLBaseSceneObject> TGLCustomSceneObject::CreateNew() const
{
    return std::make_unique<TGLCustomSceneObject>();
}

void TGLCustomSceneObject::Assign(const TGLBaseSceneObject& source)
{
    if (const auto* custom = dynamic_cast<const TGLCustomSceneObject*>(&source)) {
        MaterialObject->Assign(*custom->MaterialObject);
        Hint = custom->Hint;
    }
    TGLBaseSceneObject::Assign(source);
}

void TGLCustomSceneObject::RenderSelf(TRenderContextInfo& rci)
{
    if (rci.IgnoreMaterials) {
        RenderListOrDirect(rci);
        return;
    }
    // A list about to be compiled must find the textures ready.
    if (!IsDirectDrawn(rci) && HasChange(TGLObjectChange::ocStructure))
        MaterialObject->PrepareBuildList();
    MaterialObject->Apply(rci);
    do
        RenderListOrDirect(rci);
    while (MaterialObject->Unapply(rci));
}

std::unique_ptr<TGLBaseSceneObject> TGLSceneObject::CreateNew() const
{
    return std::make_unique<TGLSceneObject>();
}

std::unique_ptr<TGLBaseSceneObject> TGLImmaterialSceneObject::CreateNew() const
{
    return std::make_unique<TGLImmaterialSceneObject>();
}

void TGLImmaterialSceneObject::RenderSelf(TRenderContextInfo& rci)
{
    RenderListOrDirect(rci);
}
