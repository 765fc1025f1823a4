#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"
#include "edit/geometry/Offset.h"

namespace {

std::vector<TVect> PointsOf(const TObject2D& object)
{
    const auto& primitive = dynamic_cast<const TPrimitive2D&>(object);
    std::vector<TVect> points;
    for (int i = 0; i < primitive.PointCount(); ++i)
        points.push_back({(*primitive.Points())[i].X, (*primitive.Points())[i].Y});
    return points;
}

void ExpectRun(const std::vector<TVect>& actual, const std::vector<TVect>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i].X, expected[i].X, 1e-5) << "point " << i;
        EXPECT_NEAR(actual[i].Y, expected[i].Y, 1e-5) << "point " << i;
    }
}

} // namespace

TEST(Offset, PointRunsCornersAndReversals)
{
    const double r2 = std::sqrt(2.0);
    struct Case {
        const char* name;
        std::vector<TVect> points;
        bool closed;
        double d;
        std::vector<TVect> expected;
    };
    const Case cases[] = {
        // +d is right of travel; the right-angle corner lands on the bisector at d·√2.
        {"right angle", {{0, 0}, {10, 0}, {10, 10}}, false, 1, {{0, -1}, {11, -1}, {11, 10}}},
        {"right angle flipped", {{0, 0}, {10, 0}, {10, 10}}, false, -1, {{0, 1}, {9, 1}, {9, 10}}},
        // A reversal uses a half angle of 90 degrees: d along the normal of the incoming direction.
        {"reversal", {{0, 0}, {10, 0}, {0, 0}}, false, 1, {{0, -1}, {10, -1}, {0, 1}}},
        // A closed square wraps: every corner moves out by d·√2 on its bisector.
        {"closed square",
         {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}},
         true,
         1,
         {{-1, -1}, {5, -1}, {5, 5}, {-1, 5}, {-1, -1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectRun(OffsetPointRun(c.points, c.closed, c.d), c.expected);
    }
    const auto corner = OffsetPointRun(cases[0].points, false, 1)[1];
    EXPECT_NEAR(std::hypot(corner.X - 10, corner.Y - 0), r2, 1e-9);
}

TEST(Offset, EachClassOnItsSide)
{
    TLine2D line(1, MakePoint2D(0, 0), MakePoint2D(10, 0));
    ExpectRun(PointsOf(*OffsetObject(line, 1)), {{0, 1}, {10, 1}});  // left of the line
    ExpectRun(PointsOf(*OffsetObject(line, -1)), {{0, -1}, {10, -1}}); // flipped: same distance, other side

    // A two-point polyline goes the other way from a line: right of travel.
    const TPoint2D run[] = {MakePoint2D(0, 0), MakePoint2D(10, 0)};
    TPolyline2D poly(2, run);
    ExpectRun(PointsOf(*OffsetObject(poly, 1)), {{0, -1}, {10, -1}});

    TCerchio2D circle(3, MakePoint2D(1, 1), MakePoint2D(3, 1));
    auto bigger = OffsetObject(circle, 1.5);
    ASSERT_NE(dynamic_cast<TCerchio2D*>(bigger.get()), nullptr);
    ExpectRun(PointsOf(*bigger), {{1, 1}, {4.5, 1}});
    EXPECT_EQ(OffsetObject(circle, -2), nullptr); // radius would reach 0: no preview
    EXPECT_EQ(OffsetObject(circle, -3), nullptr);

    TArco2D arc(4, MakePoint2D(0, 0), MakePoint2D(2, 0), 0.5f, 2.0f);
    auto arcCopy = OffsetObject(arc, 1);
    auto* grown = dynamic_cast<TArco2D*>(arcCopy.get());
    ASSERT_NE(grown, nullptr);
    EXPECT_NEAR(grown->Frame().RX, 3, 1e-5);
    EXPECT_NEAR(grown->StartAngle(), 0.5f, 1e-6);
    EXPECT_NEAR(grown->EndAngle(), 2.0f, 1e-6);
    EXPECT_EQ(OffsetObject(arc, -2.5), nullptr);

    // A frame becomes a closed polyline; its corner order (up the left side
    // first) is clockwise, so +d moves it inward.
    TFrame2D frame(5, MakePoint2D(0, 0), MakePoint2D(4, 4));
    auto frameCopy = OffsetObject(frame, 1);
    ASSERT_NE(dynamic_cast<TPolyline2D*>(frameCopy.get()), nullptr);
    ExpectRun(PointsOf(*frameCopy), {{1, 1}, {1, 3}, {3, 3}, {3, 1}, {1, 1}});

    // A polygon (as SVG shapes come) is closed without repeating its first
    // point: the copy goes round all its corners and closes the same way.
    const TPoint2D square[] = {MakePoint2D(0, 0), MakePoint2D(0, 4), MakePoint2D(4, 4), MakePoint2D(4, 0)};
    TPolygon2D polygon(7, square);
    ExpectRun(PointsOf(*OffsetObject(polygon, 1)), {{1, 1}, {1, 3}, {3, 3}, {3, 1}, {1, 1}});

    TPunto2D point(6, MakePoint2D(0, 0));
    EXPECT_EQ(OffsetObject(point, 1), nullptr);

    // The arrow: from the source point towards the copy, a tenth of the view wide.
    const auto arrow = OffsetArrow({0, 0}, {0, 1}, 30);
    ExpectRun(arrow, {{0, 0}, {0, 3}, {-0.5, 2}, {0.5, 2}, {0, 3}});
    ExpectRun({OffsetAnchor(arc)}, {{2 * std::cos(0.5), 2 * std::sin(0.5)}});
}

TEST(Simplification, ToleranceCases)
{
    struct Case {
        const char* name;
        std::vector<TVect> points;
        double tolerance;
        std::vector<bool> keep;
    };
    const Case cases[] = {
        {"all within tolerance", {{0, 0}, {1, 0.01}, {2, -0.02}, {3, 0.02}, {4, 0}}, 0.025,
         {true, false, false, false, true}},
        {"zero keeps any bend", {{0, 0}, {1, 0}, {2, 0.001}, {3, 0}, {4, 0}}, 0,
         {true, true, true, true, true}},
        {"zero drops collinear", {{0, 0}, {1, 1}, {2, 2}, {3, 3}}, 0, {true, false, false, true}},
        // Beyond the ends of the chord the distance is to the nearer end.
        {"beyond the chord", {{0, 0}, {-1, 0}, {2, 0}}, 0.5, {true, true, true}},
        {"first of equal distances", {{0, 0}, {1, 1}, {3, 1}, {4, 0}}, 0.7, {true, true, false, true}},
        {"two points", {{0, 0}, {5, 5}}, 1, {true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DouglasPeuckerKeep(c.points, c.tolerance), c.keep);
    }

    // A long traced arc: every point is off its chord, so all stay.
    std::vector<TVect> arc;
    for (int i = 0; i < 100000; ++i)
        arc.push_back({std::cos(i * 1e-5), std::sin(i * 1e-5)});
    const auto keep = DouglasPeuckerKeep(arc, 0.0);
    EXPECT_EQ(std::count(keep.begin(), keep.end(), true), 100000);

    // Objects: a polyline in world points, a circle through its profile, a point not at all.
    const TPoint2D run[] = {MakePoint2D(0, 0), MakePoint2D(1, 0.01f), MakePoint2D(2, 0)};
    TPolyline2D poly(1, run);
    poly.SetModelTransform(MakeTranslation2D(5, 0));
    ExpectRun(PointsOf(*SimplifyObject(poly, 0.025)), {{5, 0}, {7, 0}});
    TCerchio2D circle(2, MakePoint2D(0, 0), MakePoint2D(10, 0));
    auto thinned = SimplifyObject(circle, 1);
    EXPECT_GT(thinned->PointCount(), 4);
    EXPECT_LT(thinned->PointCount(), 20);
    TPunto2D point(3, MakePoint2D(0, 0));
    EXPECT_EQ(SimplifyObject(point, 1), nullptr);
}
