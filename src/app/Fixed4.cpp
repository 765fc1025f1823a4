#include "app/Fixed4.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Builds a magnitude digit by digit, sticking at the largest value once it
// would leave the 64-bit range.
struct TMagnitude {
    std::uint64_t Value = 0;
    bool Saturated = false;

    void Push(int digit)
    {
        const auto limit = static_cast<std::uint64_t>(kMax);
        if (Saturated || Value > (limit - static_cast<std::uint64_t>(digit)) / 10) {
            Saturated = true;
            return;
        }
        Value = Value * 10 + static_cast<std::uint64_t>(digit);
    }
    void Increment()
    {
        if (!Saturated && Value == static_cast<std::uint64_t>(kMax))
            Saturated = true;
        else if (!Saturated)
            ++Value;
    }
    std::int64_t Signed(bool negative) const
    {
        const std::int64_t magnitude = Saturated ? kMax : static_cast<std::int64_t>(Value);
        return negative ? -magnitude : magnitude;
    }
};

} // namespace

TFixed4 TFixed4::FromInt(std::int64_t whole)
{
    std::int64_t raw = 0;
    if (__builtin_mul_overflow(whole, UnitsPerOne, &raw))
        raw = whole < 0 ? kMin : kMax;
    return FromRaw(raw);
}

TFixed4 TFixed4::FromDouble(double value)
{
    if (std::isnan(value))
        return TFixed4();
    const double scaled = value * static_cast<double>(UnitsPerOne);
    // 2^63 is the first double past the range; every double below it converts.
    if (scaled >= 9223372036854775808.0)
        return FromRaw(kMax);
    if (scaled <= -9223372036854775808.0)
        return FromRaw(kMin);
    return FromRaw(std::llround(scaled));
}

std::optional<TFixed4> TFixed4::Parse(std::string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';

    TMagnitude magnitude;
    int digits = 0;
    int decimals = 0;
    int roundingDigit = 0;    // the fifth decimal
    bool beyondRounding = false;  // a non-zero decimal after the fifth
    bool point = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9')
            break;
        const int digit = c - '0';
        ++digits;
        if (!point) {
            magnitude.Push(digit);
        } else if (decimals < 4) {
            magnitude.Push(digit);
            ++decimals;
        } else if (decimals == 4) {
            roundingDigit = digit;
            ++decimals;
        } else {
            beyondRounding = beyondRounding || digit != 0;
        }
    }
    while (i < n && IsBlank(text[i]))
        ++i;
    if (i != n || digits == 0)
        return std::nullopt;

    for (int d = std::min(decimals, 4); d < 4; ++d)
        magnitude.Push(0);
    const bool odd = (magnitude.Value & 1u) != 0;
    if (roundingDigit > 5 || (roundingDigit == 5 && (beyondRounding || odd)))
        magnitude.Increment();
    return FromRaw(magnitude.Signed(negative));
}

double TFixed4::ToDouble() const
{
    return static_cast<double>(RawValue) / static_cast<double>(UnitsPerOne);
}

std::string TFixed4::ToString() const
{
    const bool negative = RawValue < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(RawValue)
                                             : static_cast<std::uint64_t>(RawValue);
    const auto units = static_cast<std::uint64_t>(UnitsPerOne);
    std::string text = negative ? "-" : "";
    text += std::to_string(magnitude / units);
    const std::uint64_t fraction = magnitude % units;
    if (fraction != 0) {
        std::string decimals = std::to_string(fraction);
        decimals.insert(0, 4 - decimals.size(), '0');
        while (decimals.back() == '0')
            decimals.pop_back();
        text += '.';
        text += decimals;
    }
    return text;
}

TFixed4 operator+(TFixed4 a, TFixed4 b)
{
    std::int64_t raw = 0;
    if (__builtin_add_overflow(a.RawValue, b.RawValue, &raw))
        raw = b.RawValue < 0 ? kMin : kMax;
    return TFixed4::FromRaw(raw);
}

TFixed4 operator-(TFixed4 a, TFixed4 b)
{
    std::int64_t raw = 0;
    if (__builtin_sub_overflow(a.RawValue, b.RawValue, &raw))
        raw = b.RawValue < 0 ? kMax : kMin;
    return TFixed4::FromRaw(raw);
}

TFixed4 ClampToLimits(TFixed4 value, TFixed4 min, TFixed4 max)
{
    if (min == max)
        return value;
    if (value < min)
        return min;
    if (value > max)
        return max;
    return value;
}
