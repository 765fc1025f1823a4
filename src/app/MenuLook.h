#pragma once

// The arithmetic of the flat menu look: its colour operations, the working
// colours an item is drawn with, the size of an item and the gradient of its
// background, and where a menu button opens its menu. Colours are 0x00BBGGRR
// values; system colours are resolved to plain colours before they get here.

#include <cstdint>

#include "cad/base/Settings.h"

// System colours by their index, as the settings file and the menu store them.
inline constexpr TColor clInactiveCaption = static_cast<TColor>(0xFF000003u);
inline constexpr TColor clMenuText = static_cast<TColor>(0xFF000007u);
inline constexpr TColor clHighlight = static_cast<TColor>(0xFF00000Du);
inline constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000Fu);
inline constexpr TColor clBtnShadow = static_cast<TColor>(0xFF000010u);

// The plain colours of the system colours the menus use.
struct TSystemColors {
    TColor BtnFace = 0xC8D0D4;
    TColor Highlight = 0x6A240A;
    TColor BtnShadow = 0x808080;
    TColor MenuText = 0x000000;
    TColor InactiveCaption = 0x808080;
    TColor Window = 0xFFFFFF;

    // A system colour as its plain colour; plain colours pass unchanged.
    TColor Resolve(TColor color) const;
};

// Each of red, green and blue moved toward 255 by percent (at most 100) of
// its distance to it, rounded half to even.
TColor Lighten(TColor color, int percent);
// amount taken from red and blue, two less from green, each kept within 0 to 255.
TColor Darken(TColor color, int amount);

// The colour properties of the flat menus (system colours allowed).
struct TMenuColorProperties {
    TColor Color = clBtnFace;
    TColor IconBackColor = clBtnFace;
    TColor MenuBarColor = clBtnFace;
    TColor SelectColor = clHighlight;
    TColor SelectBorderColor = clHighlight;
    TColor SelectFontColor = clMenuText;
    TColor DisabledColor = clInactiveCaption;
    TColor SeparatorColor = clBtnFace;
    TColor CheckedColor = clHighlight;
    TColor FontColor = clMenuText;
    bool UseSystemColors = true;
};

// The plain colours one item is drawn with.
struct TMenuWorkingColors {
    TColor Item = 0;
    TColor IconColumn = 0;
    TColor Selection = 0;
    TColor SelectionBorder = 0;
    TColor MenuBar = 0;
    TColor Disabled = 0;
    TColor Checked = 0;
    TColor Separator = 0;
    TColor CheckedArea = 0;
    TColor CheckedAreaSelected = 0;
    TColor Border = 0;
    TColor Shadow = 0;
    TColor Font = 0;
    TColor SelectFont = 0;

    bool operator==(const TMenuWorkingColors&) const = default;
};

// The working colours from the properties; highColor is a display of more
// than 15 bits per pixel. With UseSystemColors the colours come from the
// system colours alone.
TMenuWorkingColors MenuWorkingColors(const TMenuColorProperties& properties, const TSystemColors& system,
                                     bool highColor);

// The percent of lightening of the one-pixel column at x (from the item's
// left edge) of a gradient item: 3 more per column across the icon column
// and 5 pixels beyond it, then 1 more per column, at most 96.
int MenuGradientPercent(int x, int iconWidth);

// What measuring an item needs to know of it, in pixels of its font.
struct TMenuItemMetrics {
    bool Separator = false;
    int CaptionWidth = 0;     // the caption as drawn
    int AmpersandWidth = 0;   // of "&", when the caption holds one (0 otherwise)
    int ShortcutWidth = 0;    // of the shortcut text plus "WWW"; 0 without a shortcut
    int TextHeight = 0;
    int ImageWidth = 0;       // of the item's picture; 0 without one
    int ImageHeight = 0;
    bool OnMenuBar = false;
};

struct TMenuItemSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const TMenuItemSize&) const = default;
};

inline constexpr int kMenuSeparatorHeight = 4;

// The size of an item, grown from the size the platform proposes: a
// separator is 4 pixels high; otherwise the text beside an icon column at
// least iconWidth wide (menu bar items excepted), and one and three quarter
// text heights high, at least the picture and 4 pixels.
TMenuItemSize MeasureMenuItem(const TMenuItemMetrics& item, int iconWidth, TMenuItemSize proposed);

// Corner of a menu button at which its menu opens.
enum class TMenuPlacing { mpTopLeft, mpBottomLeft, mpTopRight, mpBottomRight };

struct TMenuOrigin {
    int X = 0;
    int Y = 0;
    bool operator==(const TMenuOrigin&) const = default;
};

// The corner in the button's own coordinates.
TMenuOrigin MenuPlacingOrigin(TMenuPlacing placing, int width, int height);
