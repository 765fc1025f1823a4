#pragma once

// A box of CubeWidth x CubeHeight x CubeDepth centred on its position, any
// of whose six faces may be left out, with its material.

#include "view3d/objects/CubeGeometry.h"
#include "view3d/scene/CustomSceneObject.h"
#include "view3d/utility/Silhouette.h"

class TGLCube : public TGLSceneObject {
public:
    explicit TGLCube(TGLNotifyObject* owner = nullptr);

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    float CubeWidth() const { return Size.X; }
    float CubeHeight() const { return Size.Y; }
    float CubeDepth() const { return Size.Z; }
    void SetCubeWidth(float value);
    void SetCubeHeight(float value);
    void SetCubeDepth(float value);
    TCubeParts Parts() const { return PartSet; }
    void SetParts(TCubeParts value);
    TNormalDirection NormalDirection() const { return Normals; }
    void SetNormalDirection(TNormalDirection value);

    // One batch of quads, each corner with its texture coordinate.
    void BuildList(TRenderContextInfo& rci) override;
    Vector3f AxisAlignedDimensionsUnscaled() const override;
    // Where the ray enters the box, with that face's outward normal.
    bool RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector, Vector4f* intersectPoint = nullptr,
                          Vector4f* intersectNormal = nullptr) const override;
    // Of the faces present, seen as the parameters say.
    // Into the given silhouette, emptied first.
    void GenerateSilhouette(const TGLSilhouetteParameters& parameters, TGLSilhouette& silhouette) const override;

private:
    void SetSize(float Vector3f::*axis, float value);

    Vector3f Size{1.0f, 1.0f, 1.0f};
    TCubeParts PartSet = TCubeParts::All();
    TNormalDirection Normals = TNormalDirection::ndOutside;
};
