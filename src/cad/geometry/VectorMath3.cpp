#include "cad/geometry/VectorMath3.h"

#include <climits>
#include <cmath>

namespace {

// The single-precision conversion factors the 3D unit keeps.
constexpr float PiDiv180 = 0.017453292519943295769f;
constexpr float C180DivPi = 57.295779513082320877f;

} // namespace

TVector3 Vector3Add(TVector3 a, TVector3 b)
{
    return {a.X + b.X, a.Y + b.Y, a.Z + b.Z};
}

TVector3 Vector3Subtract(TVector3 a, TVector3 b)
{
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}

TVector3 Vector3Scale(TVector3 v, float factor)
{
    return {v.X * factor, v.Y * factor, v.Z * factor};
}

float Vector3Length(TVector3 v)
{
    const double x = v.X;
    const double y = v.Y;
    const double z = v.Z;
    return static_cast<float>(std::sqrt(x * x + y * y + z * z));
}

float Vector3Distance(TVector3 a, TVector3 b)
{
    return Vector3Length(Vector3Subtract(a, b));
}

long double DegToRadExtended(long double degrees)
{
    return degrees * 0.017453292519943295769L;
}

long double RadToDegExtended(long double radians)
{
    return radians * 57.295779513082320877L;
}

float DegToRadSingle(float degrees)
{
    return degrees * PiDiv180;
}

float RadToDegSingle(float radians)
{
    return radians * C180DivPi;
}

long double ArcTangent2Extended(long double y, long double x)
{
    return std::atan2(y, x);
}

float ArcTangent2Single(float y, float x)
{
    return static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x)));
}

int RoundSingle(float value)
{
    // nearbyint follows the default rounding mode: nearest, halves to even.
    const double rounded = std::nearbyint(static_cast<double>(value));
    // Out of range and NaN would be undefined in the conversion; saturate instead.
    if (std::isnan(rounded))
        return 0;
    if (rounded >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (rounded <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(rounded);
}
