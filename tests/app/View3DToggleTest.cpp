#include <QWidget>

#include "ProgramTestFolder.h"
#include "app/ui/frmMain.h"

using View3DWithoutOpenGL = ProgramTestFolder;

// These tests run on a platform without OpenGL windows: the viewer is a plain
// widget, and the 3D mode says so instead of showing a dead view.
TEST_F(View3DWithoutOpenGL, TheToggleSaysTheViewIsNotAvailable)
{
    TfrmMain& frm = Start();
    frm.show();
    QWidget* viewer = frm.findChild<QWidget*>(QStringLiteral("GLVistaGrafica"));
    ASSERT_NE(viewer, nullptr);
    EXPECT_FALSE(viewer->inherits("TGLSceneViewer"));
    EXPECT_FALSE(viewer->isVisible());

    frm.ZDepthMode3D(true);
    EXPECT_FALSE(frm.View3DMode);
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_TRUE(frm.StatusText().contains(QStringLiteral("not available"))) << frm.StatusText().toStdString();
    // The 2D view still works.
    frm.sbtZoomInClick();
    EXPECT_TRUE(frm.findChild<QWidget*>(QStringLiteral("VistaGrafica"))->isVisible());
}
