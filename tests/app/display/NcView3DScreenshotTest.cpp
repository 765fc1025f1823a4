// The end of the main road in 3D: a frame is contoured and pocketed through
// the CNC pages, the NC page's 3D switch is turned on in the Z-depth window,
// the program is stepped through into the 3D view, which is framed, turned
// with the mouse and seen from the window's views. The pictures are kept.

#include <filesystem>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "CncPagesSupport.h"
#include "ProgramTestFolder.h"
#include "WidgetInput.h"
#include "app/ui/frmMain.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/ui/CADViewport.h"
#include "cam/simulation/NcSimulation.h"
#include "import/ui/SaveDialog.h"
#include "view3d/objects/Cube.h"
#include "view3d/objects/Lines.h"
#include "view3d/scene/GLCamera.h"
#include "view3d/ui/GLSceneViewer.h"
#include "view3d/ui/NcScene3D.h"
#include "view3d/ui/frmZDepth.h"

namespace {

class NcView3D : public ProgramTestFolder {
protected:
    const TCamGlobalsGuard Guard;
};

std::filesystem::path OutputFolder()
{
    const std::filesystem::path folder = std::filesystem::path(KESTRO_TEST_OUTPUT_DIR) / "view3d";
    std::filesystem::create_directories(folder);
    return folder;
}

// The viewer's picture, kept under the name.
QImage Shot(TGLSceneViewer& viewer, const char* name)
{
    QApplication::processEvents();
    const QImage image = viewer.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(image.save(QString::fromStdString((OutputFolder() / name).string())));
    return image;
}

int CountNear(const QImage& image, const QColor& colour, int tolerance = 40)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::abs(c.red() - colour.red()) <= tolerance &&
                             std::abs(c.green() - colour.green()) <= tolerance &&
                             std::abs(c.blue() - colour.blue()) <= tolerance
                         ? 1
                         : 0;
        }
    return count;
}

// The rows that hold the colour, from the first to the last.
int RowsSpanned(const QImage& image, const QColor& colour)
{
    int first = -1;
    int last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= 40 && std::abs(c.green() - colour.green()) <= 40 &&
                std::abs(c.blue() - colour.blue()) <= 40) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
        }
    return first < 0 ? 0 : last - first + 1;
}

void Drag(QWidget* viewer, QPoint from, QPoint to, Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    QMouseEvent press(QEvent::MouseButtonPress, from, viewer->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                      keys);
    QApplication::sendEvent(viewer, &press);
    for (int step = 1; step <= 4; ++step) {
        const QPoint at = from + (to - from) * step / 4;
        QMouseEvent move(QEvent::MouseMove, at, viewer->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, keys);
        QApplication::sendEvent(viewer, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, to, viewer->mapToGlobal(to), Qt::LeftButton, Qt::NoButton, keys);
    QApplication::sendEvent(viewer, &release);
}

} // namespace

TEST_F(NcView3D, APocketProgramSteppedIntoThe3DViewAndTurned)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    WriteFile(QStringLiteral("plate.dxf"), kFramePlateDxf);
    TfrmMain& frm = Start();
    frm.resize(1000, 700);
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    ASSERT_TRUE(frm.OpenFile(Path(QStringLiteral("plate.dxf"))));
    Answer = kIdNo; // keep the contour when leaving the NC page
    ASSERT_NO_FATAL_FAILURE(ContourAndPocketTheFramePlate(frm, Path(QStringLiteral("plate.nc"))));

    // The NC page shows the Z-depth window; its check box turns the 3D view on.
    ASSERT_NE(frmZDepth, nullptr);
    ASSERT_TRUE(frmZDepth->isVisible());
    EXPECT_FALSE(frm.View3DMode);
    QTest::mouseClick(frmZDepth->chk3dview, Qt::LeftButton, {}, QPoint(4, frmZDepth->chk3dview->height() / 2));
    ASSERT_TRUE(frm.View3DMode);
    auto* viewer = qobject_cast<TGLSceneViewer*>(frm.GLVistaGrafica);
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(frmZDepth->sbtIsoView->isEnabled());

    // Step through the whole program: the moves go into the 3D toolpath.
    const QImage before = frm.VistaGrafica->Core2D().WindowImage();
    const int lines = frm.ricIso->document()->blockCount();
    ASSERT_GT(lines, 50);
    NcSimulation.CurrentLine = 0;
    for (int k = 0; k < lines; ++k)
        frm.sbtIsoStep->click();
    const int nodes = frm.Scene3D->GLCncMov.Nodes().Count();
    EXPECT_GT(nodes, 40);
    EXPECT_EQ(frm.VistaGrafica->Core2D().WindowImage(), before) << "nothing is drawn in 2D in the 3D mode";

    // Framed by the autozoom button, the toolpath fills the view from the iso view.
    frm.sbtAutozoom->click();
    frmZDepth->sbtIsoView->click();
    QTest::qWait(100);
    const QColor background(0x80, 0x80, 0x80);
    const QColor cyan(0, 255, 255);
    const QColor yellow(255, 255, 0);
    const QImage iso = Shot(*viewer, "nc-pocket-iso.png");
    EXPECT_TRUE(viewer->FrameFailure().isEmpty()) << viewer->FrameFailure().toStdString();
    EXPECT_GT(CountNear(iso, background, 4), iso.width() * iso.height() / 2);
    EXPECT_GT(CountNear(iso, cyan), 2000) << "the cuts";
    EXPECT_GT(CountNear(iso, yellow), 100) << "the rapids";

    // Seen from above, the 100 x 60 plate's toolpath is wider than high; from
    // the front the cuts shrink to the few rows of their depths.
    frmZDepth->sbtTopView->click();
    const QImage top = Shot(*viewer, "nc-pocket-top.png");
    frmZDepth->sbtFrontView->click();
    const QImage front = Shot(*viewer, "nc-pocket-front.png");
    EXPECT_GT(CountNear(top, cyan), 2000);
    EXPECT_LT(RowsSpanned(front, cyan) * 3, RowsSpanned(top, cyan)) << RowsSpanned(front, cyan) << " "
                                                                      << RowsSpanned(top, cyan);

    // The limits button holds the transparent extents box over the toolpath.
    frmZDepth->sbtIsoViewClick();
    QTest::mousePress(frm.sbtIsoLimits, Qt::LeftButton);
    const QImage limits = Shot(*viewer, "nc-pocket-limits.png");
    QTest::mouseRelease(frm.sbtIsoLimits, Qt::LeftButton);
    EXPECT_FALSE(frm.Scene3D->GLEstensioneCnc.Visible());
    EXPECT_LT(CountNear(limits, background, 4), CountNear(iso, background, 4) - 2000) << "the box covers the plate";

    // Turned with the mouse from the iso view: the picture changes, the camera
    // keeps its distance from the target.
    frmZDepth->sbtIsoViewClick();
    const QImage still = Shot(*viewer, "nc-pocket-iso-again.png");
    const QPoint middle(viewer->width() / 2, viewer->height() / 2);
    Drag(viewer, middle, middle + QPoint(60, 20));
    const QImage turned = Shot(*viewer, "nc-pocket-orbited.png");
    EXPECT_NE(turned, still);
    EXPECT_GT(CountNear(turned, cyan), 2000);

    // The Z-depth window with its gauge after the program.
    const QImage gauge = frmZDepth->grab().toImage();
    EXPECT_TRUE(gauge.save(QString::fromStdString((OutputFolder() / "frmZDepth.png").string())));
    EXPECT_GT(frmZDepth->pnlZAttiva->height(), 0);

    // Closing the NC section ends the 3D mode and clears the toolpath.
    frm.sbtIsoExit->click();
    EXPECT_FALSE(frm.View3DMode);
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_EQ(frm.Scene3D->GLCncMov.Nodes().Count(), 0);
}
