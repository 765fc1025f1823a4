#include "app/RulerMarks.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace {

constexpr int kMajorTickEnd = 10;
constexpr int kHalfTickEnd = 7;
constexpr int kMinorTickEnd = 5;
constexpr int kMinorTicksPerMajor = 11;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

} // namespace

std::string RulerLabelText(double value)
{
    if (value == 0.0)
        value = 0.0;  // no "-0" for a zero row scaled by a negative step
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

TRulerMarks ComputeRulerMarks(int width, int height, const TRulerScale& scale)
{
    TRulerMarks marks;
    const bool left = scale.Edge == TRulerEdge::Left;
    // The right edge mirrors the left: ticks from width - 2 inward, labels at width - 20.
    const int edgeX = left ? 1 : width - 2;
    const auto endX = [&](int end) { return left ? end : width - end; };
    marks.LabelX = left ? 11 : width - 20;
    if (scale.Factor < 1)
        return marks;

    const std::int64_t major = static_cast<std::int64_t>(scale.Factor) * 10;
    // Only the major ticks that lie on the ruler; the ones outside draw nothing that shows.
    const std::int64_t first = CeilDiv(-static_cast<std::int64_t>(scale.Offset), major);
    const std::int64_t last = FloorDiv(static_cast<std::int64_t>(height) - scale.Offset, major);

    const auto addMajor = [&](std::int64_t s, int y) {
        marks.Ticks.push_back({y, edgeX, endX(kMajorTickEnd)});
        if (scale.ShowText)
            marks.Labels.push_back(
                {marks.LabelX, y - 4, RulerLabelText(static_cast<double>(s) * scale.TextIncrement)});
    };
    const auto addTick = [&](std::int64_t y, int end) {
        if (y >= 0 && y <= height)
            marks.Ticks.push_back({static_cast<int>(y), edgeX, endX(end)});
    };
    const auto addMinors = [&](int y, int direction) {
        addTick(y + direction * major / 2, kHalfTickEnd);
        for (int i = 0; i < kMinorTicksPerMajor; ++i)
            addTick(y + std::int64_t{direction} * i * scale.Factor, kMinorTickEnd);
    };

    for (std::int64_t s = std::max<std::int64_t>(first, 0); s <= last; ++s) {
        const int y = static_cast<int>(scale.Offset + s * major);
        addMajor(s, y);
        addMinors(y, 1);
    }
    for (std::int64_t s = std::min<std::int64_t>(last, 0); s >= first; --s) {
        const int y = static_cast<int>(scale.Offset + s * major);
        if (s != 0)  // the zero mark and its label came with the rows below it
            addMajor(s, y);
        addMinors(y, -1);
    }
    return marks;
}
