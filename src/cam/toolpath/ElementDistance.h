#pragma once

// How close a point comes to the elements of a chain: the tests that keep a
// toolpath from cutting into the drawing it was offset from.

#include <memory>

#include "cam/chains/ChainElement.h"

// Slack below the offset distance that still counts as keeping the distance.
inline constexpr double DISTANCE_SLACK = 0.01;

// The distance to the nearest point of a segment, or of an arc (the radial
// point when its direction lies within the sweep, else the nearer end).
double DistanceToElement(TVect point, const TChainElement& e);

// The distance between the nearest points of two elements; 0 when they meet.
double DistanceBetweenElements(const TChainElement& a, const TChainElement& b);

// True when the point keeps at least d - 0.01 from every element.
bool KeepsDistanceFromElements(TVect point, const TChain& elements, double d);
// The same, but an arc counts only by the nearer of its end points.
bool KeepsDistanceFromEnds(TVect point, const TChain& elements, double d);

// A source chain shaped and indexed once, for the removals of all the
// offsets made from it and the distance tests of their loops (the passes of
// a pocket share one). The chain must outlive it.
class TPreparedSource {
public:
    explicit TPreparedSource(const TChain& source);
    ~TPreparedSource();
    TPreparedSource(const TPreparedSource&) = delete;
    TPreparedSource& operator=(const TPreparedSource&) = delete;

    struct TData;
    const TData& Data() const { return *Shaped; }

private:
    std::unique_ptr<const TData> Shaped;
};

// Removes every element any point of which comes nearer than d - 0.01 to
// an element of the source chain, keeping the order of the rest. Judging
// the ends alone would keep pieces that cross the source or dip towards it
// between two ends that keep their distance.
void RemoveGougingElements(TChain& elements, const TChain& source, double d);
void RemoveGougingElements(TChain& elements, const TPreparedSource& source, double d);

// KeepsDistanceFromElements and KeepsDistanceFromEnds of the prepared source.
bool KeepsDistanceFromElements(TVect point, const TPreparedSource& source, double d);
bool KeepsDistanceFromEnds(TVect point, const TPreparedSource& source, double d);
