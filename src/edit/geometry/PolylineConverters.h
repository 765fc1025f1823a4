#pragma once

// Curves and frames as plain polylines in world coordinates, for the commands
// that can only work on point runs (simplification, break, transforms).

#include <memory>

class TCurve2D;
class TFrame2D;
class TPolyline2D;

// A new polyline, not in any drawing, through the curve's profile points in
// order, with the curve's transform applied.
std::unique_ptr<TPolyline2D> CurveToPolyline(TCurve2D& curve);

// A new closed polyline of five points: corner 1, (X1, Y2), corner 2,
// (X2, Y1), corner 1 again, with the frame's transform applied.
std::unique_ptr<TPolyline2D> FrameToPolyline(TFrame2D& frame);

// Gives the engine's transform tasks the two converters.
void InstallPolylineConverters();
