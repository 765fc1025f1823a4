#pragma once

// The pieces of a picture's ink: its 8-connected areas, found over the runs
// of ink in each row, with each piece's size and spread.

#include <cstddef>
#include <vector>

#include "Trace.h"

struct TInkPiece {
    // Pixels, and the sums of their centres' coordinates, squares and products.
    double Area = 0.0;
    double SumX = 0.0;
    double SumY = 0.0;
    double SumXX = 0.0;
    double SumYY = 0.0;
    double SumXY = 0.0;
};

class TInkPieces {
public:
    explicit TInkPieces(const TInkBitmap& bitmap);

    std::vector<TInkPiece> Pieces;

    // The piece that holds pixel (x, y), or -1 where the pixel is no ink.
    int PieceAt(int x, int y) const;

private:
    struct TRun {
        int X0 = 0;
        // One past the last pixel.
        int X1 = 0;
        int Piece = 0;
    };
    std::vector<TRun> Runs;
    // Row y's runs are Runs[RowStart[y]] up to Runs[RowStart[y + 1]].
    std::vector<std::size_t> RowStart;
};

// What stands for a piece that left no line of its own: the middle line of
// the stadium with the piece's spread, or its centre when it is about as wide as long.
TTraceLine PieceStandIn(const TInkPiece& piece);
