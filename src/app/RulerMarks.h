#pragma once

// Where a vertical depth ruler puts its ticks and labels. Kept apart from the
// painting so that the marks can be checked without looking at pixels.

#include <string>
#include <vector>

enum class TRulerEdge { Left, Right };

struct TRulerTick {
    int Y;
    int X1;  // at the edge
    int X2;  // toward the middle
};

struct TRulerLabel {
    int X;
    int Top;  // top of the text, 4 pixels above its tick
    std::string Text;
};

struct TRulerMarks {
    std::vector<TRulerTick> Ticks;
    std::vector<TRulerLabel> Labels;  // from the zero row down, then up
    int LabelX = 0;                   // the label column, where the unit text goes too
};

struct TRulerScale {
    int Factor = 2;             // pixels per minor tick
    int Offset = 100;           // row of the zero mark, from the top
    double TextIncrement = 1.0; // value added per major tick
    TRulerEdge Edge = TRulerEdge::Left;
    bool ShowText = true;
};

// Major ticks every 10 x Factor pixels from the zero row, as long as they lie
// within the rows 0 to height (both included), each with its label, a half
// tick half a spacing further out and eleven minor ticks; ticks off the
// ruler are left out. A factor below 1 gives no ticks, since the spacing
// would not advance.
TRulerMarks ComputeRulerMarks(int width, int height, const TRulerScale& scale);

// The shortest text of the label value at 15 significant digits, so that
// steps such as 3 x 0.1 read "0.3".
std::string RulerLabelText(double value);
