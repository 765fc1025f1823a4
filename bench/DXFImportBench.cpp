// The DXF import of a generated 100,000-entity drawing (lines, arcs, circles,
// texts and polylines with bulges), once in R12 form (POLYLINE, VERTEX,
// SEQEND) and once in R2000 form (LWPOLYLINE), beside dxflib parsing the
// same text into a creation interface that does nothing. Ours builds the
// whole drawing; dxflib only parses. Each row reports both speeds in MB/s
// (each side's best of ten runs) and their ratio (ours over dxflib's); a
// table of them is printed at the end.

#include <algorithm>
#include <chrono>
#include <memory>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include "cad/drawing/CADCmp2D.h"
#include "cad/dxf/DXF2DImport.h"
#include "cad/fonts/VectFont.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int EntityCount = 100000;

// Codes padded to three places, as most writers do.
class TDxfWriter {
public:
    void Pair(int code, const std::string& value)
    {
        char line[8];
        std::snprintf(line, sizeof line, "%3d\n", code);
        Text += line;
        Text += value;
        Text += '\n';
    }
    void Pair(int code, double value)
    {
        char number[32];
        std::snprintf(number, sizeof number, "%.6f", value);
        Pair(code, std::string(number));
    }
    std::string Text;
};

void Point(TDxfWriter& out, int base, double x, double y)
{
    out.Pair(base, x);
    out.Pair(base + 10, y);
    out.Pair(base + 20, 0.0);
}

// An entity's name, layer and first point.
void Start(TDxfWriter& out, const char* kind, const char* layer, double x, double y)
{
    out.Pair(0, kind);
    out.Pair(8, layer);
    Point(out, 10, x, y);
}

std::string Drawing(bool r2000)
{
    TDxfWriter out;
    out.Pair(0, "SECTION");
    out.Pair(2, "HEADER");
    out.Pair(9, "$ACADVER");
    out.Pair(1, r2000 ? "AC1015" : "AC1009");
    out.Pair(0, "ENDSEC");
    out.Pair(0, "SECTION");
    out.Pair(2, "TABLES");
    out.Pair(0, "TABLE");
    out.Pair(2, "LAYER");
    for (const char* name : {"0", "CUT", "TEXT"}) {
        out.Pair(0, "LAYER");
        out.Pair(2, name);
        out.Pair(70, "0");
        out.Pair(62, "7");
        out.Pair(6, "CONTINUOUS");
    }
    out.Pair(0, "ENDTAB");
    out.Pair(0, "ENDSEC");
    out.Pair(0, "SECTION");
    out.Pair(2, "ENTITIES");
    for (int i = 0; i < EntityCount; ++i) {
        const double x = (i % 400) * 10.0;
        const double y = (i / 400) * 10.0;
        switch (i % 5) {
        case 0:
            Start(out, "LINE", "CUT", x, y);
            Point(out, 11, x + 7.5, y + 2.5);
            break;
        case 1:
            Start(out, "ARC", "CUT", x, y);
            out.Pair(40, 3.0);
            out.Pair(50, 15.0);
            out.Pair(51, 200.0);
            break;
        case 2:
            Start(out, "CIRCLE", "CUT", x, y);
            out.Pair(40, 2.5);
            break;
        case 3:
            Start(out, "TEXT", "TEXT", x, y);
            out.Pair(40, 2.0);
            out.Pair(1, "Part " + std::to_string(i));
            break;
        default: {
            // A slot: two straight sides joined by two half circles.
            const double corners[4][3] = {{x, y, 0.0}, {x + 6, y, 1.0}, {x + 6, y + 3, 0.0}, {x, y + 3, 1.0}};
            if (r2000) {
                out.Pair(0, "LWPOLYLINE");
                out.Pair(8, "CUT");
                out.Pair(90, "4");
                out.Pair(70, "1");
                for (const auto& c : corners) {
                    out.Pair(10, c[0]);
                    out.Pair(20, c[1]);
                    if (c[2] != 0.0)
                        out.Pair(42, c[2]);
                }
            } else {
                out.Pair(0, "POLYLINE");
                out.Pair(8, "CUT");
                out.Pair(66, "1");
                out.Pair(70, "1");
                for (const auto& c : corners) {
                    out.Pair(0, "VERTEX");
                    out.Pair(8, "CUT");
                    Point(out, 10, c[0], c[1]);
                    if (c[2] != 0.0)
                        out.Pair(42, c[2]);
                }
                out.Pair(0, "SEQEND");
            }
            break;
        }
        }
    }
    out.Pair(0, "ENDSEC");
    out.Pair(0, "EOF");
    return out.Text;
}

struct TRow {
    std::string Name;
    double OursMBs;
    double DxflibMBs;
};

// Printed when the program ends, after Google Benchmark's own report.
class TRatioTable {
public:
    ~TRatioTable()
    {
        if (Rows.empty())
            return;
        std::printf("\n%-22s %14s %14s %10s\n", "drawing", "ours MB/s", "dxflib MB/s", "ratio");
        for (const TRow& row : Rows)
            std::printf("%-22s %14.1f %14.1f %10.3f\n", row.Name.c_str(), row.OursMBs, row.DxflibMBs,
                        row.DxflibMBs > 0.0 ? row.OursMBs / row.DxflibMBs : 0.0);
    }
    std::vector<TRow> Rows;
};

TRatioTable Table;

// Our import into a new drawing, which is handed back so that freeing it
// stays out of the timed part.
std::unique_ptr<TCADCmp2D> Import(const std::string& text, TVectFont& font)
{
    auto drawing = std::make_unique<TCADCmp2D>();
    TDXF2DImport import(TDXFRead::FromBytes(text), drawing.get());
    import.SetVectFont(&font);
    import.Import();
    return drawing;
}

void ParseWithDxflib(const std::string& text)
{
    std::istringstream stream(text);
    DL_CreationAdapter nothing;
    DL_Dxf dxf;
    dxf.in(stream, &nothing);
}

// The machine is shared: each side's best iteration is its speed, after one
// untimed run of each has warmed the heap.
void RunCase(benchmark::State& state, const std::string& name, bool r2000)
{
    const std::string text = Drawing(r2000);
    TVectFont font;
    const int objects = Import(text, font)->ObjectsCount();
    ParseWithDxflib(text);
    double ours = 1e30;
    double dxflib = 1e30;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        std::unique_ptr<TCADCmp2D> drawing = Import(text, font);
        const Clock::time_point imported = Clock::now();
        drawing.reset();
        const Clock::time_point parsing = Clock::now();
        ParseWithDxflib(text);
        const Clock::time_point parsed = Clock::now();
        const double oursSeconds = std::chrono::duration<double>(imported - start).count();
        state.SetIterationTime(oursSeconds);
        ours = std::min(ours, oursSeconds);
        dxflib = std::min(dxflib, std::chrono::duration<double>(parsed - parsing).count());
    }
    const double megabytes = static_cast<double>(text.size()) / 1e6;
    state.counters["objects"] = objects;
    state.counters["file_MB"] = megabytes;
    state.counters["ours_MBps"] = megabytes / ours;
    state.counters["dxflib_MBps"] = megabytes / dxflib;
    state.counters["ours_per_dxflib"] = dxflib / ours;
    Table.Rows.push_back({name, megabytes / ours, megabytes / dxflib});
}

[[maybe_unused]] const bool Registered = [] {
    for (const bool r2000 : {false, true}) {
        const std::string name = r2000 ? "DXFImport/R2000" : "DXFImport/R12";
        benchmark::RegisterBenchmark(name.c_str(), [name, r2000](benchmark::State& state) {
            RunCase(state, name, r2000);
        })->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
