#include "cad/view/ViewportDecorations.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include <QPainter>
#include <QPaintDevice>

#include "cad/canvas/ClippedDrawing2D.h"
#include "cad/canvas/DecorativeCanvas.h"
#include "cad/geometry/Geometry2D.h"

namespace {

// Far more lines than any window shows; guards the loops against a rectangle
// that is not the visible one.
constexpr int MaxGridLines = 100000;

TWindowPoint ToScreen(const TTransform2D& toScreen, double x, double y)
{
    return Point2DToWindowPoint(
        ApplyTransform2D(MakePoint2D(static_cast<float>(x), static_cast<float>(y)), toScreen));
}

void Line(TDecorativeCanvas& canvas, TWindowPoint a, TWindowPoint b)
{
    canvas.MoveTo(a.X, a.Y);
    canvas.LineTo(b.X, b.Y);
}

void Strokes(TDecorativeCanvas& canvas, std::initializer_list<TWindowPoint> points)
{
    auto it = points.begin();
    canvas.MoveTo(it->X, it->Y);
    for (++it; it != points.end(); ++it)
        canvas.LineTo(it->X, it->Y);
}

// The picture with a pixel to spare on every side: a line whose coordinate
// lies within half a pixel of the edge still rounds onto the picture.
TRect2D DeviceBox(const TDecorativeCanvas& canvas)
{
    const QPainter* painter = canvas.GetPainter();
    if (!painter || !painter->device())
        return MakeRect2D(0, 0, 0, 0);
    return MakeRect2D(-1, -1, static_cast<float>(painter->device()->width()) + 1,
                      static_cast<float>(painter->device()->height()) + 1);
}

// Nearest integer, halves to even.
double RoundEven(double value)
{
    return std::nearbyint(value);
}

} // namespace

bool DrawGridLevel(TDecorativeCanvas& canvas, const TTransform2D& toScreen, const TRect2D& rect, float dx, float dy)
{
    if (!(dx > 0.0f) || !(dy > 0.0f))
        return false;
    const double x0 = dx * RoundEven(rect.FirstEdge.X / static_cast<double>(dx));
    const double y0 = dy * RoundEven(rect.FirstEdge.Y / static_cast<double>(dy));
    const TWindowPoint first = ToScreen(toScreen, x0, y0);
    const TWindowPoint next = ToScreen(toScreen, x0 + dx, y0 + dy);
    if (std::abs(static_cast<long long>(next.X) - first.X) <= GridMinimumPixels ||
        std::abs(static_cast<long long>(next.Y) - first.Y) <= GridMinimumPixels)
        return false;
    // Steps counted, not summed, so large coordinates cannot stall the loop.
    for (int i = 0; i < MaxGridLines; ++i) {
        const double y = y0 + static_cast<double>(i) * dy;
        if (y > rect.SecondEdge.Y)
            break;
        Line(canvas, ToScreen(toScreen, rect.FirstEdge.X, y), ToScreen(toScreen, rect.SecondEdge.X, y));
    }
    for (int i = 0; i < MaxGridLines; ++i) {
        const double x = x0 + static_cast<double>(i) * dx;
        if (x > rect.SecondEdge.X)
            break;
        Line(canvas, ToScreen(toScreen, x, rect.SecondEdge.Y), ToScreen(toScreen, x, rect.FirstEdge.Y));
    }
    return true;
}

void DrawViewGrid(TDecorativeCanvas& canvas, const TTransform2D& toScreen, const TRect2D& rect,
                  const TGridSettings& grid)
{
    if (!(grid.DeltaX > 0.0f) || !(grid.DeltaY > 0.0f))
        return;
    canvas.OpaqueBackground = false;
    canvas.Pen = {grid.Color, TPenStyle::Solid, TPenMode::Copy, 1};
    canvas.Brush = {grid.BackColor, TBrushStyle::Solid};
    if (grid.SubX > 0.0f && grid.SubY > 0.0f) {
        canvas.DecorativePen.SetPattern("10000");
        DrawGridLevel(canvas, toScreen, rect, grid.DeltaX / grid.SubX, grid.DeltaY / grid.SubY);
        canvas.DecorativePen.SetPattern("");
    }
    canvas.DecorativePen.SetPattern("100");
    DrawGridLevel(canvas, toScreen, rect, grid.DeltaX, grid.DeltaY);
}

std::string ScaleBarNumber(double length, int unitsMode)
{
    std::array<char, 64> text{};
    const int precision = unitsMode == 1 ? 4 : 3;
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), length, std::chars_format::fixed, precision);
    return std::string(text.data(), result.ptr);
}

const char* ScaleBarUnit(int unitsMode)
{
    return unitsMode == 1 ? "Inch" : "mm";
}

void DrawViewAxesAndScale(TDecorativeCanvas& canvas, const TTransform2D& toScreen, const TRect2D& rect,
                          TColor gridColor, TColor backColor, int unitsMode)
{
    const double left = rect.FirstEdge.X;
    const double bottom = rect.FirstEdge.Y;
    const double width = static_cast<double>(rect.SecondEdge.X) - left;
    const double height = static_cast<double>(rect.SecondEdge.Y) - bottom;

    // The axes may lie far outside the window: clipped before they reach the painter.
    canvas.DecorativePen.SetPattern("");
    canvas.Pen = {gridColor, TPenStyle::Solid, TPenMode::Copy, 2};
    canvas.Brush = {backColor, TBrushStyle::Solid};
    const TRect2D device = DeviceBox(canvas);
    DrawSegment2D(canvas, MakePoint2D(rect.FirstEdge.X, 0), MakePoint2D(rect.SecondEdge.X, 0), toScreen, device);
    DrawSegment2D(canvas, MakePoint2D(0, rect.FirstEdge.Y), MakePoint2D(0, rect.SecondEdge.Y), toScreen, device);

    canvas.Pen = {clYellow, TPenStyle::Solid, TPenMode::Copy, 1};
    const double a = 0.03 * width;
    const double b = 0.03 * height;
    const TWindowPoint origin = ToScreen(toScreen, left + a, bottom + b);

    const TWindowPoint xEnd = ToScreen(toScreen, left + 4.0 * b, bottom + b);
    Line(canvas, origin, xEnd);
    const int x = xEnd.X;
    const int y = xEnd.Y;
    Strokes(canvas, {{x, y}, {x - 15, y - 5}, {x - 15, y + 4}, {x, y}});
    Line(canvas, {x + 10, y - 10}, {x + 20, y + 10});
    Line(canvas, {x + 10, y + 9}, {x + 20, y - 10});

    const TWindowPoint yEnd = ToScreen(toScreen, left + a, bottom + 4.0 * b);
    Line(canvas, origin, yEnd);
    const int u = yEnd.X;
    const int v = yEnd.Y;
    Strokes(canvas, {{u, v}, {u - 5, v + 17}, {u + 5, v + 17}, {u, v}});
    Strokes(canvas, {{u, v - 10}, {u, v - 19}, {u - 5, v - 28}});
    Line(canvas, {u, v - 19}, {u + 5, v - 28});

    const TWindowPoint barStart = ToScreen(toScreen, left + 0.85 * width, bottom + b);
    const TWindowPoint barEnd = ToScreen(toScreen, left + 0.95 * width, bottom + b);
    Line(canvas, barStart, barEnd);
    Line(canvas, {barStart.X, barStart.Y + 4}, {barStart.X, barStart.Y - 4});
    Line(canvas, {barEnd.X, barEnd.Y + 4}, {barEnd.X, barEnd.Y - 4});

    const double length = static_cast<double>(barEnd.X - barStart.X) / toScreen.M[0][0];
    canvas.FontColor = clYellow;
    const int centre = barStart.X + (barEnd.X - barStart.X) / 2;
    const std::string unit = ScaleBarUnit(unitsMode);
    const std::string number = ScaleBarNumber(length, unitsMode);
    canvas.TextOut(centre - canvas.TextWidth(unit) / 2, barStart.Y + 1, unit);
    canvas.TextOut(centre - canvas.TextWidth(number) / 2, barStart.Y - 15, number);
}
