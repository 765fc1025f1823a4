#include "view3d/objects/Sprite.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "view3d/maths/VectorGeometry.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/opengl/TextureCoordinateDispatch.h"

TGLSprite::TGLSprite(TGLNotifyObject* owner) : TGLSceneObject(owner)
{
    SetObjectStyle(TGLObjectStyle::osDirectDraw, true);
    SetObjectStyle(TGLObjectStyle::osNoVisibilityCulling, true);
}

void TGLSprite::SetAlphaChannel(float value)
{
    value = std::clamp(value, 0.0f, 1.0f);
    if (Alpha == value)
        return;
    Alpha = value;
    if (Alpha != 1.0f)
        Material().FrontProperties().Diffuse().SetAlpha(Alpha);
    StructureChanged();
}

void TGLSprite::BuildList(TRenderContextInfo& /*rci*/)
{
    const TGLFunctions& gl = GL();
    // The eye's right and up axes, in the object's coordinates: the rows of
    // the modelview's rotation.
    GLfloat m[16];
    gl.GetFloatv(GL_MODELVIEW_MATRIX, m);
    Vector3f right = Vector3Normalize({m[0], m[4], m[8]});
    Vector3f up = Vector3Normalize({m[1], m[5], m[9]});
    if (RotationDegrees != 0) {
        const float angle = RotationDegrees * std::numbers::pi_v<float> / 180.0f;
        const float c = std::cos(angle);
        const float s = std::sin(angle);
        const Vector3f turnedRight = Vector3Add(Vector3Scale(right, c), Vector3Scale(up, s));
        up = Vector3Subtract(Vector3Scale(up, c), Vector3Scale(right, s));
        right = turnedRight;
    }
    const Vector3f x = Vector3Scale(right, WidthValue / 2);
    const Vector3f y = Vector3Scale(up, HeightValue / 2);
    const float u0 = MirroredU ? 1.0f : 0.0f;
    const float u1 = 1.0f - u0;
    const float v0 = MirroredV ? 1.0f : 0.0f;
    const float v1 = 1.0f - v0;
    const TGLTextureCoordinateDispatch& xgl = XGL();
    if (DepthWritesOff)
        gl.DepthMask(GL_FALSE);
    gl.Begin(GL_QUADS);
    const struct {
        float U;
        float V;
        Vector3f Corner;
    } corners[] = {{u1, v1, Vector3Add(x, y)},
                   {u0, v1, Vector3Subtract(y, x)},
                   {u0, v0, Vector3Negate(Vector3Add(x, y))},
                   {u1, v0, Vector3Subtract(x, y)}};
    for (const auto& corner : corners) {
        xgl.TexCoord2f(corner.U, corner.V);
        gl.Vertex3f(corner.Corner.X, corner.Corner.Y, corner.Corner.Z);
    }
    gl.End();
    if (DepthWritesOff)
        gl.DepthMask(GL_TRUE);
}

std::unique_ptr<TGLBaseSceneObject> TGLSprite::CreateNew() const
{
    return std::make_unique<TGLSprite>();
}

void TGLSprite::Assign(const TGLBaseSceneObject& source)
{
    const auto* other = dynamic_cast<const TGLSprite*>(&source);
    if (other && other != this) {
        WidthValue = other->WidthValue;
        HeightValue = other->HeightValue;
        RotationDegrees = other->RotationDegrees;
        Alpha = other->Alpha;
        DepthWritesOff = other->DepthWritesOff;
        MirroredU = other->MirroredU;
        MirroredV = other->MirroredV;
        StructureChanged();
    }
    TGLSceneObject::Assign(source);
}
