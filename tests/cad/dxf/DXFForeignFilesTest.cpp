// Drawings written by other programs, read where their Debian packages put
// them (openscad-testing-data, librecad-data). The expectations below were
// taken by hand from each file's text.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DXFTestSupport.h"
#include "cad/base/CADExceptions.h"
#include "cad/shapes/Block2D.h"
#include "support/ImageTestSupport.h"
#include "support/PointExpectations.h"
#include "support/VectFontTestSupport.h"
#include "support/ViewportTestSupport.h"

using namespace dxftest;
using cadtest::ExpectPointNear;
namespace fs = std::filesystem;

namespace {

const fs::path OpenScadDir = "/usr/share/openscad/testdata";
const fs::path LibreCadDir = "/usr/share/librecad";

std::vector<fs::path> DxfFilesUnder(const fs::path& dir)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        std::string extension = it->path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
        if (it->is_regular_file() && extension == ".dxf")
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The line ends of a block reference's source block, in world coordinates.
std::vector<TPoint2D> ReferencedPoints(const TBlock2D& reference)
{
    std::vector<TPoint2D> points;
    auto children = reference.SourceBlock()->Objects().GetIterator();
    const TTransform2D outer = MultiplyTransforms2D(reference.SourceBlock()->GetTransform(), reference.GetTransform());
    for (TGraphicObject* child = children->First(); child; child = children->Next())
        for (const TPoint2D& p : WorldPoints(*dynamic_cast<TObject2D*>(child)))
            points.push_back(CartesianPoint2D(ApplyTransform2D(p, outer)));
    return points;
}

bool HasPointNear(const std::vector<TPoint2D>& points, float x, float y, float tolerance = 1e-3f)
{
    return std::any_of(points.begin(), points.end(),
                       [&](TPoint2D p) { return std::abs(p.X - x) < tolerance && std::abs(p.Y - y) < tolerance; });
}

struct TFileCase {
    fs::path File;
    int Version;
    std::map<std::string, int> Classes;
    TDXFImportCounters Counters;
};

// A picture of the drawing for a reviewer, in test-output/dxf/.
void SavePicture(TCADCmp2D& drawing, const fs::path& file)
{
    TRect2D box;
    if (!drawing.GetExtension(box))
        return;
    const float margin = std::max(box.SecondEdge.X - box.FirstEdge.X, box.SecondEdge.Y - box.FirstEdge.Y) / 20;
    auto view = viewtest::MakeView(400, 400, InflateBox2D(box, margin), 1.0f);
    view->SetDrawing(&drawing);
    view->Repaint();
    EXPECT_TRUE(imagetest::SaveTestImage(view->BitmapImage(), "dxf/" + file.stem().string() + ".png"));
    view->SetDrawing(nullptr);
}

// Imports the file and checks what every hand-written case shares.
TImported ExpectFile(const TFileCase& c)
{
    SCOPED_TRACE(c.File.string());
    TImported imported = ImportFile(c.File);
    SavePicture(*imported.Drawing, c.File);
    EXPECT_FALSE(imported.Result.Failed);
    EXPECT_EQ(DxfVersion, c.Version);
    EXPECT_EQ(ClassCounts(*imported.Drawing), c.Classes);
    EXPECT_EQ(imported.Result.Counters, c.Counters);
    return imported;
}

} // namespace

TEST(DXFForeignFiles, HandCheckedOpenScadDrawings)
{
    if (!fs::exists(OpenScadDir / "dxf"))
        GTEST_SKIP() << "openscad-testing-data is not installed (tools/install-deps.sh)";
    const fs::path dir = OpenScadDir / "dxf";
    const auto rgb = [](int r, int g, int b) { return static_cast<TColor>(r | g << 8 | b << 16); };

    // Comma decimals, in the header and in every coordinate.
    TImported comma = ExpectFile({dir / "nothing-decimal-comma-separated.dxf", 10, {{"TLine2D", 4}}, {.Lines = 4}});
    ExpectPointNear(comma.Extents.FirstEdge, -6.63671875f, -0.0244140625f);
    ExpectPointNear(comma.Extents.SecondEdge, 7.1357421875f, 0.921875f);
    const std::vector<TObject2D*> lines = Objects(*comma.Drawing);
    ExpectPointNear(WorldPoints(*lines[0])[0], 0.1f, 0.1f);
    ExpectPointNear(WorldPoints(*lines[3])[0], 0.0f, 2.5f);
    EXPECT_EQ(comma.Drawing->Layers().GetLayer(0).Pen().Color, rgb(255, 255, 255));

    TImported layered = ExpectFile(
        {dir / "multiple-layers.dxf", 2000, {{"TLine2D", 10}, {"TCerchio2D", 1}}, {.Lines = 10, .Circles = 1}});
    const TLayers& layers = layered.Drawing->Layers();
    EXPECT_EQ(layers.GetLayer(1).Name(), "noname");
    EXPECT_EQ(layers.GetLayer(2).Name(), "Layer with a pretty long name i");
    EXPECT_EQ(layers.GetLayer(2).Pen().Color, rgb(0, 0, 0));
    std::vector<int> onLayer;
    for (TObject2D* object : Objects(*layered.Drawing))
        onLayer.push_back(object->Layer);
    EXPECT_EQ(onLayer, (std::vector<int>{0, 0, 0, 0, 1, 2, 2, 2, 2, 2, 2}));
    ExpectPointNear(WorldPoints(*Objects(*layered.Drawing)[4])[1], 70.7106781f, 0.0f);

    TImported ellipse =
        ExpectFile({dir / "ellipse.dxf", 2000, {{"TEllipse2D", 1}}, {.Ellipses = 1}});
    const std::vector<TPoint2D> corners = WorldPoints(*Objects(*ellipse.Drawing)[0]);
    ExpectPointNear(corners[0], -100, -50);
    ExpectPointNear(corners[1], 100, 50);

    // The first elliptic arc (axis (40, 40) from (50, 50), ratio 0.5) starts
    // and ends where the file's fourth line does.
    TImported arcs = ExpectFile(
        {dir / "ellipse-arc-rot.dxf", 2000, {{"TArc2D", 4}, {"TLine2D", 4}}, {.Lines = 4, .Ellipses = 4}});
    const std::vector<TPoint2D> arc = WorldPoints(*Objects(*arcs.Drawing)[0]);
    ExpectPointNear(arc[2], 14.2229124f, 50.0f, 1e-3f);
    ExpectPointNear(arc[3], 50.0f, 14.2229124f, 1e-3f);

    TImported closed =
        ExpectFile({dir / "lwpolyline-closed.dxf", 2000, {{"TPolyline2D", 1}}, {.Polylines = 1}});
    const std::vector<TPoint2D> triangle = WorldPoints(*Objects(*closed.Drawing)[0]);
    ASSERT_EQ(triangle.size(), 4u);
    ExpectPointNear(triangle[1], 0, 0);
    ExpectPointNear(triangle[3], 50, 50);

    TImported quarter = ExpectFile({dir / "arc.dxf", 2000, {{"TArco2D", 1}, {"TLine2D", 2}}, {.Lines = 2, .Arcs = 1}});
    const std::vector<TPoint2D> quarterPoints = WorldPoints(*Objects(*quarter.Drawing)[0]);
    ExpectPointNear(quarterPoints[2], 100, 0, 1e-3f);
    ExpectPointNear(quarterPoints[3], 0, 100, 1e-3f);

    // Blocks placed mirrored, turned by a full turn, and halved and turned by
    // 45 degrees: each meets the lines the file draws beside it.
    TImported inserted = ExpectFile({dir / "transform-insert.dxf", 2000, {{"TLine2D", 18}, {"TBlock2D", 6}},
                                     {.Lines = 32, .Inserts = 6}});
    EXPECT_EQ(inserted.Drawing->SourceBlocksCount(), 2) << "the empty model and paper space blocks are dropped";
    const std::vector<TObject2D*> objects = Objects(*inserted.Drawing);
    const auto& mirrored = dynamic_cast<const TBlock2D&>(*objects[12]);
    EXPECT_TRUE(HasPointNear(ReferencedPoints(mirrored), 29, -10));
    EXPECT_TRUE(HasPointNear(ReferencedPoints(mirrored), 29, -12));
    const auto& turned = dynamic_cast<const TBlock2D&>(*objects[22]);
    EXPECT_TRUE(HasPointNear(ReferencedPoints(turned), 56.1109127f, 3.1819805f));
    EXPECT_TRUE(HasPointNear(ReferencedPoints(turned), 56.8180195f, 3.8890873f));
}

TEST(DXFForeignFiles, HandCheckedLibreCadDrawings)
{
    if (!fs::exists(LibreCadDir / "library"))
        GTEST_SKIP() << "librecad-data is not installed (tools/install-deps.sh)";
    // A closed outline of four straight sides and four quarter circles (bulge 0.414209).
    TImported rounded = ExpectFile(
        {LibreCadDir / "library/block/blk1.dxf", 10, {{"TPolyline2D", 1}}, {.Polylines = 1}});
    const std::vector<TPoint2D> outline = WorldPoints(*Objects(*rounded.Drawing)[0]);
    ASSERT_EQ(outline.size(), 1u + 4u * 50u + 4u);
    ExpectPointNear(outline.front(), 30, 0);
    ExpectPointNear(outline[50], 35, 5);
    ExpectPointNear(outline.back(), 30, 0);
    for (int i = 1; i < 50; ++i)
        EXPECT_NEAR(std::hypot(outline[i].X - 30.0f, outline[i].Y - 5.0f), 5.0f, 1e-3f) << i;
    ExpectPointNear(Objects(*rounded.Drawing)[0]->Box.FirstEdge, -5, 0, 1e-3f);
    ExpectPointNear(Objects(*rounded.Drawing)[0]->Box.SecondEdge, 35, 20, 1e-3f);

    TImported points = ExpectFile({LibreCadDir / "library/elektro/transformer/at2.dxf", 10,
                                   {{"TCerchio2D", 2}, {"TPunto2D", 2}, {"TArco2D", 1}},
                                   {.Points = 2, .Arcs = 1, .Circles = 2}});
    const std::vector<TObject2D*> objects = Objects(*points.Drawing);
    ExpectPointNear(WorldPoints(*objects[2])[0], 0, 15);
    const std::vector<TPoint2D> arc = WorldPoints(*objects[4]);
    ExpectPointNear(arc[0], -5, 10);
    const float end = 72.5f * std::numbers::pi_v<float> / 180.0f;
    ExpectPointNear(arc[3], -5 + 10 * std::cos(end), 10 + 10 * std::sin(end), 1e-3f);
}

namespace {

// Every file loads without a crash or a hang, with finite coordinates, and
// with a drawing no larger than a fixed number of points per byte of file.
void LoadEveryFile(const fs::path& dir)
{
    const std::vector<fs::path> files = DxfFilesUnder(dir);
    ASSERT_FALSE(files.empty());
    vectfont_test::TMessageRecorder quiet;
    int objects = 0;
    int dropped = 0;
    int told = 0;
    int notWhole = 0;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        auto run = std::async(std::launch::async, [&] {
            TImported imported;
            TDXF2DImport import(file, imported.Drawing.get());
            try {
                imported.Result = import.Import();
            } catch (const ECADFileNotValid&) {
                // A POLYLINE not ended by SEQEND: what was read stays.
            }
            return imported;
        });
        // Only a guard against a reader that never ends; no timing is measured.
        if (run.wait_for(std::chrono::minutes(5)) == std::future_status::timeout) {
            std::fprintf(stderr, "the import of %s does not end\n", file.string().c_str());
            std::_Exit(1);
        }
        TImported imported = run.get();
        std::size_t pointCount = 0;
        for (TObject2D* object : Objects(*imported.Drawing)) {
            const std::vector<TPoint2D> points = WorldPoints(*object);
            pointCount += points.size();
            ASSERT_TRUE(std::all_of(points.begin(), points.end(), Finite)) << object->ClassName();
            ASSERT_TRUE(Finite(object->Box.FirstEdge) && Finite(object->Box.SecondEdge)) << object->ClassName();
        }
        EXPECT_LE(pointCount, fs::file_size(file) + 64);
        objects += imported.Drawing->ObjectsCount();
        dropped += imported.Result.DroppedEntities;
        told += DXFImportNotice(imported.Result).empty() ? 0 : 1;
        notWhole += imported.Result.Failed ? 1 : 0;
    }
    std::printf("%zu files, %d objects, %d entities left out; %d files open with a notice, %d not read whole\n",
                files.size(), objects, dropped, told, notWhole);
}

} // namespace

TEST(DXFForeignFiles, EveryOpenScadDrawingLoads)
{
    if (!fs::exists(OpenScadDir))
        GTEST_SKIP() << "openscad-testing-data is not installed (tools/install-deps.sh)";
    LoadEveryFile(OpenScadDir);
}

TEST(DXFForeignFiles, EveryLibreCadDrawingLoads)
{
    if (!fs::exists(LibreCadDir))
        GTEST_SKIP() << "librecad-data is not installed (tools/install-deps.sh)";
    LoadEveryFile(LibreCadDir);
}
