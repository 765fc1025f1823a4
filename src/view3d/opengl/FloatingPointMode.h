#pragma once

// The 3D view divides by zero and overflows on purpose and relies on
// infinities and NaNs instead of traps.

// Masks every floating-point exception and rounds to nearest, for the whole
// process; run once at start-up, before any window exists.
void InitializeFloatingPointMode();
// Every floating-point exception is masked and rounding is to nearest.
bool FloatingPointModeIsSet();
