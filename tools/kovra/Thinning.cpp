#include "Thinning.h"

#include <array>
#include <bit>

namespace {

// Per neighbourhood, bit 0 set when step 0 of the thinning removes the
// middle pixel, bit 1 when step 1 does.
constexpr std::array<std::uint8_t, 256> RemovalTable()
{
    std::array<std::uint8_t, 256> table{};
    for (unsigned b = 0; b < 256; ++b) {
        const int count = std::popcount(b);
        if (count < 2 || count > 6 || Transitions(static_cast<std::uint8_t>(b)) != 1)
            continue;
        const bool n = b & 1, e = b & 4, s = b & 16, w = b & 64;
        if (!((n && e && s) || (e && s && w)))
            table[b] |= 1;
        if (!((n && e && w) || (n && s && w)))
            table[b] |= 2;
    }
    return table;
}
constexpr std::array<std::uint8_t, 256> kRemoval = RemovalTable();

} // namespace

TGrid::TGrid(const TInkBitmap& bitmap)
    : Width(bitmap.Width + 2), Height(bitmap.Height + 2), Cells(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height), 0)
{
    for (int y = 0; y < bitmap.Height; ++y) {
        const std::uint64_t* words = &bitmap.Words[static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.WordsPerRow)];
        std::uint8_t* row = &Cells[At(1, y + 1)];
        for (int x = 0; x < bitmap.Width; ++x)
            row[x] = static_cast<std::uint8_t>((words[x / 64] >> (63 - x % 64)) & 1u);
    }
}

// Whether a step removes a pixel depends on the pixel and its eight
// neighbours alone, so a pixel that a step kept stays kept by that step until
// a neighbour goes. Each step therefore looks only at the pixels it would
// remove at the start and at the neighbours of pixels removed since it last
// looked: it removes exactly what a step over the whole picture would, and
// the work follows the shrinking border instead of the whole ink each pass.
std::size_t Thin(TGrid& grid)
{
    std::size_t looks = 0;
    constexpr std::uint8_t kWaiting[2] = {2, 4};
    const std::ptrdiff_t up = grid.Width;
    const std::ptrdiff_t around[8] = {up, up + 1, 1, 1 - up, -up, -up - 1, -1, up - 1};
    std::vector<std::size_t> waiting[2];
    for (int y = 1; y < grid.Height - 1; ++y)
        for (std::size_t cell = grid.At(1, y), end = grid.At(grid.Width - 1, y); cell < end; ++cell) {
            if (!(grid.Cells[cell] & kInk))
                continue;
            ++looks;
            const std::uint8_t removal = kRemoval[NeighbourBits(grid, cell)];
            for (int step = 0; step < 2; ++step)
                if (removal & (1u << step)) {
                    grid.Cells[cell] |= kWaiting[step];
                    waiting[step].push_back(cell);
                }
        }
    std::vector<std::size_t> doomed;
    for (bool changed = true; changed;) {
        changed = false;
        for (int step = 0; step < 2; ++step) {
            doomed.clear();
            for (std::size_t cell : waiting[step]) {
                std::uint8_t& value = grid.Cells[cell];
                value = static_cast<std::uint8_t>(value & ~kWaiting[step]);
                if (!(value & kInk))
                    continue;
                ++looks;
                if (kRemoval[NeighbourBits(grid, cell)] & (1u << step))
                    doomed.push_back(cell);
            }
            waiting[step].clear();
            for (std::size_t cell : doomed)
                grid.Cells[cell] = 0;
            for (std::size_t cell : doomed)
                for (std::ptrdiff_t offset : around) {
                    const std::size_t next = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(cell) + offset);
                    std::uint8_t& value = grid.Cells[next];
                    if (!(value & kInk))
                        continue;
                    for (int s = 0; s < 2; ++s)
                        if (!(value & kWaiting[s])) {
                            value |= kWaiting[s];
                            waiting[s].push_back(next);
                        }
                }
            changed = changed || !doomed.empty();
        }
    }
    return looks;
}
