#include <gtest/gtest.h>

#include "cad/base/CADExceptions.h"
#include "cad/fonts/VectFont.h"
#include "cad/stream/CADStream.h"
#include "support/VectFontTestSupport.h"

using namespace vectfont_test;

namespace {

std::unique_ptr<TVectFont> ReadFont(std::vector<std::uint8_t> bytes, std::string_view version = "CAD422")
{
    TCADStreamReader stream(std::move(bytes), "test.fnt");
    return std::make_unique<TVectFont>(stream, version);
}

TCADStreamWriter Header(int code, int polylineCount)
{
    TCADStreamWriter out;
    out.WriteInt32(code);
    out.WriteInt32(polylineCount);
    return out;
}

} // namespace

TEST(VectFont, ReadsGlyphsUnderTheirCodes)
{
    const auto font = ReadFont(FontFileBytes({
        {'L', {{{0, 1, 1}, {0, 0, 1}, {0.5f, 0, 1}}}},
        {'=', {{{0, 0.3f, 1}, {0.6f, 0.3f, 1}}, {{0, 0.6f, 1}, {0.6f, 0.6f, 1}}}},
        {'g', {{{0.1f, 0.5f, 1}, {0.4f, -0.3f, 1}}}},
        {255, {}},
    }));
    const TVectChar* l = font->GetChar('L');
    ASSERT_NE(l, nullptr);
    ASSERT_EQ(l->PolylineCount(), 1);
    EXPECT_EQ(l->GetPolyline(0)->Count(), 3);
    EXPECT_EQ(l->GetPolyline(0)->Get(2).X, 0.5f);
    EXPECT_EQ(font->GetChar('=')->PolylineCount(), 2);
    EXPECT_EQ(font->GetChar('A'), nullptr);

    // The extent always holds the origin.
    const TRect2D g = font->GetChar('g')->Extent;
    EXPECT_EQ(g.FirstEdge.X, 0.0f);
    EXPECT_EQ(g.FirstEdge.Y, -0.3f);
    EXPECT_EQ(g.SecondEdge.X, 0.4f);
    EXPECT_EQ(g.SecondEdge.Y, 0.5f);
    const TVectChar* empty = font->GetChar(255);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->PolylineCount(), 0);
    EXPECT_EQ(empty->Extent.SecondEdge.X, 0.0f);
}

TEST(VectFont, ALaterEntryReplacesTheEarlierGlyph)
{
    const auto font = ReadFont(FontFileBytes({Stroke('A', 0.6f), Stroke('A', 0.9f)}));
    EXPECT_EQ(font->GetChar('A')->Extent.SecondEdge.X, 0.9f);
}

TEST(VectFont, AFileOfOnlyTheEndMarkIsAnEmptyFont)
{
    const auto font = ReadFont(FontFileBytes({}));
    for (int code = 0; code < 256; ++code)
        EXPECT_EQ(font->GetChar(code), nullptr) << code;
    EXPECT_EQ(DefaultVectChar().Extent.SecondEdge.X, 0.8f);
    ASSERT_EQ(DefaultVectChar().PolylineCount(), 1);
    EXPECT_EQ(DefaultVectChar().GetPolyline(0)->Count(), 2);
}

TEST(VectFont, ACodeOutsideTheTableRaisesTheListError)
{
    for (int code : {256, -2, 1000000}) {
        try {
            ReadFont(FontFileBytes({Stroke('A', 0.5f), {code, {}}}));
            ADD_FAILURE() << code << " was accepted";
        } catch (const ECADOutOfBound& e) {
            EXPECT_STREQ(e.what(), "TIndexedObjectList.SetObject: Index out of bounds.");
        }
    }
}

TEST(VectFont, DamagedFilesRaiseFileNotValid)
{
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"empty file", {}});
    cases.push_back({"no end mark", FontFileBytes({Stroke('A', 0.5f)}, false)});
    {
        auto bytes = FontFileBytes({Stroke('A', 0.5f)});
        bytes.resize(bytes.size() - 7);
        cases.push_back({"cut inside a point", bytes});
    }
    {
        TCADStreamWriter out = Header('A', -1);
        out.WriteInt32(-1);
        cases.push_back({"negative polyline count", out.Data()});
    }
    {
        TCADStreamWriter out = Header('A', 0x7FFFFFFF);
        out.WriteInt32(-1);
        cases.push_back({"polyline count past the end", out.Data()});
    }
    {
        TCADStreamWriter out = Header('A', 1);
        out.WriteUInt16(65535);
        out.WritePoint2D(TPoint2D{});
        out.WriteInt32(-1);
        cases.push_back({"point count past the end", out.Data()});
    }
    for (const Case& c : cases) {
        EXPECT_THROW(ReadFont(c.bytes), ECADFileNotValid) << c.name;
    }
}

TEST(VectFont, GlyphsOfVersionsBeforeCAD4HoldNoPolylines)
{
    const auto bytes = FontFileBytes({Stroke('A', 0.5f)});
    TCADStreamReader old(std::vector<std::uint8_t>(bytes.begin() + 4, bytes.end()));
    const TVectChar glyph(old, "CAD33");
    EXPECT_EQ(glyph.PolylineCount(), 0);
    EXPECT_EQ(old.Position(), 0u) << "nothing is read";

    TCADStreamReader current(std::vector<std::uint8_t>(bytes.begin() + 4, bytes.end()));
    const TVectChar read(current, "CAD4  ");
    EXPECT_EQ(read.PolylineCount(), 1);
}
