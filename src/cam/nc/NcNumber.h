#pragma once

// Number text of NC words: fixed decimals or whole numbers in a post's
// format, always with '.', whatever the locale.

#include <string>

#include "cam/nc/PostSettings.h"

// The value with Format.Precision decimals, padded to Format.Width. A value
// that rounds to zero has no minus sign, so "-0.000" never differs from
// "0.000" when words are compared to leave out unchanged ones.
std::string FormatNcReal(double value, const TNumberFormat& format);

// The whole number with at least Format.Precision digits, padded to Format.Width.
std::string FormatNcInteger(long long value, const TNumberFormat& format);

// Trailing zeros after the decimal point are removed, the point stays:
// "1.500" gives "1.5", "2.000" gives "2."; a text without a point is kept.
std::string DelZero(std::string text);
