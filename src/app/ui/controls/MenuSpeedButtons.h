#pragma once

// Tool buttons that drop down a menu. A menu button opens its menu when it
// is clicked, at the corner its placing names. A split button is a pair: a
// command half that runs the command it shows, and a narrow arrow half flush
// at its right that opens the menu of commands; pressed on the command half
// the pair acts as one wide button.

#include <QMenu>
#include <QPointer>
#include <QToolButton>

#include "app/MenuLook.h"

class TYarvLinkedSpeedButton;

// A tool button that belongs to no group of exclusive buttons.
class TYarvUngroupedSpeedButton : public QToolButton {
    Q_OBJECT
public:
    explicit TYarvUngroupedSpeedButton(QWidget* parent = nullptr);
    int GroupIndex() const { return 0; }
    void SetGroupIndex(int /*index*/) {}
};

class TYarvCustomMenuSpeedButton : public TYarvUngroupedSpeedButton {
    Q_OBJECT
public:
    explicit TYarvCustomMenuSpeedButton(QWidget* parent = nullptr);

    // The menu; forgotten when it is freed.
    QMenu* ActiveMenu() const { return ActiveMenuValue; }
    void SetActiveMenu(QMenu* menu) { ActiveMenuValue = menu; }
    TMenuPlacing MenuPlacing = TMenuPlacing::mpBottomLeft;
    // On: the button comes up before the menu opens; off: after it closes.
    bool ReleaseButton = false;

    // Opens the menu at a point of the screen and returns when it closes.
    virtual void PopupMenu(const QPoint& screenPoint);
    // The corner of MenuPlacing, in the button's coordinates.
    virtual QPoint MenuOrigin() const;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointer<QMenu> ActiveMenuValue;
};

// A menu button as the windows place it.
class TYarvMenuSpeedButton : public TYarvCustomMenuSpeedButton {
    Q_OBJECT
public:
    explicit TYarvMenuSpeedButton(QWidget* parent = nullptr);
};

// The arrow half of a split button, 14 pixels wide.
class TYarvLinkedMenuSpeedButton : public TYarvCustomMenuSpeedButton {
    Q_OBJECT
public:
    static constexpr int kWidth = 14;

    explicit TYarvLinkedMenuSpeedButton(QWidget* parent = nullptr);
    ~TYarvLinkedMenuSpeedButton() override;

    // On: the button shows the drop-down arrow.
    bool UseDefaultGlyph() const { return UseDefaultGlyphValue; }
    void SetUseDefaultGlyph(bool use);
    virtual void LoadDefaultGlyph();
    // A picture of its own replaces the arrow.
    virtual void GlyphChanged();
    virtual void SetPartner(TYarvLinkedSpeedButton* partner);
    TYarvLinkedSpeedButton* Partner() const { return PartnerValue; }

    // While the command half is pressed the arrow half only shows itself
    // pressed: its own mouse events and clicks are set aside.
    bool PressedByPartner() const { return PressedByPartnerValue; }
    void SetPressedByPartner(bool pressed);
    // Flush at the partner's right edge, as tall as it.
    QRect LinkedGeometry() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void KeepPlace();

    TYarvLinkedSpeedButton* PartnerValue = nullptr;
    bool UseDefaultGlyphValue = true;
    bool PressedByPartnerValue = false;
};

// The command half of a split button.
class TYarvLinkedSpeedButton : public QToolButton {
    Q_OBJECT
public:
    explicit TYarvLinkedSpeedButton(QWidget* parent = nullptr);
    ~TYarvLinkedSpeedButton() override;

    TYarvLinkedMenuSpeedButton* MenuButton() const { return MenuButtonValue; }
    // Links the arrow half and places it at this half's right edge.
    void SetMenuButton(TYarvLinkedMenuSpeedButton* button);
    void SetFlat(bool flat);
    // Called by the arrow half when it goes away first.
    void PartnerGone() { MenuButtonValue = nullptr; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // The point lies on the arrow half of the pair (this half's coordinates).
    bool OnArrowPart(const QPoint& point) const;
    void PlaceMenuButton();

    TYarvLinkedMenuSpeedButton* MenuButtonValue = nullptr;
};
