#pragma once

// The arithmetic of moving around the views: the Ctrl-drag zoom decision of
// the 2D view, and the camera that frames the whole toolpath in the 3D view.

#include <optional>

#include "cad/geometry/VectorMath3.h"

// The box the NC toolpath occupies, Z limits included.
struct TNcExtent {
    TVector3 Min;
    TVector3 Max;
};

// What the 3D autozoom sets: the target cube's and the camera's positions,
// the scene scale and the depth of view.
struct TCamera3D {
    TVector3 Cube;
    TVector3 Camera;
    float SceneScale = 1.0f;
    float DepthOfView = 100.0f;
};

// The camera that frames the extent, keeping its direction towards the
// cube. None when the extent's diagonal is not a finite length above 0 (no
// toolpath yet) or the old camera sits on its cube: both would leave the
// camera at an infinite or undefined place.
std::optional<TCamera3D> Autozoom3D(const TNcExtent& extent, TVector3 camera, TVector3 cube);

enum class TDragZoom { None, In, Out };

// A pointer more than 20 pixels from where the last step left it zooms once:
// in when it went left, out otherwise.
TDragZoom CtrlDragZoom(int lastX, int lastY, int x, int y);
