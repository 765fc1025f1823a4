#include "view3d/objects/CylinderBase.h"

#include "view3d/objects/ChangeProperty.h"
#include "view3d/objects/ScopedQuadric.h"
#include "view3d/opengl/GLFunctions.h"

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

void TGLCylinderBase::SetBottomRadius(float value) { ChangeProperty(*this, BottomRadiusValue, value); }
void TGLCylinderBase::SetHeight(float value) { ChangeProperty(*this, HeightValue, value); }
void TGLCylinderBase::SetSlices(int value) { ChangeProperty(*this, SlicesValue, value); }
void TGLCylinderBase::SetStacks(int value) { ChangeProperty(*this, StacksValue, value); }
void TGLCylinderBase::SetLoops(int value) { ChangeProperty(*this, LoopsValue, value); }

void TGLCylinderBase::DrawWithQuadric(const std::function<void(GLUquadric*)>& draw) const
{
    TScopedQuadric quadric;
    if (!quadric.Get())
        return;
    SetupQuadricParams(quadric.Get());
    draw(quadric.Get());
}

void TGLCylinderBase::DrawStandingOnY(float bottomY, const std::function<void(GLUquadric*)>& draw) const
{
    DrawWithQuadric([&](GLUquadric* quadric) {
        GL().PushMatrix();
        GL().Rotatef(-90.0f, 1.0f, 0.0f, 0.0f);
        GL().Translatef(0.0f, 0.0f, bottomY);
        draw(quadric);
        GL().PopMatrix();
    });
}

void TGLCylinderBase::DrawRing(GLUquadric* quadric, float z, float innerRadius, float outerRadius,
                               bool facingDown) const
{
    GL().PushMatrix();
    GL().Translatef(0.0f, 0.0f, z);
    if (facingDown)
        GL().Rotatef(180.0f, 1.0f, 0.0f, 0.0f);
    GL().GluDisk(quadric, innerRadius, outerRadius, SlicesValue, LoopsValue);
    GL().PopMatrix();
}
