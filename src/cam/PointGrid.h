#pragma once

// Finds the items stored at a point within the equality tolerance without
// scanning them all: items go into square cells a little larger than the
// tolerance, so that any point equal to a query lies in the query's cell or
// one of its eight neighbours.

#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "cad/geometry/CADBaseTypes.h"

class TPointGrid {
public:
    void Add(TVect point, std::uint32_t id) { Cells[KeyOf(point.X, point.Y)].push_back(id); }

    // Every id stored in the cells around the point, cell by cell, each in
    // the order it was added; the caller tests the exact distance.
    template <typename Visit>
    void ForEachNear(TVect point, Visit visit) const
    {
        const std::int64_t cx = CellOf(point.X);
        const std::int64_t cy = CellOf(point.Y);
        for (std::int64_t x = cx - 1; x <= cx + 1; ++x) {
            for (std::int64_t y = cy - 1; y <= cy + 1; ++y) {
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
    static TKey KeyOf(double x, double y) { return {CellOf(x), CellOf(y)}; }

    std::unordered_map<TKey, std::vector<std::uint32_t>, THash> Cells;
};
