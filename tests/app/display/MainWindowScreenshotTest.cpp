#include <filesystem>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include "ProgramTestFolder.h"
#include "app/ui/frmMain.h"

namespace {

int CountPixels(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y) == colour ? 1 : 0;
    return count;
}

} // namespace

using MainWindowOnScreen = ProgramTestFolder;

// The program as it starts for the first time, photographed from the X
// server at a client size of 1000 x 700; the picture is kept for review.
TEST_F(MainWindowOnScreen, FirstStartShowsToolBarsStatusRowAndTheViewWithGridAndAxes)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    TfrmMain& frm = Start();
    frm.resize(1000, 700);
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    QTest::qWait(200);

    const QImage shot = frm.screen()->grabWindow(frm.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), QSize(1000, 700));
    const std::filesystem::path folder(KESTRO_TEST_OUTPUT_DIR);
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(shot.save(QString::fromStdString((folder / "frmMain-xvfb.png").string())));

    // The view (left of the 226-pixel command column) shows the default
    // grey background, the grid and the axes in the grid colour.
    const QRect view(10, 10, 1000 - 237 - 10, 700 - 37 - 10);
    EXPECT_GT(CountPixels(shot, view, QColor(0x80, 0x80, 0x80)), view.width() * view.height() / 2);
    EXPECT_GT(CountPixels(shot, view, QColor(0x00, 0x00, 0x80)), 2000) << "grid and axes in the default navy";
    EXPECT_GT(CountPixels(shot, view, QColor(0xFF, 0xFF, 0x00)), 50) << "the yellow arrows and scale bar";

    // The command column and the status row are not the view.
    const QRect column(1000 - 226, 5, 220, 130);
    EXPECT_EQ(CountPixels(shot, column, QColor(0x80, 0x80, 0x80)), 0);
    EXPECT_TRUE(frm.isVisible());
    EXPECT_EQ(frm.windowTitle().left(6), QStringLiteral("Kestro"));
}

// The 3D mode on: the 3D viewer, with no toolpath yet, lies over the whole
// 2D view and shows the drawing background with the world axes through the
// origin, without the 2D grid.
TEST_F(MainWindowOnScreen, The3DModeShowsTheSceneViewerOverThe2DView)
{
    TfrmMain& frm = Start();
    frm.resize(1000, 700);
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    QWidget* viewer = frm.findChild<QWidget*>(QStringLiteral("GLVistaGrafica"));
    ASSERT_NE(viewer, nullptr);
    EXPECT_FALSE(viewer->isVisible()) << "hidden until the 3D mode is on";
    ASSERT_TRUE(viewer->inherits("TGLSceneViewer")) << "this display has OpenGL";

    frm.ZDepthMode3D(true);
    QTest::qWait(200);
    EXPECT_TRUE(frm.View3DMode);
    EXPECT_TRUE(viewer->isVisible());
    const QWidget* panel = frm.findChild<QWidget*>(QStringLiteral("pnlVistaGrafica"));
    EXPECT_EQ(viewer->geometry(), panel->contentsRect());

    const QImage shot = frm.screen()->grabWindow(frm.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const std::filesystem::path folder(KESTRO_TEST_OUTPUT_DIR);
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(shot.save(QString::fromStdString((folder / "frmMain-3d-xvfb.png").string())));
    const QRect view(10, 10, 1000 - 237 - 10, 700 - 37 - 10);
    // The recently-used bar floats over both views.
    EXPECT_GT(CountPixels(shot, view, QColor(0x80, 0x80, 0x80)), view.width() * view.height() * 98 / 100);
    // The grid gives thousands of navy pixels; the stippled blue Z axis a
    // few of its shades.
    EXPECT_LT(CountPixels(shot, view, QColor(0x00, 0x00, 0x80)), 500) << "no grid: the 2D view is covered";

    frm.ZDepthMode3D(false);
    EXPECT_FALSE(frm.View3DMode);
    EXPECT_FALSE(viewer->isVisible());
}
