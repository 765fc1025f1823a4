#pragma once

// An independent yardstick for whole passes (offset, split, removal and the
// loop walk): the loops of a pass against Clipper's round-join offset of the
// same region, by count and by enclosed area, against the exact distance to
// the region's chains, and a pocket's paths against the area a tool of its
// radius can reach. Shared by the table of cases, the property test and the
// benchmarks, which check what they time.

#include <string>
#include <vector>

#include "cam/chains/ChainElement.h"

// An outer chain and the islands inside it, each in the direction its
// offset is taken: the outer one counter-clockwise, the islands clockwise.
struct TRegion {
    TChain Outer;
    std::vector<TChain> Islands;
};

// Every chain of the region.
TChain RegionElements(const TRegion& region);
// The larger side of the region's box.
double RegionSize(const TRegion& region);

// Clipper's offset of the region by d (positive inwards): its loops and
// their signed area, holes negative.
struct TReferenceOffset {
    int Loops = 0;
    double Area = 0.0;
    // Loops narrower on average than a sliver.
    int ThinLoops = 0;
};
TReferenceOffset ClipperRegionOffset(const TRegion& region, double d);

struct TPassCheck {
    int Loops = 0;
    int ReferenceLoops = 0;
    double Area = 0.0;
    double ReferenceArea = 0.0;
    // Loops that enclose (next to) no area.
    int Slivers = 0;
    // How far the loops come nearer to the region than |d|, beyond rounding.
    double WorstGouge = 0.0;
    int Gouges = 0;

    bool LostLoop() const { return Loops < ReferenceLoops; }
    bool AreaAgrees() const;
    bool Sound() const { return Loops == ReferenceLoops && AreaAgrees() && Slivers == 0 && Gouges == 0; }
    std::string Describe() const;
};

// The loops of a pass at offset d (positive inwards) of the region.
TPassCheck CheckPass(const TRegion& region, double d, const std::vector<TChain>& loops);

// Loop count and signed area alone, for the benchmarks.
bool PassAgreesWithClipper(const TRegion& region, double d, const std::vector<TChain>& loops);

struct TPocketCheck {
    // The area a tool of the radius can reach inside the region, and how
    // much of it no path passes within the radius of.
    double Reachable = 0.0;
    double Uncovered = 0.0;
    // Path elements, links included, that come nearer to the region than
    // the radius less the removal's slack, and by how far at worst.
    int Gouges = 0;
    double WorstGouge = 0.0;

    double UncoveredShare() const { return Reachable > 0.0 ? Uncovered / Reachable : 0.0; }
    std::string Describe() const;
};

TPocketCheck CheckPocket(const TRegion& region, double toolRadius, const std::vector<TChain>& paths);

// The tool's reach beyond rounding: a share of the size, as the checks count a gouge.
inline constexpr double GOUGE_SHARE = 1e-6;
// Loops and pockets agree with Clipper's area within this share.
inline constexpr double AREA_SHARE = 0.005;
