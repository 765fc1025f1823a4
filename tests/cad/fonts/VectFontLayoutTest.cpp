#include <gtest/gtest.h>

#include "cad/fonts/VectFont.h"
#include "cad/fonts/VectFontLayout.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/stream/CADStream.h"
#include "support/VectFontTestSupport.h"

using namespace vectfont_test;

namespace {

std::unique_ptr<TVectFont> FontOf(const std::vector<TGlyphSpec>& glyphs)
{
    TCADStreamReader stream(FontFileBytes(glyphs));
    return std::make_unique<TVectFont>(stream, "CAD422");
}

// 'A' 0.6 and 'B' 0.7 wide, 'g' reaching 0.3 below the baseline.
std::unique_ptr<TVectFont> TestFont()
{
    return FontOf({Stroke('A', 0.6f), Stroke('B', 0.7f), {'g', {{{0, 0.5f, 1}, {0.5f, -0.3f, 1}}}}});
}

float Width(const TRect2D& box)
{
    return box.SecondEdge.X - box.FirstEdge.X;
}

// The pen's X after drawing the text from 0.
float DrawnAdvance(const TVectFont* font, std::string_view text, float spacing, float height)
{
    TPolylineRecorder canvas;
    TPoint2D pen = MakePoint2D(0, 0);
    for (const char c : text)
        DrawVectChar(font, c, pen, canvas, IdentityTransform2D, spacing, height);
    return pen.X;
}

} // namespace

TEST(VectFontLayout, MeasuresTheWidestLineInWorldUnits)
{
    const auto font = TestFont();
    const TRect2D ab = VectTextExtent(font.get(), "AB", 0.02f, 0.1f, 10.0f);
    EXPECT_FLOAT_EQ(ab.FirstEdge.X, 0.0f);
    EXPECT_FLOAT_EQ(ab.SecondEdge.X, 14.0f) << "(0.1 + 0.6 + 0.1 + 0.7 - 0.1) * 10";
    EXPECT_FLOAT_EQ(ab.SecondEdge.Y, 10.0f);
    EXPECT_FLOAT_EQ(ab.FirstEdge.Y, 0.0f) << "capitals sit on the baseline";

    EXPECT_FLOAT_EQ(VectTextExtent(font.get(), "Ag", 0.02f, 0.1f, 10.0f).FirstEdge.Y, -3.0f) << "descender";
    EXPECT_FLOAT_EQ(Width(VectTextExtent(font.get(), "", 0.02f, 0.1f, 10.0f)), 0.0f);
    // Characters the font lacks count as the 0.8 default glyph, a carriage return as a line break.
    EXPECT_FLOAT_EQ(Width(VectTextExtent(font.get(), "AZ", 0.02f, 0.1f, 10.0f)), 15.0f);
}

TEST(VectFontLayout, MeasuresLinesBelowEachOther)
{
    const auto font = TestFont();
    // Line 1 "AB" depth 1, line 2 "g" depth 1.3: Y1 = 10 * (1 - (0.02 + 1) - 1.3).
    const TRect2D box = VectTextExtent(font.get(), "AB\rg", 0.02f, 0.1f, 10.0f);
    EXPECT_FLOAT_EQ(box.SecondEdge.X, 14.0f) << "the widest line";
    EXPECT_FLOAT_EQ(box.SecondEdge.Y, 10.0f);
    EXPECT_FLOAT_EQ(box.FirstEdge.Y, -13.2f);
    EXPECT_FLOAT_EQ(Width(VectTextExtent(font.get(), "A\rAB", 0.02f, 0.1f, 10.0f)), 14.0f);
}

TEST(VectFontLayout, TheLineFeedOfACarriageReturnPairIsNoCharacter)
{
    const auto font = TestFont();
    const TRect2D crlf = VectTextExtent(font.get(), "A\r\nB", 0.02f, 0.1f, 10.0f);
    const TRect2D cr = VectTextExtent(font.get(), "A\rB", 0.02f, 0.1f, 10.0f);
    EXPECT_FLOAT_EQ(crlf.SecondEdge.X, cr.SecondEdge.X);
    EXPECT_FLOAT_EQ(crlf.FirstEdge.Y, cr.FirstEdge.Y);
    EXPECT_FLOAT_EQ(Width(VectTextExtent(font.get(), "A\nB", 0.02f, 0.1f, 10.0f)), 23.0f)
        << "a lone line feed is an unknown character";
}

TEST(VectFontLayout, ASpaceIsDrawnNarrowerThanItIsMeasured)
{
    const auto font = TestFont();
    EXPECT_FLOAT_EQ(DrawnAdvance(font.get(), "A A", 0.1f, 10.0f) - DrawnAdvance(font.get(), "AA", 0.1f, 10.0f), 5.0f);
    EXPECT_FLOAT_EQ(Width(VectTextExtent(font.get(), "A A", 0.02f, 0.1f, 10.0f)) -
                        Width(VectTextExtent(font.get(), "AA", 0.02f, 0.1f, 10.0f)),
                    6.0f);
}

TEST(VectFontLayout, DrawsGlyphsScaledAtThePen)
{
    const auto font = TestFont();
    TPolylineRecorder canvas;
    TPoint2D pen = MakePoint2D(5, 20);
    DrawVectChar(font.get(), 'A', pen, canvas, IdentityTransform2D, 0.1f, 10.0f);
    ASSERT_EQ(canvas.Polylines.size(), 1u);
    ASSERT_EQ(canvas.Polylines[0].size(), 2u);
    EXPECT_EQ(canvas.Polylines[0][0].X, 5);
    EXPECT_EQ(canvas.Polylines[0][0].Y, 20);
    EXPECT_EQ(canvas.Polylines[0][1].X, 11);
    EXPECT_EQ(canvas.Polylines[0][1].Y, 30);
    EXPECT_FLOAT_EQ(pen.X, 12.0f);
    EXPECT_FLOAT_EQ(pen.Y, 20.0f);

    // Through a view transform that doubles and shifts.
    TTransform2D view = MakeScale2D(2, 2);
    view.M[2][0] = 100;
    canvas.Polylines.clear();
    pen = MakePoint2D(0, 0);
    DrawVectChar(font.get(), 'B', pen, canvas, view, 0.1f, 10.0f);
    ASSERT_EQ(canvas.Polylines.size(), 1u);
    EXPECT_EQ(canvas.Polylines[0][1].X, 114);
    EXPECT_EQ(canvas.Polylines[0][1].Y, 20);
}

TEST(VectFontLayout, AnEmptyFontDrawsTheDefaultGlyphForEveryCharacter)
{
    const auto empty = FontOf({});
    for (const TVectFont* font : {static_cast<const TVectFont*>(empty.get()), static_cast<const TVectFont*>(nullptr)}) {
        TPolylineRecorder canvas;
        TPoint2D pen = MakePoint2D(0, 0);
        for (const char c : std::string("Az\x01\xFF"))
            DrawVectChar(font, c, pen, canvas, IdentityTransform2D, 0.1f, 10.0f);
        ASSERT_EQ(canvas.Polylines.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(canvas.Polylines[i][0].X, static_cast<int>(9 * i));
            EXPECT_EQ(canvas.Polylines[i][1].X, static_cast<int>(9 * i + 8)) << "0.8 wide";
            EXPECT_EQ(canvas.Polylines[i][1].Y, 0);
        }
        EXPECT_FLOAT_EQ(Width(VectTextExtent(font, "Az", 0.02f, 0.1f, 10.0f)), 17.0f);

        // A carriage return the font lacks draws nothing and keeps the pen.
        canvas.Polylines.clear();
        pen = MakePoint2D(3, 4);
        DrawVectChar(font, '\r', pen, canvas, IdentityTransform2D, 0.1f, 10.0f);
        EXPECT_TRUE(canvas.Polylines.empty());
        EXPECT_EQ(pen.X, 3.0f);
    }
}
