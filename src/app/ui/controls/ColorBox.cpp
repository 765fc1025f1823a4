#include "app/ui/controls/ColorBox.h"

#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>

#include "cad/canvas/CanvasTypes.h"
#include "cad/canvas/DecorativeCanvas.h"

namespace {

struct TNamedColor {
    TColor Color;
    const char* Name;
};

constexpr TNamedColor kColors[] = {
    {0x000000, "Black"}, {0x000080, "Maroon"}, {0x008000, "Green"}, {0x008080, "Olive"},
    {0x800000, "Navy"}, {0x800080, "Purple"}, {0x808000, "Teal"}, {0x808080, "Gray"},
    {0xC0C0C0, "Silver"}, {0x0000FF, "Red"}, {0x00FF00, "Lime"}, {0x00FFFF, "Yellow"},
    {0xFF0000, "Blue"}, {0xFF00FF, "Fuchsia"}, {0xFFFF00, "Aqua"}, {0xFFFFFF, "White"},
    {0xC0DCC0, "Money Green"}, {0xF0CAA6, "Sky Blue"}, {0xF0FBFF, "Cream"}, {0xA4A0A0, "Medium Gray"},
    {clWindow, "Window"},
};

QIcon Swatch(TColor color)
{
    QPixmap swatch(16, 12);
    swatch.fill(ToQColor(color));
    QPainter painter(&swatch);
    painter.setPen(Qt::black);
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    painter.end();
    return QIcon(swatch);
}

// 0x00BBGGRR as the "#RRGGBB" people know.
QString HexName(TColor color)
{
    const QColor rgb = ToQColor(color);
    return rgb.name(QColor::HexRgb).toUpper();
}

} // namespace

TColorBox::TColorBox(QWidget* parent)
    : QComboBox(parent)
{
    // Narrow enough for the option pages; the open list shows whole names.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
    for (const TNamedColor& entry : kColors)
        AddColor(entry.Color, QString::fromLatin1(entry.Name));
}

void TColorBox::AddColor(TColor color, const QString& name)
{
    addItem(Swatch(color), name, QVariant::fromValue<qint32>(color));
}

TColor TColorBox::Selected() const
{
    const QVariant value = currentData();
    return value.isValid() ? value.value<qint32>() : clBlack;
}

void TColorBox::SetSelected(TColor color)
{
    const QSignalBlocker quiet(this);
    int index = findData(QVariant::fromValue<qint32>(color));
    if (index < 0) {
        AddColor(color, HexName(color));
        index = count() - 1;
    }
    setCurrentIndex(index);
}
