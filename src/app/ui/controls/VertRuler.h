#pragma once

// A vertical scale: ticks and numbers along one edge, zero at a chosen row,
// counting up downward. The Z-depth window shows the depth with it.

#include <QColor>
#include <QString>
#include <QWidget>

#include "app/RulerMarks.h"

class TVertRuler : public QWidget {
    Q_OBJECT
public:
    // Placed at 30, 122 and 25 x 300 in its owner, as designed.
    explicit TVertRuler(QWidget* owner = nullptr);

    int ScalaFactor() const { return Scale.Factor; }
    void SetScalaFactor(int factor);
    int ScalaOffset() const { return Scale.Offset; }
    void SetScalaOffset(int offset);
    double ScalaTextIncrement() const { return Scale.TextIncrement; }
    void SetScalaTextIncrement(double increment);
    int ScalaFontSize() const { return FontSizeValue; }
    void SetScalaFontSize(int size);
    QColor ScalaColor() const { return ColorValue; }
    void SetScalaColor(const QColor& color);
    TRulerEdge ScalaEdgePos() const { return Scale.Edge; }
    void SetScalaEdgePos(TRulerEdge edge);
    bool ScalaShowText() const { return Scale.ShowText; }
    void SetScalaShowText(bool show);
    bool ShowUnit() const { return ShowUnitValue; }
    void SetShowUnit(bool show);
    QString TextUnit() const { return TextUnitValue; }
    void SetTextUnit(const QString& unit);

    // The ticks and labels as painted at the present size.
    TRulerMarks Marks() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TRulerScale Scale;
    int FontSizeValue = 6;
    QColor ColorValue = QColor(0, 0, 0);
    bool ShowUnitValue = true;
    QString TextUnitValue = QStringLiteral("mm");
};
