#include "view3d/objects/CylinderBase.h"

#include "view3d/objects/ShapeProperty.h"

std::unique_ptr<TGLBaseSceneObject> TGLCylinderBase::CreateNew() const { return std::make_unique<TGLCylinderBase>(); }

void TGLCylinderBase::Assign(const TGLBaseSceneObject& source)
{
    if (const auto* other = dynamic_cast<const TGLCylinderBase*>(&source); other && other != this) {
        BottomRadiusValue = other->BottomRadiusValue;
        HeightValue = other->HeightValue;
        SlicesValue = other->SlicesValue;
        StacksValue = other->StacksValue;
        LoopsValue = other->LoopsValue;
        StructureChanged();
    }
    TGLQuadricObject::Assign(source);
}

void TGLCylinderBase::SetBottomRadius(float value) { SetShapeProperty(*this, BottomRadiusValue, value); }
void TGLCylinderBase::SetHeight(float value) { SetShapeProperty(*this, HeightValue, value); }
void TGLCylinderBase::SetSlices(int value) { SetShapeProperty(*this, SlicesValue, value); }
void TGLCylinderBase::SetStacks(int value) { SetShapeProperty(*this, StacksValue, value); }
void TGLCylinderBase::SetLoops(int value) { SetShapeProperty(*this, LoopsValue, value); }
