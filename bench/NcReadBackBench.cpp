// The pocket of the pocket benchmark written as an NC program through the
// default post and read back line by line into the simulation, as the NC
// page steps through it. Beside it, the least any reader must do: split the
// text into lines and convert every number after a letter. The timed figure
// is writing plus reading; the line count and every time are counters and
// printed at the end.

#include <charconv>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include <benchmark/benchmark.h>
#include "PocketInput.h"
#include "cam/nc/NcProgram.h"
#include "cam/simulation/NcSimulation.h"

namespace {

using Clock = std::chrono::steady_clock;

// Every line of the text, each number after a letter converted; gives their sum.
double ScanNumbers(std::string_view text, std::size_t& lines)
{
    double sum = 0.0;
    lines = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        ++lines;
        for (std::size_t k = start; k < end; ++k) {
            if (text[k] < 'A' || text[k] > 'Z')
                continue;
            double value = 0.0;
            const auto result = std::from_chars(text.data() + k + 1, text.data() + end, value);
            if (result.ec == std::errc())
                sum += value;
        }
        start = end + 1;
    }
    return sum;
}

struct TResult {
    std::size_t Lines = 0;
    double WriteMs = 0.0;
    double ReadMs = 0.0;
    double ScanMs = 0.0;
    double MachiningSeconds = 0.0;
};

TResult Last;

void NcReadBack(benchmark::State& state)
{
    const std::vector<TChain> chains = pocketinput::PocketWithIslands();
    const TPostSettings post;
    TPocketJob pocket;
    pocket.OffsetRadius = 1.5f;
    pocket.StepOverPercent = 50.0;
    TDepthJob depth;
    depth.Plan = ComputeDepthPassPlan({2.0, 0.0, -1.0, 1.0}, post);
    double writing = 0.0;
    double reading = 0.0;
    double scanning = 0.0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        TNcJobValues values;
        TNcModalMemory modal;
        TNcJobState job;
        StartNcFile(job, modal, post);
        TNcProgramWriter writer(post, modal, values, job);
        WritePocketJob(writer, chains, pocket, depth);
        const std::string program = writer.TakeText();
        const Clock::time_point written = Clock::now();

        TNcSimulation sim;
        sim.Wireframe = true;
        std::size_t lines = 0;
        std::size_t from = 0;
        while (from < program.size()) {
            std::size_t end = program.find('\n', from);
            if (end == std::string::npos)
                end = program.size();
            SimulateNcLine(sim, program.substr(from, end - from), post, TNcReadMode::Step);
            ++lines;
            from = end + 1;
        }
        const Clock::time_point read = Clock::now();
        std::size_t scannedLines = 0;
        benchmark::DoNotOptimize(ScanNumbers(program, scannedLines));
        const Clock::time_point scanned = Clock::now();

        const double w = std::chrono::duration<double>(written - start).count();
        const double r = std::chrono::duration<double>(read - written).count();
        state.SetIterationTime(w + r);
        writing += w;
        reading += r;
        scanning += std::chrono::duration<double>(scanned - read).count();
        Last.Lines = lines;
        Last.MachiningSeconds = sim.TotalSeconds();
    }
    const double iterations = static_cast<double>(state.iterations());
    Last.WriteMs = writing / iterations * 1000.0;
    Last.ReadMs = reading / iterations * 1000.0;
    Last.ScanMs = scanning / iterations * 1000.0;
    state.counters["lines"] = static_cast<double>(Last.Lines);
    state.counters["write_ms"] = Last.WriteMs;
    state.counters["read_ms"] = Last.ReadMs;
    state.counters["scan_ms"] = Last.ScanMs;
    state.counters["read_per_scan"] = scanning > 0.0 ? reading / scanning : 0.0;
}

BENCHMARK(NcReadBack)->Name("NcReadBack/pocket_300x300_ten_islands")->UseManualTime()->Iterations(3)->Unit(
    benchmark::kMillisecond);

// Printed when the program ends, after Google Benchmark's own report.
struct TNcReadBackReport {
    ~TNcReadBackReport()
    {
        if (Last.Lines == 0)
            return;
        std::printf("\nNC pocket program, 300x300 with ten islands: %zu lines, written in %.1f ms, read back in "
                    "%.1f ms (number scan alone %.1f ms), machining time %.0f s\n",
                    Last.Lines, Last.WriteMs, Last.ReadMs, Last.ScanMs, Last.MachiningSeconds);
    }
} NcReadBackReport;

} // namespace
