#pragma once

// Walking the split pieces of an offset chain into the loops the tool
// follows. At a point where several pieces start, the walk takes the one
// turning most to the left for a positive offset, most to the right for a
// negative one, so that it stays on the outside of what it goes round.
// A loop is kept only when its start keeps the offset distance (less the
// same slack the removal of gouging pieces allows) from the source chain.

#include <vector>

#include "cam/chains/ChainElement.h"
#include "cam/ProgressSink.h"

class TPreparedSource;

// Closed loops from the pieces (consumed), appended to `loops` in the order
// they close. Fills the second half of the progress bar; false when aborted.
bool ExtractLoops(TChain& elements, const TChain& source, std::vector<TChain>& loops, bool closedOnly, double d,
                  TProgressSink& progress = DefaultProgressSink());
// The same with the source prepared once for many offsets of it.
bool ExtractLoops(TChain& elements, const TPreparedSource& source, std::vector<TChain>& loops, bool closedOnly,
                  double d, TProgressSink& progress = DefaultProgressSink());

// The same for the offset of an open chain: open walks that keep their
// distance are kept as well, and a single piece is a loop of its own.
bool ExtractLoopsOpen(TChain& elements, const TChain& source, bool closedOnly, std::vector<TChain>& loops, double d,
                      TProgressSink& progress = DefaultProgressSink());
