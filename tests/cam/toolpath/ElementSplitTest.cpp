#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "support/CamToleranceTest.h"
#include "support/ElementExpect.h"
#include "cam/toolpath/ElementSplit.h"

namespace {

constexpr double PI = std::numbers::pi;

double Degrees(double radians)
{
    return radians * 180.0 / PI;
}

class ElementSplitTest : public CamToleranceTest {};

} // namespace

TEST_F(ElementSplitTest, CrossingLinesGiveFourPiecesInOrder)
{
    TChain pieces{Line(7, 7, 8, 8)};
    int endMask = -1;
    bool firstSplit = false;
    bool secondSplit = false;
    ASSERT_TRUE(SplitLineLine(Line(0, 0, 10, 10), Line(0, 10, 10, 0), pieces, endMask, firstSplit, secondSplit));
    ExpectElements(pieces, {{0, 0, 5, 5, 0}, {5, 5, 10, 10, 0}, {0, 10, 5, 5, 0}, {5, 5, 10, 0, 0}});
    EXPECT_EQ(endMask, 0);
    EXPECT_TRUE(firstSplit);
    EXPECT_TRUE(secondSplit);
}

TEST_F(ElementSplitTest, EndMaskTellsWhichEndTheCrossingFellOn)
{
    struct TCase {
        TChainElement Second;
        int EndMask;
        std::size_t Pieces;
    };
    const TChainElement first = Line(0, 0, 10, 0);
    const TCase cases[] = {
        {Line(0, -5, 0, 5), 1, 3},  // at the first's start
        {Line(10, -5, 10, 5), 2, 3}, // at the first's end
        {Line(5, 0, 5, 5), 4, 3},    // at the second's start
        {Line(5, -5, 5, 0), 8, 3},   // at the second's end
    };
    for (const TCase& c : cases) {
        TChain pieces;
        int endMask = 0;
        bool firstSplit = false;
        bool secondSplit = false;
        ASSERT_TRUE(SplitLineLine(first, c.Second, pieces, endMask, firstSplit, secondSplit));
        EXPECT_EQ(endMask, c.EndMask);
        EXPECT_EQ(pieces.size(), c.Pieces);
        EXPECT_TRUE(firstSplit);
        EXPECT_TRUE(secondSplit);
    }
}

TEST_F(ElementSplitTest, SegmentsThatShareAnEndOrRunParallelAreNotSplit)
{
    const TChainElement pairs[][2] = {
        {Line(0, 0, 10, 10), Line(10, 10, 20, 0)},          // shared end
        {Line(0, 0, 10, 10), Line(0, 0, 10, -10)},          // shared start
        {Line(0, 0, 10, 0), Line(5, 0, 15, 0)},             // collinear overlap
        {Line(0, 0, 10, 0), Line(0, 1, 10, 1)},             // parallel
        {Line(0, 0, 10, 0), Line(11, -1, 11, 1)},           // would cross beyond the end
    };
    for (const auto& pair : pairs) {
        TChain pieces;
        int endMask = 0;
        bool firstSplit = true;
        bool secondSplit = true;
        EXPECT_FALSE(SplitLineLine(pair[0], pair[1], pieces, endMask, firstSplit, secondSplit));
        EXPECT_TRUE(pieces.empty());
        EXPECT_FALSE(firstSplit);
        EXPECT_FALSE(secondSplit);
    }
}

TEST_F(ElementSplitTest, ACrossingThatChangesNeitherElementIsNoCut)
{
    // The second segment is too short to leave a piece on either side, and
    // the first already ends at the crossing: a cut would only copy them.
    // (Half lengths of 2^-14: beyond the equality tolerance, below SystemTol.)
    const double half = 1.0 / 16384.0;
    TChain pieces;
    int endMask = 0;
    bool firstSplit = true;
    bool secondSplit = true;
    EXPECT_TRUE(SplitLineLine(Line(0, 0, 5, 0), Line(5, -half, 5, half), pieces, endMask, firstSplit, secondSplit));
    EXPECT_TRUE(pieces.empty());
    EXPECT_FALSE(firstSplit);
    EXPECT_FALSE(secondSplit);
    EXPECT_EQ(endMask, 2 | 4 | 8);
}

TEST_F(ElementSplitTest, LineTangentToAnArcCutsBothAtTheTouchingPoint)
{
    // Upper half circle of radius 5 and the line y = 5 touching its top.
    const TChainElement arc = Arc(5, 0, -5, 0, 1.0);
    const double quarter = BulgeOfSweepDegrees(90);
    for (const bool arcFirst : {false, true}) {
        TChain pieces;
        bool lineSplit = false;
        bool arcSplit = false;
        const TChainElement line = Line(-10, 5, 10, 5);
        ASSERT_TRUE(arcFirst ? SplitLineArc(arc, line, pieces, lineSplit, arcSplit)
                             : SplitLineArc(line, arc, pieces, lineSplit, arcSplit));
        ExpectElements(pieces, {{-10, 5, 0, 5, 0}, {0, 5, 10, 5, 0}, {5, 0, 0, 5, quarter}, {0, 5, -5, 0, quarter}});
        EXPECT_TRUE(lineSplit);
        EXPECT_TRUE(arcSplit);
    }
}

TEST_F(ElementSplitTest, LineThroughTheFarSideOfAMajorArcIsFound)
{
    // 270 degrees counter-clockwise around the origin, from (5,0) to (0,-5).
    const TChainElement major = Arc(5, 0, 0, -5, BulgeOfSweepDegrees(270));
    TChain pieces;
    bool lineSplit = false;
    bool arcSplit = false;
    ASSERT_TRUE(SplitLineArc(Line(-3, -10, -3, 10), major, pieces, lineSplit, arcSplit));
    const double at4 = Degrees(std::atan2(4, -3));
    ExpectElements(pieces, {{-3, -10, -3, -4, 0},
                            {-3, -4, -3, 4, 0},
                            {-3, 4, -3, 10, 0},
                            {5, 0, -3, 4, BulgeOfSweepDegrees(at4)},
                            {-3, 4, -3, -4, BulgeOfSweepDegrees(360 - 2 * at4)},
                            {-3, -4, 0, -5, BulgeOfSweepDegrees(at4 - 90)}});
}

TEST_F(ElementSplitTest, PiecesOfAMajorArcKeepTheirTrueSweep)
{
    const TChainElement major = Arc(5, 0, 0, -5, BulgeOfSweepDegrees(270));
    TChain pieces;
    bool lineSplit = false;
    bool arcSplit = false;
    // x = 4 meets the circle at (4,3) and (4,-3); only (4,3) lies on the arc.
    ASSERT_TRUE(SplitLineArc(Line(4, -10, 4, 10), major, pieces, lineSplit, arcSplit));
    const double first = Degrees(std::atan2(3, 4));
    ExpectElements(pieces, {{4, -10, 4, 3, 0},
                            {4, 3, 4, 10, 0},
                            {5, 0, 4, 3, BulgeOfSweepDegrees(first)},
                            {4, 3, 0, -5, BulgeOfSweepDegrees(270 - first)}});
}

TEST_F(ElementSplitTest, LineMissingAnArcOrJoiningItAtAnEndIsNotSplit)
{
    const TChainElement arc = Arc(5, 0, -5, 0, 1.0);
    const TChainElement lines[] = {
        Line(-10, 6, 10, 6),  // passes above
        Line(-10, -3, 10, -3), // meets the circle below, off the arc
        Line(5, 0, 10, 5),    // starts at the arc's start
        Line(0, 0, 5, 0),     // ends at the arc's start, from the centre
    };
    for (const TChainElement& line : lines) {
        TChain pieces;
        bool lineSplit = true;
        bool arcSplit = true;
        EXPECT_FALSE(SplitLineArc(line, arc, pieces, lineSplit, arcSplit) && !pieces.empty());
        EXPECT_TRUE(pieces.empty());
        EXPECT_FALSE(lineSplit);
        EXPECT_FALSE(arcSplit);
    }
}

// Where one element ends inside the other, the other is cut at exactly that
// end, also when rounding puts the end a hair off the other element; the
// ending element comes back whole.
TEST_F(ElementSplitTest, AnElementEndingInsideAnotherCutsTheOther)
{
    const double q = BulgeOfSweepDegrees(90);
    const double off = 3e-6;
    const double wide = BulgeOfSweepDegrees(Degrees(std::atan2(4.0, 3.0)) + 90);
    struct TCase {
        const char* Name;
        TChainElement A, B;
        std::vector<TExpected> Pieces;
    };
    const TCase cases[] = {
        {"line ending on an arc", Line(0, 10, 0, 5), Arc(5, 0, -5, 0, 1.0),
         {{0, 10, 0, 5, 0}, {5, 0, 0, 5, q}, {0, 5, -5, 0, q}}},
        {"arc ending on a line", Line(-10, 5 + off, 10, 5 - off), Arc(5, 0, 0, 5, q),
         {{-10, 5 + off, 0, 5, 0}, {0, 5, 10, 5 - off, 0}, {5, 0, 0, 5, q}}},
        {"line ending a hair beside a line", Line(0, 0, 10, 0), Line(5, 10, 5, off),
         {{0, 0, 5, off, 0}, {5, off, 10, 0, 0}, {5, 10, 5, off, 0}}},
        // The second circle, radius 5 around (8,4), also meets the first
        // at (3,4), but off the second arc: one point, second arc first.
        {"arc ending on an arc", Arc(0, -5, 0, 5, 1.0), Arc(5, 0, 13, 4, wide),
         {{5, 0, 13, 4, wide}, {0, -5, 5, 0, q}, {5, 0, 0, 5, q}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TChain pieces;
        bool aSplit = false;
        bool bSplit = false;
        ASSERT_TRUE(SplitElements(c.A, c.B, pieces, aSplit, bSplit));
        ExpectElements(pieces, c.Pieces, 1e-9);
    }
}

// A segment that leaves an arc's end into the arc's side at a small angle
// runs so near the circle that it touches it at the foot point, half the
// chord on: both are cut there, however near the tangent the segment runs
// while that point is more than SystemTol away, whichever way either goes.
TEST_F(ElementSplitTest, SegmentLeavingAnArcEndAtASmallAngleIsCutWhereItTouchesTheArc)
{
    // Radius 10 around the origin, from (10,0) up to (0,10); its tangent at
    // (10,0) is vertical. The segment turns inwards by angle from it.
    const double quarter = std::tan(PI / 8.0);
    for (const double foot : {1.2e-4, 2e-3}) {
        const double angle = std::asin(foot / 10.0);
        const TVect far{10.0 - std::sin(angle), std::cos(angle)};
        for (const bool segmentReversed : {false, true}) {
            for (const bool arcReversed : {false, true}) {
                SCOPED_TRACE(testing::Message() << foot << ' ' << segmentReversed << ' ' << arcReversed);
                const TChainElement segment = segmentReversed ? MakeElement(far, {10, 0}) : MakeElement({10, 0}, far);
                const TChainElement arc = arcReversed ? Arc(0, 10, 10, 0, -quarter) : Arc(10, 0, 0, 10, quarter);
                TChain pieces;
                bool segmentSplit = false;
                bool arcSplit = false;
                ASSERT_TRUE(SplitElements(segment, arc, pieces, segmentSplit, arcSplit));
                EXPECT_TRUE(segmentSplit && arcSplit);
                ASSERT_EQ(pieces.size(), 4u);
                const TVect meeting = EndPoint(pieces[0]);
                EXPECT_NEAR(std::hypot(meeting.X - 10.0, meeting.Y), foot, 1e-9);
                EXPECT_NEAR(std::hypot(meeting.X, meeting.Y), 10.0, 1e-6);
            }
        }
    }
}

TEST_F(ElementSplitTest, ArcPiecesAreKeptByTheirLength)
{
    // Radius 5000 around (0,-5000), from (-100,y) to (100,y) through the top
    // (0,0); the line x = 99.7 leaves a piece 0.3 long that sweeps only 6e-5.
    const double r = 5000.0;
    const double y = std::sqrt(r * r - 100.0 * 100.0) - r;
    const TChainElement arc = Arc(100, y, -100, y, std::tan(std::asin(100.0 / r) / 2.0));
    TChain pieces;
    bool aSplit = false;
    bool bSplit = false;
    ASSERT_TRUE(SplitElements(Line(99.7, -10, 99.7, 10), arc, pieces, aSplit, bSplit));
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_NEAR(ElementLength(pieces[2]), 0.3, 1e-3);
    EXPECT_NEAR(ElementLength(pieces[2]) + ElementLength(pieces[3]), ElementLength(arc), 1e-9);
    // Pieces shorter than SystemTol are still dropped, on any radius.
    SystemTol = 0.5;
    ASSERT_TRUE(SplitElements(Line(99.7, -10, 99.7, 10), arc, pieces, aSplit, bSplit));
    EXPECT_EQ(pieces.size(), 3u);
}

TEST_F(ElementSplitTest, CrossingArcsGiveThreePiecesEachFirstArcFirst)
{
    // Right half of the circle around the origin and left half of the one around (6,0).
    const TChainElement first = Arc(0, -5, 0, 5, 1.0);
    const TChainElement second = Arc(6, 5, 6, -5, 1.0);
    TChain pieces;
    bool secondSplit = false;
    bool firstSplit = false;
    ASSERT_TRUE(SplitArcArc(first, second, pieces, secondSplit, firstSplit));
    const double outer = Degrees(std::atan2(3, 4));
    const double middle = 180 - 2 * outer;
    ExpectElements(pieces, {{0, -5, 3, -4, BulgeOfSweepDegrees(outer)},
                            {3, -4, 3, 4, BulgeOfSweepDegrees(middle)},
                            {3, 4, 0, 5, BulgeOfSweepDegrees(outer)},
                            {6, 5, 3, 4, BulgeOfSweepDegrees(outer)},
                            {3, 4, 3, -4, BulgeOfSweepDegrees(middle)},
                            {3, -4, 6, -5, BulgeOfSweepDegrees(outer)}});
    EXPECT_TRUE(firstSplit);
    EXPECT_TRUE(secondSplit);
}

TEST_F(ElementSplitTest, TouchingArcsGiveTwoPiecesEachSecondArcFirst)
{
    const TChainElement first = Arc(0, -5, 0, 5, 1.0);
    const double q = BulgeOfSweepDegrees(90);
    struct TCase {
        TChainElement Second;
        std::vector<TExpected> Pieces;
    };
    const TCase cases[] = {
        // Touching from outside, at (5,0).
        {Arc(10, 5, 10, -5, 1.0), {{10, 5, 5, 0, q}, {5, 0, 10, -5, q}, {0, -5, 5, 0, q}, {5, 0, 0, 5, q}}},
        // Touching from inside: radius 3 around (2,0).
        {Arc(2, -3, 2, 3, 1.0), {{2, -3, 5, 0, q}, {5, 0, 2, 3, q}, {0, -5, 5, 0, q}, {5, 0, 0, 5, q}}},
    };
    for (const TCase& c : cases) {
        TChain pieces;
        bool secondSplit = false;
        bool firstSplit = false;
        ASSERT_TRUE(SplitArcArc(first, c.Second, pieces, secondSplit, firstSplit));
        ExpectElements(pieces, c.Pieces);
        EXPECT_TRUE(firstSplit);
        EXPECT_TRUE(secondSplit);
    }
}

TEST_F(ElementSplitTest, CoincidentArcsAreNotCutAndNearlyConcentricOnesOnlyWhereTheyCross)
{
    TChain pieces;
    bool secondSplit = false;
    bool firstSplit = false;
    // Two overlapping arcs of one circle.
    EXPECT_FALSE(SplitArcArc(Arc(5, 0, -5, 0, 1.0), Arc(0, 5, 0, -5, 1.0), pieces, secondSplit, firstSplit));
    EXPECT_TRUE(pieces.empty());

    // Nearly the same circle: they cross where the circles really cross, near the top.
    const double r2 = 5.000001;
    const TChainElement first = Arc(5, 0, -5, 0, 1.0);
    const TChainElement second = Arc(0.004 + r2, 0, 0.004 - r2, 0, 1.0);
    ASSERT_TRUE(SplitArcArc(first, second, pieces, secondSplit, firstSplit));
    ASSERT_TRUE(AllFinite(pieces));
    ASSERT_EQ(pieces.size(), 4u);
    const double t = (0.004 + (25.0 - r2 * r2) / 0.004) / 2.0;
    EXPECT_NEAR(pieces[0].X2, t, 1e-9);
    EXPECT_NEAR(pieces[0].Y2, std::sqrt(25.0 - t * t), 1e-9);
    for (const TChainElement& e : pieces) {
        EXPECT_LT(std::hypot(e.X1, e.Y1), 5.01);
        EXPECT_LT(std::hypot(e.X2, e.Y2), 5.01);
    }
}

TEST_F(ElementSplitTest, SegmentCrossesElementsChecksLinesAndArcs)
{
    const TChain square = Square10();
    EXPECT_TRUE(SegmentCrossesElements(Line(5, 5, 15, 5), square));
    EXPECT_FALSE(SegmentCrossesElements(Line(2, 2, 8, 8), square));
    EXPECT_FALSE(SegmentCrossesElements(Line(5, 5, 15, 5), TChain{square[1]}));
    const TChain arcs{Arc(5, 0, 0, -5, BulgeOfSweepDegrees(270)), Line(0, -5, 5, 0)};
    EXPECT_TRUE(SegmentCrossesElements(Line(-3, -10, -3, 10), arcs));
    EXPECT_FALSE(SegmentCrossesElements(Line(-1, -1, 1, 1), arcs));
}

// The prepared test skips elements by their boxes; segments that end on an
// element, touch an arc or pass a hair beside an end must get the same answer
// as trying every element.
TEST_F(ElementSplitTest, PreparedSegmentCrossingAnswersAsTryingEveryElement)
{
    TChain outline;
    const int sides = 40;
    TVect previous{20.0, 0.0};
    for (int k = 1; k <= sides; ++k) {
        const double angle = 2.0 * PI * k / sides;
        const double radius = k % 3 == 0 ? 14.0 : 20.0;
        const TVect next = k == sides ? TVect{20.0, 0.0} : TVect{radius * std::cos(angle), radius * std::sin(angle)};
        const double bulge = k % 2 == 0 ? 0.0 : (k % 4 == 1 ? 0.6 : -1.4);
        outline.push_back(MakeElement(previous, next, bulge));
        previous = next;
    }
    const TSegmentCrossing prepared(outline);
    std::uint32_t seed = 12345;
    const auto uniform = [&seed](double low, double high) {
        seed = seed * 1664525u + 1013904223u;
        return low + (high - low) * static_cast<double>(seed >> 8) / static_cast<double>(1u << 24);
    };
    int crossing = 0;
    int apart = 0;
    for (int n = 0; n < 4000; ++n) {
        TVect a{uniform(-30, 30), uniform(-30, 30)};
        TVect b{uniform(-30, 30), uniform(-30, 30)};
        const TChainElement& e = outline[static_cast<std::size_t>(n) % outline.size()];
        // Ends on elements' ends, a hair beside them, and short segments.
        if (n % 4 == 1)
            a = StartPoint(e);
        else if (n % 4 == 2)
            a = {e.X2 + uniform(-2e-4, 2e-4), e.Y2 + uniform(-2e-4, 2e-4)};
        if (n % 8 == 3)
            b = {a.X + uniform(-1, 1), a.Y + uniform(-1, 1)};
        const TChainElement segment = MakeElement(a, b);
        const bool expected = SegmentCrossesElements(segment, outline);
        ASSERT_EQ(prepared.Crosses(segment), expected) << a.X << ' ' << a.Y << ' ' << b.X << ' ' << b.Y;
        ++(expected ? crossing : apart);
    }
    EXPECT_GT(crossing, 1000);
    EXPECT_GT(apart, 1000);
    EXPECT_FALSE(TSegmentCrossing(TChain{outline.front()}).Crosses(MakeElement({0, 0}, {40, 40})));
}
