#include <cmath>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "support/CamToleranceTest.h"
#include "support/ElementExpect.h"
#include "cad/geometry/VectorHelpers.h"
#include "cam/toolpath/ChainOffset.h"
#include "cam/toolpath/ElementDistance.h"
#include "cam/toolpath/SplitAtIntersections.h"

namespace {

constexpr double PI = std::numbers::pi;

class ChainOffsetTest : public CamToleranceTest {};

TVect CentreOf(const TChainElement& e)
{
    TVect centre;
    double radius = 0.0;
    BulgeArcCentre(e, centre, radius);
    return centre;
}

} // namespace

TEST_F(ChainOffsetTest, SquareOffsetOutwardsGetsQuarterArcsAroundItsCorners)
{
    TChain result;
    OffsetChain(Square10(), result, -1.0);
    const double q = BulgeOfSweepDegrees(90);
    ExpectElements(result, {{0, -1, 10, -1, 0},
                            {10, -1, 11, 0, q},
                            {11, 0, 11, 10, 0},
                            {11, 10, 10, 11, q},
                            {10, 11, 0, 11, 0},
                            {0, 11, -1, 10, q},
                            {-1, 10, -1, 0, 0},
                            {-1, 0, 0, -1, q}});
    const TVect corners[] = {{10, 0}, {10, 10}, {0, 10}, {0, 0}};
    for (int k = 0; k < 4; ++k) {
        const TVect centre = CentreOf(result[2 * k + 1]);
        EXPECT_NEAR(centre.X, corners[k].X, GEOMETRY_TOLERANCE);
        EXPECT_NEAR(centre.Y, corners[k].Y, GEOMETRY_TOLERANCE);
    }
}

TEST_F(ChainOffsetTest, SquareOffsetInwardsLeavesFourOverlappingSides)
{
    TChain result;
    OffsetChain(Square10(), result, 1.0);
    ExpectElements(result, {{0, 1, 10, 1, 0}, {9, 0, 9, 10, 0}, {10, 9, 0, 9, 0}, {1, 10, 1, 0, 0}});
}

TEST_F(ChainOffsetTest, OffsetAppendsToTheResultAndLeavesTheSourceAlone)
{
    const TChain square = Square10();
    TChain result{Line(50, 50, 60, 60)};
    OffsetChain(square, result, 1.0);
    ASSERT_EQ(result.size(), 5u);
    EXPECT_EQ(result[0].X1, 50.0);
    EXPECT_EQ(result[1].Y1, 1.0);
    ExpectElements(square, {{0, 0, 10, 0, 0}, {10, 0, 10, 10, 0}, {10, 10, 0, 10, 0}, {0, 10, 0, 0, 0}});
}

TEST_F(ChainOffsetTest, SmallTurnsAreJoinedAtOnePointAndLargerOnesGetAnArc)
{
    struct TCase {
        double TurnDegrees;
        std::size_t Elements;
    };
    const TCase cases[] = {{0.0, 2}, {0.5, 2}, {2.0, 3}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.TurnDegrees);
        const double turn = c.TurnDegrees * PI / 180.0;
        const TChain open{Line(0, 0, 10, 0), Line(10, 0, 10 + 10 * std::cos(turn), 10 * std::sin(turn))};
        TChain result;
        OffsetChain(open, result, -1.0);
        ASSERT_EQ(result.size(), c.Elements);
        if (c.Elements == 2) {
            // Both offset lines end at their meeting point, d / cos(turn / 2) from the corner.
            EXPECT_EQ(result[0].X2, result[1].X1);
            EXPECT_EQ(result[0].Y2, result[1].Y1);
            EXPECT_NEAR(result[0].X2, 10.0 + std::tan(turn / 2), GEOMETRY_TOLERANCE);
            EXPECT_NEAR(result[0].Y2, -1.0, GEOMETRY_TOLERANCE);
        } else {
            EXPECT_NEAR(result[1].Bulge, std::tan(turn / 4), GEOMETRY_TOLERANCE);
            EXPECT_NEAR(result[1].X1, 10.0, GEOMETRY_TOLERANCE);
            EXPECT_NEAR(result[1].Y1, -1.0, GEOMETRY_TOLERANCE);
            EXPECT_NEAR(result[1].X2, 10.0 + std::sin(turn), GEOMETRY_TOLERANCE);
            EXPECT_NEAR(result[1].Y2, -std::cos(turn), GEOMETRY_TOLERANCE);
        }
    }
}

// The join or the arc is decided by the angle VectAngle gives between the
// offset ends, also for turns within a hair of the corner limit.
TEST_F(ChainOffsetTest, TurnsAtTheCornerLimitFollowTheirAngle)
{
    std::size_t joins = 0;
    std::size_t arcs = 0;
    for (const double degrees : {1.0, 30.0, 90.0, 150.0}) {
        CornerRound = degrees;
        const double limit = static_cast<float>(degrees) * static_cast<float>(PI) / 180.0f;
        for (const double step : {1e-5, 1e-7, 1e-8, 1e-9, 1e-10, 1e-12, 1e-14, 0.0}) {
            for (const double sign : {-1.0, 1.0}) {
                const double turn = limit + sign * step;
                const TChain open{Line(0, 0, 10, 0), Line(10, 0, 10 + 10 * std::cos(turn), 10 * std::sin(turn))};
                const TVect corner{10, 0};
                const TVect a = EndPoint(*OffsetElement(open[0], -1.0));
                const TVect b = StartPoint(*OffsetElement(open[1], -1.0));
                const bool join = !(VectAngle(SubVect(a, corner), SubVect(b, corner)) > limit);
                TChain result;
                OffsetChain(open, result, -1.0);
                EXPECT_EQ(result.size(), join ? 2u : 3u) << degrees << " degrees, turn " << turn;
                ++(join ? joins : arcs);
            }
        }
    }
    EXPECT_GT(joins, 20u);
    EXPECT_GT(arcs, 20u);
}

// Corners whose offset pieces end within ChainTol of each other: inside the
// chain the next piece starts where the last one ends; at the closing corner
// two straight pieces always meet at their crossing, on either side.
TEST_F(ChainOffsetTest, NearlyStraightCornersInsideAndAtTheClose)
{
    const auto direction = [](double degrees) {
        const double a = degrees * PI / 180.0;
        return TVect{std::cos(a), std::sin(a)};
    };
    {
        SCOPED_TRACE("inner corner, open chain");
        const TVect u = direction(0.02);
        const TChain open{Line(0, 0, 10, 0), Line(10, 0, 10 + 10 * u.X, 10 * u.Y)};
        TChain result;
        OffsetChain(open, result, 1.0);
        ASSERT_EQ(result.size(), 2u);
        EXPECT_EQ(result[0].X2, 10.0);
        EXPECT_EQ(result[0].Y2, 1.0);
        EXPECT_EQ(result[1].X1, 10.0);
        EXPECT_EQ(result[1].Y1, 1.0);
    }
    struct TCase {
        const char* Name;
        double TurnDegrees;
        double D;
    };
    // The corner at the start of the first element turns left by the turn;
    // offset to the right (outside) it leaves a gap, to the left an overlap.
    const TCase closing[] = {
        {"outer closing corner, a gap of 0.0087", 0.5, -1.0},
        {"inner closing corner, an overlap of 0.0003", 0.02, 1.0},
    };
    for (const TCase& c : closing) {
        SCOPED_TRACE(c.Name);
        const TVect in = direction(-c.TurnDegrees);
        const TChain quad{Line(0, 0, 10, 0), Line(10, 0, 10, 10), Line(10, 10, -10 * in.X, -10 * in.Y),
                          Line(-10 * in.X, -10 * in.Y, 0, 0)};
        TChain result;
        OffsetChain(quad, result, c.D);
        ASSERT_GE(result.size(), 4u);
        // The offset of the first side, y = -d, meets the offset of the last.
        const double meetingX = c.D * std::tan(c.TurnDegrees * PI / 360.0);
        EXPECT_NEAR(result.front().X1, meetingX, GEOMETRY_TOLERANCE);
        EXPECT_NEAR(result.front().Y1, c.D, GEOMETRY_TOLERANCE);
        EXPECT_EQ(result.back().X2, result.front().X1);
        EXPECT_EQ(result.back().Y2, result.front().Y1);
        EXPECT_TRUE(IsStraight(result.back()));
    }
}

TEST_F(ChainOffsetTest, CornerOffsetVectorPointsToTheMeetingOfTheOffsetLines)
{
    struct TCase {
        TVect In, Out;
        double D;
        TVect Expected;
    };
    const TCase cases[] = {
        {{1, 0}, {0, 1}, 1.0, {-1, 1}},   // left turn, offset inside
        {{1, 0}, {0, -1}, 1.0, {1, 1}},   // right turn, offset outside
        {{2, 0}, {5, 0}, 2.0, {0, 2}},    // straight run: d along the left normal
        {{1, 0}, {-1, 0}, 1.0, {0, 1}},   // turning back: treated as straight
        {{0, 3}, {0, 0}, 1.0, {-1, 1}},   // a null direction counts as angle 0: a right turn
    };
    for (const TCase& c : cases) {
        const TVect v = CornerOffsetVector(c.In, c.Out, c.D);
        EXPECT_NEAR(v.X, c.Expected.X, GEOMETRY_TOLERANCE);
        EXPECT_NEAR(v.Y, c.Expected.Y, GEOMETRY_TOLERANCE);
    }
}

TEST_F(ChainOffsetTest, OffsetElementMovesLinesSidewaysAndArcsRadially)
{
    const auto line = OffsetElement(Line(0, 0, 4, 0), 1.0);
    ASSERT_TRUE(line.has_value());
    ExpectElements({*line}, {{0, 1, 4, 1, 0}});

    // Positive d shrinks a counter-clockwise arc and grows a clockwise one.
    const auto ccw = OffsetElement(Arc(2, 0, -2, 0, 1.0), 0.5);
    ASSERT_TRUE(ccw.has_value());
    ExpectElements({*ccw}, {{1.5, 0, -1.5, 0, 1.0}});
    const auto cw = OffsetElement(Arc(2, 0, -2, 0, -1.0), 0.5);
    ASSERT_TRUE(cw.has_value());
    ExpectElements({*cw}, {{2.5, 0, -2.5, 0, -1.0}});
}

TEST_F(ChainOffsetTest, ArcsOffsetPastTheirCentreKeepTheirBulgeAndDegenerateElementsAreDropped)
{
    // Past the centre both ends come out on the far side of it.
    ExpectElements({*OffsetElement(Arc(2, 0, -2, 0, 1.0), 3.0)}, {{-1, 0, 1, 0, 1.0}});
    ExpectElements({*OffsetElement(Arc(2, 0, -2, 0, -1.0), -2.5)}, {{-0.5, 0, 0.5, 0, -1.0}});
    ExpectElements({*OffsetElement(Arc(2, 0, -2, 0, 1.0), 2.0)}, {{0, 0, 0, 0, 1.0}});
    EXPECT_FALSE(OffsetElement(Line(3, 3, 3, 3), 1.0).has_value());
    EXPECT_FALSE(OffsetElement(Arc(3, 3, 3, 3, 1.0), -1.0).has_value());
}

TEST_F(ChainOffsetTest, ZeroLengthElementsInAChainAreSkipped)
{
    TChain plain;
    OffsetChain(Square10(), plain, -1.0);
    TChain square = Square10();
    square.insert(square.begin() + 1, Line(10, 0, 10, 0));
    square.push_back(Line(0, 0, 0.00001, 0));
    TChain withStubs;
    OffsetChain(square, withStubs, -1.0);
    std::vector<TExpected> expected;
    for (const TChainElement& e : plain)
        expected.push_back({e.X1, e.Y1, e.X2, e.Y2, e.Bulge});
    ExpectElements(withStubs, expected);
}

TEST_F(ChainOffsetTest, AnArcOffsetPastItsCentreLeavesTheCornersAroundItsEnds)
{
    // A bump of radius 1, offset by 2 on its inner side: the corner arcs of
    // radius 2 around the bump's ends meet below it, and the arc turned
    // through its centre and the corner arcs' far parts come too near.
    const TChain bump{Line(-5, 0, -1, 0), Arc(-1, 0, 1, 0, -1.0), Line(1, 0, 5, 0)};
    TChain result;
    OffsetChain(bump, result, -2.0);
    ASSERT_EQ(result.size(), 5u);
    ExpectElements({result[2]}, {{1, 0, -1, 0, -1.0}});
    ASSERT_TRUE(SplitAtIntersections(result));
    RemoveGougingElements(result, bump, 2.0);
    const double sweep = BulgeOfSweepDegrees(30);
    ExpectElements(result, {{-5, -2, -1, -2, 0},
                            {0, -std::sqrt(3.0), 1, -2, sweep},
                            {-1, -2, 0, -std::sqrt(3.0), sweep},
                            {1, -2, 5, -2, 0}});
}

TEST_F(ChainOffsetTest, TurningBackGetsHalfCirclesAndStaysFinite)
{
    // A chain that runs out and straight back along itself, at angles where
    // rounding takes the cosine of the turn beyond -1.
    for (int k = 0; k < 360; ++k) {
        const double angle = k * PI / 180.0 + 0.1234567;
        const TVect tip{3.7 * std::cos(angle), 3.7 * std::sin(angle)};
        const TChain spike{Line(0.3, 0.1, 0.3 + tip.X, 0.1 + tip.Y), Line(0.3 + tip.X, 0.1 + tip.Y, 0.3, 0.1)};
        TChain result;
        OffsetChain(spike, result, -0.7);
        ASSERT_TRUE(AllFinite(result)) << k;
        for (const TChainElement& e : result) {
            if (!IsStraight(e)) {
                EXPECT_NEAR(e.Bulge, 1.0, 1e-6) << k;
            }
        }
    }
}

TEST_F(ChainOffsetTest, SingleElementAndEmptyChains)
{
    TChain result;
    OffsetChain({}, result, 1.0);
    EXPECT_TRUE(result.empty());
    OffsetChain({Line(0, 0, 0, 5)}, result, 1.0);
    ExpectElements(result, {{-1, 0, -1, 5, 0}});
}
