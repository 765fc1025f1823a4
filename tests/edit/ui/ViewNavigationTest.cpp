#include <gtest/gtest.h>

#include <cmath>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>
#include <QWheelEvent>

#include "app/CommandCode.h"
#include "app/ui/frmMain.h"
#include "cad/base/Settings.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/SelectArea.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/ui/CADViewport.h"
#include "cad/view/ScreenCursor.h"
#include "edit/commands/ViewNavigation.h"

namespace {

// A shown main window with a view of 0..400 by 0..300 world units.
class ViewNavigation : public testing::Test {
protected:
    void SetUp() override
    {
        CommandCode = kCommandNone;
        SetScreenCursor(crDefault);
        Frm.resize(1000, 700);
        Frm.show();
        QApplication::processEvents();
        View().SetAspectRatio(1.0f);
        View().ZoomWindow(MakeRect2D(0, 0, 400, 300));
    }

    TCADViewport2DCore& View() { return Frm.VistaGrafica->Core2D(); }

    TPoint2D WorldAt(QPoint at)
    {
        return CartesianPoint2D(View().ScreenToWorld(MakePoint2D(float(at.x()), float(at.y()))));
    }

    float VisibleWidth() { return View().VisualRect().SecondEdge.X - View().VisualRect().FirstEdge.X; }

    void Wheel(QPoint at, int delta)
    {
        QWheelEvent event(at, Frm.VistaGrafica->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Frm.VistaGrafica, &event);
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers)
    {
        QMouseEvent event(type, at, Frm.VistaGrafica->mapToGlobal(at), button, held, modifiers);
        QApplication::sendEvent(Frm.VistaGrafica, &event);
    }

    void Drag(QPoint at, Qt::KeyboardModifiers modifiers)
    {
        Mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton, modifiers);
    }

    bool ZoomItemsEnabled()
    {
        Frm.LocalPopUpPopup();
        const QAction* items[] = {Frm.mnuZoomWindow, Frm.mnuZoomIn, Frm.mnuZoomOut, Frm.mnuAutozoom, Frm.mnuPan};
        int enabled = 0;
        for (const QAction* item : items)
            enabled += item->isEnabled() ? 1 : 0;
        EXPECT_TRUE(enabled == 0 || enabled == 5) << "the five view items go together";
        return enabled == 5;
    }

    TfrmMain Frm;
};

TEST_F(ViewNavigation, WheelZoomsAboutThePointUnderThePointer)
{
    const QPoint at(150, 420);
    const TPoint2D before = WorldAt(at);
    const float width = VisibleWidth();
    const float pixel = View().GetPixelAperture().X;

    Wheel(at, 120);
    EXPECT_NEAR(VisibleWidth(), width / 2, width * 1e-4f);
    TPoint2D after = WorldAt(at);
    EXPECT_NEAR(after.X, before.X, pixel / 2) << "a zoom-in step keeps the point under the pointer";
    EXPECT_NEAR(after.Y, before.Y, pixel / 2);

    // Half notches of a fine wheel add up to one step.
    Wheel(at, -60);
    EXPECT_NEAR(VisibleWidth(), width / 2, width * 1e-4f);
    Wheel(at, -60);
    EXPECT_NEAR(VisibleWidth(), width * 0.75f, width * 1e-4f);
    after = WorldAt(at);
    EXPECT_NEAR(after.X, before.X, pixel / 2) << "and so does a zoom-out step";
    EXPECT_NEAR(after.Y, before.Y, pixel / 2);

    // The buttons step about the middle; the extent frames the whole drawing.
    Frm.LocalCad().AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(-500, -20), MakePoint2D(900, 640)));
    Frm.sbtZoomIn->click();
    EXPECT_NEAR(VisibleWidth(), width * 0.375f, width * 1e-4f);
    Frm.sbtAutozoom->click();
    const TRect2D shown = View().VisualRect();
    EXPECT_LE(shown.FirstEdge.X, -500);
    EXPECT_LE(shown.FirstEdge.Y, -20);
    EXPECT_GE(shown.SecondEdge.X, 900);
    EXPECT_GE(shown.SecondEdge.Y, 640);
}

TEST_F(ViewNavigation, CtrlDragZoomsOnceEveryTwentyPixels)
{
    const float width = VisibleWidth();
    Mouse(QEvent::MouseButtonPress, {400, 300}, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    Drag({385, 300}, Qt::ControlModifier);
    EXPECT_EQ(VisibleWidth(), width) << "15 pixels change nothing";
    Drag({375, 300}, Qt::ControlModifier);
    EXPECT_NEAR(VisibleWidth(), width / 2, width * 1e-4f) << "25 pixels to the left zoom in once";
    Drag({360, 300}, Qt::ControlModifier);
    EXPECT_NEAR(VisibleWidth(), width / 2, width * 1e-4f) << "counted from where the step was taken";
    Drag({400, 300}, Qt::ControlModifier);
    EXPECT_NEAR(VisibleWidth(), width * 0.75f, width * 1e-4f) << "to the right it zooms out";
    Mouse(QEvent::MouseButtonRelease, {400, 300}, Qt::LeftButton, Qt::NoButton, Qt::ControlModifier);
}

TEST_F(ViewNavigation, ShiftDragPansWithThePointerAndShowsThePanButton)
{
    UnitsMode = 0;
    Mouse(QEvent::MouseMove, {100, 100}, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    const TPoint2D grabbed = WorldAt({100, 100});
    EXPECT_EQ(Frm.nol_pnlStatus1->text(),
              QStringLiteral("X: %1 Y: %2").arg(grabbed.X, 6, 'f', 3).arg(grabbed.Y, 6, 'f', 3));

    Mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_TRUE(Frm.PanDragActive);
    EXPECT_TRUE(Frm.sbtPan->isChecked());
    EXPECT_EQ(ScreenCursor(), crPan);
    Drag({130, 90}, Qt::ShiftModifier);
    Drag({160, 140}, Qt::ShiftModifier);
    const TPoint2D now = WorldAt({160, 140});
    const float pixel = View().GetPixelAperture().X;
    EXPECT_NEAR(now.X, grabbed.X, pixel) << "the drawing follows the pointer";
    EXPECT_NEAR(now.Y, grabbed.Y, pixel);
    Mouse(QEvent::MouseButtonRelease, {160, 140}, Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_FALSE(Frm.PanDragActive);
    EXPECT_FALSE(Frm.sbtPan->isChecked());
    EXPECT_EQ(ScreenCursor(), crDefault);

    // Inches show four decimals.
    UnitsMode = 1;
    Mouse(QEvent::MouseMove, {100, 100}, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    EXPECT_TRUE(Frm.nol_pnlStatus1->text().contains(QString::number(WorldAt({100, 100}).X, 'f', 4)));
    UnitsMode = 0;
}

TEST_F(ViewNavigation, PanAndZoomWindowRunOnTopOfACommandAndLockTheViewItems)
{
    EXPECT_TRUE(ZoomItemsEnabled());

    // Pan from idle: its button, cursor and code, until it is accepted.
    Frm.sbtPan->click();
    EXPECT_EQ(CommandCode, 51);
    EXPECT_TRUE(Frm.sbtPan->isChecked());
    EXPECT_EQ(ScreenCursor(), crPan);
    EXPECT_FALSE(ZoomItemsEnabled());
    Frm.LocalPrg().SendUserEvent(CADPRG_ACCEPT);
    EXPECT_FALSE(Frm.sbtPan->isChecked());
    EXPECT_FALSE(Frm.PanButtonActive);
    EXPECT_EQ(ScreenCursor(), crDefault);
    EXPECT_EQ(CommandCode, kCommandNone);
    EXPECT_TRUE(ZoomItemsEnabled());

    // A zoom window nested in a running command gives the command back, code and all.
    CommandCode = 21;
    Frm.LocalPrg().StartOperation(TCADStateClass::Of<TCADPrgSelectArea>(),
                                  std::make_unique<TCADPrgSelectAreaParam>(TCADStateClass(), nullptr));
    EXPECT_TRUE(ZoomItemsEnabled());
    Frm.mnuZoomWindow->trigger();
    EXPECT_TRUE(Frm.LocalPrg().IsSuspended());
    EXPECT_TRUE(Frm.sbtZoomWin->isChecked());
    EXPECT_EQ(CommandCode, 52);
    EXPECT_FALSE(ZoomItemsEnabled());
    // Nothing nests inside it: the pan button stays up.
    Frm.sbtPan->click();
    EXPECT_FALSE(Frm.sbtPan->isChecked());
    EXPECT_EQ(CommandCode, 52);

    Mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    Mouse(QEvent::MouseButtonPress, {300, 250}, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    EXPECT_FALSE(Frm.LocalPrg().IsSuspended()) << "two corners end the zoom window";
    EXPECT_TRUE(Frm.LocalPrg().IsBusy()) << "the command goes on";
    EXPECT_FALSE(Frm.sbtZoomWin->isChecked());
    EXPECT_EQ(CommandCode, 21);
    EXPECT_TRUE(ZoomItemsEnabled());
    Frm.LocalPrg().StopOperation();

    // In the 3D mode zoom window only lets its button go.
    Frm.View3DMode = true;
    Frm.sbtZoomWin->click();
    EXPECT_FALSE(Frm.sbtZoomWin->isChecked());
    EXPECT_FALSE(Frm.LocalPrg().IsBusy());
    Frm.View3DMode = false;
}

TEST_F(ViewNavigation, GridButtonSwitchesTheViewsGrid)
{
    Frm.sbtGridOnOff->click();
    EXPECT_TRUE(View().ShowGrid());
    Frm.sbtGridOnOff->click();
    EXPECT_FALSE(View().ShowGrid());
}

TEST(Autozoom3D, FramesTheToolpathOnlyWhenItHasASize)
{
    const TVector3 camera{0, -10, 10};
    const TVector3 cube{0, 0, 0};
    EXPECT_FALSE(Autozoom3D({{5, 5, 1}, {5, 5, 1}}, camera, cube)) << "no toolpath: a single point";
    EXPECT_FALSE(Autozoom3D({{0, 0, 0}, {NAN, 1, 1}}, camera, cube));
    EXPECT_FALSE(Autozoom3D({{0, 0, 0}, {INFINITY, 1, 1}}, camera, cube));
    EXPECT_FALSE(Autozoom3D({{0, 0, 0}, {3, 4, 0}}, {0, 0, 0}, cube)) << "a camera on its cube has no direction";

    const std::optional<TCamera3D> framed = Autozoom3D({{0, 0, -2}, {6, 8, 0}}, camera, cube);
    ASSERT_TRUE(framed);
    const float d = std::sqrt(36.0f + 64.0f + 4.0f);
    EXPECT_FLOAT_EQ(framed->Cube.X, 3);
    EXPECT_FLOAT_EQ(framed->Cube.Y, 4);
    EXPECT_FLOAT_EQ(framed->Cube.Z, -1);
    const float k = 2 * d / std::sqrt(200.0f);
    EXPECT_NEAR(framed->Camera.X, 3, 1e-5);
    EXPECT_NEAR(framed->Camera.Y, 4 - 10 * k, 1e-4);
    EXPECT_NEAR(framed->Camera.Z, -1 + 10 * k, 1e-4);
    EXPECT_FLOAT_EQ(framed->SceneScale, 100 / d);
    EXPECT_FLOAT_EQ(framed->DepthOfView, 100 * d);

    // Straight above the target, the camera moves a hair off the vertical.
    const std::optional<TCamera3D> above = Autozoom3D({{0, 0, 0}, {2, 2, 1}}, {0, 0, 5}, cube);
    ASSERT_TRUE(above);
    EXPECT_NEAR(above->Camera.Y, 1 - 0.0001f, 1e-6);

    // Panned far from the origin, the camera still lands at twice the
    // diagonal from the centre, not on it.
    const std::optional<TCamera3D> panned =
        Autozoom3D({{0, 0, -2}, {6, 8, 0}}, {1e6f, 1e6f - 10, 10}, {1e6f, 1e6f, 0});
    ASSERT_TRUE(panned);
    EXPECT_NEAR(panned->Camera.Y, 4 - 10 * k, 1e-4);
    EXPECT_NEAR(panned->Camera.Z, -1 + 10 * k, 1e-4);
}

} // namespace
