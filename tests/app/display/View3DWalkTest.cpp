// A seeded random walk on a real display, where the 3D view draws: a frame
// plate is contoured and pocketed, then the walk clicks at random among the
// Z-depth window's switch, views and sliders, the NC page's buttons, the 3D
// view's mouse (drags plain, with Shift and with Ctrl, and the wheel, of any
// size), the zoom buttons and the autozoom in both modes, the pages, and the
// offscreen walk's own steps. After every step the camera holds only finite
// numbers, the drawing is sound, the 3D mode is shown alike everywhere and a
// frame of the 3D view draws without an OpenGL error. Seeds, steps and time
// come from the environment, as told in RandomWalkSupport.h.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include "CncPagesSupport.h"
#include "ProgramTestFolder.h"
#include "RandomWalkSupport.h"
#include "RoadSupport.h"
#include "app/ui/frmMain.h"
#include "view3d/maths/VectorGeometry.h"
#include "view3d/objects/DummyCube.h"
#include "view3d/scene/GLCamera.h"
#include "view3d/ui/GLSceneViewer.h"
#include "view3d/ui/NcScene3D.h"
#include "view3d/ui/frmZDepth.h"

namespace {

constexpr int kPageIso = 46;

std::string Finite(const char* name, const Vector4f& v)
{
    if (std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z) && std::isfinite(v.W))
        return {};
    std::ostringstream text;
    text << name << " (" << v.X << ", " << v.Y << ", " << v.Z << ", " << v.W << ") is not finite; ";
    return text.str();
}

// What is wrong with the 3D scene's camera and its target: empty while every
// number is finite and the scale positive.
std::string CameraProblems(TNcScene3D& scene)
{
    TGLCamera& camera = scene.GLCamera1;
    std::string problems = Finite("the camera's position", camera.Position().AsVector()) +
                           Finite("the camera's direction", camera.Direction().AsVector()) +
                           Finite("the camera's up", camera.Up().AsVector()) +
                           Finite("the target's position", scene.GLDummyCube1.Position().AsVector());
    if (!(std::isfinite(camera.SceneScale()) && camera.SceneScale() > 0.0f))
        problems += "the scene scale " + std::to_string(camera.SceneScale()) + " is not finite and positive; ";
    if (!std::isfinite(camera.DepthOfView()))
        problems += "the depth of view is not finite; ";
    if (!problems.empty())
        return problems;
    // A camera on its target, or without a direction or an up, has no view.
    const auto length = [](const Vector4f& v) { return std::hypot(v.X, v.Y, v.Z); };
    if (length(camera.Direction().AsVector()) == 0.0f || length(camera.Up().AsVector()) == 0.0f)
        problems += "the camera has no direction or no up; ";
    if (length(Vector4Subtract(camera.Position().AsVector(), scene.GLDummyCube1.Position().AsVector())) == 0.0f)
        problems += "the camera is on its target; ";
    return problems;
}

// The 3D mode as the window shows it: the viewer is shown and the Z-depth
// window's view buttons are enabled in the mode. (Its switch is not: closing
// the NC section, and two CNC pages, turn the mode off and leave it checked.)
std::string ModeProblems(TfrmMain& frm)
{
    std::string problems;
    if (frm.GLVistaGrafica->isVisible() != frm.View3DMode)
        problems += "the 3D viewer's visibility differs from the 3D mode; ";
    if (frmZDepth != nullptr && frmZDepth->isVisible() && frmZDepth->sbtIsoView->isEnabled() != frm.View3DMode)
        problems += "the Z-depth window's view buttons differ from the 3D mode; ";
    return problems;
}

class T3DWalk {
public:
    T3DWalk(TfrmMain& frm, unsigned seed) : Frm(frm), Offscreen(frm, seed), Random(seed * 7919u + 1u) {}

    std::string Step()
    {
        switch (Pick(12)) {
        case 0:
        case 1:
            return ZDepthControl();
        case 2:
        case 3:
            return NcPageButton();
        case 4:
        case 5:
        case 6:
            return ViewerMouse();
        case 7:
            return ViewerWheel();
        case 8:
            return ZoomButton();
        case 9:
            return BackToTheProgram();
        default:
            return Offscreen.Step();
        }
    }

    TGLSceneViewer* Viewer() { return qobject_cast<TGLSceneViewer*>(Frm.GLVistaGrafica); }

private:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(Random); }

    // Mostly a hand's move; now and then one far beyond any screen.
    int Distance()
    {
        switch (Pick(5)) {
        case 0:
            return std::uniform_int_distribution<int>(-1000000, 1000000)(Random);
        case 1:
            return std::uniform_int_distribution<int>(-3000, 3000)(Random);
        default:
            return std::uniform_int_distribution<int>(-80, 80)(Random);
        }
    }

    QPoint InViewer()
    {
        QWidget* viewer = Frm.GLVistaGrafica;
        return {Pick(std::max(viewer->width(), 1)), Pick(std::max(viewer->height(), 1))};
    }

    std::string SwitchThe3DView()
    {
        QTest::mouseClick(frmZDepth->chk3dview, Qt::LeftButton, {}, QPoint(4, frmZDepth->chk3dview->height() / 2));
        return std::string("3D view switched ") + (frmZDepth->chk3dview->isChecked() ? "on" : "off");
    }

    std::string ZDepthControl()
    {
        if (frmZDepth == nullptr || !frmZDepth->isVisible())
            return "no Z-depth window";
        switch (Pick(4)) {
        case 0:
            return SwitchThe3DView();
        case 1: {
            QToolButton* views[] = {frmZDepth->sbtTopView, frmZDepth->sbtFrontView, frmZDepth->sbtSideView,
                                    frmZDepth->sbtIsoView};
            QToolButton* view = views[Pick(4)];
            if (!view->isEnabled())
                return "view button disabled";
            view->click();
            return "view " + view->objectName().toStdString();
        }
        default: {
            QSlider* slider = Pick(2) == 0 ? frmZDepth->TrackBarOffset : frmZDepth->TrackBarSca;
            const int value = std::uniform_int_distribution<int>(slider->minimum(), slider->maximum())(Random);
            slider->setValue(value);
            return "slider " + slider->objectName().toStdString() + " to " + std::to_string(value);
        }
        }
    }

    std::string NcPageButton()
    {
        if (Frm.ActivePage() != kPageIso || !Frm.PagesVisible())
            return BackToTheProgram();
        if (Pick(8) == 0) {
            const int line = std::uniform_int_distribution<int>(-2, Frm.sbrNcSimul->maximum() + 2)(Random);
            Frm.sbrNcSimul->setValue(line);
            return "NC scroll bar to " + std::to_string(line);
        }
        if (Pick(6) == 0) {
            QTest::mousePress(Frm.sbtIsoLimits, Qt::LeftButton);
            QApplication::processEvents();
            RenderFrame();
            QTest::mouseRelease(Frm.sbtIsoLimits, Qt::LeftButton);
            return "limits held";
        }
        QToolButton* buttons[] = {Frm.sbtIsoStep, Frm.sbtIsoStep, Frm.sbtIsoStep, Frm.sbtIsoRewind,
                                  Frm.sbtIsoSimul, Frm.sbtIsoEnd,  Frm.sbtIsoStop, Frm.sbtIsoExit};
        QToolButton* button = buttons[Pick(static_cast<int>(std::size(buttons)))];
        if (!button->isEnabled())
            return "NC button disabled";
        const int times = button == Frm.sbtIsoStep ? 1 + Pick(30) : 1;
        for (int k = 0; k < times; ++k)
            button->click();
        return "NC button " + button->objectName().toStdString() + " x" + std::to_string(times);
    }

    std::string ViewerMouse()
    {
        QWidget* viewer = Frm.GLVistaGrafica;
        if (!viewer->isVisible())
            return TowardsThe3DView();
        static const Qt::KeyboardModifiers held[] = {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier};
        const Qt::KeyboardModifiers keys = held[Pick(3)];
        const QPoint from = InViewer();
        const int moves = 1 + Pick(6);
        QMouseEvent press(QEvent::MouseButtonPress, from, viewer->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                          keys);
        QApplication::sendEvent(viewer, &press);
        QPoint at = from;
        for (int k = 0; k < moves; ++k) {
            at += QPoint(Distance(), Distance());
            QMouseEvent move(QEvent::MouseMove, at, viewer->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, keys);
            QApplication::sendEvent(viewer, &move);
        }
        QMouseEvent release(QEvent::MouseButtonRelease, at, viewer->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            keys);
        QApplication::sendEvent(viewer, &release);
        std::ostringstream what;
        what << "3D drag with " << (keys == Qt::ShiftModifier ? "Shift" : keys == Qt::ControlModifier ? "Ctrl" : "none")
             << " from " << from.x() << "," << from.y() << " to " << at.x() << "," << at.y() << " in " << moves;
        return what.str();
    }

    std::string ViewerWheel()
    {
        QWidget* viewer = Frm.GLVistaGrafica;
        if (!viewer->isVisible())
            return TowardsThe3DView();
        const QPoint at = InViewer();
        const int notches = Pick(2) == 0 ? 1 : 1 + Pick(60);
        const int delta = Pick(2) == 0 ? 120 : -120;
        for (int k = 0; k < notches; ++k) {
            QWheelEvent wheel(at, viewer->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewer, &wheel);
        }
        return "wheel " + std::to_string(delta > 0 ? notches : -notches);
    }

    std::string ZoomButton()
    {
        QToolButton* buttons[] = {Frm.sbtZoomIn, Frm.sbtZoomBack, Frm.sbtAutozoom};
        QToolButton* button = buttons[Pick(3)];
        const int times = button == Frm.sbtAutozoom ? 1 : 1 + Pick(Pick(4) == 0 ? 300 : 4);
        for (int k = 0; k < times; ++k)
            button->click();
        return "zoom " + button->objectName().toStdString() + " x" + std::to_string(times) +
               (Frm.View3DMode ? " in 3D" : " in 2D");
    }

    // Where the 3D view is off, the user's next click towards it: the NC
    // page, with its Z-depth window, and the window's switch.
    std::string TowardsThe3DView()
    {
        if (Frm.ActivePage() != kPageIso || !Frm.PagesVisible() || frmZDepth == nullptr || !frmZDepth->isVisible())
            return BackToTheProgram();
        return SwitchThe3DView();
    }

    // The NC page again with its program, as the CNC button and the chain
    // page's Next bring it back.
    std::string BackToTheProgram()
    {
        if (Frm.ActivePage() == kPageIso && Frm.PagesVisible() && frmZDepth != nullptr && frmZDepth->isVisible())
            return "on the NC page";
        Frm.sbtCnc->click();
        Frm.VisPagine({kPageIso});
        // Entering the page shows its Z-depth window (after a command's pages
        // the index may not have changed).
        Frm.SetActivePage(kPageIso);
        return "back to the NC page";
    }

    void RenderFrame()
    {
        if (TGLSceneViewer* viewer = Viewer(); viewer && viewer->isVisible())
            viewer->grabFramebuffer();
    }

    TfrmMain& Frm;
    TWalk Offscreen;
    std::mt19937 Random;
};

class View3DWalk : public ProgramTestFolder {
protected:
    // Runs one seed; an empty text when every step left the camera, the
    // drawing and the frame sound.
    std::string RunSeed(unsigned seed, long steps)
    {
        const TCamGlobalsGuard guard;
        WriteFile(QStringLiteral("plate.dxf"), kFramePlateDxf);
        TfrmMain& frm = Start();
        frm.resize(900, 650);
        frm.show();
        if (!QTest::qWaitForWindowExposed(&frm))
            return "the window was not shown";
        if (!frm.OpenFile(Path(QStringLiteral("plate.dxf"))))
            return "the plate was not opened";
        Answer = kIdNo; // keep the contour when leaving the NC page
        ContourAndPocketTheFramePlate(frm, Path(QStringLiteral("plate.nc")));
        if (testing::Test::HasFatalFailure())
            return "the plate was not machined";
        T3DWalk walk(frm, seed);
        return WalkSteps(seed, steps, [&walk] { return walk.Step(); }, [&frm, &walk] {
            std::string problems =
                DrawingProblems(frm.LocalCad()) + CameraProblems(*frm.Scene3D) + ModeProblems(frm);
            if (TGLSceneViewer* viewer = walk.Viewer(); viewer && viewer->isVisible()) {
                if (viewer->grabFramebuffer().isNull())
                    problems += "no frame; ";
                if (!viewer->FrameFailure().isEmpty())
                    problems += "the frame failed: " + viewer->FrameFailure().toStdString() + "; ";
            }
            return problems;
        });
    }
};

} // namespace

TEST_F(View3DWalk, EveryStepLeavesTheCameraAndTheFrameSound)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    const TWalkDialogCloser closer;
    // A frame after every step makes a step slow: fewer steps to a seed.
    RunWalkSeeds([this](unsigned seed, long steps) { return RunSeed(seed, steps); }, [this] { Stop(); }, 120);
}
