#pragma once

// A colour of the program's settings (0x00BBGGRR, or a negative value naming
// a system colour) as the four singles the scene draws with.

#include "cad/base/Settings.h"
#include "view3d/maths/VectorTypes.h"

Vector4f ConvertWinColor(TColor color, float alpha = 1.0f);
