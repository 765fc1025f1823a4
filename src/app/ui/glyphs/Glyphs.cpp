#include "app/ui/glyphs/Glyphs.h"

#include <cmath>
#include <numbers>

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "app/ui/glyphs/GlyphPainting.h"
#include "cad/engine/EngineGlobals.h"

namespace {

using namespace glyph;

void PaintFileGlyph(QPainter& p, TGlyph glyph)
{
    switch (glyph) {
    case TGlyph::New: {
        Filled(p, Paper);
        p.drawPolygon(QPolygonF({{4, 2}, {12, 2}, {16, 6}, {16, 18}, {4, 18}}));
        p.drawPolyline(QPolygonF({{12, 2}, {12, 6}, {16, 6}}));
        Outline(p, Accent, 2.0);
        p.drawLine(QPointF(11, 13), QPointF(18, 13));
        p.drawLine(QPointF(14.5, 9.5), QPointF(14.5, 16.5));
        break;
    }
    case TGlyph::Open:
        Filled(p, Paper);
        p.drawPolygon(QPolygonF({{2, 16}, {2, 4}, {7, 4}, {9, 6}, {16, 6}, {16, 9}}));
        Filled(p, AccentLight);
        p.drawPolygon(QPolygonF({{2, 16}, {5, 9}, {19, 9}, {16, 16}}));
        break;
    case TGlyph::Save:
        Filled(p, Accent);
        p.drawRoundedRect(QRectF(3, 3, 14, 14), 1.5, 1.5);
        Filled(p, Paper);
        p.drawRect(QRectF(6, 3, 8, 5));
        p.drawRect(QRectF(6, 11, 8, 6));
        Outline(p, Ink, 1.0);
        p.drawLine(QPointF(11.5, 4.5), QPointF(11.5, 6.5));
        break;
    case TGlyph::Vectorize:
        p.setPen(Qt::NoPen);
        p.setBrush(Ink);
        for (int i = 0; i < 4; ++i)
            p.drawRect(QRectF(2 + 2.5 * i, 13 - 2.5 * i, 2.5, 2.5 + 2.5 * i));
        Outline(p, Accent, 2.0);
        {
            QPainterPath curve(QPointF(3, 18));
            curve.cubicTo(QPointF(10, 17), QPointF(11, 4), QPointF(18, 3));
            p.drawPath(curve);
        }
        Node(p, {3, 18});
        Node(p, {18, 3});
        break;
    case TGlyph::Settings: {
        p.setPen(Stroke(Ink, 3.2));
        const QPointF centre(10, 10);
        for (int i = 0; i < 8; ++i) {
            const double a = i * std::numbers::pi / 4;
            const QPointF d(std::cos(a), std::sin(a));
            p.drawLine(centre + d * 5.0, centre + d * 8.0);
        }
        Filled(p, AccentLight);
        p.drawEllipse(centre, 5.5, 5.5);
        Filled(p, Paper);
        p.drawEllipse(centre, 2.0, 2.0);
        break;
    }
    case TGlyph::About:
        Filled(p, Accent);
        p.drawEllipse(QPointF(10, 10), 8, 8);
        Letter(p, QRectF(2, 2, 16, 16), QStringLiteral("?"), Paper);
        break;
    case TGlyph::Exit:
        Filled(p, AccentLight);
        p.drawRect(QRectF(3, 2, 8, 16));
        Outline(p, Ink, 1.0);
        p.drawPoint(QPointF(9, 10));
        Outline(p, Accent, 2.0);
        p.drawLine(QPointF(9, 10), QPointF(16, 10));
        ArrowHead(p, {18.5, 10}, 0.0, Accent);
        break;
    case TGlyph::Cnc:
        Filled(p, AccentLight);
        p.drawRect(QRectF(8, 2, 4, 5));
        Filled(p, Paper);
        p.drawPolygon(QPolygonF({{8, 7}, {12, 7}, {12, 14}, {10, 16}, {8, 14}}));
        Outline(p, Ink, 1.0);
        p.drawLine(QPointF(8, 9), QPointF(12, 11));
        p.drawLine(QPointF(8, 12), QPointF(12, 14));
        Outline(p, Accent, 2.0);
        p.drawLine(QPointF(2, 18), QPointF(18, 18));
        break;
    default:
        break;
    }
}

void PaintViewGlyph(QPainter& p, TGlyph glyph)
{
    switch (glyph) {
    case TGlyph::ZoomExtents:
        Outline(p);
        p.drawPolyline(QPolygonF({{2, 7}, {2, 2}, {7, 2}}));
        p.drawPolyline(QPolygonF({{13, 2}, {18, 2}, {18, 7}}));
        p.drawPolyline(QPolygonF({{18, 13}, {18, 18}, {13, 18}}));
        p.drawPolyline(QPolygonF({{7, 18}, {2, 18}, {2, 13}}));
        Filled(p, AccentLight, Accent);
        p.drawPolygon(QPolygonF({{6, 14}, {8, 6}, {14, 6}, {14, 14}}));
        break;
    case TGlyph::ZoomOut:
    case TGlyph::ZoomIn:
        Lens(p, {8, 8}, 5.5, {17, 17});
        Outline(p, Accent, 2.0);
        p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
        if (glyph == TGlyph::ZoomIn)
            p.drawLine(QPointF(8, 5.5), QPointF(8, 10.5));
        break;
    case TGlyph::ZoomWindow:
        p.setPen(Dashed(Accent));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2, 2, 12, 9));
        Lens(p, {12, 12}, 3.5, {18, 18});
        break;
    case TGlyph::Pan:
        Outline(p);
        p.drawLine(QPointF(10, 4), QPointF(10, 16));
        p.drawLine(QPointF(4, 10), QPointF(16, 10));
        ArrowHead(p, {10, 1.5}, -std::numbers::pi / 2, Accent);
        ArrowHead(p, {10, 18.5}, std::numbers::pi / 2, Accent);
        ArrowHead(p, {1.5, 10}, std::numbers::pi, Accent);
        ArrowHead(p, {18.5, 10}, 0.0, Accent);
        break;
    case TGlyph::Redraw: {
        // Three quarters of a turn, counter-clockwise from 100 to 370 degrees.
        Outline(p, Ink, 2.0);
        const double radius = 6.5;
        p.drawArc(QRectF(10 - radius, 10 - radius, 2 * radius, 2 * radius), 100 * 16, 270 * 16);
        const double end = 10.0 * std::numbers::pi / 180.0;
        const QPointF endPoint(10 + radius * std::cos(end), 10 - radius * std::sin(end));
        // Screen y points down, so the counter-clockwise heading is (-sin, -cos).
        const double heading = std::atan2(-std::cos(end), -std::sin(end));
        ArrowHead(p, endPoint + QPointF(std::cos(heading), std::sin(heading)) * 2.5, heading, Accent, 5.5);
        break;
    }
    default:
        break;
    }
}

// The draw and modify buttons show the glyph of the command they start first.
int CommandKey(TGlyph glyph)
{
    switch (glyph) {
    case TGlyph::Rectangle: return 34;
    case TGlyph::Polyline: return 35;
    case TGlyph::Spline: return 36;
    case TGlyph::VectorText: return 37;
    case TGlyph::Circle: return 0;
    case TGlyph::Line: return 25;
    case TGlyph::Point: return 24;
    case TGlyph::Fillet: return 6;
    case TGlyph::Translate: return 13;
    case TGlyph::Delete: return 19;
    case TGlyph::Info: return 22;
    default: return -1;
    }
}

void PaintStatusGlyph(QPainter& p, TGlyph glyph)
{
    switch (glyph) {
    case TGlyph::Ortho:
        Filled(p, AccentLight, Accent);
        p.drawRect(QRectF(4, 12, 4, 4));
        Outline(p);
        p.drawPolyline(QPolygonF({{4, 2}, {4, 16}, {18, 16}}));
        break;
    case TGlyph::Axes:
        Outline(p);
        p.drawLine(QPointF(4, 16), QPointF(16, 16));
        p.drawLine(QPointF(4, 16), QPointF(4, 4));
        ArrowHead(p, {18.5, 16}, 0.0, Accent);
        ArrowHead(p, {4, 1.5}, -std::numbers::pi / 2, Accent);
        break;
    case TGlyph::WindowSelect:
        p.setPen(Dashed(Accent));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2, 2, 13, 10));
        Filled(p, Paper);
        p.drawPolygon(QPolygonF({{10, 7}, {10, 18}, {12.5, 15.5}, {14.5, 19}, {16.5, 18}, {14.5, 14.5}, {18, 14.5}}));
        break;
    case TGlyph::Grid:
        Outline(p, Ink, 1.0);
        for (double at : {3.0, 10.0, 17.0}) {
            p.drawLine(QPointF(at, 2), QPointF(at, 18));
            p.drawLine(QPointF(2, at), QPointF(18, at));
        }
        Node(p, {10, 10});
        break;
    case TGlyph::Stop:
        Filled(p, StopRed, StopRed);
        p.drawEllipse(QPointF(10, 10), 8, 8);
        Outline(p, Paper, 2.2);
        p.drawLine(QPointF(6.5, 6.5), QPointF(13.5, 13.5));
        p.drawLine(QPointF(6.5, 13.5), QPointF(13.5, 6.5));
        break;
    case TGlyph::Accept:
        Outline(p, AcceptGreen, 3.0);
        p.drawPolyline(QPolygonF({{3, 10}, {8, 15}, {17, 4}}));
        break;
    default:
        break;
    }
}

void PaintGlyph(QPainter& p, TGlyph glyph)
{
    PaintFileGlyph(p, glyph);
    PaintViewGlyph(p, glyph);
    if (const int key = CommandKey(glyph); key >= 0)
        PaintCommand(p, key);
    PaintStatusGlyph(p, glyph);
}

// The object-snap picture of a mode: the kind of point the pointer is drawn to.
void PaintSnapMode(QPainter& p, int mode)
{
    switch (mode) {
    case SNAP_ENDPOINT:
        Outline(p);
        p.drawLine(QPointF(3, 17), QPointF(13, 7));
        Filled(p, AccentLight, Accent);
        p.drawRect(QRectF(10.5, 4.5, 5, 5));
        break;
    case SNAP_MIDPOINT:
        Outline(p);
        p.drawLine(QPointF(2, 17), QPointF(18, 3));
        Filled(p, AccentLight, Accent);
        p.drawPolygon(QPolygonF({{10, 6.5}, {13.2, 12.2}, {6.8, 12.2}}));
        break;
    case SNAP_CENTRE:
        Outline(p);
        p.drawEllipse(QPointF(10, 10), 7, 7);
        Filled(p, AccentLight, Accent);
        p.drawEllipse(QPointF(10, 10), 2.5, 2.5);
        break;
    case SNAP_POINT:
        Outline(p, Accent, 2.0);
        p.drawLine(QPointF(6, 6), QPointF(14, 14));
        p.drawLine(QPointF(6, 14), QPointF(14, 6));
        Filled(p, Ink, Ink);
        p.drawEllipse(QPointF(10, 10), 1.3, 1.3);
        break;
    case SNAP_AUTO:
        // A magnet: the pointer is drawn to whichever point is nearest.
        p.setPen(QPen(Accent, 3.2, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4.5, 5, 11, 11), 180 * 16, 180 * 16);
        p.drawLine(QPointF(4.5, 10.5), QPointF(4.5, 4));
        p.drawLine(QPointF(15.5, 10.5), QPointF(15.5, 4));
        p.setPen(QPen(Ink, 3.2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(4.5, 4), QPointF(4.5, 1.5));
        p.drawLine(QPointF(15.5, 4), QPointF(15.5, 1.5));
        break;
    default:
        // Object snap off: the bare cross-hair.
        Outline(p, Ink, 1.2);
        p.drawLine(QPointF(10, 2), QPointF(10, 18));
        p.drawLine(QPointF(2, 10), QPointF(18, 10));
        p.drawRect(QRectF(7.5, 7.5, 5, 5));
        break;
    }
}

void PaintGridBehind(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(GridInk);
    for (double x : {2.5, 7.5, 12.5, 17.5})
        for (double y : {2.5, 7.5, 12.5, 17.5})
            p.drawEllipse(QPointF(x, y), 1.0, 1.0);
}

bool IsSnapGlyphIndex(int index)
{
    return index >= 7 && index <= 18;
}

} // namespace

QPixmap GlyphPixmap(TGlyph glyph, int size)
{
    return Render(size, [glyph](QPainter& p) { PaintGlyph(p, glyph); });
}

QIcon GlyphIcon(TGlyph glyph)
{
    return IconOfPicture([glyph](int size) { return GlyphPixmap(glyph, size); });
}

QPixmap SnapGlyphPixmap(int index, int size)
{
    if (!IsSnapGlyphIndex(index))
        return {};
    // Odd indices are the modes themselves (7 for off), even ones add the grid.
    const bool grid = index % 2 == 0;
    const int mode = grid ? index - 1 : index;
    return Render(size, [grid, mode](QPainter& p) {
        if (grid)
            PaintGridBehind(p);
        PaintSnapMode(p, mode == 7 ? SNAP_OFF : mode);
    });
}

QIcon SnapGlyphIcon(int index)
{
    return IconOfPicture([index](int size) { return SnapGlyphPixmap(index, size); });
}
