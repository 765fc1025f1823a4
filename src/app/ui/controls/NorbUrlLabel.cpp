#include "app/ui/controls/NorbUrlLabel.h"

#include <QFontDatabase>
#include <QMouseEvent>

#include "app/ui/ShellOpen.h"

TNorbUrlLabel::TNorbUrlLabel(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    const bool tahoma = QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive);
    QFont labelFont = font();
    labelFont.setFamily(tahoma ? QStringLiteral("Tahoma") : QStringLiteral("Arial"));
    setFont(labelFont);
    SetLook(InactiveColorValue, false);
    setCursor(Qt::PointingHandCursor);
    UpdateHint();
}

void TNorbUrlLabel::SetLink(const TUrlLink& link)
{
    LinkValue = link;
    UpdateHint();
}

void TNorbUrlLabel::SetDetectMouse(bool detect)
{
    DetectMouseValue = detect;
    QFont labelFont = font();
    labelFont.setUnderline(!detect);
    setFont(labelFont);
}

void TNorbUrlLabel::SetShowUrlHint(bool show)
{
    ShowUrlHintValue = show;
    if (show)
        UpdateHint();
    else if (toolTip() == LinkText())
        setToolTip(QString());
}

void TNorbUrlLabel::enterEvent(QEnterEvent* event)
{
    if (DetectMouseValue)
        SetLook(ActiveColorValue, UnderlineOnEnterValue);
    QLabel::enterEvent(event);
    emit MouseEnter();
}

void TNorbUrlLabel::leaveEvent(QEvent* event)
{
    if (DetectMouseValue)
        SetLook(InactiveColorValue, false);
    QLabel::leaveEvent(event);
    emit MouseLeave();
}

void TNorbUrlLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        ShellOpen(LinkText());
}

void TNorbUrlLabel::SetLook(const QColor& color, bool underline)
{
    QPalette labelPalette = palette();
    labelPalette.setColor(QPalette::WindowText, color);
    setPalette(labelPalette);
    // Leaving takes every style off, not just the underline.
    QFont labelFont = font();
    labelFont.setBold(false);
    labelFont.setItalic(false);
    labelFont.setStrikeOut(false);
    labelFont.setUnderline(underline);
    setFont(labelFont);
}

void TNorbUrlLabel::UpdateHint()
{
    if (ShowUrlHintValue)
        setToolTip(LinkText());
}
