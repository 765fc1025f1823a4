// Moving around the drawing: zoom steps from the buttons, the context menu
// and the wheel, the drawing's extent, zoom window and pan as tasks on top of
// the running command, drag pan and drag zoom, the pointer's coordinates on
// the status line, and the grid button with its dialog. The status row's
// current-layer button is wired here too.

#include <functional>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>

#include "app/CommandCode.h"
#include "app/Language.h"
#include "app/NumericText.h"
#include "app/ui/frmMain.h"
#include "cad/base/Settings.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/RealTimePan.h"
#include "cad/engine/ZoomArea.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/ui/CADViewport.h"
#include "cad/view/ScreenCursor.h"
#include "cam/simulation/NcSimulation.h"
#include "edit/commands/ViewNavigation.h"
#include "view3d/ui/NcScene3D.h"

namespace {

constexpr std::int32_t kCodePan = 51;
constexpr std::int32_t kCodeZoomWindow = 52;
constexpr int kMsgGridSettings = 420;

// Sees the right button pressed on a control, which a click never reports.
class TRightPressFilter : public QObject {
public:
    TRightPressFilter(QObject* parent, std::function<void()> handler) : QObject(parent), Handler(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            Handler();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> Handler;
};

QAction* AddViewItem(QMenu* menu, const char* name, const QString& text)
{
    QAction* item = menu->addAction(text);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

} // namespace

void TfrmMain::CreateNavigation()
{
    PopupDestro->addSeparator();
    mnuZoomWindow = AddViewItem(PopupDestro, "mnuZoomWindow", QStringLiteral("Zoom Window"));
    mnuZoomIn = AddViewItem(PopupDestro, "mnuZoomIn", QStringLiteral("Zoom +"));
    mnuZoomOut = AddViewItem(PopupDestro, "mnuZoomOut", QStringLiteral("Zoom -"));
    mnuAutozoom = AddViewItem(PopupDestro, "mnuAutozoom", QStringLiteral("Autozoom"));
    mnuPan = AddViewItem(PopupDestro, "mnuPan", QStringLiteral("Pan"));
    connect(PopupDestro, &QMenu::aboutToShow, this, &TfrmMain::LocalPopUpPopup);

    connect(sbtZoomIn, &QToolButton::clicked, this, &TfrmMain::sbtZoomInClick);
    connect(mnuZoomIn, &QAction::triggered, this, &TfrmMain::sbtZoomInClick);
    connect(sbtZoomBack, &QToolButton::clicked, this, &TfrmMain::sbtZoomBackClick);
    connect(mnuZoomOut, &QAction::triggered, this, &TfrmMain::sbtZoomBackClick);
    connect(sbtAutozoom, &QToolButton::clicked, this, &TfrmMain::sbtAutozoomClick);
    connect(mnuAutozoom, &QAction::triggered, this, &TfrmMain::sbtAutozoomClick);
    connect(sbtZoomWin, &QToolButton::clicked, this, &TfrmMain::sbtZoomWinClick);
    connect(mnuZoomWindow, &QAction::triggered, this, &TfrmMain::sbtZoomWinClick);
    connect(sbtPan, &QToolButton::clicked, this, &TfrmMain::sbtPanClick);
    connect(mnuPan, &QAction::triggered, this, &TfrmMain::sbtPanClick);
    connect(sbtGridOnOff, &QToolButton::clicked, this, &TfrmMain::sbtGridOnOffClick);
    connect(sbtLayer, &QToolButton::clicked, this, &TfrmMain::sbtLayerClick);
    sbtGridOnOff->installEventFilter(new TRightPressFilter(sbtGridOnOff, [this] { sbtGridOnOffMouseDown(); }));

    TCADViewport2DCore& view = VistaGrafica->Core2D();
    view.OnMouseWheel = [this](bool up, int x, int y) { up ? MouseRuotaSu(x, y) : MouseRuotaGiu(x, y); };
    view.OnMouseMove2D = [this](TShiftState shift, float, float, int x, int y) { VistaGraficaMouseMove2D(shift, x, y); };
    view.OnMouseDown2D = [this](TMouseButton button, TShiftState shift, float, float, int x, int y) {
        VistaGraficaMouseDown2D(button, shift, x, y);
    };
    view.OnMouseUp2D = [this](TMouseButton button, TShiftState shift, float, float, int x, int y) {
        VistaGraficaMouseUp2D(button, shift, x, y);
    };
}

void TfrmMain::sbtZoomInClick()
{
    if (View3DMode)
        Scene3D->ScaleCamera(1.5f);
    else
        VistaGrafica->Core().ZoomIn();
}

void TfrmMain::sbtZoomBackClick()
{
    if (View3DMode)
        Scene3D->ScaleCamera(0.5f);
    else
        VistaGrafica->Core().ZoomOut();
}

void TfrmMain::MouseRuotaSu(int x, int y)
{
    if (View3DMode)
        return sbtZoomInClick();
    TCADViewportCore& view = VistaGrafica->Core();
    view.ZoomInAt(view.ScreenToWorld(MakePoint2D(static_cast<float>(x), static_cast<float>(y))));
}

void TfrmMain::MouseRuotaGiu(int x, int y)
{
    if (View3DMode)
        return sbtZoomBackClick();
    TCADViewportCore& view = VistaGrafica->Core();
    view.ZoomOutAt(view.ScreenToWorld(MakePoint2D(static_cast<float>(x), static_cast<float>(y))));
}

void TfrmMain::sbtAutozoomClick()
{
    if (!View3DMode) {
        VistaGrafica->Core2D().ZoomToExtension();
        return;
    }
    Scene3D->Autozoom({NcSimulation.Extents, NcSimulation.ZMinRapid, NcSimulation.ZMinWork});
}

void TfrmMain::StartViewTask(std::int32_t code)
{
    TCADPrg2D& engine = LocalPrg();
    // Nothing nests inside a pan or zoom, nor inside a second nested task.
    if (engine.IsSuspended() || (engine.IsBusy() && !engine.CurrentState()->CanBeSuspended())) {
        sbtZoomWin->setChecked(CommandCode == kCodeZoomWindow);
        sbtPan->setChecked(CommandCode == kCodePan || PanDragActive);
        return;
    }
    // The framework suspends the running command and gives its code back when this ends.
    StartCommand(code);
}

void TfrmMain::sbtZoomWinClick()
{
    if (View3DMode) {
        sbtZoomWin->setChecked(false);
        return;
    }
    sbtZoomWin->setChecked(true);
    StartViewTask(kCodeZoomWindow);
}

void TfrmMain::sbtPanClick()
{
    PanButtonActive = true;
    sbtPan->setChecked(true);
    SetScreenCursor(crPan);
    StartViewTask(kCodePan);
    if (CommandCode != kCodePan) {
        PanButtonActive = false;
        if (!PanDragActive)
            SetScreenCursor(crDefault);
    }
}

void TfrmMain::EndPanMode()
{
    sbtPan->setChecked(false);
    PanButtonActive = false;
    PanDragActive = false;
}

void TfrmMain::ZoomWindowUp()
{
    sbtZoomWin->setChecked(false);
}

bool TfrmMain::PanCommandActive() const
{
    return PanButtonActive || PanDragActive;
}

void TfrmMain::VistaGraficaMouseMove2D(TShiftState shift, int x, int y)
{
    TPoint2D point;
    LocalPrg().SnapPoint(point);
    const int decimals = UnitsMode == 1 ? 4 : 3;
    nol_pnlStatus1->setText(QStringLiteral("X: %1 Y: %2")
                                .arg(FormatFixed(point.X, decimals, 6), FormatFixed(point.Y, decimals, 6)));

    if (!(shift & ssLeft))
        return;
    TCADViewportCore& view = VistaGrafica->Core();
    if (shift & ssShift) {
        const TPoint2D from =
            CartesianPoint2D(view.ScreenToWorld(MakePoint2D(static_cast<float>(LastPointerX), static_cast<float>(LastPointerY))));
        const TPoint2D to = CartesianPoint2D(view.ScreenToWorld(MakePoint2D(static_cast<float>(x), static_cast<float>(y))));
        LastPointerX = x;
        LastPointerY = y;
        view.PanWindow(from.X - to.X, from.Y - to.Y);
    } else if (shift & ssCtrl) {
        const TDragZoom step = CtrlDragZoom(LastPointerX, LastPointerY, x, y);
        if (step == TDragZoom::None)
            return;
        LastPointerX = x;
        LastPointerY = y;
        if (step == TDragZoom::In)
            view.ZoomIn();
        else
            view.ZoomOut();
    }
}

void TfrmMain::VistaGraficaMouseDown2D(TMouseButton button, TShiftState shift, int x, int y)
{
    LastPointerX = x;
    LastPointerY = y;
    if (LocalPrg().IsBusy())
        return;
    if (button == TMouseButton::Left && (shift & ssShift)) {
        sbtPan->setChecked(true);
        SetScreenCursor(crPan);
        PanDragActive = true;
    } else if (button == TMouseButton::Middle) {
        Commands().MiddleButton();
    }
}

void TfrmMain::VistaGraficaMouseUp2D(TMouseButton /*button*/, TShiftState /*shift*/, int /*x*/, int /*y*/)
{
    if (!PanDragActive)
        return;
    SetScreenCursor(crDefault);
    PanDragActive = false;
    sbtPan->setChecked(PanButtonActive);
}

void TfrmMain::LocalPopUpPopup()
{
    const TCADPrg2D& engine = LocalPrg();
    const TCADStateClass& operation = engine.CurrentOperation();
    const bool viewTask = engine.IsSuspended() || operation == TCADStateClass::Of<TCADPrgRealTimePan>() ||
                          operation == TCADStateClass::Of<TCADPrgZoomArea>();
    for (QAction* item : {mnuZoomWindow, mnuZoomIn, mnuZoomOut, mnuAutozoom, mnuPan})
        item->setEnabled(!viewTask);
    // The command items come with the command shell; they are found by name.
    for (const char* name : {"mnuDone", "mnuCancel", "mnuCoord"})
        if (auto* item = findChild<QAction*>(QString::fromLatin1(name)))
            item->setEnabled(engine.IsBusy());
    for (const char* name : {"mnuWinSelect", "mnuOrtho", "mnuSnap2Grid2"})
        if (auto* item = findChild<QAction*>(QString::fromLatin1(name)))
            item->setEnabled(pnlTbr1->isEnabled());
}

void TfrmMain::sbtGridOnOffClick()
{
    VistaGrafica->Core().SetShowGrid(sbtGridOnOff->isChecked());
}

void TfrmMain::sbtGridOnOffMouseDown()
{
    Messaggio(GetLangString(kMsgGridSettings));
    ShowGridDialog();
}
