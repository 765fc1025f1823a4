#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/view/CADViewport2DCore.h"
#include "import/SvgException.h"
#include "import/SvgToDrawing.h"
#include "support/ImageTestSupport.h"
#include "support/ViewportTestSupport.h"
#include "SvgTestSupport.h"

using svgtest::Number;

namespace {

// The drawing's polygons, one a line: "layer: (x,y) (x,y) ...".
std::string Polygons(TCADCmp2D& drawing)
{
    std::string text;
    auto iterator = drawing.ObjectsIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        auto* polygon = dynamic_cast<TPolygon2D*>(object);
        if (!polygon) {
            text += "not a polygon\n";
            continue;
        }
        text += std::to_string(polygon->Layer) + ':';
        for (int i = 0; i < polygon->PointCount(); ++i) {
            const TPoint2D p = (*polygon->Points())[i];
            text += " (" + Number(p.X) + ',' + Number(p.Y) + ')';
        }
        text += '\n';
    }
    return text;
}

std::string Import(const std::string& document, TCADCmp2D& drawing)
{
    ImportSvgBytes(document, drawing);
    return Polygons(drawing);
}

TEST(SvgToDrawing, PathsBecomeClosedPolygonsOneLayerEach)
{
    const struct {
        const char* body;
        const char* polygons;
    } cases[] = {
        {"<rect x='10' y='10' width='20' height='5'/>", "1: (10,-10) (30,-10) (30,-15) (10,-15)\n"},
        {"<path d='M0 0 L10 0 L10 10 Z M2 2 L4 2 L4 4 Z'/>",
         "1: (0,0) (10,0) (10,-10)\n1: (2,-2) (4,-2) (4,-4)\n"},
        {"<line x1='1' y1='2' x2='3' y2='4'/>", "1: (1,-2) (3,-4)\n"},
        // Polylines and polygons alike; circles and texts are passed over.
        {"<polyline points='0,0 10,0 10,10'/><circle r='5'/><polygon points='1 1,2-2'/><text>t</text>",
         "1: (0,0) (10,0) (10,-10)\n2: (1,-1) (2,2)\n"},
        // Control points become corners, as written.
        {"<path d='M0 0 C 10 0 10 10 0 10'/>", "1: (0,0) (10,0) (10,-10) (0,-10)\n"},
        // Transforms are kept with the path but do not move its points.
        {"<path transform='translate(100 100)' d='M1 1 L2 2'/>", "1: (1,-1) (2,-2)\n"},
        // An empty rect still uses up a layer.
        {"<rect width='0' height='5'/><rect width='1' height='1'/>", "2: (0,0) (1,0) (1,-1) (0,-1)\n"},
        // A move alone draws nothing, as the trailing "m 0 0" of many icons.
        {"<path d='m 1 7 h 14 v 2 h -14 z m 0 0'/>", "1: (1,-7) (15,-7) (15,-9) (1,-9)\n"},
        {"<path d='M5 5'/><path d='M0 0 L1 1'/>", "2: (0,0) (1,-1)\n"},
    };
    for (const auto& c : cases) {
        TCADCmp2D drawing;
        EXPECT_EQ(Import(std::string("<svg>") + c.body + "</svg>", drawing), c.polygons) << c.body;
    }
}

TEST(SvgToDrawing, LayersTakeThePathsFillAndWrapAfter255)
{
    TCADCmp2D drawing;
    std::string document = "<svg><rect fill='#102030' width='1' height='1'/><path fill='none' d='M0 0 L1 1'/>";
    for (int i = 3; i <= 256; ++i)
        document += "<line x2='" + std::to_string(i) + "'/>";
    ImportSvgBytes(document + "</svg>", drawing);

    EXPECT_EQ(drawing.Layers().GetLayer(1).Pen().Color, 0x302010);
    EXPECT_EQ(drawing.Layers().GetLayer(1).Brush().Color, 0x302010);
    // A path without fill keeps the colour it would have had.
    EXPECT_EQ(drawing.Layers().GetLayer(2).Pen().Color, 0x000000);
    EXPECT_EQ(drawing.ObjectsCount(), 256);
    EXPECT_EQ(drawing.GetObject(255)->Layer, 0);
    EXPECT_EQ(drawing.GetObject(254)->Layer, 255);
    EXPECT_EQ(drawing.CurrentLayer, 0);
}

TEST(SvgToDrawing, AFaultAddsNothing)
{
    TCADCmp2D drawing;
    drawing.AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(0, 0), MakePoint2D(1, 1)));
    drawing.CurrentLayer = 7;
    EXPECT_THROW(ImportSvgBytes(std::string("<svg><rect width='1' height='1'/><path d='M0 0 A1 1 0 0 0 1 1'/></svg>"),
                                drawing),
                 svg::svg_exception);
    EXPECT_EQ(drawing.ObjectsCount(), 1);
    EXPECT_EQ(drawing.CurrentLayer, 7);
    EXPECT_THROW(ImportSvgFile("/no/such/file.svg", drawing), svg::svg_exception);
    EXPECT_EQ(drawing.ObjectsCount(), 1);
}

TEST(SvgToDrawing, NumbersBeyondFloatStayFinite)
{
    TCADCmp2D drawing;
    EXPECT_EQ(Import(svgtest::PathDocument("M1e300-1e999 L1e-999 5 L-1e39 0"), drawing),
              "1: (3.40282e+38,3.40282e+38) (0,-5) (-3.40282e+38,0)\n");
}

} // namespace
