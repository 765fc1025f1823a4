// SVG files that other programs wrote, read where the system installed them:
// the icon theme, the tablet layout drawings and the SVG test drawings of a
// solid modeller that tools/install-deps.sh installs.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cad/drawing/CADCmp2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/view/CADViewport2DCore.h"
#include "import/SvgException.h"
#include "import/SvgParser.h"
#include "import/SvgPathRenderer.h"
#include "import/SvgToDrawing.h"
#include "support/ImageTestSupport.h"
#include "support/ViewportTestSupport.h"
#include "SvgTestSupport.h"

namespace fs = std::filesystem;

namespace {

const fs::path kIconTheme = "/usr/share/icons/Adwaita";
const fs::path kTabletLayouts = "/usr/share/libwacom/layouts";
const fs::path kModellerDrawings = "/usr/share/openscad/testdata/svg";

std::vector<fs::path> Drawings(const fs::path& folder)
{
    std::vector<fs::path> files;
    if (fs::is_directory(folder))
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            if (entry.is_regular_file() && entry.path().extension() == ".svg")
                files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

bool AllPointsFinite(TCADCmp2D& drawing)
{
    auto iterator = drawing.ObjectsIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        const auto* polygon = dynamic_cast<TPolygon2D*>(object);
        if (!polygon)
            return false;
        for (int i = 0; i < polygon->PointCount(); ++i) {
            const TPoint2D p = (*polygon->Points())[i];
            if (!std::isfinite(p.X) || !std::isfinite(p.Y))
                return false;
        }
    }
    return true;
}

TEST(ForeignSvg, EveryFileLoadsOrIsRefusedWithAReason)
{
    std::vector<fs::path> files = Drawings(kIconTheme);
    ASSERT_GT(files.size(), 500u) << "the icon theme is missing: run tools/install-deps.sh";
    const std::vector<fs::path> layouts = Drawings(kTabletLayouts);
    ASSERT_GT(layouts.size(), 50u) << "the tablet layouts are missing: run tools/install-deps.sh";
    files.insert(files.end(), layouts.begin(), layouts.end());
    std::map<std::string, int> refusals;
    int loaded = 0;
    for (const fs::path& file : files) {
        TCADCmp2D drawing;
        try {
            ImportSvgFile(file.string(), drawing);
            ++loaded;
            EXPECT_GT(drawing.ObjectsCount(), 0) << file;
            EXPECT_TRUE(AllPointsFinite(drawing)) << file;
        } catch (const svg::svg_exception& e) {
            EXPECT_EQ(drawing.ObjectsCount(), 0) << file;
            ++refusals[e.what()];
        }
    }
    // Arcs and colours in functional notation are refused; any other
    // refusal would be a fault of the reader.
    int refused = 0;
    for (const auto& [message, count] : refusals) {
        EXPECT_TRUE(message == "parse_path: Command A: NOT IMPLEMENTED YET" ||
                    message.starts_with("parse_color: Invalid color name rgb("))
            << message << ": " << count << " files";
        refused += count;
    }
    EXPECT_GT(loaded, refused * 5);
    std::printf("%d of %zu drawings loaded, %d refused\n", loaded, files.size(), refused);
}

struct TLayerCount {
    int Layer;
    int Polygons;
};

// Counts worked out by hand from the files' text: one layer per path, rect
// or line, one polygon per subpath that draws something (circles and texts
// are passed over), colour from the fill (the theme's #2e3436 is 0x36342e;
// the layouts fill nothing themselves, and a style on the svg element is
// not read, so theirs stays black), Y turned upwards.
TEST(ForeignSvg, HandCountedFiles)
{
    const struct {
        fs::path file;
        TColor color;
        std::vector<TLayerCount> layers;
    } cases[] = {
        {kIconTheme / "scalable/actions/list-remove-symbolic.svg", 0x36342e, {{1, 1}}},
        {kIconTheme / "scalable/actions/list-add-symbolic.svg", 0x36342e, {{1, 1}}},
        {kIconTheme / "scalable/actions/format-justify-left-symbolic.svg", 0x36342e, {{1, 4}}},
        {kIconTheme / "scalable/places/folder-symbolic.svg", 0x36342e, {{1, 1}, {2, 2}}},
        {kIconTheme / "scalable/places/user-trash-symbolic.svg", 0x36342e, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}}},
        // rect, path "M 73 172 l -23 -23 l 0 -10 m -5 0 l 10 0", rect, path.
        {kTabletLayouts / "bamboo-pad.svg", 0x000000, {{1, 1}, {2, 2}, {3, 1}, {4, 2}}},
        // Three circles, each with a path "m 51,75 4,0" beside it.
        {kTabletLayouts / "huion-h420.svg", 0x000000, {{1, 1}, {2, 1}, {3, 1}}},
    };
    for (const auto& c : cases) {
        TCADCmp2D drawing;
        ImportSvgFile(c.file.string(), drawing);
        std::map<int, int> counts;
        auto iterator = drawing.ObjectsIterator();
        for (TGraphicObject* object = iterator->First(); object; object = iterator->Next())
            ++counts[object->Layer];
        std::vector<TLayerCount> layers;
        for (const auto& [layer, polygons] : counts) {
            layers.push_back({layer, polygons});
            EXPECT_EQ(drawing.Layers().GetLayer(layer).Pen().Color, c.color) << c.file;
        }
        ASSERT_EQ(layers.size(), c.layers.size()) << c.file;
        for (std::size_t i = 0; i < layers.size(); ++i) {
            EXPECT_EQ(layers[i].Layer, c.layers[i].Layer) << c.file;
            EXPECT_EQ(layers[i].Polygons, c.layers[i].Polygons) << c.file;
        }
    }

    // The first leader line of the Huion layout: "m 51,75 4,0", a move then
    // an implicit relative line.
    TCADCmp2D layout;
    ImportSvgFile((kTabletLayouts / "huion-h420.svg").string(), layout);
    const auto* leader = dynamic_cast<TPolygon2D*>(layout.GetObject(0));
    ASSERT_NE(leader, nullptr);
    ASSERT_EQ(leader->PointCount(), 2);
    EXPECT_EQ((*leader->Points())[0].X, 51.0f);
    EXPECT_EQ((*leader->Points())[0].Y, -75.0f);
    EXPECT_EQ((*leader->Points())[1].X, 55.0f);
    EXPECT_EQ((*leader->Points())[1].Y, -75.0f);

    svg::path_renderer paths;
    svg::parser reader(paths);
    reader.parse((kTabletLayouts / "bamboo-pad.svg").string());
    EXPECT_EQ(reader.title(), "Wacom Bamboo Pad");
}

// A rectangle turned and moved by its group, and a rounded square with a
// round hole drawn in cubic curves.
TEST(ForeignSvg, TransformsAndCurvesLandWhereTheirWriterPutThem)
{
    TCADCmp2D rectangles;
    ImportSvgFile((kModellerDrawings / "svg-spec/spec-shapes-rect02.svg").string(), rectangles);
    // Rounded corners are not read: a rect is its four corners. The second
    // is in a group of translate(700 210) rotate(-30).
    EXPECT_EQ(svgtest::Polygons(rectangles), "1: (100,-100) (500,-100) (500,-300) (100,-300)\n"
                                             "2: (700,-210) (1046.41,-10) (1146.41,-183.205) (800,-383.205)\n");

    // The hole is a circle of radius 5 about (10, 10), written as four cubic
    // curves that stray from it by up to 0.0048; their control points lie
    // 0.7 off it.
    svgtest::TChainTolScope tolerance(0.002);
    TCADCmp2D square;
    ImportSvgFile((kModellerDrawings / "simple.svg").string(), square);
    ASSERT_EQ(square.ObjectsCount(), 2);
    const std::vector<TPoint2D> hole = svgtest::PointsOf(square, 1);
    EXPECT_GT(hole.size(), 40u);
    for (const TPoint2D& p : hole)
        EXPECT_NEAR(std::hypot(p.X - 10.0, p.Y + 10.0), 5.0, 0.005) << p.X << ' ' << p.Y;
}

// The trash can as the 2D view draws it, kept to be looked at: five outlines
// on five layers.
TEST(ForeignSvg, PictureOfAnImportedIcon)
{
    TCADCmp2D drawing;
    ImportSvgFile((kIconTheme / "scalable/places/user-trash-symbolic.svg").string(), drawing);
    const TColor colors[] = {0x0000C0, 0x008000, 0xC00000, 0x008080, 0x800080};
    for (int layer = 1; layer <= 5; ++layer) {
        drawing.Layers().GetLayer(layer).SetPenColor(colors[layer - 1]);
        drawing.Layers().GetLayer(layer).SetBrush({clWhite, TBrushStyle::Clear});
    }
    auto view = viewtest::MakeView(320, 320, MakeRect2D(-1, -17, 17, 1), 1.0f);
    view->SetCADCmp2D(&drawing);
    view->SetBackGroundColor(clWhite);
    view->Repaint();
    const QImage& picture = view->WindowImage();
    ASSERT_TRUE(imagetest::SaveTestImage(picture, "import/user-trash.png"));
    // The bin's left wall (x = 1 to 4, y = -4 to -13) is drawn in the third layer's colour.
    EXPECT_GT(imagetest::CountPixels(picture, picture.rect(), imagetest::Rgb(colors[2])), 100);
}

} // namespace
