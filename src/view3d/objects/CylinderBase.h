#pragma once

// The sizes and subdivisions shared by the shapes built from GLU cylinders
// and disks.

#include <functional>

#include "view3d/objects/QuadricObject.h"

class TGLCylinderBase : public TGLQuadricObject {
public:
    using TGLQuadricObject::TGLQuadricObject;

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    float BottomRadius() const { return BottomRadiusValue; }
    float Height() const { return HeightValue; }
    int Slices() const { return SlicesValue; }
    int Stacks() const { return StacksValue; }
    int Loops() const { return LoopsValue; }
    void SetBottomRadius(float value);
    void SetHeight(float value);
    void SetSlices(int value);
    void SetStacks(int value);
    void SetLoops(int value);

protected:
    // Draws with a quadric set up from the object; nothing when GLU has none to give.
    void DrawWithQuadric(const std::function<void(GLUquadric*)>& draw) const;
    // The same in GLU's frame turned so that its +Z runs up the local Y
    // axis, with z = 0 at bottomY.
    void DrawStandingOnY(float bottomY, const std::function<void(GLUquadric*)>& draw) const;
    // A flat ring at height z of GLU's frame, facing +Z or, facingDown, -Z.
    void DrawRing(GLUquadric* quadric, float z, float innerRadius, float outerRadius, bool facingDown) const;

    float BottomRadiusValue = 0.5f;
    float HeightValue = 1.0f;
    int SlicesValue = 16;
    int StacksValue = 4;
    int LoopsValue = 1;
};
