#pragma once

// Cutting runs of points where they cross one another, and lines where they
// cross lines; world points.

#include <vector>

#include "cad/geometry/CADBaseTypes.h"

struct TRunBreak {
    // The pieces of each run, in order along it.
    std::vector<std::vector<TVect>> PiecesA;
    std::vector<std::vector<TVect>> PiecesB;
    // Every crossing, once for each pair of segments that meet there.
    std::vector<TVect> Cuts;
};

// Runs A and B cut at every crossing of a segment of A with one of B (shared
// segment ends do not cross). A cut within 0.001 of the start of its segment
// makes no piece, and no piece has zero length or a repeated point. A closed
// run (its ends equal) is cut only at the crossings: cut at one point, it
// opens there. Empty when nothing crosses.
TRunBreak BreakRuns(const std::vector<TVect>& a, const std::vector<TVect>& b);

// The pieces of segment PQ cut at the points in order, each kept only when
// longer than the minimum.
std::vector<std::pair<TVect, TVect>> CutSegment(TVect p, TVect q, const std::vector<TVect>& cuts, double minimum);
