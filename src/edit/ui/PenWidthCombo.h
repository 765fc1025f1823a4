#pragma once

// A drop-down list of pen widths 1 to 10, each item showing a sample line
// of its width beside the number.

#include <QComboBox>

class Tpenwidthcombo : public QComboBox {
    Q_OBJECT

public:
    static constexpr int kWidthCount = 10;

    explicit Tpenwidthcombo(QWidget* parent = nullptr);

    // Width w selects item w - 1; a width outside 1 to 10 selects none.
    void SetPenWidth(int width);
    // The width of the current item; 0 when none is current.
    int PenWidth() const;

    // Item i: the sample line of width i + 1 in a box, then its text.
    void DrawItem(QPainter& painter, const QRect& rect, int index, bool selected) const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
