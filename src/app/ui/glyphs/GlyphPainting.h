#pragma once

// The drawing vocabulary that every glyph of the program shares, so that the
// pictures keep one style: the palette, the strokes, control-point nodes and
// arrow heads, on a grid of kGlyphSize x kGlyphSize units.

#include <functional>

#include <QColor>
#include <QPen>
#include <QPixmap>
#include <QPointF>

class QIcon;
class QPainter;
class QRectF;
class QString;

namespace glyph {

inline const QColor Ink(0x2c, 0x3e, 0x50);
inline const QColor Accent(0x1f, 0x78, 0xd1);
inline const QColor AccentLight(0xcf, 0xe2, 0xf7);
inline const QColor Paper(0xff, 0xff, 0xff);
inline const QColor GridInk(0x95, 0xa5, 0xa6);
inline const QColor StopRed(0xd0, 0x30, 0x30);
inline const QColor AcceptGreen(0x23, 0x9b, 0x56);

QPen Stroke(const QColor& color, qreal width = 1.5);
QPen Dashed(const QColor& color);
// Sets the pen for lines and no fill.
void Outline(QPainter& p, const QColor& color = Ink, qreal width = 1.5);
// Sets the pen and the fill for closed shapes.
void Filled(QPainter& p, const QColor& fill, const QColor& line = Ink);
// A small square marker centred on a point, as drawings mark control points.
void Node(QPainter& p, QPointF at, const QColor& color = Accent);
// A filled arrow head with its tip at the point, pointing at the angle (radians, screen y down).
void ArrowHead(QPainter& p, QPointF tip, double angle, const QColor& color, double length = 4.5);
// A magnifying glass.
void Lens(QPainter& p, QPointF centre, double radius, QPointF handleEnd);
// A bold character centred in the box.
void Letter(QPainter& p, const QRectF& box, const QString& text, const QColor& color);

// A transparent pixmap of size x size with the painter scaled to the glyph grid.
QPixmap Render(int size, const std::function<void(QPainter&)>& paint);

// An icon of the picture at the glyph size and at twice it, for dense
// screens; an empty icon when the picture at the glyph size is null.
QIcon IconOfPicture(const std::function<QPixmap(int size)>& picture);

// The picture of a drawing or editing command by its key (see CommandGlyphPixmap).
void PaintCommand(QPainter& p, int key);

} // namespace glyph
