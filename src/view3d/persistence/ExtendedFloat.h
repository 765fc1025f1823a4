#pragma once

// The 10-byte extended-precision float of the archives: a 64-bit mantissa
// with an explicit integer bit, then 15 bits of exponent (bias 16383) and the
// sign, little-endian. Written by hand because long double has this layout
// only with some compilers on some processors.

#include <array>
#include <cstdint>

using TExtendedBytes = std::array<std::uint8_t, 10>;

// Exact: every double has an extended twin.
TExtendedBytes EncodeExtended(double value);
// Rounded to the nearest double; beyond its range gives infinity or zero.
double DecodeExtended(const TExtendedBytes& bytes);
