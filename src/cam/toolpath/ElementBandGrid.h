#pragma once

// A uniform grid over a list of elements, for the searches that must find
// the elements running near another one.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "cam/chains/ChainElement.h"
#include "cam/toolpath/ElementBoxTree.h"

// Each element is filed in the cells that the band around it passes through
// (a straight one) or that its box covers (an arc). Long slanted elements
// cover few cells of their large boxes, so a search meets only the elements
// that really run near it.
class TElementBandGrid {
public:
    // The boxes are the elements' own; the band of a straight element is
    // room wide on either side.
    TElementBandGrid(const std::vector<TElementBox>& extents, const TChain& elements, double straightRoom);

    // Calls visit(index) once for every element filed in a cell that the
    // element's band (straight) or box (arc), grown by room, touches.
    template <typename Visitor>
    void Visit(const TChainElement& e, const TElementBox& box, double room, Visitor&& visit);

private:
    template <typename Cell>
    void ForCells(const TChainElement& e, const TElementBox& box, double room, Cell&& cell) const;

    double MinX = 0.0;
    double MinY = 0.0;
    double CellSize = 1.0;
    int Columns = 1;
    int Rows = 1;
    // Each cell's elements: CellStart[c] to CellStart[c + 1] in CellItems.
    std::vector<int> CellStart;
    std::vector<int> CellItems;
    std::vector<std::uint32_t> CellStamp;
    std::vector<std::uint32_t> ItemStamp;
    std::uint32_t Stamp = 0;
};

// A straight element is walked in steps no longer than a cell, each step's
// box grown by room: together they cover the band. Steps overlap, so a cell
// may come more than once. An arc gives its
// box grown by room.
template <typename Cell>
void TElementBandGrid::ForCells(const TChainElement& e, const TElementBox& box, double room, Cell&& cell) const
{
    const auto cover = [&](double x0, double y0, double x1, double y1) {
        const auto column = [&](double x) {
            return std::clamp(static_cast<int>(std::floor((x - MinX) / CellSize)), 0, Columns - 1);
        };
        const auto row = [&](double y) {
            return std::clamp(static_cast<int>(std::floor((y - MinY) / CellSize)), 0, Rows - 1);
        };
        const int c0 = column(x0 - room);
        const int c1 = column(x1 + room);
        const int r0 = row(y0 - room);
        const int r1 = row(y1 + room);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                cell(r * Columns + c);
    };
    if (!IsStraight(e)) {
        cover(box.MinX, box.MinY, box.MaxX, box.MaxY);
        return;
    }
    const double length = std::hypot(e.X2 - e.X1, e.Y2 - e.Y1);
    const int steps = std::max(1, static_cast<int>(std::ceil(length / CellSize)));
    for (int k = 0; k < steps; ++k) {
        const double t0 = static_cast<double>(k) / steps;
        const double t1 = static_cast<double>(k + 1) / steps;
        const double x0 = e.X1 + (e.X2 - e.X1) * t0;
        const double y0 = e.Y1 + (e.Y2 - e.Y1) * t0;
        const double x1 = k + 1 == steps ? e.X2 : e.X1 + (e.X2 - e.X1) * t1;
        const double y1 = k + 1 == steps ? e.Y2 : e.Y1 + (e.Y2 - e.Y1) * t1;
        cover(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1));
    }
}

template <typename Visitor>
void TElementBandGrid::Visit(const TChainElement& e, const TElementBox& box, double room, Visitor&& visit)
{
    if (++Stamp == 0) {
        std::fill(ItemStamp.begin(), ItemStamp.end(), 0);
        std::fill(CellStamp.begin(), CellStamp.end(), 0);
        Stamp = 1;
    }
    ForCells(e, box, room, [&](int cell) {
        if (CellStamp[cell] == Stamp)
            return;
        CellStamp[cell] = Stamp;
        for (int k = CellStart[cell]; k < CellStart[cell + 1]; ++k) {
            const int element = CellItems[k];
            if (ItemStamp[element] != Stamp) {
                ItemStamp[element] = Stamp;
                visit(element);
            }
        }
    });
}
