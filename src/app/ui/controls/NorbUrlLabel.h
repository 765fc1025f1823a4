#pragma once

// A label that is a link: a click opens its address through the desktop,
// and it lights up while the pointer is over it.

#include <QColor>
#include <QLabel>

#include "app/UrlLink.h"

class TNorbUrlLabel : public QLabel {
    Q_OBJECT
public:
    explicit TNorbUrlLabel(QWidget* parent = nullptr);

    const TUrlLink& Link() const { return LinkValue; }
    void SetLink(const TUrlLink& link);
    // The address a click opens.
    QString LinkText() const { return UrlLinkText(LinkValue); }

    bool DetectMouse() const { return DetectMouseValue; }
    // Off: the label stays underlined; on: the underline goes.
    void SetDetectMouse(bool detect);
    bool UnderlineOnEnter() const { return UnderlineOnEnterValue; }
    void SetUnderlineOnEnter(bool underline) { UnderlineOnEnterValue = underline; }
    QColor ActiveColor() const { return ActiveColorValue; }
    void SetActiveColor(const QColor& color) { ActiveColorValue = color; }
    QColor InactiveColor() const { return InactiveColorValue; }
    void SetInactiveColor(const QColor& color) { InactiveColorValue = color; }
    // On: the tooltip is the address.
    bool ShowUrlHint() const { return ShowUrlHintValue; }
    void SetShowUrlHint(bool show);

signals:
    void MouseEnter();
    void MouseLeave();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetLook(const QColor& color, bool underline);
    void UpdateHint();

    TUrlLink LinkValue;
    bool DetectMouseValue = true;
    bool UnderlineOnEnterValue = true;
    QColor ActiveColorValue = QColor(0, 0, 255);    // TColor 0xFF0000
    QColor InactiveColorValue = QColor(0, 0, 128);  // TColor 0x800000
    bool ShowUrlHintValue = true;
};
