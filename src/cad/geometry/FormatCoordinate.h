#pragma once

#include <string>

// The value in the display format, without trailing zeros or a trailing point.
// Always uses '.', whatever the locale.
std::string FormatCoordinate(float value);
