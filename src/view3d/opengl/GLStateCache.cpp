#include "view3d/opengl/GLStateCache.h"

#include <cstring>

#include "view3d/opengl/GLFunctions.h"

namespace {

constexpr GLenum kTextureCubeMapARB = 0x8513;
constexpr GLenum kTextureRectangleNV = 0x84F5;

constexpr GLenum kCapabilities[] = {
    GL_ALPHA_TEST,    GL_AUTO_NORMAL,      GL_BLEND,        GL_COLOR_MATERIAL, GL_CULL_FACE,     GL_DEPTH_TEST,
    GL_DITHER,        GL_FOG,              GL_LIGHTING,     GL_LINE_SMOOTH,    GL_LINE_STIPPLE,  GL_LOGIC_OP,
    GL_NORMALIZE,     GL_POINT_SMOOTH,     GL_POLYGON_SMOOTH, GL_POLYGON_STIPPLE, GL_SCISSOR_TEST, GL_STENCIL_TEST,
    GL_TEXTURE_1D,    GL_TEXTURE_2D,       kTextureCubeMapARB, kTextureRectangleNV,
};

std::uint32_t Bit(TGLState state)
{
    return 1u << static_cast<int>(state);
}

// Bit-exact, so that the 0x7F fill of a reset never equals a colour.
bool SameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameRGB(const Vector4f& a, const Vector4f& b)
{
    return SameBits(a.X, b.X) && SameBits(a.Y, b.Y) && SameBits(a.Z, b.Z);
}

bool SameRGBA(const Vector4f& a, const Vector4f& b)
{
    return SameRGB(a, b) && SameBits(a.W, b.W);
}

const GLfloat* Values(const Vector4f& colour)
{
    return &colour.X;
}

} // namespace

GLenum GLStateCapability(TGLState state)
{
    return kCapabilities[static_cast<int>(state)];
}

void TGLStateCache::Enable(TGLState state)
{
    if (Enabled(state))
        return;
    GL().Enable(GLStateCapability(state));
    States |= Bit(state);
}

void TGLStateCache::Disable(TGLState state)
{
    if (!Enabled(state))
        return;
    GL().Disable(GLStateCapability(state));
    States &= ~Bit(state);
}

bool TGLStateCache::Enabled(TGLState state) const
{
    return (States & Bit(state)) != 0;
}

void TGLStateCache::SetPolygonMode(GLenum face, GLenum mode)
{
    switch (face) {
    case GL_FRONT:
        if (FrontPolygonMode == mode)
            return;
        FrontPolygonMode = mode;
        break;
    case GL_BACK:
        if (BackPolygonMode == mode)
            return;
        BackPolygonMode = mode;
        break;
    case GL_FRONT_AND_BACK:
        if (FrontPolygonMode == mode && BackPolygonMode == mode)
            return;
        FrontPolygonMode = mode;
        BackPolygonMode = mode;
        break;
    default:
        return;
    }
    GL().PolygonMode(face, mode);
}

void TGLStateCache::ResetPolygonMode()
{
    FrontPolygonMode = 0;
    BackPolygonMode = 0;
}

TGLStateCache::TFaceColors* TGLStateCache::FaceColors(GLenum face)
{
    if (face == GL_FRONT)
        return &MaterialCache[0];
    if (face == GL_BACK)
        return &MaterialCache[1];
    return nullptr;
}

int* TGLStateCache::FaceShininess(GLenum face)
{
    if (face == GL_FRONT)
        return &ShininessCache[0];
    if (face == GL_BACK)
        return &ShininessCache[1];
    return nullptr;
}

void TGLStateCache::SetMaterialColors(GLenum face, const Vector4f& emission, const Vector4f& ambient,
                                      const Vector4f& diffuse, const Vector4f& specular, int shininess)
{
    TFaceColors* colours = FaceColors(face);
    int* cachedShininess = FaceShininess(face);
    if (colours == nullptr)
        return;
    if (*cachedShininess != shininess) {
        *cachedShininess = shininess;
        GL().Materiali(face, GL_SHININESS, shininess);
    }
    const struct {
        int Slot;
        GLenum Name;
        const Vector4f& Colour;
        bool AlphaCounts;
    } entries[] = {{kEmission, GL_EMISSION, emission, false},
                   {kAmbient, GL_AMBIENT, ambient, false},
                   {kDiffuse, GL_DIFFUSE, diffuse, true},
                   {kSpecular, GL_SPECULAR, specular, false}};
    for (const auto& entry : entries) {
        Vector4f& cached = (*colours)[static_cast<std::size_t>(entry.Slot)];
        const bool same = entry.AlphaCounts ? SameRGBA(cached, entry.Colour) : SameRGB(cached, entry.Colour);
        if (same)
            continue;
        cached = entry.Colour;
        GL().Materialfv(face, entry.Name, Values(cached));
    }
}

void TGLStateCache::SetMaterialAlpha(GLenum face, float alpha)
{
    TFaceColors* colours = FaceColors(face);
    if (colours == nullptr)
        return;
    Vector4f& diffuse = (*colours)[kDiffuse];
    if (SameBits(diffuse.W, alpha))
        return;
    diffuse.W = alpha;
    GL().Materialfv(face, GL_DIFFUSE, Values(diffuse));
}

void TGLStateCache::ResetMaterial()
{
    const GLfloat ambient[] = {0.2f, 0.2f, 0.2f, 1.0f};
    const GLfloat diffuse[] = {0.8f, 0.8f, 0.8f, 1.0f};
    const GLfloat black[] = {0.0f, 0.0f, 0.0f, 1.0f};
    GL().Materialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    GL().Materialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    GL().Materialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
    GL().Materialfv(GL_FRONT_AND_BACK, GL_EMISSION, black);
    GL().Materiali(GL_FRONT_AND_BACK, GL_SHININESS, 0);
    // Each single of 0x7F7F7F7F reads about 3.39e38: no colour has it, so
    // the next SetMaterialColors sends every colour.
    std::memset(static_cast<void*>(MaterialCache.data()), 0x7F, sizeof MaterialCache);
    ShininessCache = {0, 0};
}

void TGLStateCache::SetCurrentTexture(int unit, GLenum target, std::int32_t handle)
{
    std::int32_t& cached = TextureCache.at(static_cast<std::size_t>(unit));
    if (cached == handle)
        return;
    cached = handle;
    GL().BindTexture(target, static_cast<GLuint>(handle));
}

void TGLStateCache::ResetTextures()
{
    TextureCache.fill(-1);
}

void TGLStateCache::SetTextureMatrix(const Matrix4f& matrix)
{
    TextureMatrixIsIdentity = false;
    GL().MatrixMode(GL_TEXTURE);
    GL().LoadMatrixf(&matrix.M[0][0]);
    GL().MatrixMode(GL_MODELVIEW);
}

void TGLStateCache::ResetTextureMatrix()
{
    if (TextureMatrixIsIdentity)
        return;
    GL().MatrixMode(GL_TEXTURE);
    GL().LoadIdentity();
    GL().MatrixMode(GL_MODELVIEW);
    TextureMatrixIsIdentity = true;
}

void TGLStateCache::InvertFrontFace()
{
    FrontFaceCCW = !FrontFaceCCW;
    GL().FrontFace(FrontFaceCCW ? GL_CCW : GL_CW);
}

void TGLStateCache::ResetFrontFace()
{
    GL().FrontFace(GL_CCW);
    FrontFaceCCW = true;
}

void TGLStateCache::ResetAll()
{
    ResetPolygonMode();
    ResetMaterial();
    ResetTextures();
    ResetFrontFace();
}
