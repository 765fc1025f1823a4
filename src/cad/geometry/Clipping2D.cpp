#include "cad/geometry/Clipping2D.h"

#include <cmath>

#include "cad/geometry/Geometry2D.h"

namespace {

struct TClipRange {
    long double Enter = 0.0L;
    long double Leave = 1.0L;
};

// One side of the parametric clip; false rejects the whole segment.
bool ClipSide(long double numerator, long double denominator, TClipRange& range)
{
    if (denominator > 0.0L) {
        const long double t = numerator / denominator;
        if (t > range.Leave)
            return false;
        if (t > range.Enter)
            range.Enter = t;
    } else if (denominator < 0.0L) {
        const long double t = numerator / denominator;
        if (t < range.Enter)
            return false;
        if (t < range.Leave)
            range.Leave = t;
    } else if (numerator > 0.0L) {
        return false;
    }
    return true;
}

enum class TClipSides { All, LeftRight, BottomTop };

int ClipSegment(const TRect2D& box, TPoint2D& first, TPoint2D& second, TClipSides sides)
{
    first = CartesianPoint2D(first);
    second = CartesianPoint2D(second);
    // Every comparison with NaN is false, so such a segment would pass each
    // side's test; an infinite end has no place on the device either.
    if (!std::isfinite(first.X) || !std::isfinite(first.Y) || !std::isfinite(second.X) || !std::isfinite(second.Y))
        return CLIP_REJECTED;
    const long double x0 = first.X;
    const long double y0 = first.Y;
    const long double dx = static_cast<long double>(second.X) - x0;
    const long double dy = static_cast<long double>(second.Y) - y0;
    if (dx == 0.0L && dy == 0.0L && PointInBox2D(box, first))
        return CLIP_UNCHANGED;

    TClipRange range;
    if (sides != TClipSides::BottomTop) {
        if (!ClipSide(box.FirstEdge.X - x0, dx, range) || !ClipSide(x0 - box.SecondEdge.X, -dx, range))
            return CLIP_REJECTED;
    }
    if (sides != TClipSides::LeftRight) {
        if (!ClipSide(box.FirstEdge.Y - y0, dy, range) || !ClipSide(y0 - box.SecondEdge.Y, -dy, range))
            return CLIP_REJECTED;
    }

    int flags = 0;
    if (range.Leave < 1.0L) {
        second = {static_cast<float>(x0 + range.Leave * dx), static_cast<float>(y0 + range.Leave * dy), 1.0f};
        flags |= CLIP_SECOND_MOVED;
    }
    if (range.Enter > 0.0L) {
        first = {static_cast<float>(x0 + range.Enter * dx), static_cast<float>(y0 + range.Enter * dy), 1.0f};
        flags |= CLIP_FIRST_MOVED;
    }
    return flags == 0 ? CLIP_UNCHANGED : flags;
}

} // namespace

int ClipSegmentToBox2D(const TRect2D& box, TPoint2D& first, TPoint2D& second)
{
    return ClipSegment(box, first, second, TClipSides::All);
}

int ClipSegmentToBoxX2D(const TRect2D& box, TPoint2D& first, TPoint2D& second)
{
    return ClipSegment(box, first, second, TClipSides::LeftRight);
}

int ClipSegmentToBoxY2D(const TRect2D& box, TPoint2D& first, TPoint2D& second)
{
    return ClipSegment(box, first, second, TClipSides::BottomTop);
}

bool SegmentDistance2D(TPoint2D point, TPoint2D a, TPoint2D b, float& distance)
{
    distance = PICK_FAR_DISTANCE;
    point = CartesianPoint2D(point);
    a = CartesianPoint2D(a);
    b = CartesianPoint2D(b);
    if (a.X == b.X && a.Y == b.Y)
        return false;
    const double abx = static_cast<double>(b.X) - a.X;
    const double aby = static_cast<double>(b.Y) - a.Y;
    const double apx = static_cast<double>(point.X) - a.X;
    const double apy = static_cast<double>(point.Y) - a.Y;
    const double lengthSquared = abx * abx + aby * aby;
    const double t = (apx * abx + apy * aby) / lengthSquared;
    if (t < 0.0 || t > 1.0)
        return false;
    distance = static_cast<float>(std::fabs(apx * aby - apy * abx) / std::sqrt(lengthSquared));
    return true;
}

bool PointNearPoint2D(TPoint2D reference, TPoint2D point, float& distance, float aperture)
{
    reference = CartesianPoint2D(reference);
    point = CartesianPoint2D(point);
    const double dx = static_cast<double>(point.X) - reference.X;
    const double dy = static_cast<double>(point.Y) - reference.Y;
    if (std::fabs(dx) > aperture || std::fabs(dy) > aperture) {
        distance = PICK_FAR_DISTANCE;
        return false;
    }
    distance = static_cast<float>(std::sqrt(dx * dx + dy * dy));
    return true;
}

int PickPolyline2D(const TPoint2D* points, int count, TPoint2D worldPoint, bool closed, const TTransform2D& t,
                   float aperture, float& distance)
{
    int result = PICK_NOOBJECT;
    distance = PICK_FAR_DISTANCE;
    if (count <= 0)
        return result;
    float best = aperture;
    const auto trySegment = [&](int i, int j) {
        const TPoint2D a = CartesianPoint2D(ApplyTransform2D(points[i], t));
        const TPoint2D b = CartesianPoint2D(ApplyTransform2D(points[j], t));
        float d = 0.0f;
        // "Not greater" lets a later segment win a tie.
        if (SegmentDistance2D(worldPoint, a, b, d) && d <= best) {
            result = PICK_ONOBJECT;
            best = d;
            distance = d;
        }
    };
    for (int i = 0; i + 1 < count; ++i)
        trySegment(i, i + 1);
    if (closed)
        trySegment(count - 1, 0);
    return result;
}

int PickPolygon2D(const TPoint2D* points, int count, TPoint2D worldPoint, const TTransform2D& t, float aperture,
                  float& distance)
{
    int result = PICK_NOOBJECT;
    float best = aperture;
    distance = aperture;
    if (count <= 0)
        return result;
    int crossings = 0;
    for (int i = 0; i < count; ++i) {
        const TPoint2D a = CartesianPoint2D(ApplyTransform2D(points[i], t));
        const TPoint2D b = CartesianPoint2D(ApplyTransform2D(points[(i + 1) % count], t));
        float d = 0.0f;
        bool onOutline = false;
        if (SegmentDistance2D(worldPoint, a, b, d) && d <= best) {
            onOutline = d < aperture;
            if (onOutline)
                result = PICK_ONOBJECT;
            best = d;
            distance = d;
        }
        // An edge exactly one aperture away is not on the outline, so it must
        // still count as a crossing or an inside point would read as outside.
        if (!onOutline && CrossesRightOf2D(worldPoint, a, b))
            ++crossings;
    }
    if (result == PICK_NOOBJECT) {
        if (crossings % 2 == 1) {
            result = PICK_INOBJECT;
            distance = aperture;
        } else {
            distance = PICK_FAR_DISTANCE;
        }
    }
    return result;
}

bool CrossesRightOf2D(TPoint2D point, TPoint2D a, TPoint2D b)
{
    point = CartesianPoint2D(point);
    a = CartesianPoint2D(a);
    b = CartesianPoint2D(b);
    const bool spans = (a.Y <= point.Y && point.Y < b.Y) || (b.Y <= point.Y && point.Y < a.Y);
    if (!spans)
        return false;
    const double edgeX = a.X + (static_cast<double>(point.Y) - a.Y) * (static_cast<double>(b.X) - a.X) /
                                   (static_cast<double>(b.Y) - a.Y);
    return point.X <= edgeX;
}
