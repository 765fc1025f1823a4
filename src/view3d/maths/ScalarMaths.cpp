#include "view3d/maths/ScalarMaths.h"

#include <algorithm>
#include <climits>
#include <cmath>

float Power(float base, float exponent)
{
    if (exponent == 0.0f)
        return 1.0f;
    if (base == 0.0f && exponent > 0.0f)
        return 0.0f;
    const double whole = std::trunc(static_cast<double>(exponent));
    if (whole == exponent && std::fabs(whole) <= static_cast<double>(INT_MAX))
        return IntPower(base, static_cast<int>(whole));
    return static_cast<float>(std::exp2(exponent * std::log2(static_cast<double>(base))));
}

float IntPower(float base, int exponent)
{
    // Unsigned, so that the magnitude of INT_MIN fits.
    unsigned int n = exponent < 0 ? 0u - static_cast<unsigned int>(exponent) : static_cast<unsigned int>(exponent);
    double factor = base;
    double result = 1.0;
    while (n != 0) {
        if (n & 1u)
            result *= factor;
        factor *= factor;
        n >>= 1;
    }
    return static_cast<float>(exponent < 0 ? 1.0 / result : result);
}

float RSqrt(float value)
{
    return static_cast<float>(1.0 / std::sqrt(static_cast<double>(value)));
}

int TruncSingle(float value)
{
    // A whole number rounds to itself; RoundSingle saturates what an int cannot hold.
    return RoundSingle(std::trunc(value));
}

int MaxInteger(int a, int b)
{
    return std::max(a, b);
}

float ClampValue(float value, float minimum, float maximum)
{
    if (value < minimum)
        return minimum;
    if (value > maximum)
        return maximum;
    return value;
}

float ArcCosine(float x)
{
    return static_cast<float>(std::acos(std::clamp(static_cast<double>(x), -1.0, 1.0)));
}

float Tangent(float angle)
{
    return static_cast<float>(std::tan(static_cast<double>(angle)));
}

void SinCos(float angle, float& sine, float& cosine)
{
    sine = static_cast<float>(std::sin(static_cast<double>(angle)));
    cosine = static_cast<float>(std::cos(static_cast<double>(angle)));
}

float NormalizeDegAngle(float angle)
{
    const double x = angle;
    double r = x - std::trunc(x / 360.0) * 360.0;
    if (r > 180.0)
        r -= 360.0;
    else if (r < -180.0)
        r += 360.0;
    return static_cast<float>(r);
}
