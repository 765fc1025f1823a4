#pragma once

// The colours of the desktop's elements (window, button face, highlight,
// ...) by their system index, as 0x00BBGGRR values.

#include <cstdint>

// Index 15 is the button face. An index the desktop does not know gives black.
std::uint32_t GetSysColor(int index);
