#include "view3d/objects/Plane.h"

#include <cmath>

#include "view3d/maths/VectorGeometry.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/opengl/TextureCoordinateDispatch.h"

TGLPlane::TGLPlane(TGLNotifyObject* owner) : TGLSceneObject(owner)
{
    SetObjectStyle(TGLObjectStyle::osDirectDraw, true);
}

void TGLPlane::SetStyle(TPlaneStyle style, bool on)
{
    const std::uint8_t styles = on ? Styles | std::uint8_t(style) : Styles & ~std::uint8_t(style);
    ChangeProperty(*this, Styles, std::uint8_t(styles));
}

void TGLPlane::BuildList(TRenderContextInfo& /*rci*/)
{
    const TGLFunctions& gl = GL();
    if (DepthWritesOff)
        gl.DepthMask(GL_FALSE);
    gl.Normal3f(0, 0, 1);
    if (HasStyle(TPlaneStyle::psSingleQuad)) {
        const float hw = WidthValue / 2;
        const float hh = HeightValue / 2;
        const TGLTextureCoordinateDispatch& xgl = XGL();
        const float s0 = TextureOffsetX;
        const float t0 = TextureOffsetY;
        const float s1 = TextureOffsetX + TextureScopeX;
        const float t1 = TextureOffsetY + TextureScopeY;
        gl.Begin(GL_QUADS);
        xgl.TexCoord2f(s0, t0);
        gl.Vertex3f(-hw, -hh, 0);
        xgl.TexCoord2f(s1, t0);
        gl.Vertex3f(hw, -hh, 0);
        xgl.TexCoord2f(s1, t1);
        gl.Vertex3f(hw, hh, 0);
        xgl.TexCoord2f(s0, t1);
        gl.Vertex3f(-hw, hh, 0);
        gl.End();
    } else {
        DrawTiles();
    }
    if (DepthWritesOff)
        gl.DepthMask(GL_TRUE);
}

void TGLPlane::DrawTiles() const
{
    const TGLFunctions& gl = GL();
    const TGLTextureCoordinateDispatch& xgl = XGL();
    // Tiled, the texture range repeats on every tile; otherwise it spans the plane.
    const bool repeat = HasStyle(TPlaneStyle::psTileTexture);
    const float tileWidth = WidthValue / float(TilesX);
    const float tileHeight = HeightValue / float(TilesY);
    const float scopeX = repeat ? TextureScopeX : TextureScopeX / float(TilesX);
    const float scopeY = repeat ? TextureScopeY : TextureScopeY / float(TilesY);
    for (int y = 0; y < TilesY; ++y) {
        gl.Begin(GL_TRIANGLE_STRIP);
        for (int x = 0; x <= TilesX; ++x) {
            const float px = -WidthValue / 2 + tileWidth * float(x);
            for (int row : {y + 1, y}) {
                xgl.TexCoord2f(TextureOffsetX + scopeX * float(x), TextureOffsetY + scopeY * float(row));
                gl.Vertex3f(px, -HeightValue / 2 + tileHeight * float(row), 0);
            }
        }
        gl.End();
    }
}

Vector3f TGLPlane::AxisAlignedDimensionsUnscaled() const
{
    return {WidthValue / 2, HeightValue / 2, 0};
}

bool TGLPlane::RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector, Vector4f* intersectPoint,
                                Vector4f* intersectNormal) const
{
    const Vector3f start = AffineOf(AbsoluteToLocal(PointMake(AffineOf(rayStart))));
    const Vector3f vector = AffineOf(AbsoluteToLocal(DirectionMake(AffineOf(rayVector))));
    if (vector.Z == 0)
        return false;
    const float t = -start.Z / vector.Z;
    if (t < 0)
        return false;
    const Vector3f hit = Vector3Add(start, Vector3Scale(vector, t));
    if (std::abs(hit.X) > WidthValue / 2 || std::abs(hit.Y) > HeightValue / 2)
        return false;
    if (intersectPoint)
        *intersectPoint = LocalToAbsolute(PointMake(hit));
    if (intersectNormal)
        *intersectNormal = Vector4Normalize(LocalToAbsolute(DirectionMake(0, 0, 1)));
    return true;
}

void TGLPlane::GenerateSilhouette(const TGLSilhouetteParameters& parameters, TGLSilhouette& silhouette) const
{
    const float hw = WidthValue / 2;
    const float hh = HeightValue / 2;
    TConnectivity connectivity;
    // The triangles a b d and d c a: counter-clockwise seen from +Z.
    connectivity.AddQuad({-hw, -hh, 0}, {hw, -hh, 0}, {-hw, hh, 0}, {hw, hh, 0});
    connectivity.CreateSilhouette(parameters, silhouette, false);
}

std::unique_ptr<TGLBaseSceneObject> TGLPlane::CreateNew() const
{
    return std::make_unique<TGLPlane>();
}

void TGLPlane::Assign(const TGLBaseSceneObject& source)
{
    const auto* other = dynamic_cast<const TGLPlane*>(&source);
    if (other && other != this) {
        WidthValue = other->WidthValue;
        HeightValue = other->HeightValue;
        TextureOffsetX = other->TextureOffsetX;
        TextureOffsetY = other->TextureOffsetY;
        TextureScopeX = other->TextureScopeX;
        TextureScopeY = other->TextureScopeY;
        TilesX = other->TilesX;
        TilesY = other->TilesY;
        Styles = other->Styles;
        DepthWritesOff = other->DepthWritesOff;
        StructureChanged();
    }
    TGLSceneObject::Assign(source);
}
