#include "InkPieces.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numeric>

namespace {

// The sum of (x + 1/2)^2 over x = 0 .. k - 1, for run moments in closed form.
double SquaresBelow(double k)
{
    return k * k * k / 3.0 - k / 12.0;
}

// The first pixel from x on whose ink differs from ink, or width: a word at
// a time, by the count of leading bits that do not differ.
int NextChange(const std::uint64_t* words, int x, int width, bool ink)
{
    while (x < width) {
        const int left = 64 - x % 64;
        const std::uint64_t differ = (ink ? ~words[x / 64] : words[x / 64]) << (x % 64);
        const int same = std::countl_zero(differ);
        if (same < left)
            return std::min(x + same, width);
        x += left;
    }
    return width;
}

std::size_t Root(std::vector<std::size_t>& parent, std::size_t i)
{
    while (parent[i] != i) {
        parent[i] = parent[parent[i]];
        i = parent[i];
    }
    return i;
}

} // namespace

TInkPieces::TInkPieces(const TInkBitmap& bitmap)
{
    RowStart.reserve(static_cast<std::size_t>(bitmap.Height) + 1);
    for (int y = 0; y < bitmap.Height; ++y) {
        RowStart.push_back(Runs.size());
        const std::uint64_t* words = &bitmap.Words[static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.WordsPerRow)];
        for (int x = NextChange(words, 0, bitmap.Width, false); x < bitmap.Width;) {
            const int start = x;
            x = NextChange(words, x, bitmap.Width, true);
            Runs.push_back({start, x, 0});
            x = NextChange(words, x, bitmap.Width, false);
        }
    }
    RowStart.push_back(Runs.size());

    // Runs of neighbouring rows that touch, corners included, join one piece.
    std::vector<std::size_t> parent(Runs.size());
    std::iota(parent.begin(), parent.end(), std::size_t{0});
    for (int y = 1; y < bitmap.Height; ++y) {
        std::size_t below = RowStart[static_cast<std::size_t>(y) - 1];
        const std::size_t belowEnd = RowStart[static_cast<std::size_t>(y)];
        for (std::size_t i = RowStart[static_cast<std::size_t>(y)]; i < RowStart[static_cast<std::size_t>(y) + 1]; ++i) {
            while (below < belowEnd && Runs[below].X1 < Runs[i].X0)
                ++below;
            for (std::size_t j = below; j < belowEnd && Runs[j].X0 <= Runs[i].X1; ++j) {
                const std::size_t a = Root(parent, i), b = Root(parent, j);
                if (a != b)
                    parent[std::max(a, b)] = std::min(a, b);
            }
        }
    }

    std::vector<int> number(Runs.size(), -1);
    for (int y = 0; y < bitmap.Height; ++y)
        for (std::size_t i = RowStart[static_cast<std::size_t>(y)]; i < RowStart[static_cast<std::size_t>(y) + 1]; ++i) {
            const std::size_t root = Root(parent, i);
            if (number[root] < 0) {
                number[root] = static_cast<int>(Pieces.size());
                Pieces.emplace_back();
            }
            TRun& run = Runs[i];
            run.Piece = number[root];
            TInkPiece& piece = Pieces[static_cast<std::size_t>(run.Piece)];
            const double n = run.X1 - run.X0, cy = y + 0.5, sumX = n * (run.X0 + run.X1) / 2.0;
            piece.Area += n;
            piece.SumX += sumX;
            piece.SumY += n * cy;
            piece.SumXX += SquaresBelow(run.X1) - SquaresBelow(run.X0);
            piece.SumYY += n * cy * cy;
            piece.SumXY += sumX * cy;
        }
}

int TInkPieces::PieceAt(int x, int y) const
{
    if (y < 0 || y + 1 >= static_cast<int>(RowStart.size()))
        return -1;
    const auto first = Runs.begin() + static_cast<std::ptrdiff_t>(RowStart[static_cast<std::size_t>(y)]);
    const auto last = Runs.begin() + static_cast<std::ptrdiff_t>(RowStart[static_cast<std::size_t>(y) + 1]);
    const auto run = std::upper_bound(first, last, x, [](int at, const TRun& r) { return at < r.X1; });
    return run != last && run->X0 <= x ? run->Piece : -1;
}

TTraceLine PieceStandIn(const TInkPiece& piece)
{
    const double mx = piece.SumX / piece.Area, my = piece.SumY / piece.Area;
    // The covariance of the pixel centres, each pixel counted as a unit square.
    const double cxx = piece.SumXX / piece.Area - mx * mx + 1.0 / 12.0;
    const double cyy = piece.SumYY / piece.Area - my * my + 1.0 / 12.0;
    const double cxy = piece.SumXY / piece.Area - mx * my;
    const double middle = (cxx + cyy) / 2.0, spread = std::hypot((cxx - cyy) / 2.0, cxy);
    // A rectangle of length L and width W spreads L^2/12 along and W^2/12 across,
    // and the middle line of a stroke that long and wide is L - W long.
    const double length = std::sqrt(12.0 * (middle + spread)), width = std::sqrt(12.0 * std::max(middle - spread, 0.0));
    const double half = (length - width) / 2.0;
    TTraceLine line;
    if (half < 0.5) {
        line.Points.push_back({mx, my});
        return line;
    }
    const double angle = 0.5 * std::atan2(2.0 * cxy, cxx - cyy);
    const double dx = half * std::cos(angle), dy = half * std::sin(angle);
    line.Points.push_back({mx - dx, my - dy});
    line.Points.push_back({mx + dx, my + dy});
    return line;
}
