// The pictures of the drawing and editing commands, by the key each command
// is known by in the recently-used bar and on the split buttons.

#include <cmath>
#include <numbers>

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "app/ui/glyphs/GlyphPainting.h"
#include "app/ui/glyphs/Glyphs.h"

namespace {

using namespace glyph;

constexpr double kPi = std::numbers::pi;

// A point on a circle at an angle in degrees, counter-clockwise on screen.
QPointF OnCircle(QPointF centre, double radius, double degrees)
{
    const double a = degrees * kPi / 180.0;
    return centre + QPointF(radius * std::cos(a), -radius * std::sin(a));
}

QRectF CircleBox(QPointF centre, double radius)
{
    return QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
}

void Arc(QPainter& p, QPointF centre, double radius, double startDegrees, double spanDegrees)
{
    p.drawArc(CircleBox(centre, radius), qRound(startDegrees * 16), qRound(spanDegrees * 16));
}

void CentreMark(QPainter& p, QPointF centre)
{
    Outline(p, Accent, 1.2);
    p.drawLine(centre - QPointF(2, 0), centre + QPointF(2, 0));
    p.drawLine(centre - QPointF(0, 2), centre + QPointF(0, 2));
}

void Cross(QPainter& p, QPointF centre, double half, const QColor& color, qreal width)
{
    Outline(p, color, width);
    p.drawLine(centre + QPointF(-half, -half), centre + QPointF(half, half));
    p.drawLine(centre + QPointF(-half, half), centre + QPointF(half, -half));
}

bool PaintCircles(QPainter& p, int key)
{
    const QPointF centre(10, 10);
    switch (key) {
    case 0:
    case 33:  // circle by centre and a point on it
        Outline(p);
        p.drawEllipse(centre, 7.5, 7.5);
        CentreMark(p, centre);
        p.drawLine(centre, OnCircle(centre, 7.5, 45));
        Node(p, OnCircle(centre, 7.5, 45));
        return true;
    case 1:  // circle by centre and diameter
        Outline(p);
        p.drawEllipse(centre, 7.5, 7.5);
        Outline(p, Accent, 1.2);
        p.drawLine(QPointF(4, 10), QPointF(16, 10));
        ArrowHead(p, {2.8, 10}, kPi, Accent, 3.5);
        ArrowHead(p, {17.2, 10}, 0.0, Accent, 3.5);
        return true;
    case 2:  // arc by centre, a point, start and end angle
        Outline(p);
        Arc(p, centre, 7.5, 0, 135);
        p.setPen(Dashed(Accent));
        p.drawLine(centre, OnCircle(centre, 7.5, 0));
        p.drawLine(centre, OnCircle(centre, 7.5, 135));
        Node(p, centre);
        Node(p, OnCircle(centre, 7.5, 0));
        Node(p, OnCircle(centre, 7.5, 135));
        return true;
    case 3: {  // polar arc: centre, radius and angles typed
        const QPointF c(5, 15);
        Outline(p);
        Arc(p, c, 12, 0, 90);
        p.setPen(Dashed(Ink));
        p.drawLine(c, OnCircle(c, 12, 0));
        Outline(p, Accent, 1.5);
        Arc(p, c, 5, 0, 90);
        Node(p, c);
        return true;
    }
    case 4:  // closed ellipse
        Outline(p);
        p.drawEllipse(QRectF(2, 5, 16, 10));
        CentreMark(p, centre);
        Node(p, {18, 10});
        Node(p, {10, 5});
        return true;
    case 5:  // open ellipse
        Outline(p);
        p.drawArc(QRectF(2, 5, 16, 10), 0, 210 * 16);
        Node(p, {18, 10});
        Node(p, QPointF(10 + 8 * std::cos(210 * kPi / 180), 10 - 5 * std::sin(210 * kPi / 180)));
        return true;
    case 32:  // arc tangent to an entity
        Outline(p);
        p.drawLine(QPointF(2, 16), QPointF(10, 16));
        Outline(p, Accent, 2.0);
        Arc(p, {10, 10}, 6, 270, 180);
        Node(p, {10, 16});
        return true;
    case 39: {  // bolt circle
        p.setPen(Dashed(Ink));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, 7, 7);
        Filled(p, AccentLight, Accent);
        for (int i = 0; i < 6; ++i)
            p.drawEllipse(OnCircle(centre, 7, 90 + 60 * i), 1.8, 1.8);
        return true;
    }
    default:
        return false;
    }
}

bool PaintLines(QPainter& p, int key)
{
    switch (key) {
    case 24:  // point
        Outline(p, Ink, 1.5);
        p.drawLine(QPointF(10, 2), QPointF(10, 6.5));
        p.drawLine(QPointF(10, 13.5), QPointF(10, 18));
        p.drawLine(QPointF(2, 10), QPointF(6.5, 10));
        p.drawLine(QPointF(13.5, 10), QPointF(18, 10));
        Filled(p, Accent, Accent);
        p.drawEllipse(QPointF(10, 10), 2.5, 2.5);
        return true;
    case 25:  // line by its end points
        Outline(p);
        p.drawLine(QPointF(3, 16), QPointF(17, 4));
        Node(p, {3, 16});
        Node(p, {17, 4});
        return true;
    case 28: {  // polar line: length and angle from a point
        const QPointF from(3, 16);
        p.setPen(Dashed(GridInk));
        p.drawLine(from, QPointF(18, 16));
        Outline(p);
        p.drawLine(from, OnCircle(from, 15, 50));
        Outline(p, Accent, 1.5);
        Arc(p, from, 7, 0, 50);
        Node(p, from);
        return true;
    }
    case 29:  // line tangent to two arcs
        Outline(p);
        p.drawEllipse(QPointF(5, 12), 3.5, 3.5);
        p.drawEllipse(QPointF(15, 12), 3.5, 3.5);
        Outline(p, Accent, 1.8);
        p.drawLine(QPointF(2, 8.5), QPointF(18, 8.5));
        return true;
    case 30: {  // line tangent to an arc at an angle
        const QPointF centre(8, 12);
        Outline(p);
        p.drawEllipse(centre, 5, 5);
        const QPointF touch = OnCircle(centre, 5, 45);
        Outline(p, Accent, 1.8);
        p.drawLine(touch + QPointF(-7, -7), touch + QPointF(6, 6));
        Node(p, touch);
        return true;
    }
    case 31:  // line perpendicular to an entity
        Outline(p);
        p.drawLine(QPointF(2, 16), QPointF(18, 16));
        Outline(p, Accent, 1.8);
        p.drawLine(QPointF(10, 16), QPointF(10, 3));
        Outline(p, Ink, 1.0);
        p.drawPolyline(QPolygonF({{10, 12}, {14, 12}, {14, 16}}));
        Node(p, {10, 3});
        return true;
    case 34:  // rectangle
        Outline(p);
        p.drawRect(QRectF(3, 5, 14, 10));
        Node(p, {3, 5});
        Node(p, {17, 15});
        return true;
    case 35: {  // polyline
        const QPolygonF points({{2, 16}, {7, 5}, {12, 13}, {18, 4}});
        Outline(p);
        p.drawPolyline(points);
        for (const QPointF& point : points)
            Node(p, point);
        return true;
    }
    case 36: {  // spline
        const QPointF a(2, 16), b(6, 2), c(14, 18), d(18, 4);
        p.setPen(Dashed(Accent));
        p.drawPolyline(QPolygonF({a, b, c, d}));
        Outline(p);
        QPainterPath curve(a);
        curve.cubicTo(b, c, d);
        p.drawPath(curve);
        for (const QPointF& point : {a, b, c, d})
            Node(p, point);
        return true;
    }
    case 37:  // vector text
        Outline(p, Ink, 1.8);
        p.drawPolyline(QPolygonF({{4, 17}, {10, 3}, {16, 17}}));
        p.drawLine(QPointF(6.6, 11.5), QPointF(13.4, 11.5));
        Node(p, {4, 17});
        Node(p, {10, 3});
        Node(p, {16, 17});
        return true;
    case 38:  // grid of points
        Outline(p, Ink, 1.0);
        p.drawRect(QRectF(3, 3, 14, 14));
        for (double x : {3.0, 10.0, 17.0})
            for (double y : {3.0, 10.0, 17.0})
                Node(p, {x, y});
        return true;
    default:
        return false;
    }
}

bool PaintEdits(QPainter& p, int key)
{
    switch (key) {
    case 6:  // fillet
        p.setPen(Dashed(GridInk));
        p.drawPolyline(QPolygonF({{10, 17}, {17, 17}, {17, 10}}));
        Outline(p);
        p.drawLine(QPointF(2, 17), QPointF(10, 17));
        p.drawLine(QPointF(17, 2), QPointF(17, 10));
        Outline(p, Accent, 2.0);
        p.drawArc(QRectF(3, 3, 14, 14), 270 * 16, 90 * 16);
        return true;
    case 7:  // trim at a cutting edge
        Outline(p, Accent, 1.8);
        p.drawLine(QPointF(12, 2), QPointF(12, 18));
        Outline(p);
        p.drawLine(QPointF(2, 10), QPointF(12, 10));
        p.setPen(Dashed(GridInk));
        p.drawLine(QPointF(12, 10), QPointF(18, 10));
        Cross(p, {15.5, 13.5}, 1.8, StopRed, 1.4);
        return true;
    case 8:  // extend to a boundary
        Outline(p, Accent, 1.8);
        p.drawLine(QPointF(17, 2), QPointF(17, 18));
        Outline(p);
        p.drawLine(QPointF(2, 10), QPointF(9, 10));
        p.setPen(Dashed(Accent));
        p.drawLine(QPointF(9, 10), QPointF(13, 10));
        ArrowHead(p, {16.5, 10}, 0.0, Accent, 3.5);
        return true;
    case 9:  // change layer
        Filled(p, Paper);
        p.drawPolygon(QPolygonF({{2, 14}, {10, 10}, {18, 14}, {10, 18}}));
        Filled(p, AccentLight, Accent);
        p.drawPolygon(QPolygonF({{2, 7}, {10, 3}, {18, 7}, {10, 11}}));
        return true;
    case 10:  // polyline simplification
        p.setPen(Dashed(GridInk));
        p.drawPolyline(QPolygonF({{2, 14}, {4, 11}, {6, 13}, {8, 8}, {10, 10}, {12, 6}, {14, 8}, {16, 4}, {18, 5}}));
        Outline(p);
        p.drawPolyline(QPolygonF({{2, 14}, {10, 9}, {18, 5}}));
        for (const QPointF& point : {QPointF(2, 14), QPointF(10, 9), QPointF(18, 5)})
            Node(p, point);
        return true;
    case 11:  // move a control point
        p.setPen(Dashed(GridInk));
        p.drawPolyline(QPolygonF({{2, 17}, {10, 13}, {18, 17}}));
        Outline(p);
        p.drawPolyline(QPolygonF({{2, 17}, {10, 4}, {18, 17}}));
        Outline(p, Accent, 1.2);
        p.drawLine(QPointF(10, 12), QPointF(10, 8));
        ArrowHead(p, {10, 6.5}, -kPi / 2, Accent, 3.0);
        Node(p, {10, 4});
        return true;
    case 12:  // break: a piece cut out
        Outline(p);
        p.drawLine(QPointF(2, 14), QPointF(7, 10));
        p.drawLine(QPointF(13, 6), QPointF(18, 2));
        Outline(p, Accent, 1.5);
        p.drawLine(QPointF(5.5, 7.5), QPointF(8.5, 12.5));
        p.drawLine(QPointF(11.5, 3.5), QPointF(14.5, 8.5));
        Node(p, {7, 10});
        Node(p, {13, 6});
        return true;
    case 17: {  // offset: a parallel copy
        QPainterPath curve(QPointF(2, 12));
        curve.cubicTo(QPointF(7, 2), QPointF(13, 2), QPointF(18, 12));
        Outline(p);
        p.drawPath(curve);
        Outline(p, Accent, 1.8);
        p.drawPath(curve.translated(0, 5));
        return true;
    }
    case 41:  // split into two at a point
        Outline(p);
        p.drawLine(QPointF(2, 16), QPointF(10, 10));
        Outline(p, Accent, 1.8);
        p.drawLine(QPointF(10, 10), QPointF(18, 4));
        Outline(p, Ink, 1.2);
        p.drawLine(QPointF(7.5, 6.5), QPointF(12.5, 13.5));
        Node(p, {10, 10});
        return true;
    case 42:  // join two entities into one
        Outline(p);
        p.drawLine(QPointF(2, 15), QPointF(8, 10));
        p.drawLine(QPointF(12, 10), QPointF(18, 5));
        Outline(p, Accent, 1.5);
        p.drawLine(QPointF(8, 10), QPointF(12, 10));
        ArrowHead(p, {9.5, 10}, 0.0, Accent, 3.0);
        ArrowHead(p, {10.5, 10}, kPi, Accent, 3.0);
        return true;
    case 27:  // explode into separate entities
        Outline(p);
        p.drawLine(QPointF(2, 5), QPointF(8, 5));
        p.drawLine(QPointF(12, 5), QPointF(18, 5));
        p.drawLine(QPointF(2, 15), QPointF(8, 15));
        p.drawLine(QPointF(12, 15), QPointF(18, 15));
        Outline(p, Accent, 1.2);
        for (double a = 0; a < 360; a += 90)
            p.drawLine(OnCircle({10, 10}, 1.5, a + 45), OnCircle({10, 10}, 4, a + 45));
        return true;
    default:
        return false;
    }
}

bool PaintTransforms(QPainter& p, int key)
{
    switch (key) {
    case 13:  // translate
        p.setPen(Dashed(Ink));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2, 10, 7, 7));
        Filled(p, AccentLight, Accent);
        p.drawRect(QRectF(11, 3, 7, 7));
        Outline(p, Ink, 1.2);
        p.drawLine(QPointF(7, 12), QPointF(11.5, 7.5));
        ArrowHead(p, {12.5, 6.5}, -kPi / 4, Ink, 3.5);
        return true;
    case 14: {  // rotate
        p.setPen(Dashed(Ink));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(5, 9, 8, 8));
        Filled(p, AccentLight, Accent);
        p.drawPolygon(QPolygonF({{12, 3}, {17, 8}, {12, 13}, {7, 8}}));
        Outline(p, Ink, 1.2);
        Arc(p, {9, 13}, 8, 100, 60);
        return true;
    }
    case 15:  // mirror about an axis
        p.setPen(QPen(Accent, 1.2, Qt::DashDotLine));
        p.drawLine(QPointF(10, 1), QPointF(10, 19));
        Filled(p, AccentLight);
        p.drawPolygon(QPolygonF({{8, 4}, {8, 16}, {2, 16}}));
        p.setPen(Dashed(Ink));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(QPolygonF({{12, 4}, {12, 16}, {18, 16}}));
        return true;
    case 16:  // scale
        p.setPen(Dashed(Accent));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2, 2, 16, 16));
        Filled(p, AccentLight);
        p.drawRect(QRectF(2, 11, 7, 7));
        Outline(p, Ink, 1.2);
        p.drawLine(QPointF(8, 12), QPointF(14, 6));
        ArrowHead(p, {15.5, 4.5}, -kPi / 4, Ink, 3.5);
        return true;
    default:
        return false;
    }
}

bool PaintDeletesAndQueries(QPainter& p, int key)
{
    switch (key) {
    case 19:  // delete
        Outline(p, GridInk, 1.5);
        p.drawRect(QRectF(3, 3, 14, 14));
        Cross(p, {10, 10}, 5, StopRed, 2.6);
        return true;
    case 20:  // delete everything inside a window
        p.setPen(Dashed(Accent));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2, 2, 16, 16));
        Cross(p, {10, 10}, 4, StopRed, 2.4);
        return true;
    case 21:  // bring back what was deleted
        Outline(p, GridInk, 1.5);
        p.drawRect(QRectF(8, 8, 10, 10));
        Outline(p, AcceptGreen, 2.0);
        Arc(p, {9, 9}, 5.5, 90, 180);
        ArrowHead(p, {11.5, 3.5}, 0.0, AcceptGreen, 4.0);
        return true;
    case 22:  // entity information
        Filled(p, Accent);
        p.drawEllipse(QPointF(10, 10), 8, 8);
        Letter(p, QRectF(2, 2, 16, 16), QStringLiteral("i"), Paper);
        return true;
    case 23:  // show the end points
        Outline(p);
        Arc(p, {10, 16}, 8, 0, 180);
        Outline(p, Accent, 1.6);
        p.drawEllipse(QPointF(2, 16), 2, 2);
        p.drawEllipse(QPointF(18, 16), 2, 2);
        return true;
    case 26:  // delete small entities
        Outline(p);
        p.drawLine(QPointF(2, 4), QPointF(18, 4));
        p.drawLine(QPointF(3, 12), QPointF(5, 10));
        p.drawLine(QPointF(9, 15), QPointF(11, 16));
        p.drawLine(QPointF(15, 10), QPointF(16, 12));
        Cross(p, {10, 11.5}, 2, StopRed, 1.6);
        return true;
    case 40:  // distance between two points
        Outline(p, Ink, 1.2);
        p.drawLine(QPointF(3, 5), QPointF(3, 17));
        p.drawLine(QPointF(17, 5), QPointF(17, 17));
        Outline(p, Accent, 1.2);
        p.drawLine(QPointF(6, 11), QPointF(14, 11));
        ArrowHead(p, {3.5, 11}, kPi, Accent, 3.5);
        ArrowHead(p, {16.5, 11}, 0.0, Accent, 3.5);
        return true;
    default:
        return false;
    }
}

} // namespace

namespace glyph {

void PaintCommand(QPainter& p, int key)
{
    PaintCircles(p, key) || PaintLines(p, key) || PaintEdits(p, key) || PaintTransforms(p, key)
        || PaintDeletesAndQueries(p, key);
}

} // namespace glyph

QPixmap CommandGlyphPixmap(int key, int size)
{
    if (key < 0 || key >= kCommandGlyphCount || key == 18)
        return {};
    return glyph::Render(size, [key](QPainter& p) { glyph::PaintCommand(p, key); });
}

QIcon CommandGlyphIcon(int key)
{
    return glyph::IconOfPicture([key](int size) { return CommandGlyphPixmap(key, size); });
}
