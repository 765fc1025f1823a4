// Chain picking through a real drawing, the continuation rules the loop
// walk relies on, and the drill point list.

#include <memory>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "support/CamToleranceTest.h"
#include "support/ElementExpect.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/geometry/VectorHelpers.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"
#include "cad/shapes/Text2D.h"
#include "cam/chains/Chains.h"

namespace {

class ChainsTest : public CamToleranceTest {
protected:
    TObject2D* AddLine(double x1, double y1, double x2, double y2)
    {
        return Drawing.AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(static_cast<float>(x1), static_cast<float>(y1)),
                                                               MakePoint2D(static_cast<float>(x2), static_cast<float>(y2))));
    }
    TChain Pick(const TObject2D* object)
    {
        bool chainable = false;
        TChain chain = PickChain(*object, Drawing, chainable);
        EXPECT_TRUE(chainable);
        return chain;
    }
    TCADCmp2D Drawing;
};

bool Connected(const TChain& chain)
{
    for (std::size_t k = 1; k < chain.size(); ++k) {
        if (!EqualPoints(EndPoint(chain[k - 1]), StartPoint(chain[k])))
            return false;
    }
    return true;
}

} // namespace

TEST_F(ChainsTest, PickGrowsThroughConnectedObjects)
{
    // A rectangle drawn side by side in no particular direction; the picked
    // top side runs clockwise, the stored chain runs counter-clockwise.
    AddLine(0, 0, 10, 0);
    AddLine(10, 10, 10, 0);
    const TObject2D* top = AddLine(0, 10, 10, 10);
    AddLine(0, 0, 0, 10);
    const TChain rectangle = Pick(top);
    ASSERT_EQ(rectangle.size(), 4u);
    EXPECT_TRUE(IsChainClosed(rectangle));
    EXPECT_TRUE(Connected(rectangle));
    EXPECT_NEAR(ChainSignedArea(rectangle), 100.0, 1e-9);

    // A fork: the branch turning furthest left is taken; a gap of ChainTol
    // is bridged by moving the next end onto the chain, and a neighbour
    // drawn the other way is followed reversed; a wider gap ends the chain.
    Drawing.DeleteAllObjects();
    const TObject2D* stem = AddLine(0, 0, 10, 0);
    AddLine(10, 0, 20, -5);
    AddLine(10, 0, 20, 0);
    AddLine(10, 0.0005, 20, 5);
    AddLine(30, 5, 20, 5.001);
    AddLine(30, 5.0011, 40, 5);
    const TChain fork = Pick(stem);
    ExpectElements(fork, {{0, 0, 10, 0, 0}, {10, 0, 20, 5, 0}, {20, 5, 30, 5, 0}}, 1e-6);
    EXPECT_TRUE(Connected(fork));

    // The middle object of an open run whose forward end is free grows backwards.
    Drawing.DeleteAllObjects();
    AddLine(0, 0, 10, 0);
    const TObject2D* middle = AddLine(10, 0, 20, 0);
    const TChain run = Pick(middle);
    ExpectElements(run, {{20, 0, 10, 0, 0}, {10, 0, 0, 0, 0}}, 1e-6);
    EXPECT_FALSE(IsChainClosed(run));

    // An object that gives no element gives no chain; text cannot be chained.
    const std::vector<TPoint2D> same{MakePoint2D(5, 5), MakePoint2D(5, 5), MakePoint2D(5, 5)};
    const TObject2D* dot = Drawing.AddObject(-1, std::make_unique<TPolyline2D>(0, same));
    EXPECT_TRUE(Pick(dot).empty());
    bool chainable = true;
    const TText2D text;
    EXPECT_TRUE(PickChain(text, Drawing, chainable).empty());
    EXPECT_FALSE(chainable);
}

TEST_F(ChainsTest, NextElementAtPointRemovesEveryCandidateButOneRunningBack)
{
    const TChainElement current = Line(-1, 0, 0, 0);
    const TChain list{Line(0, 0, 0, -1), Line(5, 5, 6, 6), Line(0, 0, -1, 0), Line(0, 0, 0, 1), Line(0, 0, 1, 0)};

    TChain left = list;
    TChainElement next;
    ASSERT_TRUE(NextElementAtPoint(current, left, true, next, 1.0));
    ExpectElements({next}, {{0, 0, 0, 1, 0}});
    // The unrelated element and the one running straight back stay.
    ExpectElements(left, {{5, 5, 6, 6, 0}, {0, 0, -1, 0, 0}});

    // A negative offset takes the rightmost turn, but not straight back while
    // another continues; the list is left alone without removal.
    TChain untouched = list;
    ASSERT_TRUE(NextElementAtPoint(current, untouched, false, next, -1.0));
    EXPECT_EQ(untouched.size(), list.size());
    ExpectElements({next}, {{0, 0, 0, -1, 0}});
    TChain back{Line(0, 0, -1, 0)};
    ASSERT_TRUE(NextElementAtPoint(current, back, true, next, -1.0));
    ExpectElements({next}, {{0, 0, -1, 0, 0}});
    EXPECT_TRUE(back.empty());

    TChain single{Line(0, 0, 3, 3), Line(1, 1, 2, 2)};
    ASSERT_TRUE(NextElementAtPoint(current, single, true, next, 1.0));
    ExpectElements(single, {{1, 1, 2, 2, 0}});
    EXPECT_FALSE(NextElementAtPoint(current, single, true, next, 1.0));
}

TEST_F(ChainsTest, AShortArcRetracingTheCurrentPieceIsTakenOnlyWhenNothingElseContinues)
{
    // Back along a piece 7e-4 long, 3e-6 off it at most, but leaving 0.016
    // off its tangent: to one side or the other, the arc would turn the most.
    const TChainElement current = Line(0, 0, 0, 0.0007);
    for (const double bulge : {0.008, -0.008}) {
        for (const double d : {1.0, -1.0}) {
            SCOPED_TRACE(testing::Message() << bulge << ' ' << d);
            const TChainElement back = Arc(0, 0.0007, 0, 0, bulge);
            TChain list{back, Line(0, 0.0007, -0.1, 1)};
            TChainElement next;
            ASSERT_TRUE(NextElementAtPoint(current, list, true, next, d));
            ExpectElements({next}, {{0, 0.0007, -0.1, 1, 0}});
            ExpectElements(list, {{0, 0.0007, 0, 0, bulge}});
            ASSERT_TRUE(NextElementAtPoint(current, list, true, next, d));
            ExpectElements({next}, {{0, 0.0007, 0, 0, bulge}});
        }
    }
}

TEST_F(ChainsTest, ChainGeometry)
{
    TChain five{Line(0, 0, 10, 0), Line(10, 0, 10, 10), Line(10, 10, 5, 15), Line(5, 15, 0, 10), Line(0, 10, 0, 0)};
    RotateChainStart(five, 2);
    ExpectElements({five.front()}, {{10, 10, 5, 15, 0}});
    EXPECT_TRUE(IsChainClosed(five));
    RotateChainStart(five, -7);
    ExpectElements({five.front()}, {{0, 0, 10, 0, 0}});

    // Inside a circle of bulged halves, outside its bulge.
    const TChain circle{Arc(10, 0, -10, 0, 1), Arc(-10, 0, 10, 0, 1)};
    EXPECT_TRUE(PointInChain(circle, {0, 9.9}));
    EXPECT_FALSE(PointInChain(circle, {9.9, 9.9}));
    EXPECT_TRUE(PointInChain(five, {5, 14}));
    EXPECT_FALSE(PointInChain(five, {11, 5}));
}

TEST_F(ChainsTest, DrillPointsArePickedOnceAndSortedFromACorner)
{
    TVect point;
    ASSERT_TRUE(DrillPointOf(TPunto2D(0, MakePoint2D(3, 4)), point));
    EXPECT_NEAR(point.X, 3, 1e-9);
    ASSERT_TRUE(DrillPointOf(TCerchio2D(0, MakePoint2D(7, 8), MakePoint2D(9, 8)), point));
    EXPECT_NEAR(point.X, 7, 1e-5);
    EXPECT_NEAR(point.Y, 8, 1e-5);
    ASSERT_TRUE(DrillPointOf(TArco2D(0, MakePoint2D(-2, 1), MakePoint2D(0, 1), 0.0f, 1.0f), point));
    EXPECT_NEAR(point.X, -2, 1e-5);
    EXPECT_FALSE(DrillPointOf(TLine2D(0, MakePoint2D(0, 0), MakePoint2D(1, 1)), point));

    TChainList list;
    for (const TVect p : std::vector<TVect>{{5, 5}, {0, 10}, {10, 0}, {0, 0}, {5, 5}})
        AddDrillPoint(list, p);
    ASSERT_EQ(list.DrillPoints.size(), 4u);

    // From the lower left corner; (0, 10) and (10, 0) are equally far from
    // (5, 5): the later of the two comes first.
    SortDrillPoints(list, 2, true);
    const std::vector<TVect> sorted{{0, 0}, {5, 5}, {0, 10}, {10, 0}};
    for (std::size_t k = 0; k < sorted.size(); ++k)
        EXPECT_TRUE(EqualPoints(list.DrillPoints[k], sorted[k])) << k;
    SortDrillPoints(list, 2, false);
    EXPECT_TRUE(EqualPoints(list.DrillPoints[1], {0, 10}));
    EXPECT_TRUE(EqualPoints(list.DrillPoints[3], {0, 0}));

    // A point picked after a sort survives undoing the next one.
    SortDrillPoints(list, 3, true);
    AddDrillPoint(list, {20, 20});
    SortDrillPoints(list, 3, false);
    EXPECT_EQ(list.DrillPoints.size(), 5u);
}
