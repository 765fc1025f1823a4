#include "view3d/utility/GeometryBB.h"

#include <algorithm>
#include <cmath>

#include "view3d/maths/MatrixGeometry.h"

void AddBB(TAABB& box, const TAABB& other)
{
    IncludeInBB(box, other.Min);
    IncludeInBB(box, other.Max);
}

void SetBB(TAABB& box, const Vector3f& halfExtents)
{
    box.Max = {std::fabs(halfExtents.X), std::fabs(halfExtents.Y), std::fabs(halfExtents.Z)};
    box.Min = {-box.Max.X, -box.Max.Y, -box.Max.Z};
}

void BBTransform(TAABB& box, const Matrix4f& m)
{
    const TAABB source = box;
    for (int corner = 0; corner < 8; ++corner) {
        const Vector3f point{(corner & 1) ? source.Max.X : source.Min.X, (corner & 2) ? source.Max.Y : source.Min.Y,
                             (corner & 4) ? source.Max.Z : source.Min.Z};
        const Vector3f moved = VectorTransform(point, m);
        if (corner == 0)
            box = {moved, moved};
        else
            IncludeInBB(box, moved);
    }
}

void ScaleBB(TAABB& box, const Vector3f& factor)
{
    box.Min = {box.Min.X * factor.X, box.Min.Y * factor.Y, box.Min.Z * factor.Z};
    box.Max = {box.Max.X * factor.X, box.Max.Y * factor.Y, box.Max.Z * factor.Z};
}

void IncludeInBB(TAABB& box, const Vector3f& point)
{
    box.Min = {std::min(box.Min.X, point.X), std::min(box.Min.Y, point.Y), std::min(box.Min.Z, point.Z)};
    box.Max = {std::max(box.Max.X, point.X), std::max(box.Max.Y, point.Y), std::max(box.Max.Z, point.Z)};
}
