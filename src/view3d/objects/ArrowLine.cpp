#include "view3d/objects/ArrowLine.h"

#include <algorithm>
#include <cmath>

#include "view3d/objects/ChangeProperty.h"
#include "view3d/opengl/GLFunctions.h"

TGLArrowLine::TGLArrowLine(TGLNotifyObject* owner) : TGLCylinderBase(owner)
{
    BottomRadiusValue = 0.1f;
}

std::unique_ptr<TGLBaseSceneObject> TGLArrowLine::CreateNew() const { return std::make_unique<TGLArrowLine>(); }

void TGLArrowLine::Assign(const TGLBaseSceneObject& source)
{
    if (const auto* other = dynamic_cast<const TGLArrowLine*>(&source); other && other != this) {
        TopRadiusValue = other->TopRadiusValue;
        TopArrowHeadRadiusValue = other->TopArrowHeadRadiusValue;
        TopArrowHeadHeightValue = other->TopArrowHeadHeightValue;
        BottomArrowHeadRadiusValue = other->BottomArrowHeadRadiusValue;
        BottomArrowHeadHeightValue = other->BottomArrowHeadHeightValue;
        HeadStackingStyleValue = other->HeadStackingStyleValue;
        PartsValue = other->PartsValue;
        StructureChanged();
    }
    TGLCylinderBase::Assign(source);
}

void TGLArrowLine::SetTopRadius(float value) { ChangeProperty(*this, TopRadiusValue, value); }
void TGLArrowLine::SetTopArrowHeadRadius(float value) { ChangeProperty(*this, TopArrowHeadRadiusValue, value); }
void TGLArrowLine::SetTopArrowHeadHeight(float value) { ChangeProperty(*this, TopArrowHeadHeightValue, value); }
void TGLArrowLine::SetBottomArrowHeadRadius(float value)
{
    ChangeProperty(*this, BottomArrowHeadRadiusValue, value);
}
void TGLArrowLine::SetBottomArrowHeadHeight(float value)
{
    ChangeProperty(*this, BottomArrowHeadHeightValue, value);
}
void TGLArrowLine::SetHeadStackingStyle(TArrowHeadStackingStyle value)
{
    ChangeProperty(*this, HeadStackingStyleValue, value);
}
void TGLArrowLine::SetParts(TArrowLineParts value) { ChangeProperty(*this, PartsValue, value); }

TArrowLineLayout TGLArrowLine::Layout() const
{
    return ArrowLineLayout(HeightValue, TopArrowHeadHeightValue, BottomArrowHeadHeightValue, HeadStackingStyleValue,
                           PartsValue.alTopArrow, PartsValue.alBottomArrow);
}

void TGLArrowLine::BuildList(TRenderContextInfo& /*rci*/)
{
    const TArrowLineLayout layout = Layout();
    DrawWithQuadric([&](GLUquadric* quadric) {
        if (PartsValue.alLine) {
            GL().PushMatrix();
            GL().Translatef(0.0f, 0.0f, layout.LineBottom);
            GL().GluCylinder(quadric, BottomRadiusValue, TopRadiusValue, layout.LineTop - layout.LineBottom,
                             SlicesValue, StacksValue);
            GL().PopMatrix();
            // An end without a head is closed flat.
            if (!PartsValue.alBottomArrow)
                DrawRing(quadric, layout.LineBottom, 0.0f, BottomRadiusValue, true);
            if (!PartsValue.alTopArrow)
                DrawRing(quadric, layout.LineTop, 0.0f, TopRadiusValue, false);
        }
        if (PartsValue.alTopArrow) {
            GL().PushMatrix();
            GL().Translatef(0.0f, 0.0f, layout.TopHeadBase);
            GL().GluCylinder(quadric, TopArrowHeadRadiusValue, 0.0, TopArrowHeadHeightValue, SlicesValue,
                             StacksValue);
            GL().PopMatrix();
            DrawRing(quadric, layout.TopHeadBase, 0.0f, TopArrowHeadRadiusValue, true);
        }
        if (PartsValue.alBottomArrow) {
            GL().PushMatrix();
            GL().Translatef(0.0f, 0.0f, layout.BottomHeadBase);
            GL().Rotatef(180.0f, 1.0f, 0.0f, 0.0f);
            GL().GluCylinder(quadric, BottomArrowHeadRadiusValue, 0.0, BottomArrowHeadHeightValue, SlicesValue,
                             StacksValue);
            GL().PopMatrix();
            DrawRing(quadric, layout.BottomHeadBase, 0.0f, BottomArrowHeadRadiusValue, false);
        }
    });
}

Vector3f TGLArrowLine::AxisAlignedDimensionsUnscaled() const
{
    const TArrowLineLayout layout = Layout();
    float radius = 0.0f;
    float length = 0.0f;
    if (PartsValue.alLine) {
        radius = std::max(std::abs(BottomRadiusValue), std::abs(TopRadiusValue));
        length = std::max(std::abs(layout.LineBottom), std::abs(layout.LineTop));
    }
    if (PartsValue.alTopArrow) {
        radius = std::max(radius, std::abs(TopArrowHeadRadiusValue));
        length = std::max({length, std::abs(layout.TopHeadBase), std::abs(layout.TopHeadTip)});
    }
    if (PartsValue.alBottomArrow) {
        radius = std::max(radius, std::abs(BottomArrowHeadRadiusValue));
        length = std::max({length, std::abs(layout.BottomHeadBase), std::abs(layout.BottomHeadTip)});
    }
    return {radius, radius, length};
}
