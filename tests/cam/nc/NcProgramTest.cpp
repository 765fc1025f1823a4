// The programs of the machining pages as whole texts: the order in which
// chains, depths and holes are cut, where a file starts and a tool changes,
// and how an operation is taken back.

#include <algorithm>
#include <cmath>
#include <utility>
#include <string>
#include <vector>

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/Golden.h"
#include "cam/nc/NcProgram.h"

namespace {

TChain Square(double x, double y, double size)
{
    return {MakeElement({x, y}, {x + size, y}), MakeElement({x + size, y}, {x + size, y + size}),
            MakeElement({x + size, y + size}, {x, y + size}), MakeElement({x, y + size}, {x, y})};
}

TPostSettings ShippedPost(const char* name)
{
    return ReadPostSettingsFromFile(QStringLiteral(KESTRO_DATA_DIR "/pst/") + QString::fromLatin1(name));
}

TDepthJob Depths(double top, double depth, double increment, double zRapid = 2.0,
                 const TPostSettings& post = TPostSettings())
{
    TDepthJob job;
    job.ZRapid = static_cast<float>(zRapid);
    job.TopOfStock = static_cast<float>(top);
    job.Plan = ComputeDepthPassPlan({zRapid, top, depth, increment}, post);
    return job;
}

// Where each plunge of a program goes down, and to which depth.
struct TPlunge {
    TVect At;
    double Z;
};

class TMoveLog : public TNcMoveSink {
public:
    void PlaneMove(int /*motion*/, const TChainElement& path) override { at_ = EndPoint(path); }
    void ZMove(bool work, double z) override
    {
        if (work)
            Plunges.push_back({at_, z});
    }
    void DrillHole(int /*motion*/, TVect point, double /*zRapid*/, double depth) override
    {
        Plunges.push_back({point, depth});
    }

    std::vector<TPlunge> Plunges;

private:
    TVect at_{};
};

// One program's state, as the program keeps it for the job.
struct TJob {
    explicit TJob(TPostSettings post = TPostSettings()) : Post(std::move(post)) { StartNcFile(State, Modal, Post); }

    std::string Contour(const std::vector<TChain>& chains, const TDepthJob& depth, const TContourJob& contour = {})
    {
        BeginNcOperation(State, Modal, CountTextLines(Editor));
        TNcProgramWriter writer(Post, Modal, Values, State, &Log);
        EXPECT_EQ(WriteContourJob(writer, chains, contour, depth), TCamFailure::None);
        AppendTextLines(Editor, writer.Text());
        return writer.TakeText();
    }

    std::string Drill(const TPointList& points, const TDrillJob& drill, const TDepthPassPlan& plan)
    {
        BeginNcOperation(State, Modal, CountTextLines(Editor));
        TNcProgramWriter writer(Post, Modal, Values, State, &Log);
        writer.GenerateDrillProgram(points, drill, plan);
        AppendTextLines(Editor, writer.Text());
        return writer.TakeText();
    }

    TPostSettings Post;
    TNcModalMemory Modal;
    TNcJobValues Values;
    TNcJobState State;
    TMoveLog Log;
    std::string Editor;
};

int Count(const std::string& text, const std::string& word)
{
    int n = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(NcProgram, GoldenSquareWithoutCompensationIsSavedAsItWasWritten)
{
    TJob job;
    const std::string program = job.Contour({Square(0, 0, 10)}, Depths(0, -1, 1));
    ExpectGolden("square.nc", program);

    // The editor's lines are saved as the same bytes, with no empty line at the end.
    QTemporaryDir folder;
    const std::string path = QDir(folder.path()).filePath(QStringLiteral("square.nc")).toStdString();
    ASSERT_TRUE(SaveNcText(path, job.Editor + "\n"));
    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), program);
    EXPECT_FALSE(SaveNcText(folder.path().toStdString() + "/missing/square.nc", job.Editor));
}

TEST(NcProgram, CompensatedChainsAreCutOneAfterTheOtherAtEveryDepth)
{
    const std::vector<TChain> chains = {Square(0, 0, 10), Square(20, 0, 10)};
    TContourJob inside;
    inside.Side = 1;
    inside.OffsetRadius = 1.0f;

    TJob compensated;
    compensated.Contour(chains, Depths(0, -2, 1), inside);
    std::vector<std::pair<int, double>> order;
    for (const TPlunge& p : compensated.Log.Plunges)
        order.emplace_back(p.At.X < 15 ? 0 : 1, p.Z);
    EXPECT_EQ(order, (std::vector<std::pair<int, double>>{{0, -1}, {0, -2}, {1, -1}, {1, -2}}));
    // The offset loops stay a radius inside their chains.
    EXPECT_EQ(Count(compensated.Editor, "G0 X1.000 Y1.000"), 2);

    // Without compensation every chain is cut at one depth before the next depth.
    TJob plain;
    plain.Contour(chains, Depths(0, -2, 1));
    order.clear();
    for (const TPlunge& p : plain.Log.Plunges)
        order.emplace_back(p.At.X < 15 ? 0 : 1, p.Z);
    EXPECT_EQ(order, (std::vector<std::pair<int, double>>{{0, -1}, {1, -1}, {0, -2}, {1, -2}}));

    // A pocket is cut depth by depth, each depth ending on its finishing ring
    // (a radius from the sides); the end of file comes once, last.
    TJob pocket;
    pocket.Post.EndOfFile = "M30\r\n";
    TPocketJob clearing;
    clearing.OffsetRadius = 2.0f;
    clearing.FinishCuts = 1;
    clearing.FinishSize = 0.5;
    TDepthJob twoDepths = Depths(0, -2, 1);
    twoDepths.WriteEof = true;
    TNcProgramWriter pocketWriter(pocket.Post, pocket.Modal, pocket.Values, pocket.State, &pocket.Log);
    ASSERT_EQ(WritePocketJob(pocketWriter, {Square(0, 0, 20)}, clearing, twoDepths), TCamFailure::None);
    const std::vector<TPlunge>& plunges = pocket.Log.Plunges;
    ASSERT_EQ(plunges.size() % 2, 0u);
    const std::size_t half = plunges.size() / 2;
    for (std::size_t i = 0; i < plunges.size(); ++i)
        EXPECT_EQ(plunges[i].Z, i < half ? -1.0 : -2.0) << i;
    for (const std::size_t last : {half - 1, plunges.size() - 1}) {
        const TVect at = plunges[last].At;
        EXPECT_TRUE(std::min({std::fabs(at.X - 2), std::fabs(at.X - 18), std::fabs(at.Y - 2), std::fabs(at.Y - 18)}) <
                    1e-6);
    }
    const std::string text = pocketWriter.Text();
    EXPECT_EQ(Count(text, "M30"), 1);
    EXPECT_EQ(text.substr(text.size() - 5), "M30\r\n");

    // A tool that fits in no chain gives no program.
    TContourJob tooBig = inside;
    tooBig.OffsetRadius = 6.0f;
    TNcProgramWriter writer(plain.Post, plain.Modal, plain.Values, plain.State);
    EXPECT_EQ(WriteContourJob(writer, chains, tooBig, Depths(0, -1, 1)), TCamFailure::Aborted);
}

TEST(NcProgram, FileStartsOnceToolChangesOnceAndEveryNewFileStartsClean)
{
    TJob job(ShippedPost("Fanuc_mm.pst"));
    const TDepthJob depth = Depths(0, -1, 1);
    const std::string first = job.Contour({Square(0, 0, 10), Square(20, 0, 10)}, depth);
    EXPECT_EQ(Count(first, "%\r\n"), 1);
    EXPECT_EQ(Count(first, "M6"), 1);

    // The same tool again: no template at all; another tool: one change for two chains.
    EXPECT_EQ(Count(job.Contour({Square(0, 0, 10)}, depth), "M6"), 0);
    job.Values.ToolNumber = 2;
    const std::string changed = job.Contour({Square(0, 0, 10), Square(20, 0, 10)}, depth);
    EXPECT_EQ(Count(changed, "T2 M6"), 1);
    EXPECT_EQ(Count(changed, "%"), 0);
    EXPECT_EQ(Count(job.Contour({Square(0, 0, 10)}, depth), "M6"), 0);

    // A new file forgets the feed and points the control was told, for drilling as for contours.
    for (int kind = 0; kind < 2; ++kind) {
        StartNcFile(job.State, job.Modal, job.Post);
        const std::string program = kind == 0 ? job.Contour({Square(0, 0, 10)}, depth)
                                              : job.Drill({{0, 0}}, {}, depth.Plan);
        SCOPED_TRACE(program);
        EXPECT_EQ(Count(program, "%\r\n"), 1);
        EXPECT_EQ(Count(program, "Z-1.000 F1000"), 1);
        EXPECT_EQ(Count(program, "G0 X0.000 Y0.000"), 1);
    }
}

TEST(NcProgram, AnIncrementalPostChosenBetweenOperationsStepsFromWhereTheToolStands)
{
    // The first operation ends at (5, 5), up at Z2, written in absolute words.
    TJob job;
    job.Contour({Square(5, 5, 10)}, Depths(0, -1, 1));
    job.Post = ShippedPost("ISO_incremental.pst");
    const std::string second = job.Contour({Square(20, 0, 10)}, Depths(0, -1, 1));
    SCOPED_TRACE(second);
    EXPECT_EQ(Count(second, "G0 X15.000 Y-5.000"), 1);
    EXPECT_EQ(Count(second, "Z2.000"), 0) << "the tool is up already";
    EXPECT_EQ(Count(second, "G1 Z-3.000\r\n"), 1);
}

TEST(NcProgram, UndoTakesBackTheLastOperationOnly)
{
    TPostSettings post = ShippedPost("Fanuc_mm.pst");
    post.OutputSeq = true;
    post.SeqStart = 10;
    post.SeqInc = 10;
    TJob job(post);
    const TDepthJob depth = Depths(0, -1, 1);

    // Nothing to take back right after a file was opened or started.
    EXPECT_FALSE(TakeBackNcOperation(job.Editor, job.State, job.Modal, job.Post));

    // Taking back the only operation starts the file again.
    const std::string first = job.Contour({Square(0, 0, 10)}, depth);
    ASSERT_TRUE(TakeBackNcOperation(job.Editor, job.State, job.Modal, job.Post));
    EXPECT_EQ(job.Editor, "");
    EXPECT_EQ(job.Contour({Square(0, 0, 10)}, depth), first);
    const std::string afterFirst = job.Editor;

    // Taking back a second operation keeps the first, its block numbers, its
    // tool and the feed the control was last told.
    job.Values.ToolNumber = 3;
    job.Values.FeedRate = "500";
    const std::string second = job.Contour({Square(20, 0, 10)}, depth);
    ASSERT_TRUE(TakeBackNcOperation(job.Editor, job.State, job.Modal, job.Post));
    EXPECT_EQ(job.Editor, afterFirst);
    EXPECT_EQ(job.State.LastTool, 1);
    EXPECT_FALSE(TakeBackNcOperation(job.Editor, job.State, job.Modal, job.Post));
    EXPECT_EQ(job.Contour({Square(20, 0, 10)}, depth), second);
}

TEST(NcProgram, DrillingPecksExplodedOrCallsThePostsCycle)
{
    TJob job;
    TDrillJob peck;
    peck.Cycle = 2;
    peck.Depth = -3.0f;
    const TDepthPassPlan plan = ComputeDepthPassPlan({2, 0, -3, 1});
    EXPECT_EQ(job.Drill({{5, 5}}, peck, plan),
              "G0 X5.000 Y5.000\r\n"
              "G1 Z-1.000 F1000\r\n"
              "G0 Z2.000\r\n"
              "G0 Z-0.900\r\n"
              "G1 Z-2.000\r\n"
              "G0 Z2.000\r\n"
              "G0 Z-1.900\r\n"
              "G1 Z-3.000\r\n"
              "G0 Z2.000\r\n");

    // Drilling and tapping go down once.
    TDrillJob tap = peck;
    tap.Cycle = 3;
    tap.WriteEof = true;
    job.Post.EndOfFile = "M30\r\n";
    EXPECT_EQ(job.Drill({{5, 5}, {8, 5}}, tap, plan),
              "G0 X5.000 Y5.000\r\nG1 Z-3.000\r\nG0 Z2.000\r\nG0 X8.000 Y5.000\r\nG1 Z-3.000\r\nG0 Z2.000\r\nM30\r\n");

    TJob canned(ReadPostSettingsFromText("[Cycle_2]\nExploded=0\n"
                                         "Cycle_def=G83[x][y][depth][ref_height][peck_increment][feedplunge]\n"
                                         "Cycle_move=[x][y]\nCycle_cancel=G80\n"));
    EXPECT_EQ(canned.Drill({{5, 5}, {20, 5}}, peck, plan),
              "G83 X5.000 Y5.000 Z-3.000 R2.000 Q1.000 F1000\r\nX20.000 Y5.000\r\nG80\r\n");
    EXPECT_EQ(canned.Log.Plunges.size(), 2u);
}

TEST(NcJob, DepthPassPlans)
{
    struct TCase {
        TDepthFields Fields;
        TPassPlanStatus Status;
        int Passes;
        double Step1;
        double Step2;
    };
    const TCase cases[] = {
        {{2, 0, -3, 1}, TPassPlanStatus::Ok, 3, 1, 0},
        {{2, 0, -2.5, 1}, TPassPlanStatus::Ok, 2, 1, 0.5},
        // Rounding leaves no sliver of a last pass.
        {{2, 0, -0.3, 0.1}, TPassPlanStatus::Ok, 3, 0.1, 0},
        // An increment beyond the depth is one pass; a depth at the top is one pass there.
        {{2, 1, -1, 5}, TPassPlanStatus::Ok, 1, 2, 0},
        {{2, 0, 0, 1}, TPassPlanStatus::Ok, 1, 0, 0},
        {{2, 0, -1, 0}, TPassPlanStatus::BadIncrement, 1, 0, 0},
        {{2, 0, -1, -1}, TPassPlanStatus::BadIncrement, 1, 0, 0},
        {{2, 0, -1, 0.00001}, TPassPlanStatus::BadIncrement, 1, 0, 0},
        {{0, 0, -1, 1}, TPassPlanStatus::RapidNotAbove, 1, 0, 0},
        {{2, 0, 1, 1}, TPassPlanStatus::DepthAboveTop, 1, 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Fields.ZRapid << " " << c.Fields.TopOfStock << " " << c.Fields.Depth
                                        << " " << c.Fields.Increment);
        const TDepthPassPlan plan = ComputeDepthPassPlan(c.Fields);
        EXPECT_EQ(plan.Status, c.Status);
        EXPECT_EQ(plan.Usable(), c.Status == TPassPlanStatus::Ok);
        if (!plan.Usable())
            continue;
        EXPECT_EQ(plan.Passes, c.Passes);
        EXPECT_NEAR(plan.Step1, c.Step1, 1e-12);
        EXPECT_NEAR(plan.Step2, c.Step2, 1e-12);
        EXPECT_EQ(plan.ExtraPass, c.Step2 > 0);
        float depth = static_cast<float>(c.Fields.TopOfStock);
        for (int i = 1; i <= plan.PassCount(); ++i)
            StepTopOfStock(depth, plan, i);
        EXPECT_NEAR(depth, c.Fields.Depth, 1e-5);
    }

    // A depth at the top of the stock is cut once, there.
    TJob job;
    EXPECT_EQ(Count(job.Contour({Square(0, 0, 10)}, Depths(0, 0, 1)), "G1 Z0.000 F1000"), 1);

    // Posts without Z make one pass whatever the fields hold.
    TPostSettings noZ;
    noZ.OmitZ = true;
    EXPECT_EQ(ComputeDepthPassPlan({0, 0, -5, 0}, noZ).Status, TPassPlanStatus::OnePass);
    EXPECT_EQ(ComputeDepthPassPlan({0, 0, -5, 0}, noZ).PassCount(), 1);
}

TEST(NcJob, NamesAndDurations)
{
    EXPECT_EQ(FormatDuration(0), " 0h, 00m, 00s");
    EXPECT_EQ(FormatDuration(3725), " 1h, 02m, 05s");
    EXPECT_EQ(FormatDuration(100 * 3600 + 59), " 100h, 00m, 59s");

    EXPECT_EQ(ProposedNcFileName(""), "t");
    EXPECT_EQ(ProposedNcFileName("*.*"), "t");
    EXPECT_EQ(ProposedNcFileName("/home/user/jobs/part.v2.nc"), "part.v2");

    // One pixel a character; a narrow label must not keep the loop going.
    const auto width = [](const std::string& text) { return static_cast<int>(text.size()); };
    EXPECT_EQ(ShortenPathForWidth("/home/user/jobs/part.nc", 100, width), "/home/user/jobs/part.nc");
    EXPECT_EQ(ShortenPathForWidth("/home/user/jobs/part.nc", 20, width), "/home/use....nc");
    EXPECT_EQ(ShortenPathForWidth("/home/user/jobs/part.nc", 0, width), "/home/use...");
}
