#pragma once

// Cutting two elements at the points where they meet. Each splitter clears
// the piece list, appends the kept pieces of both elements (every piece a new
// element of layer 0) and says which of the two elements were cut; the
// caller replaces a cut element by its pieces. A piece is kept when it is
// longer than SystemTol. A point where one element ends on the other cuts
// the other there; a point where both end cuts neither.

#include <cmath>
#include <vector>

#include "cad/geometry/VectorHelpers.h"
#include "cam/chains/ChainElement.h"
#include "cam/toolpath/ElementBoxTree.h"

// A meeting point may lie this far outside an element's box: touching
// tests accept points off a circle by the equality tolerance. The pair
// search of the splitting sweep relies on no meeting point lying further out.
inline constexpr double CROSSING_BOX_MARGIN = 0.0001;

// Whether an end of a equals an end of b. Two segments that share an end
// point are never cut, so a caller that tries many pairs may skip them.
inline bool SharesEndPoint(const TChainElement& a, const TChainElement& b)
{
    return EqualPoints(StartPoint(a), StartPoint(b)) || EqualPoints(StartPoint(a), EndPoint(b)) ||
           EqualPoints(EndPoint(a), StartPoint(b)) || EqualPoints(EndPoint(a), EndPoint(b));
}

// Whether two arcs whose centres lie this far apart cannot meet whatever
// their angles: their circles are apart, one inside the other, or the same.
inline bool CirclesNeverMeet(const TArcSpan& one, const TArcSpan& two, double centreDistance)
{
    const double r1 = one.Radius;
    const double r2 = two.Radius;
    // Coincident and concentric circles have no meeting point to cut at.
    if (centreDistance == 0.0 || (centreDistance <= REAL_EPSILON && std::abs(r1 - r2) <= REAL_EPSILON))
        return true;
    return centreDistance > r1 + r2 + REAL_EPSILON || centreDistance < std::abs(r1 - r2) - REAL_EPSILON;
}

// Pieces in the order first.start-X, X-first.end, second.start-X, X-second.end.
// endMask gets 1, 2, 4, 8 for each of these four that was too short.
// False when the segments do not meet (shared end points never meet).
bool SplitLineLine(const TChainElement& first, const TChainElement& second, TChain& pieces, int& endMask,
                   bool& firstSplit, bool& secondSplit);

// One straight and one arc element, in either order; the line's pieces come first.
bool SplitLineArc(const TChainElement& a, const TChainElement& b, TChain& pieces, bool& lineSplit, bool& arcSplit);

// Two arcs. At a single meeting point the second arc's pieces come first,
// at two points the first arc's. Note the order of the flags.
bool SplitArcArc(const TChainElement& first, const TChainElement& second, TChain& pieces, bool& secondSplit,
                 bool& firstSplit);

// Any two elements, through the splitter for their kinds: its pieces in its
// order and the flags for a and b. True when there are pieces.
bool SplitElements(const TChainElement& a, const TChainElement& b, TChain& pieces, bool& aSplit, bool& bSplit);
// The same with the spans of the arcs among them worked out beforehand (that
// of a straight element is not read), for callers that cut one element
// against many.
bool SplitElements(const TChainElement& a, const TArcSpan& aSpan, const TChainElement& b, const TArcSpan& bSpan,
                   TChain& pieces, bool& aSplit, bool& bSplit);
// The same with the elements' tight boxes (ElementBox) worked out beforehand too.
bool SplitElements(const TChainElement& a, const TArcSpan& aSpan, const TElementBox& aBox, const TChainElement& b,
                   const TArcSpan& bSpan, const TElementBox& bBox, TChain& pieces, bool& aSplit, bool& bSplit);

// Whether the straight segment meets any element of the list; false for a
// list of fewer than 2 elements.
bool SegmentCrossesElements(const TChainElement& segment, const TChain& elements);

// The same question asked of one list many times, as the links of a pocket
// are: each element's box is worked out once and kept in a tree, and only
// the elements whose box the segment's box meets are tried.
class TSegmentCrossing {
public:
    // The list must outlive the test.
    explicit TSegmentCrossing(const TChain& elements);
    bool Crosses(const TChainElement& segment) const;

private:
    const TChain& Elements;
    std::vector<TElementBox> Boxes;
    // The elements whose boxes are finite, by their place in the tree, and
    // the others, which a tree cannot order and which are tried one by one.
    std::vector<int> InTree;
    std::vector<int> Loose;
    TElementBoxTree Tree;
};
