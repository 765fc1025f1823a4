// Every shape record against bytes assembled from its fields: the writer
// must produce them and the reader must take every field back from them.

#include <gtest/gtest.h>

#include "support/BlockTestSupport.h"
#include "support/RecordBytes.h"

using namespace recordtest;

namespace {

constexpr int FontIndex = 3;

class ShapeRecordBytesTest : public blocktest::TRegisteredClassesTest {
protected:
    void SetUp() override
    {
        TRegisteredClassesTest::SetUp();
        CADCoreClearFontRegistry();
        CADCoreRegisterFontFromFile(
            FontIndex, vectfont_test::WriteTestFile("record-bytes.fnt", vectfont_test::FontFileBytes({vectfont_test::Stroke('A', 0.6f)})));
    }
    void TearDown() override
    {
        CADCoreClearFontRegistry();
        TRegisteredClassesTest::TearDown();
    }
};

// Object parts whose same-width fields differ: ID from every Int32 after it,
// Layer from the flags byte, and between the two rows every flag bit and the
// growing byte take both values.
TObjectFields Shown(std::int32_t id, std::uint8_t layer, float seed)
{
    return {id, layer, true, false, true, DistinctTransform(seed)};
}

TObjectFields Hidden(std::int32_t id, std::uint8_t layer)
{
    return {id, layer, false, true, false, std::nullopt};
}

} // namespace

TEST_F(ShapeRecordBytesTest, PointsLinesAndPolylines)
{
    const std::vector<TRecordCase> cases = {
        PrimitiveCase("point", "TPunto2D", {Shown(71, 9, 0.5f), {P(-3.5f, 12.25f)}, false}),
        PrimitiveCase("line", "TLine2D", {Hidden(72, 200), {P(2.5f, -4), P(30, 0.75f)}, false}),
        PrimitiveCase("line with a transform", "TLine2D", {Shown(1000000, 3, 2), {P(8, 6), P(-0.5f, 44)}, true}),
        PrimitiveCase("polyline", "TPolyline2D",
                      {Shown(-5, 17, 1), {P(0.5f, 3), P(5, 5.5f), P(10, -2), P(-7, 8.125f)}, true}),
        PrimitiveCase("polygon", "TPolygon2D", {Hidden(0x01020304, 254), {P(3, 4), P(9, 2), P(6, 13)}, false}),
        PrimitiveCase("polyline of no points", "TPolyline2D", {Shown(74, 5, 3), {}, true}),
    };
    for (const TRecordCase& c : cases)
        ExpectRecordPinned(c);
}

TEST_F(ShapeRecordBytesTest, CurvesAddPrecisionSavingTypeAndTheirOwnByte)
{
    const std::vector<TPoint2D> two = {P(2, 3), P(14, 9.5f)};
    const std::vector<TPoint2D> four = {P(-4, 2), P(16, 12), P(6, 12), P(-4, 7)};
    const std::vector<TPoint2D> spline = {P(0.5f, 0), P(4, 6), P(9, -3), P(13, 2.5f), P(20, 7)};
    const std::vector<TRecordCase> cases = {
        CurveCase("frame", "TFrame2D", {Shown(81, 4, 0), two, false}, 50, 1),
        CurveCase("rectangle", "TRectangle2D", {Hidden(82, 6), two, true}, 9, 0),
        CurveCase("circle", "TCerchio2D", {Shown(83, 7, 1), two, false}, 300, 1),
        CurveCase("filled circle", "TFilledCerchio2D", {Hidden(84, 8), two, false}, 12, 0),
        CurveCase("ellipse", "TEllipse2D", {Shown(85, 10, 2), two, true}, 64, 1),
        CurveCase("filled ellipse", "TFilledEllipse2D", {Hidden(86, 11), two, false}, -5, 0),
        CurveCase("arc", "TArc2D", {Shown(87, 13, 3), four, false}, 40, 1, 0),
        CurveCase("arc the other way", "TArc2D", {Hidden(88, 14), four, true}, 0x1234, 0, 1),
        CurveCase("circular arc", "TArco2D", {Shown(89, 15, 4), four, false}, 24, 0, 1),
        CurveCase("circular arc the other way", "TArco2D", {Hidden(90, 16), four, true}, 33, 1, 0),
        CurveCase("spline", "TBSpline2D", {Shown(91, 18, 5), spline, true}, 200, 1, 3),
        CurveCase("spline of order 4", "TBSpline2D", {Hidden(92, 19), spline, false}, 77, 0, 4),
    };
    for (const TRecordCase& c : cases)
        ExpectRecordPinned(c);
}

TEST_F(ShapeRecordBytesTest, TextsInAPlatformFontAndInAStrokeFont)
{
    const std::vector<TPoint2D> box = {P(1.5f, 2), P(40, 12.5f)};
    const std::vector<TRecordCase> cases = {
        TextCase("bold italic text", {{Shown(101, 20, 0), box, false},
                                      "Caf\xE9 \x80",
                                      LogFontOf(-13, 6, 900, 450, 700, {1, 0, 1, 238, 3, 2, 5, 0x22}, "Courier New"),
                                      DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                                      true,
                                      2.5f}),
        TextCase("plain text", {{Hidden(102, 21), box, true},
                                "",
                                LogFontOf(16, -2, 0, 3600, 400, {0, 1, 1, 0, 7, 4, 1, 0x31}, "Small Font"),
                                DT_RIGHT | DT_WORDBREAK,
                                false,
                                0.75f}),
        VectTextCase("stroke text", {{Shown(103, 22, 1), box, false}, "AB\rBA", FontIndex, 2, 1, true, 5, 0.25f, 0.125f}),
        VectTextCase("stroke text, bottom right", {{Hidden(104, 23), box, true}, "A", FontIndex, 1, 2, false, 0.5f,
                                                   -0.0625f, 0.375f}),
    };
    for (const TRecordCase& c : cases)
        ExpectRecordPinned(c);
}

TEST_F(ShapeRecordBytesTest, PicturesAndTheirOlderLayout)
{
    const std::vector<TPoint2D> corners = {P(0.5f, 2), P(3, 6.5f)};
    const TByteVector bmp = BmpImage(3, 2, {qRgb(10, 20, 30), qRgb(40, 50, 60), qRgb(70, 80, 90), qRgb(200, 0, 100),
                                            qRgb(1, 2, 3), qRgb(250, 240, 230)});
    // No pixels: the file and information headers alone.
    const TByteVector empty =
        TRecordBytes().Chars("BM").Int32(54).Int32(0).Int32(54).Int32(40).Int32(0).Int32(0).Word(1).Word(24)
            .Int32(0).Int32(0).Int32(0).Int32(0).Int32(0).Int32(0).Data;
    const TPictureFields picture{{Shown(111, 24, 0), corners, false}, bmp, 11, -12, cmSrcInvert};
    const std::vector<TRecordCase> cases = {
        PictureCase("picture", picture),
        PictureCase("picture without pixels", {{Hidden(112, 25), corners, true}, empty, 0x7F000001, 3, cmSrcAnd}),
        PictureCase("picture before the values were stored", picture, "CAD41 "),
    };
    for (const TRecordCase& c : cases)
        ExpectRecordPinned(c);
}

TEST_F(ShapeRecordBytesTest, ContainersSourceBlocksAndReferences)
{
    const TRecordCase line = PrimitiveCase("line", "TLine2D", {Hidden(5, 2), {P(0, 0.5f), P(10, 3)}, false});
    const TRecordCase circle = CurveCase("circle", "TCerchio2D", {Shown(6, 3, 1), {P(4, 4), P(6, 4)}, false}, 20, 1);
    const TRecordCase reference = BlockCase("reference", Shown(7, 4, 2), "Bolt", P(2.5f, -1.5f));
    const TRecordCase group = GroupCase("container", Hidden(8, 5), {line, reference});
    const std::vector<TRecordCase> cases = {
        line,
        circle,
        reference,
        BlockCase("reference of a full name", Hidden(9, 6), "ThirteenChars", P(-7, 0.25f)),
        GroupCase("empty container", Shown(10, 7, 3), {}),
        group,
        GroupCase("container in a container", Shown(11, 8, 4), {circle, group}),
        GroupCase("drawing block", Shown(12, 9, 5), {circle, line}, TSourceBlockFields{true, false, "Washer"}),
        GroupCase("block not to be saved", Hidden(13, 10), {group}, TSourceBlockFields{false, true, "Nut"}),
        GroupCase("block of a full name", Shown(14, 11, 6), {reference}, TSourceBlockFields{true, true, "ABCDEFGHIJKLM"}),
    };
    for (const TRecordCase& c : cases)
        ExpectRecordPinned(c);
}
