#pragma once

// The toolpath element: a straight segment or a circular arc between two
// points, and the arc quantities every CAM routine derives from it.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "cad/geometry/BulgeArc.h"
#include "cad/geometry/CADBaseTypes.h"
#include "cad/geometry/VectorHelpers.h"

// Bulge 0 is a straight segment; otherwise Bulge = tan(sweep / 4) of the arc
// from the start to the end point, positive counter-clockwise. The record is
// 48 bytes because chains are handed around as raw blocks of that size.
struct TChainElement {
    double X1 = 0.0;
    double Y1 = 0.0;
    double X2 = 0.0;
    double Y2 = 0.0;
    double Bulge = 0.0;
    // Layer of the drawing object the element came from; derived elements carry 0.
    std::int32_t Layer = 0;
    std::int32_t Reserved = 0;
};

static_assert(sizeof(TChainElement) == 48);
static_assert(offsetof(TChainElement, X1) == 0);
static_assert(offsetof(TChainElement, Y1) == 8);
static_assert(offsetof(TChainElement, X2) == 16);
static_assert(offsetof(TChainElement, Y2) == 24);
static_assert(offsetof(TChainElement, Bulge) == 32);
static_assert(offsetof(TChainElement, Layer) == 40);
static_assert(offsetof(TChainElement, Reserved) == 44);
static_assert(std::is_standard_layout_v<TChainElement> && std::is_trivially_copyable_v<TChainElement>);

// Each element's end is normally the next one's start.
using TChain = std::vector<TChainElement>;
using TPointList = std::vector<TVect>;

// NC motion codes of an arc's direction.
inline constexpr int ARC_CLOCKWISE = 2;
inline constexpr int ARC_COUNTER_CLOCKWISE = 3;

// Number of points TessellateBulgeArc appends.
inline constexpr int TESSELLATION_POINTS = BulgeArcTessellationPoints;

inline TVect StartPoint(const TChainElement& e) { return {e.X1, e.Y1}; }
inline TVect EndPoint(const TChainElement& e) { return {e.X2, e.Y2}; }
TChainElement MakeElement(TVect start, TVect end, double bulge = 0.0);

// Straight when the bulge is 0 within the system's equality tolerance.
// Inline: every CAM routine asks it per element.
inline bool IsStraight(const TChainElement& e)
{
    return EqualReals(e.Bulge, 0.0);
}
// Both end points and the bulge equal within the equality tolerance.
bool EqualElements(const TChainElement& a, const TChainElement& b);

// The arc runs counter-clockwise from From to To, whatever its own direction.
struct TBulgeArc {
    TVect Centre;
    double Radius = 0.0;
    int Direction = ARC_COUNTER_CLOCKWISE;
    double From = 0.0;
    double To = 0.0;
};

// False for a straight element.
bool BulgeArcParams(const TChainElement& e, TBulgeArc& arc);
// Centre and radius only; the caller knows the element is an arc.
inline void BulgeArcCentre(const TChainElement& e, TVect& centre, double& radius)
{
    BulgeArcCentre2D(StartPoint(e), EndPoint(e), e.Bulge, centre, radius);
}

double ElementLength(const TChainElement& e);
// ElementShorterThan for what the inline part leaves: arcs, segments near
// the limit, and limits far outside the range squares keep precise.
bool ElementShorterThanWorkedOut(const TChainElement& e, double limit);
// The same answer as ElementLength(e) < limit; the length itself is worked
// out only when the chord, or the arc's radius and a bound of its sweep,
// cannot settle it with a margin far above rounding. A segment is settled
// inline: the splitting asks this of every piece.
inline bool ElementShorterThan(const TChainElement& e, double limit)
{
    // The bounds are relative; far outside this range squares and products
    // lose that precision.
    if (IsStraight(e) && limit > 1e-100 && limit < 1e100) {
        const double dx = e.X2 - e.X1;
        const double dy = e.Y2 - e.Y1;
        const double squared = dx * dx + dy * dy;
        const double limitSquared = limit * limit;
        if (squared < limitSquared * (1.0 - 1e-9))
            return true;
        if (squared > limitSquared * (1.0 + 1e-9))
            return false;
    }
    return ElementShorterThanWorkedOut(e, limit);
}
// The direction in which the element leaves its start point (not normalised).
TVect StartTangent(const TChainElement& e);
// In [0, 2pi).
double DirectionAngle2Pi(TVect a, TVect b);

// Appends 51 points of the arc, from its start to exactly its end point; the
// last interval is two steps wide. Nothing for a straight element.
void TessellateBulgeArc(const TChainElement& e, TPointList& points);
// Positive for a counter-clockwise chain; arcs count by their tessellation.
double ChainSignedArea(const TChain& chain);
// Reverses the order and the direction of every element; the reserved word becomes 0.
void ReverseChain(TChain& chain);
// Removes every element before the first one equal to the given element;
// false, and nothing removed, when there is none.
bool DropElementsBefore(const TChainElement& element, TChain& list);

// An arc as walked from its start: the angle of the start point at the
// centre, the unsigned sweep, and +1 counter-clockwise or -1 clockwise.
struct TArcSpan {
    TVect Centre;
    double Radius = 0.0;
    double StartAngle = 0.0;
    double Sweep = 0.0;
    int Turn = 1;
};

TArcSpan ArcSpanOf(const TChainElement& e);
// The angles of a span that holds the arc's centre and radius as ArcSpanOf
// works them out, for callers that need the angles of only some arcs.
void CompleteArcSpan(const TChainElement& e, TArcSpan& span);
// The angle travelled from the start to the direction of the point, in [0, 2pi).
double ArcTravelTo(const TArcSpan& span, TVect point);
// Whether the direction of the point from the centre falls within the sweep;
// unlike a chord test this holds for arcs of any sweep.
bool ArcSpanContains(const TArcSpan& span, TVect point);
