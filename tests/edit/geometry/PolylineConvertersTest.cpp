#include <gtest/gtest.h>

#include <cmath>

#include "cad/engine/EngineHooks.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Polyline2D.h"
#include "edit/geometry/PolylineConverters.h"

namespace {

void ExpectPoints(const TPolyline2D& poly, std::initializer_list<std::pair<float, float>> expected)
{
    ASSERT_EQ(poly.PointCount(), static_cast<int>(expected.size()));
    int i = 0;
    for (auto [x, y] : expected) {
        EXPECT_NEAR((*poly.Points())[i].X, x, 1e-4) << "point " << i;
        EXPECT_NEAR((*poly.Points())[i].Y, y, 1e-4) << "point " << i;
        ++i;
    }
}

} // namespace

TEST(PolylineConverters, FrameBecomesClosedFivePointRunInWorldCoordinates)
{
    TFrame2D frame(7, MakePoint2D(1, 2), MakePoint2D(4, 6));
    ExpectPoints(*FrameToPolyline(frame), {{1, 2}, {1, 6}, {4, 6}, {4, 2}, {1, 2}});

    // A moved frame gives its world corners, and the frame itself is untouched.
    frame.SetModelTransform(MakeTranslation2D(10, -1));
    auto moved = FrameToPolyline(frame);
    ExpectPoints(*moved, {{11, 1}, {11, 5}, {14, 5}, {14, 1}, {11, 1}});
    EXPECT_TRUE(moved->IsClosed());
    EXPECT_FALSE(moved->HasTransform());
    EXPECT_EQ((*frame.Points())[0].X, 1.0f);
}

TEST(PolylineConverters, CurvesFollowTheirProfileWithTransformApplied)
{
    TCerchio2D circle(1, MakePoint2D(0, 0), MakePoint2D(2, 0));
    circle.SetModelTransform(MakeTranslation2D(5, 5));
    TArco2D arc(2, MakePoint2D(0, 0), MakePoint2D(1, 0), 0.0f, static_cast<float>(M_PI / 2));
    const TPoint2D control[] = {MakePoint2D(0, 0), MakePoint2D(1, 2), MakePoint2D(3, 2), MakePoint2D(4, 0)};
    TBSpline2D spline(3, control);
    // Splines drawn without a kept profile must still convert.
    spline.SetSavingPoints(0);

    struct Case {
        TCurve2D* curve;
        TPoint2D centre;
        float radius; // 0: not on a circle
    };
    for (const Case& c : {Case{&circle, MakePoint2D(5, 5), 2}, Case{&arc, MakePoint2D(0, 0), 1},
                          Case{&spline, MakePoint2D(0, 0), 0}}) {
        SCOPED_TRACE(c.curve->ClassName());
        auto poly = CurveToPolyline(*c.curve);
        TProfileUse use(*c.curve);
        ASSERT_EQ(poly->PointCount(), c.curve->ProfilePointCount());
        ASSERT_GT(poly->PointCount(), 3);
        for (int i = 0; i < poly->PointCount(); ++i) {
            const TPoint2D p = (*poly->Points())[i];
            const TPoint2D q = ApplyTransform2D(c.curve->ProfilePoints()[i], c.curve->GetTransform());
            EXPECT_NEAR(p.X, q.X, 1e-5);
            EXPECT_NEAR(p.Y, q.Y, 1e-5);
            if (c.radius > 0) {
                EXPECT_NEAR(std::hypot(p.X - c.centre.X, p.Y - c.centre.Y), c.radius, 1e-4);
            }
        }
    }
    EXPECT_TRUE(CurveToPolyline(circle)->IsClosed());
    EXPECT_FALSE(spline.HasProfile());
}

TEST(PolylineConverters, InstalledAsTheEngineHooks)
{
    EngineHooks().CurveToPolyline = nullptr;
    EngineHooks().FrameToPolyline = nullptr;
    InstallPolylineConverters();
    TFrame2D frame(1, MakePoint2D(0, 0), MakePoint2D(1, 1));
    ASSERT_TRUE(EngineHooks().FrameToPolyline);
    EXPECT_EQ(EngineHooks().FrameToPolyline(frame)->PointCount(), 5);
    ASSERT_TRUE(EngineHooks().CurveToPolyline);
    EXPECT_EQ(EngineHooks().CurveToPolyline(frame)->PointCount(), 5);
    EngineHooks().CurveToPolyline = nullptr;
    EngineHooks().FrameToPolyline = nullptr;
}
