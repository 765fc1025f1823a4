// The NC program read back into the 3D toolpath: the nodes each kind of move
// appends with their colours and heights, the arcs of every centre form, and
// the same arcs as the 2D simulation draws from the same text.

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cam/simulation/NcSimulation.h"
#include "cam/simulation/NcToolpath3D.h"

namespace {

constexpr double kPi = std::numbers::pi;

struct TNode {
    float X, Y, Z;
    std::optional<TNcNodeColor> Color;
};

// Keeps the nodes, and checks that updates are bracketed in pairs.
struct TNodeRecorder final : TNcToolpath3D {
    std::vector<TNode> Nodes;
    int Depth = 0;
    int Brackets = 0;
    void BeginUpdate() override
    {
        ++Depth;
        ++Brackets;
    }
    void EndUpdate() override { --Depth; }
    void AddNode(float x, float y, float z, std::optional<TNcNodeColor> color) override
    {
        Nodes.push_back({x, y, z, color});
    }
};

// Records the 2D drawing's polylines only: the wireframe of each move.
struct TLineRecorder final : TNcDrawing {
    std::vector<std::vector<TVect>> Lines;
    void Polyline(const std::vector<TVect>& p, TColor) override { Lines.push_back(p); }
    void Polygon(const std::vector<TVect>&, TColor, TColor) override { ADD_FAILURE() << "a polygon in wireframe"; }
    void Disc(TVect, double, TColor, TColor) override { ADD_FAILURE() << "a disc in wireframe"; }
    void Dot(TVect, TColor) override {}
};

// Reads the lines into a fresh simulation drawing into either view.
TNcSimulation ReadBack(const std::vector<std::string>& lines, const TPostSettings& post, TNcToolpath3D* path,
                       TNcDrawing* drawing = nullptr)
{
    TNcSimulation sim;
    sim.Toolpath3D = path;
    sim.Drawing = drawing;
    sim.Wireframe = true;
    for (const std::string& line : lines)
        SimulateNcLine(sim, line, post, TNcReadMode::Step);
    return sim;
}

char Kind(const std::optional<TNcNodeColor>& color)
{
    if (!color)
        return '-';
    if (color->R == 1 && color->G == 1 && color->B == 0)
        return 'y';
    if (color->R == 0 && color->G == 1 && color->B == 1)
        return 'c';
    return '?';
}

} // namespace

// Each kind of move appends its nodes at the line's Z; the segment that ends
// at a node takes its colour, so a rapid is yellow and a cut cyan.
TEST(NcToolpath3D, EachMoveAppendsItsNodes)
{
    struct TCase {
        const char* Name;
        std::vector<std::string> Lines;
        // Nodes of the last line: x, y, z and colour ('-' the line's own).
        std::vector<std::tuple<float, float, float, char>> Nodes;
        float PrevX, PrevY;
    };
    const std::vector<TCase> cases{
        {"rapid", {"G0 X0 Y0 Z5", "G0 X10 Y5"}, {{10, 5, 5, 'y'}}, 10, 5},
        {"feed at the new depth", {"G0 X0 Y0 Z5", "G1 X3 Y4 Z-2"}, {{3, 4, -2, 'c'}}, 3, 4},
        {"a plunge is a vertical segment", {"G0 X1 Y2 Z5", "G1 Z-1"}, {{1, 2, -1, 'c'}}, 1, 2},
        {"drill cycle: down to R, feed to depth, back to R",
         {"G0 X0 Y0 Z5", "G81 X7 Y8 Z-3 R2"},
         {{7, 8, 2, 'y'}, {7, 8, -3, 'c'}, {7, 8, 2, 'c'}},
         7, 8},
        {"cycle cancel adds nothing but moves the last point", {"G0 X0 Y0 Z5", "G80 X9 Y9"}, {}, 9, 9},
        {"radius arc with no chord: only its end", {"G0 X4 Y4 Z1", "G2 X4 Y4 R5"}, {{4, 4, 1, '-'}}, 4, 4},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TNodeRecorder path;
        const TNcSimulation sim = ReadBack(c.Lines, TPostSettings(), &path);
        // The first line only places the tool: one node where it stands.
        ASSERT_EQ(path.Nodes.size(), c.Nodes.size() + 1);
        for (std::size_t k = 0; k < c.Nodes.size(); ++k) {
            const TNode& n = path.Nodes[k + 1];
            const auto [x, y, z, kind] = c.Nodes[k];
            EXPECT_EQ(n.X, x);
            EXPECT_EQ(n.Y, y);
            EXPECT_EQ(n.Z, z);
            EXPECT_EQ(Kind(n.Color), kind);
        }
        EXPECT_EQ(sim.PrevX, c.PrevX);
        EXPECT_EQ(sim.PrevY, c.PrevY);
        EXPECT_EQ(path.Depth, 0);
    }

    // The cancel's point is where the next arc starts.
    TNodeRecorder path;
    ReadBack({"G0 X0 Y0 Z0", "G80 X10 Y0", "G2 X20 Y0 R5"}, TPostSettings(), &path);
    ASSERT_EQ(path.Nodes.size(), 1u + NC_ARC_STEPS + 1);
    EXPECT_NEAR(path.Nodes[1].X, 10, 1e-5);
    EXPECT_NEAR(path.Nodes[1 + NC_ARC_STEPS / 2].Y, 5, 1e-5) << "a clockwise half circle passes over its centre";
}

// The arcs of the radius rule, of every centre form and of full circles: 51
// nodes at the move's Z, from the start round to the end in the arc's own
// direction, in one update.
TEST(NcToolpath3D, ArcsRunFromStartToEndInTheirDirection)
{
    const double shortTurn = 0.0005;
    const float shortX = static_cast<float>(5 - 5 * std::cos(shortTurn));
    const float shortY = static_cast<float>(5 * std::sin(shortTurn));
    struct TCase {
        const char* Name;
        const char* Post;
        std::string Line;
        TVect Centre;
        double Radius;
        double Sweep; // signed: counter-clockwise positive
    };
    const std::vector<TCase> cases{
        {"R below half the chord: a half circle on the midpoint", "", "G2 X10 Y0 R2", {5, 0}, 5, -kPi},
        {"R above: the smaller arc", "", "G2 X6 Y0 R5", {3, -4}, 5, -2 * std::asin(0.6)},
        {"minus R: the larger arc", "", "G3 X6 Y0 R-5", {3, -4}, 5, 2 * kPi - 2 * std::asin(0.6)},
        {"form 1 absolute", "[ArcDef]\nArcCenter=1\n", "G3 X10 Y0 I5 J0", {5, 0}, 5, kPi},
        {"form 2 from the start", "[ArcDef]\nArcCenter=2\n", "G3 X0 Y10 I0 J5", {0, 5}, 5, kPi},
        {"form 3 towards the start", "[ArcDef]\nArcCenter=3\n", "G2 X0 Y10 I0 J-5", {0, 5}, 5, -kPi},
        {"form 4 absolute", "[ArcDef]\nArcCenter=4\n", "G3 X10 Y0 I5 J0", {5, 0}, 5, kPi},
        {"end on start: full circle counter-clockwise", "[ArcDef]\nArcCenter=2\n", "G3 X0 Y0 I5 J0", {5, 0}, 5,
         2 * kPi},
        {"end on start: full circle clockwise", "[ArcDef]\nArcCenter=2\n", "G2 X0 Y0 I5 J0", {5, 0}, 5, -2 * kPi},
        {"a short clockwise arc stays short", "[ArcDef]\nArcCenter=2\n",
         "G2 X" + std::to_string(shortX) + " Y" + std::to_string(shortY) + " I5 J0", {5, 0}, 5, -shortTurn},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TNodeRecorder path;
        ReadBack({"G0 X0 Y0 Z3", "G1 Z-2", c.Line}, ReadPostSettingsFromText(c.Post), &path);
        ASSERT_EQ(path.Nodes.size(), 2u + NC_ARC_STEPS + 1);
        EXPECT_EQ(path.Brackets, 1);
        const double start = std::atan2(0 - c.Centre.Y, 0 - c.Centre.X);
        for (int k = 0; k <= NC_ARC_STEPS; ++k) {
            const TNode& n = path.Nodes[2 + static_cast<std::size_t>(k)];
            const double a = start + c.Sweep * k / NC_ARC_STEPS;
            EXPECT_NEAR(n.X, c.Centre.X + c.Radius * std::cos(a), 1e-4) << k;
            EXPECT_NEAR(n.Y, c.Centre.Y + c.Radius * std::sin(a), 1e-4) << k;
            EXPECT_EQ(n.Z, -2.0f);
            EXPECT_FALSE(n.Color) << "arc nodes keep the line's colour";
        }
    }
}

// While the toolpath is shown the moves go there alone; the extents, the
// gauge and the times count the same either way.
TEST(NcToolpath3D, TheThreeDViewDrawsInsteadOfTheTwoD)
{
    const std::vector<std::string> program{"G0 X0 Y0 Z5", "G1 Z-1 F600", "G1 X10", "G2 X10 Y10 R-6", "G81 X3 Y3 Z-4 R1"};
    TNodeRecorder path;
    TLineRecorder lines;
    const TNcSimulation both = ReadBack(program, TPostSettings(), &path, &lines);
    EXPECT_TRUE(lines.Lines.empty());
    EXPECT_EQ(path.Nodes.size(), 3u + NC_ARC_STEPS + 1 + 3);

    TLineRecorder only2D;
    const TNcSimulation flat = ReadBack(program, TPostSettings(), nullptr, &only2D);
    EXPECT_EQ(only2D.Lines.size(), 5u);
    EXPECT_EQ(both.TotalSeconds(), flat.TotalSeconds());
    EXPECT_EQ(both.Extents.XMax, flat.Extents.XMax);
    EXPECT_EQ(both.Extents.YMin, flat.Extents.YMin);
    EXPECT_EQ(both.ZMinWork, flat.ZMinWork);
}

// The same NC text read into the 2D view and into the 3D toolpath gives the
// same arcs: every point the 2D view draws lies on the 3D line (within the
// sag of its chords), and both begin and end at the same points.
TEST(NcToolpath3D, TwoDAndThreeDDrawTheSameArcs)
{
    const TPostSettings post = ReadPostSettingsFromText("[ArcDef]\nArcCenter=3\n");
    const std::vector<std::string> program{
        "G0 X0 Y0 Z0", "G2 X10 Y0 R5",   "G3 X20 Y0 R-5", "G2 X20 Y-8 I0 J4",
        "G3 X12 Y-8 R3", "G2 X12 Y-8 I-2 J0", "G3 X12.001 Y-8 I0 J3"};
    TNodeRecorder path;
    ReadBack(program, post, &path);
    TLineRecorder flat;
    ReadBack(program, post, nullptr, &flat);

    const std::size_t arcs = program.size() - 1;
    ASSERT_EQ(flat.Lines.size(), 1 + arcs);
    ASSERT_EQ(path.Nodes.size(), 1 + arcs * (NC_ARC_STEPS + 1));
    for (std::size_t a = 0; a < arcs; ++a) {
        SCOPED_TRACE(program[a + 1]);
        const std::vector<TVect>& drawn = flat.Lines[a + 1];
        const TNode* nodes = &path.Nodes[1 + a * (NC_ARC_STEPS + 1)];
        EXPECT_NEAR(drawn.front().X, nodes[0].X, 1e-4);
        EXPECT_NEAR(drawn.front().Y, nodes[0].Y, 1e-4);
        EXPECT_NEAR(drawn.back().X, nodes[NC_ARC_STEPS].X, 1e-4);
        EXPECT_NEAR(drawn.back().Y, nodes[NC_ARC_STEPS].Y, 1e-4);
        for (const TVect& p : drawn) {
            double nearest = 1e9;
            for (int k = 0; k < NC_ARC_STEPS; ++k) {
                const double ax = nodes[k].X, ay = nodes[k].Y;
                const double dx = nodes[k + 1].X - ax, dy = nodes[k + 1].Y - ay;
                const double t = std::clamp(((p.X - ax) * dx + (p.Y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
                nearest = std::min(nearest, std::hypot(p.X - ax - t * dx, p.Y - ay - t * dy));
            }
            EXPECT_LT(nearest, 0.01) << p.X << ", " << p.Y;
        }
    }
}
