// What the program writes it can read back: the contour, pocket and drilling
// programs of one drawing, written through every shipped post whose words the
// read-back understands, give back the moves that were written. The pocket is
// also simulated onto a picture for a reviewer.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <QDir>
#include <QPainter>
#include <gtest/gtest.h>

#include "cam/nc/NcProgram.h"
#include "cam/simulation/NcSimulation.h"
#include "cam/simulation/NcSimulationSink.h"
#include "support/ImageTestSupport.h"
#include "support/ViewportTestSupport.h"

namespace {

// One move as both sides see it: a move in the plane (motion 0 to 3, its
// end and, for arcs, its centre), a move of Z alone ('z'), or a hole of a
// canned cycle ('h', at its depth).
struct TEvent {
    char Kind;
    int Motion;
    TVect At;
    TVect Centre{};
    double Z = 0;
};

std::string Describe(const TEvent& e)
{
    std::ostringstream s;
    s << e.Kind << e.Motion << " (" << e.At.X << ", " << e.At.Y << ")";
    if (e.Kind == 'p' && e.Motion >= MOTION_CW)
        s << " c(" << e.Centre.X << ", " << e.Centre.Y << ")";
    if (e.Kind != 'p')
        s << " z" << e.Z;
    return s.str();
}

bool Near(TVect a, TVect b, double tolerance)
{
    return std::hypot(a.X - b.X, a.Y - b.Y) <= tolerance;
}

// The moves as the generator hands them out; moves that go nowhere are left out.
class TWrittenMoves final : public TNcMoveSink {
public:
    void PlaneMove(int motion, const TChainElement& path) override
    {
        TBulgeArc arc;
        const bool isArc = BulgeArcParams(path, arc);
        if (!isArc && Near(at_, EndPoint(path), 1e-9))
            return;
        at_ = EndPoint(path);
        Events.push_back({'p', motion, at_, isArc ? arc.Centre : TVect{}});
    }
    void ZMove(bool work, double z) override
    {
        if (z == z_)
            return;
        z_ = z;
        Events.push_back({'z', work ? 1 : 0, at_, {}, z});
    }
    void DrillHole(int motion, TVect point, double, double depth) override
    {
        at_ = point;
        Events.push_back({'h', motion, point, {}, depth});
    }

    std::vector<TEvent> Events;

private:
    TVect at_{};
    double z_ = 9999.0;
};

// Hands each move to two sinks.
class TBothSinks final : public TNcMoveSink {
public:
    TBothSinks(TNcMoveSink& a, TNcMoveSink& b) : a_(a), b_(b) {}
    void PlaneMove(int motion, const TChainElement& path) override
    {
        a_.PlaneMove(motion, path);
        b_.PlaneMove(motion, path);
    }
    void ZMove(bool work, double z) override
    {
        a_.ZMove(work, z);
        b_.ZMove(work, z);
    }
    void DrillHole(int motion, TVect point, double zRapid, double depth) override
    {
        a_.DrillHole(motion, point, zRapid, depth);
        b_.DrillHole(motion, point, zRapid, depth);
    }

private:
    TNcMoveSink& a_;
    TNcMoveSink& b_;
};

// The drawn arcs tell where their centre lies.
struct TArcCatcher final : TNcDrawing {
    void Polyline(const std::vector<TVect>& p, TColor) override { Last = p; }
    void Polygon(const std::vector<TVect>&, TColor, TColor) override {}
    void Disc(TVect, double, TColor, TColor) override {}
    void Dot(TVect, TColor) override {}
    std::vector<TVect> Last;

    TVect Centre() const
    {
        // The circle through the first, a middle and the last drawn point.
        const TVect a = Last.front(), b = Last[Last.size() / 3], c = Last[2 * Last.size() / 3];
        const double d = 2 * (a.X * (b.Y - c.Y) + b.X * (c.Y - a.Y) + c.X * (a.Y - b.Y));
        const double a2 = a.X * a.X + a.Y * a.Y, b2 = b.X * b.X + b.Y * b.Y, c2 = c.X * c.X + c.Y * c.Y;
        return {(a2 * (b.Y - c.Y) + b2 * (c.Y - a.Y) + c2 * (a.Y - b.Y)) / d,
                (a2 * (c.X - b.X) + b2 * (a.X - c.X) + c2 * (b.X - a.X)) / d};
    }
};

// Reads the program back line by line, in drawing units.
std::vector<TEvent> ReadBack(const std::string& program, const TPostSettings& post, TNcDrawing* drawing = nullptr,
                            double* seconds = nullptr)
{
    TNcSimulation sim;
    TArcCatcher arcs;
    sim.Wireframe = drawing == nullptr;
    sim.Drawing = drawing != nullptr ? drawing : &arcs;
    sim.ToolRadius = 3.0f;
    const double xs = post.XAxis.Scale, ys = post.YAxis.Scale, zs = post.ZAxis.Scale;
    std::vector<TEvent> events;
    std::istringstream lines(program);
    std::string line;
    TVect at{};
    while (std::getline(lines, line)) {
        const std::string zBefore = sim.Move.Z;
        if (!SimulateNcLine(sim, line, post, TNcReadMode::Step))
            continue;
        const TNcMove& m = sim.Move;
        const TVect to{m.X / xs, m.Y / ys};
        // An incremental program's Z words are steps: the simulation adds them up.
        const double zWord = std::strtod(m.Z.c_str(), nullptr);
        const double z = (post.IncrementalMode ? sim.IncrementalZ : zWord) / zs;
        const bool zMoved = post.IncrementalMode ? m.ZWord && zWord != 0.0 : m.Z != zBefore;
        if (IsDrillCycle(m.Motion)) {
            events.push_back({'h', m.Motion, to, {}, z});
            at = to;
            continue;
        }
        // A template's cycle cancel leaves the next Z move a rapid one.
        if (zMoved)
            events.push_back({'z', m.Motion == MOTION_RAPID || m.Motion == MOTION_CYCLE_CANCEL ? 0 : 1, at, {}, z});
        if (m.Motion == MOTION_CW || m.Motion == MOTION_CCW) {
            const TVect c = arcs.Last.empty() ? TVect{} : arcs.Centre();
            events.push_back({'p', m.Motion, to, {c.X / xs, c.Y / ys}});
        } else if (m.Motion <= MOTION_LINEAR && !Near(at, to, 1e-9)) {
            events.push_back({'p', m.Motion, to});
        }
        at = to;
    }
    if (seconds)
        *seconds = sim.TotalSeconds();
    return events;
}

// A 60 x 40 plate with two rounded corners and a round island.
std::vector<TChain> Drawing()
{
    const double b = std::tan(std::numbers::pi / 8); // a quarter turn, counter-clockwise
    TChain plate{MakeElement({0, 0}, {52, 0}),       MakeElement({52, 0}, {60, 8}, b),
                 MakeElement({60, 8}, {60, 40}),     MakeElement({60, 40}, {8, 40}),
                 MakeElement({8, 40}, {0, 32}, b),   MakeElement({0, 32}, {0, 0})};
    TChain island{MakeElement({35, 20}, {25, 20}, 1.0), MakeElement({25, 20}, {35, 20}, 1.0)};
    return {plate, island};
}

struct TPrograms {
    std::string Contour, Pocket, Drill;
    std::vector<TEvent> ContourMoves, PocketMoves, DrillMoves;
    // The machining time the calculation showed for each.
    double ContourSeconds = 0, PocketSeconds = 0, DrillSeconds = 0;
};

TPrograms WriteAll(const TPostSettings& post)
{
    TPrograms out;
    TNcJobValues values;
    TNcModalMemory modal;
    TNcJobState state;
    TDepthJob depth;
    depth.ZRapid = 5.0f;
    depth.Plan = ComputeDepthPassPlan({5.0, 0.0, -3.0, 1.5}, post);
    const auto run = [&](std::string& text, std::vector<TEvent>& moves, double& seconds, const auto& write) {
        StartNcFile(state, modal, post);
        TWrittenMoves sink;
        TNcSimulation sim;
        TNcSimulationSink simulation(sim, 3.0f, post);
        TBothSinks both(sink, simulation);
        TNcProgramWriter writer(post, modal, values, state, &both);
        write(writer);
        text = writer.TakeText();
        moves = sink.Events;
        seconds = sim.TotalSeconds();
    };
    const std::vector<TChain> chains = Drawing();
    run(out.Contour, out.ContourMoves, out.ContourSeconds, [&](TNcProgramWriter& w) {
        TContourJob contour;
        contour.Side = 1;
        contour.OffsetRadius = 3.0f;
        EXPECT_EQ(WriteContourJob(w, {chains[0]}, contour, depth), TCamFailure::None);
    });
    run(out.Pocket, out.PocketMoves, out.PocketSeconds, [&](TNcProgramWriter& w) {
        TPocketJob pocket;
        pocket.OffsetRadius = 3.0f;
        pocket.FinishCuts = 1;
        pocket.FinishSize = 0.5;
        EXPECT_EQ(WritePocketJob(w, chains, pocket, depth), TCamFailure::None);
    });
    run(out.Drill, out.DrillMoves, out.DrillSeconds, [&](TNcProgramWriter& w) {
        TDrillJob drill;
        drill.Cycle = 2;
        drill.ZRapid = 5.0f;
        drill.Depth = -3.0f;
        w.GenerateDrillProgram({{10, 10}, {50, 10}, {50, 30}}, drill, depth.Plan);
    });
    return out;
}

void ExpectSameMoves(const std::vector<TEvent>& written, double writtenSeconds, const std::string& program,
                     const TPostSettings& post)
{
    double readSeconds = 0.0;
    std::vector<TEvent> read = ReadBack(program, post, nullptr, &readSeconds);
    // The time shown after the calculation is the time a step through the file ends with.
    EXPECT_NEAR(readSeconds, writtenSeconds, 1e-3);
    const std::vector<TEvent>& expected = written;
    // The start template may lift the tool to the rapid height before the
    // program's first move, which holes do not begin with.
    if (!read.empty() && read.front().Kind == 'z' && !expected.empty() && expected.front().Kind != 'z')
        read.erase(read.begin());
    if (read.size() != expected.size()) {
        std::string both;
        for (std::size_t k = 0; k < std::max(read.size(), expected.size()); ++k)
            both += (k < expected.size() ? Describe(expected[k]) : "-") + "  |  " +
                    (k < read.size() ? Describe(read[k]) : "-") + "\n";
        FAIL() << "written | read back\n" << both << program;
    }
    for (std::size_t k = 0; k < read.size(); ++k) {
        const TEvent& w = expected[k];
        const TEvent& r = read[k];
        SCOPED_TRACE("move " + std::to_string(k) + ": written " + Describe(w) + ", read " + Describe(r));
        EXPECT_EQ(r.Kind, w.Kind);
        EXPECT_EQ(r.Motion, w.Motion);
        EXPECT_TRUE(Near(r.At, w.At, 0.002));
        if (w.Kind == 'p' && w.Motion >= MOTION_CW) {
            EXPECT_TRUE(Near(r.Centre, w.Centre, 0.01));
        }
        if (w.Kind != 'p') {
            EXPECT_NEAR(r.Z, w.Z, 0.002);
        }
    }
}

} // namespace

TEST(NcRoundTrip, EveryReadablePostGivesBackTheMovesItWrote)
{
    // The XIL and SBO words ("X=10", "M2,10,5") carry no number right after
    // their letter: those programs are not read back.
    const QStringList unreadable{QStringLiteral("XIL_router.pst"), QStringLiteral("SBO_router.pst")};
    const QStringList posts = QDir(QStringLiteral(KESTRO_DATA_DIR "/pst")).entryList({QStringLiteral("*.pst")});
    ASSERT_EQ(posts.size(), 10);
    for (const QString& name : posts) {
        if (unreadable.contains(name))
            continue;
        SCOPED_TRACE(name.toStdString());
        const TPostSettings post = ReadPostSettingsFromFile(QStringLiteral(KESTRO_DATA_DIR "/pst/") + name);
        const TPrograms programs = WriteAll(post);
        EXPECT_GT(programs.PocketMoves.size(), 50u);
        {
            SCOPED_TRACE("contour");
            ExpectSameMoves(programs.ContourMoves, programs.ContourSeconds, programs.Contour, post);
        }
        {
            SCOPED_TRACE("pocket");
            ExpectSameMoves(programs.PocketMoves, programs.PocketSeconds, programs.Pocket, post);
        }
        {
            SCOPED_TRACE("drill");
            ExpectSameMoves(programs.DrillMoves, programs.DrillSeconds, programs.Drill, post);
        }
    }
}

TEST(NcRoundTrip, PocketPicture)
{
    const TPostSettings post = ReadPostSettingsFromFile(QStringLiteral(KESTRO_DATA_DIR "/pst/Fanuc_mm.pst"));
    const TPrograms programs = WriteAll(post);
    auto view = viewtest::MakeView(640, 440, MakeRect2D(-6, -6, 66, 46), 1.0f);
    QImage image(640, 440, QImage::Format_RGB32);
    image.fill(QColor(0x30, 0x30, 0x30));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    TNcPainterDrawing drawing(painter, view->GetWorldToScreen());
    const TColor contrast = LayerContrastColor;
    LayerContrastColor = 0x808080;
    ReadBack(programs.Pocket, post, &drawing);
    LayerContrastColor = contrast;
    // The drawing over the toolpath, in white.
    for (const TChain& chain : Drawing()) {
        for (const TChainElement& e : chain) {
            TPointList points;
            if (IsStraight(e))
                points = {StartPoint(e), EndPoint(e)};
            else
                TessellateBulgeArc(e, points);
            drawing.Polyline(points, 0xFFFFFF);
        }
    }
    painter.end();
    EXPECT_TRUE(imagetest::SaveTestImage(image, "cam/pocket-simulation.png"));
    // The swept area covers most of the plate outside the island.
    const int swept = imagetest::CountPixels(image, image.rect(), QColor(0x80, 0x80, 0x80).rgb());
    EXPECT_GT(swept, 640 * 440 / 3);
}
