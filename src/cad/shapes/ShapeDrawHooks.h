#pragma once

// What the shapes tell the main window while they are drawn or edited: the
// live dimensions of a curve being built (written into labels of the drawing
// pages) and the data of every line drawn. Nothing happens until the shell
// sets the functions.

#include <functional>
#include <string>

#include "cad/geometry/CADBaseTypes.h"

// The labels of the drawing-command pages that the curves write into.
inline constexpr const char* nol_stxEllisseW = "nol_stxEllisseW";
inline constexpr const char* nol_stxEllisseH = "nol_stxEllisseH";
inline constexpr const char* nol_stxRettangoloW = "nol_stxRettangoloW";
inline constexpr const char* nol_stxRettangoloH = "nol_stxRettangoloH";
inline constexpr const char* nol_stxArcctptsaeaRaggio = "nol_stxArcctptsaeaRaggio";
inline constexpr const char* nol_stxArcctptsaea_sa = "nol_stxArcctptsaea_sa";
inline constexpr const char* nol_stxArcctptsaea_Ea = "nol_stxArcctptsaea_Ea";
inline constexpr const char* nol_stxRaggio = "nol_stxRaggio";

struct TShapeDrawHooks {
    // A label (one of the names above) gets a new text.
    std::function<void(const char* label, const std::string& text)> SetLabel;
    // A line was drawn; its two control points, untransformed.
    std::function<void(TPoint2D first, TPoint2D second)> InfoLinea;
};

TShapeDrawHooks& ShapeDrawHooks();

// Writes the value into the label as "%0.4f" (always with '.'), when a shell listens.
void ShowShapeLabel(const char* label, double value);
