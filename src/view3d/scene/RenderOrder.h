#pragma once

// The order in which a sorted range of children is drawn. Blended objects
// must come after the opaque ones, and far before near, or they hide what
// lies behind them.

#include <span>
#include <vector>

#include "view3d/notification/SortingAndCulling.h"

struct TRenderCandidate {
    int Index = 0;
    bool Blended = false;
    // From the camera to the object's absolute position.
    float SquaredDistance = 0.0f;
};

// The indices to draw, in drawing order: with osRenderBlendedLast the opaque
// ones in list order, then the blended farthest first; osRenderFarthestFirst
// and osRenderNearestFirst order all of them by distance; any other mode
// keeps the list order.
std::vector<int> ChildRenderOrder(TGLObjectsSorting sorting, std::span<const TRenderCandidate> candidates);
