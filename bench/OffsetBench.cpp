// Whole contour passes of closed chains (offset, intersection splitting,
// removal of gouging pieces and the loop walk), each beside the same offset
// by Clipper (round joins, coordinates scaled to integers). Every row
// reports our time, Clipper's time and their ratio (ours over Clipper's) as
// counters, and a table of them is printed at the end; the timed figure of a
// row is ours. Both results are clean loops: a row whose loops differ from
// Clipper's in count or area (beyond its chords) fails, so that a lost loop
// cannot pass for a speed-up.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include "support/ClipperRoundOffset.h"
#include "support/PassReference.h"
#include "support/RandomStar.h"
#include "cam/toolpath/Toolpaths.h"

namespace {

constexpr double PI = std::numbers::pi;

using Clock = std::chrono::steady_clock;

TChain Polyline(const TPointList& points)
{
    TChain chain;
    chain.reserve(points.size());
    for (std::size_t k = 0; k < points.size(); ++k)
        chain.push_back(MakeElement(points[k], points[(k + 1) % points.size()]));
    return chain;
}

TChain RegularPolygon(int corners, double radius)
{
    TPointList points;
    for (int k = 0; k < corners; ++k) {
        const double angle = 2 * PI * k / corners;
        points.push_back({radius * std::cos(angle), radius * std::sin(angle)});
    }
    return Polyline(points);
}

// A bar of height 3 with teeth of the given width and height 5 on top,
// counter-clockwise.
TChain Comb(int teeth, double toothWidth, double gap)
{
    const double base = 3.0;
    const double height = 5.0;
    const double length = teeth * (toothWidth + gap) + gap;
    TPointList points{{0, 0}, {length, 0}, {length, base}};
    for (int t = teeth - 1; t >= 0; --t) {
        const double left = gap + t * (toothWidth + gap);
        points.push_back({left + toothWidth, base});
        points.push_back({left + toothWidth, base + height});
        points.push_back({left, base + height});
        points.push_back({left, base});
    }
    points.push_back({0, base});
    return Polyline(points);
}

// A bar of height 3 whose top is a saw of the given pitch and height 5.
TChain Zigzag(int teeth, double pitch)
{
    const double base = 3.0;
    const double height = 5.0;
    TPointList points{{0, 0}, {teeth * pitch, 0}, {teeth * pitch, base}};
    for (int t = teeth - 1; t >= 0; --t) {
        points.push_back({t * pitch + pitch / 2, base + height});
        points.push_back({t * pitch, base});
    }
    return Polyline(points);
}

TChain BulgeCircle(int arcs, double radius)
{
    const double bulge = std::tan(2 * PI / arcs / 4);
    TChain chain;
    for (int k = 0; k < arcs; ++k) {
        const double a0 = 2 * PI * k / arcs;
        const double a1 = 2 * PI * (k + 1) / arcs;
        chain.push_back(MakeElement({radius * std::cos(a0), radius * std::sin(a0)},
                                    {radius * std::cos(a1), radius * std::sin(a1)}, bulge));
    }
    return chain;
}

// A regular polygon of sides about 6 long whose corners are rounded by
// tangent fillets over a quarter of each side, every point rounded to 3
// decimals as a drawing file stores it: the fillets meet the sides a hair
// off tangent.
TChain FilletedPolygon(int corners)
{
    const auto rounded = [](TVect p) { return TVect{std::round(p.X * 1000) / 1000, std::round(p.Y * 1000) / 1000}; };
    const double radius = corners;
    const double turn = 2 * PI / corners;
    const double cut = radius * std::sin(turn / 2) / 4;
    TPointList points;
    for (int k = 0; k < corners; ++k) {
        const double angle = turn * k;
        const TVect corner{radius * std::cos(angle), radius * std::sin(angle)};
        const TVect in{-std::sin(angle - turn / 2), std::cos(angle - turn / 2)};
        const TVect out{-std::sin(angle + turn / 2), std::cos(angle + turn / 2)};
        points.push_back(rounded({corner.X - in.X * cut, corner.Y - in.Y * cut}));
        points.push_back(rounded({corner.X + out.X * cut, corner.Y + out.Y * cut}));
    }
    TChain chain;
    for (std::size_t k = 0; k < points.size(); ++k)
        chain.push_back(MakeElement(points[k], points[(k + 1) % points.size()], k % 2 == 0 ? std::tan(turn / 4) : 0.0));
    return chain;
}

struct TCase {
    std::string Name;
    // The row's size: 10^3, 10^4 or 10^5 corners, teeth, arcs or points.
    int Size;
    // Run on the row's first use, so that a filtered run or a profile of one
    // row pays only for the inputs it selects.
    std::function<TChain()> Build;
    // Positive is to the left of travel: inwards for these counter-clockwise shapes.
    double Offset;
};

// Fixed repetitions: Clipper's time is not the timed figure, and on the
// largest inputs it takes seconds, which an automatic count would multiply.
int RepetitionsFor(int size)
{
    return size >= 10000 ? 3 : 20;
}

struct TRow {
    std::string Name;
    double OursMs;
    double ClipperMs;
    std::size_t Loops;
};

// Printed when the program ends, after Google Benchmark's own report.
class TRatioTable {
public:
    ~TRatioTable()
    {
        if (Rows.empty())
            return;
        std::printf("\n%-28s %14s %12s %6s %10s\n", "shape/elements", "ours", "Clipper", "loops", "ratio");
        for (const TRow& row : Rows) {
            std::printf("%-28s %11.3f ms %9.3f ms %6zu %10.4f\n", row.Name.c_str(), row.OursMs, row.ClipperMs,
                        row.Loops, row.ClipperMs > 0.0 ? row.OursMs / row.ClipperMs : 0.0);
        }
    }
    std::vector<TRow> Rows;
};

TRatioTable Table;

void RunCase(benchmark::State& state, const TCase& c, const TChain& chain)
{
    const ClipperLib::Path path = ToClipperPath(chain);
    double ours = 0.0;
    double clipper = 0.0;
    std::vector<TChain> loops;
    std::size_t clipperPoints = 0;
    for (auto _ : state) {
        loops.clear();
        const Clock::time_point start = Clock::now();
        const TCamFailure failure = OffsetPass(chain, c.Offset, loops);
        const Clock::time_point walked = Clock::now();
        const ClipperLib::Paths solution = ClipperRoundOffset(path, c.Offset);
        const Clock::time_point done = Clock::now();

        const double oursSeconds = std::chrono::duration<double>(walked - start).count();
        state.SetIterationTime(oursSeconds);
        ours += oursSeconds;
        clipper += std::chrono::duration<double>(done - walked).count();
        clipperPoints = 0;
        for (const ClipperLib::Path& p : solution)
            clipperPoints += p.size();
        benchmark::DoNotOptimize(loops.data());
        benchmark::DoNotOptimize(solution.data());
        if (failure != TCamFailure::None) {
            state.SkipWithError("the pass failed");
            return;
        }
    }
    // The last run's loops against Clipper's, untimed.
    if (!PassAgreesWithClipper({chain, {}}, c.Offset, loops)) {
        state.SkipWithError("the loops differ from Clipper's in count or area");
        return;
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["elements"] = static_cast<double>(chain.size());
    state.counters["loops"] = static_cast<double>(loops.size());
    state.counters["clipper_points"] = static_cast<double>(clipperPoints);
    state.counters["ours_ms"] = ours / iterations * 1000.0;
    state.counters["clipper_ms"] = clipper / iterations * 1000.0;
    state.counters["ours_per_clipper"] = clipper > 0.0 ? ours / clipper : 0.0;
    Table.Rows.push_back({c.Name, ours / iterations * 1000.0, clipper / iterations * 1000.0, loops.size()});
}

void RegisterCase(TCase c)
{
    const std::string name = "OffsetAndSplit/" + c.Name;
    const int repetitions = RepetitionsFor(c.Size);
    benchmark::RegisterBenchmark(name.c_str(),
                                 [c = std::move(c), chain = std::optional<TChain>()](benchmark::State& state) mutable {
                                     if (!chain)
                                         chain = c.Build();
                                     RunCase(state, c, *chain);
                                 })
        ->UseManualTime()
        ->Iterations(repetitions)
        ->Unit(benchmark::kMillisecond);
}

[[maybe_unused]] const bool Registered = [] {
    for (const int corners : {1000, 10000, 100000}) {
        const std::string n = std::to_string(corners);
        const auto polygon = [corners] { return RegularPolygon(corners, 100.0); };
        RegisterCase({"polygon_in/" + n, corners, polygon, 5.0});
        RegisterCase({"polygon_out/" + n, corners, polygon, -5.0});
    }
    // Teeth 0.8 wide against an offset of 1: every tooth vanishes inwards.
    for (const int teeth : {1000, 10000}) {
        const std::string n = std::to_string(teeth);
        const auto comb = [teeth] { return Comb(teeth, 0.8, 1.2); };
        RegisterCase({"comb_in/" + n, teeth, comb, 1.0});
        RegisterCase({"comb_out/" + n, teeth, comb, -1.0});
        RegisterCase({"zigzag_in/" + n, teeth, [teeth] { return Zigzag(teeth, 0.8); }, 1.0});
    }
    for (const int arcs : {1000, 10000}) {
        const std::string n = std::to_string(arcs);
        const auto circle = [arcs] { return BulgeCircle(arcs, 100.0); };
        RegisterCase({"bulge_circle_in/" + n, arcs, circle, 5.0});
        RegisterCase({"bulge_circle_out/" + n, arcs, circle, -5.0});
    }
    for (const int points : {1000, 10000}) {
        const std::string n = std::to_string(points);
        const auto star = [points] { return RandomStar(27, points); };
        RegisterCase({"random_star_in/" + n, points, star, 1.0});
        RegisterCase({"random_star_out/" + n, points, star, -1.0});
    }
    // Half as many corners as elements, each with its fillet.
    for (const int elements : {1000, 10000}) {
        const std::string n = std::to_string(elements);
        const auto filleted = [elements] { return FilletedPolygon(elements / 2); };
        RegisterCase({"fillets_3dec_in/" + n, elements, filleted, 5.0});
        RegisterCase({"fillets_3dec_out/" + n, elements, filleted, -5.0});
    }
    return true;
}();

} // namespace
