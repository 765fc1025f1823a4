#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/ElementExpect.h"
#include "support/RandomStar.h"
#include "cam/toolpath/ChainOffset.h"
#include "cam/toolpath/ElementDistance.h"
#include "cam/toolpath/SplitAtIntersections.h"

TEST(ElementDistance, NearestPointOfSegmentsAndArcs)
{
    struct TCase {
        TVect Point;
        TChainElement Element;
        double Distance;
    };
    const TChainElement upperHalf = Arc(5, 0, -5, 0, 1.0);
    const TChainElement major = Arc(5, 0, 0, -5, BulgeOfSweepDegrees(270));
    const TCase cases[] = {
        {{5, 3}, Line(0, 0, 10, 0), 3.0},     // perpendicular foot
        {{-3, 4}, Line(0, 0, 10, 0), 5.0},    // before the start
        {{13, 4}, Line(0, 0, 10, 0), 5.0},    // beyond the end
        {{2, 2}, Line(1, 1, 1, 1), std::sqrt(2.0)},
        {{0, 8}, upperHalf, 3.0},             // radial point
        {{0, 2}, upperHalf, 3.0},             // radial point from inside
        {{0, -2}, upperHalf, std::sqrt(29.0)}, // outside the sweep: the nearer end
        {{0, 0}, upperHalf, 5.0},             // the centre
        {{-8, -0.5}, major, 8.015609770940699 - 5.0}, // the far side of a major arc
        {{4, -4}, major, std::hypot(4.0, 1.0)},        // in the gap of the major arc: its end (0,-5)
    };
    for (const TCase& c : cases)
        EXPECT_NEAR(DistanceToElement(c.Point, c.Element), c.Distance, 1e-9) << c.Point.X << "," << c.Point.Y;
}

TEST(ElementDistance, KeepsDistanceAllowsOneHundredthBelowTheOffset)
{
    const TChain square = Square10();
    EXPECT_TRUE(KeepsDistanceFromElements({5, 5}, square, 5.0));
    EXPECT_TRUE(KeepsDistanceFromElements({1, 5}, square, 1.005));
    EXPECT_FALSE(KeepsDistanceFromElements({1, 5}, square, 1.02));
    EXPECT_TRUE(KeepsDistanceFromElements({1, 5}, TChain{}, 100.0));
}

TEST(ElementDistance, KeepsDistanceFromEndsCountsArcsByTheirEndsOnly)
{
    const TChain arcs{Arc(5, 0, -5, 0, 1.0)};
    EXPECT_FALSE(KeepsDistanceFromElements({0, 6}, arcs, 2.0));
    EXPECT_TRUE(KeepsDistanceFromEnds({0, 6}, arcs, 2.0));
    EXPECT_FALSE(KeepsDistanceFromEnds({5, 1}, arcs, 2.0));
    const TChain lines{Line(-5, 5, 5, 5)};
    EXPECT_FALSE(KeepsDistanceFromEnds({0, 6}, lines, 2.0));
}

// The prepared source answers through its index; it must pass over no
// element near enough to count, also just beyond and within the limit.
TEST(ElementDistance, PreparedSourceKeepsDistanceAsThePlainChain)
{
    TChain source = RandomStar(5, 200);
    for (std::size_t k = 0; k < source.size(); k += 3)
        source[k].Bulge = k % 2 == 0 ? 0.3 : -0.2;
    const TPreparedSource prepared(source);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> angle(0.0, 2.0 * std::numbers::pi);
    int near = 0;
    for (const double d : {0.5, 2.0, 6.0}) {
        for (const TChainElement& e : source) {
            for (const double off : {-1e-9, 0.0, 1e-9}) {
                const double a = angle(random);
                const double r = d - DISTANCE_SLACK + off;
                const TVect p{e.X1 + r * std::cos(a), e.Y1 + r * std::sin(a)};
                const bool keeps = KeepsDistanceFromElements(p, source, d);
                near += keeps ? 0 : 1;
                ASSERT_EQ(KeepsDistanceFromElements(p, prepared, d), keeps) << p.X << "," << p.Y << " " << d;
                ASSERT_EQ(KeepsDistanceFromEnds(p, prepared, d), KeepsDistanceFromEnds(p, source, d));
            }
        }
    }
    EXPECT_GT(near, 100);
}

TEST(ElementDistance, RemoveGougingElementsDropsElementsWithAnEndTooNearTheSource)
{
    const TChain square = Square10();
    TChain elements{Line(1, 1, 9, 1), Line(0.5, 5, 1, 6), Line(9, 1, 9.5, 0.5), Line(2, 2, 8, 8),
                    Arc(1, 5, 9, 5, 1.0)};
    RemoveGougingElements(elements, square, 1.0);
    ExpectElements(elements, {{1, 1, 9, 1, 0}, {2, 2, 8, 8, 0}, {1, 5, 9, 5, 1.0}});
    // A distance at or below the slack removes nothing.
    TChain near{Line(0, 0, 1, 1)};
    RemoveGougingElements(near, square, 0.01);
    EXPECT_EQ(near.size(), 1u);
}

TEST(ElementDistance, RemoveGougingElementsMatchesThePlainDistanceTest)
{
    TChain source;
    TChain elements;
    for (int k = 0; k < 40; ++k) {
        const double a = k * 0.157;
        const double b = a + 0.157;
        source.push_back(MakeElement({10 * std::cos(a), 10 * std::sin(a)}, {10 * std::cos(b), 10 * std::sin(b)},
                                     k % 3 == 0 ? 0.05 : 0.0));
        elements.push_back(
            MakeElement({(k % 7) * 2.5 - 7.0, (k % 5) * 3.0 - 6.0}, {(k % 4) * 4.0 - 6.0, k * 0.4 - 8.0}));
    }
    TChain expected;
    for (const TChainElement& e : elements) {
        const bool keeps = KeepsDistanceFromElements(StartPoint(e), source, 3.0) &&
                           KeepsDistanceFromElements(EndPoint(e), source, 3.0);
        if (keeps)
            expected.push_back(e);
    }
    RemoveGougingElements(elements, source, 3.0);
    ASSERT_EQ(elements.size(), expected.size());
    EXPECT_GT(expected.size(), 5u);
    EXPECT_LT(expected.size(), 35u);
    for (std::size_t k = 0; k < expected.size(); ++k)
        EXPECT_TRUE(EqualElements(elements[k], expected[k]));
}

// The removal searches its candidates in batches along the source and tries
// the element that removed the last piece first, and it settles whole runs
// of a finely divided source by their chord and corner arcs by what lies
// behind them; whatever it skips, it must remove exactly the pieces that
// some source element comes too near, and keep their order. Split offsets
// of stars (many gouging runs and corner arcs), of circles of arcs and of
// polygons, coarse and fine enough for the chords, and of a comb (long runs
// kept) cover the ways in.
TEST(ElementDistance, RemoveGougingElementsKeepsExactlyThePiecesNoSourceElementComesNear)
{
    std::vector<TChain> sources{RandomStar(3, 300), RandomStar(8, 120)};
    for (const auto& [count, radius] : {std::pair{200, 30.0}, std::pair{600, 5.0}}) {
        TChain circle;
        TChain polygon;
        for (int k = 0; k < count; ++k) {
            const double a0 = 2 * std::numbers::pi * k / count;
            const double a1 = 2 * std::numbers::pi * (k + 1) / count;
            const TVect from{radius * std::cos(a0), radius * std::sin(a0)};
            const TVect to{radius * std::cos(a1), radius * std::sin(a1)};
            circle.push_back(MakeElement(from, to, std::tan(2 * std::numbers::pi / count / 4)));
            polygon.push_back(MakeElement(from, to));
        }
        sources.push_back(circle);
        sources.push_back(polygon);
    }
    TPointList comb{{0, 0}, {80, 0}, {80, 3}};
    for (int t = 39; t >= 0; --t)
        comb.insert(comb.end(), {{2.0 * t + 1.8, 3}, {2.0 * t + 1.8, 8}, {2.0 * t + 1.0, 8}, {2.0 * t + 1.0, 3}});
    comb.push_back({0, 3});
    TChain combChain;
    for (std::size_t k = 0; k < comb.size(); ++k)
        combChain.push_back(MakeElement(comb[k], comb[(k + 1) % comb.size()]));
    sources.push_back(combChain);

    std::size_t kept = 0;
    std::size_t removed = 0;
    for (const TChain& source : sources) {
        for (const double d : {1.0, -1.0, 0.3, 6.0}) {
            TChain pieces;
            OffsetChain(source, pieces, d);
            ASSERT_TRUE(SplitAtIntersections(pieces));
            TChain expected;
            for (const TChainElement& piece : pieces) {
                const bool gouges = std::any_of(source.begin(), source.end(), [&](const TChainElement& e) {
                    return DistanceBetweenElements(piece, e) < std::abs(d) - DISTANCE_SLACK;
                });
                if (!gouges)
                    expected.push_back(piece);
            }
            removed += pieces.size() - expected.size();
            RemoveGougingElements(pieces, source, std::abs(d));
            ASSERT_EQ(pieces.size(), expected.size()) << "d = " << d;
            kept += expected.size();
            for (std::size_t k = 0; k < expected.size(); ++k)
                EXPECT_TRUE(EqualElements(pieces[k], expected[k])) << "piece " << k << ", d = " << d;
        }
    }
    EXPECT_GT(kept, 2000u);
    EXPECT_GT(removed, 2000u);
}

// Pieces scattered within a hair of the limit around fine outlines of lines
// and of arcs, and arcs centred on the outline's corners as an offset's
// corners are, with every sweep: whatever proves a whole run or an arc far
// must never keep a piece that one element comes too near.
TEST(ElementDistance, RemoveGougingElementsMatchesThePlainRuleAtTheLimit)
{
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto fine = [](bool arcs) {
        TChain chain;
        for (int k = 0; k < 600; ++k) {
            const double a0 = 2 * std::numbers::pi * k / 600;
            const double a1 = 2 * std::numbers::pi * (k + 1) / 600;
            chain.push_back(MakeElement({4 * std::cos(a0), 4 * std::sin(a0)}, {4 * std::cos(a1), 4 * std::sin(a1)},
                                        arcs ? std::tan(2 * std::numbers::pi / 600 / 4) : 0.0));
        }
        return chain;
    };
    std::size_t kept = 0;
    std::size_t removed = 0;
    for (const TChain& source : {fine(false), fine(true), RandomStar(5, 60)}) {
        for (const double d : {0.7, 2.0}) {
            const double limit = d - DISTANCE_SLACK;
            TChain pieces;
            for (int n = 0; n < 1500; ++n) {
                const TChainElement& near = source[static_cast<std::size_t>(unit(random) * source.size())];
                const TVect corner = StartPoint(near);
                // Mostly off either side of the outline, as offsets lie.
                const double along = std::atan2(near.Y2 - near.Y1, near.X2 - near.X1);
                const double side = along + (n % 2 == 0 ? 1 : -1) * std::numbers::pi / 2;
                const double angle = side + 0.6 * (unit(random) - 0.5);
                const double radius = limit + 0.03 * (unit(random) - 0.5);
                if (n % 3 == 0) {
                    // An arc round the corner, of up to two thirds of a circle.
                    const double sweep = 2.4 * std::numbers::pi * unit(random) * (n % 4 < 2 ? 1 : -1) / 3;
                    pieces.push_back(MakeElement({corner.X + radius * std::cos(angle - sweep / 2),
                                                  corner.Y + radius * std::sin(angle - sweep / 2)},
                                                 {corner.X + radius * std::cos(angle + sweep / 2),
                                                  corner.Y + radius * std::sin(angle + sweep / 2)},
                                                 std::tan(sweep / 4)));
                } else {
                    // A segment or a shallow arc near the limit from the
                    // outline, mostly along it, now and then across it.
                    const TVect from{corner.X + radius * std::cos(angle), corner.Y + radius * std::sin(angle)};
                    const double turn =
                        n % 5 == 0 ? 2 * std::numbers::pi * unit(random) : along + 0.3 * (unit(random) - 0.5);
                    const double length = 3.0 * unit(random) * unit(random);
                    pieces.push_back(MakeElement(from, {from.X + length * std::cos(turn), from.Y + length * std::sin(turn)},
                                                 n % 3 == 1 ? 0.0 : 0.6 * (unit(random) - 0.5)));
                }
            }
            TChain expected;
            for (const TChainElement& piece : pieces) {
                if (std::none_of(source.begin(), source.end(),
                                 [&](const TChainElement& e) { return DistanceBetweenElements(piece, e) < limit; }))
                    expected.push_back(piece);
            }
            removed += pieces.size() - expected.size();
            kept += expected.size();
            RemoveGougingElements(pieces, source, d);
            ASSERT_EQ(pieces.size(), expected.size()) << "d = " << d;
            for (std::size_t k = 0; k < expected.size(); ++k)
                EXPECT_TRUE(EqualElements(pieces[k], expected[k])) << "piece " << k << ", d = " << d;
        }
    }
    EXPECT_GT(kept, 400u);
    EXPECT_GT(removed, 4000u);
}

// Arcs that dip towards a long side between ends that both keep the limit,
// one end near and one far: the chord test must weigh each end by its own
// distance, and only the exact distance tells those that come too near.
TEST(ElementDistance, RemoveGougingElementsWeighsBothEndsOfAnArcDippingTowardsALongSide)
{
    const TChain side{Line(-20, 0, 20, 0)};
    TChain pieces;
    for (int k = 0; k < 40; ++k) {
        const double near = 1.05 + 0.01 * (k % 8);
        const double bulge = 0.2 + 0.15 * (k / 8);
        pieces.push_back(k % 2 == 0 ? Arc(-1, 3, 1, near, bulge) : Arc(1, near, -1, 3, -bulge));
    }
    TChain expected;
    for (const TChainElement& piece : pieces) {
        if (!(DistanceBetweenElements(piece, side[0]) < 1.0 - DISTANCE_SLACK))
            expected.push_back(piece);
    }
    EXPECT_GT(expected.size(), 5u);
    EXPECT_LT(expected.size(), 35u);
    RemoveGougingElements(pieces, side, 1.0);
    ASSERT_EQ(pieces.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k)
        EXPECT_TRUE(EqualElements(pieces[k], expected[k])) << "piece " << k;
}
