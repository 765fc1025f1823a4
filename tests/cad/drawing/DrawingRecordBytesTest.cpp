// Layer records, the object and source-block sections and a whole block
// library against bytes assembled from their fields: the writers must
// produce them and the readers must take every field back from them.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cad/drawing/BlockLibrary.h"
#include "support/BlockTestSupport.h"
#include "support/RecordBytes.h"

using namespace recordtest;

namespace {

constexpr int FontIndex = 7;

class DrawingRecordBytesTest : public blocktest::TRegisteredClassesTest {
protected:
    void SetUp() override
    {
        TRegisteredClassesTest::SetUp();
        CADCoreClearFontRegistry();
        CADCoreRegisterFontFromFile(FontIndex, vectfont_test::WriteTestFile(
                                                   "drawing-record-bytes.fnt",
                                                   vectfont_test::FontFileBytes({vectfont_test::Stroke('K', 0.7f)})));
    }
    void TearDown() override
    {
        CADCoreClearFontRegistry();
        TRegisteredClassesTest::TearDown();
    }
};

struct TLayerFields {
    TPenState Pen;
    TBrushState Brush;
    std::string Pattern; // '1' on, '0' off
    bool Active = true;
    bool Visible = true;
    bool Opaque = false;
    bool Streamable = true;
    std::string Name;
};

// The layer record in the layout of the version: pen colour, style, mode and
// width, brush colour and style; before "CAD422" an ignored Int32; from
// "CAD41" the pattern; Active; from "CAD4  " Visible; Opaque; then for
// "CAD3  " Streamable alone, before "CAD33" nothing, else Streamable and the
// name (a length byte and 31 characters).
TByteVector LayerBytes(const TLayerFields& f, std::string_view version)
{
    TRecordBytes bytes;
    bytes.Int32(f.Pen.Color)
        .Byte(static_cast<int>(f.Pen.Style))
        .Byte(static_cast<int>(f.Pen.Mode))
        .Int32(f.Pen.Width)
        .Int32(f.Brush.Color)
        .Byte(static_cast<int>(f.Brush.Style));
    if (CADVersionBefore(version, "CAD422"))
        bytes.Int32(0x5A5A5A5A);
    if (!CADVersionBefore(version, "CAD41")) {
        bytes.Int32(static_cast<std::int32_t>(f.Pattern.size()));
        for (const char element : f.Pattern)
            bytes.Byte(element == '1' ? 1 : 0);
    }
    bytes.Bool(f.Active);
    if (!CADVersionBefore(version, "CAD4  "))
        bytes.Bool(f.Visible);
    bytes.Bool(f.Opaque);
    if (version == "CAD3  ")
        bytes.Bool(f.Streamable);
    else if (!CADVersionBefore(version, "CAD33"))
        bytes.Bool(f.Streamable).Byte(static_cast<int>(f.Name.size())).Fixed(f.Name, 31);
    return bytes.Data;
}

std::string PatternOf(const TDecorativePen& pen)
{
    std::string pattern;
    for (int i = 0; i < pen.PatternLength(); ++i)
        pattern += pen.GetBit(i) ? '1' : '0';
    return pattern;
}

std::vector<TGraphicObject*> ListOf(TGraphicObjIterator& iterator)
{
    std::vector<TGraphicObject*> objects;
    for (TGraphicObject* object = iterator.First(); object; object = iterator.Next())
        objects.push_back(object);
    return objects;
}

TObjectFields Fields(std::int32_t id, std::uint8_t layer, bool visible, std::optional<TTransform2D> model)
{
    return {id, layer, visible, !visible, true, model};
}

} // namespace

TEST_F(DrawingRecordBytesTest, LayerRecordsOfEveryVersion)
{
    // Between the first three rows each Boolean takes a pattern of its own.
    const TLayerFields walls{{clRed, TPenStyle::Dash, TPenMode::Xor, 3},
                             {clYellow, TBrushStyle::Cross},
                             "1101",
                             true,
                             false,
                             true,
                             false,
                             "Walls"};
    const TLayerFields doors{{0x00123456, TPenStyle::DashDotDot, TPenMode::NotCopy, 7},
                             {0x00ABCDEF, TBrushStyle::FDiagonal},
                             "0010011",
                             true,
                             true,
                             false,
                             false,
                             std::string(31, 'D')};
    const TLayerFields hatch{{clSilver, TPenStyle::InsideFrame, TPenMode::Mask, 0x10000},
                             {clNavy, TBrushStyle::DiagCross},
                             "",
                             false,
                             true,
                             true,
                             true,
                             "H"};
    struct TCase {
        TLayerFields Fields;
        std::string Version;
    };
    const std::vector<TCase> cases = {
        {walls, "CAD422"}, {doors, "CAD422"}, {hatch, "CAD422"}, {doors, "CAD41 "},
        {walls, "CAD4  "}, {hatch, "CAD33 "}, {walls, "CAD3  "}, {doors, "CAD2  "},
    };
    for (const TCase& c : cases) {
        const TLayerFields& f = c.Fields;
        SCOPED_TRACE(f.Name + " in " + c.Version);
        const TByteVector bytes = LayerBytes(f, c.Version);
        if (c.Version == CADCurrentVersion) {
            TLayer layer(12);
            layer.SetPen(f.Pen);
            layer.SetBrush(f.Brush);
            layer.DecorativePen.SetPattern(f.Pattern.c_str());
            layer.Active = f.Active;
            layer.Visible = f.Visible;
            layer.Opaque = f.Opaque;
            layer.Streamable = f.Streamable;
            layer.SetName(f.Name);
            TCADStreamWriter out;
            layer.SaveToStream(out);
            EXPECT_TRUE(SameBytes(out.Data(), bytes));
        }
        TLayer read(7);
        TCADStreamReader in(bytes, "layer");
        read.LoadFromStream(in, c.Version);
        EXPECT_TRUE(in.AtEnd()) << in.Remaining() << " bytes left unread";
        const bool hasVisible = !CADVersionBefore(c.Version, "CAD4  ");
        const bool hasStreamable = c.Version == "CAD3  " || !CADVersionBefore(c.Version, "CAD33");
        const bool hasName = !CADVersionBefore(c.Version, "CAD33");
        EXPECT_EQ(read.Pen(), f.Pen);
        EXPECT_EQ(read.Brush(), f.Brush);
        EXPECT_EQ(PatternOf(read.DecorativePen), CADVersionBefore(c.Version, "CAD41") ? "" : f.Pattern);
        EXPECT_EQ(read.Active, f.Active);
        EXPECT_EQ(read.Visible, hasVisible ? f.Visible : true);
        EXPECT_EQ(read.Opaque, f.Opaque);
        EXPECT_EQ(read.Streamable, hasStreamable ? f.Streamable : true);
        EXPECT_EQ(read.Name(), hasName ? f.Name : "Layer 7");
        EXPECT_TRUE(read.Modified);
    }
}

TEST_F(DrawingRecordBytesTest, ObjectAndSourceBlockSections)
{
    const TRecordCase line =
        PrimitiveCase("line", "TLine2D", {Fields(0, 2, true, DistinctTransform(1)), {P(1.5f, 2), P(8, -3)}, false});
    const TRecordCase spline =
        CurveCase("spline", "TBSpline2D", {Fields(1, 9, false, std::nullopt), {P(0, 0.5f), P(3, 4), P(6, 2)}, true},
                  120, 0, 3);
    const TRecordCase group = GroupCase("container", Fields(2, 6, true, DistinctTransform(2)), {line, spline});
    // Not written: a circle on a layer that is not streamed, and a line not to be saved.
    const TRecordCase offLayer =
        CurveCase("circle", "TCerchio2D", {Fields(3, 4, true, std::nullopt), {P(0, 0), P(2, 0)}, false}, 30, 1);
    struct TSection {
        const char* Label;
        std::vector<TRecordCase> Written;
        int Skipped;
        TByteVector Bytes;
    };
    std::vector<TSection> sections = {
        {"every object written", {line, spline, group}, 0, {}},
        {"some objects left out", {line, spline, group}, 2, {}},
    };
    for (TSection& s : sections) {
        TRecordBytes bytes;
        bytes.Int32(static_cast<std::int32_t>(s.Written.size()) + s.Skipped);
        for (const TRecordCase& c : s.Written)
            bytes.Framed(c.ClassName, c.Bytes);
        if (s.Skipped > 0)
            bytes.Int16(-1);
        s.Bytes = bytes.Data;
    }
    for (const TSection& s : sections) {
        SCOPED_TRACE(s.Label);
        TCADCmp2D cad;
        cad.Layers().GetLayer(4).Streamable = false;
        std::vector<TRecordCase> all = s.Written;
        if (s.Skipped > 0) {
            all.push_back(offLayer);
            all.push_back(line);
        }
        for (std::size_t i = 0; i < all.size(); ++i) {
            std::unique_ptr<TGraphicObject> object = all[i].Make();
            cad.CurrentLayer = object->Layer;
            TObject2D* added = cad.AddObject(static_cast<std::int32_t>(i),
                                             std::unique_ptr<TObject2D>(static_cast<TObject2D*>(object.release())));
            if (i == 4)
                added->ToBeSaved = false;
        }
        TCADStreamWriter out;
        cad.SaveObjects(out);
        EXPECT_TRUE(SameBytes(out.Data(), s.Bytes));

        // Loaded objects are numbered in reading order, which here keeps their IDs.
        TCADCmp2D loaded;
        TCADStreamReader in(s.Bytes, s.Label);
        loaded.LoadObjects(in, CADCurrentVersion);
        EXPECT_TRUE(in.AtEnd());
        auto objects = loaded.ObjectsIterator();
        const std::vector<TGraphicObject*> read = ListOf(*objects);
        ASSERT_EQ(read.size(), s.Written.size());
        for (std::size_t i = 0; i < read.size(); ++i)
            s.Written[i].Expect(*read[i]);
    }

    // Source blocks: the count is patched to the blocks written, those of the
    // library here; the others follow them in the drawing.
    const std::vector<TRecordCase> blocks = {
        GroupCase("first", Fields(0, 0, true, std::nullopt), {line}, TSourceBlockFields{true, true, "First"}),
        GroupCase("second", Fields(1, 0, false, DistinctTransform(3)), {spline, group},
                  TSourceBlockFields{true, true, "Second"}),
    };
    TRecordBytes expected;
    expected.Int32(2);
    for (const TRecordCase& c : blocks)
        expected.Framed(c.ClassName, c.Bytes);
    TCADCmp2D cad;
    for (const TRecordCase& c : blocks)
        cad.AddSourceBlock(std::unique_ptr<TSourceBlock2D>(static_cast<TSourceBlock2D*>(c.Make().release())));
    blocktest::AddLineBlock(cad, "Own", false, true);
    blocktest::AddLineBlock(cad, "Scratch", true, false);
    TCADStreamWriter out;
    cad.SaveBlocks(out, true);
    EXPECT_TRUE(SameBytes(out.Data(), expected.Data));
    TCADCmp2D loaded;
    TCADStreamReader in(expected.Data, "source blocks");
    loaded.LoadBlocks(in, CADCurrentVersion);
    EXPECT_TRUE(in.AtEnd());
    auto iterator = loaded.SourceBlocksIterator();
    const std::vector<TGraphicObject*> read = ListOf(*iterator);
    ASSERT_EQ(read.size(), blocks.size());
    for (std::size_t i = 0; i < read.size(); ++i)
        blocks[i].Expect(*read[i]);
}

// A library as another program would write it from the record layouts: one
// block for every class (a source block as a child stands for its own class,
// and the reference comes last, after the block it shows). It loads with
// every field as assembled, and saving it again gives the same bytes.
TEST_F(DrawingRecordBytesTest, HandAssembledLibraryOfEveryClassLoadsAndSavesUnchanged)
{
    const std::vector<TPoint2D> two = {P(1, 2), P(9, 6.5f)};
    const std::vector<TPoint2D> four = {P(0, 0), P(10, 6), P(5, 6), P(0, 3)};
    const std::vector<TPoint2D> many = {P(0, 0.5f), P(2, 5), P(6, 3), P(9, 7)};
    const TRecordCase line = PrimitiveCase("line", "TLine2D", {Fields(1, 3, true, std::nullopt), two, false});
    const std::vector<TPoint2D> textBox = {P(0, 0), P(30, 8)};
    const TRecordCase children[] = {
        GroupCase("container", Fields(2, 1, true, DistinctTransform(1)), {line}),
        GroupCase("nested block", Fields(3, 2, false, std::nullopt), {line}, TSourceBlockFields{false, true, "Inner"}),
        line,
        PrimitiveCase("polyline", "TPolyline2D", {Fields(4, 4, false, DistinctTransform(2)), many, true}),
        PrimitiveCase("polygon", "TPolygon2D", {Fields(5, 5, true, std::nullopt), many, false}),
        CurveCase("rectangle", "TRectangle2D", {Fields(6, 6, true, std::nullopt), two, false}, 50, 1),
        CurveCase("arc", "TArc2D", {Fields(7, 7, false, DistinctTransform(3)), four, false}, 36, 1, 0),
        CurveCase("ellipse", "TEllipse2D", {Fields(8, 8, true, std::nullopt), two, false}, 48, 0),
        CurveCase("filled ellipse", "TFilledEllipse2D", {Fields(9, 9, true, std::nullopt), two, false}, 24, 1),
        TextCase("text", {{Fields(10, 10, true, std::nullopt), textBox, false},
                          "Label",
                          LogFontOf(-11, 0, 0, 0, 400, {0, 1, 0, 0, 0, 0, 2, 0x12}, "Arial"),
                          DT_LEFT | DT_WORDBREAK,
                          true,
                          4}),
        CurveCase("frame", "TFrame2D", {Fields(11, 11, false, std::nullopt), two, false}, 50, 1),
        PictureCase("picture", {{Fields(12, 12, true, std::nullopt), two, false},
                                BmpImage(2, 2, {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(9, 9, 9)}),
                                0,
                                1,
                                cmSrcCopy}),
        CurveCase("spline", "TBSpline2D", {Fields(13, 13, true, std::nullopt), many, true}, 100, 1, 3),
        VectTextCase("stroke text", {{Fields(14, 14, true, std::nullopt), textBox, false}, "KK", FontIndex, 2, 2, false,
                                     6, 0.02f, 0.1f}),
        PrimitiveCase("point", "TPunto2D", {Fields(15, 15, true, std::nullopt), {P(4, 4)}, false}),
        CurveCase("circle", "TCerchio2D", {Fields(16, 16, true, std::nullopt), two, false}, 50, 1),
        CurveCase("circular arc", "TArco2D", {Fields(17, 17, true, std::nullopt), four, false}, 50, 1, 1),
        CurveCase("filled circle", "TFilledCerchio2D", {Fields(18, 18, false, std::nullopt), two, false}, 50, 0),
        BlockCase("reference", Fields(19, 19, true, DistinctTransform(4)), "Line", P(1, 2)),
    };
    // Blocks take the next block IDs and the current layer (0) as they load.
    std::vector<TRecordCase> blocks;
    std::vector<std::string> classes;
    for (const TRecordCase& child : children) {
        const auto id = static_cast<std::int32_t>(blocks.size());
        const std::string name = child.ClassName.substr(1, child.ClassName.size() - 3);
        blocks.push_back(GroupCase(name, Fields(id, 0, id % 2 == 0, std::nullopt), {child},
                                   TSourceBlockFields{true, true, name}));
        classes.push_back(child.ClassName);
    }
    std::sort(classes.begin(), classes.end());
    classes.erase(std::unique(classes.begin(), classes.end()), classes.end());
    ASSERT_EQ(classes.size(), 19u) << "one block of every class";

    TRecordBytes library;
    library.Chars("CAD422").Byte(2).Int32(static_cast<std::int32_t>(blocks.size()));
    for (const TRecordCase& block : blocks)
        library.Framed(block.ClassName, block.Bytes);
    const std::string file = blocktest::WriteTestFile("every-class.blk", library.Data);

    TCADCmp2D cad;
    blocktest::TMessageRecorder messages;
    ASSERT_TRUE(LoadBlockLibraryFile(cad, file));
    EXPECT_TRUE(messages.Texts.empty()) << messages.Texts.front();
    auto iterator = cad.SourceBlocksIterator();
    const std::vector<TGraphicObject*> read = ListOf(*iterator);
    iterator.reset();
    ASSERT_EQ(read.size(), blocks.size());
    for (std::size_t i = 0; i < read.size(); ++i)
        blocks[i].Expect(*read[i]);
    EXPECT_EQ(cad.FindSourceBlock(BlockNameFromText("Line")).References(), 1u) << "the reference is resolved";

    TCADStreamWriter out;
    SaveBlockLibrary(cad, out);
    EXPECT_TRUE(SameBytes(out.Data(), library.Data));
}
