#pragma once

// The OpenGL state the scene's objects set again and again, cached so that
// a state is sent only when it changes: an unchanged frame costs no call.

#include <array>
#include <cstdint>

#include <GL/gl.h>

#include "view3d/maths/VectorTypes.h"

enum class TGLState : int {
    stAlphaTest,
    stAutoNormal,
    stBlend,
    stColorMaterial,
    stCullFace,
    stDepthTest,
    stDither,
    stFog,
    stLighting,
    stLineSmooth,
    stLineStipple,
    stLogicOp,
    stNormalize,
    stPointSmooth,
    stPolygonSmooth,
    stPolygonStipple,
    stScissorTest,
    stStencilTest,
    stTexture1D,
    stTexture2D,
    stTextureCubeMap,
    stTextureRect,
};

// The OpenGL capability of a state.
GLenum GLStateCapability(TGLState state);

class TGLStateCache {
public:
    static constexpr int kTextureUnits = 8;

    void Enable(TGLState state);
    void Disable(TGLState state);
    bool Enabled(TGLState state) const;

    // GL_FRONT, GL_BACK or GL_FRONT_AND_BACK; any other face does nothing.
    void SetPolygonMode(GLenum face, GLenum mode);
    void ResetPolygonMode();

    // GL_FRONT or GL_BACK.
    void SetMaterialColors(GLenum face, const Vector4f& emission, const Vector4f& ambient, const Vector4f& diffuse,
                           const Vector4f& specular, int shininess);
    void SetMaterialAlpha(GLenum face, float alpha);
    // OpenGL's default material, and a cache that matches no real colour.
    void ResetMaterial();

    void SetCurrentTexture(int unit, GLenum target, std::int32_t handle);
    void ResetTextures();

    void SetTextureMatrix(const Matrix4f& matrix);
    void ResetTextureMatrix();

    void InvertFrontFace();
    void ResetFrontFace();

    // Before the object tree of each frame is drawn.
    void ResetAll();

private:
    enum { kEmission, kAmbient, kDiffuse, kSpecular };
    using TFaceColors = std::array<Vector4f, 4>;

    TFaceColors* FaceColors(GLenum face);
    int* FaceShininess(GLenum face);

    std::array<TFaceColors, 2> MaterialCache{};
    std::array<int, 2> ShininessCache{};
    std::uint32_t States = 0;
    std::array<std::int32_t, kTextureUnits> TextureCache{};
    GLenum FrontPolygonMode = 0;
    GLenum BackPolygonMode = 0;
    bool FrontFaceCCW = true;
    bool TextureMatrixIsIdentity = true;
};
