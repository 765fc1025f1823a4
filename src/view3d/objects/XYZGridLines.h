#pragma once

// The lines of an XYZ grid, worked out from its three sampling scales.

#include <vector>

#include "view3d/maths/VectorTypes.h"

class TGLSamplingScale;

struct TXYZGridParts {
    bool gpX = true;
    bool gpY = true;
    bool gpZ = false;
    bool operator==(const TXYZGridParts&) const = default;
};

enum class TXYZGridLinesStyle { glsLine, glsSegments };

// For each part (X, then Y, then Z) one line strip parallel to its axis per
// pair of values of the other two axes; an axis that is not a part stays at
// its Origin. With glsSegments a strip has a vertex at every step of its
// own axis, with glsLine only at its Min and Max.
std::vector<std::vector<Vector3f>> XYZGridLineStrips(const TGLSamplingScale& x, const TGLSamplingScale& y,
                                                     const TGLSamplingScale& z, TXYZGridParts parts,
                                                     TXYZGridLinesStyle style);
