#pragma once

// Scalar routines of the 3D scene. Rounding to the nearest integer (halves to
// even) is the shared RoundSingle of cad/geometry/VectorMath3.h.

#include "cad/geometry/VectorMath3.h"

// base^exponent: exponent 0 gives 1, base 0 with a positive exponent gives 0,
// an integral exponent is done by repeated squaring, any other through log2.
float Power(float base, float exponent);
float IntPower(float base, int exponent);
float RSqrt(float value);
// Toward zero; out of range saturates and NaN gives 0.
int TruncSingle(float value);
int MaxInteger(int a, int b);
float ClampValue(float value, float minimum, float maximum);
// The argument is clamped to [-1, 1] first, so that rounding just past 1
// gives 0 and not NaN.
float ArcCosine(float x);
float Tangent(float angle);
void SinCos(float angle, float& sine, float& cosine);
// Degrees into [-180, 180].
float NormalizeDegAngle(float angle);
