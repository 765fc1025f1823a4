#include "app/ui/glyphs/GlyphPainting.h"

#include <cmath>

#include <QIcon>
#include <QPainter>
#include <QPolygonF>

#include "app/ui/glyphs/Glyphs.h"

namespace glyph {

QPen Stroke(const QColor& color, qreal width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPen Dashed(const QColor& color)
{
    QPen pen = Stroke(color, 1.2);
    pen.setCapStyle(Qt::FlatCap);
    pen.setDashPattern({2.0, 1.6});
    return pen;
}

void Outline(QPainter& p, const QColor& color, qreal width)
{
    p.setPen(Stroke(color, width));
    p.setBrush(Qt::NoBrush);
}

void Filled(QPainter& p, const QColor& fill, const QColor& line)
{
    p.setPen(Stroke(line));
    p.setBrush(fill);
}

void Node(QPainter& p, QPointF at, const QColor& color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawRect(QRectF(at.x() - 1.75, at.y() - 1.75, 3.5, 3.5));
}

void ArrowHead(QPainter& p, QPointF tip, double angle, const QColor& color, double length)
{
    const double spread = 0.45;
    QPolygonF head;
    head << tip << tip - QPointF(length * std::cos(angle - spread), length * std::sin(angle - spread))
         << tip - QPointF(length * std::cos(angle + spread), length * std::sin(angle + spread));
    p.setPen(Stroke(color, 1.0));
    p.setBrush(color);
    p.drawPolygon(head);
}

void Lens(QPainter& p, QPointF centre, double radius, QPointF handleEnd)
{
    const QPointF direction = (handleEnd - centre) / std::hypot(handleEnd.x() - centre.x(), handleEnd.y() - centre.y());
    p.setPen(Stroke(Ink, 3.0));
    p.drawLine(centre + direction * radius, handleEnd);
    Filled(p, Paper);
    p.drawEllipse(centre, radius, radius);
}

void Letter(QPainter& p, const QRectF& box, const QString& text, const QColor& color)
{
    QFont font = p.font();
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(color);
    p.drawText(box, Qt::AlignCenter, text);
}

QPixmap Render(int size, const std::function<void(QPainter&)>& paint)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(size / double(kGlyphSize), size / double(kGlyphSize));
    paint(painter);
    return pixmap;
}

QIcon IconOfPicture(const std::function<QPixmap(int size)>& picture)
{
    QIcon icon;
    const QPixmap small = picture(kGlyphSize);
    if (small.isNull())
        return icon;
    icon.addPixmap(small);
    icon.addPixmap(picture(2 * kGlyphSize));
    return icon;
}

} // namespace glyph
