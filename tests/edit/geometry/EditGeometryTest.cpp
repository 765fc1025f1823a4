#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <random>
#include <vector>

#include "edit/geometry/BreakGeometry.h"
#include "edit/geometry/ExtendGeometry.h"
#include "edit/geometry/FilletGeometry.h"
#include "edit/geometry/JoinGeometry.h"
#include "edit/geometry/TangentGeometry.h"

namespace {

constexpr double kPi = std::numbers::pi;

double Deg(double degrees) { return degrees * kPi / 180.0; }

void ExpectNear(TVect actual, TVect expected, const char* what)
{
    EXPECT_NEAR(actual.X, expected.X, 1e-6) << what;
    EXPECT_NEAR(actual.Y, expected.Y, 1e-6) << what;
}

// The total counter-clockwise sweep of the pieces, in degrees.
double SweepOf(const std::vector<TArcAngles>& pieces)
{
    double total = 0.0;
    for (const TArcAngles& piece : pieces) {
        double sweep = std::fmod(piece.End - piece.Start, 2.0 * kPi);
        total += sweep <= 0.0 ? sweep + 2.0 * kPi : sweep;
    }
    return total * 180.0 / kPi;
}

TVect OnCircle(TVect centre, double r, double degrees)
{
    return {centre.X + r * std::cos(Deg(degrees)), centre.Y + r * std::sin(Deg(degrees))};
}

} // namespace

// A right-angle corner filleted, an oversized radius, a trim of an X, parallel
// lines and a pick on the other line.
TEST(EditGeometry, LineLineFilletChoosesCentreTangentsAndEnds)
{
    const auto corner = LineLineFillet({0, 0}, {100, 0}, {10, -10}, {10, 100}, {80, 0}, {10, 80}, 5.0);
    ASSERT_TRUE(corner);
    ExpectNear(corner->Centre, {15, 5}, "centre");
    ExpectNear(corner->Tangent1, {15, 0}, "tangent 1");
    ExpectNear(corner->Tangent2, {10, 5}, "tangent 2");
    EXPECT_TRUE(corner->FirstEnd1);
    EXPECT_TRUE(corner->FirstEnd2);
    EXPECT_NEAR(corner->Angles.Start, Deg(180), 1e-9);
    EXPECT_NEAR(corner->Angles.End, Deg(270), 1e-9);

    // The short segments cannot hold the arc, yet the centre is found and
    // each line's end nearer the centre moves out to the tangent point.
    const auto big = LineLineFillet({0, 0}, {5, 0}, {0, 0.5}, {0, 5}, {4, 0}, {0, 4}, 50.0);
    ASSERT_TRUE(big);
    ExpectNear(big->Centre, {50, 50}, "oversized centre");
    EXPECT_FALSE(big->FirstEnd1);
    EXPECT_FALSE(big->FirstEnd2);

    // A trim keeps the picked halves of an X: the other ends move to the corner.
    const auto x = LineLineFillet({0, 0}, {10, 10}, {0, 10}, {10, 0}, {9, 9}, {1, 9}, 0.1);
    ASSERT_TRUE(x);
    ExpectNear(x->Corner, {5, 5}, "corner");
    EXPECT_TRUE(x->FirstEnd1);
    EXPECT_FALSE(x->FirstEnd2);

    EXPECT_FALSE(LineLineFillet({0, 0}, {10, 0}, {0, 5}, {10, 5}, {5, 0}, {5, 5}, 1.0)) << "parallel";
    EXPECT_FALSE(LineLineFillet({0, 0}, {10, 0}, {5, -5}, {5, 5}, {5, 0}, {5, 3}, 1.0)) << "pick on the other line";
}

// Offset circles that cannot meet give nothing rather than NaN; a fillet
// that exists is tangent to both.
TEST(EditGeometry, ArcAndLineFilletsAreTangentOrAbsent)
{
    const auto outside = ArcArcFillet({30, 50}, 15, {70, 50}, 15, {30, 65}, {70, 65}, 10);
    ASSERT_TRUE(outside);
    ExpectNear(outside->Centre, {50, 65}, "centre");
    ExpectNear(outside->Tangent1, {42, 59}, "tangent 1");
    ExpectNear(outside->Tangent2, {58, 59}, "tangent 2");

    struct TNoFillet {
        TVect C1;
        double R1;
        TVect C2;
        double R2;
        TVect Pick1, Pick2;
        double R;
        const char* Why;
    };
    const TNoFillet none[] = {
        {{0, 0}, 10, {100, 0}, 10, {10, 0}, {90, 0}, 5, "apart"},
        {{0, 0}, 10, {0, 0}, 20, {10, 0}, {20, 0}, 2, "concentric"},
        {{0, 0}, 30, {2, 0}, 5, {-30, 0}, {7, 0}, 1, "one inside the other"},
        {{0, 0}, 3, {4, 0}, 3, {2, 0}, {2, 0.5}, 5, "offset radius below zero"},
    };
    for (const TNoFillet& c : none)
        EXPECT_FALSE(ArcArcFillet(c.C1, c.R1, c.C2, c.R2, c.Pick1, c.Pick2, c.R)) << c.Why;

    // A line clear of the circle: the fillet touches the line and the circle.
    const auto line = LineArcFillet({10, 20}, {90, 20}, {50, 50}, 15, {80, 20}, {65, 50}, 10);
    ASSERT_TRUE(line);
    ExpectNear(line->Centre, {65, 30}, "line fillet centre");
    ExpectNear(line->LineTangent, {65, 20}, "on the line");
    ExpectNear(line->ArcTangent, {59, 38}, "on the circle");
    EXPECT_FALSE(line->Crosses);
    // The inner offset of a circle smaller than the fillet does not exist.
    EXPECT_FALSE(LineArcFillet({-20, 0}, {20, 0}, {0, 3}, 5, {0, 0}, {0, 2}, 10));
}

// Arcs through angle 0, full circles and cuts at the ends.
TEST(EditGeometry, ArcSplitCoversTheArcOnceInCounterClockwiseOrder)
{
    const TVect o{0, 0};
    struct TCase {
        double Start, End;
        std::vector<double> Cuts;
        std::vector<double> Starts;
    };
    const TCase cases[] = {
        {300, 60, {30, 0}, {300, 0, 30}},
        {300, 60, {330}, {300, 330}},
        {0, 0, {270, 90}, {0, 90, 270}},
        {45, 45, {10}, {45, 10}},
        {0, 90, {0, 90, 180}, {}},
    };
    for (const TCase& c : cases) {
        std::vector<TVect> cuts;
        for (double a : c.Cuts)
            cuts.push_back(OnCircle(o, 5, a));
        const std::vector<TArcAngles> pieces = SplitArcAngles(o, Deg(c.Start), Deg(c.End), cuts);
        ASSERT_EQ(pieces.size(), c.Starts.size()) << c.Start << ".." << c.End;
        for (std::size_t i = 0; i < pieces.size(); ++i)
            EXPECT_NEAR(std::fmod(pieces[i].Start + 2 * kPi, 2 * kPi), Deg(c.Starts[i]), 1e-9);
        if (!pieces.empty()) {
            const double sweep = c.Start == c.End ? 360.0 : std::fmod(c.End - c.Start + 360.0, 360.0);
            EXPECT_NEAR(SweepOf(pieces), sweep, 1e-9) << c.Start << ".." << c.End;
        }
    }

    // Two arcs cross only where both run.
    EXPECT_EQ(ArcArcCrossings({40, 50}, 20, {Deg(270), Deg(90)}, {60, 50}, 20, {Deg(90), Deg(270)}).size(), 2u);
    EXPECT_EQ(ArcArcCrossings({40, 50}, 20, {Deg(0), Deg(30)}, {60, 50}, 20, {Deg(90), Deg(270)}).size(), 0u);
}

// Both ends inside, one inside, touching and crossing twice.
TEST(EditGeometry, SegmentCircleCrossingsFollowTheSegment)
{
    EXPECT_TRUE(SegmentCircleCrossings({-1, 0}, {1, 0}, {0, 0}, 5).empty());
    const std::vector<TVect> one = SegmentCircleCrossings({0, 0}, {10, 0}, {0, 0}, 5);
    ASSERT_EQ(one.size(), 1u);
    ExpectNear(one[0], {5, 0}, "one end inside");
    EXPECT_EQ(SegmentCircleCrossings({-10, 5}, {10, 5}, {0, 0}, 5).size(), 1u);
    const std::vector<TVect> two = SegmentCircleCrossings({10, 0}, {-10, 0}, {0, 0}, 5);
    ASSERT_EQ(two.size(), 2u);
    ExpectNear(two[0], {5, 0}, "first from P");
    ExpectNear(two[1], {-5, 0}, "second from P");
}

// The tangent and perpendicular constructions.
TEST(EditGeometry, TangentsTouchTheirCircles)
{
    const auto outer = TangentToTwoCircles({30, 50}, 10, {70, 50}, 10, {30, 60}, {70, 60});
    ASSERT_TRUE(outer);
    ExpectNear(outer->From, {70, 60}, "on circle 2");
    ExpectNear(outer->To, {30, 60}, "on circle 1");
    const auto crossed = TangentToTwoCircles({30, 50}, 10, {70, 50}, 10, {30, 60}, {70, 40});
    ASSERT_TRUE(crossed);
    EXPECT_LT(crossed->From.Y, 50.0);
    EXPECT_GT(crossed->To.Y, 50.0);
    EXPECT_FALSE(TangentToTwoCircles({0, 0}, 5, {0, 0}, 10, {5, 0}, {10, 0})) << "concentric";
    EXPECT_FALSE(TangentToTwoCircles({0, 0}, 20, {1, 0}, 5, {20, 0}, {6, 0})) << "nested";

    const TTangentSegment left = TangentAtAngle({50, 50}, 10, 20, 90, {40, 50});
    ExpectNear(left.To, {40, 50}, "tangent point on the pick's side");
    ExpectNear(left.From, {40, 70}, "far end");
    const TTangentSegment right = TangentAtAngle({50, 50}, 10, 20, 90, {60, 50});
    ExpectNear(right.To, {60, 50}, "other side");

    ExpectNear(*FootOnLine({0, 0}, {10, 0}, {3, 7}), {3, 0}, "foot");
    ExpectNear(*FootOnCircle({0, 0}, 5, {0, 20}), {0, 5}, "towards");
    EXPECT_FALSE(FootOnCircle({0, 0}, 5, {0, 0}));
}

// Lines picked at the middle, arcs limited to a turn, polylines reversed.
TEST(EditGeometry, ExtendMovesTheNearerEndAndStopsAtLimits)
{
    const auto middle = ExtendLine({0, 0}, {10, 0}, {5, 3}, 2);
    ASSERT_TRUE(middle);
    ExpectNear(middle->Start, {-2, 0}, "a tie moves the start");
    const auto shorter = ExtendLine({0, 0}, {10, 0}, {9, 0}, -3);
    ExpectNear(shorter->End, {7, 0}, "negative length shortens");
    EXPECT_FALSE(ExtendLine({0, 0}, {10, 0}, {9, 0}, 0));

    const TArcAngles quarter{0, Deg(90)};
    const auto closed = ExtendArc({0, 0}, 10, quarter, {0, 10}, 1000);
    ASSERT_TRUE(closed);
    EXPECT_NEAR(closed->End - closed->Start, 2 * kPi, 1e-9) << "one full turn and no more";
    const auto start = ExtendArc({0, 0}, 10, quarter, {10, 0}, 10 * Deg(30));
    EXPECT_NEAR(start->Start, Deg(-30), 1e-9);
    EXPECT_FALSE(ExtendArc({0, 0}, 10, quarter, {0, 10}, -100)) << "never past zero sweep";
    EXPECT_FALSE(ExtendArc({0, 0}, 10, {0, 0}, {0, 10}, 5)) << "full circle";

    const auto reversed = ExtendPolyline({{0, 0}, {10, 0}, {10, 10}}, {10, 9}, 5);
    ASSERT_TRUE(reversed);
    ASSERT_EQ(reversed->size(), 3u);
    ExpectNear((*reversed)[0], {10, 15}, "moved last point first");
    ExpectNear((*reversed)[2], {0, 0}, "old first point last");
    const auto forward = ExtendPolyline({{0, 0}, {10, 0}, {10, 10}}, {1, 0}, 5);
    ExpectNear((*forward)[0], {-5, 0}, "first point moved in place");
    EXPECT_FALSE(ExtendPolyline({{0, 0}}, {0, 0}, 5)) << "one point";

    const auto [first, second] = HalveArc({Deg(300), Deg(60)});
    EXPECT_NEAR(first.End, Deg(360), 1e-9);
    EXPECT_NEAR(second.Start, Deg(360), 1e-9);
}

// Polyline break records, line cuts and joins.
TEST(EditGeometry, BreakAndJoinRebuildTheRuns)
{
    const TRunBreak v = BreakRuns({{0, 0}, {10, 10}, {20, 0}}, {{0, 5}, {20, 5}});
    ASSERT_EQ(v.Cuts.size(), 2u);
    ASSERT_EQ(v.PiecesA.size(), 3u);
    EXPECT_EQ(v.PiecesA[1].size(), 3u) << "the middle piece keeps the vertex";
    ASSERT_EQ(v.PiecesB.size(), 3u);
    ExpectNear(v.PiecesB[1].front(), {5, 5}, "B cut at the first crossing");

    // A cut 0.0005 past a vertex makes no piece.
    const TRunBreak nearVertex = BreakRuns({{0, 0}, {10, 0}, {10, 10}}, {{9, 0.0005}, {11, 0.0005}});
    ASSERT_EQ(nearVertex.Cuts.size(), 1u);
    EXPECT_EQ(nearVertex.PiecesA.size(), 1u);
    EXPECT_TRUE(BreakRuns({{0, 0}, {10, 0}}, {{0, 5}, {10, 5}}).Cuts.empty());

    EXPECT_EQ(CutSegment({0, 0}, {10, 0}, {{10, 0}}, 0.00005).size(), 1u) << "no zero-length piece";

    const auto gap = JoinLines({{0, 0}, {10, 0}}, {{15, 0}, {20, 0}}, 0.01);
    ASSERT_TRUE(gap);
    ExpectNear(gap->Start, {0, 0}, "from the first start");
    ExpectNear(gap->End, {20, 0}, "to the second end");
    const auto opposite = JoinLines({{0, 0}, {10, 0}}, {{20, 0}, {15, 0}}, 0.01);
    ASSERT_TRUE(opposite);
    EXPECT_NEAR(std::abs(opposite->End.X - opposite->Start.X), 20.0, 1e-9);
    EXPECT_FALSE(JoinLines({{0, 0}, {10, 0}}, {{15, 1}, {20, 1}}, 0.01));

    // Either pick order joins two touching arcs into the arc they cover.
    const TArcAngles a{0, Deg(90)};
    const TArcAngles b{Deg(90), Deg(180)};
    for (const auto& [first, second] : {std::pair{a, b}, std::pair{b, a}}) {
        const TArcAngles joined = JoinArcs({0, 0}, 5, first, second);
        EXPECT_NEAR(joined.Start, 0.0, 1e-9);
        EXPECT_NEAR(joined.End, Deg(180), 1e-9);
    }
    EXPECT_FALSE(SameCircle({0, 0}, 5, {0, 0}, 6));
}

// A join keeps all of both pieces: overlapping, touching, nested and slightly
// tilted lines, and overlapping arcs in either pick order.
TEST(EditGeometry, JoinCoversBothPieces)
{
    const auto overlap = JoinLines({{0, 0}, {10, 0}}, {{5, 0}, {15, 0}}, 0.01);
    ASSERT_TRUE(overlap);
    ExpectNear(overlap->Start, {0, 0}, "overlapping lines from the first start");
    ExpectNear(overlap->End, {15, 0}, "to the second end");
    const auto nested = JoinLines({{0, 0}, {10, 0}}, {{3, 0}, {5, 0}}, 0.01);
    ExpectNear(nested->Start, {0, 0}, "a nested line keeps the first whole");
    ExpectNear(nested->End, {10, 0}, "a nested line keeps the first whole");
    for (const auto& [first, second] : {std::pair{TArcAngles{0, Deg(120)}, TArcAngles{Deg(90), Deg(180)}},
                                        std::pair{TArcAngles{Deg(90), Deg(180)}, TArcAngles{0, Deg(120)}}}) {
        const TArcAngles joined = JoinArcs({0, 0}, 5, first, second);
        EXPECT_NEAR(joined.Start, 0.0, 1e-9);
        EXPECT_NEAR(joined.End, Deg(180), 1e-9);
    }
    const TArcAngles whole = JoinArcs({0, 0}, 5, {0, Deg(270)}, {Deg(180), Deg(90)});
    EXPECT_NEAR(whole.End - whole.Start, 2 * kPi, 1e-9) << "arcs that cover the circle join into one full turn";

    // Random pairs that overlap or touch: every point of both lies on the join.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int k = 0; k < 2000; ++k) {
        const double a0 = 360 * unit(random), aSweep = 10 + 300 * unit(random);
        const double b0 = a0 + aSweep * unit(random), bSweep = 10 + 300 * unit(random);
        const TArcAngles a{Deg(a0), Deg(a0 + aSweep)}, b{Deg(b0), Deg(b0 + bSweep)};
        const TArcAngles joined = k % 2 ? JoinArcs({0, 0}, 5, a, b) : JoinArcs({0, 0}, 5, b, a);
        const double reach = std::fmod(joined.End - joined.Start + 4 * kPi, 2 * kPi);
        const double covered = reach < 1e-9 ? 2 * kPi : reach;
        for (const TArcAngles& arc : {a, b})
            for (const double t : {0.0, 0.5, 1.0}) {
                const double angle = arc.Start + t * (arc.End - arc.Start);
                const double into = std::fmod(angle - joined.Start + 4 * kPi, 2 * kPi);
                ASSERT_LE(into, covered + 1e-9) << "arcs " << a0 << "+" << aSweep << " and " << b0 << "+" << bSweep;
            }

        // Lines along a random axis, the second tilted within the tolerance.
        const TVect axis{std::cos(Deg(a0)), std::sin(Deg(a0))};
        const TVect normal{-axis.Y, axis.X};
        const auto at = [&](double s, double lift) {
            return TVect{s * axis.X + lift * normal.X, s * axis.Y + lift * normal.Y};
        };
        const double s0 = 20 * unit(random), s1 = s0 + 1 + 20 * unit(random);
        const double t0 = s0 + (s1 - s0) * unit(random), t1 = t0 + 1 + 20 * unit(random);
        const double lift = 0.0002 * (unit(random) - 0.5);
        const TSegmentEnds first{at(s0, 0), at(s1, 0)};
        const TSegmentEnds second = k % 3 ? TSegmentEnds{at(t0, lift), at(t1, -lift)} : TSegmentEnds{at(t1, lift), at(t0, -lift)};
        const auto line = JoinLines(first, second, 0.01);
        ASSERT_TRUE(line);
        const auto along = [&](TVect p) { return p.X * axis.X + p.Y * axis.Y; };
        const double from = std::min(along(line->Start), along(line->End));
        const double to = std::max(along(line->Start), along(line->End));
        for (const TVect p : {first.Start, first.End, second.Start, second.End}) {
            ASSERT_GE(along(p), from - 1e-6) << "line join at " << k;
            ASSERT_LE(along(p), to + 1e-6) << "line join at " << k;
        }
        EXPECT_GT(along(line->End), along(line->Start)) << "the join keeps the first line's direction";
    }
}

// A break through a vertex cuts there once: no zero-length piece, no repeated
// point, nothing of the run lost; a closed run cut at one vertex opens there.
TEST(EditGeometry, BreakThroughAVertexCutsItOnce)
{
    const auto length = [](const std::vector<TVect>& run) {
        double total = 0.0;
        for (std::size_t k = 1; k < run.size(); ++k)
            total += std::hypot(run[k].X - run[k - 1].X, run[k].Y - run[k - 1].Y);
        return total;
    };
    const auto expectSoundPieces = [&](const std::vector<TVect>& run, const std::vector<std::vector<TVect>>& pieces) {
        double total = 0.0;
        for (const std::vector<TVect>& piece : pieces) {
            ASSERT_GE(piece.size(), 2u);
            for (std::size_t k = 1; k < piece.size(); ++k)
                EXPECT_GT(std::hypot(piece[k].X - piece[k - 1].X, piece[k].Y - piece[k - 1].Y), 1e-4)
                    << "a repeated point or a zero-length piece";
            total += length(piece);
        }
        EXPECT_NEAR(total, length(run), 1e-6) << "the pieces cover the run once";
    };

    const std::vector<TVect> peak{{0, 0}, {5, 5}, {10, 0}};
    const TRunBreak atPeak = BreakRuns(peak, {{0, 5}, {10, 5}});
    ASSERT_EQ(atPeak.PiecesA.size(), 2u);
    expectSoundPieces(peak, atPeak.PiecesA);
    ASSERT_EQ(atPeak.PiecesB.size(), 2u);
    expectSoundPieces({{0, 5}, {10, 5}}, atPeak.PiecesB);

    const std::vector<TVect> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    const TRunBreak atClosure = BreakRuns(square, {{-5, -5}, {5, 5}});
    ASSERT_EQ(atClosure.PiecesA.size(), 1u) << "cut at its closing vertex, the square opens there";
    expectSoundPieces(square, atClosure.PiecesA);
    const TRunBreak across = BreakRuns(square, {{5, -5}, {5, 15}});
    ASSERT_EQ(across.PiecesA.size(), 2u) << "cut twice, a closed run gives two pieces, not three";
    expectSoundPieces(square, across.PiecesA);
    const TRunBreak atCorner = BreakRuns(square, {{5, 15}, {15, 5}});
    ASSERT_EQ(atCorner.PiecesA.size(), 1u) << "cut at one corner, the square opens there";
    ExpectNear(atCorner.PiecesA[0].front(), {10, 10}, "the opened square starts at the cut corner");
    expectSoundPieces(square, atCorner.PiecesA);

    // Random zigzags broken by lines through one of their vertices.
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int k = 0; k < 500; ++k) {
        std::vector<TVect> zigzag;
        for (int i = 0; i < 6; ++i)
            zigzag.push_back({10.0 * i, (i % 2 ? 10.0 : 0.0) + unit(random)});
        const TVect vertex = zigzag[1 + k % 4];
        const double angle = Deg(20 + 140 * unit(random));
        const TVect way{std::cos(angle), std::sin(angle)};
        const TRunBreak cut = BreakRuns(zigzag, {{vertex.X - 30 * way.X, vertex.Y - 30 * way.Y},
                                                {vertex.X + 30 * way.X, vertex.Y + 30 * way.Y}});
        if (cut.Cuts.empty())
            continue;
        expectSoundPieces(zigzag, cut.PiecesA);
    }
}
