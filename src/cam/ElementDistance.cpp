#include "cam/ElementDistance.h"

#include <algorithm>
#include <cmath>

#include "cad/geometry/VectorHelpers.h"
#include "cam/ElementBoxTree.h"

namespace {

// Room beyond the limit searched around a point, so that rounding cannot hide an
// element that is just within the limit.
constexpr double SEARCH_ROOM = 0.0001;

double DistanceToSegment(TVect point, TVect a, TVect b)
{
    const TVect ab = SubVect(b, a);
    const double squared = DotProduct(ab, ab);
    if (squared == 0.0)
        return PointDistance(point, a);
    const double t = std::clamp(DotProduct(SubVect(point, a), ab) / squared, 0.0, 1.0);
    return PointDistance(point, AddVect(a, ScaleVect(ab, t)));
}

double DistanceToEnds(TVect point, const TChainElement& e)
{
    return std::min(PointDistance(point, StartPoint(e)), PointDistance(point, EndPoint(e)));
}

// Whether two segments share a point (touching counts).
bool SegmentsMeet(TVect a1, TVect a2, TVect b1, TVect b2)
{
    const auto side = [](TVect p, TVect q, TVect r) { return CrossProduct(SubVect(q, p), SubVect(r, p)); };
    const double s1 = side(a1, a2, b1);
    const double s2 = side(a1, a2, b2);
    const double s3 = side(b1, b2, a1);
    const double s4 = side(b1, b2, a2);
    return ((s1 <= 0.0 && s2 >= 0.0) || (s1 >= 0.0 && s2 <= 0.0)) &&
           ((s3 <= 0.0 && s4 >= 0.0) || (s3 >= 0.0 && s4 <= 0.0)) && !(s1 == 0.0 && s2 == 0.0);
}

// Whether the segment meets the arc: a point of the line through it on the
// circle, within the segment and within the sweep.
bool SegmentMeetsArc(TVect a, TVect b, const TArcSpan& span)
{
    const TVect ab = SubVect(b, a);
    const double squared = DotProduct(ab, ab);
    if (squared == 0.0)
        return false;
    const double t = DotProduct(SubVect(span.Centre, a), ab) / squared;
    const TVect foot = AddVect(a, ScaleVect(ab, t));
    const double footSquared = DotProduct(SubVect(foot, span.Centre), SubVect(foot, span.Centre));
    const double reachSquared = span.Radius * span.Radius - footSquared;
    if (reachSquared < 0.0)
        return false;
    const double reach = std::sqrt(reachSquared / squared);
    for (const double u : {t - reach, t + reach}) {
        if (u >= 0.0 && u <= 1.0 && ArcSpanContains(span, AddVect(a, ScaleVect(ab, u))))
            return true;
    }
    return false;
}

bool ArcsMeet(const TArcSpan& one, const TArcSpan& two)
{
    const TVect v = SubVect(two.Centre, one.Centre);
    const double distance = std::hypot(v.X, v.Y);
    if (distance == 0.0 || distance > one.Radius + two.Radius || distance < std::abs(one.Radius - two.Radius))
        return false;
    const TVect u{v.X / distance, v.Y / distance};
    const double t = (distance + (one.Radius * one.Radius - two.Radius * two.Radius) / distance) / 2.0;
    const double h = std::sqrt(std::max(0.0, one.Radius * one.Radius - t * t));
    const TVect base = AddVect(one.Centre, ScaleVect(u, t));
    const TVect normal{-u.Y, u.X};
    for (const TVect p : {AddVect(base, ScaleVect(normal, h)), SubVect(base, ScaleVect(normal, h))}) {
        if (ArcSpanContains(one, p) && ArcSpanContains(two, p))
            return true;
    }
    return false;
}

double SegmentToArc(const TChainElement& segment, const TChainElement& arc)
{
    const TVect a = StartPoint(segment);
    const TVect b = EndPoint(segment);
    const TArcSpan span = ArcSpanOf(arc);
    if (SegmentMeetsArc(a, b, span))
        return 0.0;
    double nearest = std::min({DistanceToElement(a, arc), DistanceToElement(b, arc),
                               DistanceToSegment(StartPoint(arc), a, b), DistanceToSegment(EndPoint(arc), a, b)});
    // Between the ends the only other nearest pair runs through the centre,
    // from the foot of the centre on the segment.
    const TVect ab = SubVect(b, a);
    const double squared = DotProduct(ab, ab);
    if (squared > 0.0) {
        const double t = DotProduct(SubVect(span.Centre, a), ab) / squared;
        if (t > 0.0 && t < 1.0)
            nearest = std::min(nearest, DistanceToElement(AddVect(a, ScaleVect(ab, t)), arc));
    }
    return nearest;
}

double ArcToArc(const TChainElement& first, const TChainElement& second)
{
    const TArcSpan one = ArcSpanOf(first);
    const TArcSpan two = ArcSpanOf(second);
    if (ArcsMeet(one, two))
        return 0.0;
    double nearest = std::min({DistanceToElement(StartPoint(first), second), DistanceToElement(EndPoint(first), second),
                               DistanceToElement(StartPoint(second), first), DistanceToElement(EndPoint(second), first)});
    // Between the ends a nearest pair lies on the line through both centres.
    const TVect v = SubVect(two.Centre, one.Centre);
    const double distance = std::hypot(v.X, v.Y);
    if (distance > 0.0) {
        const TVect u{v.X / distance, v.Y / distance};
        for (const double side : {1.0, -1.0}) {
            const TVect p = AddVect(one.Centre, ScaleVect(u, side * one.Radius));
            if (ArcSpanContains(one, p))
                nearest = std::min(nearest, DistanceToElement(p, second));
        }
    }
    return nearest;
}

} // namespace

double DistanceToElement(TVect point, const TChainElement& e)
{
    if (IsStraight(e))
        return DistanceToSegment(point, StartPoint(e), EndPoint(e));
    const TArcSpan span = ArcSpanOf(e);
    const double fromCentre = PointDistance(point, span.Centre);
    // From the centre every point of the arc is equally far.
    if (fromCentre == 0.0)
        return span.Radius;
    if (ArcSpanContains(span, point))
        return std::abs(fromCentre - span.Radius);
    return DistanceToEnds(point, e);
}

double DistanceBetweenElements(const TChainElement& a, const TChainElement& b)
{
    const bool aStraight = IsStraight(a);
    const bool bStraight = IsStraight(b);
    if (aStraight && bStraight) {
        if (SegmentsMeet(StartPoint(a), EndPoint(a), StartPoint(b), EndPoint(b)))
            return 0.0;
        return std::min({DistanceToElement(StartPoint(a), b), DistanceToElement(EndPoint(a), b),
                         DistanceToElement(StartPoint(b), a), DistanceToElement(EndPoint(b), a)});
    }
    if (aStraight)
        return SegmentToArc(a, b);
    if (bStraight)
        return SegmentToArc(b, a);
    return ArcToArc(a, b);
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
        const double distance = IsStraight(e) ? DistanceToElement(point, e) : DistanceToEnds(point, e);
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
    boxes.reserve(source.size());
    for (const TChainElement& e : source)
        boxes.push_back(ElementBox(e));
    const TElementBoxTree tree(std::move(boxes));
    const double reach = limit + SEARCH_ROOM;
    std::erase_if(elements, [&](const TChainElement& e) {
        return tree.AnyOverlapping(InflateBox(ElementBox(e), reach), [&](int k) {
            return DistanceBetweenElements(e, source[static_cast<std::size_t>(k)]) < limit;
        });
    });
}
