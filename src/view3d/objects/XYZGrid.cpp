#include "view3d/objects/XYZGrid.h"

#include "view3d/objects/ChangeProperty.h"
#include "view3d/opengl/GLFunctions.h"

TGLXYZGrid::TGLXYZGrid(TGLNotifyObject* owner) : TGLLineBase(owner), XScale(this), YScale(this), ZScale(this) {}

std::unique_ptr<TGLBaseSceneObject> TGLXYZGrid::CreateNew() const { return std::make_unique<TGLXYZGrid>(); }

void TGLXYZGrid::Assign(const TGLBaseSceneObject& source)
{
    if (const auto* other = dynamic_cast<const TGLXYZGrid*>(&source); other && other != this) {
        XScale.Assign(other->XScale);
        YScale.Assign(other->YScale);
        ZScale.Assign(other->ZScale);
        SetParts(other->PartsValue);
        SetLinesStyle(other->LinesStyleValue);
    }
    TGLLineBase::Assign(source);
}

void TGLXYZGrid::SetParts(TXYZGridParts value) { ChangeProperty(*this, PartsValue, value); }
void TGLXYZGrid::SetLinesStyle(TXYZGridLinesStyle value) { ChangeProperty(*this, LinesStyleValue, value); }

void TGLXYZGrid::NotifyChange(TGLNotifyObject* sender)
{
    if (sender == &XScale || sender == &YScale || sender == &ZScale)
        StructureChanged();
    else
        TGLLineBase::NotifyChange(sender);
}

void TGLXYZGrid::BuildList(TRenderContextInfo& /*rci*/)
{
    SetupLineStyle();
    for (const std::vector<Vector3f>& strip : XYZGridLineStrips(XScale, YScale, ZScale, PartsValue, LinesStyleValue)) {
        GL().Begin(GL_LINE_STRIP);
        for (const Vector3f& point : strip)
            GL().Vertex3fv(&point.X);
        GL().End();
    }
    RestoreLineStyle();
}
