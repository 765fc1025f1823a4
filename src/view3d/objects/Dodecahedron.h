#pragma once

// A regular dodecahedron centred on the origin, with its corners on a sphere
// of radius 0.5: the solid marker drawn at the nodes of a line.

#include <array>

#include "view3d/maths/VectorTypes.h"

struct TDodecahedronFace {
    Vector3f Normal;
    // Counter-clockwise seen from outside.
    std::array<Vector3f, 5> Corners;
};

const std::array<TDodecahedronFace, 12>& DodecahedronFaces();
