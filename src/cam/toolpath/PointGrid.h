#pragma once

// Finds the items stored at a point within the equality tolerance without
// scanning them all: items go into square cells larger than the tolerance,
// so that any point equal to a query lies in the query's cell or a
// neighbour of it. The cells live in one open-addressed table and each
// cell's items in one list of links, so that adding an item allocates
// nothing once the table has grown to the number of items, and forgetting
// everything takes constant time.

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "cad/geometry/CADBaseTypes.h"
#include "cad/geometry/VectorHelpers.h"

class TPointGrid {
public:
    // Room for the given number of items before the table grows.
    explicit TPointGrid(std::size_t items = 0)
    {
        Grow(items);
        Items.reserve(items);
    }

    // Items are numbered from 0 in the order they are added.
    std::uint32_t Size() const { return static_cast<std::uint32_t>(Items.size()); }

    void Add(TVect point)
    {
        const TKey key = KeyOf(point.X, point.Y);
        if (2 * (Items.size() + 1) > Slots.size())
            Grow(Items.size() + 1);
        TSlot& slot = Claim(key);
        Items.push_back({key, slot.Stamp == Stamp ? slot.Head : NONE});
        slot.Stamp = Stamp;
        slot.Head = Size() - 1;
    }

    // Every item stored in the cells a point equal to the given one can lie
    // in, in no particular order; the caller tests the exact distance.
    template <typename Visit>
    void ForEachNear(TVect point, Visit visit) const
    {
        if (Items.empty())
            return;
        std::int64_t fromX = 0;
        std::int64_t toX = 0;
        std::int64_t fromY = 0;
        std::int64_t toY = 0;
        CellsAround(point.X, fromX, toX);
        CellsAround(point.Y, fromY, toY);
        for (std::int64_t x = fromX; x <= toX; ++x) {
            for (std::int64_t y = fromY; y <= toY; ++y) {
                const TSlot* slot = Find({x, y});
                if (slot == nullptr)
                    continue;
                for (std::uint32_t id = slot->Head; id != NONE; id = Items[id].Next)
                    visit(id);
            }
        }
    }

    // Forgets every item; the table keeps its size.
    void Clear()
    {
        Items.clear();
        if (++Stamp == 0) {
            for (TSlot& slot : Slots)
                slot.Stamp = 0;
            Stamp = 1;
        }
    }

private:
    // Cells 0.001 wide, twenty times the equality tolerance of 0.00005: a
    // point and the tolerance around it mostly fall in one cell.
    static constexpr double PER_CELL = 1000.0;
    static constexpr double REACH = 0.00005 * 1.01;
    static constexpr double NARROW_LIMIT = 1e8;
    // Cell numbers are kept well inside the integer range, so that a
    // neighbour's number never overflows; such far points share cells.
    static constexpr double CELL_LIMIT = 4.0e18;
    static constexpr std::uint32_t NONE = 0xFFFFFFFF;

    struct TKey {
        std::int64_t X;
        std::int64_t Y;
        bool operator==(const TKey&) const = default;
    };
    struct TSlot {
        TKey Key{};
        std::uint32_t Head = NONE;
        // The slot is in use when this is the grid's stamp.
        std::uint32_t Stamp = 0;
    };
    struct TItem {
        TKey Cell;
        // The item added before it to the same cell.
        std::uint32_t Next;
    };

    // The cell of a coordinate, floor(v * PER_CELL) kept within the limit,
    // written out because std::floor is a library call on the baseline
    // instruction set.
    static std::int64_t CellOf(double v)
    {
        const double q = v * PER_CELL;
        // Not a number, or beyond the limit: the comparisons send it to an end.
        if (!(q > -CELL_LIMIT))
            return static_cast<std::int64_t>(-CELL_LIMIT);
        if (!(q < CELL_LIMIT))
            return static_cast<std::int64_t>(CELL_LIMIT);
        return FloorOf(q);
    }
    // floor(q) for a q within the limit.
    static std::int64_t FloorOf(double q)
    {
        const auto toZero = static_cast<std::int64_t>(q);
        return q < static_cast<double>(toZero) ? toZero - 1 : toZero;
    }
    // The cells of the values within the tolerance of v: one, seldom two.
    // A hundredth of the tolerance to spare covers the rounding of those
    // values' cell coordinates; far from the origin, where that would not,
    // the cell and both its neighbours are taken.
    static void CellsAround(double v, std::int64_t& first, std::int64_t& last)
    {
        if (std::abs(v) < NARROW_LIMIT) {
            // Within the limit the cell coordinate needs no clamping.
            const double q = v * PER_CELL;
            const std::int64_t cell = FloorOf(q);
            const double within = q - static_cast<double>(cell);
            first = within < REACH * PER_CELL ? cell - 1 : cell;
            last = within > 1.0 - REACH * PER_CELL ? cell + 1 : cell;
            return;
        }
        const std::int64_t cell = CellOf(v);
        first = cell - 1;
        last = cell + 1;
    }
    static TKey KeyOf(double x, double y) { return {CellOf(x), CellOf(y)}; }

    std::size_t Home(const TKey& key) const
    {
        const std::uint64_t h = static_cast<std::uint64_t>(key.X) * 0x9E3779B97F4A7C15ULL ^
                                static_cast<std::uint64_t>(key.Y) * 0xC2B2AE3D27D4EB4FULL;
        return static_cast<std::size_t>((h ^ (h >> 29)) & (Slots.size() - 1));
    }

    const TSlot* Find(const TKey& key) const
    {
        for (std::size_t k = Home(key);; k = (k + 1) & (Slots.size() - 1)) {
            const TSlot& slot = Slots[k];
            if (slot.Stamp != Stamp)
                return nullptr;
            if (slot.Key == key)
                return &slot;
        }
    }

    // The slot of the cell, taken when the cell is new.
    TSlot& Claim(const TKey& key)
    {
        for (std::size_t k = Home(key);; k = (k + 1) & (Slots.size() - 1)) {
            TSlot& slot = Slots[k];
            if (slot.Stamp != Stamp) {
                slot.Key = key;
                return slot;
            }
            if (slot.Key == key)
                return slot;
        }
    }

    // At least twice as many slots as items, so that probes stay short.
    void Grow(std::size_t items)
    {
        const std::size_t size = std::bit_ceil(std::max<std::size_t>(2 * items, 16));
        if (size <= Slots.size())
            return;
        Slots.assign(size, TSlot{});
        Stamp = 1;
        // The links stay as they are; only the heads move.
        for (std::uint32_t id = 0; id < Size(); ++id) {
            TSlot& slot = Claim(Items[id].Cell);
            slot.Stamp = Stamp;
            slot.Head = id;
        }
    }

    std::vector<TSlot> Slots;
    std::vector<TItem> Items;
    std::uint32_t Stamp = 1;
};
