#pragma once

// Drawing and measuring text in a stroke font. Glyph units scale by the text
// height on both axes; the font may be none, and then every character but a
// space or a carriage return uses the default glyph.

#include <string_view>

#include "cad/geometry/CADBaseTypes.h"

class TDecorativeCanvas;
class TVectFont;

// Draws one character at the pen position through the view transform and
// moves the pen along X by height * (charSpacing + the glyph's advance).
// A drawn space advances 0.4 (a measured one 0.5).
void DrawVectChar(const TVectFont* font, char character, TPoint2D& penPosition, TDecorativeCanvas& canvas,
                  const TTransform2D& viewTransform, float charSpacing, float height);

// The box of the text, lines separated by carriage returns: X from 0 to the
// widest line, Y2 = height (the top of the first line's capitals) and Y1 the
// lowest point of the last line.
TRect2D VectTextExtent(const TVectFont* font, std::string_view text, float lineSpacing, float charSpacing,
                       float height);

// The canvas's own clip rectangle in window pixels: the whole paint device.
TRect2D CanvasClipBox2D(const TDecorativeCanvas& canvas);
