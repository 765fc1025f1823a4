#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include <QImage>
#include <QPainter>

#include "cad/drawing/CADCmp2D.h"
#include "cad/shapes/Line2D.h"
#include "support/ViewportTestSupport.h"

using viewtest::MakeView;

namespace {

void ExpectRect(const TRect2D& r, float left, float bottom, float right, float top, const char* label)
{
    EXPECT_FLOAT_EQ(r.FirstEdge.X, left) << label;
    EXPECT_FLOAT_EQ(r.FirstEdge.Y, bottom) << label;
    EXPECT_FLOAT_EQ(r.SecondEdge.X, right) << label;
    EXPECT_FLOAT_EQ(r.SecondEdge.Y, top) << label;
}

// The view is usable: both mappings finite, X growing right and Y up, and
// the visible rectangle finite with some size.
void ExpectUsable(const TCADViewportCore& view, const char* label)
{
    const TTransform2D toScreen = view.GetWorldToScreen();
    const TTransform2D toWorld = view.GetScreenToWorld();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            ASSERT_TRUE(std::isfinite(toScreen.M[r][c])) << label;
            ASSERT_TRUE(std::isfinite(toWorld.M[r][c])) << label;
        }
    EXPECT_GT(toScreen.M[0][0], 0.0f) << label;
    EXPECT_LT(toScreen.M[1][1], 0.0f) << label;
    const TRect2D v = view.VisualRect();
    EXPECT_TRUE(std::isfinite(v.FirstEdge.X) && std::isfinite(v.SecondEdge.X)) << label;
    EXPECT_LT(v.FirstEdge.X, v.SecondEdge.X) << label;
    EXPECT_LT(v.FirstEdge.Y, v.SecondEdge.Y) << label;
}

} // namespace

TEST(ViewportMapping, PutsTheVisibleRectangleOnTheWindowWithPixelCentres)
{
    const auto view = MakeView(200, 100, MakeRect2D(0, 0, 100, 50));
    const TPoint2D bottomLeft = view->WorldToScreen(MakePoint2D(0, 0));
    const TPoint2D topRight = view->WorldToScreen(MakePoint2D(100, 50));
    EXPECT_FLOAT_EQ(bottomLeft.X, -0.5f);
    EXPECT_FLOAT_EQ(bottomLeft.Y, 99.5f);
    EXPECT_FLOAT_EQ(topRight.X, 199.5f);
    EXPECT_FLOAT_EQ(topRight.Y, -0.5f);
    const TPoint2D back = CartesianPoint2D(view->ScreenToWorld(MakePoint2D(99.5f, 49.5f)));
    EXPECT_NEAR(back.X, 50.0f, 1e-4);
    EXPECT_NEAR(back.Y, 25.0f, 1e-4);
    EXPECT_FLOAT_EQ(view->GetPixelAperture().X, 0.5f);
    EXPECT_FLOAT_EQ(view->GetPixelAperture().Y, 0.5f);
    EXPECT_FLOAT_EQ(view->PixelsToWorld(10), 5.0f);
}

TEST(ViewportMapping, AnAspectRatioWidensTheRectangleOnOneSide)
{
    struct TCase {
        TRect2D Zoom;
        TRect2D Expected;
        const char* Label;
    };
    // Window 200 x 100 with aspect 1: the visible width is always twice the height.
    const TCase cases[] = {
        {MakeRect2D(0, 0, 10, 100), MakeRect2D(0, 0, 200, 100), "tall and narrow: widened to the right"},
        {MakeRect2D(-5, 3, 395, 13), MakeRect2D(-5, 3, 395, 203), "wide and low: raised at the top"},
        {MakeRect2D(0, 0, 20, 10), MakeRect2D(0, 0, 20, 10), "already in proportion"},
    };
    for (const TCase& c : cases) {
        const auto view = MakeView(200, 100, c.Zoom, 1.0f);
        ExpectRect(view->VisualRect(), c.Expected.FirstEdge.X, c.Expected.FirstEdge.Y, c.Expected.SecondEdge.X,
                   c.Expected.SecondEdge.Y, c.Label);
    }
}

TEST(ViewportMapping, ZoomWindowIgnoresRectanglesWithoutWidthOrHeight)
{
    const auto view = MakeView(100, 100, MakeRect2D(0, 0, 100, 100));
    int changes = 0;
    view->OnViewMappingChanged = [&changes] { ++changes; };
    const float nan = std::nanf("");
    const TRect2D ignored[] = {MakeRect2D(10, 10, 10, 50), MakeRect2D(10, 10, 50, 10), MakeRect2D(5, 5, 5, 5),
                               MakeRect2D(nan, 0, 10, 10), MakeRect2D(0, 0, INFINITY, 10)};
    for (const TRect2D& r : ignored) {
        view->ZoomWindow(r);
        ExpectRect(view->VisualRect(), 0, 0, 100, 100, "ignored");
    }
    EXPECT_EQ(changes, 0);
    // Corners in any order are normalised.
    view->ZoomWindow(MakeRect2D(50, 40, 10, 20));
    ExpectRect(view->VisualRect(), 10, 20, 50, 40, "normalised");
    EXPECT_EQ(changes, 1);
}

TEST(ViewportMapping, ZoomInHalvesZoomOutWidensByHalfAndPanShiftsEverySide)
{
    const auto view = MakeView(100, 100, MakeRect2D(0, 0, 100, 100));
    view->ZoomIn();
    ExpectRect(view->VisualRect(), 25, 25, 75, 75, "zoom in halves");
    view->ZoomOut();
    // 0.5 x 1.5: zooming back out does not restore the rectangle.
    ExpectRect(view->VisualRect(), 12.5f, 12.5f, 87.5f, 87.5f, "zoom out 1.5 times");
    view->PanWindow(10, -2.5f);
    ExpectRect(view->VisualRect(), 22.5f, 10, 97.5f, 85, "pan");
}

TEST(ViewportMapping, AWindowWithoutWidthOrHeightKeepsTheViewUsable)
{
    const auto view = MakeView(200, 100, MakeRect2D(0, 0, 100, 100), 1.0f);
    for (const auto& size : {std::pair{0, 100}, std::pair{200, 0}, std::pair{0, 0}}) {
        const TRect2D before = view->VisualRect();
        view->Resize(size.first, size.second);
        ExpectUsable(*view, "collapsed window");
        ExpectRect(view->VisualRect(), before.FirstEdge.X, before.FirstEdge.Y, before.SecondEdge.X,
                   before.SecondEdge.Y, "collapsed window keeps the view");
        view->ZoomIn();
        view->PanWindow(1, 1);
        view->Repaint();
        view->InvalidateView();
        ExpectUsable(*view, "zoomed while collapsed");
    }
    // A zoom asked for while collapsed applies once the window has a size again.
    view->ZoomWindow(MakeRect2D(0, 0, 40, 20));
    view->Resize(200, 100);
    ExpectUsable(*view, "restored");
    ExpectRect(view->VisualRect(), 0, 0, 40, 20, "restored");
}

TEST(ViewportMapping, ZoomStepsNeverMakeTheScaleZeroOrUnusable)
{
    struct TCase {
        TRect2D Start;
        bool ZoomIn;
        const char* Label;
    };
    const TCase cases[] = {
        {MakeRect2D(1e7f, 1e7f, 1e7f + 100, 1e7f + 100), true, "zoom in far from the origin"},
        {MakeRect2D(0, 0, 1e-30f, 1e-30f), true, "zoom in on a tiny rectangle"},
        {MakeRect2D(-100, -100, 100, 100), false, "zoom out until overflow"},
        {MakeRect2D(-1e36f, -1e36f, 1e36f, 1e36f), false, "zoom out of a huge rectangle"},
    };
    for (const TCase& c : cases) {
        const auto view = MakeView(300, 200, c.Start, 1.0f);
        ExpectUsable(*view, c.Label);
        for (int step = 0; step < 400; ++step) {
            if (c.ZoomIn)
                view->ZoomIn();
            else
                view->ZoomOut();
            ExpectUsable(*view, c.Label);
        }
        // The picture can still be made.
        view->Repaint();
    }
}

TEST(ViewportMapping, ZoomToExtensionFramesTheVisibleObjectsOnly)
{
    TCADCmp2D drawing;
    const auto view = MakeView(100, 100, MakeRect2D(0, 0, 100, 100));
    view->SetCADCmp2D(&drawing);

    view->ZoomToExtension();
    ExpectRect(view->VisualRect(), 0, 0, 100, 100, "empty drawing");

    TObject2D* hidden = drawing.AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(500, 500),
                                                                       MakePoint2D(600, 700)));
    hidden->Visible = false;
    view->ZoomToExtension();
    ExpectRect(view->VisualRect(), 0, 0, 100, 100, "only hidden objects");
    ExpectUsable(*view, "only hidden objects");

    drawing.CurrentLayer = 3;
    drawing.AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(-50, -50), MakePoint2D(50, 50)));
    drawing.Layers().GetLayer(3).Visible = false;
    view->ZoomToExtension();
    ExpectRect(view->VisualRect(), 0, 0, 100, 100, "only a hidden layer");

    drawing.CurrentLayer = 0;
    drawing.AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(10, 20), MakePoint2D(50, 30)));
    view->ZoomToExtension();
    // A margin of a twentieth of the larger side on every side.
    ExpectRect(view->VisualRect(), 8, 18, 52, 32, "visible line");
}

TEST(ViewportMapping, FitToDeviceScaleSizesTheViewByTheDevicesMillimetres)
{
    struct TCase {
        int DotsPerMetre;
        float XScale;
        float YScale;
        TRect2D Expected;
        const char* Label;
    };
    // A 100 x 50 window; the device is a 200 x 100 picture.
    const TCase cases[] = {
        {1000, 2.0f, 3.0f, MakeRect2D(10, 20, 210, 170), "1 mm a pixel"},
        {2000, 2.0f, 3.0f, MakeRect2D(10, 20, 110, 95), "half a millimetre a pixel"},
        {1000, 0.0f, 3.0f, MakeRect2D(10, 20, 110, 70), "no X scale: unchanged"},
        {1000, 2.0f, 0.0f, MakeRect2D(10, 20, 110, 70), "no Y scale: unchanged"},
    };
    for (const TCase& c : cases) {
        QImage device(200, 100, QImage::Format_RGB32);
        device.setDotsPerMeterX(c.DotsPerMetre);
        device.setDotsPerMeterY(c.DotsPerMetre);
        QPainter painter(&device);
        TDecorativeCanvas canvas(&painter);
        const auto view = MakeView(100, 50, MakeRect2D(10, 20, 110, 70));
        view->FitToDeviceScale(canvas, c.XScale, c.YScale);
        ExpectRect(view->VisualRect(), c.Expected.FirstEdge.X, c.Expected.FirstEdge.Y, c.Expected.SecondEdge.X,
                   c.Expected.SecondEdge.Y, c.Label);
    }
    // Without a device nothing changes.
    const auto view = MakeView(100, 50, MakeRect2D(10, 20, 110, 70));
    TDecorativeCanvas unbound;
    view->FitToDeviceScale(unbound, 2.0f, 3.0f);
    ExpectRect(view->VisualRect(), 10, 20, 110, 70, "no device");
}
