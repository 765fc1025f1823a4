#pragma once

// Where the camera goes for the Z-depth window's four views: at its present
// distance from the world origin, looking at its target from above, from the
// front (-Y), from the side (+X) or along the diagonal (+X, -Y, +Z).

#include "cad/geometry/VectorMath3.h"

enum class TViewPreset { Top, Front, Side, Iso };

// The camera's new position. The top view stands a ten-thousandth of the
// distance towards -Y off the target's vertical, so that the camera's up
// axis (+Z) never lies along its view direction.
TVector3 PresetCameraPosition(TViewPreset preset, TVector3 camera, TVector3 target);
