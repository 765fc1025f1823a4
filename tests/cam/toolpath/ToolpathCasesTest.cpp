// The smallest outlines on which the toolpath steps once went wrong, each
// checked against the exact distance to the outline and Clipper's offset,
// and for the particular fault it showed.

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "support/CamToleranceTest.h"
#include "support/ElementExpect.h"
#include "support/OffsetReference.h"
#include "cad/geometry/VectorHelpers.h"

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
