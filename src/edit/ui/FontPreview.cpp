#include "edit/ui/FontPreview.h"

#include <algorithm>

#include <QPainter>

#include "cad/fonts/TrueTypeStrokes.h"

TFontPreview::TFontPreview(TTTFToVectorConverter& converter, QWidget* parent) : QWidget(parent), Converter(converter)
{
    setMinimumSize(120, 120);
}

void TFontPreview::SetPreviewChar(std::uint32_t code)
{
    Code = code;
    update();
}

void TFontPreview::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    // A blank has no outline: the box stays empty.
    const std::unique_ptr<TStrokeCollection> strokes = Code > 32 ? Converter.GetCharStrokes(Code) : nullptr;
    if (!strokes)
        return;
    const TStrokeBounds box = strokes->GetBounds();
    const double scale = std::min((width() - 20.0) / (box.Right - box.Left + 1), (height() - 20.0) / (box.Bottom - box.Top + 1));
    const auto at = [&](std::int32_t x, std::int32_t y) {
        return QPointF(10 + (x - box.Left) * scale, height() - 10 - (y - box.Top) * scale - 1);
    };
    for (const TStroke& s : strokes->All()) {
        painter.setPen(Qt::red);
        painter.drawLine(at(s.X1, s.Y1), at(s.X2, s.Y2));
        painter.fillRect(QRectF(at(s.X1, s.Y1) - QPointF(2, 2), QSizeF(4, 4)), Qt::green);
    }
}
