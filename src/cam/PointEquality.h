#pragma once

// EqualPoints written out inline, with the same arithmetic, for the loops
// that ask it once per corner, item or pair of elements: the library
// function is out of line in cad.

#include "cad/geometry/CADBaseTypes.h"
#include "cad/geometry/VectorHelpers.h"

inline bool SamePoint(TVect a, TVect b)
{
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    return -REAL_EPSILON <= dx && dx <= REAL_EPSILON && -REAL_EPSILON <= dy && dy <= REAL_EPSILON;
}
