// Loops, contour passes and pockets on real outlines: the indexed walk
// against the plain one, the pass schedule and leads, and a pocket with an
// island holding a second island, checked for distance and kept as a picture.

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <gtest/gtest.h>

#include "support/CamToleranceTest.h"
#include "support/ElementExpect.h"
#include "support/RandomStar.h"
#include "cad/geometry/VectorHelpers.h"
#include "cam/toolpath/ChainOffset.h"
#include "cam/chains/Chains.h"
#include "cam/toolpath/ElementDistance.h"
#include "cam/toolpath/LoopWalk.h"
#include "cam/toolpath/Loops.h"
#include "cam/toolpath/SplitAtIntersections.h"
#include "cam/toolpath/Toolpaths.h"
#include "support/ImageTestSupport.h"

namespace {

class ToolpathsTest : public CamToleranceTest {};

// The walk as written down: every continuation found by scanning the list.
class TScanPieces {
public:
    explicit TScanPieces(TChain pieces) : List(std::move(pieces)), Count(List.size()) {}
    std::size_t Size() const { return Count; }
    bool TakeFirst(TChainElement& e)
    {
        if (List.empty())
            return false;
        e = List.front();
        List.erase(List.begin());
        return true;
    }
    bool TakeNext(const TChainElement& current, TChainElement& next, double d)
    {
        return NextElementAtPoint(current, List, true, next, d);
    }

private:
    TChain List;
    std::size_t Count;
};

class TAbortAfter : public TProgressSink {
public:
    explicit TAbortAfter(int pumps) : Left(pumps) {}
    void SetProgress(int /*percent*/) override {}
    void PumpMessages() override { --Left; }
    bool Aborted() override { return Left < 0; }

private:
    int Left;
};

TChain Rectangle(double x0, double y0, double x1, double y1)
{
    return {Line(x0, y0, x1, y0), Line(x1, y0, x1, y1), Line(x1, y1, x0, y1), Line(x0, y1, x0, y0)};
}

TChain Circle(double cx, double cy, double r)
{
    return {Arc(cx + r, cy, cx - r, cy, 1), Arc(cx - r, cy, cx + r, cy, 1)};
}

double DistanceToChain(TVect p, const TChain& chain)
{
    double nearest = 1e300;
    for (const TChainElement& e : chain)
        nearest = std::min(nearest, DistanceToElement(p, e));
    return nearest;
}

void ExpectSameLoops(const std::vector<TChain>& a, const std::vector<TChain>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t k = 0; k < a.size(); ++k) {
        ASSERT_EQ(a[k].size(), b[k].size()) << "loop " << k;
        for (std::size_t m = 0; m < a[k].size(); ++m)
            ASSERT_TRUE(EqualElements(a[k][m], b[k][m])) << "loop " << k << " element " << m;
    }
}

// The points along an element, arcs by their tessellation.
TPointList Samples(const TChainElement& e)
{
    TPointList points;
    if (IsStraight(e)) {
        for (int k = 0; k <= 10; ++k)
            points.push_back({e.X1 + (e.X2 - e.X1) * k / 10, e.Y1 + (e.Y2 - e.Y1) * k / 10});
    } else {
        TessellateBulgeArc(e, points);
    }
    return points;
}

void DrawChain(QPainter& painter, const TChain& chain, double scale, double height)
{
    QPainterPath path;
    bool first = true;
    for (const TChainElement& e : chain) {
        const TPointList points = Samples(e);
        for (const TVect p : points) {
            const QPointF q(p.X * scale, height - p.Y * scale);
            if (first)
                path.moveTo(q);
            else
                path.lineTo(q);
            first = false;
        }
    }
    painter.drawPath(path);
}

} // namespace

TEST_F(ToolpathsTest, IndexedWalkFindsTheLoopsOfThePlainWalk)
{
    std::vector<TChain> inputs;
    // The side each input was offset to, 0 for the grid inputs.
    std::vector<double> sides;
    // Split offsets of random stars, the walk's everyday input.
    for (unsigned seed = 1; seed <= 4; ++seed) {
        const TChain star = RandomStar(seed, 60);
        for (const double d : {1.5, -1.5, 4.0}) {
            TChain pieces;
            OffsetChain(star, pieces, d);
            ASSERT_TRUE(SplitAtIntersections(pieces));
            RemoveGougingElements(pieces, star, std::abs(d));
            inputs.push_back(pieces);
            sides.push_back(d);
        }
    }
    // Pieces between the points of a small grid: many branch points,
    // duplicates and pieces running straight back.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(0, 4);
    std::uniform_int_distribution<int> kind(0, 3);
    for (int n = 0; n < 6; ++n) {
        TChain pieces;
        for (int k = 0; k < 150; ++k) {
            const TVect a{double(coordinate(random)), double(coordinate(random))};
            const TVect b{double(coordinate(random)), double(coordinate(random))};
            if (EqualPoints(a, b))
                continue;
            const int bulge = kind(random);
            pieces.push_back(MakeElement(a, b, bulge == 0 ? 0.4 : bulge == 1 ? -0.4 : 0.0));
        }
        inputs.push_back(pieces);
        sides.push_back(0.0);
    }
    // The same with every end moved by under half the equality tolerance:
    // equal ends then lie on both sides of whole coordinates, where the
    // index's cells meet.
    std::uniform_real_distribution<double> jitter(-0.000024, 0.000024);
    const std::size_t grids = inputs.size();
    for (std::size_t n = grids - 3; n < grids; ++n) {
        TChain pieces = inputs[n];
        for (TChainElement& e : pieces) {
            e.X1 += jitter(random);
            e.Y1 += jitter(random);
            e.X2 += jitter(random);
            e.Y2 += jitter(random);
        }
        inputs.push_back(pieces);
        sides.push_back(0.0);
    }
    // Equality within the tolerance is not transitive: the last end equals
    // the starts of two pieces of the walk that are not equal to each other,
    // and the loop closes onto the first of them.
    const double tolerance = 0.00005;
    inputs.push_back({Line(0, 0, 1, 0), Line(1, 0, 1, 1), Line(1, 1, 2.2 * tolerance, 0),
                      Line(1.5 * tolerance, 0, 0, 1), Line(0, 1, 0.75 * tolerance, 0)});
    sides.push_back(0.0);
    const TChain noSource;
    for (std::size_t k = 0; k < inputs.size(); ++k) {
        for (const TLoopMode mode : {TLoopMode::Closed, TLoopMode::Open}) {
            for (const double d : {1.0, -1.0}) {
                SCOPED_TRACE("input " + std::to_string(k) + (mode == TLoopMode::Open ? " open" : " closed") +
                             " d " + std::to_string(d));
                TChain indexed = inputs[k];
                std::vector<TChain> fast;
                ASSERT_TRUE(mode == TLoopMode::Closed ? ExtractLoops(indexed, noSource, fast, true, d)
                                                      : ExtractLoopsOpen(indexed, noSource, true, fast, d));
                TScanPieces scan(inputs[k]);
                std::vector<TChain> plain;
                ASSERT_TRUE(WalkLoops(scan, noSource, plain, true, d, mode, DefaultProgressSink()));
                ExpectSameLoops(fast, plain);
                // Turning to the side the pieces were offset to, the walk finds loops.
                if (sides[k] * d > 0.0 && mode == TLoopMode::Closed) {
                    EXPECT_FALSE(fast.empty());
                }
            }
        }
    }
}

TEST_F(ToolpathsTest, ContourPassesLeadsAndOpenChains)
{
    TContourJob job;
    job.Side = 1;
    job.StockXY = 2.0;
    job.RoughCuts = 2;
    job.FinishCuts = 1;
    job.RoughSize = 1.0;
    job.FinishSize = 0.5;
    EXPECT_EQ(ContourPassOffsets(job), (std::vector<double>{3.5, 2.5, 2.0}));

    // "Right" cuts inside the counter-clockwise square, one loop per pass at its offset.
    const TChain square = Rectangle(0, 0, 20, 20);
    std::vector<TChain> loops;
    ASSERT_EQ(ContourToolpath(square, job, loops), TCamFailure::None);
    ASSERT_EQ(loops.size(), 3u);
    const double offsets[] = {3.5, 2.5, 2.0};
    for (std::size_t k = 0; k < loops.size(); ++k) {
        EXPECT_TRUE(IsChainClosed(loops[k]));
        for (const TChainElement& e : loops[k])
            EXPECT_NEAR(DistanceToChain(StartPoint(e), square), offsets[k], 1e-9);
    }

    // "Left" with an arc lead-in and a line lead-out: the arc arrives along
    // the loop's first direction, the line leaves square to its last one.
    job.Side = -1;
    job.RoughCuts = 1;
    job.FinishCuts = 0;
    job.LeadIn = TLead::Arc;
    job.LeadOut = TLead::Line;
    loops.clear();
    ASSERT_EQ(ContourToolpath(square, job, loops), TCamFailure::None);
    ASSERT_EQ(loops.size(), 1u);
    const TChain& led = loops.front();
    ASSERT_EQ(led.size(), 4u + 4u + 2u);
    const TVect start = StartPoint(led[1]);
    EXPECT_TRUE(EqualPoints(EndPoint(led.front()), start));
    EXPECT_NEAR(std::abs(led.front().Bulge), std::tan(std::numbers::pi / 8), 1e-12);
    const TVect arrive = NormalizeVect(StartTangent(MakeElement(EndPoint(led.front()), StartPoint(led.front()),
                                                                -led.front().Bulge)));
    const TVect along = NormalizeVect(StartTangent(led[1]));
    EXPECT_NEAR(arrive.X, -along.X, 1e-9);
    EXPECT_NEAR(arrive.Y, -along.Y, 1e-9);
    // The lead-in starts outside the part, on the compensation side.
    EXPECT_GT(DistanceToChain(StartPoint(led.front()), square), 2.0);
    EXPECT_FALSE(PointInChain(square, StartPoint(led.front())));
    EXPECT_NEAR(ElementLength(led.back()), 5.0, 1e-9);
    const TVect leave = StartTangent(MakeElement(EndPoint(led[8]), StartPoint(led[8]), -led[8].Bulge));
    EXPECT_NEAR(DotProduct(SubVect(EndPoint(led.back()), StartPoint(led.back())), leave), 0.0, 1e-9);

    // An open chain gives an open path on the chosen side.
    const TChain corner{Line(0, 0, 10, 0), Line(10, 0, 10, 10)};
    job.LeadIn = TLead::Off;
    job.StockXY = 1.0;
    loops.clear();
    ASSERT_EQ(ContourToolpath(corner, job, loops), TCamFailure::None);
    ASSERT_EQ(loops.size(), 1u);
    EXPECT_FALSE(IsChainClosed(loops.front()));
    EXPECT_TRUE(EqualPoints(StartPoint(loops.front().front()), {0, -1}));
    EXPECT_TRUE(EqualPoints(EndPoint(loops.front().back()), {11, 10}));

    // Without a side the chains themselves are the path.
    job.Side = 0;
    job.Reverse = true;
    loops.clear();
    ASSERT_EQ(ContourToolpath(square, job, loops), TCamFailure::None);
    ASSERT_EQ(loops.size(), 1u);
    EXPECT_TRUE(EqualPoints(StartPoint(loops.front().front()), {0, 0}));
    EXPECT_TRUE(EqualPoints(EndPoint(loops.front().front()), {0, 20}));
}

TEST_F(ToolpathsTest, PocketAroundAnIslandAndInsideTheIslandsOwnHole)
{
    // An outer square, a square island, and inside the island a round hole
    // (an island of the island), all picked counter-clockwise.
    const TChain outer = Rectangle(0, 0, 100, 100);
    const TChain island = Rectangle(30, 30, 70, 70);
    const TChain hole = Circle(50, 50, 10);
    const std::vector<TChain> chains{island, outer, hole};

    std::vector<TPocketGroup> groups = FindOuterChains(chains);
    FindIslands(chains, groups);
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_EQ(groups.front().size(), 3u);
    EXPECT_EQ(groups.front()[0].Chain, 1);
    EXPECT_EQ(groups.front()[1].Depth, 1);
    EXPECT_EQ(groups.front()[2].Depth, 2);

    TPocketJob job;
    job.OffsetRadius = 1.5f;
    job.StepOverPercent = 50.0;
    std::vector<TPocketToolpath> toolpaths;
    ASSERT_EQ(PocketToolpaths(chains, job, toolpaths), TCamFailure::None);
    ASSERT_EQ(toolpaths.size(), 1u);
    const std::vector<TChain>& paths = toolpaths.front().Paths;
    ASSERT_FALSE(paths.empty());

    // Every point of every ring and link keeps the tool radius from the
    // outline; none runs over the island, and the hole is cleared too.
    const TChain source = GroupElements(groups.front(), chains);
    bool inHole = false;
    std::size_t elements = 0;
    for (const TChain& path : paths) {
        for (std::size_t k = 0; k < path.size(); ++k) {
            if (k > 0) {
                ASSERT_TRUE(EqualPoints(EndPoint(path[k - 1]), StartPoint(path[k])));
            }
            for (const TVect p : Samples(path[k])) {
                ASSERT_GE(DistanceToChain(p, source), 1.5 - DISTANCE_SLACK) << p.X << " " << p.Y;
                ASSERT_FALSE(PointInChain(island, p) && !PointInChain(hole, p)) << p.X << " " << p.Y;
                inHole = inHole || PointInChain(hole, p);
            }
            ++elements;
        }
    }
    EXPECT_TRUE(inHole);
    // The rings around the island cannot be reached from those in the hole
    // without crossing the island: at least two paths.
    EXPECT_GE(paths.size(), 2u);

    // Each pass keeps exactly its own offset.
    std::vector<TChain> loops;
    for (const double d : {1.5, 6.0, 12.0}) {
        ASSERT_EQ(ComputePocketPass(groups.front(), chains, source, d, loops), TCamFailure::None);
        ASSERT_FALSE(loops.empty());
        for (const TChain& loop : loops) {
            for (const TChainElement& e : loop)
                EXPECT_GE(DistanceToChain(StartPoint(e), source), d - DISTANCE_SLACK);
        }
    }

    // The picture: outline black, paths blue.
    const double scale = 6.0;
    QImage image(620, 620, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.translate(10, -10);
        painter.setPen(QPen(Qt::black, 2));
        for (const TChain& chain : chains)
            DrawChain(painter, chain, scale, 620);
        painter.setPen(QPen(Qt::blue, 1));
        for (const TChain& path : paths)
            DrawChain(painter, path, scale, 620);
    }
    EXPECT_TRUE(imagetest::SaveTestImage(image, "cam/pocket-island-hole.png"));
    // Blue fills the band between the outer square and the island, and the
    // hole; the island's body between its edge and the hole stays white.
    const QRgb blue = qRgb(0, 0, 255);
    EXPECT_GT(imagetest::CountPixels(image, QRect(20, 20, 150, 150), blue), 1000);
    EXPECT_GT(imagetest::CountPixels(image, QRect(300, 300, 20, 20), blue), 20);
    EXPECT_EQ(imagetest::CountPixels(image, QRect(200, 200, 60, 60), blue), 0);
    EXPECT_GT(elements, 100u);
}

TEST_F(ToolpathsTest, LinksStopAtIslandsAndPocketsRefuseWhatWouldNotEnd)
{
    // Two rings either side of an island: the straight link would cross it.
    const TChain left = Rectangle(0, 0, 10, 10);
    const TChain right = Rectangle(30, 0, 40, 10);
    const TChain far = Rectangle(80, 0, 90, 10);
    const TChain island = Rectangle(15, -5, 25, 15);
    std::vector<TChain> rings{left, far, right};
    std::vector<TChain> paths = LinkChainsNearest(rings, island, {}, 1.0);
    EXPECT_TRUE(rings.empty());
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0].size(), 4u);
    // Right and far are joined by a link.
    ASSERT_EQ(paths[1].size(), 9u);
    ExpectElements({paths[1][4]}, {{30, 0, 80, 0, 0}});

    rings = {left, right};
    paths = LinkChainsNearest(rings, {}, {}, 1.0);
    ASSERT_EQ(paths.size(), 1u);
    ExpectElements({paths[0][4]}, {{0, 0, 30, 0, 0}});

    // A link that crosses nothing but passes an island nearer than the
    // tool's radius (less the slack) gouges it: a new path begins.
    const TChain beside = Rectangle(15, 0.5, 25, 9);
    rings = {left, right};
    EXPECT_EQ(LinkChainsNearest(rings, beside, {}, 0.5).size(), 1u);
    rings = {left, right};
    EXPECT_EQ(LinkChainsNearest(rings, beside, {}, 2.0).size(), 2u);

    // A step of 0, from the step-over or from the tool, is refused.
    TPocketJob job;
    job.OffsetRadius = 1.5f;
    job.StepOverPercent = 0.0;
    std::vector<TPocketToolpath> toolpaths;
    EXPECT_EQ(PocketToolpaths({left}, job, toolpaths), TCamFailure::StepOverZero);
    job.StepOverPercent = 50.0;
    job.OffsetRadius = 0.0f;
    EXPECT_EQ(PocketToolpaths({left}, job, toolpaths), TCamFailure::StepOverZero);
    EXPECT_TRUE(toolpaths.empty());

    // Esc in the middle of a walk stops it, and so the pocket and the contour.
    const TChain star = RandomStar(3, 200);
    TChain pieces;
    OffsetChain(star, pieces, 0.5);
    ASSERT_TRUE(SplitAtIntersections(pieces));
    TAbortAfter walking(5);
    std::vector<TChain> walked;
    EXPECT_FALSE(ExtractLoops(pieces, star, walked, true, 0.5, walking));
    job.OffsetRadius = 0.1f;
    TAbortAfter abort(30);
    EXPECT_EQ(PocketToolpaths({star}, job, toolpaths, abort), TCamFailure::Aborted);
    TContourJob contour;
    contour.Side = 1;
    contour.StockXY = 1.0;
    TAbortAfter soon(3);
    std::vector<TChain> loops;
    EXPECT_EQ(ContourToolpath(star, contour, loops, soon), TCamFailure::Aborted);

    // Finishing passes write the earlier finishing rings again.
    job.OffsetRadius = 1.0f;
    job.FinishCuts = 2;
    job.FinishSize = 0.5;
    toolpaths.clear();
    ASSERT_EQ(PocketToolpaths({Rectangle(0, 0, 20, 20)}, job, toolpaths), TCamFailure::None);
    ASSERT_EQ(toolpaths.front().FinishWrites.size(), 2u);
    EXPECT_EQ(toolpaths.front().FinishWrites[0].size(), 1u);
    EXPECT_EQ(toolpaths.front().FinishWrites[1].size(), 2u);
    EXPECT_NEAR(toolpaths.front().FinishWrites[1][1].front().Y1, 1.0, 1e-9);
    EXPECT_NEAR(toolpaths.front().Paths.back().back().Y2, 2.0, 1e-9);
}

TEST_F(ToolpathsTest, APassThatLosesItsLoopWhereTheToolHasRoomIsReported)
{
    // Pieces shorter than a large SystemTol are dropped by the split, and
    // the loop around the star's outside never closes.
    SystemTol = 0.1;
    const TChain star = RandomStar(1, 12);
    std::vector<TChain> loops;
    EXPECT_EQ(OffsetPass(star, -1.0, loops), TCamFailure::LostLoop);
    EXPECT_TRUE(loops.empty());
    TContourJob contour;
    contour.Side = -1;
    contour.OffsetRadius = 1.0f;
    EXPECT_EQ(ContourToolpath(star, contour, loops), TCamFailure::LostLoop);
    SystemTol = 0.0001;

    // No room for the tool is no loss: a tool wider than the square, and
    // one exactly as wide as a slot, whose path down the middle and back
    // encloses nothing.
    for (const double d : {6.0, 1.0}) {
        SCOPED_TRACE(d);
        loops.clear();
        EXPECT_EQ(OffsetPass(Rectangle(0, 0, 10, d == 1.0 ? 2 : 10), d, loops), TCamFailure::None);
        EXPECT_TRUE(loops.empty());
    }
    const TChain outline = Rectangle(0, 0, 10, 10);
    const TPreparedSource square(outline);
    EXPECT_TRUE(LeavesRoomForTool({MakeElement({1, 1}, {9, 1})}, square, 1.0));
    EXPECT_FALSE(LeavesRoomForTool({MakeElement({5, 1}, {5, 9})}, square, 5.0));
}
