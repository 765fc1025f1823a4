#pragma once

// The base of shapes drawn with a GLU quadric: how their normals are made
// and which way they face.

#include <GL/glu.h>

#include "view3d/objects/NormalDirection.h"
#include "view3d/scene/CustomSceneObject.h"

enum class TNormalSmoothing { nsFlat, nsSmooth, nsNone };

class TGLQuadricObject : public TGLSceneObject {
public:
    explicit TGLQuadricObject(TGLNotifyObject* owner = nullptr);

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    TNormalSmoothing Normals() const { return Smoothing; }
    void SetNormals(TNormalSmoothing value);
    TNormalDirection NormalDirection() const { return Direction; }
    void SetNormalDirection(TNormalDirection value);

protected:
    // The quadric's normal and orientation modes and its texture flag.
    void SetupQuadricParams(GLUquadric* quadric) const;

private:
    TNormalSmoothing Smoothing = TNormalSmoothing::nsSmooth;
    TNormalDirection Direction = TNormalDirection::ndOutside;
};
