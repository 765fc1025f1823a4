// Random outlines of the families that break offsets, each offset inward and
// outward at several distances, checked against the exact distance to the
// outline and against Clipper's offset; and regions as drawings store them
// through whole contour and pocket passes. CI runs a few thousand of each; a
// longer run:
//   kestro_cam_tests --gtest_filter='OffsetProperty*' --outlines=20000 --seed=7
//   KESTRO_PROPERTY_REGIONS=5000 kestro_cam_tests --gtest_filter='OffsetProperty*Passes*'

#include <cstdlib>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "support/CamToleranceTest.h"
#include "support/OffsetReference.h"
#include "support/PassReference.h"
#include "cam/toolpath/ElementDistance.h"
#include "cam/toolpath/Toolpaths.h"

namespace {

class OffsetPropertyTest : public CamToleranceTest {};

// The value of --name=value among the program's arguments, or the fallback.
unsigned long ArgumentOr(const std::string& name, unsigned long fallback)
{
    const std::string prefix = "--" + name + "=";
    for (const std::string& argument : testing::internal::GetArgvs()) {
        if (argument.rfind(prefix, 0) == 0)
            return std::strtoul(argument.c_str() + prefix.size(), nullptr, 10);
    }
    return fallback;
}

} // namespace

TEST_F(OffsetPropertyTest, KeptPiecesAreTheTrueOffsetOfRandomOutlines)
{
#if defined(__SANITIZE_ADDRESS__)
    constexpr unsigned long DEFAULT_OUTLINES = 60;
#else
    constexpr unsigned long DEFAULT_OUTLINES = 1000;
#endif
    const unsigned long outlines = ArgumentOr("outlines", DEFAULT_OUTLINES);
    std::mt19937 random(static_cast<unsigned>(ArgumentOr("seed", 27)));
    std::map<std::string, int> runs;
    std::map<std::string, int> faults;
    int reported = 0;
    for (unsigned long n = 0; n < outlines; ++n) {
        const TRandomOutline outline = RandomOutline(random);
        for (const double distance : CheckDistances()) {
            for (const double d : {distance, -distance}) {
                ++runs[outline.Family];
                const TOffsetCheck check = CheckToolpathPieces(outline.Outline, d, ToolpathPieces(outline.Outline, d));
                if (check.Sound())
                    continue;
                ++faults[outline.Family];
                if (++reported > 10)
                    continue;
                std::string vertices;
                for (const TChainElement& e : outline.Outline)
                    vertices +=
                        std::to_string(e.X1) + " " + std::to_string(e.Y1) + " " + std::to_string(e.Bulge) + "\n";
                ADD_FAILURE() << outline.Family << ", outline " << n << ", d = " << d << ": " << check.Describe()
                              << "\n" << vertices;
            }
        }
    }
    for (const auto& [family, count] : runs)
        std::printf("%-20s %6d runs, %4d unsound\n", family.c_str(), count, faults[family]);
}

namespace {

// What went wrong in the passes of one family.
struct TFamilyFigures {
    int Cases = 0;
    int LostLoops = 0;
    int ExtraLoops = 0;
    int AreaOff = 0;
    int Slivers = 0;
    // Passes with elements nearer than |d| by more than 1e-6 of the size,
    // the worst depth, and those deeper than the removal's slack allows.
    int Gouges = 0;
    double WorstGouge = 0.0;
    int DeepGouges = 0;
    int Reported = 0;
    int Pockets = 0;
    int Uncovered = 0;
    double WorstUncovered = 0.0;

    int Faults() const { return LostLoops + ExtraLoops + AreaOff + Slivers + DeepGouges + Reported + Uncovered; }
};

std::string Vertices(const TChain& chain)
{
    std::string text;
    char line[100];
    for (const TChainElement& e : chain) {
        std::snprintf(line, sizeof line, "%.17g %.17g %.17g\n", e.X1, e.Y1, e.Bulge);
        text += line;
    }
    return text;
}

TChain Reversed(TChain chain)
{
    ReverseChain(chain);
    return chain;
}

} // namespace

TEST_F(OffsetPropertyTest, WholePassesOfStoredDrawingsMatchClipper)
{
#if defined(__SANITIZE_ADDRESS__)
    constexpr unsigned long DEFAULT_REGIONS = 10;
#else
    constexpr unsigned long DEFAULT_REGIONS = 100;
#endif
    const char* asked = std::getenv("KESTRO_PROPERTY_REGIONS");
    const unsigned long regions = asked != nullptr ? std::strtoul(asked, nullptr, 10) : DEFAULT_REGIONS;
    std::mt19937 random(static_cast<unsigned>(ArgumentOr("seed", 38)));
    std::map<std::string, TFamilyFigures> figures;
    int described = 0;
    const auto note = [&](const TRandomRegion& r, const std::string& what, const std::string& check) {
        if (++described <= 10)
            ADD_FAILURE() << r.Family << ", " << what << ": " << check << "\n" << Vertices(r.Outline);
    };
    for (unsigned long n = 0; n < regions; ++n) {
        const TRandomRegion r = RandomRegion(random);
        TFamilyFigures& family = figures[r.Family];
        const auto count = [&](const TPassCheck& check, const std::string& what) {
            ++family.Cases;
            family.LostLoops += check.Loops < check.ReferenceLoops ? 1 : 0;
            family.ExtraLoops += check.Loops > check.ReferenceLoops ? 1 : 0;
            family.AreaOff += check.AreaAgrees() ? 0 : 1;
            family.Slivers += check.Slivers;
            family.Gouges += check.Gouges > 0 ? 1 : 0;
            family.WorstGouge = std::max(family.WorstGouge, check.WorstGouge);
            const bool deep = check.WorstGouge > DISTANCE_SLACK;
            family.DeepGouges += deep ? 1 : 0;
            if (check.Loops != check.ReferenceLoops || !check.AreaAgrees() || check.Slivers > 0 || deep)
                note(r, what, check.Describe());
        };

        // Contour passes of the outline, inside and outside.
        const TRegion outline{r.Outline, {}};
        for (const double d : {0.05, -0.05, 0.5, -0.5, 2.0, -2.0, 5.0, -5.0}) {
            std::vector<TChain> loops;
            const TCamFailure failure = OffsetPass(r.Outline, d, loops);
            family.Reported += failure == TCamFailure::None ? 0 : 1;
            count(CheckPass(outline, d, loops), "contour at " + std::to_string(d));
        }

        // The pocket, ring by ring and as linked paths.
        const double tool = std::uniform_real_distribution<double>(0.3, 3.0)(random);
        // Beyond 50 % the rings leave cusps uncut where the region narrows.
        const double stepOver = std::uniform_real_distribution<double>(30.0, 50.0)(random);
        std::vector<TChain> chains{r.Outline};
        TRegion region{r.Outline, {}};
        for (const TChain& island : r.Islands) {
            chains.push_back(island);
            region.Islands.push_back(Reversed(island));
        }
        std::vector<TPocketGroup> groups = FindOuterChains(chains);
        FindIslands(chains, groups);
        ASSERT_EQ(groups.size(), 1u);
        const TChain source = GroupElements(groups.front(), chains);
        const double step = 2.0 * tool * stepOver / 100.0;
        for (double d = tool; ClipperRegionOffset(region, d).Loops > 0; d += step) {
            std::vector<TChain> rings;
            const TCamFailure failure = ComputePocketPass(groups.front(), chains, source, d, rings);
            family.Reported += failure == TCamFailure::None ? 0 : 1;
            count(CheckPass(region, d, rings), "pocket ring at " + std::to_string(d));
        }
        TPocketJob job;
        job.OffsetRadius = static_cast<float>(tool);
        job.StepOverPercent = stepOver;
        std::vector<TPocketToolpath> toolpaths;
        ++family.Pockets;
        if (PocketToolpaths(chains, job, toolpaths) != TCamFailure::None || toolpaths.size() != 1) {
            ++family.Reported;
            note(r, "pocket", "failed");
            continue;
        }
        const TPocketCheck pocket = CheckPocket(region, static_cast<float>(tool), toolpaths.front().Paths);
        family.WorstUncovered = std::max(family.WorstUncovered, pocket.UncoveredShare());
        family.Uncovered += pocket.UncoveredShare() > 1e-3 ? 1 : 0;
        family.Gouges += pocket.Gouges > 0 ? 1 : 0;
        family.WorstGouge = std::max(family.WorstGouge, pocket.WorstGouge);
        family.DeepGouges += pocket.Gouges > 0 ? 1 : 0;
        if (pocket.UncoveredShare() > 1e-3 || pocket.Gouges > 0)
            note(r, "pocket with tool " + std::to_string(tool), pocket.Describe());
    }
    std::printf("%-20s %6s %5s %5s %5s %7s %6s %8s %5s %8s %7s %9s %9s\n", "family", "cases", "lost", "extra", "area",
                "slivers", "gouges", "deepest", "deep", "reported", "pockets", "uncovered", "worst");
    for (const auto& [name, f] : figures) {
        std::printf("%-20s %6d %5d %5d %5d %7d %6d %8.2g %5d %8d %7d %9d %9.2g\n", name.c_str(), f.Cases,
                    f.LostLoops, f.ExtraLoops, f.AreaOff, f.Slivers, f.Gouges, f.WorstGouge, f.DeepGouges, f.Reported,
                    f.Pockets, f.Uncovered, f.WorstUncovered);
        EXPECT_EQ(f.Faults(), 0) << name;
    }
}
