#include "cad/DecorativeCanvas.h"

#include <QBrush>
#include <QColor>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QPoint>
#include <QPolygon>

void TDecorativePen::SetPattern(const char* pattern)
{
    Bits.clear();
    for (const char* c = pattern; c && *c; ++c)
        Bits.push_back(*c == '1');
}

void TDecorativePen::SetBit(int index, bool on)
{
    if (index < 0)
        return;
    if (index >= PatternLength())
        Bits.resize(static_cast<std::size_t>(index) + 1, false);
    Bits[static_cast<std::size_t>(index)] = on;
}

bool TDecorativePen::GetBit(int index) const
{
    return index >= 0 && index < PatternLength() && Bits[static_cast<std::size_t>(index)];
}

QColor ToQColor(TColor color)
{
    if (color < 0) {
        // System colours: only the window colour is used by the program.
        if (color == clWindow && qGuiApp)
            return QGuiApplication::palette().color(QPalette::Window);
        return QColor(Qt::white);
    }
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

namespace {

Qt::PenStyle ToQtPenStyle(TPenStyle style)
{
    switch (style) {
    case TPenStyle::Dash: return Qt::DashLine;
    case TPenStyle::Dot: return Qt::DotLine;
    case TPenStyle::DashDot: return Qt::DashDotLine;
    case TPenStyle::DashDotDot: return Qt::DashDotDotLine;
    case TPenStyle::Clear: return Qt::NoPen;
    case TPenStyle::Solid:
    case TPenStyle::InsideFrame: break;
    }
    return Qt::SolidLine;
}

Qt::BrushStyle ToQtBrushStyle(TBrushStyle style)
{
    switch (style) {
    case TBrushStyle::Clear: return Qt::NoBrush;
    case TBrushStyle::Horizontal: return Qt::HorPattern;
    case TBrushStyle::Vertical: return Qt::VerPattern;
    case TBrushStyle::FDiagonal: return Qt::FDiagPattern;
    case TBrushStyle::BDiagonal: return Qt::BDiagPattern;
    case TBrushStyle::Cross: return Qt::CrossPattern;
    case TBrushStyle::DiagCross: return Qt::DiagCrossPattern;
    case TBrushStyle::Solid: break;
    }
    return Qt::SolidPattern;
}

QPainter::CompositionMode ToCompositionMode(TPenMode mode)
{
    switch (mode) {
    case TPenMode::Xor:
    case TPenMode::NotXor: return QPainter::RasterOp_SourceXorDestination;
    case TPenMode::Not: return QPainter::RasterOp_NotDestination;
    case TPenMode::NotCopy: return QPainter::RasterOp_NotSource;
    case TPenMode::Mask: return QPainter::RasterOp_SourceAndDestination;
    case TPenMode::Merge: return QPainter::RasterOp_SourceOrDestination;
    default: break;
    }
    return QPainter::CompositionMode_SourceOver;
}

} // namespace

void TDecorativeCanvas::ApplyPen() const
{
    QPen pen(ToQColor(Pen.Color));
    pen.setStyle(ToQtPenStyle(Pen.Style));
    // Width 0 and 1 both give the one-pixel cosmetic line of the platform.
    pen.setWidth(Pen.Width <= 1 ? 0 : Pen.Width);
    Painter->setPen(pen);
    Painter->setCompositionMode(ToCompositionMode(Pen.Mode));
    Painter->setBackgroundMode(OpaqueBackground ? Qt::OpaqueMode : Qt::TransparentMode);
}

void TDecorativeCanvas::ApplyBrush() const
{
    Painter->setBrush(QBrush(ToQColor(Brush.Color), ToQtBrushStyle(Brush.Style)));
}

void TDecorativeCanvas::MoveTo(int x, int y)
{
    PenPosition = {x, y};
}

void TDecorativeCanvas::LineTo(int x, int y)
{
    if (Painter) {
        ApplyPen();
        Painter->drawLine(PenPosition.X, PenPosition.Y, x, y);
    }
    PenPosition = {x, y};
}

void TDecorativeCanvas::Polyline(const TWindowPoint* points, int count)
{
    if (!Painter || count < 2)
        return;
    ApplyPen();
    QPolygon polygon(count);
    for (int i = 0; i < count; ++i)
        polygon.setPoint(i, points[i].X, points[i].Y);
    Painter->drawPolyline(polygon);
}

void TDecorativeCanvas::Polygon(const TWindowPoint* points, int count)
{
    if (!Painter || count < 2)
        return;
    ApplyPen();
    ApplyBrush();
    QPolygon polygon(count);
    for (int i = 0; i < count; ++i)
        polygon.setPoint(i, points[i].X, points[i].Y);
    Painter->drawPolygon(polygon, Qt::OddEvenFill);
}

void TDecorativeCanvas::Rectangle(int left, int top, int right, int bottom)
{
    if (!Painter)
        return;
    ApplyPen();
    ApplyBrush();
    Painter->drawRect(left, top, right - left - 1, bottom - top - 1);
}
