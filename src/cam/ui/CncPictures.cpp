#include "cam/ui/CncPictures.h"

#include <cmath>
#include <numbers>

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "app/ui/glyphs/GlyphPainting.h"

namespace {

using namespace glyph;

// The hints are drawn on a 40 x 40 grid: twice the buttons' grid, for the
// finer detail of a side view.
constexpr double kHintScale = 0.5;

// A measure: a thin line between two points with an arrow head at each end.
void Measure(QPainter& p, QPointF a, QPointF b, const QColor& color = StopRed)
{
    p.setPen(Stroke(color, 1.0));
    p.drawLine(a, b);
    const QPointF d = b - a;
    const double angle = std::atan2(d.y(), d.x());
    ArrowHead(p, b, angle, color, 3.5);
    ArrowHead(p, a, angle + std::numbers::pi, color, 3.5);
}

// The part seen from the side, its top at y = top, with a pocket cut from x0 to x1 down to bottom.
void PartSection(QPainter& p, double top, double x0, double x1, double bottom)
{
    Filled(p, AccentLight);
    p.drawPolygon(QPolygonF({{3, top}, {x0, top}, {x0, bottom}, {x1, bottom}, {x1, top}, {37, top}, {37, 36},
                             {3, 36}}));
}

// An end mill seen from the side, its tip at (x, tip).
void Cutter(QPainter& p, double x, double tip, double halfWidth = 4.0)
{
    Filled(p, Paper);
    p.drawRect(QRectF(x - halfWidth, tip - 12, 2 * halfWidth, 12));
    Outline(p, Ink, 1.0);
    p.drawLine(QPointF(x - halfWidth, tip - 8), QPointF(x + halfWidth, tip - 4));
    p.drawLine(QPointF(x - halfWidth, tip - 4), QPointF(x + halfWidth, tip));
    Filled(p, GridInk);
    p.drawRect(QRectF(x - 2, tip - 17, 4, 5));
}

// A level drawn across the picture, dashed, as the planes the Z fields name.
void Level(QPainter& p, double y, const QColor& color = Accent)
{
    p.setPen(Dashed(color));
    p.drawLine(QPointF(1, y), QPointF(39, y));
}

// The chain seen from above, as a rounded outline, with passes beside it at the distances given.
void TopViewPasses(QPainter& p, std::initializer_list<double> offsets, const QColor& passColor)
{
    Filled(p, AccentLight);
    p.drawRoundedRect(QRectF(14, 14, 12, 12), 2, 2);
    for (const double d : offsets) {
        Outline(p, passColor, 1.0);
        p.drawRoundedRect(QRectF(14 - d, 14 - d, 12 + 2 * d, 12 + 2 * d), 2 + d, 2 + d);
    }
}

void PaintHint(QPainter& p, int index)
{
    switch (index) {
    case 0: // The feed plane: how high the cutter travels between cuts.
        PartSection(p, 26, 20, 20, 26);
        Cutter(p, 20, 10);
        Level(p, 10);
        Measure(p, QPointF(32, 10), QPointF(32, 26));
        break;
    case 1: // The top of the part.
        PartSection(p, 22, 20, 20, 22);
        Cutter(p, 20, 14);
        Level(p, 22, StopRed);
        ArrowHead(p, QPointF(32, 22), std::numbers::pi / 2, StopRed);
        p.setPen(Stroke(StopRed, 1.0));
        p.drawLine(QPointF(32, 12), QPointF(32, 22));
        break;
    case 2: // The depth of the cut below the top.
        PartSection(p, 18, 14, 26, 30);
        Cutter(p, 20, 30);
        Measure(p, QPointF(32, 18), QPointF(32, 30));
        break;
    case 3: // The depth each pass takes.
        PartSection(p, 14, 14, 26, 32);
        Outline(p, GridInk, 1.0);
        for (const double y : {20.0, 26.0})
            p.drawLine(QPointF(14, y), QPointF(26, y));
        Cutter(p, 20, 20);
        Measure(p, QPointF(32, 14), QPointF(32, 20));
        break;
    case 4: { // The stock left on the wall by the cutter.
        PartSection(p, 12, 10, 28, 34);
        Cutter(p, 17, 34, 5);
        Filled(p, QColor(0xf7, 0xd9, 0x9c), Ink);
        p.drawRect(QRectF(25, 12, 3, 22));
        Measure(p, QPointF(22, 20), QPointF(28, 20));
        break;
    }
    case 5: // How many rough and finish passes go round the chain.
        TopViewPasses(p, {3.0, 6.0, 9.0}, Accent);
        Outline(p, AcceptGreen, 1.5);
        p.drawRoundedRect(QRectF(2, 2, 36, 36), 11, 11);
        break;
    case 6: // The distance between rough passes.
        TopViewPasses(p, {4.0, 10.0}, Accent);
        Measure(p, QPointF(10, 20), QPointF(4, 20));
        break;
    case 7: { // One pass: a pen, laser or torch that writes no Z.
        Filled(p, AccentLight);
        p.drawRect(QRectF(3, 28, 34, 8));
        Filled(p, Paper);
        p.drawPolygon(QPolygonF({{16, 6}, {24, 6}, {24, 18}, {20, 24}, {16, 18}}));
        Outline(p, StopRed, 2.0);
        p.drawLine(QPointF(20, 24), QPointF(20, 28));
        p.drawLine(QPointF(6, 28), QPointF(34, 28));
        break;
    }
    case 8: { // The step-over: how far apart the pocket's rings run, as a share of the cutter.
        Filled(p, AccentLight);
        p.drawRect(QRectF(3, 3, 34, 34));
        for (const double x : {12.0, 21.0}) {
            Outline(p, Accent, 1.2);
            p.drawEllipse(QPointF(x, 20), 7, 7);
        }
        Measure(p, QPointF(12, 31), QPointF(21, 31));
        break;
    }
    default:
        break;
    }
}

void PaintToolType(QPainter& p, int type)
{
    // The shank, then the cutting end of the type.
    Filled(p, GridInk);
    p.drawRect(QRectF(7, 1, 6, 7));
    Filled(p, Paper);
    QPainterPath end;
    switch (type) {
    case 0: // flat
        end.addRect(QRectF(6, 8, 8, 10));
        break;
    case 1: // bull-nose
        end.addRoundedRect(QRectF(6, 4, 8, 14), 2.5, 2.5);
        end = end.intersected([] {
            QPainterPath cut;
            cut.addRect(QRectF(5, 8, 10, 11));
            return cut;
        }());
        break;
    case 2: // spherical
        end.moveTo(6, 8);
        end.lineTo(14, 8);
        end.lineTo(14, 14);
        end.arcTo(QRectF(6, 10, 8, 8), 0, -180);
        end.closeSubpath();
        break;
    case 3: // conical
        end.addPolygon(QPolygonF({{6, 8}, {14, 8}, {11, 18}, {9, 18}}));
        end.closeSubpath();
        break;
    case 4: // drill
        end.addPolygon(QPolygonF({{6, 8}, {14, 8}, {14, 15}, {10, 19}, {6, 15}}));
        end.closeSubpath();
        break;
    case 5: // undefined
        end.addRect(QRectF(6, 8, 8, 10));
        break;
    default:
        return;
    }
    p.drawPath(end);
    if (type == 5) {
        Letter(p, QRectF(6, 8, 8, 10), QStringLiteral("?"), Accent);
        return;
    }
    // Flutes.
    Outline(p, Accent, 1.0);
    p.setClipPath(end);
    for (const double y : {8.0, 12.0, 16.0})
        p.drawLine(QPointF(6, y), QPointF(14, y + 3));
}

} // namespace

QPixmap CncHintPixmap(int index, int size)
{
    if (index < 0 || index >= kCncHintCount)
        return {};
    return Render(size, [index](QPainter& p) {
        p.scale(kHintScale, kHintScale);
        PaintHint(p, index);
    });
}

QPixmap ToolTypePixmap(int type, int size)
{
    if (type < 0 || type >= kToolTypeCount)
        return {};
    return Render(size, [type](QPainter& p) { PaintToolType(p, type); });
}
