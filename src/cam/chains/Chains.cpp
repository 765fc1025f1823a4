#include "cam/chains/Chains.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "cad/base/Settings.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/VectorHelpers.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Block2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Container2D.h"
#include "cad/shapes/Curve2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"
#include "cam/chains/EntityToElements.h"

TChainList ChainList;
TMachiningType MachiningType = TMachiningType::Contour;

namespace {

constexpr double PI = std::numbers::pi;
constexpr double FULL_TURN = 2.0 * PI;

// The direction of travel at the element's end.
double EndDirection(const TChainElement& e)
{
    if (IsStraight(e))
        return std::atan2(e.Y2 - e.Y1, e.X2 - e.X1);
    TVect centre;
    double radius = 0.0;
    BulgeArcCentre(e, centre, radius);
    const double radial = std::atan2(e.Y2 - centre.Y, e.X2 - centre.X);
    return e.Bulge > 0.0 ? radial + PI / 2.0 : radial - PI / 2.0;
}

void ReverseElement(TChainElement& e)
{
    std::swap(e.X1, e.X2);
    std::swap(e.Y1, e.Y2);
    if (!IsStraight(e))
        e.Bulge = -e.Bulge;
    e.Reserved = 0;
}

bool Within(TVect a, TVect b, double tolerance)
{
    return std::abs(a.X - b.X) <= tolerance && std::abs(a.Y - b.Y) <= tolerance;
}

// The candidate's turn relative to the end of `current`, in [0, 2pi): pi
// runs straight on, larger values turn left, 0 runs straight back.
// The end direction is current's (EndDirection), worked out once for all
// the candidates.
double ContinuationTurn(double endDirection, const TChainElement& candidate)
{
    const TVect tangent = StartTangent(candidate);
    double turn = std::atan2(tangent.Y, tangent.X) + PI - endDirection;
    turn = std::fmod(turn, FULL_TURN);
    if (turn < 0.0)
        turn += FULL_TURN;
    return turn;
}

// Two continuations whose directions differ by no more than this, in
// radians, leave along one tangent as far as the pieces can tell: pieces a
// hair off tangent, as points rounded to 3 decimals make them, differ by
// that much.
constexpr double TANGENT_TIE = 1e-4;

// Positive for an arc bending left (counter-clockwise), 0 for a segment.
double Curvature(const TChainElement& e)
{
    if (IsStraight(e))
        return 0.0;
    const double chord = std::hypot(e.X2 - e.X1, e.Y2 - e.Y1);
    return chord > 0.0 ? 2.0 * std::sin(2.0 * std::atan(e.Bulge)) / chord : 0.0;
}

bool RunsStraightBack(double turn)
{
    // Beyond 0.02 from straight back the cosine is short of 1 by four times
    // the tolerance: it need not be worked out.
    if (turn > 0.02 && turn < FULL_TURN - 0.02)
        return false;
    return std::abs(std::cos(turn) - 1.0) <= 0.00005;
}

// Whether the candidate runs from current's end back to its start within
// SystemTol of it. A short arc does so though it leaves a little off
// current's tangent, at a turn RunsStraightBack would not take for one.
bool Retraces(const TChainElement& current, const TChainElement& candidate)
{
    if (!EqualPoints(EndPoint(candidate), StartPoint(current)))
        return false;
    const double chord = std::hypot(current.X2 - current.X1, current.Y2 - current.Y1);
    return std::abs(current.Bulge + candidate.Bulge) * chord / 2.0 <= SystemTol;
}

// Index of the candidate turning furthest left (largest turn), the first of equals.
std::size_t LeftMost(const TChainElement& current, const TChain& pool, const std::vector<std::size_t>& candidates)
{
    std::size_t best = candidates.front();
    double bestTurn = -1.0;
    const double endDirection = EndDirection(current);
    for (const std::size_t k : candidates) {
        const double turn = ContinuationTurn(endDirection, pool[k]);
        if (turn > bestTurn) {
            bestTurn = turn;
            best = k;
        }
    }
    return best;
}

void RemoveFirstEqual(TChain& pool, const TChainElement& e)
{
    const auto it = std::find_if(pool.begin(), pool.end(), [&](const TChainElement& p) { return EqualElements(p, e); });
    if (it != pool.end())
        pool.erase(it);
}

} // namespace

bool ObjectToElements(const TObject2D& object, TChain& list)
{
    if (const auto* line = dynamic_cast<const TLine2D*>(&object))
        LineToElements(*line, list);
    else if (const auto* frame = dynamic_cast<const TFrame2D*>(&object))
        FrameToElements(*frame, list);
    else if (const auto* arc = dynamic_cast<const TArco2D*>(&object))
        ArcToElements(*arc, list);
    else if (const auto* circle = dynamic_cast<const TCerchio2D*>(&object))
        CircleToElements(*circle, list);
    else if (const auto* polyline = dynamic_cast<const TPolyline2D*>(&object))
        PolylineToElements(*polyline, list);
    else if (const auto* curve = dynamic_cast<const TCurve2D*>(&object))
        CurveToElements(*curve, list);
    else
        return false;
    return true;
}

TChain ChainablePool(TCADCmp2D& drawing)
{
    TChain pool;
    std::unique_ptr<TGraphicObjIterator> iterator = drawing.ObjectsIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        const auto* object2D = dynamic_cast<const TObject2D*>(object);
        if (!object2D || !object2D->Visible || !drawing.Layers().GetLayer(object2D->Layer).Visible)
            continue;
        if (dynamic_cast<const TPunto2D*>(object2D) || dynamic_cast<const TBitmap2D*>(object2D) ||
            dynamic_cast<const TContainer2D*>(object2D) || dynamic_cast<const TBlock2D*>(object2D))
            continue;
        ObjectToElements(*object2D, pool);
    }
    return pool;
}

bool FindNextChainElement(const TChainElement& current, TChain& pool, TChainElement& next)
{
    const TVect end = EndPoint(current);
    std::vector<std::size_t> candidates;
    for (std::size_t k = 0; k < pool.size(); ++k) {
        if (Within(StartPoint(pool[k]), end, ChainTol)) {
            pool[k].X1 = end.X;
            pool[k].Y1 = end.Y;
            candidates.push_back(k);
        }
    }
    if (candidates.empty()) {
        for (std::size_t k = 0; k < pool.size(); ++k) {
            if (Within(EndPoint(pool[k]), end, ChainTol)) {
                pool[k].X2 = end.X;
                pool[k].Y2 = end.Y;
                ReverseElement(pool[k]);
                candidates.push_back(k);
            }
        }
    }
    if (candidates.empty())
        return false;
    next = pool[LeftMost(current, pool, candidates)];
    return true;
}

void ChainFromElement(const TChainElement& start, TChain pool, TChain& chain)
{
    chain.clear();
    chain.push_back(start);
    RemoveFirstEqual(pool, start);
    bool first = true;
    while (!pool.empty()) {
        TChainElement next;
        if (!FindNextChainElement(chain.back(), pool, next)) {
            if (!first)
                break;
            // The forward end is free: grow from the other end instead.
            ReverseElement(chain.front());
            first = false;
            continue;
        }
        first = false;
        chain.push_back(next);
        RemoveFirstEqual(pool, next);
    }
}

TChain PickChain(const TObject2D& picked, TCADCmp2D& drawing, bool& chainable)
{
    TChain own;
    chainable = ObjectToElements(picked, own);
    TChain chain;
    // An object too small to give an element gives no chain.
    if (own.empty())
        return chain;
    ChainFromElement(own.front(), ChainablePool(drawing), chain);
    if (ChainSignedArea(chain) < 0.0)
        ReverseChain(chain);
    return chain;
}

void ChooseContinuation(const TChainElement& current, std::span<const TChainElement* const> candidates, double d,
                        std::size_t& taken, std::size_t& kept)
{
    taken = 0;
    kept = candidates.size();
    if (candidates.size() < 2)
        return;
    double best = d > 0.0 ? -1.0 : std::numeric_limits<double>::max();
    // Worked out only once a tie asks for it.
    double bestCurvature = 0.0;
    bool bestCurvatureKnown = false;
    bool found = false;
    const double endDirection = EndDirection(current);
    for (std::size_t k = 0; k < candidates.size(); ++k) {
        const double turn = ContinuationTurn(endDirection, *candidates[k]);
        // A piece running straight back turns by a whole turn or by none
        // as rounding falls, most to the left or most to the right by
        // chance; taken, it closes a loop around no area. So does one
        // retracing current. It is taken only when nothing else continues.
        if (RunsStraightBack(turn) || Retraces(current, *candidates[k])) {
            if (kept == candidates.size())
                kept = k;
            continue;
        }
        // Pieces that leave along the same tangent, as an offset line and
        // an offset arc a hair off tangent to it, are told apart by which
        // bends further to that side.
        if (found && std::abs(turn - best) <= TANGENT_TIE) {
            if (!bestCurvatureKnown)
                bestCurvature = Curvature(*candidates[taken]);
            bestCurvatureKnown = true;
            const double curvature = Curvature(*candidates[k]);
            if (d > 0.0 ? curvature > bestCurvature : curvature < bestCurvature) {
                best = turn;
                bestCurvature = curvature;
                taken = k;
            }
        } else if (d > 0.0 ? turn > best : turn < best) {
            best = turn;
            bestCurvatureKnown = false;
            taken = k;
            found = true;
        }
    }
    if (!found)
        taken = kept;
    if (kept == taken)
        kept = candidates.size();
}

bool NextElementAtPoint(const TChainElement& current, TChain& list, bool remove, TChainElement& next, double d)
{
    const TVect end = EndPoint(current);
    std::vector<std::size_t> positions;
    std::vector<const TChainElement*> candidates;
    for (std::size_t k = 0; k < list.size(); ++k) {
        if (EqualPoints(StartPoint(list[k]), end)) {
            positions.push_back(k);
            candidates.push_back(&list[k]);
        }
    }
    if (candidates.empty())
        return false;
    std::size_t taken = 0;
    std::size_t kept = 0;
    ChooseContinuation(current, candidates, d, taken, kept);
    next = *candidates[taken];
    if (remove) {
        // Last to first, so that the positions stay valid.
        for (std::size_t k = positions.size(); k-- > 0;) {
            if (k != kept)
                list.erase(list.begin() + static_cast<std::ptrdiff_t>(positions[k]));
        }
    }
    return true;
}

bool IsChainClosed(const TChain& chain)
{
    return !chain.empty() && PointDistance(StartPoint(chain.front()), EndPoint(chain.back())) <= 0.00005;
}

bool PointInChain(const TChain& chain, TVect point)
{
    TPointList points;
    points.reserve(chain.size());
    for (const TChainElement& e : chain) {
        if (IsStraight(e))
            points.push_back(StartPoint(e));
        else
            TessellateBulgeArc(e, points);
    }
    bool inside = false;
    const std::size_t n = points.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const TVect& pi = points[i];
        const TVect& pj = points[j];
        if (((pi.Y <= point.Y && point.Y < pj.Y) || (pj.Y <= point.Y && point.Y < pi.Y)) &&
            pi.X + (pj.X - pi.X) * (point.Y - pi.Y) / (pj.Y - pi.Y) > point.X)
            inside = !inside;
    }
    return inside;
}

void RotateChainStart(TChain& chain, int n)
{
    if (chain.empty() || n == 0)
        return;
    const auto size = static_cast<long long>(chain.size());
    const long long shift = ((static_cast<long long>(n) % size) + size) % size;
    std::rotate(chain.begin(), chain.begin() + static_cast<std::ptrdiff_t>(shift), chain.end());
}

bool DrillPointOf(const TObject2D& object, TVect& point)
{
    if (const auto* punto = dynamic_cast<const TPunto2D*>(&object)) {
        if (punto->PointCount() < 1)
            return false;
        point = PointPosition(*punto);
        return true;
    }
    TChain elements;
    if (const auto* circle = dynamic_cast<const TCerchio2D*>(&object))
        CircleToElements(*circle, elements);
    else if (const auto* arc = dynamic_cast<const TArco2D*>(&object))
        ArcToElements(*arc, elements);
    if (elements.empty() || IsStraight(elements.front()))
        return false;
    double radius = 0.0;
    BulgeArcCentre(elements.front(), point, radius);
    return true;
}

bool AddDrillPoint(TChainList& list, TVect point)
{
    std::vector<TVect>& points = list.DrillPoints;
    if (std::any_of(points.begin(), points.end(), [&](TVect p) { return EqualPoints(p, point); }))
        return false;
    points.push_back(point);
    list.SavedDrillPoints.reset();
    return true;
}

TVect DrillSortCorner(int button)
{
    switch (button) {
    case 1:
        return {-9999.0, 9999.0};
    case 2:
        return {-9999.0, -9999.0};
    case 3:
        return {9999.0, 9999.0};
    default:
        return {9999.0, -9999.0};
    }
}

void SortPointsByNearest(std::vector<TVect>& points, TVect reference)
{
    for (std::size_t k = 0; k < points.size(); ++k) {
        std::size_t best = k;
        double bestDistance = std::numeric_limits<double>::max();
        for (std::size_t i = k; i < points.size(); ++i) {
            const double distance = PointDistance(reference, points[i]);
            if (distance <= bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        std::swap(points[k], points[best]);
        reference = points[k];
    }
}

void SortDrillPoints(TChainList& list, int button, bool down)
{
    if (list.DrillPoints.empty())
        return;
    if (list.SavedDrillPoints)
        list.DrillPoints = *list.SavedDrillPoints;
    if (!down)
        return;
    list.SavedDrillPoints = list.DrillPoints;
    SortPointsByNearest(list.DrillPoints, DrillSortCorner(button));
}
