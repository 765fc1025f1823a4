#include "cam/ElementSplit.h"

#include <array>
#include <cmath>
#include <utility>

#include "cad/base/Settings.h"
#include "cad/geometry/VectorHelpers.h"
#include "cam/ElementBoxTree.h"

namespace {

struct TMeetingPoints {
    std::array<TVect, 2> Points{};
    int Count = 0;

    void Add(TVect p) { Points[Count++] = p; }
    // Two equal points are one touching point.
    void MergeEqual()
    {
        if (Count == 2 && EqualPoints(Points[0], Points[1]))
            Count = 1;
    }
};

bool SameSign(double a, double b)
{
    return (a > 0.0 && b > 0.0) || (a < 0.0 && b < 0.0);
}

bool SharesEndPoint(const TChainElement& a, const TChainElement& b)
{
    return EqualPoints(StartPoint(a), StartPoint(b)) || EqualPoints(StartPoint(a), EndPoint(b)) ||
           EqualPoints(EndPoint(a), StartPoint(b)) || EqualPoints(EndPoint(a), EndPoint(b));
}

// Nearly parallel or nearly concentric input can produce a point far away
// from both elements; such a point is no meeting point.
bool NearBoth(TVect p, const TChainElement& a, const TChainElement& b)
{
    return BoxContainsPoint(InflateBox(ElementBox(a), CROSSING_BOX_MARGIN), p) &&
           BoxContainsPoint(InflateBox(ElementBox(b), CROSSING_BOX_MARGIN), p);
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

bool LineLineCrossing(const TChainElement& f, const TChainElement& s, TVect& crossing)
{
    if (SharesEndPoint(f, s))
        return false;
    const TLineEquation one = LineThrough(f);
    if (EndsOnOneSide(one, s))
        return false;
    const TLineEquation two = LineThrough(s);
    if (EndsOnOneSide(two, f))
        return false;
    const double denominator = one.A * two.B - two.A * one.B;
    if (denominator == 0.0)
        return false;
    crossing = {(one.B * two.C - two.B * one.C) / denominator, (two.A * one.C - one.A * two.C) / denominator};
    return NearBoth(crossing, f, s);
}

// Meeting points of a segment with an arc, worked out with the arc's centre
// at the origin and the segment turned horizontal.
TMeetingPoints LineArcPoints(const TChainElement& line, const TChainElement& arc, const TArcSpan& span)
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
    TMeetingPoints candidates;
    if (EqualReals(std::abs(y), r)) {
        candidates.Add({0.0, y});
    } else if (std::abs(y) < r) {
        const double half = std::sqrt(r * r - y * y);
        candidates.Add({half, y});
        candidates.Add({-half, y});
    }
    for (int k = 0; k < candidates.Count; ++k) {
        const TVect q = candidates.Points[k];
        const TVect p = fromFrame(q);
        const bool withinLine = s.X < q.X && q.X < e.X && !EqualPoints(p, start) && !EqualPoints(p, end);
        if (withinLine && ArcSpanContains(span, p) && NearBoth(p, line, arc))
            result.Add(p);
    }
    result.MergeEqual();
    return result;
}

TMeetingPoints ArcArcPoints(const TChainElement& first, const TArcSpan& one, const TChainElement& second,
                            const TArcSpan& two)
{
    TMeetingPoints result;
    const double r1 = one.Radius;
    const double r2 = two.Radius;
    const TVect v = SubVect(two.Centre, one.Centre);
    const double distance = std::hypot(v.X, v.Y);
    // Coincident and concentric circles have no meeting point to cut at.
    if (distance == 0.0 || (distance <= REAL_EPSILON && std::abs(r1 - r2) <= REAL_EPSILON))
        return result;
    if (distance > r1 + r2 + REAL_EPSILON || distance < std::abs(r1 - r2) - REAL_EPSILON)
        return result;
    const TVect u{v.X / distance, v.Y / distance};
    // Touching is judged on distances, and the touching point put on the
    // first circle: judged on squared distances, nearly equal and nearly
    // concentric circles give a point far outside both.
    TMeetingPoints candidates;
    if (std::abs(distance - (r1 + r2)) <= REAL_EPSILON) {
        candidates.Add(AddVect(one.Centre, ScaleVect(u, r1)));
    } else if (std::abs(distance - std::abs(r1 - r2)) <= REAL_EPSILON) {
        candidates.Add(AddVect(one.Centre, ScaleVect(u, r1 >= r2 ? r1 : -r1)));
    } else {
        const double t = (distance + (r1 * r1 - r2 * r2) / distance) / 2.0;
        const double h = std::sqrt(std::max(0.0, r1 * r1 - t * t));
        const TVect base = AddVect(one.Centre, ScaleVect(u, t));
        const TVect normal{-u.Y, u.X};
        candidates.Add(AddVect(base, ScaleVect(normal, h)));
        candidates.Add(SubVect(base, ScaleVect(normal, h)));
    }
    for (int k = 0; k < candidates.Count; ++k) {
        const TVect p = candidates.Points[k];
        const bool atAnEnd = EqualPoints(p, StartPoint(first)) || EqualPoints(p, EndPoint(first)) ||
                             EqualPoints(p, StartPoint(second)) || EqualPoints(p, EndPoint(second));
        if (!atAnEnd && ArcSpanContains(one, p) && ArcSpanContains(two, p) && NearBoth(p, first, second))
            result.Add(p);
    }
    result.MergeEqual();
    return result;
}

bool AddLinePiece(TVect from, TVect to, TChain& pieces)
{
    if (!(PointDistance(from, to) > SystemTol))
        return false;
    pieces.push_back(MakeElement(from, to));
    return true;
}

void AddLinePieces(const TChainElement& line, TMeetingPoints points, TChain& pieces, bool& split)
{
    const TVect start = StartPoint(line);
    if (points.Count == 2 && PointDistance(start, points.Points[1]) < PointDistance(start, points.Points[0]))
        std::swap(points.Points[0], points.Points[1]);
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
void AddArcPieces(const TChainElement& arc, const TArcSpan& span, TMeetingPoints points, TChain& pieces, bool& split)
{
    std::array<double, 2> travel{};
    for (int k = 0; k < points.Count; ++k)
        travel[k] = std::min(ArcTravelTo(span, points.Points[k]), span.Sweep);
    if (points.Count == 2 && travel[1] < travel[0]) {
        std::swap(points.Points[0], points.Points[1]);
        std::swap(travel[0], travel[1]);
    }
    const double sign = arc.Bulge > 0.0 ? 1.0 : -1.0;
    const auto addPiece = [&](TVect from, TVect to, double sweep) {
        if (sweep > SystemTol) {
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

} // namespace

bool SplitLineLine(const TChainElement& first, const TChainElement& second, TChain& pieces, int& endMask,
                   bool& firstSplit, bool& secondSplit)
{
    pieces.clear();
    endMask = 0;
    firstSplit = false;
    secondSplit = false;
    TVect crossing;
    if (!LineLineCrossing(first, second, crossing))
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

bool SplitLineArc(const TChainElement& a, const TChainElement& b, TChain& pieces, bool& lineSplit, bool& arcSplit)
{
    pieces.clear();
    lineSplit = false;
    arcSplit = false;
    const bool aIsLine = IsStraight(a);
    const TChainElement& line = aIsLine ? a : b;
    const TChainElement& arc = aIsLine ? b : a;
    const TArcSpan span = ArcSpanOf(arc);
    const TMeetingPoints points = LineArcPoints(line, arc, span);
    if (points.Count == 0)
        return false;
    AddLinePieces(line, points, pieces, lineSplit);
    const std::size_t lineCount = pieces.size();
    AddArcPieces(arc, span, points, pieces, arcSplit);
    DropIfNothingChanges(line, arc, lineCount, pieces, lineSplit, arcSplit);
    return true;
}

bool SplitArcArc(const TChainElement& first, const TChainElement& second, TChain& pieces, bool& secondSplit,
                 bool& firstSplit)
{
    pieces.clear();
    secondSplit = false;
    firstSplit = false;
    const TArcSpan one = ArcSpanOf(first);
    const TArcSpan two = ArcSpanOf(second);
    const TMeetingPoints points = ArcArcPoints(first, one, second, two);
    if (points.Count == 0)
        return false;
    if (points.Count == 1)
        AddArcPairPieces(second, two, first, one, points, pieces, secondSplit, firstSplit);
    else
        AddArcPairPieces(first, one, second, two, points, pieces, firstSplit, secondSplit);
    return true;
}

bool SplitElements(const TChainElement& a, const TChainElement& b, TChain& pieces, bool& aSplit, bool& bSplit)
{
    if (IsStraight(a) && IsStraight(b)) {
        int endMask = 0;
        SplitLineLine(a, b, pieces, endMask, aSplit, bSplit);
    } else if (!IsStraight(a) && !IsStraight(b)) {
        SplitArcArc(a, b, pieces, bSplit, aSplit);
    } else {
        bool lineSplit = false;
        bool arcSplit = false;
        SplitLineArc(a, b, pieces, lineSplit, arcSplit);
        aSplit = IsStraight(a) ? lineSplit : arcSplit;
        bSplit = IsStraight(a) ? arcSplit : lineSplit;
    }
    return !pieces.empty();
}

bool SegmentCrossesElements(const TChainElement& segment, const TChain& elements)
{
    if (elements.size() < 2)
        return false;
    const TVect a = StartPoint(segment);
    const TVect b = EndPoint(segment);
    for (const TChainElement& e : elements) {
        TVect crossing;
        if (IsStraight(e) ? SegmentIntersection(a, b, StartPoint(e), EndPoint(e), crossing)
                          : LineArcPoints(segment, e, ArcSpanOf(e)).Count > 0)
            return true;
    }
    return false;
}
