#pragma once

// Offsetting elements and chains by a signed distance: positive to the left
// of the direction of travel. Convex corners get an arc or a sharp join,
// concave ones are left overlapping for the intersection splitting to cut.

#include <optional>

#include "cam/chains/ChainElement.h"

// Nothing when the element has no direction (a straight element whose ends
// coincide, an arc of radius 0). An arc offset past its centre keeps its
// bulge with both ends moved through the centre. The result carries layer 0.
std::optional<TChainElement> OffsetElement(const TChainElement& e, double d);

// The vector from a sharp corner to the meeting point of the two offset
// lines, for the incoming direction u1 and the outgoing direction u2.
TVect CornerOffsetVector(TVect u1, TVect u2, double d);

// Appends the offset of every element and the corner arcs between them to
// the result, using ChainTol and CornerRound. The result may cross itself.
void OffsetChain(const TChain& chain, TChain& result, double d);
