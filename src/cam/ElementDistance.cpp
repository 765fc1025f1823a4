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
    const auto gouges = [&](TVect p) {
        return tree.AnyWithin(p, reach, [&](int k) {
            return DistanceToElement(p, source[static_cast<std::size_t>(k)]) < limit;
        });
    };
    std::erase_if(elements,
                  [&](const TChainElement& e) { return gouges(StartPoint(e)) || gouges(EndPoint(e)); });
}
