// Small SVG files that showed where the import parted from what the drawing
// program that wrote them meant, each with the drawing it should give.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cad/drawing/CADCmp2D.h"
#include "import/SvgToDrawing.h"
#include "SvgTestSupport.h"

namespace {

using svgtest::TCubic;

std::string CaseFile(const char* name)
{
    return std::string(KESTRO_TEST_DATA_DIR) + "/foreign/svg/" + name;
}

TEST(SvgForeignCases, EachFileGivesWhatItsWriterMeant)
{
    // Curves are checked against the millimetre default of the tolerance.
    constexpr double kTolerance = 0.002;
    // What rounding to single precision may add, at coordinates up to 100.
    constexpr double kRounding = 2e-5;
    svgtest::TChainTolScope tolerance(kTolerance);
    const struct {
        const char* file;
        // The polygons exactly, or empty when each polygon stands for a run of curves.
        const char* polygons;
        std::vector<std::vector<TCubic>> curves;
    } cases[] = {
        // After Z a drawing command starts a new subpath at the closed one's start.
        {"zthenl.svg", "1: (0,0) (10,0) (10,-10)\n1: (0,0) (0,-10) (5,-5)\n", {}},
        // translate(50,10) rotate(90) on the rectangle; matrix(2 0 0 2 10 60) on the triangle.
        {"group-transform.svg", "1: (50,-10) (50,-30) (40,-30) (40,-10)\n2: (10,-60) (30,-60) (30,-80)\n", {}},
        // Points on the two curves, never their control points.
        {"cubic-curve.svg",
         "",
         {{{{10, -50}, {10, -10}, {90, -10}, {90, -50}}, {{90, -50}, {90, -90}, {10, -90}, {10, -50}}}}},
    };
    for (const auto& c : cases) {
        TCADCmp2D drawing;
        ImportSvgFile(CaseFile(c.file), drawing);
        if (*c.polygons) {
            EXPECT_EQ(svgtest::Polygons(drawing), c.polygons) << c.file;
            std::printf("%s: %d polygons as expected\n", c.file, drawing.ObjectsCount());
            continue;
        }
        ASSERT_EQ(drawing.ObjectsCount(), static_cast<int>(c.curves.size())) << c.file;
        for (std::size_t i = 0; i < c.curves.size(); ++i) {
            const std::vector<TPoint2D> points = svgtest::PointsOf(drawing, static_cast<int>(i));
            const svgtest::TCurveFit fit = svgtest::Fit(c.curves[i], points);
            EXPECT_LE(fit.PointsOffCurve, kRounding) << c.file;
            EXPECT_LE(fit.CurveOffEdges, kTolerance + kRounding) << c.file;
            std::printf("%s: polygon %zu of %zu points, farthest point %.2g off the curves, curves at most %.4f "
                        "off its edges (tolerance %.4f)\n",
                        c.file, i + 1, points.size(), fit.PointsOffCurve, fit.CurveOffEdges, kTolerance);
        }
    }
}

} // namespace
