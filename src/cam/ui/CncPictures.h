#pragma once

// The pictures of the CNC pages, painted in the style of the button glyphs:
// the hints that explain the field being edited on a machining page, and
// the cutter shape of each tool type.

#include <QPixmap>

// Hints by index: 0 feed (rapid) plane, 1 top of part, 2 depth, 3 depth
// increment, 4 stock to leave, 5 pass counts, 6 rough cut size, 7 one pass
// without Z, 8 step-over. Other indices give a null pixmap.
inline constexpr int kCncHintCount = 9;
QPixmap CncHintPixmap(int index, int size = 96);

// Tool types in the order of the tool dialog's type list: flat, bull-nose,
// spherical, conical, drill, undefined. Other indices give a null pixmap.
inline constexpr int kToolTypeCount = 6;
QPixmap ToolTypePixmap(int type, int size = 64);
