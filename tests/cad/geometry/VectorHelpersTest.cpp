#include <climits>
#include <cmath>
#include <limits>
#include <numbers>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "cad/base/Settings.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/geometry/VectorHelpers.h"
#include "cad/geometry/VectorMath3.h"

namespace {

constexpr double Pi = std::numbers::pi;

void ExpectVectNear(TVect actual, double x, double y, double tolerance = 1e-6)
{
    EXPECT_NEAR(actual.X, x, tolerance);
    EXPECT_NEAR(actual.Y, y, tolerance);
}

} // namespace

TEST(VectorHelpersCompare, ToleranceIsInclusive)
{
    EXPECT_TRUE(EqualReals(0.0, 0.00005));
    EXPECT_TRUE(EqualReals(0.00005, 0.0));
    EXPECT_FALSE(EqualReals(0.0, 0.0000501));
    EXPECT_TRUE(NotEqualReals(0.0, 0.0000501));
    EXPECT_FALSE(NotEqualReals(0.0, -0.00005));
    EXPECT_TRUE(EqualRealsEps(1.0, 1.5, 0.5));
    EXPECT_FALSE(EqualRealsEps(1.0, 1.5001, 0.5));
    EXPECT_TRUE(NotEqualRealsEps(1.0, 1.5001, 0.5));
    EXPECT_FALSE(EqualReals(std::nan(""), 0.0));

    EXPECT_TRUE(EqualPoints({0.0, 0.0}, {0.00005, -0.00005}));
    EXPECT_FALSE(EqualPoints({0.0, 0.0}, {0.00005, 0.00006}));
    EXPECT_TRUE(EqualPointsEps({1.0, 1.0}, {1.25, 0.75}, 0.25));
    EXPECT_FALSE(EqualPointsEps({1.0, 1.0}, {1.25, 0.7}, 0.25));

    EXPECT_TRUE(GreaterOrEqualReals(2.0, 1.0));
    EXPECT_TRUE(GreaterOrEqualReals(1.0, 1.00004));
    EXPECT_FALSE(GreaterOrEqualReals(1.0, 1.0001));
}

TEST(VectorHelpersCompare, QuadrantsAndMinimum)
{
    struct Case {
        double X, Y;
        int Quadrant;
    };
    for (const Case c : {Case{1, 0, 1}, {1, 1, 1}, {0, 1, 2}, {-1, 1, 2}, {-1, 0, 3}, {-1, -1, 3}, {0, -1, 4},
                         {1, -1, 4}, {0, 0, 0}})
        EXPECT_EQ(VectQuadrant({c.X, c.Y}), c.Quadrant) << c.X << "," << c.Y;

    struct MinCase {
        std::vector<double> Values;
        int Index;
    };
    for (const MinCase& c : {MinCase{{3, 1, 1, 2}, 1}, MinCase{{5, 4, -2}, 2}, MinCase{{}, 0},
                             MinCase{{1e8, 9999999.1234}, 0}, MinCase{{1e8, 9999999.0}, 1}})
        EXPECT_EQ(IndexOfMin(c.Values), c.Index);
}

TEST(VectorHelpersAngles, NormalizeAngle)
{
    struct Case {
        double In, Out;
    };
    for (const Case c : {Case{0, 2 * Pi}, {2 * Pi, 2 * Pi}, {4 * Pi, 2 * Pi}, {-Pi / 2, 3 * Pi / 2}, {-5 * Pi, -3 * Pi},
                         {3 * Pi, Pi}, {1.0, 1.0}, {2 * Pi - 0.00004, 2 * Pi - 0.00004}, {-0.00001, 2 * Pi - 0.00001}})
        EXPECT_NEAR(NormalizeAngle(c.In), c.Out, 1e-12) << c.In;
    EXPECT_EQ(NormalizeAngle(std::nan("")), 0.0);
    // Huge and infinite angles must not spin forever.
    const double huge = NormalizeAngle(1e300);
    EXPECT_GT(huge, 0.0);
    EXPECT_LE(huge, 2 * Pi);
    EXPECT_EQ(NormalizeAngle(std::numeric_limits<double>::infinity()), 0.0);
}

TEST(VectorHelpersAngles, SweepAngle)
{
    struct Case {
        int Direction;
        double Start, End, Sweep;
    };
    for (const Case c : {Case{1, 1.0, 1.0, 2 * Pi}, {-1, 1.0, 1.0, 2 * Pi}, {-1, 0, Pi / 2, 3 * Pi / 2},
                         {1, Pi / 2, 0, 3 * Pi / 2}, {1, 0, Pi / 2, Pi / 2}, {-1, Pi / 2, 0, Pi / 2},
                         {0, 1.0, 0.5, 2 * Pi - 0.5}, {0, 0.5, 1.0, 0.5}})
        EXPECT_NEAR(SweepAngle(c.Direction, c.Start, c.End), c.Sweep, 1e-12)
            << c.Direction << " " << c.Start << " " << c.End;
    EXPECT_NEAR(SweepAngleByFlag(true, Pi / 2, 0), 3 * Pi / 2, 1e-12);
    EXPECT_NEAR(SweepAngleByFlag(false, Pi / 2, 0), Pi / 2, 1e-12);
}

TEST(VectorHelpersAngles, DirectionsAndVectorAngles)
{
    EXPECT_NEAR(VectDirection2Pi({1, 1}, {1, 0}), 3 * Pi / 2, 1e-12);
    EXPECT_NEAR(VectDirection2Pi({0, 0}, {-1, 0}), Pi, 1e-12);
    EXPECT_NEAR(DirectionAngle({1, 1}, {1, 0}), -Pi / 2, 1e-12);
    EXPECT_NEAR(VectAngle({1, 0}, {0, 3}), Pi / 2, 1e-12);
    EXPECT_EQ(VectAngle({0, 0}, {1, 1}), 0.0);
    // These parallel pairs give a normalised dot product a rounding step beyond +-1.
    EXPECT_EQ(VectAngle({0.1, 7}, {1.0, 70}), 0.0);
    EXPECT_EQ(VectAngleNoCheck({0.1, 7}, {1.0, 70}), 0.0);
    EXPECT_NEAR(VectAngle({0.1, 7}, {-1.0, -70}), Pi, 1e-12);

    EXPECT_TRUE(IsCCW({1, 0}, {0, 0}, {0, 1}));
    EXPECT_FALSE(IsCCW({0, 1}, {0, 0}, {1, 0}));
    EXPECT_FALSE(IsCCW({1, 0}, {0, 0}, {2, 0}));
    EXPECT_TRUE(IsCCW2D({2, 0, 2}, {0, 0, 1}, {0, 1, 1}));
}

TEST(VectorHelpersPoints, ProjectionsAndDistances)
{
    ExpectVectNear(ProjectPointOnLine({5, 5}, {0, 0}, {10, 0}), 5, 0);
    ExpectVectNear(ProjectPointOnLine({15, 5}, {0, 0}, {10, 0}), 15, 0);
    ExpectVectNear(NearestPointOnSegment({15, 5}, {0, 0}, {10, 0}), 10, 0);
    ExpectVectNear(NearestPointOnSegment({-3, 5}, {0, 0}, {10, 0}), 0, 0);
    ExpectVectNear(NearestPointOnSegment({3, 3}, {2, 2}, {2, 2}), 2, 2);
    double x = 0;
    double y = 0;
    NearestPointOnSegmentXY(4, -2, 0, 0, 10, 0, x, y);
    EXPECT_NEAR(x, 4, 1e-6);
    EXPECT_NEAR(y, 0, 1e-12);

    TVect along;
    PointAlongSegment(along, 5, {1, 1}, {4, 5});
    ExpectVectNear(along, 4, 5);
    TPoint2D towards;
    PointTowards({10, 0}, towards, 2, {4, 0});
    EXPECT_FLOAT_EQ(towards.X, 6.0f);
    EXPECT_EQ(towards.W, 1.0f);
    // The differences are rounded to single precision before squaring.
    const double single = static_cast<float>(0.1);
    EXPECT_EQ(SquaredDistXY(0, 0, 0.1, 0), single * single);
    EXPECT_NE(SquaredDistXY(0, 0, 0.1, 0), 0.1 * 0.1);

    const TVect fromPoint = Point2DToVect({4, 6, 2});
    EXPECT_EQ(fromPoint.X, 4.0) << "W is ignored";
    const TPoint2D fromVect = VectToPoint2D({0.1, 2});
    EXPECT_EQ(fromVect.X, 0.1f);
    EXPECT_EQ(fromVect.W, 1.0f);
}

TEST(VectorHelpersPoints, NearestPointOnArc)
{
    const TVect centre = {0, 0};
    const TVect start = {1, 0};
    const TVect end = {0, 1};
    const double half = std::sqrt(0.5);
    struct Case {
        int Direction;
        TVect Query;
        double X, Y;
    };
    for (const Case c : {Case{1, {2, 2}, half, half}, Case{1, {-1, -0.1}, 0, 1}, Case{1, {0.5, -2}, 1, 0},
                         Case{-1, {-1, -1}, -half, -half}, Case{-1, {2, 2}, 0, 1}}) {
        TVect out;
        NearestPointOnArc(centre, start, end, out, c.Direction, 1.0, c.Query);
        ExpectVectNear(out, c.X, c.Y);
    }
    // Equally near both ends: the end point.
    TVect out;
    NearestPointOnArc(centre, start, end, out, 1, 1.0, {-1, -1});
    ExpectVectNear(out, 0, 1, 0);
}

TEST(VectorHelpersCircles, PointLineAndCollinearTests)
{
    EXPECT_EQ(PointVsCircle(1, {0, 0}, {0.5, 0}), -1);
    EXPECT_EQ(PointVsCircle(1, {0, 0}, {0, 1}), 0);
    EXPECT_EQ(PointVsCircle(1, {0, 0}, {1.00002, 0}), 0);
    EXPECT_EQ(PointVsCircle(1, {0, 0}, {1.1, 0}), 1);

    EXPECT_TRUE(LineMeetsCircle(1, {0, 0}, {-5, 0.5}, {5, 0.5}));
    EXPECT_TRUE(LineMeetsCircle(1, {0, 0}, {-5, 1}, {5, 1}));
    EXPECT_FALSE(LineMeetsCircle(1, {0, 0}, {-5, 1.1}, {5, 1.1}));
    EXPECT_TRUE(LineMeetsCircle(1, {0, 0}, {3, 0.5}, {5, 0.5})) << "the infinite line counts";

    const double savedTol = ChainTol;
    ChainTol = 0.01;
    EXPECT_TRUE(Collinear({0, 0}, {10, 0}, {5, 0.0009}));
    EXPECT_FALSE(Collinear({0, 0}, {10, 0}, {5, 0.002}));
    ChainTol = 0.1;
    EXPECT_TRUE(Collinear({0, 0}, {10, 0}, {5, 0.002}));
    ChainTol = savedTol;
}

TEST(VectorHelpersCircles, SegmentCircleIntersection)
{
    const double r = 1.0;
    const TVect c = {0, 0};
    const double s = std::sqrt(0.75);
    struct Case {
        const char* Name;
        TVect U, V;
        int Code;
        TVect P, Q;
    };
    const std::vector<Case> cases = {
        {"both inside", {-0.5, 0}, {0.5, 0}, 2, {0.5, 0}, {-0.5, 0}},
        {"U inside", {0, 0}, {2, 0}, 2, {0, 0}, {1, 0}},
        {"V inside", {2, 0.5}, {0, 0.5}, 2, {0, 0.5}, {s, 0.5}},
        {"inside to on", {0, 0}, {0, 1}, 2, {0, 0}, {0, 1}},
        {"both on", {1, 0}, {-1, 0}, 3, {-1, 0}, {1, 0}},
        {"both outside, crossing", {-2, 0.5}, {2, 0.5}, 3, {s, 0.5}, {-s, 0.5}},
        {"both outside, through the centre", {-2, 0}, {3, 0}, 3, {1, 0}, {-1, 0}},
        {"both outside, touching", {-2, 1}, {2, 1}, 1, {0, 1}, {9, 9}},
        {"on and outside, nearest at the end on", {1, 0}, {3, 0}, 2, {3, 0}, {1, 0}},
        {"outside and on, nearest at the end on", {0, 3}, {0, 1}, 2, {0, 3}, {0, 1}},
        {"on and outside, through the centre", {1, 0}, {-3, 0}, 2, {-1, 0}, {1, 0}},
        {"on and outside, passing through", {0.6, 0.8}, {0.6, -3}, 2, {0.6, -0.8}, {0.6, 0.8}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Name);
        TVect p = {9, 9};
        TVect q = {9, 9};
        ASSERT_EQ(SegmentCircleIntersection(r, c, k.U, k.V, p, q), k.Code);
        ExpectVectNear(p, k.P.X, k.P.Y, 1e-5);
        ExpectVectNear(q, k.Q.X, k.Q.Y, 1e-5);
    }
    for (const auto& [u, v] : {std::pair<TVect, TVect>{{-2, 2}, {2, 2}}, {{2, 0}, {3, 0}}}) {
        TVect p = {9, 9};
        TVect q = {9, 9};
        EXPECT_EQ(SegmentCircleIntersection(r, c, u, v, p, q), 0);
        ExpectVectNear(p, 9, 9, 0);
        ExpectVectNear(q, 9, 9, 0);
    }
}

TEST(VectorHelpersCircles, CircleCircleIntersection)
{
    TVect p1;
    TVect p2;
    const double s = std::sqrt(0.75);
    ASSERT_TRUE(CircleCircleIntersection(1, {0, 0}, 1, {1, 0}, p1, p2));
    // One point above, one below, in either order.
    EXPECT_NEAR(p1.X, 0.5, 1e-6);
    EXPECT_NEAR(p2.X, 0.5, 1e-6);
    EXPECT_NEAR(std::fabs(p1.Y), s, 1e-6);
    EXPECT_NEAR(p1.Y, -p2.Y, 1e-9);

    ASSERT_TRUE(CircleCircleIntersection(2, {1, 1}, 3, {4, 5}, p1, p2));
    for (const TVect p : {p1, p2}) {
        EXPECT_NEAR(PointDistance(p, {1, 1}), 2.0, 1e-5);
        EXPECT_NEAR(PointDistance(p, {4, 5}), 3.0, 1e-5);
    }

    // Tangent from outside and from inside: one point, twice.
    ASSERT_TRUE(CircleCircleIntersection(1, {0, 0}, 1, {2, 0}, p1, p2));
    ExpectVectNear(p1, 1, 0);
    ExpectVectNear(p2, 1, 0);
    ASSERT_TRUE(CircleCircleIntersection(0.3, {0.7, 0}, 1, {0, 0}, p1, p2));
    ExpectVectNear(p1, 1, 0);
    ExpectVectNear(p2, 1, 0);

    // Nested, concentric and apart circles have no points (and write none).
    for (const auto& [r1, c1, r2, c2] : {std::tuple<double, TVect, double, TVect>{5, {0, 0}, 1, {1, 0}},
                                         {1, {1, 0}, 5, {0, 0}}, {2, {3, 3}, 2, {3, 3}}, {1, {3, 3}, 2, {3, 3}},
                                         {1, {0, 0}, 1, {5, 0}}}) {
        TVect a = {9, 9};
        TVect b = {9, 9};
        EXPECT_FALSE(CircleCircleIntersection(r1, c1, r2, c2, a, b));
        EXPECT_FALSE(std::isnan(a.X) || std::isnan(b.X));
    }

    EXPECT_TRUE(CirclesMeet(1, {0, 0}, 1, {2, 0}));
    EXPECT_FALSE(CirclesMeet(1, {0, 0}, 1, {2.001, 0}));
    EXPECT_TRUE(CirclesMeet(5, {0, 0}, 1, {1, 0})) << "nested circles pass this coarse test";
}

TEST(VectorHelpersCircles, SegmentIntersection)
{
    struct Case {
        const char* Name;
        TVect A1, A2, B1, B2;
        bool Meet;
        TVect Point;
    };
    const std::vector<Case> cases = {
        {"crossing", {0, 0}, {4, 4}, {0, 4}, {4, 0}, true, {2, 2}},
        {"crossing off centre", {0, 0}, {10, 0}, {3, -1}, {3, 4}, true, {3, 0}},
        {"end on the other's middle", {0, 0}, {10, 0}, {5, 0}, {5, 5}, true, {5, 0}},
        {"shared end", {0, 0}, {4, 4}, {4, 4}, {8, 0}, false, {}},
        {"shared end, touching there", {0, 0}, {4, 0}, {4, 0}, {4, 4}, false, {}},
        {"ends within the tolerance", {0, 0}, {4, 4}, {4.00004, 4}, {8, 0}, false, {}},
        {"parallel overlap", {0, 0}, {4, 0}, {2, 0}, {6, 0}, true, {2, 0}},
        {"parallel apart", {0, 0}, {4, 4}, {0, 1}, {4, 5}, false, {}},
        {"collinear apart", {0, 0}, {1, 1}, {2, 2}, {3, 3}, false, {}},
        {"boxes apart", {0, 0}, {1, 1}, {0, 4}, {1, 3}, false, {}},
        {"lines cross beyond the ends", {0, 0}, {4, 4}, {3, 0}, {4, 2}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TVect point = {99, 99};
        ASSERT_EQ(SegmentIntersection(c.A1, c.A2, c.B1, c.B2, point), c.Meet);
        if (c.Meet)
            ExpectVectNear(point, c.Point.X, c.Point.Y);
    }
}

TEST(VectorMath3, RoundSingleHalvesToEvenAndSaturates)
{
    struct Case {
        float In;
        int Out;
    };
    for (const Case c : {Case{0.5f, 0}, {1.5f, 2}, {2.5f, 2}, {-2.5f, -2}, {-3.5f, -4}, {2.49f, 2}, {1e20f, INT_MAX},
                         {-1e20f, INT_MIN}, {std::nanf(""), 0}})
        EXPECT_EQ(RoundSingle(c.In), c.Out) << c.In;
}

TEST(VectorMath3, VectorsAndAngleConversions)
{
    const auto expectVector = [](TVector3 v, float x, float y, float z) {
        EXPECT_EQ(v.X, x);
        EXPECT_EQ(v.Y, y);
        EXPECT_EQ(v.Z, z);
    };
    expectVector(Vector3Add({1, 2, 3}, {4, 5, 6}), 5, 7, 9);
    expectVector(Vector3Subtract({4, 5, 6}, {1, 2, 4}), 3, 3, 2);
    expectVector(Vector3Scale({1, -2, 3}, 2), 2, -4, 6);
    EXPECT_EQ(Vector3Length({2, 3, 6}), 7.0f);
    EXPECT_EQ(Vector3Distance({1, 1, 1}, {3, 4, 7}), 7.0f);

    EXPECT_NEAR(static_cast<double>(DegToRadExtended(180.0L)), Pi, 1e-15);
    EXPECT_NEAR(static_cast<double>(RadToDegExtended(static_cast<long double>(Pi) / 2)), 90.0, 1e-12);
    EXPECT_FLOAT_EQ(DegToRadSingle(90.0f), static_cast<float>(Pi / 2));
    EXPECT_FLOAT_EQ(RadToDegSingle(static_cast<float>(Pi)), 180.0f);
    EXPECT_FLOAT_EQ(DegToRad2D(-45.0f), static_cast<float>(-Pi / 4));

    // The first argument is y.
    EXPECT_NEAR(static_cast<double>(ArcTangent2Extended(1.0L, -1.0L)), 3 * Pi / 4, 1e-15);
    EXPECT_FLOAT_EQ(ArcTangent2Single(-1.0f, 0.0f), static_cast<float>(-Pi / 2));
    EXPECT_NEAR(ArcTangent2(0.0, -1.0), Pi, 1e-15);
}
