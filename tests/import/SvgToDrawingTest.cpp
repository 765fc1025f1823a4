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
#include "support/ExceptionMessage.h"
#include "support/ImageTestSupport.h"
#include "support/ViewportTestSupport.h"
#include "SvgTestSupport.h"

using svgtest::Number;

namespace {

std::string Import(const std::string& document, TCADCmp2D& drawing)
{
    ImportSvgBytes(document, drawing);
    return svgtest::Polygons(drawing);
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
        // The transforms of the path and of its groups move its points, the
        // innermost first; a transform acts on the elements inside its group only.
        {"<path transform='translate(100 100)' d='M1 1 L2 2'/>", "1: (101,-101) (102,-102)\n"},
        {"<g transform='translate(10)'><g transform='scale(2 3)'><rect width='1' height='1' transform='skewX(45)'/>"
         "</g><line x2='1' transform='rotate(90)'/></g><polygon points='0,0 1,0 1,1' transform='skewY(45)'/>",
         "1: (10,0) (12,0) (14,-3) (12,-3)\n2: (10,0) (10,-1)\n3: (0,0) (1,-1) (1,-2)\n"},
        // A drawing command after a close starts again where the closed subpath began.
        {"<path d='m 2 2 h 4 v 4 z v -2 h -2 z'/>", "1: (2,-2) (6,-2) (6,-6)\n1: (2,-2) (2,0) (0,0)\n"},
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

TEST(SvgToDrawing, CurvesBecomePointsOnTheCurveWithinTheChainTolerance)
{
    using svgtest::Quadratic;
    using svgtest::TCubic;
    // rotate(30) then scale(50), then Y turned upwards.
    const auto turned = [](double x, double y) {
        const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
        return TVect{50 * (x * c - y * s), -50 * (x * s + y * c)};
    };
    const struct {
        const char* body;
        std::vector<TCubic> curves; // in drawing coordinates
    } cases[] = {
        {"<path d='M0 0 C 10 0 10 10 0 10'/>", {{{0, 0}, {10, 0}, {10, -10}, {0, -10}}}},
        {"<path d='M0 0 Q5 5 10 0 T20 0'/>",
         {Quadratic({0, 0}, {5, -5}, {10, 0}), Quadratic({10, 0}, {15, 5}, {20, 0})}},
        {"<path d='M0 0 c1 0 1 1 0 1 s-1 1 0 1'/>",
         {{{0, 0}, {1, 0}, {1, -1}, {0, -1}}, {{0, -1}, {-1, -1}, {-1, -2}, {0, -2}}}},
        // A line is a curve whose control points lie on it.
        {"<path d='M0 0 L30 0 Q30 30 0 30 z'/>",
         {{{0, 0}, {10, 0}, {20, 0}, {30, 0}}, Quadratic({30, 0}, {30, -30}, {0, -30})}},
        // Flattened after the transforms, so that the tolerance holds in the drawing.
        {"<g transform='scale(50)'><path d='M0 0 Q1 0 1 1' transform='rotate(30)'/></g>",
         {Quadratic(turned(0, 0), turned(1, 0), turned(1, 1))}},
    };
    for (const double tolerance : {0.01, 0.001}) {
        svgtest::TChainTolScope scope(tolerance);
        for (const auto& c : cases) {
            TCADCmp2D drawing;
            ImportSvgBytes(std::string("<svg>") + c.body + "</svg>", drawing);
            ASSERT_EQ(drawing.ObjectsCount(), 1) << c.body;
            const svgtest::TCurveFit fit = svgtest::Fit(c.curves, svgtest::PointsOf(drawing, 0));
            EXPECT_LE(fit.PointsOffCurve, 1e-5) << c.body << " at " << tolerance;
            EXPECT_LE(fit.CurveOffEdges, tolerance + 1e-5) << c.body << " at " << tolerance;
        }
    }
}

TEST(SvgToDrawing, ADrawingOfTooManyPointsIsRefused)
{
    // Each curve this large takes the most points a curve is given.
    std::string data = "M0 0";
    for (int i = 0; i < 10'001; ++i)
        data += " Q1e9 0 1e9 1e9";
    TCADCmp2D drawing;
    drawing.AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(0, 0), MakePoint2D(1, 1)));
    EXPECT_EQ(cadtest::MessageOf<svg::svg_exception>([&] { ImportSvgBytes(svgtest::PathDocument(data), drawing); }),
              "ImportSvgFile: More than 10000000 points");
    EXPECT_EQ(drawing.ObjectsCount(), 1);
}

TEST(SvgToDrawing, NumbersBeyondFloatStayFinite)
{
    TCADCmp2D drawing;
    EXPECT_EQ(Import(svgtest::PathDocument("M1e300-1e999 L1e-999 5 L-1e39 0"), drawing),
              "1: (3.40282e+38,3.40282e+38) (0,-5) (-3.40282e+38,0)\n");
    // Transforms beyond the range of doubles give infinities, and their differences.
    TCADCmp2D transformed;
    ImportSvgBytes(std::string("<svg><g transform='scale(1e300)'><path transform='matrix(1e300 1 1 1e300 0 0)' "
                               "d='M1 -1 L1 1 Q1e300 0 0 1'/></g></svg>"),
                   transformed);
    const std::vector<TPoint2D> points = svgtest::PointsOf(transformed, 0);
    ASSERT_GT(points.size(), 3u);
    for (const TPoint2D& p : points) {
        EXPECT_TRUE(std::isfinite(p.X)) << p.X;
        EXPECT_TRUE(std::isfinite(p.Y)) << p.Y;
    }
}

} // namespace
