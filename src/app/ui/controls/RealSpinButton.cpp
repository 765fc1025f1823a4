#include "app/ui/controls/RealSpinButton.h"

#include <algorithm>

#include <QKeyEvent>
#include <QPainter>
#include <QPolygon>
#include <QStyle>
#include <QStyleOptionButton>

#include "app/ui/glyphs/GlyphPainting.h"

void PaintRealSpinGlyph(QPainter& painter, const QRect& rect, TSpinArrow arrow, bool enabled)
{
    // An odd base keeps the apex on a whole pixel, so the triangle stays
    // symmetric at the small sizes the arrows have.
    int base = std::min(7, rect.width() - 6);
    if (base % 2 == 0)
        --base;
    const int rise = (base + 1) / 2;
    if (base < 1 || rise > rect.height())
        return;
    const int left = rect.left() + (rect.width() - base) / 2;
    const int top = rect.top() + (rect.height() - rise) / 2;
    const int apexX = left + base / 2;
    QPolygon triangle;
    if (arrow == TSpinArrow::Up)
        triangle << QPoint(apexX, top) << QPoint(left, top + rise - 1) << QPoint(left + base - 1, top + rise - 1);
    else
        triangle << QPoint(left, top) << QPoint(left + base - 1, top) << QPoint(apexX, top + rise - 1);
    const QColor colour = enabled ? glyph::Ink : glyph::GridInk;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(colour);
    painter.setBrush(colour);
    painter.drawPolygon(triangle);
    painter.restore();
}

TRealSpinArrow::TRealSpinArrow(TSpinArrow direction, QWidget* parent)
    : QAbstractButton(parent)
    , DirectionValue(direction)
{
    setAutoRepeat(true);
    setAutoRepeatDelay(RepeatDelayMs);
    setAutoRepeatInterval(RepeatIntervalMs);
    // The edit keeps the focus while its arrows are used.
    setFocusPolicy(Qt::NoFocus);
}

QSize TRealSpinArrow::sizeHint() const
{
    return QSize(TRealSpinButton::MinimumWidth, 9);
}

void TRealSpinArrow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = rect();
    option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);

    QRect glyph = rect();
    if (isDown())
        glyph.translate(1, 1);
    PaintRealSpinGlyph(painter, glyph, DirectionValue, isEnabled());

    const auto* owner = qobject_cast<const TRealSpinButton*>(parentWidget());
    if (isDown() && owner != nullptr && owner->hasFocus() && owner->FocusedButton() == this) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

TRealSpinButton::TRealSpinButton(QWidget* parent)
    : QWidget(parent)
    , Up(new TRealSpinArrow(TSpinArrow::Up, this))
    , Down(new TRealSpinArrow(TSpinArrow::Down, this))
    , Focused(Up)
{
    setMinimumWidth(MinimumWidth);
    resize(MinimumWidth, 17);
    connect(Up, &QAbstractButton::pressed, this, [this] { Focused = Up; });
    connect(Down, &QAbstractButton::pressed, this, [this] { Focused = Down; });
    connect(Up, &QAbstractButton::clicked, this, &TRealSpinButton::UpClick);
    connect(Down, &QAbstractButton::clicked, this, &TRealSpinButton::DownClick);
}

QSize TRealSpinButton::sizeHint() const
{
    return QSize(MinimumWidth, 17);
}

void TRealSpinButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        Up->click();
        break;
    case Qt::Key_Down:
        Down->click();
        break;
    case Qt::Key_Space:
        Focused->click();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TRealSpinButton::resizeEvent(QResizeEvent*)
{
    // The lower arrow overlaps the upper one by a pixel, so their borders share a line.
    const int half = height() / 2;
    Up->setGeometry(0, 0, width(), half);
    Down->setGeometry(0, half - 1, width(), height() - half + 1);
}
