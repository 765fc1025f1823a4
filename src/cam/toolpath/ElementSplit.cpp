#include "cam/toolpath/ElementSplit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "cad/base/Settings.h"
#include "cad/geometry/VectorHelpers.h"
#include "cam/toolpath/ElementBoxTree.h"

namespace {

// Up to Size points, where two equal points are one. Meeting points are at
// most two crossings and each of the four ends lying on the other element;
// points of one element's end on the other are that very end.
template <int Size>
struct TPointSet {
    std::array<TVect, Size> Points{};
    int Count = 0;

    // Two equal points are one touching point.
    void Add(TVect p)
    {
        for (int k = 0; k < Count; ++k) {
            if (EqualPoints(Points[k], p))
                return;
        }
        Points[Count++] = p;
    }
};

using TMeetingPoints = TPointSet<6>;
// The points where two circles or a line and a circle meet, before they
// are tried against the elements.
using TCirclePoints = TPointSet<2>;

bool SameSign(double a, double b)
{
    return (a > 0.0 && b > 0.0) || (a < 0.0 && b < 0.0);
}

// Nearly parallel or nearly concentric input can produce a point far away
// from both elements; such a point is no meeting point.
bool NearBoxes(TVect p, const TElementBox& aBox, const TElementBox& bBox)
{
    return BoxContainsPoint(InflateBox(aBox, CROSSING_BOX_MARGIN), p) &&
           BoxContainsPoint(InflateBox(bBox, CROSSING_BOX_MARGIN), p);
}

// An arc's box from the centre its span already holds, which is the one
// ElementBox would work out again.
TElementBox SpanBox(const TChainElement& arc, const TArcSpan& span)
{
    return ArcBox(arc, span.Centre, span.Radius);
}

// Whether the point is an end of the element, bit for bit.
inline bool SameEnd(TVect p, const TChainElement& e)
{
    return (p.X == e.X1 && p.Y == e.Y1) || (p.X == e.X2 && p.Y == e.Y2);
}

// A meeting point no further than SystemTol from one end of an element
// (and further from its other end) and equal to neither end of the other
// is where that element ends on the other, as near as the pieces can tell:
// the piece between would be too short to keep, and the element would end
// at the meeting point while the next element of its chain still starts at
// the old end. Moved onto that end, the meeting point leaves the element
// whole there, the other is cut where the first ends, and all their pieces
// meet exactly. Of two such ends the nearer wins. A point is never moved
// further than a meeting point may lie off the elements' boxes, whatever
// SystemTol is set to.
[[gnu::noinline]] void SnapToNearEnd(TVect& p, const TChainElement& a, const TChainElement& b)
{
    const double reach = std::min(SystemTol, CROSSING_BOX_MARGIN);
    const auto squared = [&](TVect q) { return (q.X - p.X) * (q.X - p.X) + (q.Y - p.Y) * (q.Y - p.Y); };
    double nearest = reach * reach;
    TVect end = p;
    for (const TChainElement* e : {&a, &b}) {
        const TVect ends[] = {StartPoint(*e), EndPoint(*e)};
        for (int k = 0; k < 2; ++k) {
            const double distance = squared(ends[k]);
            if (distance <= nearest && squared(ends[1 - k]) > reach * reach) {
                nearest = distance;
                end = ends[k];
            }
        }
    }
    p = end;
}

// Snaps a meeting point to an end of either element it equals, or else to
// one it lies next to (SnapToNearEnd). A point at an end of both is where
// the two already join, and is none.
[[gnu::always_inline]] inline bool SnapToEnds(TVect& p, const TChainElement& a, const TChainElement& b,
                                              bool& atEndOfA, bool& atEndOfB)
{
    // Every pair the sweep tries comes through here, most of them chain
    // neighbours that meet only where they join: the ends are compared one
    // by one rather than through a loop over a list of them.
    atEndOfA = true;
    if (EqualPoints(p, StartPoint(a)))
        p = StartPoint(a);
    else if (EqualPoints(p, EndPoint(a)))
        p = EndPoint(a);
    else
        atEndOfA = false;
    // Once snapped, the point is compared as the end of a it now is.
    atEndOfB = true;
    if (EqualPoints(p, StartPoint(b))) {
        if (!atEndOfA)
            p = StartPoint(b);
    } else if (EqualPoints(p, EndPoint(b))) {
        if (!atEndOfA)
            p = EndPoint(b);
    } else {
        atEndOfB = false;
    }
    if (!atEndOfA && !atEndOfB) {
        SnapToNearEnd(p, a, b);
        atEndOfA = SameEnd(p, a);
        atEndOfB = SameEnd(p, b);
    }
    return !(atEndOfA && atEndOfB);
}

// What a segment passes for its span, which is never read.
const TArcSpan NO_SPAN{};

// ArcSpanContains for the arc whose span it is, without its arc tangents
// where the answer is clear: the sines of the angles from the start to the
// point, from the point to the end and from the start to the end tell it,
// and they are worked out from the same differences to the centre as the
// angles. Where any of them lies within 1e-9 of zero, nearer than the
// angles' rounding could tip it, the angles decide.
bool ArcHolds(const TChainElement& arc, const TArcSpan& span, TVect p)
{
    const TVect a{arc.X1 - span.Centre.X, arc.Y1 - span.Centre.Y};
    const TVect b{arc.X2 - span.Centre.X, arc.Y2 - span.Centre.Y};
    const TVect u{p.X - span.Centre.X, p.Y - span.Centre.Y};
    const double turn = span.Turn;
    const double sweepSine = turn * (a.X * b.Y - a.Y * b.X);
    const double fromStart = turn * (a.X * u.Y - a.Y * u.X);
    const double toEnd = turn * (u.X * b.Y - u.Y * b.X);
    const double aa = a.X * a.X + a.Y * a.Y;
    const double bb = b.X * b.X + b.Y * b.Y;
    const double uu = u.X * u.X + u.Y * u.Y;
    constexpr double SQUARED_MARGIN = 1e-18;
    const auto clear = [](double sine, double lengths) { return sine * sine > SQUARED_MARGIN * lengths; };
    if (!(clear(sweepSine, aa * bb) && clear(fromStart, aa * uu) && clear(toEnd, uu * bb)))
        return ArcSpanContains(span, p);
    // Up to a half circle the span is where both sines are positive, beyond
    // it where either is.
    if (sweepSine > 0.0)
        return fromStart > 0.0 && toEnd > 0.0;
    return fromStart > 0.0 || toEnd > 0.0;
}

// The span is the arc's own (ArcSpanOf); that of a segment is not read.
bool OnElement(TVect p, const TChainElement& e, const TArcSpan& span)
{
    if (IsStraight(e)) {
        const TVect a = StartPoint(e);
        const TVect ab = SubVect(EndPoint(e), a);
        const double squared = DotProduct(ab, ab);
        if (squared == 0.0)
            return false;
        const double t = std::clamp(DotProduct(SubVect(p, a), ab) / squared, 0.0, 1.0);
        return PointDistance(p, AddVect(a, ScaleVect(ab, t))) <= REAL_EPSILON;
    }
    return std::abs(PointDistance(p, span.Centre) - span.Radius) <= REAL_EPSILON && ArcHolds(e, span, p);
}

// Two elements that touch within the equality tolerance run within it of
// each other along a stretch, longer the flatter they meet, and are cut
// once, at the touching point. But where the points at which their lines
// or circles truly meet are ends already, each where both end or where one
// ends on the other, the stretch is marked where it has to be: the touching
// point would cut both a second time beside them. Each arc piece,
// recomputed from its new ends, would touch again in its own middle, and
// the cutting would halve the stretch into coincident pieces down to
// SystemTol.
bool TouchingPointCounts(const TCirclePoints& trueMeetings, const TChainElement& a, const TArcSpan& aSpan,
                         const TChainElement& b, const TArcSpan& bSpan)
{
    const auto endOn = [](TVect p, const TChainElement& e, const TChainElement& other, const TArcSpan& otherSpan) {
        for (const TVect end : {StartPoint(e), EndPoint(e)}) {
            if (EqualPoints(p, end) && (EqualPoints(end, StartPoint(other)) || EqualPoints(end, EndPoint(other)) ||
                                        OnElement(end, other, otherSpan)))
                return true;
        }
        return false;
    };
    for (int k = 0; k < trueMeetings.Count; ++k) {
        const TVect p = trueMeetings.Points[k];
        if (!endOn(p, a, b, bSpan) && !endOn(p, b, a, aSpan))
            return true;
    }
    return false;
}

// Adds the end when it lies on the element other than at one of its ends.
// The box is the element's grown by REAL_EPSILON.
template <typename Points>
[[gnu::always_inline]] inline void AddEndOn(TVect end, const TChainElement& on, const TArcSpan& span,
                                            const TElementBox& box, Points& points)
{
    if (BoxContainsPoint(box, end) && !EqualPoints(end, StartPoint(on)) && !EqualPoints(end, EndPoint(on)) &&
        OnElement(end, on, span))
        points.Add(end);
}

// The ends of either element that lie on the other one, other than at one
// of its ends. Where one element ends on another, rounding may put the
// computed crossing a hair beside the end, or miss it; the end itself is the
// point where the other must be cut, so that pieces meet exactly.
void AddEndsOnOther(const TChainElement& a, const TArcSpan& aSpan, const TElementBox& aBox, const TChainElement& b,
                    const TArcSpan& bSpan, const TElementBox& bBox, TMeetingPoints& points)
{
    const TElementBox onB = InflateBox(bBox, REAL_EPSILON);
    AddEndOn(StartPoint(a), b, bSpan, onB, points);
    AddEndOn(EndPoint(a), b, bSpan, onB, points);
    const TElementBox onA = InflateBox(aBox, REAL_EPSILON);
    AddEndOn(StartPoint(b), a, aSpan, onA, points);
    AddEndOn(EndPoint(b), a, aSpan, onA, points);
}

// The line through a segment as A x + B y + C = 0.
struct TLineEquation {
    double A = 0.0;
    double B = 0.0;
    double C = 0.0;

    double At(double x, double y) const { return A * x + B * y + C; }
};

TLineEquation LineThrough(const TChainElement& e)
{
    return {e.Y2 - e.Y1, e.X1 - e.X2, e.X2 * e.Y1 - e.X1 * e.Y2};
}

// Both ends of the segment strictly on the same side of the line.
bool EndsOnOneSide(const TLineEquation& line, const TChainElement& e)
{
    return SameSign(line.At(e.X1, e.Y1), line.At(e.X2, e.Y2));
}

bool LineLineCrossing(const TChainElement& f, const TElementBox& fBox, const TChainElement& s,
                      const TElementBox& sBox, TVect& crossing)
{
    if (SharesEndPoint(f, s))
        return false;
    const TLineEquation one = LineThrough(f);
    const TLineEquation two = LineThrough(s);
    const double denominator = one.A * two.B - two.A * one.B;
    // Parallel and overlapping segments are never cut.
    if (denominator == 0.0)
        return false;
    if (!EndsOnOneSide(one, s) && !EndsOnOneSide(two, f)) {
        crossing = {(one.B * two.C - two.B * one.C) / denominator, (two.A * one.C - one.A * two.C) / denominator};
        bool atEndOfF = false;
        bool atEndOfS = false;
        if (NearBoxes(crossing, fBox, sBox) && SnapToEnds(crossing, f, s, atEndOfF, atEndOfS))
            return true;
    }
    TMeetingPoints ends;
    AddEndsOnOther(f, NO_SPAN, fBox, s, NO_SPAN, sBox, ends);
    if (ends.Count == 0)
        return false;
    crossing = ends.Points[0];
    return true;
}

// Whether every point where the segment's line meets the arc's circle, as
// LineArcPoints works them out, would snap to an end the two share. Then
// none of them is a meeting point, and the frame, its square root and the
// angle of the foot point need not be worked out.
//
// The line passes through the shared end P, which lies on the circle, so it
// meets the circle at P and at one more point 2 g / |w| from it (g: the
// centre's offset from P along the segment w), with the foot point halfway.
// A segment that leaves the arc along its tangent, as an offset's chord
// leaves the corner arc after it, makes g about zero. The frame's rounding,
// magnified by the square root of a difference of squares, moves the worked
// out points further; the bound allows for it with a wide margin and keeps
// them within 0.7 REAL_EPSILON of P. Whatever it does not settle goes the
// whole way.
// The segment's start is an end of the arc when atLineStart, else its end.
bool MeetsCircleOnlyAtSharedEnd(const TChainElement& line, bool atLineStart, const TChainElement& arc,
                                const TArcSpan& span, TVect& lineOther, TVect& arcOther)
{
    const TVect start = StartPoint(line);
    const TVect end = EndPoint(line);
    const TVect shared = atLineStart ? start : end;
    lineOther = atLineStart ? end : start;
    const bool atArcStart = shared.X == arc.X1 && shared.Y == arc.Y1;
    arcOther = atArcStart ? EndPoint(arc) : StartPoint(arc);
    // The points near the shared end must not snap to the segment's other
    // end, which is tried first when the shared end is the segment's end.
    if (!(std::abs(lineOther.X - shared.X) > 4.0 * REAL_EPSILON ||
          std::abs(lineOther.Y - shared.Y) > 4.0 * REAL_EPSILON))
        return false;
    const TVect w = SubVect(end, start);
    const TVect v = SubVect(span.Centre, shared);
    const double r = span.Radius;
    // The frame's errors relative to the segment and the circle, which the
    // difference of squares magnifies, and those of its absolute
    // coordinates, which only move the points.
    const double slack = 0x1p-47 * (std::abs(w.X) + std::abs(w.Y) + r);
    const double rounding = slack + 0x1p-46 * (std::abs(span.Centre.X) + std::abs(span.Centre.Y));
    if (!(rounding <= REAL_EPSILON / 64.0))
        return false;
    constexpr double ALONG = REAL_EPSILON / 8.0;
    constexpr double HALF = REAL_EPSILON / 2.0;
    const double g = DotProduct(v, w);
    const double fromCentre = DotProduct(v, v);
    // A bound on the square of half the chord the frame works out.
    const double chord = std::abs(r * r - fromCentre) + 0x1p-48 * (r * r + fromCentre) + 4.0 * (r + slack) * slack +
                         (ALONG + slack) * (ALONG + slack);
    return g * g <= ALONG * ALONG * DotProduct(w, w) && chord <= HALF * HALF;
}

// Whether a segment and an arc that share an end, bit for bit, meet only
// there: most pairs the splitting tries are a segment and the arc it
// leaves along its tangent. The shared end is an end of both, which
// AddEndsOnOther does not add, so only the other two ends are tried.
bool MeetOnlyAtSharedEnd(const TChainElement& line, bool atLineStart, const TElementBox& lineBox,
                         const TChainElement& arc, const TArcSpan& span, const TElementBox& arcBox)
{
    TVect lineOther;
    TVect arcOther;
    if (!MeetsCircleOnlyAtSharedEnd(line, atLineStart, arc, span, lineOther, arcOther))
        return false;
    TCirclePoints ends;
    AddEndOn(lineOther, arc, span, InflateBox(arcBox, REAL_EPSILON), ends);
    AddEndOn(arcOther, line, NO_SPAN, InflateBox(lineBox, REAL_EPSILON), ends);
    return ends.Count == 0;
}

// Meeting points of a segment with an arc, worked out with the arc's centre
// at the origin and the segment turned horizontal.
TMeetingPoints LineArcPoints(const TChainElement& line, const TElementBox& lineBox, const TChainElement& arc,
                             const TArcSpan& span, const TElementBox& arcBox)
{
    TMeetingPoints result;
    const TVect start = StartPoint(line);
    const TVect end = EndPoint(line);
    const double length = PointDistance(start, end);
    if (length == 0.0)
        return result;
    const TVect u{(end.X - start.X) / length, (end.Y - start.Y) / length};
    const auto toFrame = [&](TVect p) {
        const TVect q = SubVect(p, span.Centre);
        return TVect{q.X * u.X + q.Y * u.Y, q.Y * u.X - q.X * u.Y};
    };
    const auto fromFrame = [&](TVect q) {
        return TVect{span.Centre.X + q.X * u.X - q.Y * u.Y, span.Centre.Y + q.X * u.Y + q.Y * u.X};
    };
    const TVect s = toFrame(start);
    const TVect e = toFrame(end);
    const double y = s.Y;
    const double r = span.Radius;
    TCirclePoints candidates;
    // A line that nearly touches the circle touches it at the foot point,
    // unless that lies off the arc while the line truly crosses the circle.
    const bool touching =
        EqualReals(std::abs(y), r) && (!(std::abs(y) < r) || ArcHolds(arc, span, fromFrame({0.0, y})));
    if (touching) {
        TCirclePoints trueMeetings;
        const double half = std::abs(y) < r ? std::sqrt(r * r - y * y) : 0.0;
        trueMeetings.Add(fromFrame({half, y}));
        trueMeetings.Add(fromFrame({-half, y}));
        if (TouchingPointCounts(trueMeetings, line, NO_SPAN, arc, span))
            candidates.Add({0.0, y});
    } else if (std::abs(y) < r) {
        const double half = std::sqrt(r * r - y * y);
        candidates.Add({half, y});
        candidates.Add({-half, y});
    }
    for (int k = 0; k < candidates.Count; ++k) {
        const TVect q = candidates.Points[k];
        TVect p = fromFrame(q);
        bool atLineEnd = false;
        bool atArcEnd = false;
        if (!SnapToEnds(p, line, arc, atLineEnd, atArcEnd))
            continue;
        const bool onLine = atLineEnd || (s.X < q.X && q.X < e.X);
        const bool onArc = atArcEnd || ArcHolds(arc, span, p);
        if (onLine && onArc && NearBoxes(p, lineBox, arcBox))
            result.Add(p);
    }
    AddEndsOnOther(line, NO_SPAN, lineBox, arc, span, arcBox, result);
    return result;
}

TMeetingPoints ArcArcPoints(const TChainElement& first, const TArcSpan& one, const TElementBox& firstBox,
                            const TChainElement& second, const TArcSpan& two, const TElementBox& secondBox)
{
    TMeetingPoints result;
    const double r1 = one.Radius;
    const double r2 = two.Radius;
    const TVect v = SubVect(two.Centre, one.Centre);
    const double distance = std::hypot(v.X, v.Y);
    if (CirclesNeverMeet(one, two, distance))
        return result;
    const TVect u{v.X / distance, v.Y / distance};
    // Touching is judged on distances, and the touching point put on the
    // first circle: judged on squared distances, nearly equal and nearly
    // concentric circles give a point far outside both.
    TCirclePoints candidates;
    const auto meetings = [&] {
        const double t = (distance + (r1 * r1 - r2 * r2) / distance) / 2.0;
        const double h = std::sqrt(std::max(0.0, r1 * r1 - t * t));
        const TVect base = AddVect(one.Centre, ScaleVect(u, t));
        const TVect normal{-u.Y, u.X};
        TCirclePoints points;
        points.Add(AddVect(base, ScaleVect(normal, h)));
        points.Add(SubVect(base, ScaleVect(normal, h)));
        return points;
    };
    if (std::abs(distance - (r1 + r2)) <= REAL_EPSILON) {
        if (TouchingPointCounts(meetings(), first, one, second, two))
            candidates.Add(AddVect(one.Centre, ScaleVect(u, r1)));
    } else if (std::abs(distance - std::abs(r1 - r2)) <= REAL_EPSILON) {
        if (TouchingPointCounts(meetings(), first, one, second, two))
            candidates.Add(AddVect(one.Centre, ScaleVect(u, r1 >= r2 ? r1 : -r1)));
    } else {
        candidates = meetings();
    }
    for (int k = 0; k < candidates.Count; ++k) {
        TVect p = candidates.Points[k];
        bool atFirstEnd = false;
        bool atSecondEnd = false;
        if (!SnapToEnds(p, first, second, atFirstEnd, atSecondEnd))
            continue;
        if ((atFirstEnd || ArcHolds(first, one, p)) && (atSecondEnd || ArcHolds(second, two, p)) &&
            NearBoxes(p, firstBox, secondBox))
            result.Add(p);
    }
    AddEndsOnOther(first, one, firstBox, second, two, secondBox, result);
    return result;
}

bool AddLinePiece(TVect from, TVect to, TChain& pieces)
{
    if (!(PointDistance(from, to) > SystemTol))
        return false;
    pieces.push_back(MakeElement(from, to));
    return true;
}

// Orders the points by the key, smallest first.
template <typename Key>
std::array<double, 6> SortPoints(TMeetingPoints& points, Key&& key)
{
    std::array<double, 6> keys{};
    for (int k = 0; k < points.Count; ++k)
        keys[k] = key(points.Points[k]);
    for (int k = 1; k < points.Count; ++k) {
        for (int m = k; m > 0 && keys[m] < keys[m - 1]; --m) {
            std::swap(keys[m], keys[m - 1]);
            std::swap(points.Points[m], points.Points[m - 1]);
        }
    }
    return keys;
}

void AddLinePieces(const TChainElement& line, TMeetingPoints points, TChain& pieces, bool& split)
{
    const TVect start = StartPoint(line);
    SortPoints(points, [&](TVect p) { return PointDistance(start, p); });
    TVect from = start;
    for (int k = 0; k < points.Count; ++k) {
        split = AddLinePiece(from, points.Points[k], pieces) || split;
        from = points.Points[k];
    }
    split = AddLinePiece(from, EndPoint(line), pieces) || split;
}

// Points are ordered by their travel along the arc. For arcs up to a half
// circle that is the order of their distance from the start; beyond it only
// the travel is right, and so is the travel as the sweep of each piece.
// Pieces are kept by their length: on a large radius a real piece may
// sweep less than SystemTol radians.
void AddArcPieces(const TChainElement& arc, const TArcSpan& span, TMeetingPoints points, TChain& pieces, bool& split)
{
    const std::array<double, 6> travel =
        SortPoints(points, [&](TVect p) { return std::min(ArcTravelTo(span, p), span.Sweep); });
    const double sign = arc.Bulge > 0.0 ? 1.0 : -1.0;
    const auto addPiece = [&](TVect from, TVect to, double sweep) {
        if (sweep * span.Radius > SystemTol) {
            pieces.push_back(MakeElement(from, to, std::tan(sweep / 4.0) * sign));
            split = true;
        }
    };
    TVect from = StartPoint(arc);
    double fromTravel = 0.0;
    for (int k = 0; k < points.Count; ++k) {
        addPiece(from, points.Points[k], travel[k] - fromTravel);
        from = points.Points[k];
        fromTravel = travel[k];
    }
    addPiece(from, EndPoint(arc), span.Sweep - fromTravel);
}

bool ChangesElement(const TChainElement& source, const TChain& pieces, std::size_t first, std::size_t count)
{
    return count > 1 || (count == 1 && !EqualElements(source, pieces[first]));
}

// A cut that only puts back copies of both elements (a meeting point within
// the equality tolerance of an end, the other part too short to keep)
// changes nothing; reported as a cut, the sweep would meet the same pair
// again and again. The first aCount pieces are a's, the rest b's.
void DropIfNothingChanges(const TChainElement& a, const TChainElement& b, std::size_t aCount, TChain& pieces,
                          bool& aSplit, bool& bSplit)
{
    if (ChangesElement(a, pieces, 0, aCount) || ChangesElement(b, pieces, aCount, pieces.size() - aCount))
        return;
    pieces.clear();
    aSplit = false;
    bSplit = false;
}

// The pieces of arc a, then those of arc b, both cut at the same points.
void AddArcPairPieces(const TChainElement& a, const TArcSpan& aSpan, const TChainElement& b, const TArcSpan& bSpan,
                      const TMeetingPoints& points, TChain& pieces, bool& aSplit, bool& bSplit)
{
    AddArcPieces(a, aSpan, points, pieces, aSplit);
    const std::size_t aCount = pieces.size();
    AddArcPieces(b, bSpan, points, pieces, bSplit);
    DropIfNothingChanges(a, b, aCount, pieces, aSplit, bSplit);
}

// A segment that merely ends on the arc does not cross it.
bool CrossesArcBetweenEnds(const TChainElement& segment, const TChainElement& arc)
{
    const TArcSpan span = ArcSpanOf(arc);
    const TMeetingPoints points = LineArcPoints(segment, ElementBox(segment), arc, span, SpanBox(arc, span));
    for (int k = 0; k < points.Count; ++k) {
        if (!EqualPoints(points.Points[k], StartPoint(segment)) && !EqualPoints(points.Points[k], EndPoint(segment)))
            return true;
    }
    return false;
}

} // namespace

namespace {

bool SplitLineLineWith(const TChainElement& first, const TElementBox& firstBox, const TChainElement& second,
                       const TElementBox& secondBox, TChain& pieces, int& endMask, bool& firstSplit,
                       bool& secondSplit)
{
    pieces.clear();
    endMask = 0;
    firstSplit = false;
    secondSplit = false;
    TVect crossing;
    if (!LineLineCrossing(first, firstBox, second, secondBox, crossing))
        return false;
    const std::array<std::pair<TVect, TVect>, 4> parts{{{StartPoint(first), crossing},
                                                        {crossing, EndPoint(first)},
                                                        {StartPoint(second), crossing},
                                                        {crossing, EndPoint(second)}}};
    std::size_t firstCount = 0;
    for (int k = 0; k < 4; ++k) {
        if (!AddLinePiece(parts[k].first, parts[k].second, pieces)) {
            endMask |= 1 << k;
        } else if (k < 2) {
            firstSplit = true;
            ++firstCount;
        } else {
            secondSplit = true;
        }
    }
    DropIfNothingChanges(first, second, firstCount, pieces, firstSplit, secondSplit);
    return true;
}

bool SplitLineArcWith(const TChainElement& line, const TElementBox& lineBox, const TChainElement& arc,
                      const TArcSpan& span, const TElementBox& arcBox, TChain& pieces, bool& lineSplit,
                      bool& arcSplit)
{
    pieces.clear();
    lineSplit = false;
    arcSplit = false;
    const TMeetingPoints points = LineArcPoints(line, lineBox, arc, span, arcBox);
    if (points.Count == 0)
        return false;
    AddLinePieces(line, points, pieces, lineSplit);
    const std::size_t lineCount = pieces.size();
    AddArcPieces(arc, span, points, pieces, arcSplit);
    DropIfNothingChanges(line, arc, lineCount, pieces, lineSplit, arcSplit);
    return true;
}

bool SplitArcArcWith(const TChainElement& first, const TArcSpan& one, const TElementBox& firstBox,
                     const TChainElement& second, const TArcSpan& two, const TElementBox& secondBox, TChain& pieces,
                     bool& secondSplit, bool& firstSplit)
{
    pieces.clear();
    secondSplit = false;
    firstSplit = false;
    const TMeetingPoints points = ArcArcPoints(first, one, firstBox, second, two, secondBox);
    if (points.Count == 0)
        return false;
    if (points.Count == 1)
        AddArcPairPieces(second, two, first, one, points, pieces, secondSplit, firstSplit);
    else
        AddArcPairPieces(first, one, second, two, points, pieces, firstSplit, secondSplit);
    return true;
}

// The tight box of the element, from the span an arc already has.
TElementBox TightBox(const TChainElement& e, const TArcSpan& span)
{
    return IsStraight(e) ? ElementBox(e) : SpanBox(e, span);
}

} // namespace

bool SplitLineLine(const TChainElement& first, const TChainElement& second, TChain& pieces, int& endMask,
                   bool& firstSplit, bool& secondSplit)
{
    return SplitLineLineWith(first, ElementBox(first), second, ElementBox(second), pieces, endMask, firstSplit,
                             secondSplit);
}

bool SplitLineArc(const TChainElement& a, const TChainElement& b, TChain& pieces, bool& lineSplit, bool& arcSplit)
{
    const TChainElement& arc = IsStraight(a) ? b : a;
    const TChainElement& line = IsStraight(a) ? a : b;
    const TArcSpan span = ArcSpanOf(arc);
    return SplitLineArcWith(line, ElementBox(line), arc, span, SpanBox(arc, span), pieces, lineSplit, arcSplit);
}

bool SplitArcArc(const TChainElement& first, const TChainElement& second, TChain& pieces, bool& secondSplit,
                 bool& firstSplit)
{
    const TArcSpan one = ArcSpanOf(first);
    const TArcSpan two = ArcSpanOf(second);
    return SplitArcArcWith(first, one, SpanBox(first, one), second, two, SpanBox(second, two), pieces, secondSplit,
                           firstSplit);
}

bool SplitElements(const TChainElement& a, const TChainElement& b, TChain& pieces, bool& aSplit, bool& bSplit)
{
    const TArcSpan aSpan = IsStraight(a) ? TArcSpan{} : ArcSpanOf(a);
    const TArcSpan bSpan = IsStraight(b) ? TArcSpan{} : ArcSpanOf(b);
    return SplitElements(a, aSpan, b, bSpan, pieces, aSplit, bSplit);
}

bool SplitElements(const TChainElement& a, const TArcSpan& aSpan, const TChainElement& b, const TArcSpan& bSpan,
                   TChain& pieces, bool& aSplit, bool& bSplit)
{
    return SplitElements(a, aSpan, TightBox(a, aSpan), b, bSpan, TightBox(b, bSpan), pieces, aSplit, bSplit);
}

bool SplitElements(const TChainElement& a, const TArcSpan& aSpan, const TElementBox& aBox, const TChainElement& b,
                   const TArcSpan& bSpan, const TElementBox& bBox, TChain& pieces, bool& aSplit, bool& bSplit)
{
    // Asked once: the cutters write through references the compiler cannot
    // tell from the elements.
    const bool aStraight = IsStraight(a);
    const bool bStraight = IsStraight(b);
    if (aStraight && bStraight) {
        int endMask = 0;
        SplitLineLineWith(a, aBox, b, bBox, pieces, endMask, aSplit, bSplit);
    } else if (!aStraight && !bStraight) {
        SplitArcArcWith(a, aSpan, aBox, b, bSpan, bBox, pieces, bSplit, aSplit);
    } else {
        const TChainElement& line = aStraight ? a : b;
        const TChainElement& arc = aStraight ? b : a;
        const bool atLineStart = SameEnd(StartPoint(line), arc);
        if ((atLineStart || SameEnd(EndPoint(line), arc)) &&
            MeetOnlyAtSharedEnd(line, atLineStart, aStraight ? aBox : bBox, arc, aStraight ? bSpan : aSpan,
                                aStraight ? bBox : aBox)) {
            pieces.clear();
            aSplit = false;
            bSplit = false;
            return false;
        }
        bool lineSplit = false;
        bool arcSplit = false;
        if (aStraight)
            SplitLineArcWith(a, aBox, b, bSpan, bBox, pieces, lineSplit, arcSplit);
        else
            SplitLineArcWith(b, bBox, a, aSpan, aBox, pieces, lineSplit, arcSplit);
        aSplit = aStraight ? lineSplit : arcSplit;
        bSplit = aStraight ? arcSplit : lineSplit;
    }
    return !pieces.empty();
}

namespace {

bool CrossesElement(const TChainElement& segment, const TChainElement& e)
{
    TVect crossing;
    if (!IsStraight(e))
        return CrossesArcBetweenEnds(segment, e);
    return SegmentIntersection(StartPoint(segment), EndPoint(segment), StartPoint(e), EndPoint(e), crossing);
}

// A crossing lies within CROSSING_BOX_MARGIN of both elements' boxes, so
// boxes grown by it that are apart leave nothing to find. A box that is not
// a number is never apart.
TElementBox CrossingBox(const TChainElement& e)
{
    return InflateBox(ElementBox(e), CROSSING_BOX_MARGIN);
}

bool BoxesApart(const TElementBox& a, const TElementBox& b)
{
    return a.MaxX < b.MinX || b.MaxX < a.MinX || a.MaxY < b.MinY || b.MaxY < a.MinY;
}

} // namespace

bool SegmentCrossesElements(const TChainElement& segment, const TChain& elements)
{
    if (elements.size() < 2)
        return false;
    return std::any_of(elements.begin(), elements.end(),
                       [&](const TChainElement& e) { return CrossesElement(segment, e); });
}

namespace {

// Boxes each element and hands the tree the finite boxes.
std::vector<TElementBox> CrossingBoxes(const TChain& elements, std::vector<TElementBox>& boxes,
                                       std::vector<int>& inTree, std::vector<int>& loose)
{
    // Reserved whole: the lengths are known.
    std::vector<TElementBox> finite;
    finite.reserve(elements.size());
    inTree.reserve(elements.size());
    boxes.reserve(elements.size());
    for (std::size_t k = 0; k < elements.size(); ++k) {
        const TElementBox box = CrossingBox(elements[k]);
        boxes.push_back(box);
        const int index = static_cast<int>(k);
        if (std::isfinite(box.MinX) && std::isfinite(box.MinY) && std::isfinite(box.MaxX) &&
            std::isfinite(box.MaxY)) {
            finite.push_back(box);
            inTree.push_back(index);
        } else {
            loose.push_back(index);
        }
    }
    return finite;
}

} // namespace

TSegmentCrossing::TSegmentCrossing(const TChain& elements)
    : Elements(elements), Tree(CrossingBoxes(elements, Boxes, InTree, Loose))
{
}

bool TSegmentCrossing::Crosses(const TChainElement& segment) const
{
    if (Elements.size() < 2)
        return false;
    const TElementBox box = CrossingBox(segment);
    const auto crosses = [&](int k) { return CrossesElement(segment, Elements[static_cast<std::size_t>(k)]); };
    // A node's box holds its elements' boxes, so one that is apart from the
    // segment's holds none that is not.
    if (Tree.AnyWhere([&](const TElementBox& b) { return !BoxesApart(box, b); },
                      [&](int at) { return crosses(InTree[static_cast<std::size_t>(at)]); }))
        return true;
    return std::any_of(Loose.begin(), Loose.end(), [&](int k) {
        return !BoxesApart(box, Boxes[static_cast<std::size_t>(k)]) && crosses(k);
    });
}
