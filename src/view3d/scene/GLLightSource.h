#pragma once

// An OpenGL light placed in the scene tree. The scene gives it one of its
// eight slots when it enters, and loads its state into OpenGL before each
// frame (TGLScene::SetupLights).

#include <GL/gl.h>

#include "view3d/notification/Color.h"
#include "view3d/scene/BaseSceneObject.h"

enum class TLightStyle : std::uint8_t { lsSpot, lsOmni, lsParallel };

class TGLLightSource : public TGLBaseSceneObject {
public:
    explicit TGLLightSource(TGLNotifyObject* owner = nullptr);
    ~TGLLightSource() override;

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;

    TGLColor& Ambient() { return *AmbientColor; }
    TGLColor& Diffuse() { return *DiffuseColor; }
    TGLColor& Specular() { return *SpecularColor; }
    const TGLColor& Ambient() const { return *AmbientColor; }
    const TGLColor& Diffuse() const { return *DiffuseColor; }
    const TGLColor& Specular() const { return *SpecularColor; }
    // Copy the colour and notify.
    void SetAmbient(const TGLColor& value) { AmbientColor->Assign(value); }
    void SetDiffuse(const TGLColor& value) { DiffuseColor->Assign(value); }
    void SetSpecular(const TGLColor& value) { SpecularColor->Assign(value); }

    float ConstAttenuation() const { return Attenuation[0]; }
    float LinearAttenuation() const { return Attenuation[1]; }
    float QuadraticAttenuation() const { return Attenuation[2]; }
    void SetConstAttenuation(float value) { SetValue(Attenuation[0], value); }
    void SetLinearAttenuation(float value) { SetValue(Attenuation[1], value); }
    void SetQuadraticAttenuation(float value) { SetValue(Attenuation[2], value); }

    // A light that does not shine is switched off.
    bool Shining() const { return IsShining; }
    void SetShining(bool value);

    float SpotCutOff() const { return CutOff; }
    // Only 0 to 90, or exactly 180 (no cone); other values are ignored.
    void SetSpotCutOff(float value);
    // Its fourth component stays 0.
    TGLCoordinates& SpotDirection() { return *SpotDirectionCoordinates; }
    const TGLCoordinates& SpotDirection() const { return *SpotDirectionCoordinates; }
    float SpotExponent() const { return Exponent; }
    void SetSpotExponent(float value) { SetValue(Exponent, value); }

    TLightStyle LightStyle() const { return Style; }
    void SetLightStyle(TLightStyle value);

    // GL_LIGHT0 plus the slot its scene gave it; 0 outside a scene or
    // without a free slot.
    GLenum LightID() const { return ID; }
    void SetLightID(GLenum value) { ID = value; }

    void CoordinateChanged(TGLCoordinates& coordinates) override;
    bool RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector, Vector4f* intersectPoint = nullptr,
                          Vector4f* intersectNormal = nullptr) const override;

protected:
    // A light draws nothing of its own, only its children.
    void RenderSelf(TRenderContextInfo&) override {}

private:
    void SetValue(float& field, float value);

    std::unique_ptr<TGLColor> AmbientColor;
    std::unique_ptr<TGLColor> DiffuseColor;
    std::unique_ptr<TGLColor> SpecularColor;
    std::unique_ptr<TGLCoordinates> SpotDirectionCoordinates;
    float Attenuation[3] = {1.0f, 0.0f, 0.0f};
    bool IsShining = true;
    float CutOff = 180.0f;
    float Exponent = 0.0f;
    TLightStyle Style = TLightStyle::lsSpot;
    GLenum ID = 0;
};
