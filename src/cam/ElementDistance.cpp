#include "cam/ElementDistance.h"

#include <algorithm>
#include <cmath>

#include "cam/ElementBoxTree.h"

namespace {

// Room beyond the limit searched around a piece, so that rounding cannot hide
// an element that is just within the limit.
constexpr double SEARCH_ROOM = 0.0001;

// The arithmetic is written out here: the removal of gouging pieces runs it
// for every pair of a piece and a nearby source element.
struct TV {
    double X, Y;
};
inline TV operator-(TV a, TV b) { return {a.X - b.X, a.Y - b.Y}; }
inline TV operator+(TV a, TV b) { return {a.X + b.X, a.Y + b.Y}; }
inline TV operator*(TV a, double k) { return {a.X * k, a.Y * k}; }
inline double Dot(TV a, TV b) { return a.X * b.X + a.Y * b.Y; }
inline double Cross(TV a, TV b) { return a.X * b.Y - a.Y * b.X; }
inline double Length(TV a) { return std::sqrt(Dot(a, a)); }
inline TV Of(TVect p) { return {p.X, p.Y}; }

// An element with what every distance needs worked out once: for an arc
// the radius vectors of its ends in counter-clockwise order, and a circle
// around the whole element, the cheap first test of any distance.
struct TShape {
    bool Straight = true;
    TV A{}, B{};
    TArcSpan Span;
    TV Centre{};
    TV FromRay{}, ToRay{};
    bool Major = false;
    TV Middle{};
    double Reach = 0.0;
};

TShape ShapeOf(const TChainElement& e)
{
    TShape shape;
    shape.Straight = IsStraight(e);
    shape.A = Of(StartPoint(e));
    shape.B = Of(EndPoint(e));
    if (!shape.Straight) {
        shape.Span = ArcSpanOf(e);
        shape.Centre = Of(shape.Span.Centre);
        shape.FromRay = (shape.Span.Turn > 0 ? shape.A : shape.B) - shape.Centre;
        shape.ToRay = (shape.Span.Turn > 0 ? shape.B : shape.A) - shape.Centre;
        shape.Major = shape.Span.Sweep > 3.141592653589793;
    }
    const TElementBox box = ElementBox(e);
    shape.Middle = {(box.MinX + box.MaxX) / 2.0, (box.MinY + box.MaxY) / 2.0};
    shape.Reach = Length(TV{box.MaxX, box.MaxY} - shape.Middle);
    return shape;
}

// The direction of the point from the centre lies within the sweep, told
// by the sides of the end rays rather than by angles.
inline bool Contains(const TShape& arc, TV p)
{
    const TV v = p - arc.Centre;
    const bool afterFrom = Cross(arc.FromRay, v) >= 0.0;
    const bool beforeTo = Cross(v, arc.ToRay) >= 0.0;
    return arc.Major ? afterFrom || beforeTo : afterFrom && beforeTo;
}

double SquaredToSegment(TV p, TV a, TV b)
{
    const TV ab = b - a;
    const double squared = Dot(ab, ab);
    if (squared == 0.0)
        return Dot(p - a, p - a);
    const double t = std::clamp(Dot(p - a, ab) / squared, 0.0, 1.0);
    const TV off = p - (a + ab * t);
    return Dot(off, off);
}

double ToSegment(TV p, TV a, TV b)
{
    return std::sqrt(SquaredToSegment(p, a, b));
}

double ToShape(TV p, const TShape& shape)
{
    if (shape.Straight)
        return ToSegment(p, shape.A, shape.B);
    const double fromCentre = Length(p - shape.Centre);
    // From the centre every point of the arc is equally far.
    if (fromCentre == 0.0)
        return shape.Span.Radius;
    if (Contains(shape, p))
        return std::abs(fromCentre - shape.Span.Radius);
    return std::min(Length(p - shape.A), Length(p - shape.B));
}

// Whether two segments share a point (touching counts).
bool SegmentsMeet(TV a1, TV a2, TV b1, TV b2)
{
    const double s1 = Cross(a2 - a1, b1 - a1);
    const double s2 = Cross(a2 - a1, b2 - a1);
    const double s3 = Cross(b2 - b1, a1 - b1);
    const double s4 = Cross(b2 - b1, a2 - b1);
    return ((s1 <= 0.0 && s2 >= 0.0) || (s1 >= 0.0 && s2 <= 0.0)) &&
           ((s3 <= 0.0 && s4 >= 0.0) || (s3 >= 0.0 && s4 <= 0.0)) && !(s1 == 0.0 && s2 == 0.0);
}

// Whether the segment meets the arc: a point of the line through it on the
// circle, within the segment and within the sweep.
bool SegmentMeetsArc(TV a, TV b, const TShape& arc)
{
    const TV ab = b - a;
    const double squared = Dot(ab, ab);
    if (squared == 0.0)
        return false;
    const double t = Dot(arc.Centre - a, ab) / squared;
    const TV foot = a + ab * t;
    const double reachSquared = arc.Span.Radius * arc.Span.Radius - Dot(foot - arc.Centre, foot - arc.Centre);
    if (reachSquared < 0.0)
        return false;
    const double reach = std::sqrt(reachSquared / squared);
    for (const double u : {t - reach, t + reach}) {
        if (u >= 0.0 && u <= 1.0 && Contains(arc, a + ab * u))
            return true;
    }
    return false;
}

bool ArcsMeet(const TShape& one, const TShape& two)
{
    const double r1 = one.Span.Radius;
    const double r2 = two.Span.Radius;
    const TV v = two.Centre - one.Centre;
    const double distance = Length(v);
    if (distance == 0.0 || distance > r1 + r2 || distance < std::abs(r1 - r2))
        return false;
    const TV u = v * (1.0 / distance);
    const double t = (distance + (r1 * r1 - r2 * r2) / distance) / 2.0;
    const double h = std::sqrt(std::max(0.0, r1 * r1 - t * t));
    const TV base = one.Centre + u * t;
    const TV normal{-u.Y, u.X};
    for (const TV p : {base + normal * h, base - normal * h}) {
        if (Contains(one, p) && Contains(two, p))
            return true;
    }
    return false;
}

double SegmentToArc(const TShape& segment, const TShape& arc)
{
    const TV a = segment.A;
    const TV b = segment.B;
    if (SegmentMeetsArc(a, b, arc))
        return 0.0;
    double nearest = std::min(
        {ToShape(a, arc), ToShape(b, arc), ToSegment(arc.A, a, b), ToSegment(arc.B, a, b)});
    // Between the ends the only other nearest pair runs through the centre,
    // from the foot of the centre on the segment.
    const TV ab = b - a;
    const double squared = Dot(ab, ab);
    if (squared > 0.0) {
        const double t = Dot(arc.Centre - a, ab) / squared;
        if (t > 0.0 && t < 1.0)
            nearest = std::min(nearest, ToShape(a + ab * t, arc));
    }
    return nearest;
}

double ArcToArc(const TShape& one, const TShape& two)
{
    if (ArcsMeet(one, two))
        return 0.0;
    double nearest = std::min({ToShape(one.A, two), ToShape(one.B, two), ToShape(two.A, one), ToShape(two.B, one)});
    // Between the ends a nearest pair lies on the line through both centres.
    const TV v = two.Centre - one.Centre;
    const double distance = Length(v);
    if (distance > 0.0) {
        for (const double side : {1.0, -1.0}) {
            const TV p = one.Centre + v * (side * one.Span.Radius / distance);
            if (Contains(one, p))
                nearest = std::min(nearest, ToShape(p, two));
        }
    }
    return nearest;
}

double ShapeDistance(const TShape& a, const TShape& b)
{
    if (a.Straight && b.Straight) {
        if (SegmentsMeet(a.A, a.B, b.A, b.B))
            return 0.0;
        return std::min({ToSegment(a.A, b.A, b.B), ToSegment(a.B, b.A, b.B), ToSegment(b.A, a.A, a.B),
                         ToSegment(b.B, a.A, a.B)});
    }
    if (a.Straight)
        return SegmentToArc(a, b);
    if (b.Straight)
        return SegmentToArc(b, a);
    return ArcToArc(a, b);
}

// A distance no element of the arc's circle comes nearer than: the circle
// against a segment or another circle. Offsets of arcs lie on circles
// around the same centre, which this tells apart at once.
double CircleLowerBound(const TShape& arc, const TShape& other)
{
    const double r = arc.Span.Radius;
    if (other.Straight) {
        const double nearest = ToSegment(arc.Centre, other.A, other.B);
        const double farthest = std::max(Length(other.A - arc.Centre), Length(other.B - arc.Centre));
        return std::max(nearest - r, r - farthest);
    }
    const double apart = Length(other.Centre - arc.Centre);
    const double r2 = other.Span.Radius;
    return std::max({apart - r - r2, std::abs(r - r2) - apart, 0.0});
}

// ShapeDistance(a, b) < limit, without square roots for two segments, the
// pair the removal of gouging pieces meets most.
bool CloserThan(const TShape& a, const TShape& b, double limit)
{
    if (!a.Straight && CircleLowerBound(a, b) >= limit)
        return false;
    if (!b.Straight && CircleLowerBound(b, a) >= limit)
        return false;
    if (!a.Straight || !b.Straight)
        return ShapeDistance(a, b) < limit;
    // No point of a is nearer to b than a's middle less half a's length:
    // one distance rules out most pairs around an offset.
    const double beyond = limit + a.Reach;
    if (SquaredToSegment(a.Middle, b.A, b.B) >= beyond * beyond)
        return false;
    if (SegmentsMeet(a.A, a.B, b.A, b.B))
        return true;
    const double squared = limit * limit;
    return SquaredToSegment(a.A, b.A, b.B) < squared || SquaredToSegment(a.B, b.A, b.B) < squared ||
           SquaredToSegment(b.A, a.A, a.B) < squared || SquaredToSegment(b.B, a.A, a.B) < squared;
}

} // namespace

double DistanceToElement(TVect point, const TChainElement& e)
{
    return ToShape(Of(point), ShapeOf(e));
}

double DistanceBetweenElements(const TChainElement& a, const TChainElement& b)
{
    return ShapeDistance(ShapeOf(a), ShapeOf(b));
}

bool KeepsDistanceFromElements(TVect point, const TChain& elements, double d)
{
    return std::none_of(elements.begin(), elements.end(), [&](const TChainElement& e) {
        return DistanceToElement(point, e) < d - DISTANCE_SLACK;
    });
}

bool KeepsDistanceFromEnds(TVect point, const TChain& elements, double d)
{
    return std::none_of(elements.begin(), elements.end(), [&](const TChainElement& e) {
        const TV p = Of(point);
        const double distance = IsStraight(e) ? DistanceToElement(point, e)
                                              : std::min(Length(p - Of(StartPoint(e))), Length(p - Of(EndPoint(e))));
        return distance < d - DISTANCE_SLACK;
    });
}

void RemoveGougingElements(TChain& elements, const TChain& source, double d)
{
    const double limit = d - DISTANCE_SLACK;
    // No distance is below a limit of 0 or less.
    if (!(limit > 0.0) || source.empty())
        return;
    std::vector<TElementBox> boxes;
    std::vector<TShape> shapes;
    boxes.reserve(source.size());
    shapes.reserve(source.size());
    for (const TChainElement& e : source) {
        boxes.push_back(ElementBox(e));
        shapes.push_back(ShapeOf(e));
    }
    const TElementBoxTree tree(std::move(boxes));
    const double reach = limit + SEARCH_ROOM;
    // Boxes further from the piece's box than the limit hold nothing nearer;
    // along an outline that is far fewer than a square around the piece holds.
    const double reachSquared = reach * reach;
    std::erase_if(elements, [&](const TChainElement& e) {
        const TShape piece = ShapeOf(e);
        const TElementBox pieceBox = ElementBox(e);
        const auto near = [&](const TElementBox& box) {
            return SquaredDistanceBetweenBoxes(box, pieceBox) <= reachSquared;
        };
        return tree.AnyWhere(near, [&](int k) {
            const TShape& other = shapes[static_cast<std::size_t>(k)];
            // The circles around both keep the distance: so do they.
            const TV between = other.Middle - piece.Middle;
            const double apart = limit + other.Reach + piece.Reach;
            if (Dot(between, between) >= apart * apart)
                return false;
            return CloserThan(piece, other, limit);
        });
    });
}
