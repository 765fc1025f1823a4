// Files built to make the loader work, allocate or recurse without bound: each
// must load at once, refuse what is too much with its notice, and keep the rest.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <QImage>
#include <QPainter>

#include "cad/canvas/DecorativeCanvas.h"
#include "cad/drawing/BlockLibrary.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Polyline2D.h"
#include "support/BlockTestSupport.h"

using namespace blocktest;

namespace {

using TBytes = std::vector<std::uint8_t>;

std::string HostileFile(const std::string& name)
{
    return std::string(KESTRO_TEST_DATA_DIR) + "/hostile/" + name;
}

std::vector<std::string> ChainNames(int first, int last)
{
    std::vector<std::string> names;
    for (int i = first; i <= last; ++i)
        names.push_back("B" + std::to_string(i));
    return names;
}

// Counts what reaches the device, and draws nothing.
class TCountingCanvas : public TDecorativeCanvas {
public:
    void LineTo(int, int) override { ++Strokes; }
    void Polyline(const TWindowPoint*, int) override { ++Strokes; }
    void Polygon(const TWindowPoint*, int) override { ++Strokes; }
    long Strokes = 0;
};

// A chain of blocks B0 .. B<last>: B0 holds a line, every later block holds
// `references` references to the block before it.
TCADCmp2D& AddChain(TCADCmp2D& cad, int last, int references)
{
    AddLineBlock(cad, "B0", true, true);
    for (int i = 1; i <= last; ++i) {
        TSourceBlock2D& previous = cad.FindSourceBlock(BlockNameFromText("B" + std::to_string(i - 1)));
        std::vector<std::unique_ptr<TObject2D>> children;
        for (int r = 0; r < references; ++r)
            children.push_back(std::make_unique<TBlock2D>(r, &previous));
        auto block = std::make_unique<TSourceBlock2D>(0, std::move(children), BlockNameFromText("B" + std::to_string(i)));
        block->IsLibraryBlock = true;
        cad.AddSourceBlock(std::move(block));
    }
    return cad;
}

TBytes LibraryOf(TCADCmp2D& cad)
{
    TCADStreamWriter out;
    SaveBlockLibrary(cad, out);
    return out.Data();
}

// The shared spline reproducer at five times its size, built with the writer:
// twenty splines of order 255 over 255 points, at curve precision 32767.
TBytes TwentySplines()
{
    std::vector<TPoint2D> control;
    for (int i = 0; i < 255; ++i)
        control.push_back(MakePoint2D(static_cast<float>(i), static_cast<float>(i % 7)));
    std::vector<std::unique_ptr<TObject2D>> splines;
    for (int i = 0; i < 20; ++i) {
        auto spline = std::make_unique<TBSpline2D>(i + 1, control);
        spline->Order = 255;
        spline->CurvePrecision = 32767;
        splines.push_back(std::move(spline));
    }
    TCADCmp2D cad;
    auto block = std::make_unique<TSourceBlock2D>(0, std::move(splines), BlockNameFromText("Splines"));
    block->IsLibraryBlock = true;
    cad.AddSourceBlock(std::move(block));
    return LibraryOf(cad);
}

class HostileFilesTest : public TRegisteredClassesTest {};

} // namespace

TEST_F(HostileFilesTest, RecordsThatAskForTooMuchAreRefusedAndTheRestLoads)
{
    // One notice for every block that refers to a refused one, however many there are.
    const auto notFound = [](int blocks) {
        return "Source block not found for " + std::to_string(blocks) + " blocks. They will not be loaded";
    };
    const auto expanded = [](int block) {
        return "Source block B" + std::to_string(block) +
               ": block references that expand to more than 65536 objects. The block will not be loaded";
    };
    const std::string splineNotice =
        "TBSpline2D: spline of order 255 with curve precision 32767 read, more work than 4194304 steps to draw. "
        "Object discarded.";
    struct TCase {
        std::string File;
        std::vector<std::string> Blocks;
        // Each notice expected, and how many times in a row.
        std::vector<std::pair<std::string, int>> Notices;
        int ChildrenOfFirst;
    };
    const std::vector<TCase> cases = {
        // Each spline would build an outline of 32767 points at order 255 to find its box.
        {HostileFile("spline-order255-precision32767-x4.blk"), {"Splines"}, {{splineNotice, 4}}, 0},
        {WriteTestFile("spline-order255-precision32767-x20.blk", TwentySplines()), {"Splines"}, {{splineNotice, 20}}, 0},
        // Each picture's 2 bytes of run-length data claim 8000 x 4000 pixels.
        {HostileFile("bmp-amplification-100.blk"),
         {"Pictures"},
         {{"TBitmap2D: a picture of 8000 x 4000 pixels cannot be filled from 2 bytes of run-length data. Object "
           "discarded.",
           100}},
         0},
        // Each block refers twice to the one before: B<n> expands to 5 x 2^n - 3 objects.
        {HostileFile("exponential-references-n20-k2.blk"), ChainNames(0, 13), {{expanded(14), 1}, {notFound(6), 1}}, 1},
        {HostileFile("exponential-references-n40-k2.blk"), ChainNames(0, 13), {{expanded(14), 1}, {notFound(26), 1}}, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.File);
        TCADCmp2D cad;
        TMessageRecorder messages;
        EXPECT_TRUE(LoadBlockLibraryFile(cad, c.File));
        ASSERT_EQ(SourceBlockNames(cad), c.Blocks);
        std::vector<std::string> expected;
        for (const auto& [text, times] : c.Notices)
            expected.insert(expected.end(), static_cast<std::size_t>(times), text);
        EXPECT_EQ(messages.Texts, expected);
        auto first = cad.SourceBlocksIterator();
        EXPECT_EQ(static_cast<TSourceBlock2D*>(first->First())->Objects().Count(), c.ChildrenOfFirst);
    }

    // The largest block kept draws each of its 2^13 lines once; far off the
    // clip its children are not visited at all.
    TCADCmp2D cad;
    TMessageRecorder messages;
    ASSERT_TRUE(LoadBlockLibraryFile(cad, HostileFile("exponential-references-n20-k2.blk")));
    TBlock2D reference(0, &cad.FindSourceBlock(BlockNameFromText("B13")));
    TCountingCanvas canvas;
    reference.Draw(IdentityTransform2D, canvas, MakeRect2D(-10, -10, 10, 10), 0);
    EXPECT_EQ(canvas.Strokes, 8192);
    canvas.Strokes = 0;
    reference.Draw(IdentityTransform2D, canvas, MakeRect2D(100, 100, 110, 110), 0);
    EXPECT_EQ(canvas.Strokes, 0);
}

TEST_F(HostileFilesTest, ReferencesResolveByNameAndNestOnlySoDeep)
{
    // A long chain of single references: each block is found by its name at
    // once (the first of a name wins), until the nesting limit refuses one.
    TCADCmp2D source;
    AddChain(source, 40, 1);
    AddLineBlock(source, "B5", true, true);
    auto late = std::make_unique<TSourceBlock2D>(
        0, Children(std::make_unique<TBlock2D>(0, &source.FindSourceBlock(BlockNameFromText("B5")))),
        BlockNameFromText("Late"));
    late->IsLibraryBlock = true;
    source.AddSourceBlock(std::move(late));
    TCADCmp2D cad;
    TMessageRecorder messages;
    TCADStreamReader in = ReaderOf(LibraryOf(source));
    cad.LoadLibrary(in);
    std::vector<std::string> kept = ChainNames(0, 32);
    kept.push_back("B5");
    kept.push_back("Late");
    EXPECT_EQ(SourceBlockNames(cad), kept);
    const std::vector<std::string> expected{
        "Source block B33: block references nested deeper than 32 levels. The block will not be loaded",
        "Source block not found for 7 blocks. They will not be loaded"};
    EXPECT_EQ(messages.Texts, expected);
    EXPECT_EQ(cad.FindSourceBlock(BlockNameFromText("B5")).References(), 2u) << "the first of a name is taken";

    // Thousands of blocks, each referring to one stored long before it.
    constexpr int Count = 5000;
    TCADCmp2D wide;
    std::vector<TSourceBlock2D*> blocks{AddLineBlock(wide, "B0", true, true)};
    for (int i = 1; i < Count; ++i) {
        auto block = std::make_unique<TSourceBlock2D>(0, Children(std::make_unique<TBlock2D>(0, blocks[i / 2])),
                                                      BlockNameFromText("B" + std::to_string(i)));
        block->IsLibraryBlock = true;
        blocks.push_back(wide.AddSourceBlock(std::move(block)));
    }
    TCADCmp2D loaded;
    TCADStreamReader wideIn = ReaderOf(LibraryOf(wide));
    loaded.LoadLibrary(wideIn);
    EXPECT_EQ(loaded.SourceBlocksCount(), Count);
    EXPECT_EQ(loaded.FindSourceBlock(BlockNameFromText("B1")).References(), 2u);
    EXPECT_EQ(messages.Texts.size(), expected.size());
}

TEST_F(HostileFilesTest, PicturesAndReferencesShareOneBudgetPerFile)
{
    // Four small pictures against a budget for three of them.
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    std::vector<std::unique_ptr<TObject2D>> pictures;
    for (int i = 0; i < 4; ++i)
        pictures.push_back(std::make_unique<TBitmap2D>(i, MakePoint2D(0, 0), MakePoint2D(1, 1), image));
    TCADCmp2D withPictures;
    auto block = std::make_unique<TSourceBlock2D>(0, std::move(pictures), BlockNameFromText("Pictures"));
    block->IsLibraryBlock = true;
    withPictures.AddSourceBlock(std::move(block));
    {
        TCADCmp2D cad;
        TMessageRecorder messages;
        TCADStreamReader in = ReaderOf(LibraryOf(withPictures));
        in.SetBudgets(3 * 64 * 64 * 4, MaxExpandedObjectsPerFile);
        cad.LoadLibrary(in);
        EXPECT_EQ(cad.FindSourceBlock(BlockNameFromText("Pictures")).Objects().Count(), 3);
        EXPECT_EQ(messages.Texts, std::vector<std::string>{"TBitmap2D: the pictures of this file would need more "
                                                           "memory than one file may take. Object discarded."});
    }

    // Ten references, each showing a block of a line (three objects drawn),
    // against a budget for twenty objects.
    TCADCmp2D drawing;
    TSourceBlock2D* line = AddLineBlock(drawing, "Line", false, true);
    for (int i = 0; i < 10; ++i)
        drawing.AddObject(-1, std::make_unique<TBlock2D>(0, line));
    TCADStreamWriter out;
    drawing.SaveBlocks(out, false);
    drawing.SaveObjects(out);
    TCADCmp2D cad;
    TMessageRecorder messages;
    TCADStreamReader in = ReaderOf(out.Data());
    in.SetBudgets(MaxPictureBytesPerFile, 20);
    cad.LoadBlocks(in, TCADCmp::Version);
    cad.LoadObjects(in, TCADCmp::Version);
    EXPECT_EQ(cad.ObjectsCount(), 6);
    EXPECT_EQ(messages.Texts, std::vector<std::string>(4, "TBlock2D: block references that expand to more objects "
                                                          "than one file may ask for. Object discarded."));
}

TEST_F(HostileFilesTest, ALayerPatternPastItsLimitIsCutAndStillWalks)
{
    // A pattern of 40000 elements, on from element 32767: read back it keeps
    // its first 32767, with a notice, and the record's other fields.
    TLayer layer(2);
    for (int i = 0; i < 40000; ++i)
        layer.DecorativePen.SetBit(i, i >= 32767 || i % 3 != 0);
    layer.SetName("Cut");
    TCADStreamWriter out;
    layer.SaveToStream(out);
    TLayer read(2);
    TMessageRecorder messages;
    TCADStreamReader in = ReaderOf(out.Data());
    read.LoadFromStream(in, TCADCmp::Version);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(read.Name(), "Cut");
    EXPECT_EQ(read.DecorativePen.PatternLength(), 32767);
    EXPECT_EQ(messages.Texts, std::vector<std::string>{"Layer 2: dash pattern of 40000 elements cut to 32767"});

    // A zig-zag whose pen walks far more pixels than the pattern holds.
    std::vector<TPoint2D> points;
    for (int i = 0; i < 400; ++i) {
        points.push_back(MakePoint2D(0, static_cast<float>(i)));
        points.push_back(MakePoint2D(100, i + 0.5f));
    }
    TPolyline2D zigzag(1, points);
    QImage image(120, 420, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        TDecorativeCanvas canvas(&painter);
        ASSERT_TRUE(read.ApplyToCanvas(canvas));
        zigzag.Draw(IdentityTransform2D, canvas, MakeRect2D(0, 0, 120, 420), 0);
    }
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += image.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(ink, 20000);
}
