#include <gtest/gtest.h>

#include <memory>
#include <functional>
#include <numbers>
#include <vector>

#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/EngineGlobals.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"
#include "cad/shapes/Text2D.h"
#include "cad/view/ScreenCursor.h"
#include "support/ViewportTestSupport.h"

using viewtest::MakeView;

namespace {

// A 100 x 100 window on (0, 0)-(100, 100): the snap aperture of 10 pixels is 10 units.
class Snap : public testing::Test {
protected:
    void SetUp() override
    {
        View = MakeView(100, 100, MakeRect2D(0, 0, 100, 100));
        View->SetCADCmp2D(&Drawing);
        Engine.SetViewport2D(View.get());
        SnapMode = SNAP_OFF;
        ObjectSnapActive = true;
        SetScreenCursor(crDefault);
    }
    void TearDown() override
    {
        SnapMode = SNAP_OFF;
        ObjectSnapActive = false;
        SetScreenCursor(crDefault);
        Engine.SetViewport2D(nullptr);
    }

    TPoint2D SnapAt(float x, float y)
    {
        Engine.SetCurrentPoint(MakePoint2D(x, y));
        TPoint2D p{-1, -1, 0};
        Engine.SnapPoint(p);
        return p;
    }

    TCADCmp2D Drawing;
    std::unique_ptr<TCADViewport2DCore> View;
    TCADPrg2D Engine;
};

struct TCase {
    const char* Label;
    int Mode;
    TPoint2D Pointer;
    bool Moved;
    TPoint2D Expected;
    int Cursor; // crDefault: unchanged
};

void RunTable(const std::vector<TCase>& cases, const std::function<TPoint2D(float, float)>& snapAt)
{
    for (const TCase& c : cases) {
        SetScreenCursor(crDefault);
        SnapMode = c.Mode;
        const TPoint2D p = snapAt(c.Pointer.X, c.Pointer.Y);
        const TPoint2D expected = c.Moved ? c.Expected : c.Pointer;
        EXPECT_NEAR(p.X, expected.X, 1e-3) << c.Label;
        EXPECT_NEAR(p.Y, expected.Y, 1e-3) << c.Label;
        EXPECT_EQ(ScreenCursor(), c.Cursor) << c.Label;
    }
}

TPoint2D P(float x, float y)
{
    return MakePoint2D(x, y);
}

} // namespace

TEST_F(Snap, GridRoundsHalvesToEvenAndSkipsAZeroStep)
{
    Engine.UseSnap = true;
    TPoint2D p = SnapAt(12.5f, 25.0f);
    EXPECT_FLOAT_EQ(p.X, 10.0f);
    EXPECT_FLOAT_EQ(p.Y, 20.0f) << "2.5 steps round to 2";
    p = SnapAt(35.0f, -15.0f);
    EXPECT_FLOAT_EQ(p.X, 40.0f);
    EXPECT_FLOAT_EQ(p.Y, -20.0f);
    Engine.XSnap = 0.0f;
    p = SnapAt(12.3f, 26.0f);
    EXPECT_FLOAT_EQ(p.X, 12.3f) << "no X step: X stays";
    EXPECT_FLOAT_EQ(p.Y, 30.0f);
    Engine.UseSnap = false;
    p = SnapAt(12.3f, 26.0f);
    EXPECT_FLOAT_EQ(p.Y, 26.0f);
}

TEST_F(Snap, PointsAndLines)
{
    Drawing.AddObject(-1, std::make_unique<TPunto2D>(0, P(20, 20)));
    Drawing.AddObject(-1, std::make_unique<TLine2D>(0, P(50, 60), P(90, 60)));
    RunTable(
             {
                 {"point, point mode", SNAP_POINT, P(22, 23), true, P(20, 20), crPoint},
                 {"point, auto", SNAP_AUTO, P(22, 23), true, P(20, 20), crPoint},
                 {"point, end point mode", SNAP_ENDPOINT, P(22, 23), false, {}, crNoSnap},
                 {"point, centre mode", SNAP_CENTRE, P(22, 23), false, {}, crNoSnap},
                 {"line, nearer end", SNAP_ENDPOINT, P(55, 62), true, P(50, 60), crEndPoint},
                 {"line, equidistant: second end", SNAP_ENDPOINT, P(70, 62), true, P(90, 60), crEndPoint},
                 {"line, midpoint", SNAP_MIDPOINT, P(55, 62), true, P(70, 60), crMidPoint},
                 {"line, centre mode: nothing", SNAP_CENTRE, P(55, 62), false, {}, crDefault},
                 {"line, point mode: nothing", SNAP_POINT, P(55, 62), false, {}, crDefault},
                 {"line, auto: nearest is the end", SNAP_AUTO, P(54, 61), true, P(50, 60), crEndPoint},
                 {"line, auto: nearest is the midpoint", SNAP_AUTO, P(68, 61), true, P(70, 60), crMidPoint},
                 // (60, 60) is 10 from the first end and 10 from the midpoint: the end wins.
                 {"line, auto: end before midpoint", SNAP_AUTO, P(60, 60), true, P(50, 60), crEndPoint},
                 {"nothing under the pointer", SNAP_ENDPOINT, P(20, 80), false, {}, crNoSnap},
             },
             [this](float x, float y) { return SnapAt(x, y); });
}

TEST_F(Snap, PolylinesAndCurvesSnapOnlyToTheControlPointHit)
{
    const TPoint2D v[] = {P(10, 10), P(10, 40), P(40, 40)};
    Drawing.AddObject(-1, std::make_unique<TPolyline2D>(0, v));
    Drawing.AddObject(-1, std::make_unique<TFrame2D>(0, P(60, 10), P(90, 40)));
    RunTable(
             {
                 {"polyline, control point", SNAP_ENDPOINT, P(12, 38), true, P(10, 40), crEndPoint},
                 {"polyline, auto", SNAP_AUTO, P(38, 38), true, P(40, 40), crEndPoint},
                 {"polyline, on the outline only", SNAP_ENDPOINT, P(10, 25), false, {}, crNoSnap},
                 {"polyline, centre mode", SNAP_CENTRE, P(12, 38), false, {}, crDefault},
                 {"polyline, midpoint mode", SNAP_MIDPOINT, P(12, 38), false, {}, crDefault},
                 {"frame, control point", SNAP_ENDPOINT, P(88, 38), true, P(90, 40), crEndPoint},
                 {"frame, outline only", SNAP_ENDPOINT, P(75, 10), false, {}, crNoSnap},
             },
             [this](float x, float y) { return SnapAt(x, y); });
}

TEST_F(Snap, CirclesAndArcs)
{
    Drawing.AddObject(-1, std::make_unique<TCerchio2D>(0, P(30, 30), P(45, 30)));
    Drawing.AddObject(-1, std::make_unique<TArco2D>(0, P(70, 70), P(90, 70), 0.0f,
                                                    std::numbers::pi_v<float> / 2));
    RunTable(
             {
                 {"circle, end point mode", SNAP_ENDPOINT, P(30, 44), true, P(45, 30), crEndPoint},
                 {"circle, midpoint mode", SNAP_MIDPOINT, P(30, 44), true, P(15, 30), crMidPoint},
                 {"circle, centre", SNAP_CENTRE, P(30, 44), true, P(30, 30), crCentre},
                 {"circle, point mode", SNAP_POINT, P(30, 44), false, {}, crDefault},
                 {"circle, auto near the right", SNAP_AUTO, P(43, 33), true, P(45, 30), crEndPoint},
                 {"circle, auto near the left", SNAP_AUTO, P(17, 27), true, P(15, 30), crMidPoint},
                 {"arc, nearer end", SNAP_ENDPOINT, P(88, 74), true, P(90, 70), crEndPoint},
                 {"arc, other end", SNAP_ENDPOINT, P(74, 88), true, P(70, 90), crEndPoint},
                 {"arc, centre", SNAP_CENTRE, P(88, 74), true, P(70, 70), crCentre},
                 {"arc, midpoint mode: nothing", SNAP_MIDPOINT, P(88, 74), false, {}, crDefault},
                 {"arc, auto", SNAP_AUTO, P(84, 82), true, P(90, 70), crEndPoint},
             },
             [this](float x, float y) { return SnapAt(x, y); });
}

TEST_F(Snap, ATurnedArcSnapsToItsEndsWhereTheyAreDrawn)
{
    auto arc = std::make_unique<TArco2D>(0, P(50, 50), P(70, 50), 0.0f, std::numbers::pi_v<float> / 2);
    // A quarter turn about the centre: the stored angles no longer say where the ends are.
    const TTransform2D turn = MultiplyTransforms2D(
        MultiplyTransforms2D(MakeTranslation2D(-50, -50), MakeRotation2D(std::numbers::pi_v<float> / 2)),
        MakeTranslation2D(50, 50));
    arc->SetModelTransform(turn);
    arc->UpdateExtension();
    Drawing.AddObject(-1, std::move(arc));
    const TPoint2D start = CartesianPoint2D(ApplyTransform2D(P(70, 50), turn));
    const TPoint2D end = CartesianPoint2D(ApplyTransform2D(P(50, 70), turn));
    ASSERT_GT(Point2DDistance(start, P(70, 50)), 1.0) << "the turn moves the start";
    SnapMode = SNAP_ENDPOINT;
    for (const TPoint2D expected : {start, end}) {
        const TPoint2D p = SnapAt(expected.X + 1, expected.Y + 1);
        EXPECT_NEAR(p.X, expected.X, 1e-3);
        EXPECT_NEAR(p.Y, expected.Y, 1e-3);
    }
}

TEST_F(Snap, AClockwiseArcSnapsToItsEndsWhereTheyAreDrawn)
{
    auto arc = std::make_unique<TArco2D>(0, P(50, 50), P(70, 50), 0.0f, std::numbers::pi_v<float> / 2);
    arc->SetDirection(0);
    Drawing.AddObject(-1, std::move(arc));
    SnapMode = SNAP_ENDPOINT;
    // The outline runs from (70, 50) to (50, 70), through the lower half.
    const TPoint2D p = SnapAt(51, 69);
    EXPECT_NEAR(p.X, 50.0f, 1e-3);
    EXPECT_NEAR(p.Y, 70.0f, 1e-3);
}

TEST_F(Snap, ObjectSnapNeedsItsSwitchesAndTheFilterHasTheLastWord)
{
    Drawing.AddObject(-1, std::make_unique<TLine2D>(0, P(50, 60), P(90, 60)));
    SnapMode = SNAP_ENDPOINT;
    ObjectSnapActive = false;
    EXPECT_FLOAT_EQ(SnapAt(55, 62).X, 55.0f) << "not while picking";
    EXPECT_EQ(ScreenCursor(), crDefault);
    ObjectSnapActive = true;
    EXPECT_FLOAT_EQ(SnapAt(55, 62).X, 50.0f);

    // Grid first, then the object under the grid point, then the filter.
    Engine.UseSnap = true;
    Engine.LastPt = P(1, 2);
    TPoint2D lastSeen;
    Engine.SnapFilter = [&lastSeen](TCADPrg2D&, TCADState*, const TPoint2D& last, TPoint2D& snapped) {
        lastSeen = last;
        snapped.Y += 1000;
    };
    const TPoint2D p = SnapAt(88, 63);
    EXPECT_FLOAT_EQ(p.X, 90.0f);
    EXPECT_FLOAT_EQ(p.Y, 1060.0f);
    EXPECT_FLOAT_EQ(lastSeen.X, 1.0f);
}

TEST_F(Snap, OtherShapesShowTheNoSnapCursor)
{
    auto text = std::make_unique<TText2D>();
    text->Points()->Put(0, P(10, 10));
    text->Points()->Put(1, P(40, 40));
    text->UpdateExtension();
    Drawing.AddObject(-1, std::move(text));
    SnapMode = SNAP_AUTO;
    const TPoint2D p = SnapAt(11, 11);
    EXPECT_FLOAT_EQ(p.X, 11.0f);
    EXPECT_EQ(ScreenCursor(), crNoSnap);
}
