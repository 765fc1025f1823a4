#include "cam/toolpath/ChainOffset.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "cad/base/Settings.h"
#include "cad/geometry/VectorHelpers.h"

namespace {

constexpr double PI = std::numbers::pi;

// Below this |sin| of the half corner angle the meeting point would run off
// towards infinity, so the corner is treated as a straight run.
constexpr double FLAT_CORNER_SINE = 0.04;

// How far a corner's cosine must lie from the limit's cosine for the
// comparison of the angles to be settled without working out the angle.
// The angle moves at least as fast as its cosine, so this is far beyond the
// rounding of either side.
constexpr double COSINE_MARGIN = 1e-9;

// MakeElement, inline.
TChainElement Element(TVect start, TVect end, double bulge)
{
    return {start.X, start.Y, end.X, end.Y, bulge};
}

double CornerDirection(TVect u)
{
    if (u.X == 0.0) {
        if (u.Y > 0.0)
            return PI / 2.0;
        return u.Y < 0.0 ? -PI / 2.0 : 0.0;
    }
    const double angle = std::atan(u.Y / u.X);
    return u.X < 0.0 ? angle + PI : angle;
}

bool SameBits(TVect a, TVect b)
{
    return std::bit_cast<std::uint64_t>(a.X) == std::bit_cast<std::uint64_t>(b.X) &&
           std::bit_cast<std::uint64_t>(a.Y) == std::bit_cast<std::uint64_t>(b.Y);
}

// Along a chain of straight elements the outgoing direction of one corner
// is the incoming direction of the next, so the last one worked out is kept.
class TDirections {
public:
    double Of(TVect u)
    {
        if (!Known || !SameBits(u, Last)) {
            Last = u;
            Angle = CornerDirection(u);
            Known = true;
        }
        return Angle;
    }

private:
    bool Known = false;
    TVect Last;
    double Angle = 0.0;
};

TVect CornerVector(double a1, double a2, double d)
{
    double delta = a1 - a2;
    if (delta <= -PI)
        delta += 2.0 * PI;
    else if (delta > PI)
        delta -= 2.0 * PI;
    double half = (PI - delta) / 2.0;
    double sine = std::sin(half);
    if (std::abs(sine) < FLAT_CORNER_SINE) {
        half = PI / 2.0;
        sine = std::sin(half);
    }
    const double length = d / sine;
    return {length * std::cos(a1 + half), length * std::sin(a1 + half)};
}

// The corner limit is kept in single precision, as the settings page stores it.
double CornerRoundRadians()
{
    return static_cast<double>(static_cast<float>(CornerRound) * static_cast<float>(PI) / 180.0f);
}

// The cosine of the angle between two vectors as VectAngle works it out,
// 1 for a null vector, whose angle VectAngle takes as 0.
double AngleCosine(TVect a, TVect b)
{
    const double lengths = (a.X * a.X + a.Y * a.Y) * (b.X * b.X + b.Y * b.Y);
    if (lengths == 0.0)
        return 1.0;
    return (a.X * b.X + a.Y * b.Y) / std::sqrt(lengths);
}

// The angle VectAngle gives for the vectors of the cosine.
double AngleOf(double cosine)
{
    // Rounding lets parallel vectors come out a hair beyond 1.
    return std::acos(std::clamp(cosine, -1.0, 1.0));
}

// The corner limit with its cosine, worked out once per chain.
struct TCornerLimit {
    double Angle = CornerRoundRadians();
    // Only a limit strictly inside (0, pi) is compared by its cosine.
    bool ByCosine = Angle > 0.0 && Angle < PI;
    double Cosine = ByCosine ? std::cos(Angle) : 0.0;

    // Whether the angle of the cosine is above the limit.
    bool Below(double cosine) const
    {
        if (ByCosine) {
            if (cosine > Cosine + COSINE_MARGIN)
                return true;
            if (cosine < Cosine - COSINE_MARGIN)
                return false;
        }
        return !(AngleOf(cosine) > Angle);
    }
};

// The bulges of the corner arcs by the cosine of the corner. Every corner
// of a finely divided circle turns by the same angle, so their cosines
// repeat bit for bit along the chain and in its offsets by other
// distances, as a pocket makes them pass after pass; each is worked out
// once. The bulge depends on nothing but the cosine, so one table serves
// every chain of the thread.
class TCornerBulges {
public:
    double Of(double cosine)
    {
        const auto bits = std::bit_cast<std::uint64_t>(cosine);
        TEntry& entry = Entries[(bits * 0x9E3779B97F4A7C15ULL) >> (64 - ENTRY_BITS)];
        if (!entry.Known || entry.Bits != bits)
            entry = {bits, std::tan(AngleOf(cosine) / 4.0), true};
        return entry.Bulge;
    }

private:
    static constexpr int ENTRY_BITS = 8;
    struct TEntry {
        std::uint64_t Bits = 0;
        double Bulge = 0.0;
        bool Known = false;
    };
    TEntry Entries[1 << ENTRY_BITS];
};

thread_local TCornerBulges CornerBulges;

// Nothing when the element has no direction; see OffsetElement.
std::optional<TChainElement> Offset(const TChainElement& e, double d)
{
    TVect start = StartPoint(e);
    TVect end = EndPoint(e);
    if (IsStraight(e)) {
        if (EqualPoints(start, end))
            return std::nullopt;
        const double length = PointDistance(start, end);
        const TVect shift{-(e.Y2 - e.Y1) / length * d, (e.X2 - e.X1) / length * d};
        start = {start.X + shift.X, start.Y + shift.Y};
        end = {end.X + shift.X, end.Y + shift.Y};
        return Element(start, end, e.Bulge);
    }
    TVect centre;
    double radius = 0.0;
    BulgeArcCentre(e, centre, radius);
    if (!(radius > 0.0) || !std::isfinite(radius))
        return std::nullopt;
    // Past the centre the ends come out on the far side and the bulge is
    // kept: the arc turns into the opposite part of a smaller circle, which
    // the splitting and the removal of gouging pieces clean up. Dropping it
    // would lose the corners around it.
    const double change = e.Bulge > 0.0 ? -d : d;
    const double scale = change / radius;
    start = {start.X + scale * (start.X - centre.X), start.Y + scale * (start.Y - centre.Y)};
    end = {end.X + scale * (end.X - centre.X), end.Y + scale * (end.Y - centre.Y)};
    return Element(start, end, e.Bulge);
}

// Bridge: the two ends are made one, moved on a straight element where
// there is one, along which the move bends nothing.
enum class TCornerAction { Keep, MoveStartOntoEnd, AddArc, Join, Bridge };

struct TCornerPlan {
    TCornerAction Action = TCornerAction::Keep;
    // Set for AddArc only.
    double Bulge = 0.0;
};

// The corner at e's start between the offset ending at a and the offset
// starting at b; before is the source element that leads into the corner.
TCornerPlan PlanCorner(const TChainElement& before, const TChainElement& e, TVect a, TVect b, double d, bool closing,
                       const TCornerLimit& limit)
{
    const TVect c = StartPoint(e);
    int side = 0;
    if (!EqualPoints(c, a)) {
        // As IsCCW(c, a, b) works it out.
        const bool ccw = (c.X - a.X) * (b.Y - a.Y) - (c.Y - a.Y) * (b.X - a.X) > 0.0;
        if (d > 0.0 && ccw)
            side = -1;
        else if (d < 0.0 && !ccw)
            side = 1;
    }
    const bool apart = PointDistance(a, b) > ChainTol;
    const bool bothStraight = IsStraight(before) && IsStraight(e);
    TCornerPlan plan;
    // A near-tangent corner beside an arc leaves a gap too small to count
    // as apart, yet too wide for the walk to see the ends as one point.
    const bool bridged = !apart && !bothStraight && !EqualPoints(a, b);
    if (!apart && !bridged) {
        if (side == 0 && !closing)
            plan.Action = TCornerAction::MoveStartOntoEnd;
        else if (bothStraight)
            plan.Action = TCornerAction::Join;
        return plan;
    }
    // Overlapping pieces are cut later by the intersection splitting, and
    // near enough ones are made to meet. A gap on the outside of the corner
    // is bridged by its corner arc, as long as the arc is not too short to
    // survive the splitting: moving an arc's end bends the arc into the part.
    if (side == 0 || (bridged && !(PointDistance(a, b) > SystemTol))) {
        if (bridged)
            plan.Action = TCornerAction::Bridge;
        return plan;
    }
    // A small turn between straight elements is joined at one point and
    // needs no angle; the angle only gives the arc its bulge.
    const double cosine = AngleCosine({a.X - c.X, a.Y - c.Y}, {b.X - c.X, b.Y - c.Y});
    if (bothStraight && limit.Below(cosine)) {
        plan.Action = TCornerAction::Join;
        return plan;
    }
    plan.Action = TCornerAction::AddArc;
    plan.Bulge = CornerBulges.Of(cosine) * side;
    return plan;
}

// Only straight elements are joined.
TVect JoinPoint(const TChainElement& before, const TChainElement& e, double d, TDirections& directions)
{
    const TVect u1{before.X2 - before.X1, before.Y2 - before.Y1};
    const TVect u2{e.X2 - before.X2, e.Y2 - before.Y2};
    const double a1 = directions.Of(u1);
    const TVect v = CornerVector(a1, directions.Of(u2), d);
    return {e.X1 + v.X, e.Y1 + v.Y};
}

void SetStart(TChainElement& e, TVect p)
{
    e.X1 = p.X;
    e.Y1 = p.Y;
}

void SetEnd(TChainElement& e, TVect p)
{
    e.X2 = p.X;
    e.Y2 = p.Y;
}

} // namespace

std::optional<TChainElement> OffsetElement(const TChainElement& e, double d)
{
    return Offset(e, d);
}

TVect CornerOffsetVector(TVect u1, TVect u2, double d)
{
    return CornerVector(CornerDirection(u1), CornerDirection(u2), d);
}

// Everything it calls is inlined: the steps of each element and corner,
// and the appends to the result, which has room for all of them.
[[gnu::flatten]] void OffsetChain(const TChain& chain, TChain& result, double d)
{
    if (chain.empty())
        return;
    if (chain.size() == 1) {
        if (const auto offset = Offset(chain.front(), d))
            result.push_back(*offset);
        return;
    }

    // At most an element and a corner arc for each source element.
    const std::size_t most = result.size() + 2 * chain.size();
    if (result.capacity() < most)
        result.reserve(std::max(most, 2 * result.capacity()));
    const TCornerLimit limit;
    TDirections directions;
    const std::size_t firstOffset = result.size();
    const TChainElement* firstSource = nullptr;
    const TChainElement* before = nullptr;
    std::size_t previousOffset = 0;
    for (const TChainElement& e : chain) {
        std::optional<TChainElement> offset = Offset(e, d);
        if (!offset)
            continue;
        if (firstSource == nullptr) {
            firstSource = &e;
        } else {
            const TVect a = EndPoint(result[previousOffset]);
            const TCornerPlan plan = PlanCorner(*before, e, a, StartPoint(*offset), d, false, limit);
            if (plan.Action == TCornerAction::MoveStartOntoEnd ||
                (plan.Action == TCornerAction::Bridge && !IsStraight(*before))) {
                SetStart(*offset, a);
            } else if (plan.Action == TCornerAction::Bridge) {
                SetEnd(result[previousOffset], StartPoint(*offset));
            } else if (plan.Action == TCornerAction::AddArc) {
                result.push_back(Element(a, StartPoint(*offset), plan.Bulge));
            } else if (plan.Action == TCornerAction::Join) {
                const TVect meeting = JoinPoint(*before, e, d, directions);
                SetEnd(result[previousOffset], meeting);
                SetStart(*offset, meeting);
            }
        }
        previousOffset = result.size();
        result.push_back(*offset);
        before = &e;
    }

    const bool closed = EqualPoints(StartPoint(chain.front()), EndPoint(chain.back()));
    if (!closed || firstSource == nullptr || previousOffset == firstOffset)
        return;
    const TChainElement* beforeFirst = before;
    const TVect a = EndPoint(result[previousOffset]);
    const TVect b = StartPoint(result[firstOffset]);
    const TCornerPlan plan = PlanCorner(*beforeFirst, *firstSource, a, b, d, true, limit);
    if (plan.Action == TCornerAction::AddArc) {
        result.push_back(Element(a, b, plan.Bulge));
    } else if (plan.Action == TCornerAction::Bridge && IsStraight(*beforeFirst)) {
        SetEnd(result[previousOffset], b);
    } else if (plan.Action == TCornerAction::Bridge) {
        SetStart(result[firstOffset], a);
    } else if (plan.Action == TCornerAction::Join) {
        const TVect meeting = JoinPoint(*beforeFirst, *firstSource, d, directions);
        SetEnd(result[previousOffset], meeting);
        SetStart(result[firstOffset], meeting);
    }
}
