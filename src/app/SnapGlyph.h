#pragma once

// The picture of the snap button shows the object-snap mode and whether
// points also snap to the grid.

#include <cstdint>

#include "cad/engine/EngineGlobals.h"

// Index in the snap button's image list: the mode's own number (7 when
// object snap is off), plus one when grid snap is on.
constexpr int SnapGlyphIndex(std::int32_t snapMode, bool gridSnap)
{
    return (snapMode == SNAP_OFF ? 7 : snapMode) + (gridSnap ? 1 : 0);
}
