#pragma once

// The sizes and subdivisions shared by the shapes built from GLU cylinders
// and disks.

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
    float BottomRadiusValue = 0.5f;
    float HeightValue = 1.0f;
    int SlicesValue = 16;
    int StacksValue = 4;
    int LoopsValue = 1;
};
