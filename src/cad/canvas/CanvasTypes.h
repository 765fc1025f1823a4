#pragma once

// Pen and brush as the drawing engine stores them (in layers and streams);
// they become Qt pens and brushes only when something is painted.

#include <cstdint>

#include "cad/base/Settings.h"

// Colours are 0x00BBGGRR; negative values name system colours.
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clWindow = static_cast<TColor>(0xFF000005u);

// Stored as one byte each in layer records, in this order.
enum class TPenStyle : std::uint8_t { Solid, Dash, Dot, DashDot, DashDotDot, Clear, InsideFrame };
enum class TPenMode : std::uint8_t {
    Black, White, Nop, Not, Copy, NotCopy, MergePenNot, MaskPenNot,
    MergeNotPen, MaskNotPen, Merge, NotMerge, Mask, NotMask, Xor, NotXor
};
enum class TBrushStyle : std::uint8_t { Solid, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };

struct TPenState {
    TColor Color = clBlack;
    TPenStyle Style = TPenStyle::Solid;
    TPenMode Mode = TPenMode::Copy;
    std::int32_t Width = 1;

    bool operator==(const TPenState&) const = default;
};

struct TBrushState {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::Solid;

    bool operator==(const TBrushState&) const = default;
};
