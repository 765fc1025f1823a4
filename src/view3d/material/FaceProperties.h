#pragma once

// The lighting colours, shininess and polygon mode of one face of a material.

#include <GL/gl.h>

#include "view3d/notification/Color.h"

struct TRenderContextInfo;

enum class TPolygonMode { pmFill, pmLines, pmPoints };

// OpenGL's mode of a polygon mode.
GLenum PolygonModeToGL(TPolygonMode mode);

class TGLFaceProperties : public TGLUpdateAbleObject {
public:
    static constexpr int kMaxShininess = 128;

    explicit TGLFaceProperties(TGLNotifyObject* owner);

    TGLColor& Ambient() { return AmbientColor; }
    TGLColor& Diffuse() { return DiffuseColor; }
    TGLColor& Emission() { return EmissionColor; }
    TGLColor& Specular() { return SpecularColor; }
    const TGLColor& Ambient() const { return AmbientColor; }
    const TGLColor& Diffuse() const { return DiffuseColor; }
    const TGLColor& Emission() const { return EmissionColor; }
    const TGLColor& Specular() const { return SpecularColor; }
    // Each copies the colour; the owner hears of it through the colour.
    void SetAmbient(const TGLColor& value) { AmbientColor.Assign(value); }
    void SetDiffuse(const TGLColor& value) { DiffuseColor.Assign(value); }
    void SetEmission(const TGLColor& value) { EmissionColor.Assign(value); }
    void SetSpecular(const TGLColor& value) { SpecularColor.Assign(value); }

    int Shininess() const { return ShininessValue; }
    // Kept within 0 to 128, as OpenGL takes it; notifies only on a change.
    void SetShininess(int value);
    TPolygonMode PolygonMode() const { return Mode; }
    void SetPolygonMode(TPolygonMode value);

    // Copies everything and notifies once.
    void Assign(const TGLFaceProperties& source);

    // face is GL_FRONT or GL_BACK.
    void Apply(TRenderContextInfo& rci, GLenum face) const;
    // Without lighting the face shows its diffuse colour.
    void ApplyNoLighting(TRenderContextInfo& rci, GLenum face) const;

private:
    friend class TGLMaterial;

    // Assign without the notification, for an owner that notifies once for all.
    void CopyValues(const TGLFaceProperties& source);

    TGLColor AmbientColor;
    TGLColor DiffuseColor;
    TGLColor EmissionColor;
    TGLColor SpecularColor;
    int ShininessValue = 0;
    TPolygonMode Mode = TPolygonMode::pmFill;
};
