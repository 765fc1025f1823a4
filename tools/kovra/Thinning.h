#pragma once

// Thinning the ink to a skeleton one pixel wide, the first step of the
// centre lines, and the byte grid it works in.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Trace.h"

// The picture in a byte grid with a one-pixel empty border, so that every
// pixel has eight neighbours to look at. A cell is 1 for ink and 0 for none
// once the thinning is done; during it, two more bits mark the cells waiting
// to be looked at by each of its two steps.
class TGrid {
public:
    explicit TGrid(const TInkBitmap& bitmap);
    int Width;
    int Height;
    std::vector<std::uint8_t> Cells;
    std::size_t At(int x, int y) const { return static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x); }
};

inline constexpr std::uint8_t kInk = 1;

// Neighbour offsets in turning order N, NE, E, SE, S, SW, W, NW (y up).
inline constexpr int kDx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
inline constexpr int kDy[8] = {1, 1, 0, -1, -1, -1, 0, 1};

// The ink of a cell's eight neighbours, bit k for direction k.
inline std::uint8_t NeighbourBits(const TGrid& grid, std::size_t cell)
{
    const std::uint8_t* c = &grid.Cells[cell];
    const std::ptrdiff_t up = grid.Width;
    const auto ink = [](std::uint8_t v) { return static_cast<unsigned>(v & kInk); };
    return static_cast<std::uint8_t>(ink(c[up]) | ink(c[up + 1]) << 1 | ink(c[1]) << 2 | ink(c[1 - up]) << 3 |
                                     ink(c[-up]) << 4 | ink(c[-up - 1]) << 5 | ink(c[-1]) << 6 | ink(c[up - 1]) << 7);
}

// How many times the neighbours turn from empty to ink going round once.
constexpr int Transitions(std::uint8_t bits)
{
    int count = 0;
    for (int k = 0; k < 8; ++k)
        if (!(bits & (1u << k)) && (bits & (1u << ((k + 1) % 8))))
            ++count;
    return count;
}

// Zhang and Suen's two-step parallel thinning, repeated until a pass removes
// nothing. Gives how many times a pixel's neighbourhood was looked at: the
// work done, which grows with the ink, not with the ink times the passes.
std::size_t Thin(TGrid& grid);
