#pragma once

// Finds the items stored at a point within the equality tolerance without
// scanning them all: items go into square cells a little larger than the
// tolerance, so that any point equal to a query lies in the query's cell or
// one of its eight neighbours.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "cad/geometry/CADBaseTypes.h"

class TPointGrid {
public:
    void Add(TVect point, std::uint32_t id) { Cells[KeyOf(point.X, point.Y)].push_back(id); }

    // Every id stored in the cells a point equal to the given one can lie
    // in, cell by cell, each in the order it was added; the caller tests
    // the exact distance.
    template <typename Visit>
    void ForEachNear(TVect point, Visit visit) const
    {
        std::int64_t fromX = 0;
        std::int64_t toX = 0;
        std::int64_t fromY = 0;
        std::int64_t toY = 0;
        CellsAround(point.X, fromX, toX);
        CellsAround(point.Y, fromY, toY);
        for (std::int64_t x = fromX; x <= toX; ++x) {
            for (std::int64_t y = fromY; y <= toY; ++y) {
                const auto it = Cells.find({x, y});
                if (it == Cells.end())
                    continue;
                for (const std::uint32_t id : it->second)
                    visit(id);
            }
        }
    }

    // Forgets the cell of the point with everything in it.
    void ForgetCell(TVect point) { Cells.erase(KeyOf(point.X, point.Y)); }

private:
    // Twice the equality tolerance of 0.00005.
    static constexpr double CELL = 0.0001;
    static constexpr double REACH = 0.00005 * 1.01;
    static constexpr double NARROW_LIMIT = 1e8;

    struct TKey {
        std::int64_t X;
        std::int64_t Y;
        bool operator==(const TKey&) const = default;
    };
    struct THash {
        std::size_t operator()(const TKey& k) const
        {
            return std::hash<std::int64_t>()(k.X * 0x9E3779B97F4A7C15LL ^ k.Y);
        }
    };

    static std::int64_t CellOf(double v) { return static_cast<std::int64_t>(std::floor(v / CELL)); }
    // The cells of the values within the tolerance of v: two, seldom three,
    // where the cell and its two neighbours would be nine lookups for a
    // point. A hundredth of the tolerance to spare covers the rounding of
    // v plus or minus it; far from the origin, where that would not, the
    // neighbours are taken as they are.
    static void CellsAround(double v, std::int64_t& first, std::int64_t& last)
    {
        const std::int64_t cell = CellOf(v);
        first = cell - 1;
        last = cell + 1;
        if (std::abs(v) < NARROW_LIMIT) {
            first = std::max(first, CellOf(v - REACH));
            last = std::min(last, CellOf(v + REACH));
        }
    }
    static TKey KeyOf(double x, double y) { return {CellOf(x), CellOf(y)}; }

    std::unordered_map<TKey, std::vector<std::uint32_t>, THash> Cells;
};
