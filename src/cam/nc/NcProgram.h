#pragma once

// The NC programs of the three machining pages: contours (and the pocket
// paths, written the same way) at each depth pass, and drilling, exploded
// into single moves or as the post's canned cycle. The text goes into a
// string; every move is also told to a sink, which the program uses to
// draw the toolpath and count the machining time while it is written.

#include <string>
#include <vector>

#include "cam/chains/ChainElement.h"
#include "cam/nc/NcJob.h"
#include "cam/nc/NcWords.h"
#include "cam/nc/PostSettings.h"
#include "cam/ProgressSink.h"
#include "cam/toolpath/Toolpaths.h"

// Receives the moves of a program as they are written, in absolute coordinates.
class TNcMoveSink {
public:
    virtual ~TNcMoveSink() = default;
    // A move in the plane from the last point: motion 0 or 1 along a straight
    // element, 2 or 3 along an arc.
    virtual void PlaneMove(int motion, const TChainElement& path) = 0;
    // A move of Z alone; work moves run at the plunge rate.
    virtual void ZMove(bool work, double z) = 0;
    // A hole of a canned cycle (motion 81 to 86) from the rapid height to the depth.
    virtual void DrillHole(int motion, TVect point, double zRapid, double depth) = 0;
};

// The drill page as the calculation reads it.
struct TDrillJob {
    // 1 "Drill", 2 "PeckDrill", 3 "Tap".
    int Cycle = 1;
    float ZRapid = 2.0f;
    float TopOfStock = 0.0f;
    float Depth = -1.0f;
    bool WriteEof = false;
};

// The Z side of a contour or pocket page as the calculation reads it.
struct TDepthJob {
    float ZRapid = 2.0f;
    float TopOfStock = 0.0f;
    TDepthPassPlan Plan;
    bool WriteEof = false;
};

// Writes the programs of one calculation. It borrows the post, the modal
// memory, the job's values and state; the program keeps one of each.
class TNcProgramWriter {
public:
    TNcProgramWriter(const TPostSettings& post, TNcModalMemory& modal, TNcJobValues& job, TNcJobState& state,
                     TNcMoveSink* sink = nullptr);

    const std::string& Text() const { return writer_.Text(); }
    std::string TakeText() { return writer_.TakeText(); }
    // Whether a loop or a hole has been written.
    bool WroteMoves() const { return wroteMoves_; }

    // One depth pass of the loops; the end of file after them when asked.
    // Gives back the last element written (a zero element when none).
    TChainElement GenerateContourProgram(const std::vector<TChain>& loops, bool writeEof, float depth, float zRapid);

    // Every hole at the drill page's depth, by its plan.
    void GenerateDrillProgram(const TPointList& points, const TDrillJob& drill, const TDepthPassPlan& plan);

private:
    // A template expanded at the point; its rapid Z is told to the sink.
    void Template(const std::string& templ, double x, double y);
    // The file's start, or a tool change, before the moves at the point.
    void WriteProgramStart(TVect at);
    void ZLine(int motion, double z, const std::string& feed);
    void XYLine(int motion, const std::string& feed, TVect to);
    void Element(const TChainElement& e);

    const TPostSettings& post_;
    TNcModalMemory& modal_;
    TNcJobValues& job_;
    TNcJobState& state_;
    TNcMoveSink* sink_;
    TNcWriter writer_;
    TVect lastPoint_{};
    bool wroteMoves_ = false;
};

// The contour page's program: each chain's passes at every depth before the
// next chain; without compensation every chain at each depth in turn. Stops
// at the first failure with what was written so far; a job that gives no
// toolpath at all fails as Aborted. The leads keep off every chain; the
// chains (numbered from 1) of which a loop lost a lead are listed.
TCamFailure WriteContourJob(TNcProgramWriter& writer, const std::vector<TChain>& chains, const TContourJob& contour,
                            const TDepthJob& depth, TProgressSink& progress = DefaultProgressSink(),
                            std::vector<int>* chainsWithoutLeads = nullptr);

// The pocket page's program: each group's paths at every depth, each depth
// followed by its finishing passes. Nothing is written when a pass fails.
TCamFailure WritePocketJob(TNcProgramWriter& writer, const std::vector<TChain>& chains, const TPocketJob& pocket,
                           const TDepthJob& depth, TProgressSink& progress = DefaultProgressSink());
