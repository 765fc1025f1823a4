#pragma once

// The two arrows beside a real-number spin edit. Holding an arrow repeats
// its click, first after 400 ms and then every 100 ms, for as long as the
// arrow stays pressed under the pointer.

#include <QAbstractButton>
#include <QWidget>

class QPainter;

enum class TSpinArrow { Up, Down };

// Paints the "RealSpinUp" or "RealSpinDown" glyph, a small filled triangle,
// centred in rect; greyed when the arrow is disabled.
void PaintRealSpinGlyph(QPainter& painter, const QRect& rect, TSpinArrow arrow, bool enabled);

class TRealSpinArrow : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int RepeatDelayMs = 400;
    static constexpr int RepeatIntervalMs = 100;

    TRealSpinArrow(TSpinArrow direction, QWidget* parent);

    TSpinArrow Direction() const { return DirectionValue; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TSpinArrow DirectionValue;
};

class TRealSpinButton : public QWidget {
    Q_OBJECT
public:
    static constexpr int MinimumWidth = 15;

    explicit TRealSpinButton(QWidget* parent);

    TRealSpinArrow* UpButton() const { return Up; }
    TRealSpinArrow* DownButton() const { return Down; }
    // The arrow that Space clicks while the spin button has the focus.
    TRealSpinArrow* FocusedButton() const { return Focused; }

    QSize sizeHint() const override;

signals:
    void UpClick();
    void DownClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TRealSpinArrow* Up;
    TRealSpinArrow* Down;
    TRealSpinArrow* Focused;
};
