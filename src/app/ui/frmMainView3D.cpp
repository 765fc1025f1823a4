// The 3D viewer of the main window: lying over the 2D view on the same
// panel, sized with it, hidden until the 3D mode switches it on, showing the
// NC toolpath's scene and turning it with the mouse; and the Z-depth window
// that switches the mode.

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QWheelEvent>

#include "app/CommandCode.h"
#include "app/ui/frmMain.h"
#include "view3d/ui/GLSceneViewer.h"
#include "view3d/ui/NcScene3D.h"
#include "view3d/ui/frmZDepth.h"

namespace {

constexpr std::int32_t kCodePan = 51;

TGLSceneViewer* SceneViewer(QWidget* widget)
{
    return qobject_cast<TGLSceneViewer*>(widget);
}

// Hands the viewer's mouse to the main window's handlers.
class TView3DMouse final : public QObject {
public:
    TView3DMouse(QWidget* viewer, TfrmMain& main) : QObject(viewer), main_(main) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            main_.GLVistaGraficaMouseDown(mouse->position().toPoint().x(), mouse->position().toPoint().y());
            return true;
        }
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            main_.GLVistaGraficaMouseMove(mouse->buttons(), mouse->modifiers(), mouse->position().toPoint().x(),
                                          mouse->position().toPoint().y());
            return true;
        }
        case QEvent::Wheel: {
            // The wheel zooms the 3D view as it zooms the 2D view below it.
            const auto* wheel = static_cast<QWheelEvent*>(event);
            const QPoint at = wheel->position().toPoint();
            if (wheel->angleDelta().y() > 0)
                main_.MouseRuotaSu(at.x(), at.y());
            else if (wheel->angleDelta().y() < 0)
                main_.MouseRuotaGiu(at.x(), at.y());
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    TfrmMain& main_;
};

} // namespace

void TfrmMain::CreateView3D()
{
    Scene3D = std::make_unique<TNcScene3D>();
    GLVistaGrafica = MakeSceneViewer(pnlVistaGrafica);
    GLVistaGrafica->setObjectName(QStringLiteral("GLVistaGrafica"));
    GLVistaGrafica->resize(475, 500);
    GLVistaGrafica->hide();
    GLVistaGrafica->installEventFilter(new TView3DMouse(GLVistaGrafica, *this));
    if (TGLSceneViewer* viewer = SceneViewer(GLVistaGrafica))
        viewer->SetFrameRenderer(&Scene3D->Buffer);
}

void TfrmMain::ReleaseView3D()
{
    if (TGLSceneViewer* viewer = SceneViewer(GLVistaGrafica))
        viewer->SetFrameRenderer(nullptr);
}

void TfrmMain::GLVistaGraficaMouseDown(int x, int y)
{
    Scene3D->MouseDown(x, y);
}

void TfrmMain::GLVistaGraficaMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers keys, int x, int y)
{
    TMouse3DState held;
    held.LeftButton = buttons.testFlag(Qt::LeftButton);
    held.Shift = keys.testFlag(Qt::ShiftModifier);
    held.Ctrl = keys.testFlag(Qt::ControlModifier);
    held.PanCommand = CommandCode == kCodePan;
    Scene3D->MouseMove(held, x, y);
}

void TfrmMain::ZDepthMode3D(bool on)
{
    if (frmZDepth != nullptr)
        frmZDepth->modo3d(on);
    else
        ShowView3D(on);
}

bool TfrmMain::ShowView3D(bool on)
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
    return on;
}

void TfrmMain::ShowZDepth()
{
    if (frmZDepth == nullptr)
        return;
    frmZDepth->show();
    frmZDepth->modo3d(frmZDepth->chk3dview->isChecked());
}

void TfrmMain::CloseZDepth()
{
    if (frmZDepth != nullptr)
        frmZDepth->hide();
}

// The 3D view takes the 2D view's background colour.
void TfrmMain::SetView3DBackground(TColor color)
{
    Scene3D->SetBackgroundColor(color);
}
