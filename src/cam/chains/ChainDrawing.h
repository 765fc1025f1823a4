#pragma once

// What the view shows over the drawing for the chain page: each chain with
// a direction arrow at its start (and a smaller one pointing to the
// compensation side), or the drill points linked in drilling order. The
// shapes are made here and drawn by the view with their pen, then dropped.

#include <memory>
#include <vector>

#include "cad/base/Settings.h"
#include "cam/chains/ChainElement.h"

class TObject2D;

inline constexpr TColor CHAIN_COLOR = 0xFF0000;      // blue
inline constexpr TColor OPEN_POCKET_COLOR = 0x0000FF; // red
inline constexpr TColor ARROW_COLOR = 0x00FFFF;       // yellow
inline constexpr TColor DRILL_COLOR = 0xFF0000;

struct TChainShape {
    std::unique_ptr<TObject2D> Shape;
    TColor Color = CHAIN_COLOR;
    int PenWidth = 1;
};

// The five points of an arrow at the element's start, `length` long,
// pointing along its start direction.
TPointList ChainArrowPoints(const TChainElement& e, double length);

// The chain's elements (red when `open`), then its arrow; with a side (-1
// left, +1 right, 0 none) a second arrow, 0.6 as large, turned a quarter
// towards that side (the other way when reversed).
std::vector<TChainShape> ChainShapes(const TChain& chain, bool red, double arrowLength, int side, bool reversed);

// A point and a circle of the tool radius at each drill point, a line from
// the one before, and an arrow on the first line.
std::vector<TChainShape> DrillPointShapes(const std::vector<TVect>& points, double radius, double arrowLength);
