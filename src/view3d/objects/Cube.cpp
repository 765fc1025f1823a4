#include "view3d/objects/Cube.h"

#include "view3d/maths/VectorGeometry.h"
#include "view3d/objects/ChangeProperty.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/opengl/TextureCoordinateDispatch.h"

TGLCube::TGLCube(TGLNotifyObject* owner) : TGLSceneObject(owner)
{
    SetObjectStyle(TGLObjectStyle::osDirectDraw, true);
}

void TGLCube::SetSize(float Vector3f::*axis, float value)
{
    ChangeProperty(*this, Size.*axis, value);
}

void TGLCube::SetCubeWidth(float value)
{
    SetSize(&Vector3f::X, value);
}

void TGLCube::SetCubeHeight(float value)
{
    SetSize(&Vector3f::Y, value);
}

void TGLCube::SetCubeDepth(float value)
{
    SetSize(&Vector3f::Z, value);
}

void TGLCube::SetParts(TCubeParts value)
{
    ChangeProperty(*this, PartSet, value);
}

void TGLCube::SetNormalDirection(TNormalDirection value)
{
    ChangeProperty(*this, Normals, value);
}

void TGLCube::BuildList(TRenderContextInfo& /*rci*/)
{
    const TGLFunctions& gl = GL();
    const TGLTextureCoordinateDispatch& xgl = XGL();
    gl.Begin(GL_QUADS);
    for (const TCubeFace& face : CubeFaces(Size.X, Size.Y, Size.Z, PartSet, Normals)) {
        gl.Normal3f(face.Normal.X, face.Normal.Y, face.Normal.Z);
        for (const TCubeFaceVertex& corner : face.Corners) {
            xgl.TexCoord2f(corner.S, corner.T);
            gl.Vertex3f(corner.Position.X, corner.Position.Y, corner.Position.Z);
        }
    }
    gl.End();
}

Vector3f TGLCube::AxisAlignedDimensionsUnscaled() const
{
    return {Size.X / 2, Size.Y / 2, Size.Z / 2};
}

bool TGLCube::RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector, Vector4f* intersectPoint,
                               Vector4f* intersectNormal) const
{
    const Vector4f localStart = AbsoluteToLocal(PointMake(AffineOf(rayStart)));
    const Vector4f localVector = AbsoluteToLocal(DirectionMake(AffineOf(rayVector)));
    const std::optional<TCubeRayHit> hit =
        CubeRayCast(AffineOf(localStart), AffineOf(localVector), Size.X, Size.Y, Size.Z);
    if (!hit)
        return false;
    if (intersectPoint)
        *intersectPoint = LocalToAbsolute(PointMake(hit->Point));
    if (intersectNormal)
        *intersectNormal = Vector4Normalize(LocalToAbsolute(DirectionMake(hit->Normal)));
    return true;
}

void TGLCube::GenerateSilhouette(const TGLSilhouetteParameters& parameters, TGLSilhouette& silhouette) const
{
    TConnectivity connectivity;
    for (const TCubeFace& face : CubeFaces(Size.X, Size.Y, Size.Z, PartSet, TNormalDirection::ndOutside)) {
        const auto& c = face.Corners;
        // The connectivity takes a quad as the triangles a b d and d c a.
        connectivity.AddQuad(c[0].Position, c[1].Position, c[3].Position, c[2].Position);
    }
    connectivity.CreateSilhouette(parameters, silhouette, false);
}

std::unique_ptr<TGLBaseSceneObject> TGLCube::CreateNew() const
{
    return std::make_unique<TGLCube>();
}

void TGLCube::Assign(const TGLBaseSceneObject& source)
{
    const auto* other = dynamic_cast<const TGLCube*>(&source);
    if (other && other != this) {
        Size = other->Size;
        PartSet = other->PartSet;
        Normals = other->Normals;
        StructureChanged();
    }
    TGLSceneObject::Assign(source);
}
