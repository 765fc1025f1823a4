#pragma once

// Turning drawing shapes into toolpath elements. Every producer appends to
// the given list, works in world coordinates and stamps each element with the
// shape's layer. A shape without enough points adds nothing.
// The points go through the shape's whole transform, the current one after
// the model one: placing a drawing (moving, turning or resizing it whole)
// composes onto the current transforms, and the part must be cut where the
// drawing is shown, not where it was before it was placed.

#include "cam/chains/ChainElement.h"

class TArco2D;
class TCerchio2D;
class TCurve2D;
class TFrame2D;
class TLine2D;
class TPolyline2D;
class TPunto2D;

// One straight element from point 0 to point 1, whatever its length.
void LineToElements(const TLine2D& line, TChain& list);

// One straight element per pair of consecutive vertices, plus the closing
// pair when the class is closed (a polygon). A vertex not farther than
// SystemTol from the end of the last element is passed over, so a too-short
// segment leaves neither a gap nor, in a run of them, a lost outline.
void PolylineToElements(const TPolyline2D& polyline, TChain& list);

// Two counter-clockwise half circles of bulge 1, from the rightmost point to
// the leftmost and back.
void CircleToElements(const TCerchio2D& circle, TChain& list);

// The arc as it is drawn, counter-clockwise: one element up to a sweep of
// three quarter turns, above that a half circle and the rest.
void ArcToElements(const TArco2D& arc, TChain& list);

// Four straight elements from corner 0 through the corner beside it on the
// X axis, corner 1, the one beside it on the Y axis and back to corner 0.
void FrameToElements(const TFrame2D& frame, TChain& list);

// One straight element per pair of consecutive profile points, whatever
// their length.
void CurveToElements(const TCurve2D& curve, TChain& list);

// Where a point object stands in the world.
TVect PointPosition(const TPunto2D& point);
