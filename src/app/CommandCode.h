#pragma once

// The code of the last command started. Enter and the middle mouse button
// repeat that command, so the two special values below stop a repeat.

#include <cstdint>

extern std::int32_t CommandCode;

inline constexpr std::int32_t kCommandCancelled = 12;  // Esc or Cancel: nothing to repeat
inline constexpr std::int32_t kCommandNone = 999;      // no command since start-up or after a non-drawing one
