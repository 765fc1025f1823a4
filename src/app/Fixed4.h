#pragma once

// A number with four decimals, held exactly as a count of ten-thousandths,
// so that steps such as 0.1 add up without the drift of binary floating
// point. Arithmetic saturates at the ends of the 64-bit range rather than
// wrapping, since the values come from text the user types.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class TFixed4 {
public:
    static constexpr std::int64_t UnitsPerOne = 10000;

    constexpr TFixed4() = default;
    static constexpr TFixed4 FromRaw(std::int64_t raw)
    {
        TFixed4 value;
        value.RawValue = raw;
        return value;
    }
    static TFixed4 FromInt(std::int64_t whole);
    // Nearest ten-thousandth; NaN gives 0.
    static TFixed4 FromDouble(double value);

    // Blanks, an optional sign, digits with at most one '.' (at least one
    // digit in all), blanks; '.' is the only decimal separator, whatever the
    // locale. Decimals past the fourth round to the nearest, ties to even.
    // None for any other text.
    static std::optional<TFixed4> Parse(std::string_view text);

    constexpr std::int64_t Raw() const { return RawValue; }
    double ToDouble() const;
    // The shortest text: no trailing zeros and no point for whole numbers ("-12.5", "90", "0.0001").
    std::string ToString() const;

    friend constexpr auto operator<=>(TFixed4, TFixed4) = default;
    friend TFixed4 operator+(TFixed4 a, TFixed4 b);
    friend TFixed4 operator-(TFixed4 a, TFixed4 b);

private:
    std::int64_t RawValue = 0;
};

// value held inside the limits: below min gives min, above max gives max.
// Limits that are equal mean no limits at all.
TFixed4 ClampToLimits(TFixed4 value, TFixed4 min, TFixed4 max);
