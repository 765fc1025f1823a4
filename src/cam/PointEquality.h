#pragma once

// EqualReals, EqualPoints and PointDistance written out inline, with the
// same arithmetic, for the loops that ask them once per corner, item or pair
// of elements: the library functions are out of line in cad.

#include <cmath>

#include "cad/geometry/CADBaseTypes.h"
#include "cad/geometry/VectorHelpers.h"

inline bool SameReal(double a, double b)
{
    const double d = b - a;
    return -REAL_EPSILON <= d && d <= REAL_EPSILON;
}

inline bool SamePoint(TVect a, TVect b)
{
    return SameReal(a.X, b.X) && SameReal(a.Y, b.Y);
}

inline double Distance(TVect a, TVect b)
{
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    return std::sqrt(dx * dx + dy * dy);
}
