#include <algorithm>
#include <cstring>
#include <numbers>
#include <random>

#include <gtest/gtest.h>

#include "support/CamToleranceTest.h"
#include "support/ElementExpect.h"
#include "support/OffsetReference.h"
#include "support/RandomStar.h"
#include "cad/base/Settings.h"
#include "cad/geometry/VectorHelpers.h"
#include "cam/toolpath/ChainOffset.h"
#include "cam/toolpath/CoincidentPieces.h"
#include "cam/toolpath/ElementDistance.h"
#include "cam/toolpath/ElementSplit.h"
#include "cam/toolpath/SplitAtIntersections.h"

namespace {

constexpr double PI = std::numbers::pi;

class SplitAtIntersectionsTest : public CamToleranceTest {
protected:
    void SetUp() override
    {
        CamToleranceTest::SetUp();
        LastKey = 0;
    }
    void TearDown() override
    {
        CamToleranceTest::TearDown();
        LastKey = 0;
    }
};

// Records what the sweep reports and stops it after a number of questions.
class TRecordingSink : public TProgressSink {
public:
    explicit TRecordingSink(int abortAfter = -1) : AbortAfter(abortAfter) {}
    void SetProgress(int percent) override { Progress.push_back(percent); }
    void PumpMessages() override { ++Pumps; }
    bool Aborted() override { return AbortAfter >= 0 && ++Questions > AbortAfter; }

    int AbortAfter;
    int Questions = 0;
    int Pumps = 0;
    std::vector<int> Progress;
};

// Ten horizontal and ten vertical segments, each crossing all of the other kind.
TChain Grid()
{
    TChain grid;
    for (int k = 1; k <= 10; ++k) {
        grid.push_back(Line(0, k, 11, k));
        grid.push_back(Line(k, 0, k, 11));
    }
    return grid;
}

// The sweep as plainly as it can be written: every later element against
// the current one, starting over after each cut. The yardstick for the
// sweep that only tests pairs whose boxes meet.
void AllPairsSplit(TChain& list)
{
    std::erase_if(list, [](const TChainElement& e) { return ElementLength(e) < SystemTol; });
    TChain pieces;
    bool cut = false;
    for (std::size_t i = 0; i < list.size(); ++i) {
        for (std::size_t j = i + 1; j < list.size();) {
            bool iSplit = false;
            bool jSplit = false;
            if (!SplitElements(list[i], list[j], pieces, iSplit, jSplit)) {
                ++j;
                continue;
            }
            if (jSplit)
                list.erase(list.begin() + static_cast<std::ptrdiff_t>(j));
            if (iSplit)
                list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
            list.insert(list.begin() + static_cast<std::ptrdiff_t>(i), pieces.begin(), pieces.end());
            j = i + 1;
            cut = true;
        }
    }
    if (cut)
        DropCoincidentRepeats(list);
}

TChain RandomElements(unsigned seed, int count, bool snapped)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> position(0.0, 100.0);
    std::uniform_real_distribution<double> reach(-15.0, 15.0);
    std::uniform_real_distribution<double> bulge(-2.4, 2.4);
    std::uniform_int_distribution<int> grid(0, 20);
    std::uniform_int_distribution<int> pick(0, 6);
    const double snappedBulges[] = {0.0, 1.0, -1.0, std::tan(PI / 8), -std::tan(PI / 8), std::tan(3 * PI / 8),
                                    -std::tan(3 * PI / 8)};
    TChain elements;
    while (static_cast<int>(elements.size()) < count) {
        TChainElement e;
        if (snapped) {
            e = MakeElement({double(grid(random)), double(grid(random))}, {double(grid(random)), double(grid(random))},
                            snappedBulges[pick(random)]);
        } else {
            const TVect start{position(random), position(random)};
            const double b = pick(random) < 3 ? 0.0 : bulge(random);
            e = MakeElement(start, {start.X + reach(random), start.Y + reach(random)}, b);
        }
        if (!EqualPoints(StartPoint(e), EndPoint(e)))
            elements.push_back(e);
    }
    return elements;
}

void ExpectSameSplit(TChain input)
{
    TChain reference = input;
    AllPairsSplit(reference);
    ASSERT_TRUE(SplitAtIntersections(input));
    ASSERT_EQ(input.size(), reference.size());
    EXPECT_GT(input.size(), 0u);
    EXPECT_EQ(std::memcmp(input.data(), reference.data(), input.size() * sizeof(TChainElement)), 0);
}

} // namespace

TEST_F(SplitAtIntersectionsTest, CrossingPairBecomesFourPiecesInPlace)
{
    TChain list{Line(0, 0, 10, 10), Line(0, 10, 10, 0)};
    ASSERT_TRUE(SplitAtIntersections(list));
    ExpectElements(list, {{0, 0, 5, 5, 0}, {5, 5, 10, 10, 0}, {0, 10, 5, 5, 0}, {5, 5, 10, 0, 0}});
}

TEST_F(SplitAtIntersectionsTest, ElementsShorterThanSystemTolAreDroppedFirst)
{
    TChain list{Line(0, 0, 0.00005, 0), Line(0.00005, 0, 0.00009, 0), Line(1, 1, 2, 2), Arc(3, 0, 3.00001, 0, 1.0)};
    ASSERT_TRUE(SplitAtIntersections(list));
    ExpectElements(list, {{1, 1, 2, 2, 0}});
}

TEST_F(SplitAtIntersectionsTest, SquareOffsetInwardsIsCutAtItsCornersAndLosesItsStubs)
{
    TChain offset;
    const TChain square = Square10();
    OffsetChain(square, offset, 1.0);
    ASSERT_TRUE(SplitAtIntersections(offset));
    ExpectElements(offset, {{0, 1, 1, 1, 0},
                            {1, 1, 9, 1, 0},
                            {1, 10, 1, 9, 0},
                            {1, 9, 1, 1, 0},
                            {10, 9, 9, 9, 0},
                            {9, 9, 1, 9, 0},
                            {9, 1, 9, 9, 0},
                            {9, 9, 9, 10, 0},
                            {1, 9, 0, 9, 0},
                            {1, 1, 1, 0, 0},
                            {9, 1, 10, 1, 0},
                            {9, 0, 9, 1, 0}});
    RemoveGougingElements(offset, square, 1.0);
    ExpectElements(offset, {{1, 1, 9, 1, 0}, {1, 9, 1, 1, 0}, {9, 9, 1, 9, 0}, {9, 1, 9, 9, 0}});
}

// Where a fillet of radius below d turns the outline by a degree, its
// offset runs back between the offsets of the two sides, all three within
// 1e-5 of each other: the stretch is cut where they end on each other and
// where they cross, not halved down to SystemTol, and each piece of it runs
// once each way.
TEST_F(SplitAtIntersectionsTest, OffsetsThatNearlyCoincideLeaveEachStretchOnceEachWay)
{
    const TChain outline = ClosedOutline({{0, 0, 0},
                                          {49.996259283113432, 0, 0.0043495885072580088},
                                          {50.003740150745394, 6.5078622969859688e-05, 0},
                                          {100, 0.87, 0},
                                          {100, 50, 0},
                                          {0, 50, 0}});
    const auto middle = [](const TChainElement& e) {
        if (IsStraight(e))
            return TVect{(e.X1 + e.X2) / 2, (e.Y1 + e.Y2) / 2};
        const TArcSpan span = ArcSpanOf(e);
        const double angle = span.StartAngle + span.Turn * span.Sweep / 2;
        return TVect{span.Centre.X + span.Radius * std::cos(angle), span.Centre.Y + span.Radius * std::sin(angle)};
    };
    const auto near = [](TVect a, TVect b) { return PointDistance(a, b) <= 1e-4; };
    for (const double d : {0.44, 0.5, 1.0}) {
        SCOPED_TRACE(d);
        TChain pieces;
        OffsetChain(outline, pieces, d);
        ASSERT_TRUE(SplitAtIntersections(pieces));
        const TVect fillet{49.993, d};
        int atFillet = 0;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const TChainElement& a = pieces[i];
            atFillet += PointDistance(StartPoint(a), fillet) < 0.02 && PointDistance(EndPoint(a), fillet) < 0.02;
            for (std::size_t j = i + 1; j < pieces.size(); ++j) {
                const TChainElement& b = pieces[j];
                EXPECT_FALSE(near(StartPoint(a), StartPoint(b)) && near(EndPoint(a), EndPoint(b)) &&
                             near(middle(a), middle(b)))
                    << "pieces " << i << " and " << j;
            }
        }
        // Two pieces each way at most: the offset of each side and the
        // fillet's each cut once where the sides' offsets cross.
        EXPECT_GE(atFillet, 2);
        EXPECT_LE(atFillet, 4);
    }
}

TEST_F(SplitAtIntersectionsTest, SquareOffsetOutwardsHasNothingToCut)
{
    TChain offset;
    OffsetChain(Square10(), offset, -1.0);
    const TChain before = offset;
    ASSERT_TRUE(SplitAtIntersections(offset));
    ASSERT_EQ(offset.size(), 8u);
    EXPECT_EQ(std::memcmp(offset.data(), before.data(), offset.size() * sizeof(TChainElement)), 0);
}

TEST_F(SplitAtIntersectionsTest, ReportsProgressInTheFirstHalfAndPumpsMessages)
{
    TChain grid = Grid();
    TRecordingSink sink;
    ASSERT_TRUE(SplitAtIntersections(grid, sink));
    EXPECT_EQ(grid.size(), 220u);
    EXPECT_GT(sink.Pumps, 220);
    ASSERT_FALSE(sink.Progress.empty());
    for (const int percent : sink.Progress) {
        EXPECT_GE(percent, 0);
        EXPECT_LE(percent, 50);
    }
    EXPECT_GE(sink.Progress.back(), 45);
}

TEST_F(SplitAtIntersectionsTest, ProgressStepsByATenthAndRoundsHalvesToEven)
{
    struct TCase {
        int Elements;
        std::vector<int> Progress;
    };
    // 9 elements: a step of 2 (a tenth is below 1), i * 50 / 8 at i = 2, 4, 6, 8
    // is 12.5, 25, 37.5, 50. 25 elements: a step of 2, i * 50 / 24.
    const TCase cases[] = {
        {9, {12, 25, 38, 50}},
        {25, {4, 8, 12, 17, 21, 25, 29, 33, 38, 42, 46, 50}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Elements);
        TChain apart;
        for (int k = 0; k < c.Elements; ++k)
            apart.push_back(Line(0, 2 * k, 1, 2 * k));
        TRecordingSink sink;
        ASSERT_TRUE(SplitAtIntersections(apart, sink));
        EXPECT_EQ(sink.Progress, c.Progress);
    }
}

TEST_F(SplitAtIntersectionsTest, AbortThroughTheSinkStopsAndLeavesThePartlySplitList)
{
    TChain untouched = Grid();
    TRecordingSink atOnce(0);
    EXPECT_FALSE(SplitAtIntersections(untouched, atOnce));
    EXPECT_EQ(untouched.size(), 20u);

    TChain partly = Grid();
    TRecordingSink later(40);
    EXPECT_FALSE(SplitAtIntersections(partly, later));
    EXPECT_EQ(later.Questions, 41);
    EXPECT_GT(partly.size(), 20u);
    EXPECT_LT(partly.size(), 220u);
    // Nothing was lost: the pieces still cover every segment's length.
    double length = 0.0;
    for (const TChainElement& e : partly)
        length += ElementLength(e);
    EXPECT_NEAR(length, 20 * 11.0, 1e-9);
}

TEST_F(SplitAtIntersectionsTest, DefaultSinkStopsOnEscInLastKey)
{
    TChain grid = Grid();
    LastKey = ESCAPE_KEY;
    EXPECT_FALSE(SplitAtIntersections(grid));
    EXPECT_EQ(grid.size(), 20u);
    LastKey = 'A';
    EXPECT_TRUE(SplitAtIntersections(grid));
    EXPECT_EQ(grid.size(), 220u);
}

TEST_F(SplitAtIntersectionsTest, AShortCrossingElementDoesNotKeepTheSweepBusy)
{
    // Its halves are too short to keep, so it can never be cut; the sweep
    // must not meet it again and again at the crossing it already made.
    const double half = 1.0 / 16384.0;
    TChain list{Line(0, 0, 10, 0), Line(5, -half, 5, half)};
    ASSERT_TRUE(SplitAtIntersections(list));
    ExpectElements(list, {{0, 0, 5, 0, 0}, {5, 0, 10, 0, 0}, {5, -half, 5, half, 0}});
}

TEST_F(SplitAtIntersectionsTest, DegenerateInputSettlesWithoutNaN)
{
    TChain list{Line(0, 0, 10, 0),  Line(0, 0, 10, 0),      Line(5, 0, 15, 0),       Arc(5, 0, -5, 0, 1.0),
                Arc(5, 0, -5, 0, 1.0), Arc(0, 5, 0, -5, 1.0), Arc(5.00002, 0, -5, 0, 1.0), Line(3, 3, 3, 3),
                Line(-5, 5, 5, 5),  Line(0, -1, 0, 6),      Arc(2, 2, 2, 2, 1.0)};
    ASSERT_TRUE(SplitAtIntersections(list));
    EXPECT_TRUE(AllFinite(list));
    for (const TChainElement& e : list)
        EXPECT_GE(ElementLength(e), SystemTol);
}

TEST_F(SplitAtIntersectionsTest, SameResultAndOrderAsTestingAllPairs)
{
    for (const unsigned seed : {1u, 2u, 3u, 4u, 5u}) {
        SCOPED_TRACE(seed);
        ExpectSameSplit(RandomElements(seed, 200, false));
        ExpectSameSplit(RandomElements(seed, 40, true));
        for (const double d : {-3.0, 3.0, 8.0}) {
            TChain offset;
            OffsetChain(RandomStar(seed, 60), offset, d);
            ExpectSameSplit(offset);
        }
    }
}

TEST_F(SplitAtIntersectionsTest, SameResultAsTestingAllPairsWhereFewElementsCut)
{
    // Rings offset outwards, as the islands of a pocket are: each cuts
    // nothing of its own, and a few overlap their neighbours, so most
    // elements pass the sweep untouched between the cuts; alone, a ring is
    // returned as it came.
    for (const unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        std::uniform_real_distribution<double> centre(0.0, 40.0);
        std::uniform_real_distribution<double> radius(4.0, 12.0);
        TChain rings;
        for (int ring = 0; ring < 8; ++ring) {
            const TVect c{centre(random), centre(random)};
            const double r = radius(random);
            const int sides = 12 + 7 * ring;
            TPointList corners;
            for (int k = 0; k < sides; ++k)
                corners.push_back({c.X + r * std::cos(2 * PI * k / sides), c.Y + r * std::sin(2 * PI * k / sides)});
            TChain polygon;
            for (int k = 0; k < sides; ++k)
                polygon.push_back(MakeElement(corners[k], corners[(k + 1) % sides]));
            TChain offset;
            OffsetChain(polygon, offset, -1.5);
            if (ring == 0) {
                TChain alone = offset;
                ASSERT_TRUE(SplitAtIntersections(alone));
                EXPECT_EQ(alone.size(), offset.size());
                EXPECT_EQ(std::memcmp(alone.data(), offset.data(), offset.size() * sizeof(TChainElement)), 0);
            }
            rings.insert(rings.end(), offset.begin(), offset.end());
        }
        ExpectSameSplit(rings);
    }
}

TEST_F(SplitAtIntersectionsTest, SameResultAsTestingAllPairsForListsOfArcsAlone)
{
    // Pairs of circles of arcs, far from each other, some offset: the arcs of
    // one circle never meet. The two circles of a pair barely overlap or
    // barely miss, from outside or from inside, where deciding that two
    // circles are apart is closest. Then loose arcs, some of them on one
    // circle.
    const auto ring = [](TVect c, double r, int arcs) {
        const double bulge = std::tan(PI / arcs / 2);
        TChain ring;
        for (int k = 0; k < arcs; ++k) {
            const double a0 = 2 * PI * k / arcs;
            const double a1 = 2 * PI * (k + 1) / arcs;
            ring.push_back(MakeElement({c.X + r * std::cos(a0), c.Y + r * std::sin(a0)},
                                       {c.X + r * std::cos(a1), c.Y + r * std::sin(a1)}, bulge));
        }
        return ring;
    };
    for (const unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        std::uniform_real_distribution<double> radius(3.0, 20.0);
        std::uniform_real_distribution<double> turn(0.0, 2 * PI);
        std::uniform_real_distribution<double> closeness(0.97, 1.03);
        std::uniform_real_distribution<double> offset(-2.0, 2.0);
        TChain circles;
        for (int pair = 0; pair < 4; ++pair) {
            const TVect c{100.0 * pair, 0.0};
            const double r = radius(random);
            const double s = radius(random);
            const double apart = (pair % 2 == 0 ? r + s : std::abs(r - s)) * closeness(random);
            const double a = turn(random);
            TChain first = ring(c, r, 7 + 5 * pair);
            const TChain second = ring({c.X + apart * std::cos(a), c.Y + apart * std::sin(a)}, s, 30 - 5 * pair);
            if (pair == 3) {
                TChain offsetRing;
                OffsetChain(first, offsetRing, offset(random));
                first = offsetRing;
            }
            circles.insert(circles.end(), first.begin(), first.end());
            circles.insert(circles.end(), second.begin(), second.end());
        }
        ExpectSameSplit(circles);
        TChain loose = RandomElements(seed, 60, seed % 2 == 0);
        for (TChainElement& e : loose) {
            if (IsStraight(e))
                e.Bulge = 0.5;
        }
        ExpectSameSplit(loose);
    }
}

TEST_F(SplitAtIntersectionsTest, AnElementThatSharesAnEndWithAnotherStillCutsItWhereTheyCrossAgain)
{
    // Only two segments that share an end never cross; a segment leaving an
    // arc's end crosses the arc again at (0, 1), and so do two arcs from one
    // point.
    const TChainElement upper = Arc(1, 0, -1, 0, 1.0);
    for (const TChainElement& other : {Line(1, 0, -0.5, 1.5), Arc(1, 0, -1, 2, -0.5)}) {
        for (const bool arcFirst : {true, false}) {
            SCOPED_TRACE(arcFirst);
            TChain list = arcFirst ? TChain{upper, other} : TChain{other, upper};
            TChain reference = list;
            AllPairsSplit(reference);
            ASSERT_GT(reference.size(), 2u);
            ExpectSameSplit(list);
        }
    }
}
