#include "cam/ChainOffset.h"

#include <cmath>
#include <numbers>

#include "cad/base/Settings.h"
#include "cad/geometry/VectorHelpers.h"

namespace {

constexpr double PI = std::numbers::pi;

// Below this |sin| of the half corner angle the meeting point would run off
// towards infinity, so the corner is treated as a straight run.
constexpr double FLAT_CORNER_SINE = 0.04;

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

// The corner limit is kept in single precision, as the settings page stores it.
double CornerRoundRadians()
{
    return static_cast<double>(static_cast<float>(CornerRound) * static_cast<float>(PI) / 180.0f);
}

bool HasNoDirection(const TChainElement& e)
{
    if (IsStraight(e))
        return EqualPoints(StartPoint(e), EndPoint(e));
    TVect centre;
    double radius = 0.0;
    BulgeArcCentre(e, centre, radius);
    return !(radius > 0.0) || !std::isfinite(radius);
}

enum class TCornerAction { Keep, MoveStartOntoEnd, AddArc, Join };

struct TCornerPlan {
    TCornerAction Action = TCornerAction::Keep;
    double Bulge = 0.0;
};

// The corner at e's start between the offset ending at a and the offset
// starting at b; before is the source element that leads into the corner.
TCornerPlan PlanCorner(const TChainElement& before, const TChainElement& e, TVect a, TVect b, double d, bool closing)
{
    const TVect c = StartPoint(e);
    int side = 0;
    if (!EqualPoints(c, a)) {
        const bool ccw = IsCCW(c, a, b);
        if (d > 0.0 && ccw)
            side = -1;
        else if (d < 0.0 && !ccw)
            side = 1;
    }
    const bool apart = PointDistance(a, b) > ChainTol;
    const bool bothStraight = IsStraight(before) && IsStraight(e);
    TCornerPlan plan;
    if (!apart) {
        if (closing || side != 0)
            plan.Action = bothStraight ? TCornerAction::Join : TCornerAction::Keep;
        else
            plan.Action = TCornerAction::MoveStartOntoEnd;
        return plan;
    }
    // Overlapping pieces are cut later by the intersection splitting.
    if (side == 0)
        return plan;
    const double angle = VectAngle(SubVect(a, c), SubVect(b, c));
    plan.Bulge = std::tan(angle / 4.0) * side;
    plan.Action = angle > CornerRoundRadians() || !bothStraight ? TCornerAction::AddArc : TCornerAction::Join;
    return plan;
}

TVect JoinPoint(const TChainElement& before, const TChainElement& e, double d)
{
    const TVect u1 = StartTangent(before);
    const TVect u2 = SubVect(EndPoint(e), EndPoint(before));
    return AddVect(StartPoint(e), CornerOffsetVector(u1, u2, d));
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
    if (HasNoDirection(e))
        return std::nullopt;
    TVect start = StartPoint(e);
    TVect end = EndPoint(e);
    if (IsStraight(e)) {
        const double length = PointDistance(start, end);
        const TVect shift{-(e.Y2 - e.Y1) / length * d, (e.X2 - e.X1) / length * d};
        start = AddVect(start, shift);
        end = AddVect(end, shift);
    } else {
        TVect centre;
        double radius = 0.0;
        BulgeArcCentre(e, centre, radius);
        // Past the centre the ends come out on the far side and the bulge is
        // kept: the arc turns into the opposite part of a smaller circle, which
        // the splitting and the removal of gouging pieces clean up. Dropping it
        // would lose the corners around it.
        const double change = e.Bulge > 0.0 ? -d : d;
        start = AddVect(start, ScaleVect(SubVect(start, centre), change / radius));
        end = AddVect(end, ScaleVect(SubVect(end, centre), change / radius));
    }
    return MakeElement(start, end, e.Bulge);
}

TVect CornerOffsetVector(TVect u1, TVect u2, double d)
{
    const double a1 = CornerDirection(u1);
    double delta = a1 - CornerDirection(u2);
    if (delta <= -PI)
        delta += 2.0 * PI;
    else if (delta > PI)
        delta -= 2.0 * PI;
    double half = (PI - delta) / 2.0;
    if (std::abs(std::sin(half)) < FLAT_CORNER_SINE)
        half = PI / 2.0;
    const double length = d / std::sin(half);
    return {length * std::cos(a1 + half), length * std::sin(a1 + half)};
}

void OffsetChain(const TChain& chain, TChain& result, double d)
{
    if (chain.empty())
        return;
    if (chain.size() == 1) {
        if (const auto offset = OffsetElement(chain.front(), d))
            result.push_back(*offset);
        return;
    }

    const std::size_t firstOffset = result.size();
    const TChainElement* firstSource = nullptr;
    const TChainElement* before = nullptr;
    std::size_t previousOffset = 0;
    for (const TChainElement& e : chain) {
        std::optional<TChainElement> offset = OffsetElement(e, d);
        if (!offset)
            continue;
        if (firstSource == nullptr) {
            firstSource = &e;
        } else {
            const TVect a = EndPoint(result[previousOffset]);
            const TCornerPlan plan = PlanCorner(*before, e, a, StartPoint(*offset), d, false);
            if (plan.Action == TCornerAction::MoveStartOntoEnd) {
                SetStart(*offset, a);
            } else if (plan.Action == TCornerAction::AddArc) {
                result.push_back(MakeElement(a, StartPoint(*offset), plan.Bulge));
            } else if (plan.Action == TCornerAction::Join) {
                const TVect meeting = JoinPoint(*before, e, d);
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
    const TCornerPlan plan = PlanCorner(*beforeFirst, *firstSource, a, b, d, true);
    if (plan.Action == TCornerAction::AddArc) {
        result.push_back(MakeElement(a, b, plan.Bulge));
    } else if (plan.Action == TCornerAction::Join) {
        const TVect meeting = JoinPoint(*beforeFirst, *firstSource, d);
        SetEnd(result[previousOffset], meeting);
        SetStart(result[firstOffset], meeting);
    }
}
