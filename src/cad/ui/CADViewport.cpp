#include "cad/ui/CADViewport.h"

#include <cmath>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace {

TShiftState ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    TShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= ssShift;
    if (modifiers & Qt::AltModifier)
        shift |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        shift |= ssCtrl;
    if (buttons & Qt::LeftButton)
        shift |= ssLeft;
    if (buttons & Qt::RightButton)
        shift |= ssRight;
    if (buttons & Qt::MiddleButton)
        shift |= ssMiddle;
    return shift;
}

bool ButtonOf(Qt::MouseButton qtButton, TMouseButton& button)
{
    switch (qtButton) {
    case Qt::LeftButton: button = TMouseButton::Left; return true;
    case Qt::RightButton: button = TMouseButton::Right; return true;
    case Qt::MiddleButton: button = TMouseButton::Middle; return true;
    default: return false;
    }
}

// Pixels are whole: a position inside a pixel belongs to that pixel.
int Pixel(double coordinate)
{
    return static_cast<int>(std::floor(coordinate));
}

} // namespace

int VirtualKeyFromQt(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return VK_F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    default: return 0;
    }
}

TCADViewport::TCADViewport(std::unique_ptr<TCADViewportCore> core, QWidget* parent)
    : QWidget(parent), CoreValue(std::move(core))
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // The window picture covers every pixel, unless the view is transparent.
    setAttribute(Qt::WA_OpaquePaintEvent, !CoreValue->IsTransparent());
    CoreValue->OnWindowChanged = [this] {
        setAttribute(Qt::WA_OpaquePaintEvent, !CoreValue->IsTransparent());
        update();
    };
    resize(50, 50);
    CoreValue->Resize(width(), height());
}

TCADViewport::~TCADViewport()
{
    CoreValue->OnWindowChanged = nullptr;
}

TCADViewport2D::TCADViewport2D(QWidget* parent) : TCADViewport(std::make_unique<TCADViewport2DCore>(), parent)
{
}

void TCADViewport::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!CoreValue->IsTransparent()) {
        painter.drawImage(0, 0, CoreValue->WindowImage());
        return;
    }
    // Qt has painted what lies under the view; the background-coloured
    // pixels leave it showing.
    QImage picture = CoreValue->WindowImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb background = ToQColor(CoreValue->BackGroundColor()).rgb();
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if (line[x] == background)
                line[x] = qRgba(0, 0, 0, 0);
    }
    painter.drawImage(0, 0, picture);
}

void TCADViewport::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    CoreValue->Resize(width(), height());
}

void TCADViewport::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    CoreValue->DispatchMouseEnter();
}

void TCADViewport::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    CoreValue->DispatchMouseLeave();
}

void TCADViewport::keyPressEvent(QKeyEvent* event)
{
    if (const int key = VirtualKeyFromQt(event->key()))
        CoreValue->DispatchKeyDown(key, ShiftOf(event->modifiers(), QGuiApplication::mouseButtons()));
    // The window around the view (the main window's keys) sees the key too.
    event->ignore();
}

void TCADViewport::keyReleaseEvent(QKeyEvent* event)
{
    // A held key repeats only its key-down.
    if (!event->isAutoRepeat()) {
        if (const int key = VirtualKeyFromQt(event->key()))
            CoreValue->DispatchKeyUp(key, ShiftOf(event->modifiers(), QGuiApplication::mouseButtons()));
    }
    event->ignore();
}

void TCADViewport::mouseMoveEvent(QMouseEvent* event)
{
    CoreValue->DispatchMouseMove(ShiftOf(event->modifiers(), event->buttons()), Pixel(event->position().x()),
                                 Pixel(event->position().y()));
}

void TCADViewport::mousePressEvent(QMouseEvent* event)
{
    TMouseButton button;
    if (!ButtonOf(event->button(), button))
        return QWidget::mousePressEvent(event);
    CoreValue->DispatchMouseDown(button, ShiftOf(event->modifiers(), event->buttons()),
                                 Pixel(event->position().x()), Pixel(event->position().y()));
}

void TCADViewport::mouseReleaseEvent(QMouseEvent* event)
{
    TMouseButton button;
    if (!ButtonOf(event->button(), button))
        return QWidget::mouseReleaseEvent(event);
    CoreValue->DispatchMouseUp(button, ShiftOf(event->modifiers(), event->buttons()),
                               Pixel(event->position().x()), Pixel(event->position().y()));
}

void TCADViewport::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Qt's press, release, double click, release: the double click stands for
    // the second press, as the engine expects.
    TMouseButton button;
    if (!ButtonOf(event->button(), button))
        return QWidget::mouseDoubleClickEvent(event);
    CoreValue->DispatchDblClick(button, ShiftOf(event->modifiers(), event->buttons()),
                                Pixel(event->position().x()), Pixel(event->position().y()));
}

void TCADViewport::wheelEvent(QWheelEvent* event)
{
    constexpr int notch = 120;
    WheelRemainder += event->angleDelta().y();
    const int x = Pixel(event->position().x());
    const int y = Pixel(event->position().y());
    while (WheelRemainder >= notch) {
        WheelRemainder -= notch;
        CoreValue->DispatchMouseWheel(true, x, y);
    }
    while (WheelRemainder <= -notch) {
        WheelRemainder += notch;
        CoreValue->DispatchMouseWheel(false, x, y);
    }
    event->accept();
}
