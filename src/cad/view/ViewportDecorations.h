#pragma once

// What a 2D view paints besides the drawing: the two-level dotted grid, the
// axes with their X and Y arrows, and the scale bar with its length.

#include <string>

#include "cad/canvas/CanvasTypes.h"
#include "cad/geometry/CADBaseTypes.h"

class TDecorativeCanvas;

struct TGridSettings {
    float DeltaX = 0.0f;
    float DeltaY = 0.0f;
    float SubX = 0.0f;
    float SubY = 0.0f;
    TColor Color = clGray;
    TColor BackColor = clSilver;
};

// Lines of one level closer than this many pixels are not drawn at all.
inline constexpr int GridMinimumPixels = 10;

// One grid level with steps (dx, dy) over the world rectangle; false, and
// nothing drawn, when its lines would lie GridMinimumPixels apart or less.
bool DrawGridLevel(TDecorativeCanvas& canvas, const TTransform2D& toScreen, const TRect2D& rect, float dx, float dy);
// The sub-grid (pattern "10000") when both subdivisions are set, then the main grid ("100").
void DrawViewGrid(TDecorativeCanvas& canvas, const TTransform2D& toScreen, const TRect2D& rect,
                  const TGridSettings& grid);
// The rectangle is the visible one; unitsMode 1 labels the bar in inches.
void DrawViewAxesAndScale(TDecorativeCanvas& canvas, const TTransform2D& toScreen, const TRect2D& rect,
                          TColor gridColor, TColor backColor, int unitsMode);

// The scale bar's two texts: the length ("%0.4f" in inches, else "%0.3f") and the unit.
std::string ScaleBarNumber(double length, int unitsMode);
const char* ScaleBarUnit(int unitsMode);
