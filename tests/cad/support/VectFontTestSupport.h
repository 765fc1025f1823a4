#pragma once

// Helpers for the vector font tests: font files written in code, a canvas
// that records the polylines it is asked to draw, and a recorder for the
// engine's notices.

#include <filesystem>
#include <string>
#include <vector>

#include "cad/base/CADMessageSink.h"
#include "cad/canvas/DecorativeCanvas.h"
#include "cad/stream/CADStream.h"
#include "WholeTestFile.h"

namespace vectfont_test {

struct TGlyphSpec {
    int Code = 0;
    std::vector<std::vector<TPoint2D>> Polylines;
};

// One font-file entry per glyph, then the closing -1.
inline std::vector<std::uint8_t> FontFileBytes(const std::vector<TGlyphSpec>& glyphs, bool terminated = true)
{
    TCADStreamWriter out;
    for (const TGlyphSpec& glyph : glyphs) {
        out.WriteInt32(glyph.Code);
        out.WriteInt32(static_cast<std::int32_t>(glyph.Polylines.size()));
        for (const auto& polyline : glyph.Polylines) {
            out.WriteUInt16(static_cast<std::uint16_t>(polyline.size()));
            for (const TPoint2D& p : polyline)
                out.WritePoint2D(p);
        }
    }
    if (terminated)
        out.WriteInt32(-1);
    return out.Data();
}

// A glyph of one stroke from the origin to (width, 1).
inline TGlyphSpec Stroke(char character, float width)
{
    return {static_cast<unsigned char>(character), {{TPoint2D{0, 0, 1}, TPoint2D{width, 1, 1}}}};
}

// A fresh file under the build tree for this test.
inline std::string WriteTestFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    return testfiles::WriteWholeFile(std::filesystem::path(KESTRO_TEST_OUTPUT_DIR) / "vectfont" / name, bytes);
}

class TPolylineRecorder : public TDecorativeCanvas {
public:
    void Polyline(const TWindowPoint* points, int count) override
    {
        Polylines.emplace_back(points, points + count);
    }
    std::vector<std::vector<TWindowPoint>> Polylines;
};

class TMessageRecorder {
public:
    TMessageRecorder() : Previous(SetCADMessageSink([this](const std::string& text) { Texts.push_back(text); })) {}
    ~TMessageRecorder() { SetCADMessageSink(Previous); }
    TMessageRecorder(const TMessageRecorder&) = delete;
    TMessageRecorder& operator=(const TMessageRecorder&) = delete;

    std::vector<std::string> Texts;

private:
    TCADMessageSink Previous;
};

} // namespace vectfont_test
