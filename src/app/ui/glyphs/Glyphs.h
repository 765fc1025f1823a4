#pragma once

// The pictures of the main window's buttons, painted in code in one style:
// a 20 x 20 grid, dark ink strokes for the outline and one accent colour for
// what the command adds or acts on. Painting them keeps every icon sharp at
// any screen scale and needs no image files beside the program.

#include <QIcon>
#include <QPixmap>

inline constexpr int kGlyphSize = 20;

enum class TGlyph {
    // File group.
    New, Open, Save, Vectorize, Settings, About, Exit, Cnc,
    // View group.
    ZoomExtents, ZoomOut, ZoomIn, ZoomWindow, Pan, Redraw,
    // Draw group.
    Rectangle, Polyline, Spline, VectorText, Circle, Line, Point,
    // Modify group.
    Fillet, Translate, Delete, Info,
    // Status row.
    Ortho, Axes, WindowSelect, Grid, Stop, Accept,
};

// The glyph at size x size pixels (drawn on the 20 x 20 grid, scaled).
QPixmap GlyphPixmap(TGlyph glyph, int size = kGlyphSize);
// The glyph at its own size and at twice that for dense screens.
QIcon GlyphIcon(TGlyph glyph);

// The snap button's image list, indices 7 to 18 (SnapGlyphIndex): off,
// end point, midpoint, centre, point and automatic, each followed by its
// picture with the grid behind it. Other indices give a null pixmap.
QPixmap SnapGlyphPixmap(int index, int size = kGlyphSize);
QIcon SnapGlyphIcon(int index);

// The pictures of the drawing and editing commands by the key each command
// has in the recently-used bar and on the split buttons (0 to 42; 0 is the
// circle button's own picture). A key no command uses gives a null pixmap.
inline constexpr int kCommandGlyphCount = 43;
QPixmap CommandGlyphPixmap(int key, int size = kGlyphSize);
QIcon CommandGlyphIcon(int key);
