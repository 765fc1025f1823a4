#include "cad/canvas/DecorativeCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include <QBrush>
#include <QColor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QPoint>
#include <QPolygon>
#include <QString>

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

void TDecorativePen::MoveTo(int x, int y)
{
    SegmentStart = {x, y};
    LastPixel = {x, y};
    Phase = 0;
}

void TDecorativePen::LineTo(int x, int y, const TRunSink& draw)
{
    DrawSegment(SegmentStart, {x, y}, draw);
    SegmentStart = {x, y};
    // The end pixel is where the next line starts: it takes the phase of the
    // pixel before it instead of a step of its own.
    LastPixel = {x, y};
}

void TDecorativePen::Polyline(const TWindowPoint* points, int count, const TRunSink& draw)
{
    if (!points || count <= 1)
        return;
    MoveTo(points[0].X, points[0].Y);
    // Unlike separate lines, a corner counts as one step of the pattern.
    for (int i = 1; i < count; ++i) {
        DrawSegment(SegmentStart, points[i], draw);
        SegmentStart = points[i];
    }
}

void TDecorativePen::SetWalkBounds(TWindowPoint first, TWindowPoint last)
{
    BoundsFirst = first;
    BoundsLast = last;
}

namespace {

// A segment may span the whole int range, so step x delta needs more than 64 bits.
__extension__ typedef __int128 TWide;

// Nearest integer to numerator / denominator (denominator > 0), halves up.
long long RoundedQuotient(TWide numerator, TWide denominator)
{
    const TWide twice = 2 * numerator + denominator;
    TWide q = twice / (2 * denominator);
    if (twice % (2 * denominator) < 0)
        --q;
    return static_cast<long long>(q);
}

// One axis of a walk, stepped exactly as RoundedQuotient would place each
// step's pixel but without a wide division per step: the position is kept as
// the quotient and remainder of 2 i delta + steps by 2 steps.
class TAxisWalk {
public:
    TAxisWalk(int from, long long delta, long long steps, long long i)
        : From(from), Increment(2 * delta), Divisor(2 * steps)
    {
        const TWide twice = 2 * TWide{i} * delta + steps;
        Quotient = static_cast<long long>(twice / Divisor);
        Remainder = static_cast<long long>(twice % Divisor);
        if (Remainder < 0) {
            --Quotient;
            Remainder += Divisor;
        }
    }

    int Pixel() const { return static_cast<int>(From + Quotient); }

    // |delta| <= steps, so one step moves the quotient by at most one.
    void Step()
    {
        Remainder += Increment;
        if (Remainder >= Divisor) {
            Remainder -= Divisor;
            ++Quotient;
        } else if (Remainder < 0) {
            Remainder += Divisor;
            --Quotient;
        }
    }

private:
    long long From;
    long long Increment;
    long long Divisor;
    long long Quotient = 0;
    long long Remainder = 0;
};

long long StepDistance(TWindowPoint a, TWindowPoint b)
{
    return std::max(std::llabs(static_cast<long long>(a.X) - b.X), std::llabs(static_cast<long long>(a.Y) - b.Y));
}

// The steps [first, last] of a walk from `from` by (dx, dy) in `steps` steps
// whose pixels may lie within [lo, hi] on one axis: a step's pixel is its
// exact position rounded, so one pixel of margin on each side is enough.
void LimitSteps(int from, long long delta, long long steps, int lo, int hi, long double& first, long double& last)
{
    const long double low = static_cast<long double>(lo) - 1 - from;
    const long double high = static_cast<long double>(hi) + 1 - from;
    if (delta == 0) {
        if (low > 0 || high < 0)
            last = -1;
        return;
    }
    long double a = low * steps / delta;
    long double b = high * steps / delta;
    if (a > b)
        std::swap(a, b);
    first = std::max(first, std::floor(a) - 1);
    last = std::min(last, std::ceil(b) + 1);
}

} // namespace

void TDecorativePen::Advance(TWindowPoint pixel)
{
    // One pattern bit per pixel stepped, also from the last pixel of the
    // previous segment to the first of this one (around a corner).
    Phase = static_cast<int>((StepDistance(LastPixel, pixel) + Phase) % PatternLength());
    LastPixel = pixel;
}

void TDecorativePen::DrawSegment(TWindowPoint from, TWindowPoint to, const TRunSink& draw)
{
    const long long dx = static_cast<long long>(to.X) - from.X;
    const long long dy = static_cast<long long>(to.Y) - from.Y;
    const long long steps = std::max(std::llabs(dx), std::llabs(dy));
    const int length = PatternLength();
    if (steps == 0 || length == 0)
        return;
    const auto pixelAt = [&](long long i) {
        return TWindowPoint{static_cast<int>(from.X + RoundedQuotient(TWide{i} * dx, steps)),
                            static_cast<int>(from.Y + RoundedQuotient(TWide{i} * dy, steps))};
    };
    // The end pixel is left to the next segment, which starts there.
    long double firstShown = 0;
    long double lastShown = static_cast<long double>(steps - 1);
    LimitSteps(from.X, dx, steps, BoundsFirst.X, BoundsLast.X, firstShown, lastShown);
    LimitSteps(from.Y, dy, steps, BoundsFirst.Y, BoundsLast.Y, firstShown, lastShown);
    // Past the first step each step moves one pixel along the longer axis,
    // so the steps not walked advance the phase by their number.
    const auto skipTo = [&](long long i, long long skipped) {
        const TWindowPoint pixel = pixelAt(i);
        Phase = static_cast<int>((Phase + skipped) % length);
        LastPixel = pixel;
    };
    if (firstShown > lastShown) {
        skipTo(steps - 1, StepDistance(LastPixel, pixelAt(0)) + steps - 1);
        return;
    }
    const auto first = static_cast<long long>(firstShown);
    const auto last = static_cast<long long>(lastShown);
    if (first > 0)
        skipTo(first - 1, StepDistance(LastPixel, pixelAt(0)) + first - 1);
    bool runOpen = false;
    TWindowPoint runFirst;
    TWindowPoint runLast;
    TAxisWalk walkX(from.X, dx, steps, first);
    TAxisWalk walkY(from.Y, dy, steps, first);
    for (long long i = first; i <= last; ++i, walkX.Step(), walkY.Step()) {
        const TWindowPoint pixel{walkX.Pixel(), walkY.Pixel()};
        Advance(pixel);
        if (Bits[static_cast<std::size_t>(Phase)]) {
            if (!runOpen)
                runFirst = pixel;
            runLast = pixel;
            runOpen = true;
        } else if (runOpen) {
            draw(runFirst, runLast);
            runOpen = false;
        }
    }
    if (runOpen)
        draw(runFirst, runLast);
    if (last < steps - 1)
        skipTo(steps - 1, steps - 1 - last);
}

QColor ToQColor(TColor color)
{
    if (color < 0) {
        // System colours: only the window colour is used by the program. It is
        // the background of text areas, which Qt calls the base colour, not the
        // grey of dialogs.
        if (color == clWindow && qGuiApp)
            return QGuiApplication::palette().color(QPalette::Base);
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

namespace {

// True when the painter's pen equals the one made from the colour, the style
// and the width below: setting that pen again would change nothing. Drawings
// set the same pen for thousands of lines in a row, and making a pen costs
// more than drawing a short line.
bool PenIs(const QPen& pen, const QColor& color, Qt::PenStyle style, int width)
{
    // Qt counts a pen of width 0 as cosmetic whatever its flag says.
    return pen.style() == style && pen.widthF() == width && pen.capStyle() == Qt::SquareCap &&
           pen.joinStyle() == Qt::BevelJoin && pen.isCosmetic() == (width == 0) && pen.miterLimit() == 2.0 &&
           pen.brush().style() == Qt::SolidPattern && pen.brush().color() == color &&
           pen.brush().transform().isIdentity();
}

} // namespace

void TDecorativeCanvas::ApplyPen() const
{
    // A redraw strokes line after line with one pen: while the painter still
    // holds the pen last made here for the same state, nothing is compared
    // field by field. System colours may follow the palette and are not kept.
    const bool same = Painter == MadeFor && Pen.Color >= 0 && Pen.Color == MadeState.Color &&
                      Pen.Style == MadeState.Style && Pen.Width == MadeState.Width && Painter->pen() == MadePen;
    if (!same) {
        const QColor color = ToQColor(Pen.Color);
        const Qt::PenStyle style = ToQtPenStyle(Pen.Style);
        // Width 0 and 1 both give the one-pixel cosmetic line of the platform.
        // Qt refuses widths from 2^15 up, with a warning for every line, and a
        // stored width may be any int: such a width draws the thinnest line.
        constexpr int widestQtPen = (1 << 15) - 1;
        const int width = Pen.Width <= 1 || Pen.Width > widestQtPen ? 0 : Pen.Width;
        if (!PenIs(Painter->pen(), color, style, width)) {
            QPen pen(color);
            pen.setStyle(style);
            pen.setWidth(width);
            Painter->setPen(pen);
        }
        MadeFor = Painter;
        MadeState = Pen;
        MadePen = Painter->pen();
    }
    const QPainter::CompositionMode mode = ToCompositionMode(Pen.Mode);
    if (Painter->compositionMode() != mode)
        Painter->setCompositionMode(mode);
    const Qt::BGMode background = OpaqueBackground ? Qt::OpaqueMode : Qt::TransparentMode;
    if (Painter->backgroundMode() != background)
        Painter->setBackgroundMode(background);
}

void TDecorativeCanvas::ApplyBrush() const
{
    Painter->setBrush(QBrush(ToQColor(Brush.Color), ToQtBrushStyle(Brush.Style)));
}

void TDecorativeCanvas::DrawRun(TWindowPoint first, TWindowPoint last) const
{
    // Dash runs are solid stretches of the pattern, whatever the pen style says.
    QPen pen = Painter->pen();
    pen.setStyle(Qt::SolidLine);
    Painter->setPen(pen);
    Painter->drawLine(first.X, first.Y, last.X, last.Y);
}

void TDecorativeCanvas::BoundWalkToDevice()
{
    const QPaintDevice* device = Painter->device();
    if (!device)
        return;
    // A wide pen reaches onto the device from just beyond its edges; the
    // width is the one the painter strokes with, not the stored one.
    const int margin = std::max(static_cast<int>(std::ceil(Painter->pen().widthF())), 1);
    DecorativePen.SetWalkBounds({-margin, -margin}, {device->width() - 1 + margin, device->height() - 1 + margin});
}

void TDecorativeCanvas::MoveTo(int x, int y)
{
    PenPosition = {x, y};
    DecorativePen.MoveTo(x, y);
}

void TDecorativeCanvas::LineTo(int x, int y)
{
    if (Painter) {
        ApplyPen();
        if (DecorativePen.PatternLength() > 0) {
            BoundWalkToDevice();
            DecorativePen.LineTo(x, y, [this](TWindowPoint a, TWindowPoint b) { DrawRun(a, b); });
        } else {
            Painter->drawLine(PenPosition.X, PenPosition.Y, x, y);
        }
    }
    PenPosition = {x, y};
}

void TDecorativeCanvas::Polyline(const TWindowPoint* points, int count)
{
    if (!Painter || count < 2)
        return;
    ApplyPen();
    if (DecorativePen.PatternLength() > 0) {
        BoundWalkToDevice();
        DecorativePen.Polyline(points, count, [this](TWindowPoint a, TWindowPoint b) { DrawRun(a, b); });
        return;
    }
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

void TDecorativeCanvas::TextOut(int x, int y, const std::string& text)
{
    if (!Painter)
        return;
    Painter->setPen(QPen(ToQColor(FontColor)));
    Painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    Painter->setBackgroundMode(OpaqueBackground ? Qt::OpaqueMode : Qt::TransparentMode);
    Painter->setBackground(QBrush(ToQColor(Brush.Color)));
    // The position names the text's top-left corner; Qt draws from the baseline.
    const QFontMetrics metrics(Painter->font());
    Painter->drawText(x, y + metrics.ascent(), QString::fromStdString(text));
}

int TDecorativeCanvas::TextWidth(const std::string& text) const
{
    if (!Painter)
        return 0;
    return QFontMetrics(Painter->font()).horizontalAdvance(QString::fromStdString(text));
}
