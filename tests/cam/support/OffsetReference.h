#pragma once

// An independent yardstick for the toolpath steps (offset, splitting at
// intersections, removal of gouging pieces): every kept piece must keep
// exactly the offset distance from the outline along its whole length, and
// the kept pieces must cover Clipper's round-join offset of the same
// outline. Used by the fixed cases, the random property test and its long
// run from the command line.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "cam/chains/ChainElement.h"
#include "cam/toolpath/ElementBoxTree.h"

// A vertex of a closed outline: the bulge is that of the element to the next vertex.
struct TOutlineVertex {
    double X, Y, Bulge;
};
TChain ClosedOutline(const std::vector<TOutlineVertex>& vertices);

// Offset by d (positive to the left of travel), split, and the pieces that
// come nearer than |d| - 0.01 to the outline removed.
TChain ToolpathPieces(const TChain& outline, double d);

// The distance from the point to the nearest element of the chain.
double DistanceToChain(TVect point, const TChain& chain);

// A chain with the boxes of its elements, so that distances skip the
// elements that cannot be nearer than the nearest found so far. The chain
// must outlive it.
class TBoxedChain {
public:
    explicit TBoxedChain(const TChain& chain);
    // The distance to the nearest element, or a distance not above `enough`
    // once one is found.
    double Distance(TVect p, double enough = 0.0) const;

private:
    const TChain& Chain;
    std::vector<TElementBox> Boxes;
};

// Points along the element, both ends included, evenly by length.
std::vector<TVect> PointsAlong(const TChainElement& e, int count);

struct TOffsetCheck {
    // Pieces (or parts of them) that stand off the offset, by how far.
    int OffTheOffset = 0;
    double WorstOff = 0.0;
    // Points of Clipper's offset that no kept piece passes, and the worst gap.
    // A point counts when the sample before it is uncovered too.
    int Uncovered = 0;
    double WorstGap = 0.0;
    TVect WorstGapAt;

    bool Sound() const { return OffTheOffset == 0 && Uncovered == 0; }
    std::string Describe() const;
};

// Checks the pieces against the exact distance to the outline and against
// Clipper's offset. The outline must be closed and simple.
TOffsetCheck CheckToolpathPieces(const TChain& outline, double d, const TChain& pieces);

// Outlines of the families that break offsets: stars, combs, zigzags,
// notched rectangles, outlines with arcs, rounded rectangles with convex and
// concave fillets, slots, and degenerate input (repeated, collinear and
// nearly coincident vertices). All closed, counter-clockwise and simple.
struct TRandomOutline {
    std::string Family;
    TChain Outline;
};
TRandomOutline RandomOutline(std::mt19937& random);

// The offset distances the checks use for an outline, inward and outward.
std::vector<double> CheckDistances();

// Regions as drawings store them, for whole passes: outlines of many arcs,
// outlines with 1 to 5 islands, polygons with tangent fillets (exact, or
// with every point rounded to 3 decimals as a file keeps them), and joins a
// hair off tangent or straight. Every chain counter-clockwise and simple;
// the islands lie apart inside the outline.
struct TRandomRegion {
    std::string Family;
    TChain Outline;
    std::vector<TChain> Islands;
};
TRandomRegion RandomRegion(std::mt19937& random);
