// Every shipped post and every kind of job, read by a control's reader
// written apart from the program's read-back: each line parses, arcs close,
// cuts stay between the depth and the top, the job's feed is in force before
// every cut, the tool centre keeps its radius from the outline and the
// islands (leads included), and a pocket reaches all it can reach.

#include <algorithm>
#include <cmath>
#include <functional>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

#include <QDir>
#include <gtest/gtest.h>

#include "cam/chains/Chains.h"
#include "cam/nc/NcProgram.h"
#include "support/GCodeReader.h"
#include "support/OffsetReference.h"

namespace {

constexpr double kRadius = 2.0;
constexpr double kTop = 0.0;
constexpr double kDepth = -3.0;
constexpr double kStock = 0.5;
const std::string kFeed = "800";
const std::string kPlunge = "300";

// A 60 x 40 plate with two rounded corners and a round island.
std::vector<TChain> Plate()
{
    const double b = std::tan(std::numbers::pi / 8);
    TChain plate{MakeElement({0, 0}, {52, 0}),     MakeElement({52, 0}, {60, 8}, b), MakeElement({60, 8}, {60, 40}),
                 MakeElement({60, 40}, {8, 40}),   MakeElement({8, 40}, {0, 32}, b), MakeElement({0, 32}, {0, 0})};
    TChain island{MakeElement({36, 20}, {24, 20}, 1.0), MakeElement({24, 20}, {36, 20}, 1.0)};
    return {plate, island};
}

const TPointList kHoles{{10, 10}, {50, 10}, {50, 30}};

struct TJobOut {
    // The chains the tool must keep its radius from; none for holes.
    std::vector<TChain> Part;
    // The outline and islands whose area the tool must cover.
    bool Pocket = false;
};

TContourJob Contour(int side, TLead in, TLead out, double stock)
{
    TContourJob job;
    job.Side = side;
    job.OffsetRadius = static_cast<float>(kRadius);
    job.StockXY = stock;
    job.LeadIn = in;
    job.LeadOut = out;
    job.LeadInSize = job.LeadOutSize = 4.0;
    return job;
}

TDrillJob Drill(int cycle)
{
    TDrillJob job;
    job.Cycle = cycle;
    job.ZRapid = 5.0f;
    job.TopOfStock = static_cast<float>(kTop);
    job.Depth = static_cast<float>(kDepth);
    return job;
}

struct TFamily {
    const char* Name;
    // Writes the job through the writer; the post may be changed first (a canned cycle).
    std::function<TJobOut(TNcProgramWriter&, const TDepthJob&)> Write;
    // Holes as the post's canned cycle: only posts whose cycles have templates.
    bool Canned = false;
};

TJobOut ContourOut(TNcProgramWriter& w, const TDepthJob& d, const TContourJob& job, bool both)
{
    const std::vector<TChain> plate = Plate();
    const std::vector<TChain> chains = both ? plate : std::vector<TChain>{plate[0]};
    EXPECT_EQ(WriteContourJob(w, chains, job, d), TCamFailure::None);
    return {chains, false};
}

const TFamily FAMILIES[] = {
    {"contour Right, arc leads, stock",
     [](TNcProgramWriter& w, const TDepthJob& d) {
         return ContourOut(w, d, Contour(1, TLead::Arc, TLead::Arc, kStock), false);
     }},
    {"contour Left, line leads",
     [](TNcProgramWriter& w, const TDepthJob& d) {
         return ContourOut(w, d, Contour(-1, TLead::Line, TLead::Line, 0.0), false);
     }},
    {"contour Right of outline and island, rough and finish",
     [](TNcProgramWriter& w, const TDepthJob& d) {
         TContourJob job = Contour(1, TLead::Off, TLead::Off, kStock);
         job.RoughCuts = 2;
         job.RoughSize = 1.0;
         job.FinishCuts = 1;
         job.FinishSize = 0.25;
         return ContourOut(w, d, job, true);
     }},
    {"contour Left, no leads, no stock",
     [](TNcProgramWriter& w, const TDepthJob& d) {
         return ContourOut(w, d, Contour(-1, TLead::Off, TLead::Off, 0.0), false);
     }},
    {"pocket with an island",
     [](TNcProgramWriter& w, const TDepthJob& d) {
         TPocketJob job;
         job.OffsetRadius = static_cast<float>(kRadius);
         job.StockXY = kStock;
         job.FinishCuts = 1;
         job.FinishSize = 0.25;
         EXPECT_EQ(WritePocketJob(w, Plate(), job, d), TCamFailure::None);
         return TJobOut{Plate(), true};
     }},
    {"drilling exploded",
     [](TNcProgramWriter& w, const TDepthJob& d) {
         w.GenerateDrillProgram(kHoles, Drill(1), d.Plan);
         return TJobOut{};
     }},
    {"peck drilling exploded",
     [](TNcProgramWriter& w, const TDepthJob& d) {
         w.GenerateDrillProgram(kHoles, Drill(2), d.Plan);
         return TJobOut{};
     }},
    {"peck drilling canned",
     [](TNcProgramWriter& w, const TDepthJob& d) {
         w.GenerateDrillProgram(kHoles, Drill(2), d.Plan);
         return TJobOut{};
     },
     true},
    {"tapping", [](TNcProgramWriter& w, const TDepthJob& d) {
         w.GenerateDrillProgram(kHoles, Drill(3), d.Plan);
         return TJobOut{};
     }},
    {"drilling and tapping canned, then a contour in the same file",
     [](TNcProgramWriter& w, const TDepthJob& d) {
         w.GenerateDrillProgram(kHoles, Drill(1), d.Plan);
         w.GenerateDrillProgram(kHoles, Drill(3), d.Plan);
         return ContourOut(w, d, Contour(1, TLead::Line, TLead::Line, 0.0), false);
     },
     true},
};

TGCodeSetup SetupOf(const TPostSettings& post)
{
    TGCodeSetup setup;
    setup.Dialect = post.Dialect == DIALECT_HEI   ? TGCodeDialect::Hei
                    : post.Dialect == DIALECT_XIL ? TGCodeDialect::Xil
                    : post.Dialect == DIALECT_SBO ? TGCodeDialect::Sbo
                                                  : TGCodeDialect::Iso;
    setup.CentreFromStart = post.ArcCenter == ARC_CENTER_FROM_START;
    setup.SeqStart = post.SeqStart;
    setup.SeqMax = post.SeqMax;
    return setup;
}

// Points along a move in drawing units at most `step` apart, ends included.
std::vector<TVect> Along(const TToolMove& m, double scale, double step)
{
    std::vector<TVect> points;
    const TVect a{m.From.X / scale, m.From.Y / scale};
    const TVect b{m.To.X / scale, m.To.Y / scale};
    if (m.Kind != TToolMoveKind::Arc) {
        const int n = std::max(1, static_cast<int>(std::ceil(std::hypot(b.X - a.X, b.Y - a.Y) / step)));
        for (int k = 0; k <= n; ++k)
            points.push_back({a.X + (b.X - a.X) * k / n, a.Y + (b.Y - a.Y) * k / n});
        return points;
    }
    const TVect c{m.Centre.X / scale, m.Centre.Y / scale};
    const double r = std::hypot(a.X - c.X, a.Y - c.Y);
    const double a1 = std::atan2(a.Y - c.Y, a.X - c.X);
    double sweep = std::atan2(b.Y - c.Y, b.X - c.X) - a1;
    if (m.Clockwise)
        sweep = sweep >= -1e-12 ? sweep - 2 * std::numbers::pi : sweep;
    else
        sweep = sweep <= 1e-12 ? sweep + 2 * std::numbers::pi : sweep;
    const int n = std::max(2, static_cast<int>(std::ceil(std::fabs(sweep) * r / step)));
    for (int k = 0; k <= n; ++k)
        points.push_back({c.X + r * std::cos(a1 + sweep * k / n), c.Y + r * std::sin(a1 + sweep * k / n)});
    return points;
}

double PointToSegment(TVect p, TVect a, TVect b)
{
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double l2 = dx * dx + dy * dy;
    const double t = l2 > 0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / l2, 0.0, 1.0) : 0.0;
    return std::hypot(p.X - a.X - t * dx, p.Y - a.Y - t * dy);
}

// The share of the points the tool centre can reach (inside the outline,
// outside the island, its radius and the stock away from both) that a cut at
// the full depth passes within the tool's radius.
double PocketCoverage(const std::vector<std::vector<TVect>>& cuts, const std::vector<TChain>& part)
{
    TChain all;
    for (const TChain& chain : part)
        all.insert(all.end(), chain.begin(), chain.end());
    int reachable = 0;
    int covered = 0;
    for (double x = 0.25; x < 60; x += 0.5) {
        for (double y = 0.25; y < 40; y += 0.5) {
            const TVect p{x, y};
            if (!PointInChain(part[0], p) || PointInChain(part[1], p) ||
                DistanceToChain(p, all) < kRadius + kStock + 0.01)
                continue;
            ++reachable;
            const bool hit = std::any_of(cuts.begin(), cuts.end(), [&](const std::vector<TVect>& path) {
                for (std::size_t k = 1; k < path.size(); ++k)
                    if (PointToSegment(p, path[k - 1], path[k]) <= kRadius + 1e-6)
                        return true;
                return false;
            });
            covered += hit ? 1 : 0;
        }
    }
    return reachable > 0 ? static_cast<double>(covered) / reachable : 0.0;
}

struct TFigures {
    int Files = 0;
    int Lines = 0;
    double NearestToPart = 1e300;
    double LeastCoverage = 1.0;
};

void CheckProgram(const std::string& program, const TPostSettings& post, const TJobOut& out, TFigures& figures)
{
    const TGCodeRead read = ReadGCode(program, SetupOf(post));
    ++figures.Files;
    figures.Lines += read.Lines;
    for (const std::string& fault : read.Faults)
        ADD_FAILURE() << fault << "\n" << program;
    if (!read.Faults.empty())
        return;
    const double xyScale = post.Scaling ? post.XAxis.Scale : 1.0;
    const double zScale = post.Scaling ? post.ZAxis.Scale : 1.0;
    // The last decimal the post writes, in drawing units, with room for rounding.
    const double tolerance = std::max(0.002, 1.5 * std::pow(10.0, -post.XAxis.Format.Precision) / xyScale);
    TChain part;
    for (const TChain& chain : out.Part)
        part.insert(part.end(), chain.begin(), chain.end());
    std::vector<std::vector<TVect>> fullDepthCuts;
    int cuts = 0;
    for (const TToolMove& m : read.Moves) {
        const double z0 = m.ZFrom / zScale, z1 = m.ZTo / zScale;
        SCOPED_TRACE("line " + std::to_string(m.Line));
        if (!post.OmitZ) {
            EXPECT_GE(std::min(z0, z1), kDepth - tolerance) << "below the depth";
        }
        if (m.Kind == TToolMoveKind::Hole) {
            EXPECT_LE(z1, kTop + tolerance);
            ++cuts;
            continue;
        }
        // A move of Z alone at a feed is a plunge going down, a retract going up.
        const bool alongZ = m.From.X == m.To.X && m.From.Y == m.To.Y && m.Kind == TToolMoveKind::Feed;
        const bool plunge = alongZ && z1 < z0;
        const bool cutting = m.Kind != TToolMoveKind::Rapid && !(alongZ && !plunge) &&
                             (post.OmitZ || std::min(z0, z1) < kTop - tolerance);
        if (!cutting)
            continue;
        ++cuts;
        if (!post.OmitZ) {
            EXPECT_LE(plunge ? z1 : std::max(z0, z1), kTop + tolerance) << "a cut above the top";
        }
        // The SBO commands carry no feed: the control's move speed is set on it.
        if (post.Dialect != DIALECT_SBO) {
            EXPECT_EQ(m.Feed, std::stod(plunge ? kPlunge : kFeed)) << "the feed in force";
        }
        // Samples 0.1 apart miss the nearest point by less than 0.002 at the tool's radius.
        const std::vector<TVect> points = Along(m, xyScale, 0.1);
        if (!part.empty()) {
            for (const TVect& p : points) {
                const double d = DistanceToChain(p, part);
                figures.NearestToPart = std::min(figures.NearestToPart, d);
                if (d < kRadius - tolerance) {
                    ADD_FAILURE() << "the tool centre comes within " << d << " of the part at " << p.X << ", " << p.Y;
                    break;
                }
            }
        }
        if (post.OmitZ || std::fabs(z1 - kDepth) <= tolerance)
            fullDepthCuts.push_back(Along(m, xyScale, m.Kind == TToolMoveKind::Arc ? 0.25 : 1e9));
    }
    // A post without Z words cuts nothing at a hole.
    if (!(post.OmitZ && out.Part.empty())) {
        EXPECT_GT(cuts, 0) << "nothing was cut";
    }
    if (out.Pocket) {
        const double coverage = PocketCoverage(fullDepthCuts, out.Part);
        figures.LeastCoverage = std::min(figures.LeastCoverage, coverage);
        EXPECT_GE(coverage, 0.999);
    }
}

} // namespace

TEST(ShippedPostsRead, EveryJobOfEveryPostIsAProgramAControlCanTrust)
{
    const QString folder = QStringLiteral(KESTRO_DATA_DIR "/pst/");
    const QStringList posts = QDir(folder).entryList({QStringLiteral("*.pst")});
    ASSERT_EQ(posts.size(), 10);
    TFigures figures;
    for (const QString& name : posts) {
        const TPostSettings shipped = ReadPostSettingsFromFile(folder + name);
        for (const TFamily& family : FAMILIES) {
            SCOPED_TRACE(name.toStdString() + ": " + family.Name);
            TPostSettings post = shipped;
            if (family.Canned) {
                if (post.Cycles[1].CycleDef.empty() || post.Cycles[2].CycleDef.empty())
                    continue;
                for (TCycleTemplates& cycle : post.Cycles)
                    cycle.Exploded = false;
            }
            TNcModalMemory modal;
            TNcJobValues values;
            values.FeedRate = kFeed;
            values.PlungeRate = kPlunge;
            values.ToolDiameter = "4";
            values.Pitch = 1.0;
            TNcJobState state;
            StartNcFile(state, modal, post);
            TDepthJob depth;
            depth.ZRapid = 5.0f;
            depth.TopOfStock = static_cast<float>(kTop);
            depth.Plan = ComputeDepthPassPlan({5.0, kTop, kDepth, 1.25}, post);
            depth.WriteEof = true;
            TNcProgramWriter writer(post, modal, values, state);
            const TJobOut out = family.Write(writer, depth);
            CheckProgram(writer.Text(), post, out, figures);
        }
    }
    std::cout << "[ figures  ] " << figures.Files << " files, " << figures.Lines
              << " lines; nearest tool centre to the part " << figures.NearestToPart << " (tool radius " << kRadius
              << "); least pocket coverage " << figures.LeastCoverage * 100.0 << " %\n";
}
