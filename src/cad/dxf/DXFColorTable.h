#pragma once

// The 256 colours of the DXF colour numbers, as layer pens take them.

#include <array>

#include "cad/base/Settings.h"

// Built on first use; index = the DXF colour number.
const std::array<TColor, 256>& DxfColorTable();

// The pen colour of a layer's colour number: its magnitude (a negative number
// marks a layer switched off), rounded; numbers beyond the table give entry 7.
TColor DxfLayerColor(double colourNumber);
