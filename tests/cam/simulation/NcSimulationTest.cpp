// Reading NC lines back and simulating them: the words of each dialect, arcs
// from their radius or centre words, the times and the extents.

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cam/simulation/NcSimulation.h"

namespace {

constexpr double kPi = std::numbers::pi;

// The state after one line: what ParseNcLine returned and the move it left.
struct TParsed {
    bool Values;
    int Motion;
    float X, Y;
    std::string Z;
    float I = 0, J = 0, R = 0, CycleR = 0;
};

struct TParseCase {
    const char* Name;
    const char* Post;
    std::vector<std::pair<std::string, TParsed>> Lines;
    // The simulation's tool radius and feed rate afterwards.
    float ToolRadius = 0.0f;
    double Feed = 1000.0;
};

// Records what the simulation draws.
struct TRecorder final : TNcDrawing {
    struct TShape {
        char Kind; // 'l' line, 'p' polygon, 'd' disc, '.' dot
        std::vector<TVect> Points;
        TColor Pen;
        double Radius = 0;
    };
    std::vector<TShape> Shapes;
    void Polyline(const std::vector<TVect>& p, TColor pen) override { Shapes.push_back({'l', p, pen}); }
    void Polygon(const std::vector<TVect>& p, TColor pen, TColor) override { Shapes.push_back({'p', p, pen}); }
    void Disc(TVect c, double r, TColor pen, TColor) override { Shapes.push_back({'d', {c}, pen, r}); }
    void Dot(TVect p, TColor pen) override { Shapes.push_back({'.', {p}, pen}); }
};

// Every point of the shape lies at the radius from the centre.
void ExpectOnCircle(const std::vector<TVect>& points, TVect c, double r)
{
    for (const TVect& p : points)
        EXPECT_NEAR(std::hypot(p.X - c.X, p.Y - c.Y), r, 1e-4) << p.X << ", " << p.Y;
}

// Runs the program's lines through a fresh simulation at 600 per minute.
TNcSimulation Simulate(const TPostSettings& post, const std::vector<std::string>& lines, TRecorder* recorder = nullptr)
{
    TNcSimulation sim;
    sim.FeedRate = sim.PlungeRate = 600.0;
    sim.RapidRate = 6000.0;
    sim.Drawing = recorder;
    for (const std::string& line : lines)
        SimulateNcLine(sim, line, post, TNcReadMode::Step);
    return sim;
}

} // namespace

TEST(NcReadBack, ParsesTheWordsOfEachDialect)
{
    const std::vector<TParseCase> cases{
        {"modal point and motion", "",
         {{"G0 X10 Y5", {true, 0, 10, 5, "9999"}}, {"X20", {true, 0, 20, 5, "9999"}},
          {"N30 G1 Z-1.5 F300", {true, 1, 20, 5, "-1.5"}}},
         0.0f, 300.0},
        {"arc words", "",
         {{"G2 X10 Y0 R5", {true, 2, 10, 0, "9999", 0, 0, 5}},
          {"G3 X1 Y2 I3 J-4", {true, 3, 1, 2, "9999", 3, -4, 0}},
          {"G2 X1 U-2", {true, 2, 1, 2, "9999", 0, 0, -2}}}},
        {"comments, tool diameter, home", "",
         {{"G1 X5 (TLDIA=6) Y7", {true, 1, 5, 0, "9999"}},
          {"G1 X6 G28 X0 Y0", {true, 1, 6, 0, "9999"}},
          {"(ROUGHING)", {false, 1, 6, 0, "9999"}}},
         3.0f},
        {"cycles and ignored G words", "",
         {{"G81 X1 Y1 Z-3 R2 F100", {true, 81, 1, 1, "-3", 0, 0, 0, 2}},
          {"G80", {false, 80, 1, 1, "-3", 0, 0, 0, 2}},
          {"G17 G1 X5", {true, 1, 5, 1, "-3", 0, 0, 0, 2}},
          {"G90 G0.5 X6", {true, 1, 6, 1, "-3", 0, 0, 0, 2}}},
         0.0f, 100.0},
        {"malformed words are skipped", "",
         {{"G1 X1.2.3 Y4", {true, 1, 0, 4, "9999"}}, {"G0 X- Y5 Z--", {true, 0, 0, 5, "9999"}},
          {"G1 X.. Z1..", {false, 1, 0, 5, "9999"}}}},
        {"a rapid feed word makes a rapid", "[Feed]\nRapid=F9999\n",
         {{"G1 X5 F9999", {true, 0, 5, 0, "9999"}}, {"G1 X6 F300", {true, 1, 6, 0, "9999"}}},
         0.0f, 300.0},
        {"an unknown dialect reads as ISO", "[Default]\nDialect=iso\n",
         {{"G1 X3 Y4", {true, 1, 3, 4, "9999"}}, {"G3 X0 Y0 I1 J1", {true, 3, 0, 0, "9999", 1, 1, 0}}}},
        {"no comment opener", "", {{"G1 X5 Y6 (A)", {true, 1, 5, 6, "9999"}}}},
        {"HEI centre and direction", "[Default]\nDialect=HEI\nStartComment=;\n[Feed]\nRapid=FMAX\n",
         {{"1 ;TLDIA=6", {false, 0, 0, 0, "9999"}},
          {"2 L X0.000 Y0.000 FMAX", {true, 0, 0, 0, "9999"}},
          {"3 L Z-1.500 F300", {true, 1, 0, 0, "-1.500"}},
          {"4 CC X10 Y10", {false, 1, 0, 0, "-1.500", 10, 10}},
          {"5 C X20 Y10 DR-", {true, 2, 20, 10, "-1.500", 10, 10}},
          {"6 C X0 Y10 DR+", {true, 3, 0, 10, "-1.500", 10, 10}},
          {"7 L X5", {true, 1, 5, 10, "-1.500", 10, 10}}},
         3.0f},
        {"incremental points start at 0", "[Default]\nIncremental_mode=1\n",
         {{"G1 X1 Y1", {true, 1, 1, 1, "9999"}}, {"X2", {true, 1, 2, 0, "9999"}}}},
    };
    for (const TParseCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TPostSettings post = ReadPostSettingsFromText(c.Post);
        if (std::string(c.Name).starts_with("no comment"))
            post.StartComment.clear();
        TNcSimulation sim;
        TNcMove move;
        for (const auto& [line, want] : c.Lines) {
            SCOPED_TRACE(line);
            EXPECT_EQ(ParseNcLine(line, move, post, sim), want.Values);
            EXPECT_EQ(move.Motion, want.Motion);
            EXPECT_FLOAT_EQ(move.X, want.X);
            EXPECT_FLOAT_EQ(move.Y, want.Y);
            EXPECT_EQ(move.Z, want.Z);
            EXPECT_FLOAT_EQ(move.I, want.I);
            EXPECT_FLOAT_EQ(move.J, want.J);
            EXPECT_FLOAT_EQ(move.R, want.R);
            EXPECT_FLOAT_EQ(move.CycleR, want.CycleR);
        }
        EXPECT_FLOAT_EQ(sim.ToolRadius, c.ToolRadius);
        // A rapid feed word is no cutting feed.
        EXPECT_EQ(sim.FeedRate, c.Feed);
    }
}

TEST(NcReadBack, ArcsTakeTheirCentreFromRadiusOrCentreWords)
{
    const double small = 2.0 * std::asin(0.6); // the sweep of a chord of 6 on a radius of 5
    struct TArcCase {
        const char* Post;
        std::string Line;
        TVect Centre;
        double Sweep;
    };
    const std::vector<TArcCase> cases{
        {"", "G2 X10 Y0 R5", {5, 0}, kPi},
        {"", "G2 X10 Y0 R-5", {5, 0}, kPi},
        {"", "G2 X6 Y0 R5", {3, -4}, small},
        {"", "G2 X6 Y0 R-5", {3, 4}, 2 * kPi - small},
        {"", "G3 X6 Y0 R5", {3, 4}, small},
        {"", "G3 X6 Y0 R-5", {3, -4}, 2 * kPi - small},
        {"[ArcDef]\nArcCenter=1\n", "G3 X10 Y0 I5 J0", {5, 0}, kPi},
        {"[ArcDef]\nArcCenter=2\n", "G3 X10 Y0 I5 J0", {5, 0}, kPi},
        {"[ArcDef]\nArcCenter=3\n", "G3 X10 Y0 I-5 J0", {5, 0}, kPi},
        {"[ArcDef]\nArcCenter=4\n", "G3 X10 Y0 I5 J0", {5, 0}, kPi},
        {"[ArcDef]\nArcCenter=2\n", "G2 X0 Y0 I5 J0", {5, 0}, 2 * kPi},
        {"[ArcDef]\nArcCenter=2\n", "G2 X0.00001 Y-0.001 I5 J0", {5, 0}, 2 * kPi},
    };
    for (const TArcCase& c : cases) {
        SCOPED_TRACE(std::string(c.Post) + c.Line);
        TRecorder recorder;
        const TNcSimulation sim = Simulate(ReadPostSettingsFromText(c.Post), {"G0 X0 Y0", c.Line}, &recorder);
        ASSERT_EQ(recorder.Shapes.size(), 2u);
        const std::vector<TVect>& arc = recorder.Shapes[1].Points;
        const double radius = std::hypot(c.Centre.X, c.Centre.Y);
        ExpectOnCircle(arc, c.Centre, radius);
        // The arc's time counts once, at the feed rate.
        EXPECT_NEAR(sim.WorkSeconds, radius * c.Sweep / 600.0 * 60.0, 1e-3);
        // The extents hold the whole circle.
        EXPECT_FLOAT_EQ(sim.Extents.XMin, static_cast<float>(c.Centre.X - radius));
        EXPECT_FLOAT_EQ(sim.Extents.YMax, static_cast<float>(c.Centre.Y + radius));
        // A clockwise half circle from (0, 0) to (10, 0) passes over the top.
        if (c.Line.starts_with("G2 X10")) {
            EXPECT_NEAR(arc[arc.size() / 2].Y, 5.0, 1e-4);
        }
    }

    // While programs are written the centre words are the absolute centre,
    // whatever the post says.
    TNcSimulation sim;
    TRecorder recorder;
    sim.Drawing = &recorder;
    sim.ArcI = 5;
    sim.ArcJ = 5;
    SimulateMove(sim, MOTION_CCW, false, 0, 0, 0, 10, 10, ReadPostSettingsFromText("[ArcDef]\nArcCenter=3\n"));
    ExpectOnCircle(recorder.Shapes[0].Points, {5, 5}, std::hypot(5.0, 5.0));

    // With a tool radius the arc is a band between radius - r and radius + r
    // with round ends around its end points.
    recorder.Shapes.clear();
    sim.PrevX = 0;
    sim.PrevY = 0;
    sim.ArcI = 5;
    sim.ArcJ = 0;
    SimulateMove(sim, MOTION_CW, false, 0, 1, 0, 10, 0);
    ASSERT_EQ(recorder.Shapes[0].Kind, 'p');
    for (const TVect& p : recorder.Shapes[0].Points) {
        const double fromCentre = std::hypot(p.X - 5, p.Y);
        const double fromEnds = std::min(std::hypot(p.X, p.Y), std::hypot(p.X - 10, p.Y));
        EXPECT_TRUE(p.Y >= -1e-9 ? std::abs(fromCentre - 4) < 1e-6 || std::abs(fromCentre - 6) < 1e-6
                                 : std::abs(fromEnds - 1) < 1e-6)
            << p.X << ", " << p.Y;
    }
}

TEST(NcReadBack, TimesExtentsAndTheZGauge)
{
    const TPostSettings post;
    TRecorder recorder;
    TNcSimulation sim = Simulate(post, {}, &recorder);
    EXPECT_TRUE(sim.Extents.Empty) << "no box before the first move";
    std::vector<std::pair<TNcLimit, float>> shown;
    std::vector<std::pair<float, bool>> gauge;
    sim.LimitShown = [&](TNcLimit limit, float v) { shown.emplace_back(limit, v); };
    sim.ZGauge = [&](bool, float z, bool lowest) { gauge.emplace_back(z, lowest); };
    sim.ToolRadius = 2;

    // The first point only places the tool, and the first Z only says where it is.
    SimulateNcLine(sim, "G0 X10 Y0 Z5 (TLDIA=4)", post, TNcReadMode::Step);
    EXPECT_EQ(sim.TotalSeconds(), 0.0);
    ASSERT_EQ(recorder.Shapes.size(), 1u);
    EXPECT_EQ(recorder.Shapes[0].Kind, 'l');
    EXPECT_EQ(recorder.Shapes[0].Pen, SIM_RAPID_COLOR);
    SimulateNcLine(sim, "G1 Z-1 F600", post, TNcReadMode::Step);
    EXPECT_DOUBLE_EQ(sim.WorkSeconds, 0.6); // 6 down at 600 per minute
    EXPECT_EQ(recorder.Shapes.back().Kind, 'd') << "a tool that does not move leaves its circle";
    SimulateNcLine(sim, "G1 X20 Y0", post, TNcReadMode::Step);
    EXPECT_DOUBLE_EQ(sim.WorkSeconds, 1.6);
    ASSERT_EQ(recorder.Shapes.back().Kind, 'p');
    EXPECT_EQ(recorder.Shapes.back().Points.size(), 42u);
    for (const TVect& p : recorder.Shapes.back().Points)
        EXPECT_LE(std::hypot(p.X - std::clamp(p.X, 10.0, 20.0), p.Y), 2.0 + 1e-9);
    SimulateNcLine(sim, "G0 Z5", post, TNcReadMode::Step);
    SimulateNcLine(sim, "G0 X20 Y-30", post, TNcReadMode::Step);
    EXPECT_DOUBLE_EQ(sim.RapidSeconds, 0.06 + 0.3);

    // A drill point: rapid approach, plunge from the reference level to the
    // depth, rapid retract.
    SimulateNcLine(sim, "G81 X20 Y0 Z-2 R1 F100", post, TNcReadMode::Step);
    EXPECT_DOUBLE_EQ(sim.WorkSeconds, 1.6 + 1.8);
    EXPECT_DOUBLE_EQ(sim.RapidSeconds, 0.36 + 0.3 + 0.03);
    EXPECT_EQ(recorder.Shapes.back().Pen, SIM_RAPID_COLOR);
    EXPECT_EQ(recorder.Shapes[recorder.Shapes.size() - 2].Kind, 'd');
    SimulateNcLine(sim, "G80", post, TNcReadMode::Step);

    // Rates of 0 or below add nothing, and never a garbage time.
    const double before = sim.TotalSeconds();
    sim.RapidRate = 0;
    SimulateNcLine(sim, "G1 X0 Y0 F0", post, TNcReadMode::Step);
    SimulateNcLine(sim, "G0 X5 Z9", post, TNcReadMode::Step);
    SimulateNcLine(sim, "G2 X15 Y0 R5 F-10", post, TNcReadMode::Step);
    EXPECT_EQ(sim.TotalSeconds(), before);

    // Scrolling draws lines only and adds no time.
    recorder.Shapes.clear();
    sim.FeedRate = 600;
    SimulateNcLine(sim, "G1 X0 Y0", post, TNcReadMode::Scroll);
    EXPECT_EQ(recorder.Shapes.at(0).Kind, 'l');
    EXPECT_EQ(sim.TotalSeconds(), before);

    EXPECT_EQ(sim.Extents.XMin, 0.0f);
    EXPECT_EQ(sim.Extents.XMax, 20.0f);
    EXPECT_EQ(sim.Extents.YMin, -30.0f);
    EXPECT_EQ(sim.Extents.YMax, 5.0f); // the arc's circle
    const std::vector<std::pair<TNcLimit, float>> limits{
        {TNcLimit::XMax, 10}, {TNcLimit::XMin, 10}, {TNcLimit::YMax, 0}, {TNcLimit::YMin, 0},
        {TNcLimit::XMax, 20}, {TNcLimit::YMin, -30}, {TNcLimit::XMin, 0}, {TNcLimit::YMax, 5}};
    EXPECT_EQ(shown, limits);
    EXPECT_FLOAT_EQ(sim.ZMinWork, -2.0f);
    EXPECT_FLOAT_EQ(sim.ZMinRapid, 5.0f);
    const std::vector<std::pair<float, bool>> zs{{5, true}, {-1, true}, {5, false}, {-2, true}, {9, false}};
    EXPECT_EQ(gauge, zs);

    ResetSimulation(sim);
    EXPECT_TRUE(sim.Extents.Empty);
    EXPECT_EQ(sim.ZMinWork, 9999.0f);
}

namespace {

std::string HostileFile(const char* name)
{
    std::ifstream file(std::string(KESTRO_TEST_DATA_DIR) + "/hostile/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The lines of a text, split at LF as the editor holds them.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

// Words whose number no int or float can hold are malformed: skipped, never
// converted (the sanitizers report such a conversion as undefined).
TEST(NcReadBack, NumbersBeyondTheirTypeAreMalformedWords)
{
    const TPostSettings post;
    TRecorder recorder;
    TNcSimulation beyondInt = Simulate(post, Lines(HostileFile("nc-g-word-beyond-int.bin")), &recorder);
    EXPECT_EQ(beyondInt.Move.Motion, MOTION_RAPID) << "G99999999999 is no motion";
    EXPECT_EQ(beyondInt.Move.X, 1.0f);

    recorder.Shapes.clear();
    const TNcSimulation beyondFloat = Simulate(post, Lines(HostileFile("nc-x-1e39-then-arc.bin")), &recorder);
    EXPECT_EQ(beyondFloat.Move.Motion, MOTION_CW);
    EXPECT_TRUE(std::isfinite(beyondFloat.TotalSeconds()));
    EXPECT_FALSE(beyondFloat.Extents.Empty);
    EXPECT_TRUE(std::isfinite(beyondFloat.Extents.XMax) && std::isfinite(beyondFloat.Extents.XMin));
    for (const TRecorder::TShape& shape : recorder.Shapes)
        for (const TVect& p : shape.Points)
            EXPECT_TRUE(std::isfinite(p.X) && std::isfinite(p.Y));

    TNcMove move;
    TNcSimulation sim;
    EXPECT_FALSE(ParseNcLine("G1 X-4" + std::string(39, '0'), move, post, sim));
    EXPECT_TRUE(ParseNcLine("G-2147483649 G2147483648 G2 X1" + std::string(38, '0'), move, post, sim));
    EXPECT_EQ(move.Motion, MOTION_CW);
    EXPECT_EQ(move.X, 1e38f);
}

// One line of a megabyte is read in one pass over it for its G words, and a
// constant number of passes for the other letters: the work grows with the
// line, not with its square.
TEST(NcReadBack, ALongLineIsReadInLinearWork)
{
    const TPostSettings post;
    std::string line;
    while (line.size() < (1u << 20))
        line += "G1 G0 X1.5 ";
    TNcSimulation sim;
    SimulateNcLine(sim, line, post, TNcReadMode::Step);
    EXPECT_EQ(sim.Move.Motion, MOTION_RAPID);
    EXPECT_EQ(sim.Move.X, 1.5f);
    EXPECT_LE(sim.ParsedCharacters, 16 * line.size());
}

// What the read-back shows after a whole program: limits only of the places
// the tool goes, Z steps of an incremental post added up, and the dialects it
// cannot read named as such.
TEST(NcReadBack, FiguresOfAWholeProgram)
{
    const TPostSettings post;
    TRecorder recorder;
    const TNcSimulation sim = Simulate(post, {"%", "G0 Z2", "G0 X10 Y20", "G1 Z-1", "G1 X30"}, &recorder);
    EXPECT_EQ(sim.Extents.XMin, 10.0f) << "the first line moved Z alone: the origin is no place of the tool";
    EXPECT_EQ(sim.Extents.YMin, 20.0f);
    for (const TRecorder::TShape& shape : recorder.Shapes)
        for (const TVect& p : shape.Points)
            EXPECT_GE(p.X, 10.0 - 1e-9);
    EXPECT_DOUBLE_EQ(sim.RapidSeconds, 0.0) << "no rapid from (0, 0)";

    TPostSettings incremental;
    incremental.IncrementalMode = true;
    TNcSimulation steps = Simulate(incremental, {"G0 Z5", "G0 X10 Y10", "G1 Z-6", "G1 X10", "G0 Z6"});
    EXPECT_FLOAT_EQ(steps.IncrementalZ, 5.0f);
    EXPECT_FLOAT_EQ(steps.ZMinWork, -1.0f);
    EXPECT_DOUBLE_EQ(steps.WorkSeconds, 0.6 + 1.0);
    EXPECT_EQ(steps.Extents.XMax, 20.0f);

    for (const TNcDialect dialect : {DIALECT_ISO, DIALECT_HEI, DIALECT_OTHER})
        EXPECT_TRUE(ReadBackKnowsDialect(dialect));
    for (const TNcDialect dialect : {DIALECT_XIL, DIALECT_SBO})
        EXPECT_FALSE(ReadBackKnowsDialect(dialect));

    // Reading the same program again from its start counts the same time.
    TNcSimulation twice = Simulate(post, {"G0 X10 Y20 Z2", "G1 Z-1 F600", "G1 X30"});
    const double once = twice.TotalSeconds();
    RestartReadBack(twice);
    for (const char* line : {"G0 X10 Y20 Z2", "G1 Z-1 F600", "G1 X30"})
        SimulateNcLine(twice, line, post, TNcReadMode::Step);
    EXPECT_DOUBLE_EQ(twice.TotalSeconds(), once);
}
