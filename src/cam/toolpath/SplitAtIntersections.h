#pragma once

// Cutting a whole element list at every point where two of its elements
// meet, so that afterwards elements meet only at their end points: the step
// between offsetting a chain and walking its pieces into loops.

#include "cam/chains/ChainElement.h"
#include "cam/ProgressSink.h"

// First drops every element shorter than SystemTol. Then, from the front,
// each element is tested against every later one; a cut replaces the cut
// elements by their pieces, inserted where the first element stood, and the
// testing resumes with the first piece. Only pairs that can meet (their
// boxes overlap, and a straight one passes through the other's box) are
// tested, which changes nothing in the result or its order. Last, where
// anything was cut, of pieces that run the same way between the same ends,
// one stretch of the path, the first is kept (DropCoincidentRepeats).
// Fills the first half of the progress bar (0 to 50). Returns false when the
// sink reports an abort, or when the cutting does not settle (a safety net
// for input no tolerance was made for); the list is then partly split.
bool SplitAtIntersections(TChain& elements, TProgressSink& progress = DefaultProgressSink());
