// Random outlines of the families that break offsets, each offset inward and
// outward at several distances, checked against the exact distance to the
// outline and against Clipper's offset. CI runs a few thousand; a longer run:
//   kestro_cam_tests --gtest_filter='OffsetProperty*' --outlines=20000 --seed=7

#include <cstdlib>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "support/CamToleranceTest.h"
#include "support/OffsetReference.h"

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
