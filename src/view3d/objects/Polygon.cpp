#include "view3d/objects/Polygon.h"

#include <algorithm>
#include <cmath>

#include "view3d/maths/VectorGeometry.h"
#include "view3d/objects/ChangeProperty.h"

std::unique_ptr<TGLBaseSceneObject> TGLPolygon::CreateNew() const { return std::make_unique<TGLPolygon>(); }

void TGLPolygon::Assign(const TGLBaseSceneObject& source)
{
    if (const auto* other = dynamic_cast<const TGLPolygon*>(&source); other && other != this)
        SetParts(other->PartsValue);
    TGLPolygonBase::Assign(source);
}

void TGLPolygon::SetParts(TPolygonParts value) { ChangeProperty(*this, PartsValue, value); }

void TGLPolygon::BuildList(TRenderContextInfo& /*rci*/)
{
    if (Nodes().Count() < 2)
        return;
    const bool curved = SplineMode() != TLineSplineMode::lsmLines && SplineMode() != TLineSplineMode::lsmSegments;
    const int segments = curved ? Division() : 0;
    const Vector3f normal = Nodes().Normal();
    if (PartsValue.ppTop)
        Nodes().RenderTesselatedPolygon(true, &normal, segments, false);
    if (PartsValue.ppBottom) {
        const Vector3f below = Vector3Negate(normal);
        Nodes().RenderTesselatedPolygon(true, &below, segments, true);
    }
}

Vector3f TGLPolygon::AxisAlignedDimensionsUnscaled() const
{
    Vector3f extents;
    for (int i = 0; i < Nodes().Count(); ++i) {
        const TGLNode& node = Nodes()[i];
        extents.X = std::max(extents.X, std::abs(node.X()));
        extents.Y = std::max(extents.Y, std::abs(node.Y()));
        extents.Z = std::max(extents.Z, std::abs(node.Z()));
    }
    return extents;
}
