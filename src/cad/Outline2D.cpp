#include "cad/Outline2D.h"

#include "cad/Geometry2D.h"

bool TOutline2D::IsClosed() const
{
    TProfileUse use(*this);
    const int count = ProfilePointCount();
    if (count < 3)
        return false;
    const TPointsSet2D& profile = ProfilePoints();
    return SamePoint2D(profile[count - 1], profile[0]);
}
