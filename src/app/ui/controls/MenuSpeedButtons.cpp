#include "app/ui/controls/MenuSpeedButtons.h"

#include <QEnterEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

// The small black triangle of the arrow half.
QPixmap DropDownArrow()
{
    QPixmap arrow(7, 4);
    arrow.fill(Qt::transparent);
    QPainter painter(&arrow);
    QPainterPath path;
    path.moveTo(0, 0);
    path.lineTo(7, 0);
    path.lineTo(3.5, 4);
    path.closeSubpath();
    painter.fillPath(path, Qt::black);
    return arrow;
}

// Shows or drops the hover look of a button the pointer is not over.
void MirrorHover(QToolButton* button, bool hover)
{
    button->setAttribute(Qt::WA_UnderMouse, hover);
    button->update();
}

} // namespace

TYarvUngroupedSpeedButton::TYarvUngroupedSpeedButton(QWidget* parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
}

TYarvCustomMenuSpeedButton::TYarvCustomMenuSpeedButton(QWidget* parent)
    : TYarvUngroupedSpeedButton(parent)
{
}

void TYarvCustomMenuSpeedButton::PopupMenu(const QPoint& screenPoint)
{
    if (ActiveMenuValue)
        ActiveMenuValue->exec(screenPoint);
}

QPoint TYarvCustomMenuSpeedButton::MenuOrigin() const
{
    const TMenuOrigin origin = MenuPlacingOrigin(MenuPlacing, width(), height());
    return {origin.X, origin.Y};
}

void TYarvCustomMenuSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    const bool inside = rect().contains(event->position().toPoint());
    // The normal release clicks once and brings the button up.
    QToolButton::mouseReleaseEvent(event);
    if (!inside || event->button() != Qt::LeftButton || !ActiveMenuValue)
        return;
    if (!ReleaseButton)
        setDown(true);
    PopupMenu(mapToGlobal(MenuOrigin()));
    if (!ReleaseButton)
        setDown(false);
}

TYarvMenuSpeedButton::TYarvMenuSpeedButton(QWidget* parent)
    : TYarvCustomMenuSpeedButton(parent)
{
}

TYarvLinkedMenuSpeedButton::TYarvLinkedMenuSpeedButton(QWidget* parent)
    : TYarvCustomMenuSpeedButton(parent)
{
    resize(kWidth, height());
    LoadDefaultGlyph();
}

TYarvLinkedMenuSpeedButton::~TYarvLinkedMenuSpeedButton()
{
    if (PartnerValue != nullptr)
        PartnerValue->PartnerGone();
}

void TYarvLinkedMenuSpeedButton::SetUseDefaultGlyph(bool use)
{
    UseDefaultGlyphValue = use;
    if (use)
        LoadDefaultGlyph();
}

void TYarvLinkedMenuSpeedButton::LoadDefaultGlyph()
{
    const QPixmap arrow = DropDownArrow();
    setIcon(arrow);
    setIconSize(arrow.size());
}

void TYarvLinkedMenuSpeedButton::GlyphChanged()
{
    UseDefaultGlyphValue = false;
}

void TYarvLinkedMenuSpeedButton::SetPartner(TYarvLinkedSpeedButton* partner)
{
    PartnerValue = partner;
    KeepPlace();
}

void TYarvLinkedMenuSpeedButton::SetPressedByPartner(bool pressed)
{
    PressedByPartnerValue = pressed;
    setDown(pressed);
}

QRect TYarvLinkedMenuSpeedButton::LinkedGeometry() const
{
    if (PartnerValue == nullptr)
        return geometry();
    const QRect partner = PartnerValue->geometry();
    return {partner.left() + partner.width(), partner.top(), width(), partner.height()};
}

void TYarvLinkedMenuSpeedButton::KeepPlace()
{
    if (PartnerValue != nullptr && geometry() != LinkedGeometry())
        setGeometry(LinkedGeometry());
}

void TYarvLinkedMenuSpeedButton::mousePressEvent(QMouseEvent* event)
{
    if (!PressedByPartnerValue)
        TYarvCustomMenuSpeedButton::mousePressEvent(event);
}

void TYarvLinkedMenuSpeedButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!PressedByPartnerValue)
        TYarvCustomMenuSpeedButton::mouseMoveEvent(event);
}

void TYarvLinkedMenuSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (!PressedByPartnerValue)
        TYarvCustomMenuSpeedButton::mouseReleaseEvent(event);
}

void TYarvLinkedMenuSpeedButton::moveEvent(QMoveEvent* event)
{
    TYarvCustomMenuSpeedButton::moveEvent(event);
    KeepPlace();
}

void TYarvLinkedMenuSpeedButton::resizeEvent(QResizeEvent* event)
{
    TYarvCustomMenuSpeedButton::resizeEvent(event);
    KeepPlace();
}

void TYarvLinkedMenuSpeedButton::changeEvent(QEvent* event)
{
    TYarvCustomMenuSpeedButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && PartnerValue != nullptr
        && PartnerValue->isEnabled() != isEnabled())
        PartnerValue->setEnabled(isEnabled());
}

void TYarvLinkedMenuSpeedButton::enterEvent(QEnterEvent* event)
{
    TYarvCustomMenuSpeedButton::enterEvent(event);
    if (PartnerValue != nullptr)
        MirrorHover(PartnerValue, true);
}

void TYarvLinkedMenuSpeedButton::leaveEvent(QEvent* event)
{
    TYarvCustomMenuSpeedButton::leaveEvent(event);
    if (PartnerValue != nullptr)
        MirrorHover(PartnerValue, false);
}

TYarvLinkedSpeedButton::TYarvLinkedSpeedButton(QWidget* parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
}

TYarvLinkedSpeedButton::~TYarvLinkedSpeedButton()
{
    if (MenuButtonValue != nullptr)
        MenuButtonValue->SetPartner(nullptr);
}

void TYarvLinkedSpeedButton::SetMenuButton(TYarvLinkedMenuSpeedButton* button)
{
    if (MenuButtonValue != nullptr && MenuButtonValue != button)
        MenuButtonValue->SetPartner(nullptr);
    MenuButtonValue = button;
    if (button == nullptr)
        return;
    button->SetPartner(this);
    button->setAutoRaise(autoRaise());
    button->setEnabled(isEnabled());
    PlaceMenuButton();
}

void TYarvLinkedSpeedButton::SetFlat(bool flat)
{
    setAutoRaise(flat);
    if (MenuButtonValue != nullptr)
        MenuButtonValue->setAutoRaise(flat);
}

void TYarvLinkedSpeedButton::PlaceMenuButton()
{
    if (MenuButtonValue != nullptr)
        MenuButtonValue->setGeometry(MenuButtonValue->LinkedGeometry());
}

bool TYarvLinkedSpeedButton::OnArrowPart(const QPoint& point) const
{
    const int pairWidth = width() + (MenuButtonValue != nullptr ? MenuButtonValue->width() : 0);
    return point.x() >= width() && point.x() < pairWidth && point.y() >= 0 && point.y() < height();
}

void TYarvLinkedSpeedButton::mousePressEvent(QMouseEvent* event)
{
    QToolButton::mousePressEvent(event);
    if (MenuButtonValue != nullptr && event->button() == Qt::LeftButton)
        MenuButtonValue->SetPressedByPartner(true);
}

void TYarvLinkedSpeedButton::mouseMoveEvent(QMouseEvent* event)
{
    QToolButton::mouseMoveEvent(event);
    if (MenuButtonValue == nullptr || !MenuButtonValue->PressedByPartner())
        return;
    const QPoint at = event->position().toPoint();
    const bool onArrow = OnArrowPart(at);
    if (onArrow)
        setDown(true);
    // Off the pair both halves come up; on it both show pressed.
    MenuButtonValue->setDown(onArrow || rect().contains(at));
}

void TYarvLinkedSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    const bool pressedPair = MenuButtonValue != nullptr && MenuButtonValue->PressedByPartner();
    const bool onArrow = pressedPair && OnArrowPart(event->position().toPoint());
    QToolButton::mouseReleaseEvent(event);
    if (pressedPair)
        MenuButtonValue->SetPressedByPartner(false);
    if (onArrow && event->button() == Qt::LeftButton) {
        setDown(false);
        emit clicked(false);
    }
}

void TYarvLinkedSpeedButton::moveEvent(QMoveEvent* event)
{
    QToolButton::moveEvent(event);
    PlaceMenuButton();
}

void TYarvLinkedSpeedButton::resizeEvent(QResizeEvent* event)
{
    QToolButton::resizeEvent(event);
    PlaceMenuButton();
}

void TYarvLinkedSpeedButton::changeEvent(QEvent* event)
{
    QToolButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && MenuButtonValue != nullptr
        && MenuButtonValue->isEnabled() != isEnabled())
        MenuButtonValue->setEnabled(isEnabled());
}

void TYarvLinkedSpeedButton::enterEvent(QEnterEvent* event)
{
    QToolButton::enterEvent(event);
    if (MenuButtonValue != nullptr)
        MirrorHover(MenuButtonValue, true);
}

void TYarvLinkedSpeedButton::leaveEvent(QEvent* event)
{
    QToolButton::leaveEvent(event);
    if (MenuButtonValue != nullptr)
        MirrorHover(MenuButtonValue, false);
}
