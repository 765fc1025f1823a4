#pragma once

// The XY paths of one contour or pocket job, computed from the picked
// chains: offset, cut at the crossings, cleared of pieces that would gouge,
// walked into loops. Contours run a schedule of rough and finish passes
// with optional leads; pockets clear the area inside an outer chain and
// around its islands with rings at a growing offset, linked into paths.
// Writing them as NC blocks at each depth is the NC generator's work.

#include <vector>

#include "cam/chains/ChainElement.h"
#include "cam/ProgressSink.h"

class TPreparedSource;

enum class TCamFailure {
    None,
    // Stopped by the user, or the cutting did not settle (texts 720-722).
    Aborted,
    // A pocket step of 0 (text 456): the rings would never end.
    StepOverZero,
    // A pass found no loop where the chain leaves the tool room to cut
    // (texts 720-722): a program without it would skip that area.
    LostLoop,
};

enum class TLead { Off, Line, Arc };

// The tool's offset radius as the CNC pages set it; 0 until they do.
extern float OffsetRadius;

// The contour page as the calculation reads it.
struct TContourJob {
    // -1 "Left", +1 "Right", 0 "Off".
    int Side = 0;
    float OffsetRadius = 0.0f;
    double StockXY = 0.0;
    int RoughCuts = 1;
    int FinishCuts = 0;
    double RoughSize = 0.0;
    double FinishSize = 0.0;
    TLead LeadIn = TLead::Off;
    TLead LeadOut = TLead::Off;
    double LeadInSize = 5.0;
    double LeadOutSize = 5.0;
    bool Reverse = false;
};

// The signed offsets of the passes in the order they are cut, the last at
// the allowance itself; empty when there is no allowance (no side, or
// stock and radius 0), in which case the chain itself is cut.
std::vector<double> ContourPassOffsets(const TContourJob& job);

// Whether the pieces kept for a pass at offset d (the removal's result)
// show room for the tool: a point just beyond one of them, away from the
// source, keeps more than |d| from it.
bool LeavesRoomForTool(const TChain& pieces, const TPreparedSource& source, double d);

// One offset pass of one chain: closed loops for a closed chain, open walks
// too for an open one. LostLoop when a closed chain gives no loop though it
// leaves room for the tool.
TCamFailure OffsetPass(const TChain& chain, double d, std::vector<TChain>& loops,
                       TProgressSink& progress = DefaultProgressSink());

// Puts a lead-in before the loop and, when chosen, a lead-out after it, on
// the compensation side, at their full sizes. Nothing without a side or a lead-in.
void AddLeadInOut(TChain& loop, const TContourJob& job);

// The leads of AddLeadInOut kept at least the tool radius plus the stock
// away from every element of the part (the outline and its islands): a lead
// that would come nearer is shortened (halved, down to a sixteenth), or the
// closed loop starts at the other end of its first element, or the lead is
// left out. False when a lead asked for was left out.
bool AddClearLeadInOut(TChain& loop, const TContourJob& job, const TChain& part);

// What the user is told of a chain whose loop lost a lead, before the chain's number.
inline constexpr char LEAD_LEFT_OUT[] = "A lead would cut into the part and was left out: chain";

// Every pass of the chain in cutting order, each loop reversed when asked
// and with its clear leads, kept off the part (the chain itself when none
// is given); leadsLeftOut counts the loops that lost a lead.
TCamFailure ContourToolpath(const TChain& chain, const TContourJob& job, std::vector<TChain>& loops,
                            TProgressSink& progress = DefaultProgressSink(), const TChain* part = nullptr,
                            int* leadsLeftOut = nullptr);

// Pockets ----------------------------------------------------------------

// A chain of the chain list and how deep it lies: 0 the outer chain, then
// 1 plus the number of the group's other islands around it.
struct TPocketEntry {
    int Chain = 0;
    int Depth = 0;
};
// Entry 0 is the outer chain, the rest its islands.
using TPocketGroup = std::vector<TPocketEntry>;

// A group for every chain none of whose element starts lies inside another chain.
std::vector<TPocketGroup> FindOuterChains(const std::vector<TChain>& chains);
// Adds to each group the chains reaching inside its outer chain, with their depths.
void FindIslands(const std::vector<TChain>& chains, std::vector<TPocketGroup>& groups);
// All elements of the group's chains.
TChain GroupElements(const TPocketGroup& group, const std::vector<TChain>& chains);

// The rings of the group at offset d (odd-depth islands are walked the
// other way, so the offset goes round them); none when the first lies
// outside the outer chain. LostLoop when there are none though the group
// leaves room for the tool.
TCamFailure ComputePocketPass(const TPocketGroup& group, const std::vector<TChain>& chains, const TChain& source,
                              double d, std::vector<TChain>& loops, TProgressSink& progress = DefaultProgressSink());

// Joins the rings (consumed) into paths, each time going to the ring
// starting nearest the last one's start. A straight link that would cross
// the boundary or the source, or pass nearer to the source than the tool's
// radius (less the slack the removal of gouging pieces allows), ends the
// path: the next starts after a retract.
std::vector<TChain> LinkChainsNearest(std::vector<TChain>& rings, const TChain& source, const TChain& boundary,
                                      double toolRadius);

// The pocket page as the calculation reads it.
struct TPocketJob {
    float OffsetRadius = 0.0f;
    double StockXY = 0.0;
    double StepOverPercent = 50.0;
    int FinishCuts = 0;
    double FinishSize = 0.0;
    // Innermost ring first.
    bool Spiral = true;
    bool Reverse = false;
};

struct TPocketToolpath {
    // Written at every depth.
    std::vector<TChain> Paths;
    // After the paths, each finishing pass writes the rings of every
    // finishing pass so far at this depth, its own last.
    std::vector<std::vector<TChain>> FinishWrites;
};

// One toolpath for every outer chain with its islands.
TCamFailure PocketToolpaths(const std::vector<TChain>& chains, const TPocketJob& job,
                            std::vector<TPocketToolpath>& toolpaths, TProgressSink& progress = DefaultProgressSink());
