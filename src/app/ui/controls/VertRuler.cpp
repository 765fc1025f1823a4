#include "app/ui/controls/VertRuler.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

TVertRuler::TVertRuler(QWidget* owner)
    : QWidget(owner)
{
    setGeometry(30, 122, 25, 300);
}

void TVertRuler::SetScalaFactor(int factor)
{
    Scale.Factor = factor;
    update();
}

void TVertRuler::SetScalaOffset(int offset)
{
    Scale.Offset = offset;
    update();
}

void TVertRuler::SetScalaTextIncrement(double increment)
{
    Scale.TextIncrement = increment;
    update();
}

void TVertRuler::SetScalaFontSize(int size)
{
    FontSizeValue = size;
    update();
}

void TVertRuler::SetScalaColor(const QColor& color)
{
    ColorValue = color;
    update();
}

void TVertRuler::SetScalaEdgePos(TRulerEdge edge)
{
    Scale.Edge = edge;
    update();
}

void TVertRuler::SetScalaShowText(bool show)
{
    Scale.ShowText = show;
    update();
}

void TVertRuler::SetShowUnit(bool show)
{
    ShowUnitValue = show;
    update();
}

void TVertRuler::SetTextUnit(const QString& unit)
{
    TextUnitValue = unit;
    update();
}

TRulerMarks TVertRuler::Marks() const
{
    return ComputeRulerMarks(width(), height(), Scale);
}

void TVertRuler::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), palette().color(QPalette::Midlight));

    QFont font(QStringLiteral("Arial"));
    if (FontSizeValue > 0)
        font.setPointSize(FontSizeValue);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    painter.setPen(ColorValue);

    const TRulerMarks marks = Marks();
    for (const TRulerTick& tick : marks.Ticks)
        painter.drawLine(tick.X1, tick.Y, tick.X2, tick.Y);
    for (const TRulerLabel& label : marks.Labels)
        painter.drawText(label.X, label.Top + metrics.ascent(), QString::fromStdString(label.Text));
    if (ShowUnitValue)
        painter.drawText(marks.LabelX, height() - 4 - metrics.descent(), TextUnitValue);

    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
}
