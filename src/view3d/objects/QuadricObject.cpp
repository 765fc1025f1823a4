#include "view3d/objects/QuadricObject.h"

#include "view3d/objects/ChangeProperty.h"
#include "view3d/opengl/GLFunctions.h"

TGLQuadricObject::TGLQuadricObject(TGLNotifyObject* owner) : TGLSceneObject(owner) {}

void TGLQuadricObject::SetNormals(TNormalSmoothing value)
{
    ChangeProperty(*this, Smoothing, value);
}

void TGLQuadricObject::SetNormalDirection(TNormalDirection value)
{
    ChangeProperty(*this, Direction, value);
}

void TGLQuadricObject::SetupQuadricParams(GLUquadric* quadric) const
{
    const TGLFunctions& gl = GL();
    const GLenum normals = Smoothing == TNormalSmoothing::nsFlat     ? GLenum(GLU_FLAT)
                           : Smoothing == TNormalSmoothing::nsSmooth ? GLenum(GLU_SMOOTH)
                                                                     : GLenum(GLU_NONE);
    gl.GluQuadricNormals(quadric, normals);
    gl.GluQuadricOrientation(quadric, Direction == TNormalDirection::ndOutside ? GLU_OUTSIDE : GLU_INSIDE);
    gl.GluQuadricTexture(quadric, GL_TRUE);
}

std::unique_ptr<TGLBaseSceneObject> TGLQuadricObject::CreateNew() const
{
    return std::make_unique<TGLQuadricObject>();
}

void TGLQuadricObject::Assign(const TGLBaseSceneObject& source)
{
    const auto* other = dynamic_cast<const TGLQuadricObject*>(&source);
    if (other && other != this) {
        Smoothing = other->Smoothing;
        Direction = other->Direction;
        StructureChanged();
    }
    TGLSceneObject::Assign(source);
}
