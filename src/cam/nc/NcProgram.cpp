#include "cam/nc/NcProgram.h"

#include <array>

namespace {

// The motion of each drilling cycle, as the read-back knows them.
constexpr std::array<int, 3> kCycleMotion = {81, 83, 84};

// What the approach of a peck stops short of the last depth, in steps.
constexpr double kPeckClearance = 0.1;

} // namespace

TNcProgramWriter::TNcProgramWriter(const TPostSettings& post, TNcModalMemory& modal, TNcJobValues& job,
                                   TNcJobState& state, TNcMoveSink* sink)
    : post_(post), modal_(modal), job_(job), state_(state), sink_(sink), writer_(post, modal, job)
{
}

void TNcProgramWriter::Template(const std::string& templ, double x, double y)
{
    writer_.WriteTemplate(templ, x, y);
    // A template that lifts the tool ([zrapid]) moves it as a Z line does.
    if (const std::optional<double> z = writer_.TakeTemplateZ(); z && sink_ && !post_.OmitZ)
        sink_->ZMove(false, *z);
}

void TNcProgramWriter::WriteProgramStart(TVect at)
{
    if (state_.FirstProgram) {
        // A new file owes nothing to what an earlier program told the control.
        modal_.ClearWords();
        modal_.ClearIncremental();
        Template(post_.StartOfFile, at.X, at.Y);
        state_.FirstProgram = false;
        state_.LastTool = job_.ToolNumber;
    } else if (job_.ToolNumber != state_.LastTool) {
        Template(post_.ToolChange, at.X, at.Y);
        state_.LastTool = job_.ToolNumber;
    }
}

void TNcProgramWriter::ZLine(int motion, double z, const std::string& feed)
{
    if (post_.OmitZ)
        return;
    // The last incremental values follow the tool in absolute programs too:
    // a program written after a change to an incremental post steps from
    // where the tool stands, not from where the file started.
    const float dz = writer_.IncrementZ(z);
    std::string words = writer_.FormatZWord(post_.IncrementalMode ? dz : z);
    words += writer_.FormatFeedWord(feed);
    writer_.WriteNcLine(motion, words);
    if (sink_)
        sink_->ZMove(motion != MOTION_RAPID, z);
}

void TNcProgramWriter::XYLine(int motion, const std::string& feed, TVect to)
{
    if (post_.IncrementalMode) {
        // Straight moves go as differences too, or the control would read
        // absolute points as steps and the arcs' differences would drift.
        const float dx = writer_.IncrementX(to.X);
        const float dy = writer_.IncrementY(to.Y);
        std::string words = writer_.FormatXWord(dx);
        words += writer_.FormatYWord(dy);
        words += writer_.FormatFeedWord(feed);
        writer_.WriteNcLine(motion, words);
    } else {
        writer_.WriteMoveLine(motion, feed, to.X, to.Y);
        writer_.IncrementX(to.X);
        writer_.IncrementY(to.Y);
    }
    if (sink_)
        sink_->PlaneMove(motion, MakeElement(lastPoint_, to));
    lastPoint_ = to;
}

void TNcProgramWriter::Element(const TChainElement& e)
{
    TBulgeArc arc;
    if (IsStraight(e) || !BulgeArcParams(e, arc)) {
        XYLine(MOTION_LINEAR, job_.FeedRate, EndPoint(e));
        return;
    }
    writer_.WriteArcBlock(e);
    if (!post_.IncrementalMode) {
        writer_.IncrementX(e.X2);
        writer_.IncrementY(e.Y2);
    }
    if (sink_)
        sink_->PlaneMove(arc.Direction, e);
    lastPoint_ = EndPoint(e);
}

TChainElement TNcProgramWriter::GenerateContourProgram(const std::vector<TChain>& loops, bool writeEof, float depth,
                                                       float zRapid)
{
    job_.ZRapid = zRapid;
    job_.CurrentDepth = depth;
    TChainElement last{};
    bool wroteLoop = false;
    for (const TChain& loop : loops) {
        if (loop.empty())
            continue;
        const TVect start = StartPoint(loop.front());
        WriteProgramStart(start);
        ZLine(MOTION_RAPID, zRapid, RAPID_FEED);
        XYLine(MOTION_RAPID, RAPID_FEED, start);
        ZLine(MOTION_LINEAR, depth, job_.PlungeRate);
        for (std::size_t i = 0; i < loop.size(); ++i) {
            const TChainElement& e = loop[i];
            const bool first = i == 0;
            const bool lastElement = i + 1 == loop.size();
            if (first && post_.HasBeforeFirstFeedMove)
                Template(post_.BeforeFirstFeedMove, e.X2, e.Y2);
            if (lastElement && post_.HasBeforeLastFeedMove)
                Template(post_.BeforeLastFeedMove, e.X2, e.Y2);
            Element(e);
            if (first && post_.HasAfterFirstFeedMove)
                Template(post_.AfterFirstFeedMove, e.X2, e.Y2);
            if (lastElement && post_.HasAfterLastFeedMove)
                Template(post_.AfterLastFeedMove, e.X2, e.Y2);
        }
        last = loop.back();
        wroteLoop = true;
    }
    if (wroteLoop) {
        ZLine(MOTION_RAPID, zRapid, RAPID_FEED);
        wroteMoves_ = true;
    }
    // The end of file is written even when this pass found nothing to cut,
    // so that the file still ends as asked.
    if (writeEof)
        Template(post_.EndOfFile, lastPoint_.X, lastPoint_.Y);
    return last;
}

void TNcProgramWriter::GenerateDrillProgram(const TPointList& points, const TDrillJob& drill,
                                            const TDepthPassPlan& plan)
{
    const int cycle = drill.Cycle >= 1 && drill.Cycle <= 3 ? drill.Cycle : 1;
    const TCycleTemplates& templates = post_.Cycles[static_cast<std::size_t>(cycle - 1)];
    job_.ZRapid = drill.ZRapid;
    job_.CurrentDepth = drill.Depth;
    for (std::size_t k = 0; k < points.size(); ++k) {
        const TVect p = points[k];
        WriteProgramStart(p);
        if (!templates.Exploded) {
            Template((k == 0 ? templates.CycleDef : templates.CycleMove) + "\r\n", p.X, p.Y);
            if (sink_)
                sink_->DrillHole(kCycleMotion[static_cast<std::size_t>(cycle - 1)], p, drill.ZRapid, drill.Depth);
            lastPoint_ = p;
            continue;
        }
        XYLine(MOTION_RAPID, RAPID_FEED, p);
        if (cycle == 2) {
            float depth = drill.TopOfStock;
            for (int i = 1; i <= plan.PassCount(); ++i) {
                const float previous = depth;
                StepTopOfStock(depth, plan, i);
                if (i > 1)
                    ZLine(MOTION_RAPID, previous + plan.Step1 * kPeckClearance, RAPID_FEED);
                ZLine(MOTION_LINEAR, depth, job_.PlungeRate);
                ZLine(MOTION_RAPID, drill.ZRapid, RAPID_FEED);
            }
        } else {
            // Tapping, too, comes back at rapid: the post's cycle call is the
            // way to reverse the spindle out of the thread.
            ZLine(MOTION_LINEAR, drill.Depth, job_.PlungeRate);
            ZLine(MOTION_RAPID, drill.ZRapid, RAPID_FEED);
        }
    }
    if (!points.empty()) {
        wroteMoves_ = true;
        if (!templates.Exploded)
            Template(templates.CycleCancel + "\r\n", points.back().X, points.back().Y);
    }
    if (drill.WriteEof)
        Template(post_.EndOfFile, lastPoint_.X, lastPoint_.Y);
}

namespace {

// Writes the loops at every depth of the plan, from the top of the stock down.
void WriteDepthPasses(TNcProgramWriter& writer, const std::vector<TChain>& loops, const TDepthJob& depth,
                      bool endsJob)
{
    const int passes = depth.Plan.PassCount();
    float z = depth.TopOfStock;
    for (int i = 1; i <= passes; ++i) {
        StepTopOfStock(z, depth.Plan, i);
        writer.GenerateContourProgram(loops, depth.WriteEof && endsJob && i == passes, z, depth.ZRapid);
    }
}

} // namespace

TCamFailure WriteContourJob(TNcProgramWriter& writer, const std::vector<TChain>& chains, const TContourJob& contour,
                            const TDepthJob& depth, TProgressSink& progress, std::vector<int>* chainsWithoutLeads)
{
    if (ContourPassOffsets(contour).empty()) {
        // Without compensation the chains themselves are cut, all of them at each depth.
        std::vector<TChain> loops;
        for (const TChain& chain : chains)
            if (const TCamFailure failure = ContourToolpath(chain, contour, loops, progress);
                failure != TCamFailure::None)
                return failure;
        WriteDepthPasses(writer, loops, depth, true);
    } else {
        // The leads keep off every picked chain: the outline and its islands.
        TChain part;
        for (const TChain& chain : chains)
            part.insert(part.end(), chain.begin(), chain.end());
        for (std::size_t c = 0; c < chains.size(); ++c) {
            std::vector<TChain> loops;
            int leftOut = 0;
            if (const TCamFailure failure = ContourToolpath(chains[c], contour, loops, progress, &part, &leftOut);
                failure != TCamFailure::None)
                return failure;
            if (leftOut > 0 && chainsWithoutLeads)
                chainsWithoutLeads->push_back(static_cast<int>(c) + 1);
            WriteDepthPasses(writer, loops, depth, c + 1 == chains.size());
        }
    }
    // Nothing to cut (a tool too big for every chain) is not a program.
    return writer.WroteMoves() ? TCamFailure::None : TCamFailure::Aborted;
}

TCamFailure WritePocketJob(TNcProgramWriter& writer, const std::vector<TChain>& chains, const TPocketJob& pocket,
                           const TDepthJob& depth, TProgressSink& progress)
{
    std::vector<TPocketToolpath> toolpaths;
    if (const TCamFailure failure = PocketToolpaths(chains, pocket, toolpaths, progress); failure != TCamFailure::None)
        return failure;
    const int passes = depth.Plan.PassCount();
    for (std::size_t g = 0; g < toolpaths.size(); ++g) {
        const TPocketToolpath& toolpath = toolpaths[g];
        const bool lastGroup = g + 1 == toolpaths.size();
        float z = depth.TopOfStock;
        for (int i = 1; i <= passes; ++i) {
            StepTopOfStock(z, depth.Plan, i);
            const bool endsJob = depth.WriteEof && lastGroup && i == passes;
            writer.GenerateContourProgram(toolpath.Paths, endsJob && toolpath.FinishWrites.empty(), z, depth.ZRapid);
            for (std::size_t k = 0; k < toolpath.FinishWrites.size(); ++k)
                writer.GenerateContourProgram(toolpath.FinishWrites[k], endsJob && k + 1 == toolpath.FinishWrites.size(),
                                              z, depth.ZRapid);
        }
    }
    return writer.WroteMoves() ? TCamFailure::None : TCamFailure::Aborted;
}
