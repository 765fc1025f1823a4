// The 3D viewer of the main window: lying over the 2D view on the same
// panel, sized with it, hidden until the 3D mode switches it on.

#include <QLabel>

#include "app/ui/frmMain.h"
#include "view3d/ui/GLSceneViewer.h"

namespace {

TGLSceneViewer* SceneViewer(QWidget* widget)
{
    return qobject_cast<TGLSceneViewer*>(widget);
}

} // namespace

void TfrmMain::CreateView3D()
{
    GLVistaGrafica = MakeSceneViewer(pnlVistaGrafica);
    GLVistaGrafica->setObjectName(QStringLiteral("GLVistaGrafica"));
    GLVistaGrafica->resize(475, 500);
    GLVistaGrafica->hide();
}

void TfrmMain::ZDepthMode3D(bool on)
{
    if (on && SceneViewer(GLVistaGrafica) == nullptr) {
        Messaggio(QStringLiteral("The 3D view is not available: OpenGL could not be started on this machine."));
        on = false;
    }
    GLVistaGrafica->setVisible(on);
    if (on) {
        GLVistaGrafica->raise();
        nol_pnlStatus1->clear();
    }
    View3DMode = on;
}

// The 3D view takes the 2D view's background colour.
void TfrmMain::SetView3DBackground(TColor color)
{
    if (TGLSceneViewer* viewer = SceneViewer(GLVistaGrafica)) {
        viewer->Background().BackgroundColor = color;
        viewer->update();
    }
}
