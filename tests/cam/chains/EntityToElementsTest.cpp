#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "support/CamToleranceTest.h"
#include "support/ElementExpect.h"
#include "cad/base/Settings.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/geometry/VectorHelpers.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Ellipse2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cam/toolpath/ChainOffset.h"
#include "cam/chains/EntityToElements.h"
#include "cam/toolpath/SplitAtIntersections.h"

namespace {

constexpr double PI = std::numbers::pi;
// Arc angles are stored in single precision.
constexpr double SINGLE_TOLERANCE = 1e-5;

class EntityToElementsTest : public CamToleranceTest {};

TPoint2D P(float x, float y)
{
    return MakePoint2D(x, y);
}

float Radians(double degrees)
{
    return static_cast<float>(degrees * PI / 180.0);
}

TVect OnCircle(double cx, double cy, double r, double degrees)
{
    return {cx + r * std::cos(degrees * PI / 180.0), cy + r * std::sin(degrees * PI / 180.0)};
}

void ExpectLayer(const TChain& chain, std::int32_t layer)
{
    for (const TChainElement& e : chain)
        EXPECT_EQ(e.Layer, layer);
}

// The drawn outline: the profile through the object's transform.
std::vector<TVect> DrawnProfile(TCurve2D& curve)
{
    std::vector<TVect> points;
    TProfileUse use(curve);
    for (int k = 0; k < curve.ProfilePointCount(); ++k)
        points.push_back(
            Point2DToVect(CartesianPoint2D(ApplyTransform2D(curve.ProfilePoints()[k], curve.GetTransform()))));
    return points;
}

TTransform2D Then(const TTransform2D& first, const TTransform2D& second)
{
    return MultiplyTransforms2D(first, second);
}

} // namespace

TEST_F(EntityToElementsTest, LineGoesThroughItsModelTransformAndKeepsItsLayer)
{
    TLine2D line(1, P(1, 2), P(4, 6));
    line.Layer = 3;
    line.SetModelTransform(Then(MakeScale2D(2, 2), MakeTranslation2D(10, 20)));
    TChain list{Line(0, 0, 1, 1)};
    LineToElements(line, list);
    ExpectElements(list, {{0, 0, 1, 1, 0}, {12, 24, 18, 32, 0}});
    EXPECT_EQ(list[1].Layer, 3);
}

TEST_F(EntityToElementsTest, PolylineDropsSegmentsNotLongerThanSystemTol)
{
    SystemTol = 0.25;
    struct Case {
        const char* Name;
        std::vector<TPoint2D> Points;
        std::vector<TExpected> Expected;
    };
    const double longer = 0.25 + 1.0 / 1024;
    const Case cases[] = {
        {"coincident vertices", {P(0, 0), P(10, 0), P(10, 0), P(10, 10)}, {{0, 0, 10, 0, 0}, {10, 0, 10, 10, 0}}},
        {"a segment of exactly SystemTol",
         {P(0, 0), P(10, 0), P(10, 0.25f), P(10, 10)},
         {{0, 0, 10, 0, 0}, {10, 0, 10, 10, 0}}},
        {"a segment slightly longer",
         {P(0, 0), P(10, 0), P(10, static_cast<float>(longer)), P(10, 10)},
         {{0, 0, 10, 0, 0}, {10, 0, 10, longer, 0}, {10, longer, 10, 10, 0}}},
        // Each step alone is too short; together they are a line that must not vanish.
        {"a run of short steps",
         {P(0, 0), P(0.125f, 0), P(0.25f, 0), P(0.375f, 0), P(0.5f, 0), P(0.625f, 0), P(0.75f, 0)},
         {{0, 0, 0.375, 0, 0}, {0.375, 0, 0.75, 0, 0}}},
        {"one point", {P(3, 3)}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TPolyline2D polyline(1, c.Points);
        polyline.Layer = 7;
        TChain list;
        PolylineToElements(polyline, list);
        ExpectElements(list, c.Expected);
        ExpectLayer(list, 7);
    }
}

TEST_F(EntityToElementsTest, ClosedPolylinesGetTheirClosingElement)
{
    SystemTol = 0.25;
    const std::vector<TPoint2D> square{P(0, 0), P(10, 0), P(10, 10), P(0, 10)};
    const std::vector<TExpected> closed{
        {0, 0, 10, 0, 0}, {10, 0, 10, 10, 0}, {10, 10, 0, 10, 0}, {0, 10, 0, 0, 0}};
    struct Case {
        const char* Name;
        std::unique_ptr<TPolyline2D> Shape;
        std::vector<TExpected> Expected;
    };
    std::vector<TPoint2D> repeated = square;
    repeated.push_back(P(0, 0));
    std::vector<TPoint2D> nearlyClosed = square;
    nearlyClosed.push_back(P(0.125f, 0.0625f));
    const std::vector<TPoint2D> twoPoints{P(0, 0), P(10, 0)};
    Case cases[] = {
        {"polygon", std::make_unique<TPolygon2D>(1, square), closed},
        {"open polyline", std::make_unique<TPolyline2D>(1, square), {closed[0], closed[1], closed[2]}},
        {"polyline back at its start", std::make_unique<TPolyline2D>(1, repeated), closed},
        {"polygon back at its start", std::make_unique<TPolygon2D>(1, repeated), closed},
        {"polygon ending too near its start", std::make_unique<TPolygon2D>(1, nearlyClosed), closed},
        {"two-point polygon", std::make_unique<TPolygon2D>(1, twoPoints), {closed[0]}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TChain list;
        PolylineToElements(*c.Shape, list);
        ExpectElements(list, c.Expected);
    }
}

TEST_F(EntityToElementsTest, CircleIsTwoCounterClockwiseHalvesFromItsRightmostPoint)
{
    struct Case {
        const char* Name;
        TTransform2D Transform;
        std::vector<TExpected> Expected;
    };
    const Case cases[] = {
        {"plain", IdentityTransform2D, {{10, 5, 0, 5, 1}, {0, 5, 10, 5, 1}}},
        {"scaled", MakeScale2D(2, 2), {{20, 10, 0, 10, 1}, {0, 10, 20, 10, 1}}},
        // Turned, it still starts at the rightmost point of where it is drawn.
        {"turned", MakeRotation2D(Radians(90)), {{0, 5, -10, 5, 1}, {-10, 5, 0, 5, 1}}},
        {"mirrored", MakeMirror2D(1), {{0, 5, -10, 5, 1}, {-10, 5, 0, 5, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TCerchio2D circle(1, P(5, 5), P(8, 9));
        circle.Layer = 2;
        circle.SetModelTransform(c.Transform);
        TChain list;
        CircleToElements(circle, list);
        ExpectElements(list, c.Expected, SINGLE_TOLERANCE);
        ExpectLayer(list, 2);
    }
}

TEST_F(EntityToElementsTest, ArcIsOneElementUpToThreeQuarterTurns)
{
    struct Case {
        double Start, End;
        std::uint8_t Direction;
        std::vector<TExpected> Expected;
    };
    const TVect at271 = OnCircle(0, 0, 10, 271);
    const Case cases[] = {
        {0, 90, 1, {{10, 0, 0, 10, BulgeOfSweepDegrees(90)}}},
        {0, 270, 1, {{10, 0, 0, -10, BulgeOfSweepDegrees(270)}}},
        // Read back in single precision this one comes out a hair above 270 degrees.
        {-90, 180, 1, {{0, -10, -10, 0, BulgeOfSweepDegrees(270)}}},
        {0, 271, 1, {{10, 0, -10, 0, 1}, {-10, 0, at271.X, at271.Y, BulgeOfSweepDegrees(91)}}},
        {90, 0, 1, {{0, 10, 10, 0, BulgeOfSweepDegrees(270)}}},
        // Equal angles: the whole circle, as the profile draws it.
        {0, 360, 1, {{10, 0, -10, 0, 1}, {-10, 0, 10, 0, 1}}},
        // Clockwise, drawn from (10, 0) through the lower half to (0, 10).
        {0, 90, 0, {{0, 10, 10, 0, BulgeOfSweepDegrees(270)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Start << " to " << c.End << ", direction " << int(c.Direction));
        TArco2D arc(1, P(0, 0), P(10, 0), Radians(c.Start), Radians(c.End));
        arc.SetDirection(c.Direction);
        arc.Layer = 4;
        TChain list;
        ArcToElements(arc, list);
        ExpectElements(list, c.Expected, SINGLE_TOLERANCE);
        ExpectLayer(list, 4);
    }
}

// Every drawn profile point lies on the elements, and the elements end where
// the profile does: a complementary or mirrored arc fails both.
TEST_F(EntityToElementsTest, TransformedArcFollowsItsDrawnOutline)
{
    struct Case {
        const char* Name;
        TTransform2D Transform;
        std::uint8_t Direction;
        double Sweep;
    };
    // Clockwise, the arc from 20 to 220 degrees is drawn through the other side.
    const Case cases[] = {
        {"plain", IdentityTransform2D, 1, 200},
        {"clockwise", IdentityTransform2D, 0, 160},
        {"turned", MakeRotation2D(Radians(90)), 1, 200},
        {"mirrored", Then(MakeMirror2D(1), MakeTranslation2D(30, 5)), 1, 200},
        {"mirrored in Y, clockwise", MakeMirror2D(0), 0, 160},
        {"scaled and mirrored", Then(MakeScale2D(-2, 2), MakeRotation2D(Radians(30))), 1, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TArco2D arc(1, P(2, 1), P(12, 1), Radians(20), Radians(220));
        arc.SetDirection(c.Direction);
        arc.SetModelTransform(c.Transform);
        TChain list;
        ArcToElements(arc, list);
        const std::vector<TVect> drawn = DrawnProfile(arc);
        ASSERT_EQ(list.size(), 1u);
        EXPECT_GT(list[0].Bulge, 0.0);
        EXPECT_NEAR(list[0].Bulge, BulgeOfSweepDegrees(c.Sweep), SINGLE_TOLERANCE);
        // Counter-clockwise elements run from the end of a clockwise outline to its start.
        const bool sameWay = EqualPointsEps(StartPoint(list[0]), drawn.front(), 1e-4);
        const TVect start = sameWay ? drawn.front() : drawn.back();
        const TVect end = sameWay ? drawn.back() : drawn.front();
        EXPECT_NEAR(list[0].X1, start.X, 1e-4);
        EXPECT_NEAR(list[0].Y1, start.Y, 1e-4);
        EXPECT_NEAR(list[0].X2, end.X, 1e-4);
        EXPECT_NEAR(list[0].Y2, end.Y, 1e-4);
        const TArcSpan span = ArcSpanOf(list[0]);
        for (const TVect& p : drawn) {
            EXPECT_NEAR(PointDistance(p, span.Centre), span.Radius, 1e-4);
            EXPECT_TRUE(ArcSpanContains(span, p) || EqualPointsEps(p, start, 1e-4) || EqualPointsEps(p, end, 1e-4))
                << p.X << ", " << p.Y;
        }
    }
}

TEST_F(EntityToElementsTest, FrameRunsFromCornerZeroAlongXAndStaysTurnedWhenTurned)
{
    TFrame2D frame(1, P(1, 2), P(5, 4));
    frame.Layer = 5;
    TChain list;
    FrameToElements(frame, list);
    ExpectElements(list, {{1, 2, 5, 2, 0}, {5, 2, 5, 4, 0}, {5, 4, 1, 4, 0}, {1, 4, 1, 2, 0}});
    ExpectLayer(list, 5);

    const TTransform2D turn = MakeRotation2D(Radians(30));
    frame.SetModelTransform(turn);
    list.clear();
    FrameToElements(frame, list);
    const auto turned = [&](float x, float y) {
        return Point2DToVect(CartesianPoint2D(ApplyTransform2D(P(x, y), turn)));
    };
    const TVect c[] = {turned(1, 2), turned(5, 2), turned(5, 4), turned(1, 4)};
    ExpectElements(list,
                   {{c[0].X, c[0].Y, c[1].X, c[1].Y, 0},
                    {c[1].X, c[1].Y, c[2].X, c[2].Y, 0},
                    {c[2].X, c[2].Y, c[3].X, c[3].Y, 0},
                    {c[3].X, c[3].Y, c[0].X, c[0].Y, 0}},
                   SINGLE_TOLERANCE);
}

TEST_F(EntityToElementsTest, CurveIsOneLinePerPairOfProfilePoints)
{
    for (const std::uint8_t savingType : {0, 1}) {
        SCOPED_TRACE(testing::Message() << "saving type " << int(savingType));
        TEllipse2D ellipse(1, P(0, 0), P(40, 20));
        ellipse.SetCurvePrecision(4);
        ellipse.SetSavingPoints(savingType);
        ellipse.SetModelTransform(MakeTranslation2D(1, 1));
        ellipse.UpdateExtension();
        ellipse.Layer = 6;
        TChain list;
        CurveToElements(ellipse, list);
        ExpectElements(list, {{41, 11, 21, 1, 0}, {21, 1, 1, 11, 0}, {1, 11, 21, 21, 0}, {21, 21, 41, 11, 0}},
                       SINGLE_TOLERANCE);
        ExpectLayer(list, 6);
        EXPECT_EQ(ellipse.HasProfile(), savingType == 1) << "the profile use is released";
    }
    TEllipse2D flat(1, P(0, 0), P(40, 20));
    flat.SetCurvePrecision(0);
    flat.UpdateExtension();
    TChain list;
    CurveToElements(flat, list);
    EXPECT_TRUE(list.empty());
}

TEST_F(EntityToElementsTest, DrawnSquareOffsetOutwardsGetsArcsAroundItsCorners)
{
    TPolygon2D square(1, std::vector<TPoint2D>{P(0, 0), P(10, 0), P(10, 10), P(0, 10)});
    square.SetModelTransform(MakeTranslation2D(20, 30));
    TChain chain;
    PolylineToElements(square, chain);
    ASSERT_NEAR(ChainSignedArea(chain), 100.0, GEOMETRY_TOLERANCE);
    TChain offset;
    OffsetChain(chain, offset, -1.0);
    ASSERT_TRUE(SplitAtIntersections(offset));
    const double q = BulgeOfSweepDegrees(90);
    ExpectElements(offset, {{20, 29, 30, 29, 0},
                            {30, 29, 31, 30, q},
                            {31, 30, 31, 40, 0},
                            {31, 40, 30, 41, q},
                            {30, 41, 20, 41, 0},
                            {20, 41, 19, 40, q},
                            {19, 40, 19, 30, 0},
                            {19, 30, 20, 29, q}});
    const TVect corners[] = {{30, 30}, {30, 40}, {20, 40}, {20, 30}};
    for (int k = 0; k < 4; ++k) {
        TVect centre;
        double radius = 0.0;
        BulgeArcCentre(offset[2 * k + 1], centre, radius);
        EXPECT_NEAR(centre.X, corners[k].X, GEOMETRY_TOLERANCE);
        EXPECT_NEAR(centre.Y, corners[k].Y, GEOMETRY_TOLERANCE);
        EXPECT_NEAR(radius, 1.0, GEOMETRY_TOLERANCE);
    }
}

// Placing a drawing (moving, turning, resizing it whole) composes onto the
// objects' current transforms; the toolpath must follow the drawing where it
// is shown, so the current transform counts as much as the model transform.
TEST_F(EntityToElementsTest, CurrentTransformCountsLikeTheModelTransform)
{
    const TTransform2D model = MakeTranslation2D(5, -3);
    const TTransform2D placed = Then(MakeRotation2D(Radians(30)), MakeScale2D(2, 2));
    const auto convert = [&](TObject2D& shape, bool split) {
        if (split) {
            shape.SetModelTransform(model);
            shape.ComposeTransform(placed);
        } else {
            shape.SetModelTransform(Then(model, placed));
        }
        TChain list;
        if (auto* line = dynamic_cast<TLine2D*>(&shape))
            LineToElements(*line, list);
        else if (auto* polyline = dynamic_cast<TPolyline2D*>(&shape))
            PolylineToElements(*polyline, list);
        else if (auto* circle = dynamic_cast<TCerchio2D*>(&shape))
            CircleToElements(*circle, list);
        else if (auto* arc = dynamic_cast<TArco2D*>(&shape))
            ArcToElements(*arc, list);
        else if (auto* frame = dynamic_cast<TFrame2D*>(&shape))
            FrameToElements(*frame, list);
        else if (auto* curve = dynamic_cast<TCurve2D*>(&shape))
            CurveToElements(*curve, list);
        return list;
    };
    const auto shapes = [] {
        std::vector<std::unique_ptr<TObject2D>> list;
        list.push_back(std::make_unique<TLine2D>(1, P(1, 2), P(4, 6)));
        list.push_back(std::make_unique<TPolygon2D>(1, std::vector<TPoint2D>{P(0, 0), P(10, 0), P(10, 10)}));
        list.push_back(std::make_unique<TCerchio2D>(1, P(5, 5), P(8, 9)));
        list.push_back(std::make_unique<TArco2D>(1, P(2, 1), P(12, 1), Radians(20), Radians(220)));
        list.push_back(std::make_unique<TFrame2D>(1, P(1, 2), P(5, 4)));
        auto ellipse = std::make_unique<TEllipse2D>(1, P(0, 0), P(40, 20));
        ellipse->SetCurvePrecision(4);
        list.push_back(std::move(ellipse));
        return list;
    };
    auto plain = shapes();
    auto composed = shapes();
    for (std::size_t k = 0; k < plain.size(); ++k) {
        SCOPED_TRACE(plain[k]->ClassName());
        const TChain expected = convert(*plain[k], false);
        ASSERT_FALSE(expected.empty());
        std::vector<TExpected> rows;
        for (const TChainElement& e : expected)
            rows.push_back({e.X1, e.Y1, e.X2, e.Y2, e.Bulge});
        ExpectElements(convert(*composed[k], true), rows, SINGLE_TOLERANCE);
    }
}
