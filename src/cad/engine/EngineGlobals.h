#pragma once

// Switches that the main window and the command framework set and the
// interaction engine reads when it snaps a point to the drawing's objects.

#include <cstdint>

// 0 off, 9 end point, 11 midpoint, 13 centre, 15 point, 17 automatic.
extern std::int32_t SnapMode;
// Set while a command that enters points runs; object snap applies only then.
extern bool ObjectSnapActive;

inline constexpr std::int32_t SNAP_OFF = 0;
inline constexpr std::int32_t SNAP_ENDPOINT = 9;
inline constexpr std::int32_t SNAP_MIDPOINT = 11;
inline constexpr std::int32_t SNAP_CENTRE = 13;
inline constexpr std::int32_t SNAP_POINT = 15;
inline constexpr std::int32_t SNAP_AUTO = 17;

// How the transform tasks apply: copies of the selection (TransformRepeat of
// them, each carrying the transform once more) or the selection itself.
extern bool TransformCopyMode;
extern std::int32_t TransformRepeat;
