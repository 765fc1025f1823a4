#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"
#include "import/VectorWriters.h"
#include "../platform/CommaLocale.h"

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// One of each entity the writers know, one they skip, a hidden one, an empty
// one and a moved one.
void FillTestDrawing(TCADCmp2D& drawing)
{
    const auto add = [&](std::unique_ptr<TObject2D> object) { return drawing.AddObject(-1, std::move(object)); };
    add(std::make_unique<TLine2D>(0, MakePoint2D(1, 2), MakePoint2D(3, 4)));
    add(std::make_unique<TFrame2D>(0, MakePoint2D(0, 0), MakePoint2D(10, 5.5f)));
    const std::vector<TPoint2D> open{MakePoint2D(0, 0), MakePoint2D(5, 5), MakePoint2D(10, 0)};
    add(std::make_unique<TPolyline2D>(0, open));
    const std::vector<TPoint2D> triangle{MakePoint2D(20, 0), MakePoint2D(30, 0), MakePoint2D(25, 8.125f)};
    add(std::make_unique<TPolygon2D>(0, triangle));
    auto circle = std::make_unique<TCerchio2D>(0, MakePoint2D(50, 50), MakePoint2D(52, 50));
    circle->SetCurvePrecision(4);
    add(std::move(circle));
    add(std::make_unique<TPunto2D>(0, MakePoint2D(7, 7)));
    add(std::make_unique<TLine2D>(0, MakePoint2D(-5, -5), MakePoint2D(-6, -6)))->Visible = false;
    add(std::make_unique<TPolyline2D>(0, std::vector<TPoint2D>{}));
    TObject2D* moved = add(std::make_unique<TPolyline2D>(0, open));
    moved->SetModelTransform(MultiplyTransforms2D(MakeRotation2D(DegToRad2D(90)), MakeTranslation2D(100, 0)));
}

std::string Hpgl(TCADCmp2D& drawing, int unitsMode)
{
    std::ostringstream out;
    WriteHpgl(drawing, out, unitsMode);
    return out.str();
}

std::string Fixed3(float value)
{
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3).ptr;
    return std::string(text, end);
}

// Both outputs of the test drawing, held against files reviewed by eye.
TEST(VectorWriters, GoldenFiles)
{
    CommaLocale comma;
    TCADCmp2D drawing;
    FillTestDrawing(drawing);
    std::ostringstream points;
    WritePointList(drawing, points, Fixed3);
    const fs::path golden = KESTRO_IMPORT_GOLDEN_DIR;
    EXPECT_EQ(Hpgl(drawing, 0), ReadText(golden / "test-drawing.hgl"));
    EXPECT_EQ(points.str(), ReadText(golden / "test-drawing.txt"));
}

TEST(VectorWriters, HpglRounding)
{
    // Halves go to the even neighbour; far-away points stop at the plotter's range.
    EXPECT_EQ(HpglCoord(0.0625f, 0), 2);
    EXPECT_EQ(HpglCoord(0.1875f, 0), 8);
    EXPECT_EQ(HpglCoord(-0.0625f, 1), -64);
    EXPECT_EQ(HpglCoord(1e30f, 0), 2147483647);
    TCADCmp2D empty;
    EXPECT_EQ(Hpgl(empty, 0), "IN;SP1;\nSP0;\n");
}

// A plotter's view of the file: pen-up moves start entities, pen-down lines
// continue them; every point must land where the drawing has it.
TEST(VectorWriters, HpglReadBackPointByPoint)
{
    TCADCmp2D drawing;
    FillTestDrawing(drawing);
    const fs::path written = fs::temp_directory_path() / "kestro-read-back.hgl";
    WriteFileAtomically(written.string(), [&](std::ostream& out) { WriteHpgl(drawing, out, 0); });
    std::istringstream file(ReadText(written));
    fs::remove(written);
    std::vector<std::vector<long long>> plotted;
    std::string line;
    std::getline(file, line);
    ASSERT_EQ(line, "IN;SP1;");
    while (std::getline(file, line) && line != "SP0;") {
        ASSERT_GE(line.size(), 3u);
        ASSERT_EQ(line.back(), ';') << line;
        const std::string pen = line.substr(0, 2);
        ASSERT_TRUE(pen == "PU" || pen == "PD") << line;
        if (pen == "PU")
            plotted.emplace_back();
        ASSERT_FALSE(plotted.empty()) << "pen down before any move";
        std::istringstream numbers(line.substr(2, line.size() - 3));
        for (std::string number; std::getline(numbers, number, ',');)
            plotted.back().push_back(std::stoll(number));
    }
    EXPECT_EQ(line, "SP0;");

    const auto entities = VisibleEntityPoints(drawing);
    ASSERT_EQ(plotted.size(), entities.size());
    for (std::size_t e = 0; e < entities.size(); ++e) {
        ASSERT_EQ(plotted[e].size(), entities[e].size() * 2) << "entity " << e;
        for (std::size_t p = 0; p < entities[e].size(); ++p) {
            EXPECT_NEAR(plotted[e][2 * p] / 40.0, entities[e][p].X, 0.0125) << "entity " << e << " point " << p;
            EXPECT_NEAR(plotted[e][2 * p + 1] / 40.0, entities[e][p].Y, 0.0125) << "entity " << e << " point " << p;
        }
    }
}

// A frame has its corners whatever its curve precision, even one that builds no profile.
TEST(VectorWriters, FrameOfCurvePrecisionZeroWritesItsCorners)
{
    TCADCmp2D drawing;
    auto frame = std::make_unique<TFrame2D>(0, MakePoint2D(1, 2), MakePoint2D(3, 4));
    frame->SetCurvePrecision(0);
    drawing.AddObject(-1, std::move(frame));
    EXPECT_EQ(Hpgl(drawing, 0), "IN;SP1;\nPU40,80;\nPD40,160,120,160,120,80,40,80;\nSP0;\n");
    std::ostringstream points;
    WritePointList(drawing, points, Fixed3);
    EXPECT_EQ(points.str(), "1.000 2.000\n1.000 4.000\n3.000 4.000\n3.000 2.000\n1.000 2.000\n\n");
}

TEST(VectorWriters, FilesAreReplacedWholeOrNotAtAll)
{
    const fs::path folder = fs::temp_directory_path() / "kestro-writers-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path file = folder / "drawing.hgl";
    WriteFileAtomically(file.string(), [](std::ostream& out) { out << "old"; });
    EXPECT_EQ(ReadText(file), "old");

    EXPECT_THROW(WriteFileAtomically(file.string(),
                                     [](std::ostream& out) {
                                         out << "half";
                                         throw std::runtime_error("disk full");
                                     }),
                 std::runtime_error);
    EXPECT_EQ(ReadText(file), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    const fs::path missing = folder / "no-such-folder" / "drawing.txt";
    try {
        WriteFileAtomically(missing.string(), [](std::ostream& out) { out << "x"; });
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(missing.string()), std::string::npos) << e.what();
    }
    fs::remove_all(folder);
}

} // namespace
