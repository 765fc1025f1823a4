// The main window's own handling of keys and mouse presses on its controls.

#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>

#include "app/CommandCode.h"
#include "app/Language.h"
#include "app/ui/controls/NumericKeyFilter.h"
#include "app/ui/frmMain.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/view/ScreenCursor.h"
#include "cam/ProgressSink.h"

void TfrmMain::FormKeyPress(char key)
{
    if (key == kKeyEsc)
        Commands().Escape();
    else if (key == kKeyEnter)
        Commands().Enter();
}

bool TfrmMain::IsFirstKeyReceiver(const QObject* receiver) const
{
    // A key press travels from the focused control up to its window; the
    // window looks at it once, when the first of them receives it.
    const QWidget* focused = focusWidget();
    return receiver == (focused != nullptr ? focused : this);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && IsFirstKeyReceiver(watched)) {
        if (const std::optional<char> key = KeyCharacter(*static_cast<QKeyEvent*>(event)))
            FormKeyPress(*key);
        return false;
    }
    if (watched == pnlCmd && event->type() == QEvent::MouseMove) {
        pnlCmdMouseMove();
        return false;
    }
    if (watched == sbmSnap && event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        Messaggio(PageTexts[11]);
        ShowGridDialog();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMain::VistaGraficaMouseEnter()
{
    if (!PanCommandActive())
        SetScreenCursor(crNoSnap);
    MouseInView = true;
}

void TfrmMain::VistaGraficaMouseLeave()
{
    if (!PanCommandActive())
        SetScreenCursor(crDefault);
    MouseInView = false;
}

void TfrmMain::pnlCmdMouseMove()
{
    // The view's cross-hair and snap cursors must not follow the pointer onto the tool bars.
    if (ScreenCursor() >= crNoSnap)
        SetScreenCursor(crDefault);
}
