#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "cad/base/CADExceptions.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Ellipse2D.h"
#include "cad/shapes/Frame2D.h"
#include "support/ExceptionMessage.h"
#include "support/ShapeTestSupport.h"

using namespace shapetest;
using cadtest::MessageOf;

namespace {

constexpr double Pi = std::numbers::pi;

void ExpectPointNear(TPoint2D actual, double x, double y, double tolerance = 1e-4)
{
    EXPECT_NEAR(actual.X, x, tolerance);
    EXPECT_NEAR(actual.Y, y, tolerance);
}

} // namespace

TEST(ShapeProfiles, CircleIsClockwiseWithPrecisionPlusOnePoints)
{
    TCerchio2D circle(1, MakePoint2D(5, 5), MakePoint2D(15, 5));
    const auto profile = ProfileOf(circle);
    ASSERT_EQ(profile.size(), 51u);
    ExpectPointNear(profile.front(), 15, 5);
    ExpectPointNear(profile.back(), 15, 5);
    const double step = 2 * Pi / 50;
    ExpectPointNear(profile[1], 5 + 10 * std::cos(step), 5 - 10 * std::sin(step));
    EXPECT_LT(profile[1].Y, 5.0f) << "the second point lies below the X axis: clockwise";
    ExpectPointNear(profile[25], -5, 5);
    EXPECT_TRUE(circle.IsClosed());
}

TEST(ShapeProfiles, EllipseUsesHalfTheBoxAsRadii)
{
    TEllipse2D ellipse(1, MakePoint2D(0, 0), MakePoint2D(40, 20));
    ellipse.SetCurvePrecision(4);
    ellipse.UpdateExtension();
    const auto profile = ProfileOf(ellipse);
    ASSERT_EQ(profile.size(), 5u);
    ExpectPointNear(profile[0], 40, 10);
    ExpectPointNear(profile[1], 20, -0, 1e-3);
    ExpectPointNear(profile[2], 0, 10);
    ExpectPointNear(profile[3], 20, 20);
    ExpectPointNear(profile[4], 40, 10);
}

TEST(ShapeProfiles, ArcStepsBySweepOverPrecisionPlusOne)
{
    // The last interval is two steps wide: 50 points pi/102 apart, then the end.
    TArc2D arc(1, MakePoint2D(-10, -10), MakePoint2D(10, 10), 0.0f, static_cast<float>(Pi / 2));
    TArco2D arco(2, MakePoint2D(0, 0), MakePoint2D(10, 0), 0.0f, static_cast<float>(Pi / 2));
    for (const TArcCurve2D* curve : {static_cast<const TArcCurve2D*>(&arc), static_cast<const TArcCurve2D*>(&arco)}) {
        SCOPED_TRACE(curve->ClassName());
        const auto profile = ProfileOf(*curve);
        ASSERT_EQ(profile.size(), 51u);
        for (int i = 0; i < 50; ++i)
            ExpectPointNear(profile[static_cast<std::size_t>(i)], 10 * std::cos(i * Pi / 102),
                            10 * std::sin(i * Pi / 102));
        ExpectPointNear(profile.back(), 0, 10);
        ExpectPointNear((*curve->Points())[2], 10, 0);
        ExpectPointNear((*curve->Points())[3], 0, 10);
    }
}

TEST(ShapeProfiles, ArcDirectionZeroMirrorsTheProfile)
{
    TArco2D arco(1, MakePoint2D(0, 0), MakePoint2D(10, 0), 0.0f, static_cast<float>(Pi / 2));
    arco.SetDirection(0);
    // The angles come back from the points with Y mirrored: 0 and -pi/2.
    EXPECT_NEAR(arco.EndAngle(), -Pi / 2, 1e-5);
    const auto profile = ProfileOf(arco);
    ASSERT_EQ(profile.size(), 51u);
    ExpectPointNear(profile[1], 10 * std::cos(3 * Pi / 2 / 51), -10 * std::sin(3 * Pi / 2 / 51));
    EXPECT_LT(profile[1].Y, 0.0f) << "the run turns clockwise from the start";
    ExpectPointNear(profile.back(), 0, 10);
}

TEST(ShapeProfiles, EccentricArcRunsBetweenItsOwnPoints)
{
    // An ellipse twice as wide as high, centre (20, 10), both directions.
    for (const std::uint8_t direction : {std::uint8_t{1}, std::uint8_t{0}}) {
        SCOPED_TRACE(static_cast<int>(direction));
        TArc2D arc(1, MakePoint2D(0, 0), MakePoint2D(40, 20), 0.5f, 2.0f);
        arc.Direction = direction;
        arc.UpdateExtension();
        auto profile = ProfileOf(arc);
        ASSERT_EQ(profile.size(), 51u);
        const TPoint2D start = (*arc.Points())[2];
        const TPoint2D end = (*arc.Points())[3];
        ExpectPointNear(start, 20 + 20 * std::cos(0.5), 10 + 10 * std::sin(0.5));
        ExpectPointNear(profile.front(), start.X, start.Y);
        ExpectPointNear(profile.back(), end.X, end.Y);
        if (direction == 1) {
            EXPECT_NEAR(arc.StartAngle(), 0.5, 1e-5);
            EXPECT_NEAR(arc.EndAngle(), 2.0, 1e-5);
        }

        // A start point placed off the curve: the arc starts where the ray
        // from the centre through it meets the ellipse.
        arc.Points()->SetPoint(2, MakePoint2D(30, 20));
        profile = ProfileOf(arc);
        const double x = profile.front().X - 20.0;
        const double y = profile.front().Y - 10.0;
        EXPECT_NEAR(x * x / 400 + y * y / 100, 1.0, 1e-4) << "on the ellipse";
        EXPECT_NEAR(x * 10 - y * 10, 0.0, 1e-3) << "on the ray through (30, 20)";
        EXPECT_GT(x, 0.0);
    }
}

TEST(ShapeProfiles, EndAngleOfOneTurnGivesTheFullCurve)
{
    TArc2D arc(1, MakePoint2D(0, 0), MakePoint2D(20, 10), 0.0f, static_cast<float>(2 * Pi));
    EXPECT_EQ(arc.EndAngle(), 0.0f);
    const auto profile = ProfileOf(arc);
    ASSERT_EQ(profile.size(), 51u);
    ExpectPointNear(profile.front(), 20, 5);
    ExpectPointNear(profile.back(), 20, 5);
    ExpectPointNear(profile[17], 10 + 10 * std::cos(17 * 2 * Pi / 51), 5 + 5 * std::sin(17 * 2 * Pi / 51));
    EXPECT_TRUE(arc.IsClosed());
}

TEST(ShapeProfiles, FrameIsAClosedFivePointOutlineAtAnyPrecision)
{
    for (const std::int16_t precision : {std::int16_t{1}, std::int16_t{3}, std::int16_t{50}, std::int16_t{32767}}) {
        SCOPED_TRACE(precision);
        TFrame2D frame(1, MakePoint2D(1, 2), MakePoint2D(11, 7));
        frame.SetCurvePrecision(precision);
        frame.UpdateExtension();
        const auto profile = ProfileOf(frame);
        ASSERT_EQ(profile.size(), 5u);
        ExpectPointNear(profile[0], 1, 2);
        ExpectPointNear(profile[1], 1, 7);
        ExpectPointNear(profile[2], 11, 7);
        ExpectPointNear(profile[3], 11, 2);
        ExpectPointNear(profile[4], 1, 2);
        EXPECT_TRUE(frame.IsClosed());
    }
}

TEST(ShapeProfiles, PrecisionOfZeroOrBelowGivesNoProfileAndAnEmptyBox)
{
    // A negative precision once wrapped the profile's capacity.
    for (const std::int16_t precision : {std::int16_t{0}, std::int16_t{-1}, std::int16_t{-32768}}) {
        SCOPED_TRACE(precision);
        TFrame2D frame(1, MakePoint2D(1, 2), MakePoint2D(11, 7));
        TCerchio2D circle(2, MakePoint2D(5, 5), MakePoint2D(15, 5));
        TArc2D arc(3, MakePoint2D(0, 0), MakePoint2D(20, 10), 0.0f, 1.0f);
        const TPoint2D control[] = {MakePoint2D(0, 0), MakePoint2D(5, 5), MakePoint2D(10, 0)};
        TBSpline2D spline(4, control);
        for (TCurve2D* curve : std::initializer_list<TCurve2D*>{&frame, &circle, &arc, &spline}) {
            curve->SetCurvePrecision(precision);
            ASSERT_NO_THROW(curve->UpdateExtension());
            EXPECT_EQ(curve->ProfilePointCount(), 0) << curve->ClassName();
            EXPECT_EQ(curve->Box.SecondEdge.X, 0.0f);
            TShapeRecordingCanvas canvas;
            curve->Draw(FlipView(100), canvas, ScreenClip(100, 100), 0);
            EXPECT_EQ(canvas.Calls(), 0) << curve->ClassName() << " draws nothing";
        }
    }
}

TEST(ShapeProfiles, TransientProfileExistsOnlyWhileInUse)
{
    TCerchio2D circle(1, MakePoint2D(0, 0), MakePoint2D(10, 0));
    ASSERT_TRUE(circle.HasProfile());
    circle.SetSavingPoints(0);
    EXPECT_FALSE(circle.HasProfile());
    EXPECT_EQ(MessageOf<ECADCoreException>([&] { circle.ProfilePoints(); }),
              "TCurve2D: Call BeginUseProfilePoints before accessing the curve points.");
    circle.BeginUseProfilePoints();
    circle.BeginUseProfilePoints();
    EXPECT_EQ(circle.ProfilePointCount(), 51);
    circle.ReleaseProfilePoints();
    EXPECT_TRUE(circle.HasProfile()) << "still in use once";
    circle.ReleaseProfilePoints();
    EXPECT_FALSE(circle.HasProfile());
    EXPECT_NEAR(circle.Box.SecondEdge.X, 10.0f, 1e-4) << "the box survives the profile";

    circle.SetSavingPoints(1);
    EXPECT_TRUE(circle.HasProfile());
    EXPECT_EQ(circle.ProfilePointCount(), 51);
}

TEST(ShapeProfiles, SplineOfFewerPointsThanOrderIsItsControlPolygon)
{
    const TPoint2D two[] = {MakePoint2D(1, 2), MakePoint2D(30, 40)};
    TBSpline2D spline(1, two);
    const auto profile = ProfileOf(spline);
    ASSERT_EQ(profile.size(), 2u);
    ExpectPointNear(profile[0], 1, 2);
    ExpectPointNear(profile[1], 30, 40);
}

TEST(ShapeProfiles, QuadraticSplineIsABezierArc)
{
    const TPoint2D control[] = {MakePoint2D(0, 0), MakePoint2D(10, 20), MakePoint2D(20, 0)};
    TBSpline2D spline(1, control);
    const auto profile = ProfileOf(spline);
    ASSERT_EQ(profile.size(), 201u);
    ExpectPointNear(profile[0], 0, 0);
    ExpectPointNear(profile[100], 10, 10); // t = 1/2: P0/4 + P1/2 + P2/4
    ExpectPointNear(profile[50], 5, 7.5);
    ExpectPointNear(profile[200], 20, 0);
}

TEST(ShapeProfiles, SplineOrderOutsideTheUsableRangeGivesTheControlPolygon)
{
    // Order 0 once recursed without end; an order above the point count is
    // the control polygon as well.
    const TPoint2D control[] = {MakePoint2D(0, 0), MakePoint2D(10, 20), MakePoint2D(20, 0), MakePoint2D(30, 5)};
    for (const int order : {0, 5, 255}) {
        SCOPED_TRACE(order);
        TBSpline2D spline(1, control);
        spline.Order = static_cast<std::uint8_t>(order);
        spline.UpdateExtension();
        const auto profile = ProfileOf(spline);
        ASSERT_EQ(profile.size(), 4u);
        ExpectPointNear(profile[3], 30, 5);
    }
}

TEST(ShapeProfiles, SplineOfHigherOrderStaysOnItsControlHull)
{
    // Order 4: every point lies within the control points' box and the run
    // ends at the last control point, never at the origin.
    std::vector<TPoint2D> control;
    for (int i = 0; i < 7; ++i)
        control.push_back(MakePoint2D(100.0f + 10.0f * i, 100.0f + (i % 2 ? 30.0f : 0.0f)));
    TBSpline2D spline(1, control);
    spline.Order = 4;
    spline.UpdateExtension();
    const auto profile = ProfileOf(spline);
    ASSERT_EQ(profile.size(), 201u);
    ExpectPointNear(profile.front(), 100, 100);
    ExpectPointNear(profile.back(), 160, 100);
    for (const TPoint2D& p : profile) {
        EXPECT_GE(p.X, 99.99f);
        EXPECT_LE(p.X, 160.01f);
        EXPECT_GE(p.Y, 99.99f);
        EXPECT_LE(p.Y, 130.01f);
    }
}

TEST(ShapeProfiles, SplineBasisSumsToOne)
{
    // With every control point at the same place each order must give that place.
    const std::vector<TPoint2D> same(9, MakePoint2D(3, 4));
    for (const int order : {1, 2, 3, 5, 9}) {
        for (const float t : {0.0f, 0.3f, 1.0f, 2.5f}) {
            if (t >= 9 - order + 1)
                continue;
            SCOPED_TRACE(testing::Message() << "order " << order << " t " << t);
            ExpectPointNear(BSplinePoint2D(same, order, t), 3, 4);
        }
    }
}

TEST(ShapeProfiles, LargeSplineOrderStaysCheap)
{
    // The recursion was exponential in the order; the evaluation now is not.
    std::vector<TPoint2D> control;
    for (int i = 0; i < 300; ++i)
        control.push_back(MakePoint2D(static_cast<float>(i), static_cast<float>(i % 7)));
    TBSpline2D spline(1, control);
    spline.Order = 255;
    spline.UpdateExtension();
    EXPECT_EQ(spline.ProfilePointCount(), 201);
}
