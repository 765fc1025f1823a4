#pragma once

// Scene objects that carry a material, and those that draw without one.

#include <memory>
#include <string>

#include "view3d/material/Material.h"
#include "view3d/scene/BaseSceneObject.h"

class TGLCustomSceneObject : public TGLBaseSceneObject {
public:
    explicit TGLCustomSceneObject(TGLNotifyObject* owner = nullptr);

    TGLMaterial& Material() { return *MaterialObject; }
    const TGLMaterial& Material() const { return *MaterialObject; }
    void SetMaterial(const TGLMaterial& value) { MaterialObject->Assign(value); }
    // A text for the user, not used for drawing.
    std::string Hint;

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    // Also the material and the hint when the source carries them.
    void Assign(const TGLBaseSceneObject& source) override;
    bool Blended() const override { return MaterialObject->Blended(); }

protected:
    // The material is applied around the drawing, which it may ask to repeat.
    void RenderSelf(TRenderContextInfo& rci) override;

private:
    std::unique_ptr<TGLMaterial> MaterialObject;
};

// The custom object as the scene is built with it.
class TGLSceneObject : public TGLCustomSceneObject {
public:
    using TGLCustomSceneObject::TGLCustomSceneObject;
    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
};

// Draws without applying its material: it sets its own colours.
class TGLImmaterialSceneObject : public TGLCustomSceneObject {
public:
    using TGLCustomSceneObject::TGLCustomSceneObject;
    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;

protected:
    void RenderSelf(TRenderContextInfo& rci) override;
};
