#include "view3d/persistence/ExtendedFloat.h"

#include <cmath>

namespace {

constexpr int ExponentBias = 16383;
constexpr int MaximumExponent = 0x7FFF;
constexpr std::uint64_t IntegerBit = std::uint64_t{1} << 63;

} // namespace

TExtendedBytes EncodeExtended(double value)
{
    std::uint64_t mantissa = 0;
    int exponent = 0;
    if (std::isnan(value)) {
        exponent = MaximumExponent;
        mantissa = IntegerBit | (std::uint64_t{1} << 62);
    } else if (std::isinf(value)) {
        exponent = MaximumExponent;
        mantissa = IntegerBit;
    } else if (value != 0.0) {
        int binaryExponent = 0;
        // |fraction| in [0.5, 1): its 53 bits move to the top of the 64.
        const double fraction = std::frexp(std::fabs(value), &binaryExponent);
        mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
        exponent = binaryExponent - 1 + ExponentBias;
    }
    const unsigned signAndExponent = (std::signbit(value) ? 0x8000u : 0u) | static_cast<unsigned>(exponent);
    TExtendedBytes bytes{};
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    bytes[8] = static_cast<std::uint8_t>(signAndExponent);
    bytes[9] = static_cast<std::uint8_t>(signAndExponent >> 8);
    return bytes;
}

double DecodeExtended(const TExtendedBytes& bytes)
{
    std::uint64_t mantissa = 0;
    for (int i = 0; i < 8; ++i)
        mantissa |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    const unsigned signAndExponent = bytes[8] | (static_cast<unsigned>(bytes[9]) << 8);
    const bool negative = (signAndExponent & 0x8000u) != 0;
    const int exponent = static_cast<int>(signAndExponent & 0x7FFFu);
    double magnitude = 0.0;
    if (exponent == MaximumExponent) {
        magnitude = (mantissa << 1) == 0 ? HUGE_VAL : std::nan("");
    } else {
        // Denormals (exponent 0) share the exponent of the smallest normal.
        const int unbiased = (exponent == 0 ? 1 : exponent) - ExponentBias;
        // The conversion rounds the 64 bits to 53, to nearest; ldexp then only scales.
        magnitude = std::ldexp(static_cast<double>(mantissa), unbiased - 63);
    }
    return negative ? -magnitude : magnitude;
}
