// kestro_fontgen <input.jhf> <output.fnt>
//
// Converts a Hershey font in the "James Hurt" text format into the program's
// vector font file. A .jhf record is a 5-character glyph number, a
// 3-character vertex count, then that many pairs of characters, each
// coordinate being the character minus 'R' with Y pointing down; the first
// pair holds the left and right bearings and " R" lifts the pen. Long records
// may continue on the next line. The records are the ASCII characters 32 to
// 127 in order.
//
// Glyph units: the height of the capital H is 1, the baseline is at Y = 0
// with Y up, and the left bearing is at X = 0. The right bearing is not kept:
// a glyph's advance is the right edge of its strokes, and the text object's
// character spacing (0.1 of the height by default, about two Hershey units)
// stands in for the right side bearing. The space has no strokes and is left
// out, so the text code's own space advance applies; DEL (127) is left out.

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cad/stream/CADStream.h"

namespace {

constexpr int FirstCode = 32;
constexpr int LastCode = 126;
constexpr char CapitalReference = 'H';

struct THersheyPoint {
    int X = 0;
    int Y = 0;
};

struct THersheyGlyph {
    int LeftBearing = 0;
    std::vector<std::vector<THersheyPoint>> Strokes;
};

// Reads the next record from `pos`; nothing at the end of the text. Raises
// std::runtime_error on a damaged record.
std::optional<THersheyGlyph> ReadRecord(const std::string& text, std::size_t& pos)
{
    while (pos < text.size() && (text[pos] == '\n' || text[pos] == '\r'))
        ++pos;
    if (pos >= text.size())
        return std::nullopt;
    if (pos + 8 > text.size())
        throw std::runtime_error("short record header at byte " + std::to_string(pos));
    const std::string countField = text.substr(pos + 5, 3);
    pos += 8;
    const int vertexCount = std::stoi(countField);
    if (vertexCount < 1)
        throw std::runtime_error("record without bearings at byte " + std::to_string(pos));

    std::string pairs;
    while (pairs.size() < 2 * static_cast<std::size_t>(vertexCount)) {
        if (pos >= text.size())
            throw std::runtime_error("record cut short at the end of the file");
        const char c = text[pos++];
        if (c != '\n' && c != '\r')
            pairs.push_back(c);
    }

    THersheyGlyph glyph;
    glyph.LeftBearing = pairs[0] - 'R';
    glyph.Strokes.emplace_back();
    for (std::size_t i = 2; i < pairs.size(); i += 2) {
        if (pairs[i] == ' ' && pairs[i + 1] == 'R') {
            glyph.Strokes.emplace_back();
            continue;
        }
        glyph.Strokes.back().push_back({pairs[i] - 'R', pairs[i + 1] - 'R'});
    }
    // A lone point draws nothing as an open polyline.
    std::erase_if(glyph.Strokes, [](const auto& stroke) { return stroke.size() < 2; });
    return glyph;
}

std::vector<THersheyGlyph> ReadHersheyFont(const std::string& text)
{
    std::vector<THersheyGlyph> glyphs;
    std::size_t pos = 0;
    while (std::optional<THersheyGlyph> glyph = ReadRecord(text, pos))
        glyphs.push_back(std::move(*glyph));
    return glyphs;
}

void WriteGlyph(TCADStreamWriter& out, int code, const THersheyGlyph& glyph, int baseline, float scale)
{
    out.WriteInt32(code);
    out.WriteInt32(static_cast<std::int32_t>(glyph.Strokes.size()));
    for (const auto& stroke : glyph.Strokes) {
        out.WriteUInt16(static_cast<std::uint16_t>(stroke.size()));
        for (const THersheyPoint& p : stroke)
            out.WritePoint2D(TPoint2D{static_cast<float>(p.X - glyph.LeftBearing) * scale,
                                      static_cast<float>(baseline - p.Y) * scale, 1.0f});
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::cerr << "usage: kestro_fontgen <input.jhf> <output.fnt>\n";
        return 2;
    }
    std::ifstream input(argv[1], std::ios::binary);
    if (!input) {
        std::cerr << "kestro_fontgen: cannot read " << argv[1] << '\n';
        return 1;
    }
    const std::string text{std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>()};

    std::vector<THersheyGlyph> glyphs;
    try {
        glyphs = ReadHersheyFont(text);
    } catch (const std::exception& error) {
        std::cerr << "kestro_fontgen: " << argv[1] << ": " << error.what() << '\n';
        return 1;
    }
    const std::size_t reference = CapitalReference - FirstCode;
    if (glyphs.size() <= reference || glyphs[reference].Strokes.empty()) {
        std::cerr << "kestro_fontgen: " << argv[1] << " has no capital H to measure the cap height by\n";
        return 1;
    }
    int top = glyphs[reference].Strokes[0][0].Y;
    int baseline = top;
    for (const auto& stroke : glyphs[reference].Strokes)
        for (const THersheyPoint& p : stroke) {
            top = std::min(top, p.Y);
            baseline = std::max(baseline, p.Y);
        }
    if (baseline <= top) {
        std::cerr << "kestro_fontgen: the capital H of " << argv[1] << " has no height\n";
        return 1;
    }
    const float scale = 1.0f / static_cast<float>(baseline - top);

    TCADStreamWriter out;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const int code = FirstCode + static_cast<int>(i);
        if (code <= LastCode && !glyphs[i].Strokes.empty())
            WriteGlyph(out, code, glyphs[i], baseline, scale);
    }
    out.WriteInt32(-1);
    if (!out.SaveToFile(argv[2])) {
        std::cerr << "kestro_fontgen: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
