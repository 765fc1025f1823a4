#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>

#include <gtest/gtest.h>

#include "support/ElementExpect.h"
#include "cam/chains/ChainElement.h"

namespace {

constexpr double PI = std::numbers::pi;

template <typename T>
T ReadAt(const std::array<unsigned char, 48>& bytes, std::size_t offset)
{
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

} // namespace

TEST(ChainElement, Is48BytesOfFiveDoublesTheLayerAndAZeroWord)
{
    TChainElement e = MakeElement({1.5, -2.0}, {3.25, 4.0}, 0.5);
    e.Layer = 7;
    ASSERT_EQ(sizeof(TChainElement), 48u);
    std::array<unsigned char, 48> bytes{};
    std::memcpy(bytes.data(), &e, sizeof e);
    EXPECT_EQ(ReadAt<double>(bytes, 0), 1.5);
    EXPECT_EQ(ReadAt<double>(bytes, 8), -2.0);
    EXPECT_EQ(ReadAt<double>(bytes, 16), 3.25);
    EXPECT_EQ(ReadAt<double>(bytes, 24), 4.0);
    EXPECT_EQ(ReadAt<double>(bytes, 32), 0.5);
    EXPECT_EQ(ReadAt<std::int32_t>(bytes, 40), 7);
    EXPECT_EQ(ReadAt<std::int32_t>(bytes, 44), 0);
}

TEST(ChainElement, BulgeArcParamsGivesCentreRadiusDirectionAndCounterClockwiseAngles)
{
    TBulgeArc arc;
    EXPECT_FALSE(BulgeArcParams(Line(0, 0, 1, 0), arc));
    EXPECT_FALSE(BulgeArcParams(Arc(0, 0, 1, 0, 0.00004), arc));

    ASSERT_TRUE(BulgeArcParams(Arc(3, 2, 1, 2, 1.0), arc));
    EXPECT_NEAR(arc.Centre.X, 2.0, GEOMETRY_TOLERANCE);
    EXPECT_NEAR(arc.Centre.Y, 2.0, GEOMETRY_TOLERANCE);
    EXPECT_NEAR(arc.Radius, 1.0, GEOMETRY_TOLERANCE);
    EXPECT_EQ(arc.Direction, ARC_COUNTER_CLOCKWISE);
    EXPECT_NEAR(arc.From, 0.0, GEOMETRY_TOLERANCE);
    EXPECT_NEAR(arc.To, PI, GEOMETRY_TOLERANCE);

    // Clockwise: the angles are exchanged so that From-To still runs counter-clockwise.
    ASSERT_TRUE(BulgeArcParams(Arc(3, 2, 2, 1, -BulgeOfSweepDegrees(90)), arc));
    EXPECT_NEAR(arc.Centre.X, 2.0, GEOMETRY_TOLERANCE);
    EXPECT_NEAR(arc.Centre.Y, 2.0, GEOMETRY_TOLERANCE);
    EXPECT_EQ(arc.Direction, ARC_CLOCKWISE);
    EXPECT_NEAR(arc.From, -PI / 2, GEOMETRY_TOLERANCE);
    EXPECT_NEAR(arc.To, 0.0, GEOMETRY_TOLERANCE);
}

TEST(ChainElement, LengthOfSegmentsAndArcs)
{
    struct TCase {
        TChainElement Element;
        double Length;
    };
    const TCase cases[] = {
        {Line(1, 1, 4, 5), 5.0},
        {Arc(1, 0, -1, 0, 1.0), PI},
        {Arc(1, 0, -1, 0, -1.0), PI},
        {Arc(2, 0, 0, 2, BulgeOfSweepDegrees(90)), PI},
        {Arc(1, 0, 0, -1, BulgeOfSweepDegrees(270)), 1.5 * PI},
        {Arc(1, 0, 0, -1, -BulgeOfSweepDegrees(90)), PI / 2},
    };
    for (const TCase& c : cases)
        EXPECT_NEAR(ElementLength(c.Element), c.Length, 1e-12);
}

TEST(ChainElement, StartTangentAndDirectionAngle)
{
    struct TCase {
        TChainElement Element;
        TVect Tangent;
        double Direction;
    };
    const TCase cases[] = {
        {Line(1, 1, 4, -3), {3, -4}, std::atan2(-4.0, 3.0) + 2 * PI},
        // Leaving (3,2) around the centre (2,2): upwards counter-clockwise, downwards clockwise.
        {Arc(3, 2, 1, 2, 1.0), {0, 1}, PI / 2},
        {Arc(3, 2, 2, 1, -BulgeOfSweepDegrees(90)), {0, -1}, 1.5 * PI},
        {Arc(2, 0, 0, 2, BulgeOfSweepDegrees(90)), {0, 2}, PI / 2},
        {Line(0, 0, -1, 0), {-1, 0}, PI},
        {Line(0, 0, 1, 0), {1, 0}, 0.0},
    };
    for (const TCase& c : cases) {
        const TVect t = StartTangent(c.Element);
        EXPECT_NEAR(t.X, c.Tangent.X, GEOMETRY_TOLERANCE);
        EXPECT_NEAR(t.Y, c.Tangent.Y, GEOMETRY_TOLERANCE);
        EXPECT_NEAR(DirectionAngle2Pi({0, 0}, t), c.Direction, GEOMETRY_TOLERANCE);
    }
}

TEST(ChainElement, TessellatedClockwiseHalfCircleHas51PointsAndEndsExactlyAtItsEnd)
{
    const TChainElement half = Arc(1.0, 0.0, -1.0, 0.0, -1.0);
    TPointList points;
    TessellateBulgeArc(half, points);
    ASSERT_EQ(points.size(), 51u);
    EXPECT_NEAR(points.front().X, 1.0, GEOMETRY_TOLERANCE);
    EXPECT_NEAR(points.front().Y, 0.0, GEOMETRY_TOLERANCE);
    EXPECT_EQ(points.back().X, -1.0);
    EXPECT_EQ(points.back().Y, 0.0);
    const double step = PI / 51;
    for (std::size_t k = 0; k < points.size(); ++k) {
        EXPECT_NEAR(std::hypot(points[k].X, points[k].Y), 1.0, GEOMETRY_TOLERANCE);
        EXPECT_LE(points[k].Y, GEOMETRY_TOLERANCE) << "a clockwise arc from (1,0) to (-1,0) passes below";
    }
    const auto gap = [&](std::size_t k) {
        return std::hypot(points[k + 1].X - points[k].X, points[k + 1].Y - points[k].Y);
    };
    EXPECT_NEAR(gap(0), 2 * std::sin(step / 2), GEOMETRY_TOLERANCE);
    EXPECT_NEAR(gap(48), 2 * std::sin(step / 2), GEOMETRY_TOLERANCE);
    EXPECT_NEAR(gap(49), 2 * std::sin(step), GEOMETRY_TOLERANCE) << "the last interval is two steps wide";

    TPointList none;
    TessellateBulgeArc(Line(0, 0, 1, 1), none);
    EXPECT_TRUE(none.empty());
}

TEST(ChainElement, SignedAreaIsPositiveCounterClockwiseAndCountsArcsByTheirPoints)
{
    TChain square = Square10();
    EXPECT_NEAR(ChainSignedArea(square), 100.0, 1e-12);
    ReverseChain(square);
    EXPECT_NEAR(ChainSignedArea(square), -100.0, 1e-12);

    const TChain circle{Arc(1, 0, -1, 0, 1.0), Arc(-1, 0, 1, 0, 1.0)};
    const double step = PI / 51;
    EXPECT_NEAR(ChainSignedArea(circle), 49 * std::sin(step) + std::sin(2 * step), 1e-12);
    EXPECT_EQ(ChainSignedArea(TChain{}), 0.0);
}

TEST(ChainElement, ReverseChainSwapsEndsNegatesBulgesKeepsLayersAndIsItsOwnInverse)
{
    TChain chain{Line(0, 0, 4, 0), Arc(4, 0, 4, 4, 1.0), Line(4, 4, 0, 0)};
    chain[1].Layer = 5;
    chain[1].Reserved = 99;
    const TChain original = chain;
    ReverseChain(chain);
    ExpectElements(chain, {{0, 0, 4, 4, 0}, {4, 4, 4, 0, -1.0}, {4, 0, 0, 0, 0}});
    EXPECT_EQ(chain[1].Layer, 5);
    EXPECT_EQ(chain[1].Reserved, 0);
    ReverseChain(chain);
    chain[1].Reserved = 99;
    ASSERT_EQ(chain.size(), original.size());
    EXPECT_EQ(std::memcmp(chain.data(), original.data(), chain.size() * sizeof(TChainElement)), 0);
}

TEST(ChainElement, DropElementsBeforeCutsAtTheFirstEqualElement)
{
    TChain list{Line(0, 0, 1, 0), Line(1, 0, 1, 1), Line(1, 1, 0, 0)};
    EXPECT_FALSE(DropElementsBefore(Line(1, 0, 1, 2), list));
    EXPECT_EQ(list.size(), 3u);
    EXPECT_TRUE(DropElementsBefore(Line(1.00004, 0, 1, 1.00004), list));
    ExpectElements(list, {{1, 0, 1, 1, 0}, {1, 1, 0, 0, 0}});
}

TEST(ChainElement, ArcSpanContainsDirectionsWithinSweepsBeyondAHalfCircle)
{
    // 270 degrees counter-clockwise from (5,0) to (0,-5).
    const TArcSpan major = ArcSpanOf(Arc(5, 0, 0, -5, BulgeOfSweepDegrees(270)));
    EXPECT_NEAR(major.Sweep, 1.5 * PI, 1e-12);
    EXPECT_TRUE(ArcSpanContains(major, {-3, 4}));
    EXPECT_TRUE(ArcSpanContains(major, {-3, -4}));
    EXPECT_TRUE(ArcSpanContains(major, {0, -5}));
    EXPECT_FALSE(ArcSpanContains(major, {4, -3}));
    // The same points against the clockwise quarter from (5,0) to (0,-5).
    const TArcSpan minor = ArcSpanOf(Arc(5, 0, 0, -5, -BulgeOfSweepDegrees(90)));
    EXPECT_FALSE(ArcSpanContains(minor, {-3, 4}));
    EXPECT_TRUE(ArcSpanContains(minor, {4, -3}));
}

TEST(ChainElement, ShorterThanAnswersAsTheLengthDoesForElementsWithinAHairOfTheLimit)
{
    // Lines and arcs of every sweep, in many directions, near the origin and
    // far from it, whose lengths lie a hair either side of the limit: the
    // quick bounds must never answer where only the length can.
    const double sweeps[] = {0.0, 1e-3, 0.5, PI / 2, 2.0, PI, 4.0, 1.5 * PI, 5.5, 2 * PI - 1e-3, 2 * PI - 1e-7};
    const double hairs[] = {0.0, 1e-15, -1e-15, 1e-12, -1e-12, 1e-9, -1e-9, 1e-6, -1e-6, 1e-2, -1e-2};
    const double origins[] = {0.0, 1234.5};
    const double limits[] = {5e-5, 1.0};
    for (const double limit : limits)
        for (const double origin : origins)
            for (int k = 0; k < 200; ++k) {
                const double a = 2 * PI * k / 200 + 0.01;
                for (const double sweep : sweeps)
                    for (const double hair : hairs)
                        for (const double turn : {1.0, -1.0}) {
                            const double length = limit * (1 + hair);
                            TChainElement e;
                            if (sweep == 0.0) {
                                e = Line(origin, origin, origin + length * std::cos(a), origin + length * std::sin(a));
                            } else {
                                const double r = length / sweep;
                                const double b = a + turn * sweep;
                                e = Arc(origin + r * std::cos(a), origin + r * std::sin(a), origin + r * std::cos(b),
                                        origin + r * std::sin(b), turn * std::tan(sweep / 4));
                            }
                            ASSERT_EQ(ElementShorterThan(e, limit), ElementLength(e) < limit)
                                << std::hexfloat << e.X1 << ' ' << e.Y1 << ' ' << e.X2 << ' ' << e.Y2 << ' ' << e.Bulge;
                        }
            }
    // A closed arc, and elements the bounds cannot judge.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const TChainElement& e : {Arc(1, 1, 1, 1, 1), Line(0, 0, nan, 0), Arc(0, 0, 1e-3, 0, nan), Line(0, 0, 1e300, 1e300)})
        for (const double limit : {5e-5, 0.0, -1.0, nan})
            EXPECT_EQ(ElementShorterThan(e, limit), ElementLength(e) < limit);
}
