#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../../platform/CommaLocale.h"
#include "DXFTestSupport.h"
#include "cad/base/CADExceptions.h"
#include "cad/fonts/VectFont.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Block2D.h"
#include "support/ExceptionMessage.h"
#include "support/PointExpectations.h"
#include "support/VectFontTestSupport.h"

using namespace dxftest;
using cadtest::ExpectPointNear;

namespace {

std::string Layer(const std::string& name, int colour)
{
    return "0\nLAYER\n2\n" + name + "\n70\n0\n62\n" + std::to_string(colour) + "\n";
}

void ExpectPoints(const TObject2D& object, const std::vector<TPoint2D>& expected, float tolerance = 1e-4f)
{
    const std::vector<TPoint2D> points = WorldPoints(object);
    ASSERT_EQ(points.size(), expected.size()) << object.ClassName();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectPointNear(points[i], expected[i].X, expected[i].Y, tolerance);
    }
}

float MaxX(const std::vector<TPoint2D>& points)
{
    float x = -1e30f;
    for (const TPoint2D& p : points)
        x = std::max(x, p.X);
    return x;
}

float MinX(const std::vector<TPoint2D>& points)
{
    float x = 1e30f;
    for (const TPoint2D& p : points)
        x = std::min(x, p.X);
    return x;
}

} // namespace

// One entity of each kind the import builds, in an R12 drawing whose header
// asks for clockwise angles: arcs still run counter-clockwise.
TEST(DXF2DImport, BuildsEachEntityKindAndCountsWhatItDrops)
{
    const std::string entities =
        "0\nPOINT\n10\n1\n20\n2\n"
        "0\nLINE\n10\n0\n20\n0\n11\n10\n21\n5\n"
        "0\nCIRCLE\n10\n5\n20\n5\n40\n2\n"
        "0\nARC\n10\n0\n20\n0\n40\n10\n50\n0\n51\n90\n"
        "0\nTRACE\n10\n0\n20\n0\n11\n10\n21\n0\n12\n0\n22\n1\n13\n10\n23\n1\n"
        "0\nSOLID\n10\n0\n20\n0\n11\n4\n21\n0\n12\n0\n22\n4\n13\n4\n23\n4\n"
        "0\nSOLID\n10\n0\n20\n0\n11\n4\n21\n0\n12\n0\n22\n4\n13\n0\n23\n4\n"
        "0\nPOLYLINE\n66\n1\n70\n1\n"
        "0\nVERTEX\n10\n0\n20\n0\n0\nVERTEX\n10\n10\n20\n0\n42\n1\n"
        "0\nVERTEX\n10\n10\n20\n10\n0\nVERTEX\n10\n0\n20\n10\n42\n1\n0\nSEQEND\n"
        "0\nPOLYLINE\n70\n4\n0\nVERTEX\n10\n1\n20\n1\n70\n16\n0\nSEQEND\n"
        "0\nTEXT\n1\nAB\n10\n3\n20\n4\n40\n2\n50\n90\n"
        "0\nINSERT\n2\nMISSING\n10\n0\n20\n0\n"
        "0\n3DFACE\n10\n0\n20\n0\n";
    const std::string file = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n9\n$ANGDIR\n70\n1\n"
                             "9\n$EXTMIN\n10\n50\n20\n60\n9\n$EXTMAX\n10\n-5\n20\n-6\n0\nENDSEC\n"
                             "0\nSECTION\n2\nENTITIES\n" +
                             entities + "0\nENDSEC\n0\nEOF\n";
    TVectFont font;
    vectfont_test::TMessageRecorder messages;
    TImported imported = ImportText(file, {.Font = &font, .ShowMessages = true});
    TCADCmp2D& drawing = *imported.Drawing;

    EXPECT_EQ(DxfVersion, 12);
    EXPECT_EQ(imported.AngleDirection, 0);
    ExpectPointNear(imported.Extents.FirstEdge, -5, -6);
    ExpectPointNear(imported.Extents.SecondEdge, 50, 60);
    const TDXFImportCounters counters{.Points = 1, .Lines = 1, .Arcs = 1, .Circles = 1, .Polylines = 4};
    EXPECT_EQ(imported.Result.Counters, counters);
    EXPECT_EQ(imported.Result.DroppedEntities, 3) << "the fitted polyline without fit points, the INSERT, the 3DFACE";
    EXPECT_EQ(imported.Result.LeftOut, (std::map<std::string, int>{{"3DFACE", 1}, {"INSERT", 1}, {"POLYLINE", 1}}));
    EXPECT_FALSE(imported.Result.Failed) << "what is left out is told, the file was read whole";
    EXPECT_EQ(messages.Texts, std::vector<std::string>{"Spline without spline-fitting isn't supported."});
    EXPECT_EQ(DXFImportNotice(imported.Result), "Entities left out of the drawing: 1 3DFACE, 1 INSERT, 1 POLYLINE.");

    const std::vector<TObject2D*> objects = Objects(drawing);
    ASSERT_EQ(objects.size(), 9u);
    const std::vector<std::string> classes = {"TPunto2D",    "TLine2D",     "TCerchio2D",  "TArco2D",
                                              "TPolyline2D", "TPolyline2D", "TPolyline2D", "TPolyline2D",
                                              "TJustifiedVectText2D"};
    for (std::size_t i = 0; i < classes.size(); ++i)
        EXPECT_EQ(objects[i]->ClassName(), classes[i]) << i;
    ExpectPoints(*objects[0], {{1, 2}});
    ExpectPoints(*objects[1], {{0, 0}, {10, 5}});
    ExpectPoints(*objects[2], {{5, 5}, {7, 5}});
    const auto& arc = dynamic_cast<const TArco2D&>(*objects[3]);
    EXPECT_EQ(arc.Direction, 1) << "DXF arcs run counter-clockwise whatever $ANGDIR says";
    ExpectPoints(arc, {{0, 0}, {10, 0}, {10, 0}, {0, 10}});
    // Corners in outline order 1-2-4-3: a rectangle, never a bow-tie, closed as a SOLID is.
    ExpectPoints(*objects[4], {{0, 0}, {10, 0}, {10, 1}, {0, 1}, {0, 0}});
    ExpectPoints(*objects[5], {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}});
    ExpectPoints(*objects[6], {{0, 0}, {4, 0}, {0, 4}, {0, 0}});
    // Two half circles, the second one closing the outline back to its start.
    const std::vector<TPoint2D> outline = WorldPoints(*objects[7]);
    ASSERT_EQ(outline.size(), 103u);
    ExpectPointNear(outline.front(), 0, 0);
    ExpectPointNear(outline.back(), 0, 0);
    EXPECT_NEAR(MaxX(outline), 15.0f, 0.01f);
    EXPECT_NEAR(MinX(outline), -5.0f, 0.01f);
    // Turned about its insertion point: the text rises from it, its top to the left.
    ExpectPointNear(objects[8]->Box.FirstEdge, 1, 4, 1e-4f);

    TImported withoutFont = ImportText(file);
    EXPECT_EQ(withoutFont.Result.DroppedEntities, 4) << "TEXT needs a font";
    EXPECT_EQ(withoutFont.Drawing->ObjectsCount(), 8);
}

// LWPOLYLINE vertices are read by their codes wherever widths, IDs and the
// extrusion fall; each bulge bends the segment after its vertex, and the
// closing segment follows the flag.
TEST(DXF2DImport, LightweightPolylineReadsBulgesAndClosesByItsFlag)
{
    const std::string entities = "0\nLINE\n8\nA\n10\n0\n20\n0\n11\n1\n21\n1\n"
                                 "0\nLWPOLYLINE\n8\nB\n90\n3\n70\n1\n43\n0.0\n"
                                 "10\n0\n20\n0\n40\n0.5\n41\n0.5\n"
                                 "10\n10\n20\n0\n91\n7\n42\n1\n"
                                 "10\n10\n20\n10\n42\n1\n210\n0\n220\n0\n230\n1\n"
                                 "0\nSPLINE\n8\nC\n70\n8\n73\n1000000000\n10\n0\n20\n0\n10\n5\n20\n5\n10\n9\n20\n0\n";
    TImported imported = ImportText(EntitiesFile("AC1015", entities, Layer("A", 1) + Layer("B", 2) + Layer("C", 3)));
    const std::vector<TObject2D*> objects = Objects(*imported.Drawing);
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[0]->Layer, 0);
    EXPECT_EQ(objects[1]->Layer, 1) << "an LWPOLYLINE keeps its own layer";
    EXPECT_EQ(objects[2]->Layer, 2) << "a SPLINE keeps its own layer";
    const std::vector<TPoint2D> points = WorldPoints(*objects[1]);
    ASSERT_EQ(points.size(), 102u);
    ExpectPointNear(points[0], 0, 0);
    ExpectPointNear(points[1], 10, 0);
    ExpectPointNear(points[51], 10, 10);
    ExpectPointNear(points.back(), 0, 0);
    for (int i = 1; i <= 51; ++i)
        EXPECT_NEAR(std::hypot(points[i].X - 10.0f, points[i].Y - 5.0f), 5.0f, 1e-4f) << i;
    EXPECT_NEAR(MaxX(points), 15.0f, 0.01f);
    EXPECT_NEAR(MinX(points), 5.0f - 50.0f / std::sqrt(50.0f), 0.01f) << "the closing half circle";
    EXPECT_EQ(WorldPoints(*objects[2]).size(), 3u) << "a spline takes the points it has, not the count it claims";
    EXPECT_EQ(imported.Result.Counters.Polylines, 1);
}

// Layers take the drawing's layers in file order, modulo 256, with the
// colour of their number and a clear brush.
TEST(DXF2DImport, LayersTakeTheirColourAndWrapAfter256)
{
    // The 257th layer and those after it land on layers 0, 1, 2 ... again.
    std::string table = "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n";
    const std::vector<int> colours = {1, 250, 7, -1, 300, 11, 12};
    for (int i = 0; i < 300; ++i) {
        const int k = i - 256;
        table += Layer("L" + std::to_string(i), k >= 0 && k < static_cast<int>(colours.size()) ? colours[k] : 5);
    }
    table += "0\nENDTAB\n0\nTABLE\n2\nLTYPE\n0\nLTYPE\n2\nDASHED\n0\nENDTAB\n0\nENDSEC\n";
    const std::string entities = "0\nLINE\n8\nL3\n10\n0\n20\n0\n11\n1\n21\n1\n"
                                 "0\nLINE\n8\nL256\n10\n0\n20\n0\n11\n1\n21\n1\n"
                                 "0\nLINE\n8\nunknown\n10\n0\n20\n0\n11\n1\n21\n1\n";
    TImported imported = ImportText(table + "0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n");
    const TLayers& layers = imported.Drawing->Layers();
    const auto rgb = [](int r, int g, int b) { return static_cast<TColor>(r | g << 8 | b << 16); };
    const std::vector<std::pair<std::string, TColor>> expected = {
        {"L256", rgb(255, 0, 0)},     {"L257", 0}, {"L258", 0},          {"L259", rgb(255, 0, 0)}, {"L260", 0},
        {"L261", rgb(255, 127, 127)}, {"L262", 0}, {"L263", rgb(0, 0, 255)},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(layers.GetLayer(static_cast<int>(i)).Name(), expected[i].first);
        EXPECT_EQ(layers.GetLayer(static_cast<int>(i)).Pen().Color, expected[i].second);
        EXPECT_EQ(layers.GetLayer(static_cast<int>(i)).Brush().Style, TBrushStyle::Clear);
    }
    const std::vector<TObject2D*> objects = Objects(*imported.Drawing);
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(layers.GetLayer(44).Name(), "L44");
    EXPECT_EQ(objects[0]->Layer, 3) << "a name keeps the first layer it was listed with";
    EXPECT_EQ(objects[1]->Layer, 0);
    EXPECT_EQ(objects[2]->Layer, 0) << "an unknown layer leaves the current one";
}

// The axis point of an ELLIPSE is relative from R13 on; only files without a
// version, or of R12, give it as an absolute point with the minor axis as a length.
TEST(DXF2DImport, EllipseAxisFollowsTheFileVersion)
{
    struct TCase {
        std::string AcadVer;
        int Version;
        TPoint2D SecondCorner;
    };
    const float s = std::sqrt(0.5f);
    const TPoint2D absolute{10 + 10 + 0.5f * s, 10 - 10 + 0.5f * s, 1};
    const TCase cases[] = {
        {"", 10, absolute},          {"AC1009", 12, absolute},      {"AC1012", 13, {30, 20, 1}},
        {"AC1014", 14, {30, 20, 1}}, {"AC1015", 2000, {30, 20, 1}}, {"AC1018", 2004, {30, 20, 1}},
        {"AC1021", 10, {30, 20, 1}}, {"AC1032", 10, {30, 20, 1}},
    };
    const std::string ellipse = "0\nELLIPSE\n10\n10\n20\n10\n11\n20\n21\n0\n40\n0.5\n41\n0\n42\n6.283185307179586\n";
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.AcadVer);
        TImported imported = ImportText(EntitiesFile(c.AcadVer, ellipse));
        EXPECT_EQ(DxfVersion, c.Version);
        const std::vector<TObject2D*> objects = Objects(*imported.Drawing);
        ASSERT_EQ(objects.size(), 1u);
        EXPECT_EQ(objects[0]->ClassName(), "TEllipse2D");
        ExpectPointNear(WorldPoints(*objects[0])[1], c.SecondCorner.X, c.SecondCorner.Y, 1e-3f);
        EXPECT_EQ(imported.Result.Counters.Ellipses, 1);
    }
}

// Named blocks are read with their base point baked in and their names cut
// to 12 characters; anonymous blocks and empty ones are not kept. A section
// the import does not know is passed over.
TEST(DXF2DImport, BlocksAndTheirReferences)
{
    const std::string file =
        "0\nSECTION\n2\nACDSDATA\n0\nACDSRECORD\n2\nX\n0\nENDSEC\n"
        "0\nSECTION\n2\nBLOCKS\n"
        "0\nBLOCK\n2\n*D1\n70\n1\n10\n0\n20\n0\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDBLK\n"
        "0\nBLOCK\n2\nEMPTY\n70\n0\n10\n0\n20\n0\n0\nENDBLK\n"
        "0\nBLOCK\n2\nAVERYLONGBLOCKNAME\n70\n0\n10\n5\n20\n5\n"
        "0\nLINE\n10\n5\n20\n5\n11\n6\n21\n5\n0\nENDBLK\n0\nENDSEC\n"
        "0\nSECTION\n2\nENTITIES\n"
        "0\nINSERT\n2\n*D1\n10\n0\n20\n0\n"
        "0\nINSERT\n2\nAVERYLONGBLOCKNAME\n10\n100\n20\n0\n41\n2\n42\n3\n50\n90\n"
        "0\nINSERT\n2\nEMPTY\n10\n0\n20\n0\n"
        "0\nENDSEC\n0\nEOF\n";
    TImported imported = ImportText(file, {.ScaleX = 2, .ScaleY = 2, .OffsetX = 1, .OffsetY = 1});
    EXPECT_EQ(imported.Result.SkippedBlocks, 1);
    EXPECT_EQ(imported.Result.DroppedEntities, 2);
    EXPECT_EQ(imported.Result.Counters.Inserts, 1);
    ASSERT_EQ(imported.Drawing->SourceBlocksCount(), 1);
    const TSourceBlock2D& block = imported.Drawing->FindSourceBlock(BlockNameFromText("AVERYLONGBLO"));
    ExpectPointNear(block.Box.FirstEdge, 0, 0);
    ExpectPointNear(block.Box.SecondEdge, 1, 0);
    const std::vector<TObject2D*> objects = Objects(*imported.Drawing);
    ASSERT_EQ(objects.size(), 1u);
    // (1, 0) of the block: scaled (2, 0), turned (0, 2), moved (100, 2), then
    // the import's scale 2 and offset 1.
    ExpectPointNear(objects[0]->Box.FirstEdge, 201, 1, 1e-3f);
    ExpectPointNear(objects[0]->Box.SecondEdge, 201, 5, 1e-3f);
}

// Every way a file can fail: the user hears of it, and what was read stays.
TEST(DXF2DImport, FailuresAreReportedAndKeepWhatWasRead)
{
    vectfont_test::TMessageRecorder messages;
    const std::string missing = "/nonexistent/drawing.dxf";
    TImported unopened = ImportFile(missing);
    EXPECT_TRUE(unopened.Result.Failed);
    TImported garbage = ImportText("this is not a drawing\n");
    EXPECT_TRUE(garbage.Result.Failed);
    EXPECT_EQ(messages.Texts, (std::vector<std::string>{"File not found!\r\n" + missing, "Invalid DXF file."}));

    const std::string line = "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n";
    TCADCmp2D drawing;
    TDXF2DImport open(TDXFRead::FromBytes(EntitiesFile("", line + "0\nPOLYLINE\n0\nVERTEX\n10\n1\n20\n1\n" + line)),
                      &drawing);
    EXPECT_EQ(cadtest::MessageOf<ECADFileNotValid>([&] { open.Import(); }), "Invalid DXF file.");
    EXPECT_EQ(drawing.ObjectsCount(), 1) << "the LINE before the open POLYLINE stays";

    messages.Texts.clear();
    TImported damaged = ImportText(EntitiesFile("", line + "1O\n5\n" + line));
    EXPECT_TRUE(damaged.Result.Failed);
    EXPECT_EQ(damaged.Drawing->ObjectsCount(), 1);
    EXPECT_EQ(messages.Texts, std::vector<std::string>{"Invalid DXF file."});

    // Cut anywhere, a file still ends: inside a polyline, a header, a block.
    const std::string whole =
        "0\nSECTION\n2\nHEADER\n9\n$EXTMIN\n10\n0\n20\n0\n0\nENDSEC\n0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n70\n0\n"
        "0\nLWPOLYLINE\n90\n2\n10\n0\n20\n0\n42\n1\n10\n1\n20\n0\n0\nENDBLK\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
        "0\nINSERT\n2\nB\n10\n1\n20\n1\n0\nPOLYLINE\n0\nVERTEX\n10\n1\n20\n1\n0\nSEQEND\n0\nENDSEC\n0\nEOF\n";
    // Cut inside its last section, a file was not read whole, and says so;
    // one that closed it needs no EOF.
    const std::size_t opened = whole.rfind("0\nSECTION") + 9;
    const std::size_t closed = whole.rfind("0\nENDSEC\n") + 9;
    for (std::size_t cut = 0; cut <= whole.size(); cut += 3) {
        TCADCmp2D target;
        TDXF2DImport import(TDXFRead::FromBytes(whole.substr(0, cut)), &target);
        try {
            import.Import();
        } catch (const ECADFileNotValid&) {
            // A POLYLINE cut before its SEQEND.
        }
        if (cut >= opened) {
            EXPECT_EQ(import.LastResult().Failed, cut < closed) << cut;
        }
        EXPECT_EQ(import.LastResult().LeftOut, (std::map<std::string, int>{})) << "nothing is left out, only cut";
        for (TObject2D* object : Objects(target))
            for (const TPoint2D& p : WorldPoints(*object))
                ASSERT_TRUE(Finite(p)) << cut;
    }
}

// Numbers read the same under a comma locale; scale comes before offset.
TEST(DXF2DImport, CommaLocaleScaleAndOffset)
{
    CommaLocale comma;
    ASSERT_TRUE(CommaLocale::Active()) << "the de_DE.UTF-8 locale is missing (tools/install-deps.sh)";
    const std::string entities = "0\nLINE\n10\n1,0\n20\n1.0\n11\n2,5\n21\n3\n"
                                 "0\nLINE\n10\n1e39\n20\n0\n11\n0\n21\n0\n";
    TImported imported = ImportText(EntitiesFile("AC1015", entities), {.ScaleX = 2, .ScaleY = 3, .OffsetX = 10,
                                                                       .OffsetY = 20});
    const std::vector<TObject2D*> objects = Objects(*imported.Drawing);
    ASSERT_EQ(objects.size(), 1u) << "a line beyond the drawing's numbers is dropped";
    ExpectPoints(*objects[0], {{12, 23}, {15, 29}});
    EXPECT_EQ(imported.Result.DroppedEntities, 1);
    EXPECT_EQ(std::localeconv()->decimal_point[0], ',') << "the locale is left alone";
}

// A drawing stream counts points in 16 bits: a longer outline is cut into
// polylines that meet end to end.
TEST(DXF2DImport, LongOutlinesAreCutIntoPiecesTheStreamCanHold)
{
    std::string entity = "0\nLWPOLYLINE\n90\n1400\n70\n0\n";
    for (int i = 0; i < 1400; ++i)
        entity += "10\n" + std::to_string(i) + "\n20\n0\n42\n1\n";
    TImported imported = ImportText(EntitiesFile("AC1015", entity));
    const std::vector<TObject2D*> objects = Objects(*imported.Drawing);
    ASSERT_EQ(objects.size(), 2u);
    const std::vector<TPoint2D> first = WorldPoints(*objects[0]);
    const std::vector<TPoint2D> second = WorldPoints(*objects[1]);
    EXPECT_EQ(first.size(), 65535u);
    EXPECT_EQ(first.size() + second.size() - 1, 1u + 1399u * 50u);
    ExpectPointNear(second.front(), first.back().X, first.back().Y);
    ExpectPointNear(second.back(), 1399, 0);
    EXPECT_EQ(imported.Result.Counters.Polylines, 1);
}
