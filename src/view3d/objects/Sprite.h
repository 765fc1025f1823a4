#pragma once

// A textured rectangle that always faces the camera, turned by Rotation
// (degrees) about the line of sight.

#include "view3d/objects/ChangeProperty.h"
#include "view3d/scene/CustomSceneObject.h"

class TGLSprite : public TGLSceneObject {
public:
    explicit TGLSprite(TGLNotifyObject* owner = nullptr);

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    float Width() const { return WidthValue; }
    void SetWidth(float value) { ChangeProperty(*this, WidthValue, value); }
    float Height() const { return HeightValue; }
    void SetHeight(float value) { ChangeProperty(*this, HeightValue, value); }
    float Rotation() const { return RotationDegrees; }
    void SetRotation(float value) { ChangeProperty(*this, RotationDegrees, value); }
    // Clamped to 0..1; a value other than 1 becomes the material's diffuse alpha.
    float AlphaChannel() const { return Alpha; }
    void SetAlphaChannel(float value);
    bool NoZWrite() const { return DepthWritesOff; }
    void SetNoZWrite(bool value) { ChangeProperty(*this, DepthWritesOff, value); }
    // Swap the texture's ends across or up.
    bool MirrorU() const { return MirroredU; }
    void SetMirrorU(bool value) { ChangeProperty(*this, MirroredU, value); }
    bool MirrorV() const { return MirroredV; }
    void SetMirrorV(bool value) { ChangeProperty(*this, MirroredV, value); }

    void BuildList(TRenderContextInfo& rci) override;

private:

    float WidthValue = 1.0f;
    float HeightValue = 1.0f;
    float RotationDegrees = 0.0f;
    float Alpha = 1.0f;
    bool DepthWritesOff = false;
    bool MirroredU = false;
    bool MirroredV = false;
};
