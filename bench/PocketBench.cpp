// A whole pocket: the square with ten round islands of PocketInput.h, a
// 3 mm tool at 50 % step-over. Our rings and links beside the same rings by
// Clipper: the boundary minus the islands offset inwards by the step until
// nothing is left. The timed figure is ours; both times and their ratio
// are counters and printed at the end. Our rings are checked against
// Clipper's pass by pass, by count and area, so that a lost ring cannot
// pass for a speed-up.

#include <chrono>
#include <cstdio>
#include <vector>

#include <benchmark/benchmark.h>
#include "support/ClipperRoundOffset.h"
#include "support/PassReference.h"
#include "PocketInput.h"
#include "cam/toolpath/Toolpaths.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double TOOL_RADIUS = 1.5;
constexpr double STEP_OVER_PERCENT = 50.0;

// Rings until nothing is left; islands go in as holes (reversed).
std::size_t ClipperRings(const std::vector<TChain>& chains, double radius, double step)
{
    ClipperLib::ClipperOffset offset;
    offset.ArcTolerance = CLIPPER_ARC_TOLERANCE * CLIPPER_SCALE;
    for (std::size_t k = 0; k < chains.size(); ++k) {
        ClipperLib::Path path = ToClipperPath(chains[k]);
        if (k > 0)
            ClipperLib::ReversePath(path);
        offset.AddPath(path, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
    }
    std::size_t rings = 0;
    for (double d = radius;; d += step) {
        ClipperLib::Paths solution;
        offset.Execute(solution, -d * CLIPPER_SCALE);
        if (solution.empty())
            return rings;
        rings += solution.size();
    }
}

// Whether every pass of our pocket has Clipper's rings, untimed.
bool RingsAgreeWithClipper(const std::vector<TChain>& chains, double radius, double step)
{
    std::vector<TPocketGroup> groups = FindOuterChains(chains);
    FindIslands(chains, groups);
    if (groups.size() != 1)
        return false;
    TRegion region{chains.front(), {}};
    for (std::size_t k = 1; k < chains.size(); ++k) {
        region.Islands.push_back(chains[k]);
        ReverseChain(region.Islands.back());
    }
    const TChain source = GroupElements(groups.front(), chains);
    for (double d = radius;; d += step) {
        std::vector<TChain> rings;
        if (ComputePocketPass(groups.front(), chains, source, d, rings) != TCamFailure::None ||
            !PassAgreesWithClipper(region, d, rings))
            return false;
        if (rings.empty())
            return true;
    }
}

struct TResult {
    double OursMs = 0.0;
    double ClipperMs = 0.0;
    std::size_t Paths = 0;
    std::size_t Elements = 0;
    std::size_t ClipperRings = 0;
};

TResult Last;

void Pocket(benchmark::State& state)
{
    const std::vector<TChain> chains = pocketinput::PocketWithIslands();
    TPocketJob job;
    job.OffsetRadius = static_cast<float>(TOOL_RADIUS);
    job.StepOverPercent = STEP_OVER_PERCENT;
    const double step = TOOL_RADIUS * 2.0 * STEP_OVER_PERCENT / 100.0;
    double ours = 0.0;
    double clipper = 0.0;
    // One untimed run of each first: a few timed runs would otherwise average
    // in the first one's growing of the heap, paid by whichever side runs first.
    {
        std::vector<TPocketToolpath> toolpaths;
        PocketToolpaths(chains, job, toolpaths);
        ClipperRings(chains, TOOL_RADIUS, step);
    }
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        std::vector<TPocketToolpath> toolpaths;
        PocketToolpaths(chains, job, toolpaths);
        const Clock::time_point done = Clock::now();
        const std::size_t clipperRings = ClipperRings(chains, TOOL_RADIUS, step);
        const Clock::time_point clipperDone = Clock::now();

        const double oursSeconds = std::chrono::duration<double>(done - start).count();
        state.SetIterationTime(oursSeconds);
        ours += oursSeconds;
        clipper += std::chrono::duration<double>(clipperDone - done).count();
        Last.Paths = 0;
        Last.Elements = 0;
        for (const TPocketToolpath& toolpath : toolpaths) {
            Last.Paths += toolpath.Paths.size();
            for (const TChain& path : toolpath.Paths)
                Last.Elements += path.size();
        }
        Last.ClipperRings = clipperRings;
    }
    if (!RingsAgreeWithClipper(chains, TOOL_RADIUS, step)) {
        state.SkipWithError("the rings differ from Clipper's in count or area");
        return;
    }
    const double iterations = static_cast<double>(state.iterations());
    Last.OursMs = ours / iterations * 1000.0;
    Last.ClipperMs = clipper / iterations * 1000.0;
    state.counters["ours_ms"] = Last.OursMs;
    state.counters["clipper_ms"] = Last.ClipperMs;
    state.counters["ours_per_clipper"] = clipper > 0.0 ? ours / clipper : 0.0;
    state.counters["paths"] = static_cast<double>(Last.Paths);
    state.counters["elements"] = static_cast<double>(Last.Elements);
    state.counters["clipper_rings"] = static_cast<double>(Last.ClipperRings);
}

BENCHMARK(Pocket)->Name("Pocket/300x300_ten_islands")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// Printed when the program ends, after Google Benchmark's own report.
struct TPocketReport {
    ~TPocketReport()
    {
        if (Last.OursMs <= 0.0)
            return;
        std::printf("\npocket 300x300, ten islands: ours %.1f ms (%zu paths, %zu elements), Clipper %.1f ms "
                    "(%zu rings), ratio %.3f\n",
                    Last.OursMs, Last.Paths, Last.Elements, Last.ClipperMs, Last.ClipperRings,
                    Last.ClipperMs > 0.0 ? Last.OursMs / Last.ClipperMs : 0.0);
    }
} Report;

} // namespace
