#pragma once

#include <gtest/gtest.h>

#include "cad/geometry/Geometry2D.h"

namespace cadtest {

// Compares the point's Cartesian form, so a homogeneous result can be checked directly.
inline void ExpectPointNear(TPoint2D actual, float x, float y, float tolerance = 1e-5f)
{
    const TPoint2D p = CartesianPoint2D(actual);
    EXPECT_NEAR(p.X, x, tolerance);
    EXPECT_NEAR(p.Y, y, tolerance);
}

} // namespace cadtest
