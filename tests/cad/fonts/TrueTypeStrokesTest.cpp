#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <utility>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H

#include "cad/fonts/TrueTypeStrokes.h"

namespace {

const char* const kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

TTrueTypeFont DejaVu()
{
    TTrueTypeFont font;
    font.FileName = kDejaVuSans;
    return font;
}

// FreeType's own outline of the glyph at the converter's size: the on-curve
// points per contour, and the control box, in whole outline units.
struct TReference {
    std::vector<std::vector<std::pair<double, double>>> OnCurve;
    double XMin = 0, YMin = 0, XMax = 0, YMax = 0;
};

TReference FreeTypeOutline(char code)
{
    TReference ref;
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    EXPECT_EQ(FT_Init_FreeType(&library), 0);
    EXPECT_EQ(FT_New_Face(library, kDejaVuSans, 0, &face), 0);
    FT_Set_Pixel_Sizes(face, 0, 1365);
    FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
    const FT_Outline& outline = face->glyph->outline;
    int first = 0;
    for (int c = 0; c < outline.n_contours; ++c) {
        ref.OnCurve.emplace_back();
        for (int i = first; i <= outline.contours[c]; ++i)
            if (FT_CURVE_TAG(outline.tags[i]) == FT_CURVE_TAG_ON)
                ref.OnCurve.back().emplace_back(outline.points[i].x / 64.0, outline.points[i].y / 64.0);
        first = outline.contours[c] + 1;
    }
    FT_BBox box;
    FT_Outline_Get_BBox(const_cast<FT_Outline*>(&outline), &box);
    ref.XMin = box.xMin / 64.0;
    ref.YMin = box.yMin / 64.0;
    ref.XMax = box.xMax / 64.0;
    ref.YMax = box.yMax / 64.0;
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return ref;
}

} // namespace

// The strokes trace the font's real outline: each contour is closed, every
// on-curve point of FreeType's outline is a stroke end, and the strokes'
// bounds are the outline's exact box within a unit.
TEST(TrueTypeStrokes, FollowFreeTypesOutlineOfRealLetters)
{
    ASSERT_TRUE(std::filesystem::exists(kDejaVuSans));
    TTTFToVectorConverter converter;
    converter.SetFont(DejaVu());
    for (char letter : {'A', 'O', 'S', 'g', '8'}) {
        SCOPED_TRACE(letter);
        const TReference ref = FreeTypeOutline(letter);
        const std::unique_ptr<TStrokeCollection> strokes = converter.GetCharStrokes(static_cast<unsigned char>(letter));
        ASSERT_NE(strokes, nullptr);

        std::set<std::pair<int, int>> ends;
        std::vector<std::vector<TStroke>> contours(ref.OnCurve.size());
        for (const TStroke& s : strokes->All()) {
            ASSERT_GE(s.Contour, 0);
            ASSERT_LT(static_cast<std::size_t>(s.Contour), contours.size());
            contours[static_cast<std::size_t>(s.Contour)].push_back(s);
            ends.insert({s.X2, s.Y2});
        }
        for (std::size_t c = 0; c < contours.size(); ++c) {
            ASSERT_FALSE(contours[c].empty());
            for (std::size_t i = 1; i < contours[c].size(); ++i)
                EXPECT_EQ(std::make_pair(contours[c][i].X1, contours[c][i].Y1),
                          std::make_pair(contours[c][i - 1].X2, contours[c][i - 1].Y2));
            EXPECT_EQ(std::make_pair(contours[c].back().X2, contours[c].back().Y2),
                      std::make_pair(contours[c].front().X1, contours[c].front().Y1));
            for (const auto& [x, y] : ref.OnCurve[c]) {
                bool near = false;
                for (const auto& [ex, ey] : ends)
                    near = near || (std::abs(ex - x) <= 1.0 && std::abs(ey - y) <= 1.0);
                EXPECT_TRUE(near) << x << "," << y;
            }
        }
        const TStrokeBounds box = strokes->GetBounds();
        EXPECT_NEAR(box.Left, ref.XMin, 1.0);
        EXPECT_NEAR(box.Right, ref.XMax, 1.0);
        EXPECT_NEAR(box.Top, ref.YMin, 1.5);
        EXPECT_NEAR(box.Bottom, ref.YMax, 1.5);
    }
    // The capital A of a 1024-point font at 96 dpi is about 1000 units high.
    const TStrokeBounds a = converter.GetCharStrokes('A')->GetBounds();
    EXPECT_NEAR(a.Bottom - a.Top, 1365 * 0.729, 5);
    EXPECT_EQ(a.Top, 0);
}

TEST(TrueTypeStrokes, BuilderFlattensEachSegmentIntoPrecisionSteps)
{
    // One contour of one three-point quadratic run: two segments of eight
    // steps, then the closing stroke.
    TStrokeCollection strokes;
    TStrokeBuilder builder(strokes, 8);
    builder.StartContour({0, 0});
    const TOutlinePoint run[] = {{0, 800}, {800, 800}, {800, 0}};
    builder.QSpline(run);
    builder.CloseContour();
    EXPECT_EQ(strokes.Count(), 17);
    TStroke last;
    strokes.GetStroke(15, last);
    EXPECT_EQ(last, (TStroke{0, last.X1, last.Y1, 800, 0}));
    TStroke eighth;
    strokes.GetStroke(7, eighth);
    EXPECT_EQ(std::make_pair(eighth.X2, eighth.Y2), std::make_pair(400, 800)); // the implied midpoint
    TStroke untouched{9, 9, 9, 9, 9};
    strokes.GetStroke(17, untouched);
    strokes.GetStroke(-1, untouched);
    EXPECT_EQ(untouched, (TStroke{9, 9, 9, 9, 9}));

    // A cubic gives Precision strokes too; equal points give none; halves
    // round to even.
    TStrokeCollection cubic;
    TStrokeBuilder cubicBuilder(cubic, 4);
    cubicBuilder.StartContour({0.5, 1.5});
    cubicBuilder.Line({0.5, 1.5});
    cubicBuilder.Cubic({0, 100}, {100, 100}, {100, 0});
    EXPECT_EQ(cubic.Count(), 4);
    TStroke first;
    cubic.GetStroke(0, first);
    EXPECT_EQ(std::make_pair(first.X1, first.Y1), std::make_pair(0, 2));

    EXPECT_EQ(TStrokeCollection().GetBounds(), TStrokeBounds{});
}

TEST(TrueTypeStrokes, ConverterSettingsAndCharactersWithoutOutline)
{
    TTTFToVectorConverter converter;
    EXPECT_EQ(converter.Precision(), 8);
    converter.SetPrecision(0);
    converter.SetPrecision(101);
    EXPECT_EQ(converter.Precision(), 8);
    converter.SetPrecision(100);
    EXPECT_EQ(converter.Precision(), 100);
    converter.SetPrecision(1);

    // The program's default face resolves to some installed scalable font.
    EXPECT_EQ(converter.Font().Family, "Arial");
    EXPECT_FALSE(converter.ResolvedFile().empty());
    EXPECT_NE(converter.GetCharStrokes('A'), nullptr);

    converter.SetFont(DejaVu());
    EXPECT_EQ(converter.GetCharStrokes(' '), nullptr);
    // 0x80 is the euro sign in the Windows code page, U+0080 a control code.
    EXPECT_NE(converter.GetCharStrokes(0x80), nullptr);
    converter.UNICODE = true;
    EXPECT_EQ(converter.GetCharStrokes(0x80), nullptr);
    EXPECT_NE(converter.GetCharStrokes(0x20AC), nullptr);

    TTrueTypeFont missing;
    missing.FileName = "/nonexistent/font.ttf";
    converter.SetFont(missing);
    EXPECT_EQ(converter.GetCharStrokes('A'), nullptr);
}
