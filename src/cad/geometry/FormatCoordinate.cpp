#include "cad/geometry/FormatCoordinate.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <string_view>

#include "cad/base/Settings.h"

namespace {

constexpr int MaxPrecision = 40;

// The precision of the "%[flags][width][.precision]f" conversion in a format
// such as "%0.3f": printf's 6 when none is written, -1 when there is no conversion.
int FormatPrecision(std::string_view format)
{
    std::size_t i = format.find('%');
    if (i == std::string_view::npos)
        return -1;
    ++i;
    while (i < format.size() && std::string_view("-+ #0123456789").find(format[i]) != std::string_view::npos)
        ++i;
    if (i >= format.size() || format[i] != '.')
        return 6;
    int precision = 0;
    for (++i; i < format.size() && format[i] >= '0' && format[i] <= '9'; ++i)
        precision = std::min(MaxPrecision, precision * 10 + (format[i] - '0'));
    return precision;
}

} // namespace

std::string FormatCoordinate(float value)
{
    const int precision = FormatPrecision(DisplayFormat);
    if (precision < 0)
        return {};
    // Room for the 39 integer digits of the largest float, sign, point and decimals.
    std::array<char, 48 + MaxPrecision> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, precision);
    if (error != std::errc())
        return {};
    std::string text(buffer.data(), end);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    // A tiny negative value rounds to zero; a coordinate never reads "-0".
    if (text == "-0")
        text = "0";
    return text;
}
