// The tracer's thinning looks only at the pixels that can change, and still
// leaves exactly the skeleton that scanning the whole picture on every step
// leaves, with work that grows with the ink instead of the ink times the passes.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include "Thinning.h"

namespace {

TInkBitmap Bitmap(int width, int height, const std::function<bool(int, int)>& ink)
{
    TInkBitmap bitmap;
    bitmap.Width = width;
    bitmap.Height = height;
    bitmap.WordsPerRow = (width + 63) / 64;
    bitmap.Words.assign(static_cast<std::size_t>(bitmap.WordsPerRow) * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (ink(x, y))
                bitmap.Words[static_cast<std::size_t>(y) * bitmap.WordsPerRow + x / 64] |= std::uint64_t{1} << (63 - x % 64);
    return bitmap;
}

// Zhang and Suen's thinning as it is usually written: every step looks at
// every pixel of the picture, until a pass removes nothing.
std::size_t ThinByWholeScans(TGrid& grid)
{
    std::size_t looks = 0;
    std::vector<std::size_t> doomed;
    for (bool changed = true; changed;) {
        changed = false;
        for (int step = 0; step < 2; ++step) {
            doomed.clear();
            for (int y = 1; y < grid.Height - 1; ++y)
                for (int x = 1; x < grid.Width - 1; ++x) {
                    const std::size_t cell = grid.At(x, y);
                    if (!grid.Cells[cell])
                        continue;
                    ++looks;
                    const std::uint8_t b = NeighbourBits(grid, cell);
                    const int count = std::popcount(b);
                    if (count < 2 || count > 6 || Transitions(b) != 1)
                        continue;
                    const bool n = b & 1, e = b & 4, s = b & 16, w = b & 64;
                    if (step == 0 ? (n && e && s) || (e && s && w) : (n && e && w) || (n && s && w))
                        continue;
                    doomed.push_back(cell);
                }
            for (std::size_t cell : doomed)
                grid.Cells[cell] = 0;
            changed = changed || !doomed.empty();
        }
    }
    return looks;
}

TEST(TracerThinning, LeavesTheWholeScanSkeletonWithWorkThatGrowsWithTheInk)
{
    std::mt19937 random(39);
    std::vector<bool> blobs(300 * 200);
    for (int i = 0; i < 60; ++i) {
        const int cx = static_cast<int>(random() % 300), cy = static_cast<int>(random() % 200);
        const int r = 2 + static_cast<int>(random() % 25);
        for (int y = std::max(0, cy - r); y < std::min(200, cy + r); ++y)
            for (int x = std::max(0, cx - r); x < std::min(300, cx + r); ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r)
                    blobs[static_cast<std::size_t>(y) * 300 + x] = true;
    }
    struct TCase {
        const char* Name;
        TInkBitmap Picture;
    };
    const TCase cases[] = {
        {"all black", Bitmap(400, 300, [](int, int) { return true; })},
        {"black with holes", Bitmap(300, 300, [](int x, int y) {
             return (x - 150) * (x - 150) + (y - 150) * (y - 150) > 900 && (x % 60 < 50 || y % 60 < 50);
         })},
        {"overlapping blobs", Bitmap(300, 200, [&](int x, int y) { return blobs[static_cast<std::size_t>(y) * 300 + x]; })},
        // Blocks of 2 x 2, bars two pixels thick, straight and slanted: what the thinning wears away.
        {"thin strokes", Bitmap(200, 100, [](int x, int y) {
             return (x % 10 < 2 && y % 10 < 2 && y < 40) || (y >= 50 && y < 52) || (y >= 60 && (x - y) % 40 < 2);
         })},
        {"noise", Bitmap(150, 150, [&](int, int) { return random() % 3 == 0; })},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TGrid grid(c.Picture), reference(c.Picture);
        std::size_t ink = 0;
        for (std::uint8_t cell : grid.Cells)
            ink += cell;
        const std::size_t looks = Thin(grid);
        const std::size_t wholeScanLooks = ThinByWholeScans(reference);
        EXPECT_EQ(grid.Cells, reference.Cells);
        // Each ink pixel is looked at a few times as the border passes it,
        // however many passes the thinning takes.
        EXPECT_LE(looks, 6 * ink);
        std::printf("%-18s ink %7zu: looks %9zu (whole scans %10zu)\n", c.Name, ink, looks, wholeScanLooks);
    }
}

} // namespace
