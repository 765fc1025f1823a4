#include "cam/toolpath/ElementDistance.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "cad/geometry/VectorHelpers.h"
#include "cam/toolpath/ElementBoxTree.h"

namespace {

// Room beyond the limit searched around a piece, so that rounding cannot hide
// an element that is just within the limit.
constexpr double SEARCH_ROOM = 0.0001;
// Beyond the limit, the room a segment's box must leave before the exact
// distance to the segment need not be worked out.
constexpr double BOX_ROOM = 1e-6;

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
    // Every field is set by ShapeInto: the removal shapes every piece, and
    // clearing the record first would cost as much as filling it.
    TShape() {}
    bool Straight;
    TV A, B;
    TV Centre;
    double Radius;
    TV FromRay, ToRay;
    bool Major;
    TV Middle;
    double Reach;
    double Bulge;
    TElementBox Box;
    // A segment's unit direction (none when its ends coincide) and length.
    TV Unit;
    double Length;
};

void ShapeInto(const TChainElement& e, TShape& shape)
{
    shape.Straight = IsStraight(e);
    shape.A = {e.X1, e.Y1};
    shape.B = {e.X2, e.Y2};
    TElementBox box;
    if (!shape.Straight) {
        TVect centre;
        BulgeArcCentre(e, centre, shape.Radius);
        shape.Centre = Of(centre);
        const bool counterClockwise = e.Bulge > 0.0;
        shape.FromRay = (counterClockwise ? shape.A : shape.B) - shape.Centre;
        shape.ToRay = (counterClockwise ? shape.B : shape.A) - shape.Centre;
        // A bulge beyond 1 is a sweep beyond a half circle.
        shape.Major = std::abs(e.Bulge) > 1.0;
        shape.Bulge = e.Bulge;
        box = ArcBox(e, centre, shape.Radius);
        shape.Unit = {};
        shape.Length = 0.0;
    } else {
        shape.Centre = {};
        shape.Radius = 0.0;
        shape.FromRay = {};
        shape.ToRay = {};
        shape.Major = false;
        shape.Bulge = 0.0;
        box = {std::min(e.X1, e.X2), std::min(e.Y1, e.Y2), std::max(e.X1, e.X2), std::max(e.Y1, e.Y2)};
        shape.Length = Length(shape.B - shape.A);
        shape.Unit = shape.Length > 0.0 ? (shape.B - shape.A) * (1.0 / shape.Length) : TV{};
    }
    shape.Box = box;
    shape.Middle = {(box.MinX + box.MaxX) / 2.0, (box.MinY + box.MaxY) / 2.0};
    shape.Reach = Length(TV{box.MaxX, box.MaxY} - shape.Middle);
}

TShape ShapeOf(const TChainElement& e)
{
    TShape shape;
    ShapeInto(e, shape);
    return shape;
}

// The direction of the point from the centre lies within the sweep, told
// by the sides of the end rays rather than by angles.
// How far an arc of at most a half circle strays from its chord; worked out
// only where needed, as most pairs never ask.
inline double Sagitta(const TShape& shape)
{
    return shape.Straight ? 0.0 : std::abs(shape.Bulge) * Length(shape.B - shape.A) / 2.0;
}

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
        return shape.Radius;
    if (Contains(shape, p))
        return std::abs(fromCentre - shape.Radius);
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
    const double reachSquared = arc.Radius * arc.Radius - Dot(foot - arc.Centre, foot - arc.Centre);
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
    const double r1 = one.Radius;
    const double r2 = two.Radius;
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
            const TV p = one.Centre + v * (side * one.Radius / distance);
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
    const double r = arc.Radius;
    if (other.Straight) {
        const double nearest = ToSegment(arc.Centre, other.A, other.B);
        const double farthest = std::max(Length(other.A - arc.Centre), Length(other.B - arc.Centre));
        return std::max(nearest - r, r - farthest);
    }
    const double apart = Length(other.Centre - arc.Centre);
    const double r2 = other.Radius;
    return std::max({apart - r - r2, std::abs(r - r2) - apart, 0.0});
}

// Whether both ends of segment a, so all of it, lie at least the limit to
// one side of b's line, or beyond one of b's ends along it: then no point of
// a comes that near to b. An offset of b itself lies so beside it, which
// settles the commonest pair with a few products.
inline bool ApartBeside(const TShape& a, const TShape& b, double limit)
{
    const TV fromA = a.A - b.A;
    const TV fromB = a.B - b.A;
    const double sideA = Cross(b.Unit, fromA);
    const double sideB = Cross(b.Unit, fromB);
    if ((sideA >= limit && sideB >= limit) || (sideA <= -limit && sideB <= -limit))
        return true;
    const double alongA = Dot(b.Unit, fromA);
    const double alongB = Dot(b.Unit, fromB);
    return (alongA <= -limit && alongB <= -limit) ||
           (alongA >= b.Length + limit && alongB >= b.Length + limit);
}

// Whether the segment lies behind the arc as seen from its centre, or so
// little ahead that it keeps the limit all the same. A unit direction u of
// a sweep of at most a third of a circle is s u0 + t u1 with s, t >= 0 and
// s + t <= 2 (u0, u1 its end rays' directions), so when no end of the
// segment leans further than D towards either end ray, r u.(q - c) <= 2 D
// for every point q of the segment, and
// |c + r u - q|^2 = r^2 - 2 r u.(q - c) + |q - c|^2 >= r^2 - 4 D.
// An offset's corner arc lies so around its corner, where its circle meets
// the outline and the circle's bound settles nothing; the outline's own end
// at the corner leans towards the rays by no more than rounding. The room
// beyond the limit grows with the numbers, so that the rounding of the
// products cannot matter.
inline bool ArcBehind(const TShape& arc, const TShape& segment, double limit)
{
    if (arc.Major)
        return false;
    const TV a = segment.A - arc.Centre;
    const TV b = segment.B - arc.Centre;
    const double lean =
        std::max({Dot(a, arc.FromRay), Dot(b, arc.FromRay), Dot(a, arc.ToRay), Dot(b, arc.ToRay)});
    // Most segments near a corner arc lean well towards it: those are
    // turned away before the sweep and the room are worked out.
    const double r = arc.Radius;
    if (!(lean <= 0.25 * r * r))
        return false;
    if (!(Cross(arc.FromRay, arc.ToRay) > 0.0) || !(Dot(arc.FromRay, arc.ToRay) >= -0.5 * r * r))
        return false;
    const double room = BOX_ROOM + 1e-12 * (r + std::abs(a.X) + std::abs(a.Y) + std::abs(b.X) + std::abs(b.Y));
    const double kept = limit + room;
    return 4.0 * std::max(lean, 0.0) <= r * r - kept * kept;
}

// Whether two segments that do not meet keep the distance everywhere: the
// nearest points of two such segments include an end of one of them.
// Kept out of line: the run tests that call it are rarely taken, and the
// removal's loop runs faster without them in it.
[[gnu::noinline]] bool SegmentsApart(TV a1, TV a2, TV b1, TV b2, double distance)
{
    if (SegmentsMeet(a1, a2, b1, b2))
        return false;
    const double squared = distance * distance;
    return SquaredToSegment(a1, b1, b2) >= squared && SquaredToSegment(a2, b1, b2) >= squared &&
           SquaredToSegment(b1, a1, a2) >= squared && SquaredToSegment(b2, a1, a2) >= squared;
}

// Whether the arc keeps the limit from the segment because its chord keeps
// the limit and the sagitta: no point of an arc of at most a half circle
// lies further than the sagitta from its chord. Settles most of the pairs
// of an offset corner and an outline it does not lie around. The squared
// distances of the arc's ends from the segment come from the caller, which
// has measured them already; the test is otherwise SegmentsApart's.
bool ChordApart(const TShape& arc, const TShape& segment, double limit, double fromA, double fromB)
{
    if (arc.Major)
        return false;
    const TV offset = arc.Centre - segment.A;
    const double beyond = limit + Sagitta(arc) + BOX_ROOM +
                          1e-12 * (arc.Radius + std::abs(offset.X) + std::abs(offset.Y) + segment.Length);
    if (ApartBeside(arc, segment, beyond))
        return true;
    if (SegmentsMeet(arc.A, arc.B, segment.A, segment.B))
        return false;
    const double squared = beyond * beyond;
    return fromA >= squared && fromB >= squared && SquaredToSegment(segment.A, arc.A, arc.B) >= squared &&
           SquaredToSegment(segment.B, arc.A, arc.B) >= squared;
}

// SegmentToArc(segment, arc) < limit, for a pair whose arc ends were found
// no nearer than the limit to the segment the same way: those two terms are
// not worked out again, and the first term nearer than the limit settles it.
// The nearest of the terms is not a number when the first one is not, and
// then nothing is nearer.
bool SegmentCloserThanArc(const TShape& segment, const TShape& arc, double limit)
{
    const TV a = segment.A;
    const TV b = segment.B;
    if (SegmentMeetsArc(a, b, arc))
        return true;
    const double fromA = ToShape(a, arc);
    if (std::isnan(fromA))
        return false;
    if (fromA < limit || ToShape(b, arc) < limit)
        return true;
    const TV ab = b - a;
    const double squared = Dot(ab, ab);
    if (squared > 0.0) {
        const double t = Dot(arc.Centre - a, ab) / squared;
        if (t > 0.0 && t < 1.0)
            return ToShape(a + ab * t, arc) < limit;
    }
    return false;
}

bool SegmentsCloserThan(const TShape& a, const TShape& b, double limit);

// ShapeDistance(a, b) < limit, without square roots for two segments, the
// pair the removal of gouging pieces meets most.
bool CloserThan(const TShape& a, const TShape& b, double limit)
{
    if (!a.Straight && b.Straight && ArcBehind(a, b, limit))
        return false;
    if (a.Straight && !b.Straight && ArcBehind(b, a, limit))
        return false;
    if (!a.Straight && CircleLowerBound(a, b) >= limit)
        return false;
    if (!b.Straight && CircleLowerBound(b, a) >= limit)
        return false;
    if (a.Straight != b.Straight) {
        const TShape& arc = a.Straight ? b : a;
        const TShape& segment = a.Straight ? a : b;
        // The exact distance is never more than these, worked out the same way.
        const double fromA = SquaredToSegment(arc.A, segment.A, segment.B);
        if (std::sqrt(fromA) < limit)
            return true;
        const double fromB = SquaredToSegment(arc.B, segment.A, segment.B);
        if (std::sqrt(fromB) < limit)
            return true;
        if (ChordApart(arc, segment, limit, fromA, fromB))
            return false;
        return SegmentCloserThanArc(segment, arc, limit);
    }
    if (!a.Straight || !b.Straight)
        return ShapeDistance(a, b) < limit;
    if (ApartBeside(a, b, limit) || ApartBeside(b, a, limit))
        return false;
    return SegmentsCloserThan(a, b, limit);
}

// Two segments neither of which lies beside the other: what CloserThan
// asks after that.
bool SegmentsCloserThan(const TShape& a, const TShape& b, double limit)
{
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

constexpr std::size_t MAX_BATCH = 32;

TElementBox UnionOf(const TElementBox& a, const TElementBox& b)
{
    return {std::min(a.MinX, b.MinX), std::min(a.MinY, b.MinY), std::max(a.MaxX, b.MaxX), std::max(a.MaxY, b.MaxY)};
}

// The source elements in their own order, gathered into runs of RUN
// consecutive ones. Neighbours along an outline lie close together, so the
// runs' boxes are tight without sorting the elements, and the box tree over
// the runs is a fraction of the size of one over the elements.
// A run is tested against its chord when it hugs the chord well within the
// slack, as along a finely divided curve: pieces offset from the run then
// keep their distance from the chord too.
constexpr double CHORD_SPREAD = DISTANCE_SLACK / 2.0;

// The chord of a run of source elements, from its first start to its last
// end, and how far any point of the run lies from it at most.
struct TRunChord {
    TV From{}, To{};
    double Spread = 0.0;
    // The largest coordinate, for the room rounding needs.
    double Size = 0.0;
};

// Whether no point of the piece comes within the limit of the run: the
// piece's chord keeps the limit, the piece's sagitta and the run's spread
// from the run's chord.
bool RunApart(const TShape& piece, const TRunChord& run, double limit)
{
    if (piece.Major)
        return false;
    const TElementBox& box = piece.Box;
    const double size = std::max({std::abs(box.MinX), std::abs(box.MinY), std::abs(box.MaxX), std::abs(box.MaxY)});
    const double beyond = limit + run.Spread + Sagitta(piece) + BOX_ROOM + 1e-12 * (run.Size + size + limit);
    return SegmentsApart(piece.A, piece.B, run.From, run.To, beyond);
}

struct TRunRing {
    TV Centre{};
    double Inner = 0.0, Outer = 0.0;
    // The largest coordinate or radius, for the room rounding needs.
    double Size = 0.0;
    bool Usable = false;
};

class TChainRuns {
public:
    explicit TChainRuns(const std::vector<TShape>& shapes)
        : Shapes(shapes), Boxes(RunBoxes(shapes)), Chords(RunChords(shapes)), Polyline(RunsOfSegments(shapes)),
          Rings(RunRings(shapes)), Tree(Boxes)
    {
    }
    TChainRuns(const TChainRuns&) = delete;
    TChainRuns& operator=(const TChainRuns&) = delete;

    // Calls visit(run, index) for every element whose box near(box)
    // accepts and whose group boxes all overlap the query; a run's elements
    // come one after the other.
    template <typename Near, typename Visitor>
    void Visit(const TElementBox& query, Near&& near, Visitor&& visit) const
    {
        Tree.Query(query, [&](int run) {
            const std::size_t from = static_cast<std::size_t>(run) * RUN;
            // The end is worked out once: the visitor's growing lists could
            // alias the shapes for all the compiler knows.
            const std::size_t end = std::min(from + RUN, Shapes.size());
            for (std::size_t k = from; k < end; ++k) {
                if (near(Shapes[k].Box))
                    visit(run, static_cast<int>(k));
            }
        });
    }

    // Whether test(index) holds for an element whose box overlaps the
    // query, testing no more of them than it must.
    template <typename Test>
    bool Any(const TElementBox& query, Test&& test) const
    {
        return Tree.AnyOverlapping(query, [&](int run) {
            const std::size_t from = static_cast<std::size_t>(run) * RUN;
            const std::size_t end = std::min(from + RUN, Shapes.size());
            for (std::size_t k = from; k < end; ++k) {
                if (BoxesOverlap(Shapes[k].Box, query) && test(k))
                    return true;
            }
            return false;
        });
    }

    const TElementBox& RunBox(int run) const { return Boxes[static_cast<std::size_t>(run)]; }
    const TRunChord& Chord(int run) const { return Chords[static_cast<std::size_t>(run)]; }

    // Whether the arc's whole circle keeps the limit from the ring that
    // holds the run's arcs, as an offset of a finely divided circle does
    // from it: the run is then far from the arc.
    bool Apart(const TShape& arc, int run, double limit) const
    {
        const TRunRing& ring = Rings[static_cast<std::size_t>(run)];
        if (!ring.Usable)
            return false;
        const double off = Length(arc.Centre - ring.Centre);
        if (!std::isfinite(off + arc.Radius))
            return false;
        const double room =
            BOX_ROOM + 1e-12 * (ring.Size + std::abs(arc.Centre.X) + std::abs(arc.Centre.Y) + arc.Radius);
        const double beyond = limit + room + off;
        return arc.Radius - ring.Outer >= beyond || ring.Inner - arc.Radius >= beyond;
    }

    // Whether the run is a broken line all of whose corners lie at least
    // the limit to one side of the segment's line: then so does every one
    // of its elements, as each lies between its two corners. Along a convex
    // outline offset outwards this passes over a whole run at once.
    bool Beside(const TShape& segment, int run, double limit) const
    {
        const std::size_t from = static_cast<std::size_t>(run) * RUN;
        if (!Polyline[static_cast<std::size_t>(run)])
            return false;
        // The same products as an element's ends beside the segment's line.
        // Both ends of the run first: where the run bends towards the
        // segment, as inside a convex outline, one of them fails at once.
        const std::size_t last = std::min(from + RUN, Shapes.size()) - 1;
        const double first = Cross(segment.Unit, Shapes[from].A - segment.A);
        const double end = Cross(segment.Unit, Shapes[last].B - segment.A);
        const bool left = first >= limit;
        if (left ? !(end >= limit) : !(first <= -limit && end <= -limit))
            return false;
        for (std::size_t k = from; k < last; ++k) {
            const double side = Cross(segment.Unit, Shapes[k].B - segment.A);
            if (left ? !(side >= limit) : !(side <= -limit))
                return false;
        }
        return true;
    }

private:
    static constexpr std::size_t RUN = 8;

    static std::vector<TElementBox> RunBoxes(const std::vector<TShape>& shapes)
    {
        std::vector<TElementBox> boxes;
        boxes.reserve(shapes.size() / RUN + 1);
        for (std::size_t k = 0; k < shapes.size(); k += RUN) {
            TElementBox box = shapes[k].Box;
            for (std::size_t j = k + 1; j < std::min(k + RUN, shapes.size()); ++j)
                box = UnionOf(box, shapes[j].Box);
            boxes.push_back(box);
        }
        return boxes;
    }

    // A point of an element lies no further from the chord than the
    // further of the element's ends (for an arc, that and its sagitta). A run
    // that strays further than the chord test can use is not measured on.
    static std::vector<TRunChord> RunChords(const std::vector<TShape>& shapes)
    {
        constexpr double TOO_FAR = std::numeric_limits<double>::infinity();
        std::vector<TRunChord> chords;
        chords.reserve(shapes.size() / RUN + 1);
        for (std::size_t k = 0; k < shapes.size(); k += RUN) {
            const std::size_t end = std::min(k + RUN, shapes.size());
            TRunChord chord{shapes[k].A, shapes[end - 1].B, 0.0, 0.0};
            double fromB = 0.0;
            for (std::size_t j = k; j < end && chord.Spread <= CHORD_SPREAD; ++j) {
                const TShape& e = shapes[j];
                // An end shared with the element before has been measured.
                const bool joined = j > k && e.A.X == shapes[j - 1].B.X && e.A.Y == shapes[j - 1].B.Y;
                const double fromA = joined ? fromB : SquaredToSegment(e.A, chord.From, chord.To);
                fromB = SquaredToSegment(e.B, chord.From, chord.To);
                const double spread = e.Major ? TOO_FAR : std::sqrt(std::max(fromA, fromB)) + Sagitta(e);
                // Not a number fails the test of the loop, and makes no proof.
                chord.Spread = std::isnan(spread) ? spread : std::max(chord.Spread, spread);
                chord.Size = std::max({chord.Size, std::abs(e.Box.MinX), std::abs(e.Box.MinY), std::abs(e.Box.MaxX),
                                       std::abs(e.Box.MaxY)});
            }
            if (!(chord.Spread <= CHORD_SPREAD))
                chord.Spread = TOO_FAR;
            chords.push_back(chord);
        }
        return chords;
    }

    // Whether each run is all segments, each starting where the one before
    // ends.
    static std::vector<char> RunsOfSegments(const std::vector<TShape>& shapes)
    {
        std::vector<char> polyline;
        polyline.reserve(shapes.size() / RUN + 1);
        for (std::size_t k = 0; k < shapes.size(); k += RUN) {
            bool joined = shapes[k].Straight;
            for (std::size_t j = k + 1; j < std::min(k + RUN, shapes.size()) && joined; ++j)
                joined = shapes[j].Straight && shapes[j].A.X == shapes[j - 1].B.X && shapes[j].A.Y == shapes[j - 1].B.Y;
            polyline.push_back(joined ? 1 : 0);
        }
        return polyline;
    }

    // For a run of arcs, a ring around the first one's centre that holds
    // every one of them: the radii widened by how far each centre lies
    // from the first. None for a run with a segment in it.
    static std::vector<TRunRing> RunRings(const std::vector<TShape>& shapes)
    {
        std::vector<TRunRing> rings;
        rings.reserve(shapes.size() / RUN + 1);
        for (std::size_t k = 0; k < shapes.size(); k += RUN) {
            TRunRing ring{shapes[k].Centre, shapes[k].Radius, shapes[k].Radius, 0.0, !shapes[k].Straight};
            for (std::size_t j = k; j < std::min(k + RUN, shapes.size()) && ring.Usable; ++j) {
                const TShape& e = shapes[j];
                const double off = Length(e.Centre - ring.Centre);
                ring.Usable = !e.Straight && std::isfinite(off) && std::isfinite(e.Radius);
                ring.Inner = std::min(ring.Inner, e.Radius - off);
                ring.Outer = std::max(ring.Outer, e.Radius + off);
                ring.Size = std::max({ring.Size, std::abs(e.Centre.X), std::abs(e.Centre.Y), e.Radius});
            }
            rings.push_back(ring);
        }
        return rings;
    }

    const std::vector<TShape>& Shapes;
    const std::vector<TElementBox> Boxes;
    const std::vector<TRunChord> Chords;
    const std::vector<char> Polyline;
    const std::vector<TRunRing> Rings;
    TElementBoxTree Tree;
};

std::vector<TShape> ShapesOf(const TChain& source)
{
    std::vector<TShape> shapes(source.size());
    for (std::size_t k = 0; k < source.size(); ++k)
        ShapeInto(source[k], shapes[k]);
    return shapes;
}

// The largest coordinate or radius of any shape, for the room rounding
// needs; infinite when one is not a finite number.
double SizeOf(const std::vector<TShape>& shapes)
{
    double size = 0.0;
    for (const TShape& e : shapes) {
        for (const double v : {e.Box.MinX, e.Box.MinY, e.Box.MaxX, e.Box.MaxY, e.Centre.X, e.Centre.Y, e.Radius}) {
            if (!std::isfinite(v))
                return std::numeric_limits<double>::infinity();
            size = std::max(size, std::abs(v));
        }
    }
    return size;
}

} // namespace

struct TPreparedSource::TData {
    explicit TData(const TChain& source) : Source(source), Shapes(ShapesOf(source)), Runs(Shapes) {}

    // Worked out on the first distance test: a removal alone never needs it.
    double Size() const
    {
        if (KnownSize < 0.0)
            KnownSize = SizeOf(Shapes);
        return KnownSize;
    }

    const TChain& Source;
    const std::vector<TShape> Shapes;
    const TChainRuns Runs;

private:
    mutable double KnownSize = -1.0;
};

namespace {

// Whether an element comes nearer to the point than the limit. A segment
// whose box lies beyond the limit is no nearer; the room covers the
// rounding of the exact distance many times over. Every loop of a pocket
// asks this of the whole outline, and most of it is far away.
struct TNearer {
    TVect Point;
    double Limit;
    double Beyond;

    TNearer(TVect point, double limit)
        : Point(point), Limit(limit), Beyond(limit > 0.0 ? (limit + BOX_ROOM) * (limit + BOX_ROOM) : -1.0)
    {
    }

    bool operator()(const TChainElement& e) const
    {
        if (Beyond > 0.0 && e.Bulge == 0.0) {
            const double dx = std::max({std::min(e.X1, e.X2) - Point.X, 0.0, Point.X - std::max(e.X1, e.X2)});
            const double dy = std::max({std::min(e.Y1, e.Y2) - Point.Y, 0.0, Point.Y - std::max(e.Y1, e.Y2)});
            if (dx * dx + dy * dy > Beyond)
                return false;
        }
        return DistanceToElement(Point, e) < Limit;
    }
};

} // namespace

TPreparedSource::TPreparedSource(const TChain& source) : Shaped(std::make_unique<const TData>(source)) {}

TPreparedSource::~TPreparedSource() = default;

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
    return std::none_of(elements.begin(), elements.end(), TNearer(point, d - DISTANCE_SLACK));
}

bool KeepsDistanceFromElements(TVect point, const TPreparedSource& source, double d)
{
    const TPreparedSource::TData& data = source.Data();
    const TNearer nearer(point, d - DISTANCE_SLACK);
    // Elements whose boxes lie further than the limit and room enough for
    // the rounding of any distance among these coordinates are no nearer.
    const double room = BOX_ROOM + 1e-9 * (data.Size() + std::abs(point.X) + std::abs(point.Y));
    const double reach = nearer.Limit + room;
    if (!(nearer.Limit > 0.0 && std::isfinite(reach)))
        return KeepsDistanceFromElements(point, data.Source, d);
    const TElementBox query{point.X - reach, point.Y - reach, point.X + reach, point.Y + reach};
    return !data.Runs.Any(query, [&](std::size_t k) { return nearer(data.Source[k]); });
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

bool KeepsDistanceFromEnds(TVect point, const TPreparedSource& source, double d)
{
    return KeepsDistanceFromEnds(point, source.Data().Source, d);
}

void RemoveGougingElements(TChain& elements, const TChain& source, double d)
{
    // No distance is below a limit of 0 or less.
    if (!(d - DISTANCE_SLACK > 0.0) || source.empty() || elements.empty())
        return;
    RemoveGougingElements(elements, TPreparedSource(source), d);
}

void RemoveGougingElements(TChain& elements, const TPreparedSource& source, double d)
{
    const double limit = d - DISTANCE_SLACK;
    const std::vector<TShape>& shapes = source.Data().Shapes;
    if (!(limit > 0.0) || shapes.empty() || elements.empty())
        return;
    const TChainRuns& runs = source.Data().Runs;
    const double reach = limit + SEARCH_ROOM;
    // Boxes further from the piece's box than the limit hold nothing nearer;
    // along an outline that is far fewer than a square around the piece holds.
    const double reachSquared = reach * reach;
    const auto gougesWith = [&](const TShape& piece, int k) {
        const TShape& other = shapes[static_cast<std::size_t>(k)];
        if (SquaredDistanceBetweenBoxes(other.Box, piece.Box) > reachSquared)
            return false;
        // Two segments are mostly settled by one lying beside the other:
        // the piece beside the source element, or, along a convex outline
        // offset outwards, the element beside the piece.
        const bool segments = piece.Straight && other.Straight;
        if (segments && (ApartBeside(piece, other, limit) || ApartBeside(other, piece, limit)))
            return false;
        // The circles around both keep the distance: so do they.
        const TV between = other.Middle - piece.Middle;
        const double apart = limit + other.Reach + piece.Reach;
        if (Dot(between, between) >= apart * apart)
            return false;
        return segments ? SegmentsCloserThan(piece, other, limit) : CloserThan(piece, other, limit);
    };

    // Pieces come in the order of the outline they were offset from, so a
    // few in a row share their neighbourhood: one search gathers the source
    // elements near all of them, and each piece then looks through that
    // short list. A batch ends before its box grows much beyond the reach
    // or the size of its first piece, so the list stays short.
    // The candidates of a batch, with where each run's ones begin: a piece
    // passes over a whole run when the run's box is beyond its reach.
    struct TRunCandidates {
        int Run;
        std::size_t First;
        // Set once the run was found not to lie beside a piece's line:
        // the batch's next pieces lie along the same stretch and do not ask.
        bool NotBeside;
    };
    std::vector<TShape> batch;
    std::vector<int> candidates;
    std::vector<TRunCandidates> byRun;
    std::vector<char> remove(elements.size(), 0);
    int lastGouger = -1;
    std::size_t next = 0;
    // The piece that did not fit the batch before starts the next one,
    // shaped already.
    bool carried = false;
    while (next < elements.size()) {
        const std::size_t first = next;
        if (carried)
            batch.front() = batch.back();
        batch.resize(1);
        if (!carried)
            ShapeInto(elements[next], batch.front());
        carried = false;
        ++next;
        TElementBox all = batch.front().Box;
        const double room = 2.0 * reach;
        while (next < elements.size() && batch.size() < MAX_BATCH) {
            TShape& shape = batch.emplace_back();
            ShapeInto(elements[next], shape);
            const TElementBox grown = UnionOf(all, shape.Box);
            const bool finite = std::isfinite(shape.Box.MinX + shape.Box.MinY + shape.Box.MaxX + shape.Box.MaxY);
            if (!finite || !(grown.MaxX - grown.MinX <= room && grown.MaxY - grown.MinY <= room)) {
                carried = true;
                break;
            }
            all = grown;
            ++next;
        }
        // Pieces that gouge come in runs, mostly into the same source
        // element: trying the last one first spares gathering the
        // neighbourhood at all.
        bool gathered = false;
        const std::size_t count = batch.size() - (carried ? 1 : 0);
        for (std::size_t k = 0; k < count; ++k) {
            if (lastGouger >= 0 && gougesWith(batch[k], lastGouger)) {
                remove[first + k] = 1;
                continue;
            }
            if (!gathered) {
                candidates.clear();
                byRun.clear();
                // Groups are passed over by overlap with the batch's box
                // grown by the reach, which holds every box within reach of
                // it; only the elements are measured exactly.
                runs.Visit(InflateBox(all, reach),
                           [&](const TElementBox& box) { return SquaredDistanceBetweenBoxes(box, all) <= reachSquared; },
                           [&](int run, int c) {
                               if (byRun.empty() || byRun.back().Run != run)
                                   byRun.push_back({run, candidates.size(), false});
                               candidates.push_back(c);
                           });
                gathered = true;
            }
            lastGouger = -1;
            // Runs beside a piece's line come along convex stretches of the
            // source; once one is not, the piece does not ask the rest.
            bool besideWorks = batch[k].Straight;
            const std::size_t runCount = byRun.size();
            for (std::size_t r = 0; r < runCount && lastGouger < 0; ++r) {
                if (SquaredDistanceBetweenBoxes(runs.RunBox(byRun[r].Run), batch[k].Box) > reachSquared)
                    continue;
                const TRunChord& chord = runs.Chord(byRun[r].Run);
                if (chord.Spread <= CHORD_SPREAD && RunApart(batch[k], chord, limit))
                    continue;
                if (!batch[k].Straight && runs.Apart(batch[k], byRun[r].Run, limit))
                    continue;
                if (besideWorks) {
                    if (!byRun[r].NotBeside && runs.Beside(batch[k], byRun[r].Run, limit))
                        continue;
                    byRun[r].NotBeside = true;
                    besideWorks = false;
                }
                const std::size_t end = r + 1 < runCount ? byRun[r + 1].First : candidates.size();
                for (std::size_t j = byRun[r].First; j < end; ++j) {
                    if (gougesWith(batch[k], candidates[j])) {
                        remove[first + k] = 1;
                        lastGouger = candidates[j];
                        break;
                    }
                }
            }
        }
    }
    // Pieces before the first removed one stay where they are: an offset
    // that loses none copies nothing.
    std::size_t kept = static_cast<std::size_t>(std::find(remove.begin(), remove.end(), 1) - remove.begin());
    for (std::size_t k = kept + 1; k < elements.size(); ++k) {
        if (!remove[k])
            elements[kept++] = elements[k];
    }
    elements.resize(kept);
}
