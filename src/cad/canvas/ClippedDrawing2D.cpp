#include "cad/canvas/ClippedDrawing2D.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "cad/canvas/DecorativeCanvas.h"
#include "cad/geometry/Clipping2D.h"
#include "cad/geometry/Geometry2D.h"

namespace {

// A shape whose whole box maps inside the clip box needs no per-segment clipping.
bool LiesWithinClip(const TRect2D& objectBox, const TTransform2D& t, const TRect2D& clipBox)
{
    return BoxInBox2D(TransformBox2D(objectBox, t), clipBox);
}

bool ValidRange(int capacity, int firstIndex, int lastIndex)
{
    return capacity > 0 && firstIndex >= 0 && firstIndex <= lastIndex && lastIndex < capacity;
}

void DrawRun(TDecorativeCanvas& canvas, std::vector<TWindowPoint>& run)
{
    canvas.Polyline(run.data(), static_cast<int>(run.size()));
    run.clear();
}

// One pass of the polygon clip: every edge (i, i + 1) of the closed list of
// `count` pixel points given by pointAt, against one pair of sides; the kept
// points are appended to `target`.
template <typename TPointAt, typename TClip>
void ClipPolygonPass(int count, TPointAt pointAt, const TRect2D& clipBox, TClip clip,
                     std::vector<TWindowPoint>& target)
{
    for (int i = 0; i < count; ++i) {
        TPoint2D a = pointAt(i);
        TPoint2D b = pointAt((i + 1) % count);
        const int flags = clip(clipBox, a, b);
        if (flags & CLIP_REJECTED)
            continue;
        target.push_back(Point2DToWindowPoint(a));
        if (flags & CLIP_SECOND_MOVED)
            target.push_back(Point2DToWindowPoint(b));
    }
}

} // namespace

void DrawPolylineClipped2D(const TPoint2D* points, int capacity, TDecorativeCanvas& canvas, bool closed,
                           int lastIndex, int firstIndex, const TTransform2D& t, const TRect2D& objectBox,
                           const TRect2D& clipBox)
{
    if (!ValidRange(capacity, firstIndex, lastIndex))
        return;
    std::vector<TWindowPoint> run;
    run.reserve(static_cast<std::size_t>(capacity) + (closed ? 1 : 0));

    if (LiesWithinClip(objectBox, t, clipBox)) {
        for (int i = firstIndex; i <= lastIndex; ++i)
            run.push_back(Point2DToWindowPoint(ApplyTransform2D(points[i], t)));
        if (closed)
            run.push_back(run.front());
        DrawRun(canvas, run);
        return;
    }

    int lastFlags = CLIP_REJECTED;
    TPoint2D lastSecond;
    const auto clipSegment = [&](int i, int j) {
        TPoint2D a = ApplyTransform2D(points[i], t);
        TPoint2D b = ApplyTransform2D(points[j], t);
        lastFlags = ClipSegmentToBox2D(clipBox, a, b);
        if (lastFlags & CLIP_REJECTED)
            return;
        run.push_back(Point2DToWindowPoint(a));
        if (lastFlags & CLIP_SECOND_MOVED) {
            run.push_back(Point2DToWindowPoint(b));
            DrawRun(canvas, run);
        }
        lastSecond = b;
    };
    for (int i = firstIndex + 1; i <= lastIndex; ++i)
        clipSegment(i - 1, i);
    if (closed)
        clipSegment(lastIndex, firstIndex);
    // A moved end already closed its run above.
    if (!(lastFlags & (CLIP_REJECTED | CLIP_SECOND_MOVED)))
        run.push_back(Point2DToWindowPoint(lastSecond));
    if (!run.empty())
        DrawRun(canvas, run);
}

void DrawPolygonClipped2D(const TPoint2D* points, int capacity, TDecorativeCanvas& canvas, int lastIndex,
                          int firstIndex, const TTransform2D& t, const TRect2D& objectBox, const TRect2D& clipBox)
{
    if (!ValidRange(capacity, firstIndex, lastIndex))
        return;
    const int count = lastIndex - firstIndex + 1;
    std::vector<TWindowPoint> outline;

    if (LiesWithinClip(objectBox, t, clipBox)) {
        outline.reserve(static_cast<std::size_t>(count));
        for (int i = firstIndex; i <= lastIndex; ++i)
            outline.push_back(Point2DToWindowPoint(ApplyTransform2D(points[i], t)));
        canvas.Polygon(outline.data(), count);
        return;
    }

    // Left and right sides first, then bottom and top on the pixel points kept
    // (a closed list: its last edge runs back to its first point). Both lists
    // share one buffer, and each pass at most doubles the points.
    outline.reserve(6 * static_cast<std::size_t>(count));
    ClipPolygonPass(
        count, [&](int i) { return ApplyTransform2D(points[firstIndex + i], t); }, clipBox, ClipSegmentToBoxX2D,
        outline);
    const std::size_t sideClipped = outline.size();
    ClipPolygonPass(
        static_cast<int>(sideClipped), [&](int i) { return PointToPoint2D(outline[static_cast<std::size_t>(i)]); },
        clipBox, ClipSegmentToBoxY2D, outline);
    if (outline.size() > sideClipped)
        canvas.Polygon(outline.data() + sideClipped, static_cast<int>(outline.size() - sideClipped));
}

void DrawControlPointMarker2D(TDecorativeCanvas& canvas, int x, int y, int size)
{
    canvas.Brush.Color = clSilver;
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Pen.Style = TPenStyle::Solid;
    // A point far off the window comes held to the pixel range; its square
    // is held there too rather than overflow.
    const long long half = size / 2;
    const auto pixel = [](long long v) {
        constexpr long long low = std::numeric_limits<int>::min();
        constexpr long long high = std::numeric_limits<int>::max();
        return static_cast<int>(std::clamp(v, low, high));
    };
    canvas.Rectangle(pixel(x - half), pixel(y - half), pixel(x + half), pixel(y + half));
}

void DrawBoxOutline2D(TDecorativeCanvas& canvas, const TRect2D& box, const TRect2D& clipBox,
                      const TTransform2D& viewTransform, const TTransform2D& modelTransform)
{
    const TRect2D b = CartesianBox2D(box);
    const float x1 = b.FirstEdge.X;
    const float y1 = b.FirstEdge.Y;
    const float x2 = b.SecondEdge.X;
    const float y2 = b.SecondEdge.Y;
    std::array<TPoint2D, 5> outline = {MakePoint2D(x1, y1), MakePoint2D(x1, y2), MakePoint2D(x2, y2),
                                       MakePoint2D(x2, y1), MakePoint2D(x1, y1)};
    for (TPoint2D& p : outline)
        p = CartesianPoint2D(ApplyTransform2D(p, modelTransform));
    const TRect2D outlineBox = TransformBox2D(b, modelTransform);
    DrawPolylineClipped2D(outline.data(), static_cast<int>(outline.size()), canvas, false,
                          static_cast<int>(outline.size()) - 1, 0, viewTransform, outlineBox, clipBox);
}

void DrawBox2D(TDecorativeCanvas& canvas, const TRect2D& box, const TRect2D& clipBox,
               const TTransform2D& viewTransform)
{
    DrawBoxOutline2D(canvas, box, clipBox, viewTransform, IdentityTransform2D);
}

bool DrawPointMarker2D(TDecorativeCanvas& canvas, TPoint2D point, const TRect2D& clipBox, const TTransform2D& t)
{
    const TPoint2D p = CartesianPoint2D(ApplyTransform2D(point, t));
    if (!PointInBox2D(clipBox, p))
        return false;
    const TWindowPoint pixel = Point2DToWindowPoint(p);
    constexpr int Arm = 10;
    canvas.MoveTo(pixel.X - Arm, pixel.Y);
    canvas.LineTo(pixel.X + Arm, pixel.Y);
    canvas.MoveTo(pixel.X, pixel.Y - Arm);
    canvas.LineTo(pixel.X, pixel.Y + Arm);
    return true;
}

bool DrawSegment2D(TDecorativeCanvas& canvas, TPoint2D a, TPoint2D b, const TTransform2D& t, const TRect2D& clipBox)
{
    TPoint2D first = CartesianPoint2D(ApplyTransform2D(a, t));
    TPoint2D second = CartesianPoint2D(ApplyTransform2D(b, t));
    // Most segments of a view lie wholly inside it, where clipping keeps them
    // as they are. (A finite box holds no NaN and no infinite end.)
    const auto within = [&clipBox](TPoint2D p) {
        return p.X >= clipBox.FirstEdge.X && p.X <= clipBox.SecondEdge.X && p.Y >= clipBox.FirstEdge.Y &&
               p.Y <= clipBox.SecondEdge.Y;
    };
    const bool inside = within(first) && within(second) && std::isfinite(clipBox.FirstEdge.X) &&
                        std::isfinite(clipBox.FirstEdge.Y) && std::isfinite(clipBox.SecondEdge.X) &&
                        std::isfinite(clipBox.SecondEdge.Y);
    if (!inside && (ClipSegmentToBox2D(clipBox, first, second) & CLIP_REJECTED))
        return false;
    const TWindowPoint from = Point2DToWindowPoint(first);
    const TWindowPoint to = Point2DToWindowPoint(second);
    canvas.MoveTo(from.X, from.Y);
    canvas.LineTo(to.X, to.Y);
    return true;
}
