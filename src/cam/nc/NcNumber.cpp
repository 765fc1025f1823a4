#include "cam/nc/NcNumber.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

std::string Padded(std::string text, const TNumberFormat& format)
{
    const std::size_t width = static_cast<std::size_t>(format.Width);
    if (text.size() >= width)
        return text;
    const std::size_t fill = width - text.size();
    if (!format.ZeroPad)
        return std::string(fill, ' ') + text;
    // Zeros go between the sign and the digits, as printf puts them.
    const std::size_t digits = text.starts_with('-') ? 1 : 0;
    return text.insert(digits, fill, '0');
}

} // namespace

std::string FormatNcReal(double value, const TNumberFormat& format)
{
    // Room for the 309 integer digits of the largest double, sign, point and decimals.
    char buffer[340];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, format.Precision);
    std::string text = error == std::errc() ? std::string(buffer, end) : std::string("0");
    if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return Padded(std::move(text), format);
}

std::string FormatNcInteger(long long value, const TNumberFormat& format)
{
    std::string digits = std::to_string(value < 0 ? -static_cast<unsigned long long>(value)
                                                  : static_cast<unsigned long long>(value));
    const std::size_t precision = static_cast<std::size_t>(format.Precision);
    if (digits.size() < precision)
        digits.insert(0, precision - digits.size(), '0');
    return Padded(value < 0 ? "-" + digits : digits, format);
}

std::string DelZero(std::string text)
{
    if (text.find('.') == std::string::npos)
        return text;
    while (text.back() == '0')
        text.pop_back();
    return text;
}
