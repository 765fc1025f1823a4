#pragma once

// The points of a smooth line through nodes, as the line object draws it in
// its cubic-spline mode.

#include <vector>

#include "view3d/maths/VectorTypes.h"

struct TLineSample {
    Vector3f Position;
    Vector4f Color;
};

// A cubic spline through `nodes` sampled at (n - 1) x division + 1 equal steps
// of 1 / division of the node parameter. Each sample's colour runs linearly
// between the two neighbouring nodes' colours (the last node's at the end);
// without colours every sample is left transparent black. `colors` is
// empty or holds one colour per node.
std::vector<TLineSample> SampleCubicSpline(const std::vector<Vector3f>& nodes, const std::vector<Vector4f>& colors,
                                           int division);
