// The smallest outlines on which the toolpath steps once went wrong, each
// checked against the exact distance to the outline and Clipper's offset,
// and for the particular fault it showed; and the outlines of the cases
// folder through the whole pass.

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/CamToleranceTest.h"
#include "support/ElementExpect.h"
#include "support/OffsetReference.h"
#include "support/PassReference.h"
#include "cad/geometry/VectorHelpers.h"
#include "cam/toolpath/Toolpaths.h"

namespace {

class ToolpathCasesTest : public CamToleranceTest {};

using TVertex = TOutlineVertex;

} // namespace

// Whether a kept piece runs between the two points (either way), as an arc
// of the given bulge or as a straight piece.
bool HasPiece(const TChain& pieces, TVect from, TVect to, double bulge, double tolerance = 1e-3)
{
    const auto near = [&](TVect a, TVect b) { return PointDistance(a, b) < tolerance; };
    for (const TChainElement& e : pieces) {
        if (near(StartPoint(e), from) && near(EndPoint(e), to) && std::abs(e.Bulge - bulge) < tolerance)
            return true;
        if (near(StartPoint(e), to) && near(EndPoint(e), from) && std::abs(e.Bulge + bulge) < tolerance)
            return true;
    }
    return false;
}

TEST_F(ToolpathCasesTest, EveryCaseKeepsExactlyTheTrueOffset)
{
    struct TCase {
        const char* Name;
        std::vector<TVertex> Outline;
        double D;
        // What the case once got wrong, checked beyond the common check.
        std::function<void(const TChain& pieces)> Expect;
    };
    const double quarter = std::tan(std::numbers::pi / 8);
    const TCase cases[] = {
        {"concave fillet, outward: the corner arcs around the fillet's ends meet",
         {{0, 0, 0}, {10, 0, 0}, {10, 9.5, -quarter}, {9.5, 10, 0}, {0, 10, 0}},
         -1,
         [](const TChain& pieces) {
             const TVect meeting{10.411438, 10.411438};
             const double sweep = BulgeOfSweepDegrees(std::atan2(0.911438, 0.411438) * 180 / std::numbers::pi);
             EXPECT_TRUE(HasPiece(pieces, {11, 9.5}, meeting, sweep));
             EXPECT_TRUE(HasPiece(pieces, meeting, {9.5, 11}, sweep));
         }},
        {"arcs of radius below d on the offset side, inward",
         {{-57, 75, -0.21}, {-37, 84, -0.33}, {-36, 83, 0}, {72, 53, 0}},
         -5,
         nullptr},
        {"arc of radius below d, inward", {{90, 30, 0}, {-70, 0, 0}, {-10, -60, 0.57}, {40, -90, 0}}, 40, nullptr},
        {"three offsets through one point: the third is cut there",
         {{0.5, 0, 0}, {0.5, 3, 0}, {0.2, 3, 0}, {0, 5, 0}, {-0.2, 3, 0}, {-5, 3, 0}, {-5, 0, 0}},
         0.5,
         [](const TChain& pieces) {
             bool found = false;
             for (const TChainElement& e : pieces) {
                 found = found || (std::abs(e.X1) < 1e-6 && std::abs(e.Y1 - 2.541742) < 1e-6 &&
                                   PointDistance(EndPoint(e), {-0.2, 2.5}) < 1e-6);
             }
             EXPECT_TRUE(found);
         }},
        {"ten-degree tip, inward: no stub crosses the edges",
         {{0, 0, 0}, {99.61946980917456, -8.715574274765817, 0}, {99.61946980917456, 8.715574274765817, 0}},
         0.5,
         [](const TChain& pieces) { EXPECT_EQ(pieces.size(), 3u); }},
        {"lens: a piece whose ends keep the distance but whose middle gouges",
         {{0, 0, 0}, {10, 0, 0}, {10, 3, 0}, {5, 1.5, 0}, {0, 3, 0}},
         1,
         [](const TChain& pieces) { EXPECT_FALSE(HasPiece(pieces, {3.186564, 1}, {6.813436, 1}, 0.0)); }},
        {"line within 0.00005 of tangent to a corner arc, outward",
         {{7.855894477600972, 7.912219145363102, 0},
          {21.766328572758276, 21.7273352539654, 0},
          {40.006477349630856, 39.93479430800931, 0},
          {21.769206410596617, 21.73019337209503, 0},
          {35.679640505753916, 35.54530948069733, 0},
          {47.31149239347078, 4.504898582289368, 0}},
         -2,
         nullptr},
        // A tool exactly as wide as the slot fits: the slit down its middle
        // and back is kept, as is the path that skips the slot.
        {"slot exactly as wide as the tool",
         {{0, 0, 0}, {5, 0, 0}, {5, 8, 0}, {3.5, 8, 0}, {3.5, 3, 0}, {1.5, 3, 0}, {1.5, 8, 0}, {0, 8, 0}},
         -1,
         [](const TChain& pieces) {
             EXPECT_TRUE(HasPiece(pieces, {2.5, 8}, {2.5, 4}, 0.0));
             EXPECT_TRUE(HasPiece(pieces, {2.5, 4}, {2.5, 8}, 0.0));
             EXPECT_EQ(pieces.size(), 13u);
         }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TChain outline = ClosedOutline(c.Outline);
        const TChain pieces = ToolpathPieces(outline, c.D);
        const TOffsetCheck check = CheckToolpathPieces(outline, c.D, pieces);
        EXPECT_TRUE(check.Sound()) << check.Describe();
        if (c.Expect)
            c.Expect(pieces);
    }
}

namespace {

// A case file: vertices "x y bulge", an outline and its islands after
// "# outer" and "# island" lines, or a single outline without them.
std::vector<TChain> ReadCaseFile(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::vector<std::vector<TVertex>> outlines;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("#", 0) == 0) {
            outlines.emplace_back();
            continue;
        }
        std::istringstream fields(line);
        TVertex v{};
        if (!(fields >> v.X >> v.Y >> v.Bulge))
            continue;
        if (outlines.empty())
            outlines.emplace_back();
        outlines.back().push_back(v);
    }
    std::vector<TChain> chains;
    for (const std::vector<TVertex>& vertices : outlines)
        chains.push_back(ClosedOutline(vertices));
    return chains;
}

// The chain in the direction the region wants it: the outer one
// counter-clockwise, an island clockwise.
TChain Oriented(TChain chain, bool island)
{
    if ((ChainSignedArea(chain) > 0.0) == island)
        ReverseChain(chain);
    return chain;
}

TRegion RegionOf(const std::vector<TChain>& chains)
{
    TRegion region{Oriented(chains.front(), false), {}};
    for (std::size_t k = 1; k < chains.size(); ++k)
        region.Islands.push_back(Oriented(chains[k], true));
    return region;
}

} // namespace

// Every file of the cases folder through the whole pass: the contour pass at
// each of its offsets, and where a tool is given, the pocket, ring by ring
// and as linked paths.
TEST_F(ToolpathCasesTest, EveryCaseFileGivesClippersLoops)
{
    struct TFileCase {
        const char* File;
        std::vector<double> Offsets;
        // Pocket tool radius and step-over, 0 for none.
        double ToolRadius = 0.0;
        double StepOver = 0.0;
    };
    const TFileCase cases[] = {
        {"r1_concave_fillet.txt", {-1}},
        {"r2_small_convex_arc_in.txt", {-5}},
        {"r2c_arc_radius_below_d.txt", {40}},
        {"r3_triple_point.txt", {0.5}},
        {"r4_sharp_tip.txt", {0.5}},
        {"r5_lens.txt", {1}},
        {"r6_near_tangent.txt", {-2}},
        {"r8_tie_slot.txt", {-1}},
        {"t2_arc_join_gap.txt", {-0.5}},
        {"t3_obround_kink.txt", {-0.5}},
        {"t6_small_flat_fillet.txt", {0.44, 0.5, 1}, 1, 40},
        {"t8_polygon_d9.txt", {9, 8.99, 9.01}, 1, 40},
        {"t9_pocket_link_1813.txt", {}, 5, 50},
    };
    const std::filesystem::path folder = std::filesystem::path(KESTRO_CAM_TEST_DIR) / "toolpath" / "cases";
    std::set<std::string> rows;
    for (const TFileCase& c : cases) {
        rows.insert(c.File);
        const std::vector<TChain> chains = ReadCaseFile(folder / c.File);
        ASSERT_FALSE(chains.empty()) << c.File;
        const TRegion region = RegionOf(chains);
        // The file's d is OffsetChain's, to the left of the outline as written.
        const double inwards = ChainSignedArea(chains.front()) > 0.0 ? 1.0 : -1.0;
        for (const double d : c.Offsets) {
            SCOPED_TRACE(std::string(c.File) + ", d = " + std::to_string(d));
            std::vector<TChain> loops;
            ASSERT_EQ(OffsetPass(region.Outer, d * inwards, loops), TCamFailure::None);
            const TPassCheck check = CheckPass(region, d * inwards, loops);
            EXPECT_TRUE(check.Sound()) << check.Describe();
        }
        if (c.ToolRadius == 0.0)
            continue;
        SCOPED_TRACE(std::string(c.File) + ", pocket");
        std::vector<TChain> oriented{region.Outer};
        oriented.insert(oriented.end(), chains.begin() + 1, chains.end());
        std::vector<TPocketGroup> groups = FindOuterChains(oriented);
        FindIslands(oriented, groups);
        ASSERT_EQ(groups.size(), 1u);
        const TChain source = GroupElements(groups.front(), oriented);
        const double step = 2.0 * c.ToolRadius * c.StepOver / 100.0;
        for (double d = c.ToolRadius; ClipperRegionOffset(region, d).Loops > 0; d += step) {
            std::vector<TChain> rings;
            ASSERT_EQ(ComputePocketPass(groups.front(), oriented, source, d, rings), TCamFailure::None);
            const TPassCheck check = CheckPass(region, d, rings);
            EXPECT_TRUE(check.Sound()) << "ring at " << d << ": " << check.Describe();
        }
        TPocketJob job;
        job.OffsetRadius = static_cast<float>(c.ToolRadius);
        job.StepOverPercent = c.StepOver;
        std::vector<TPocketToolpath> toolpaths;
        ASSERT_EQ(PocketToolpaths(oriented, job, toolpaths), TCamFailure::None);
        ASSERT_EQ(toolpaths.size(), 1u);
        const TPocketCheck pocket = CheckPocket(region, c.ToolRadius, toolpaths.front().Paths);
        EXPECT_EQ(pocket.Gouges, 0) << pocket.Describe();
        EXPECT_LT(pocket.UncoveredShare(), 0.001) << pocket.Describe();
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".txt") {
            EXPECT_TRUE(rows.contains(entry.path().filename().string())) << entry.path() << " has no row";
        }
    }
}
