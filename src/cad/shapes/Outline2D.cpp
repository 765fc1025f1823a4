#include "cad/shapes/Outline2D.h"

#include "cad/geometry/Geometry2D.h"

bool TOutline2D::IsClosed() const
{
    TProfileUse use(*this);
    const int count = ProfilePointCount();
    if (count < 3)
        return false;
    const TPointsSet2D& profile = ProfilePoints();
    return SamePoint2D(profile[count - 1], profile[0]);
}
