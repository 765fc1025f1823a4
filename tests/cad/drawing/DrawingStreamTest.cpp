#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Text2D.h"
#include "support/BlockTestSupport.h"
#include "support/ShapeTestSupport.h"

using namespace blocktest;

namespace {

using TRecord = std::vector<std::uint8_t>;

// The class code and record of an object, as a section holds it.
TRecord Framed(TGraphicObject& object)
{
    TCADStreamWriter out;
    WriteObjectRecord(out, object);
    return out.Data();
}

TRecord Section(const std::vector<TRecord>& records, std::int32_t count)
{
    TCADStreamWriter out;
    out.WriteInt32(count);
    for (const TRecord& record : records)
        out.WriteBytes(std::string_view(reinterpret_cast<const char*>(record.data()), record.size()));
    return out.Data();
}

void PutInt32(TRecord& record, std::size_t at, std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        record[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

TRecord GoodLine()
{
    TLine2D line(1, MakePoint2D(0, 0), MakePoint2D(10, 10));
    return Framed(line);
}

// Containers inside containers, `depth` deep.
TRecord NestedContainers(int depth)
{
    TCADStreamWriter out;
    TContainer2D empty;
    for (int i = 0; i < depth; ++i) {
        out.WriteInt16(static_cast<std::int16_t>(CADCoreFindClassIndex("TContainer2D")));
        static_cast<TObject2D&>(empty).TObject2D::SaveToStream(out);
        out.WriteInt32(i + 1 < depth ? 1 : 0);
    }
    return out.Data();
}

std::vector<std::int32_t> IDsOf(TCADCmp2D& cad)
{
    std::vector<std::int32_t> ids;
    auto objects = cad.ObjectsIterator();
    for (TGraphicObject* o = objects->First(); o; o = objects->Next())
        ids.push_back(o->ID);
    return ids;
}

class DrawingStreamTest : public TRegisteredClassesTest {};

} // namespace

TEST_F(DrawingStreamTest, ObjectSectionLeavesOutWhatIsNotToBeSaved)
{
    TCADStreamWriter out;
    {
        TCADCmp2D cad;
        cad.Layers().GetLayer(4).Streamable = false;
        cad.CurrentLayer = 2;
        cad.AddObject(-1, Line(0, 0, 0, 1, 1));
        cad.CurrentLayer = 4;
        cad.AddObject(-1, Line(0, 0, 0, 2, 2));
        cad.CurrentLayer = 5;
        cad.AddObject(-1, Line(0, 0, 0, 3, 3));
        std::vector<int> progress;
        cad.OnSaveProgress = [&](TCADCmp&, int p) { progress.push_back(p); };
        cad.SaveObjects(out);
        EXPECT_EQ(progress, (std::vector<int>{34, 67}));
    }
    const TRecord& bytes = out.Data();
    ASSERT_EQ(bytes.size(), 4u + 2 * (2 + 69) + 2);
    EXPECT_EQ(bytes[0], 3) << "the count counts every object";
    EXPECT_EQ(bytes[bytes.size() - 2], 0xFF);
    EXPECT_EQ(bytes[bytes.size() - 1], 0xFF) << "an Int16 -1 ends the short section";

    TCADCmp2D loaded;
    std::vector<int> progress;
    loaded.OnLoadProgress = [&](TCADCmp&, int p) { progress.push_back(p); };
    TCADStreamReader in = ReaderOf(bytes);
    loaded.LoadObjects(in, CADCurrentVersion);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(IDsOf(loaded), (std::vector<std::int32_t>{0, 1})) << "loaded objects take new IDs";
    EXPECT_EQ(progress, (std::vector<int>{33, 33}));
    EXPECT_EQ(loaded.GetObject(0)->Layer, 2);
    EXPECT_EQ(loaded.GetObject(1)->Layer, 5);
    EXPECT_EQ(loaded.CurrentLayer, 5) << "the last loaded object's layer";
    EXPECT_EQ(BoxText(loaded.GetObject(1)->Box), BoxText(MakeRect2D(0, 0, 3, 3)));
}

TEST_F(DrawingStreamTest, BlockSectionCountsOnlyTheBlocksWritten)
{
    TCADCmp2D cad;
    AddLineBlock(cad, "Lib", true, true);
    AddLineBlock(cad, "Own", false, true);
    AddLineBlock(cad, "Scratch", false, false);
    TCADStreamWriter out;
    out.WriteByte(9);
    cad.SaveBlocks(out, false);
    out.WriteByte(7);
    const TRecord& bytes = out.Data();
    EXPECT_EQ(bytes[1], 1) << "the placeholder count 3 was patched to the one block written";
    EXPECT_EQ(bytes.back(), 7) << "writing goes on at the end";

    TCADCmp2D loaded;
    TCADStreamReader in = ReaderOf(bytes);
    in.ReadByte();
    loaded.LoadBlocks(in, CADCurrentVersion);
    EXPECT_EQ(in.ReadByte(), 7);
    ASSERT_EQ(loaded.SourceBlocksCount(), 1);
    EXPECT_EQ(BlockNameToText(loaded.FindSourceBlock(BlockNameFromText("Own")).Name), "Own");
}

TEST_F(DrawingStreamTest, LoadedBlocksResolveTheirReferencesAndUpdateTheirChildren)
{
    TCADStreamWriter out;
    {
        TCADCmp2D cad;
        TSourceBlock2D* base = cad.AddSourceBlock(std::make_unique<TSourceBlock2D>(
            0, Children(std::make_unique<TCerchio2D>(1, MakePoint2D(0, 0), MakePoint2D(5, 0))),
            BlockNameFromText("Base")));
        auto reference = std::make_unique<TBlock2D>(2, base);
        reference->SetModelTransform(MakeTranslation2D(20, 0));
        cad.AddSourceBlock(std::make_unique<TSourceBlock2D>(0, Children(std::move(reference)),
                                                            BlockNameFromText("User")));
        auto dangling = std::make_unique<TBlock2D>();
        dangling->SourceName = BlockNameFromText("Nowhere");
        cad.AddSourceBlock(std::make_unique<TSourceBlock2D>(0, Children(std::move(dangling)),
                                                            BlockNameFromText("Broken")));
        cad.SaveBlocks(out, false);
    }
    TCADCmp2D cad;
    TMessageRecorder messages;
    TCADStreamReader in = ReaderOf(out.Data());
    cad.LoadBlocks(in, CADCurrentVersion);
    EXPECT_EQ(messages.Texts, std::vector<std::string>{"Source block not found. The block will not be loaded"});
    ASSERT_EQ(cad.SourceBlocksCount(), 2);
    TSourceBlock2D& base = cad.FindSourceBlock(BlockNameFromText("Base"));
    TSourceBlock2D& user = cad.FindSourceBlock(BlockNameFromText("User"));
    EXPECT_EQ(base.References(), 1u);
    EXPECT_EQ(user.ID, 1) << "blocks take the next block IDs";

    auto* circle = dynamic_cast<TCerchio2D*>(base.Objects().FindObject(1));
    ASSERT_NE(circle, nullptr);
    const TCerchio2D made(1, MakePoint2D(0, 0), MakePoint2D(5, 0));
    EXPECT_EQ(BoxText(circle->Box), BoxText(made.Box)) << "the child's box is made on load";
    EXPECT_FALSE(BoxIsEmpty(circle->Box));
    EXPECT_EQ(circle->ProfilePointCount(), 51) << "and its kept profile";
    EXPECT_EQ(BoxText(user.Box), BoxText(TransformBox2D(made.Box, MakeTranslation2D(20, 0))));

    TBlock2D placed(9, &user);
    shapetest::TShapeRecordingCanvas canvas;
    placed.Draw(IdentityTransform2D, canvas, MakeRect2D(-100, -100, 100, 100), 0);
    ASSERT_FALSE(canvas.Polylines.empty()) << "the library block draws its circle";
    EXPECT_EQ(canvas.Polylines[0][0].X, 25);
}

TEST_F(DrawingStreamTest, LoadedObjectsResolveTheirBlockReferences)
{
    TCADCmp2D cad;
    TSourceBlock2D* bar = cad.AddSourceBlock(LineBlock("Bar", 0, 0, 10, 0));
    TBlock2D direct(1, bar);
    TContainer2D group(2, Children(std::make_unique<TBlock2D>(3, bar)));
    auto lost = std::make_unique<TBlock2D>();
    lost->SourceName = BlockNameFromText("Lost");
    TRecord bytes = Section({Framed(direct), Framed(group), Framed(*lost), GoodLine()}, 4);
    TMessageRecorder messages;
    TCADStreamReader in = ReaderOf(bytes);
    cad.LoadObjects(in, CADCurrentVersion);
    EXPECT_EQ(messages.Texts, std::vector<std::string>{"Source block not found. The block will not be loaded"});
    EXPECT_EQ(cad.ObjectsCount(), 3);
    EXPECT_EQ(bar->References(), 2u + 2u) << "two here, two loaded";
    EXPECT_EQ(BoxText(cad.GetObject(1)->Box), BoxText(MakeRect2D(0, 0, 10, 0)));
}

TEST_F(DrawingStreamTest, DamagedSectionsAreRefusedWithoutHarm)
{
    TBSpline2D spline(1, std::vector<TPoint2D>{MakePoint2D(0, 0), MakePoint2D(1, 1), MakePoint2D(2, 0)});
    spline.Order = 0;
    TPolyline2D onePoint(1, std::vector<TPoint2D>{MakePoint2D(0, 0)});
    TRecord onePointLine = Framed(onePoint);
    onePointLine[0] = static_cast<std::uint8_t>(CADCoreFindClassIndex("TLine2D"));
    auto text = std::make_unique<TText2D>();
    text->Points()->Put(0, MakePoint2D(0, 0));
    text->Points()->Put(1, MakePoint2D(1, 1));
    text->Text = "abc";
    TRecord textRecord = Framed(*text);
    const std::size_t textLengthAt = 2 + 69;
    TRecord negativeText = textRecord;
    PutInt32(negativeText, textLengthAt, -1);
    TRecord longText = textRecord;
    PutInt32(longText, textLengthAt, 100000);
    TRecord manyPoints = GoodLine();
    manyPoints[2 + 42] = 0xFF;
    manyPoints[2 + 43] = 0xFF;
    TRecord truncated = GoodLine();
    truncated.resize(30);
    TContainer2D container(1, Children(Line(2, 0, 0, 1, 1)));
    TRecord hugeChildren = Framed(container);
    PutInt32(hugeChildren, 2 + 42, 1000000000);
    TRecord negativeChildren = Framed(container);
    PutInt32(negativeChildren, 2 + 42, -3);
    TBitmap2D picture(1, MakePoint2D(0, 0), MakePoint2D(1, 1), QImage());
    TRecord badPicture = Framed(picture);
    const std::size_t bmpAt = 2 + 69;
    PutInt32(badPicture, bmpAt + 18, 5); // width
    PutInt32(badPicture, bmpAt + 22, 5); // height
    badPicture[bmpAt + 28] = 7;          // no such number of bits per pixel
    TRecord notAPicture = Framed(picture);
    notAPicture[2 + 69] = 'X';
    TRecord unknownClass = GoodLine();
    unknownClass[0] = 99;
    TRecord negativeClass = GoodLine();
    negativeClass[0] = 0xF9;
    negativeClass[1] = 0xFF;

    const std::string rejected = "Object discarded.";
    const std::string classNotFound = "Object class not found. Object not load";
    struct TCase {
        const char* Name;
        TRecord Bad;
        std::size_t ObjectsLoaded; // of a good line before and one after the bad record
                                   // (none after a truncated record: it ends the data)
        std::string Message;       // a notice, or a part of the raised error's text
        bool Raises;
    };
    const std::vector<TCase> cases = {
        {"spline of order 0", Framed(spline), 2, "TBSpline2D: spline of order 0 read. Object discarded.", false},
        {"line of one point", onePointLine, 2, "TLine2D: 1 control points read, 2 needed. Object discarded.", false},
        {"picture that does not decode", badPicture, 2, "TBitmap2D: the picture cannot be read. " + rejected, false},
        {"unknown class code", unknownClass, 1, classNotFound, false},
        {"negative class code", negativeClass, 1, classNotFound, false},
        {"negative text length", negativeText, 1, "invalid string length -1", true},
        {"text past the end", longText, 1, "invalid string length 100000", true},
        {"point count past the end", manyPoints, 1, "control point count 65535", true},
        {"truncated record", truncated, 1, "runs past the end of the data", true},
        {"child count past the end", hugeChildren, 1, "child count 1000000000", true},
        {"negative child count", negativeChildren, 1, "negative child count -3", true},
        {"containers nested too deep", NestedContainers(70), 1, "nested deeper than 64 levels", true},
        {"no picture where one belongs", notAPicture, 1, "no BMP picture", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TCADCmp2D cad;
        TMessageRecorder messages;
        const bool last = std::string(c.Name) == "truncated record";
        TCADStreamReader in =
            ReaderOf(last ? Section({GoodLine(), c.Bad}, 2) : Section({GoodLine(), c.Bad, GoodLine()}, 3));
        std::string raised;
        try {
            cad.LoadObjects(in, CADCurrentVersion);
        } catch (const ECADFileNotValid& e) {
            raised = e.what();
        }
        EXPECT_EQ(cad.ObjectsCount(), static_cast<int>(c.ObjectsLoaded));
        if (c.Raises) {
            EXPECT_NE(raised.find(c.Message), std::string::npos) << raised;
            EXPECT_TRUE(messages.Texts.empty());
        } else {
            EXPECT_EQ(raised, "");
            EXPECT_EQ(messages.Texts, std::vector<std::string>{c.Message});
        }
    }
    TCADCmp2D cad;
    TCADStreamReader in = ReaderOf(Section({NestedContainers(64)}, 1));
    cad.LoadObjects(in, CADCurrentVersion);
    EXPECT_EQ(cad.ObjectsCount(), 1) << "64 levels are still read";
}

TEST_F(DrawingStreamTest, LayerRecordInTheCurrentLayout)
{
    TLayer layer(3);
    layer.SetPen({clRed, TPenStyle::Dash, TPenMode::Xor, 3});
    layer.SetBrush({clYellow, TBrushStyle::Cross});
    layer.DecorativePen.SetPattern("1101");
    layer.Active = false;
    layer.Visible = false;
    layer.Opaque = true;
    layer.Streamable = false;
    layer.SetName("Walls");
    TCADStreamWriter out;
    layer.SaveToStream(out);
    ASSERT_EQ(out.Data().size(), 55u + 4u);
    EXPECT_EQ(out.Data()[27], 5) << "the name's length byte";

    TLayer read(8);
    TCADStreamReader in = ReaderOf(out.Data());
    read.LoadFromStream(in, CADCurrentVersion);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(read.Pen(), layer.Pen());
    EXPECT_EQ(read.Brush(), layer.Brush());
    ASSERT_EQ(read.DecorativePen.PatternLength(), 4);
    EXPECT_TRUE(read.DecorativePen.GetBit(0) && read.DecorativePen.GetBit(1) && !read.DecorativePen.GetBit(2));
    EXPECT_FALSE(read.Active || read.Visible || read.Streamable);
    EXPECT_TRUE(read.Opaque);
    EXPECT_EQ(read.Name(), "Walls");
    EXPECT_TRUE(read.Modified);
}

TEST_F(DrawingStreamTest, LayerRecordsOfOlderVersions)
{
    struct TCase {
        const char* Version;
        bool HasPattern;
        bool HasVisible;
        bool HasStreamable;
        bool HasName;
        std::string ExpectedName;
    };
    const std::vector<TCase> cases = {
        {"CAD41 ", true, true, true, true, "Old"},
        {"CAD4  ", false, true, true, true, "Old"},
        {"CAD33 ", false, false, true, true, "Old"},
        {"CAD3  ", false, false, true, false, "Layer 7"},
        {"CAD2  ", false, false, false, false, "Layer 7"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Version);
        TCADStreamWriter out;
        out.WriteInt32(clNavy);
        out.WriteByte(static_cast<std::uint8_t>(TPenStyle::Dot));
        out.WriteByte(static_cast<std::uint8_t>(TPenMode::Copy));
        out.WriteInt32(2);
        out.WriteInt32(clSilver);
        out.WriteByte(static_cast<std::uint8_t>(TBrushStyle::Clear));
        out.WriteInt32(12345); // read and ignored before "CAD422"
        if (c.HasPattern) {
            out.WriteInt32(2);
            out.WriteByte(1);
            out.WriteByte(0);
        }
        out.WriteByte(1); // Active
        if (c.HasVisible)
            out.WriteByte(0);
        out.WriteByte(1); // Opaque
        if (c.HasStreamable)
            out.WriteByte(0);
        if (c.HasName) {
            out.WriteByte(3);
            out.WriteFixedString("Old", 31);
        }
        TLayer layer(7);
        TCADStreamReader in = ReaderOf(out.Data());
        layer.LoadFromStream(in, c.Version);
        EXPECT_TRUE(in.AtEnd()) << in.Remaining() << " bytes left";
        EXPECT_EQ(layer.Pen().Color, clNavy);
        EXPECT_EQ(layer.Pen().Style, TPenStyle::Dot);
        EXPECT_EQ(layer.Brush().Style, TBrushStyle::Clear);
        EXPECT_EQ(layer.DecorativePen.PatternLength(), c.HasPattern ? 2 : 0);
        EXPECT_TRUE(layer.Active);
        EXPECT_EQ(layer.Visible, !c.HasVisible) << "older records are always visible";
        EXPECT_TRUE(layer.Opaque);
        EXPECT_EQ(layer.Streamable, !c.HasStreamable);
        EXPECT_EQ(layer.Name(), c.ExpectedName);
        EXPECT_TRUE(layer.Modified);
    }
}

TEST_F(DrawingStreamTest, LayerRecordValuesOutOfRange)
{
    TCADStreamWriter out;
    out.WriteInt32(clRed);
    out.WriteByte(200); // no such pen style
    out.WriteByte(99);  // no such pen mode
    out.WriteInt32(1);
    out.WriteInt32(clWhite);
    out.WriteByte(77); // no such brush style
    out.WriteInt32(0);
    for (int i = 0; i < 4; ++i)
        out.WriteByte(1);
    out.WriteByte(250); // a name length past the field
    out.WriteFixedString(std::string(31, 'n'), 31);
    TLayer layer(1);
    TCADStreamReader in = ReaderOf(out.Data());
    layer.LoadFromStream(in, CADCurrentVersion);
    EXPECT_EQ(layer.Pen().Style, TPenStyle::Solid);
    EXPECT_EQ(layer.Pen().Mode, TPenMode::Copy);
    EXPECT_EQ(layer.Brush().Style, TBrushStyle::Solid);
    EXPECT_EQ(layer.Name(), std::string(31, 'n'));

    TCADStreamWriter pattern;
    pattern.WriteBytes(std::string_view(reinterpret_cast<const char*>(out.Data().data()), 15));
    pattern.WriteInt32(1 << 30);
    TCADStreamReader damaged = ReaderOf(pattern.Data());
    EXPECT_THROW(layer.LoadFromStream(damaged, CADCurrentVersion), ECADFileNotValid);
}
