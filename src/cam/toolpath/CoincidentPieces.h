#pragma once

// Pieces that run the same way between the same two points within SystemTol
// of each other are one stretch of the path: where offsets of neighbouring
// elements nearly coincide, each of them is cut at the same points and
// leaves its own copy of the stretch.

#include "cam/chains/ChainElement.h"

// Keeps the first of each set of such pieces, the rest in their order.
void DropCoincidentRepeats(TChain& pieces);
