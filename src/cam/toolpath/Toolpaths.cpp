#include "cam/toolpath/Toolpaths.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

#include "cad/geometry/VectorHelpers.h"
#include "cam/toolpath/ChainOffset.h"
#include "cam/chains/Chains.h"
#include "cam/toolpath/ElementDistance.h"
#include "cam/toolpath/ElementSplit.h"
#include "cam/toolpath/ListHelpers.h"
#include "cam/toolpath/Loops.h"
#include "cam/toolpath/SplitAtIntersections.h"

float OffsetRadius = 0.0f;

namespace {

constexpr double PI = std::numbers::pi;

TVect Unit(TVect v)
{
    const double length = std::hypot(v.X, v.Y);
    return length > 0.0 ? TVect{v.X / length, v.Y / length} : TVect{0.0, 0.0};
}

TVect Rotated(TVect v, double angle)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return {v.X * c - v.Y * s, v.X * s + v.Y * c};
}

// The direction in which the element arrives at its end.
TVect EndTangent(const TChainElement& e)
{
    TChainElement back = MakeElement(EndPoint(e), StartPoint(e), IsStraight(e) ? 0.0 : -e.Bulge);
    const TVect t = StartTangent(back);
    return {-t.X, -t.Y};
}

TChain Reversed(TChain chain)
{
    ReverseChain(chain);
    return chain;
}

// How many rings the group's outer chain can hold at the step, with room to
// spare: a guard against a sequence that would not end.
std::size_t RingLimit(const TChain& outer, double step)
{
    double minX = std::numeric_limits<double>::max();
    double minY = minX;
    double maxX = -minX;
    double maxY = -minX;
    for (const TChainElement& e : outer) {
        double radius = 0.0;
        TVect centre = StartPoint(e);
        if (!IsStraight(e))
            BulgeArcCentre(e, centre, radius);
        for (const TVect p : {StartPoint(e), EndPoint(e)}) {
            minX = std::min({minX, p.X, centre.X - radius});
            maxX = std::max({maxX, p.X, centre.X + radius});
            minY = std::min({minY, p.Y, centre.Y - radius});
            maxY = std::max({maxY, p.Y, centre.Y + radius});
        }
    }
    const double size = std::max(maxX - minX, maxY - minY);
    return static_cast<std::size_t>(std::ceil(std::max(size, 0.0) / step)) + 2;
}

// How far beyond a kept piece the room for the tool is looked for: the
// width of a region too narrow to count as one.
constexpr double ROOM_PROBE = 0.001;

// The middle of the element and the unit normal to its left there.
void MiddleAndLeftNormal(const TChainElement& e, TVect& middle, TVect& normal)
{
    TVect tangent;
    if (IsStraight(e)) {
        middle = {(e.X1 + e.X2) / 2.0, (e.Y1 + e.Y2) / 2.0};
        tangent = Unit({e.X2 - e.X1, e.Y2 - e.Y1});
    } else {
        const TArcSpan span = ArcSpanOf(e);
        const double angle = span.StartAngle + span.Turn * span.Sweep / 2.0;
        middle = {span.Centre.X + span.Radius * std::cos(angle), span.Centre.Y + span.Radius * std::sin(angle)};
        tangent = {-std::sin(angle) * span.Turn, std::cos(angle) * span.Turn};
    }
    normal = {-tangent.Y, tangent.X};
}

// Whether the pass must report its missing loops; the pieces are those the
// walk was given, when it gave no loop.
TCamFailure NoLoopFailure(const TChain& pieces, const TPreparedSource& source, double d)
{
    return LeavesRoomForTool(pieces, source, d) ? TCamFailure::LostLoop : TCamFailure::None;
}

} // namespace

bool LeavesRoomForTool(const TChain& pieces, const TPreparedSource& source, double d)
{
    // The pieces lie on the offset, at |d| from the source; the tool has
    // room where a point beyond one, on the side away from the source,
    // lies further still. Over a slot as wide as the tool nothing does.
    const double side = d > 0.0 ? 1.0 : -1.0;
    const double beyond = std::abs(d) + ROOM_PROBE / 2.0 + DISTANCE_SLACK;
    for (const TChainElement& e : pieces) {
        if (!(ElementLength(e) > 2.0 * ROOM_PROBE))
            continue;
        TVect middle;
        TVect normal;
        MiddleAndLeftNormal(e, middle, normal);
        const TVect probe{middle.X + normal.X * side * ROOM_PROBE, middle.Y + normal.Y * side * ROOM_PROBE};
        if (KeepsDistanceFromElements(probe, source, beyond))
            return true;
    }
    return false;
}

std::vector<double> ContourPassOffsets(const TContourJob& job)
{
    std::vector<double> offsets;
    const double allowance = job.Side == 0 ? 0.0 : job.StockXY + job.OffsetRadius;
    if (EqualReals(allowance, 0.0))
        return offsets;
    const int rough = std::max(job.RoughCuts, 0);
    const int finish = std::max(job.FinishCuts, 0);
    for (int k = rough - 1; k >= 0; --k)
        offsets.push_back((allowance + job.RoughSize * k + job.FinishSize * finish) * job.Side);
    for (int k = finish - 1; k >= 0; --k)
        offsets.push_back((allowance + job.FinishSize * k) * job.Side);
    return offsets;
}

TCamFailure OffsetPass(const TChain& chain, double d, std::vector<TChain>& loops, TProgressSink& progress)
{
    TChain result;
    OffsetChain(chain, result, d);
    if (!SplitAtIntersections(result, progress))
        return TCamFailure::Aborted;
    const TPreparedSource prepared(chain);
    RemoveGougingElements(result, prepared, std::abs(d));
    if (!IsChainClosed(chain))
        return ExtractLoopsOpen(result, chain, false, loops, d, progress) ? TCamFailure::None : TCamFailure::Aborted;
    const std::size_t before = loops.size();
    const TChain pieces = result;
    if (!ExtractLoops(result, prepared, loops, true, d, progress))
        return TCamFailure::Aborted;
    return loops.size() == before ? NoLoopFailure(pieces, prepared, d) : TCamFailure::None;
}

namespace {

// The lead-in of the Part's shape and of the given size, ending at the loop's start.
TChainElement LeadInElement(const TChain& loop, const TContourJob& job, double size)
{
    const double s = job.Side;
    const double r = job.Reverse ? -1.0 : 1.0;
    const TVect start = StartPoint(loop.front());
    const TVect in = Unit(StartTangent(loop.front()));
    const TVect side = Rotated({in.X * size, in.Y * size}, s * r * PI / 2.0);
    if (job.LeadIn == TLead::Line)
        return MakeElement({start.X + side.X, start.Y + side.Y}, start);
    return MakeElement({start.X + side.X - in.X * size, start.Y + side.Y - in.Y * size}, start,
                       s * std::tan(r * PI / 8.0));
}

// The lead-out of the given size, starting at the loop's end.
TChainElement LeadOutElement(const TChain& loop, const TContourJob& job, double size)
{
    const double s = job.Side;
    const double r = job.Reverse ? -1.0 : 1.0;
    const TVect end = EndPoint(loop.back());
    const TVect out = Unit(EndTangent(loop.back()));
    const TVect side = Rotated({out.X * size, out.Y * size}, s * r * PI / 2.0);
    if (job.LeadOut == TLead::Line)
        return MakeElement(end, {end.X + side.X, end.Y + side.Y});
    return MakeElement(end, {end.X + side.X + out.X * size, end.Y + side.Y + out.Y * size},
                       s * std::tan(r * PI / 8.0));
}

// What a lead may lose to the rounding of the loop it joins, whose end lies
// at the clearance itself.
constexpr double kLeadSlack = 1e-6;
// A lead is tried at its size and at each half of it down to this share;
// shorter than that it no longer brings the tool in along the side.
constexpr int kLeadHalvings = 4;

bool LeadKeepsClear(const TChainElement& lead, const TChain& part, double clearance)
{
    return std::all_of(part.begin(), part.end(), [&](const TChainElement& e) {
        return DistanceBetweenElements(lead, e) >= clearance - kLeadSlack;
    });
}

// The longest lead of the sizes tried that keeps the clearance.
template <typename Build>
std::optional<TChainElement> FittingLead(double size, const TChain& part, double clearance, Build build)
{
    for (int k = 0; k <= kLeadHalvings; ++k) {
        const TChainElement lead = build(size / (1 << k));
        if (LeadKeepsClear(lead, part, clearance))
            return lead;
    }
    return std::nullopt;
}

struct TFittedLeads {
    std::optional<TChainElement> In;
    std::optional<TChainElement> Out;
    bool Complete(const TContourJob& job) const { return In && (Out || job.LeadOut == TLead::Off); }
};

TFittedLeads FitLeads(const TChain& loop, const TContourJob& job, const TChain& part, double clearance)
{
    TFittedLeads leads;
    leads.In = FittingLead(job.LeadInSize, part, clearance,
                           [&](double size) { return LeadInElement(loop, job, size); });
    if (leads.In && job.LeadOut != TLead::Off)
        leads.Out = FittingLead(job.LeadOutSize, part, clearance,
                                [&](double size) { return LeadOutElement(loop, job, size); });
    return leads;
}

} // namespace

void AddLeadInOut(TChain& loop, const TContourJob& job)
{
    if (loop.empty() || job.Side == 0 || job.LeadIn == TLead::Off)
        return;
    const TChainElement in = LeadInElement(loop, job, job.LeadInSize);
    if (job.LeadOut != TLead::Off)
        loop.push_back(LeadOutElement(loop, job, job.LeadOutSize));
    loop.insert(loop.begin(), in);
}

bool AddClearLeadInOut(TChain& loop, const TContourJob& job, const TChain& part)
{
    if (loop.empty() || job.Side == 0 || job.LeadIn == TLead::Off)
        return true;
    const double clearance = job.OffsetRadius + job.StockXY;
    TFittedLeads leads = FitLeads(loop, job, part, clearance);
    if (!leads.Complete(job) && IsChainClosed(loop) && loop.size() > 1) {
        // The other end of the first element: the loop starts one element on.
        TChain moved(loop.begin() + 1, loop.end());
        moved.push_back(loop.front());
        TFittedLeads there = FitLeads(moved, job, part, clearance);
        if (there.Complete(job) || (there.In && !leads.In)) {
            loop = std::move(moved);
            leads = std::move(there);
        }
    }
    if (!leads.In)
        return false;
    if (leads.Out)
        loop.push_back(*leads.Out);
    loop.insert(loop.begin(), *leads.In);
    return leads.Complete(job);
}

TCamFailure ContourToolpath(const TChain& chain, const TContourJob& job, std::vector<TChain>& loops,
                            TProgressSink& progress, const TChain* part, int* leadsLeftOut)
{
    const std::vector<double> offsets = ContourPassOffsets(job);
    if (offsets.empty()) {
        loops.push_back(job.Reverse ? Reversed(chain) : chain);
        return TCamFailure::None;
    }
    for (const double d : offsets) {
        std::vector<TChain> pass;
        if (const TCamFailure failure = OffsetPass(chain, d, pass, progress); failure != TCamFailure::None)
            return failure;
        for (TChain& loop : pass) {
            if (job.Reverse)
                ReverseChain(loop);
            if (!AddClearLeadInOut(loop, job, part ? *part : chain) && leadsLeftOut)
                ++*leadsLeftOut;
            loops.push_back(std::move(loop));
        }
    }
    return TCamFailure::None;
}

std::vector<TPocketGroup> FindOuterChains(const std::vector<TChain>& chains)
{
    std::vector<TPocketGroup> groups;
    for (std::size_t i = 0; i < chains.size(); ++i) {
        bool inside = false;
        for (std::size_t j = 0; j < chains.size() && !inside; ++j) {
            if (j == i)
                continue;
            inside = std::any_of(chains[i].begin(), chains[i].end(),
                                 [&](const TChainElement& e) { return PointInChain(chains[j], StartPoint(e)); });
        }
        if (!inside)
            groups.push_back({{static_cast<int>(i), 0}});
    }
    return groups;
}

void FindIslands(const std::vector<TChain>& chains, std::vector<TPocketGroup>& groups)
{
    if (chains.size() == 1)
        return;
    for (TPocketGroup& group : groups) {
        const TChain& outer = chains[static_cast<std::size_t>(group.front().Chain)];
        for (std::size_t i = 0; i < chains.size(); ++i) {
            if (static_cast<int>(i) == group.front().Chain)
                continue;
            if (std::any_of(chains[i].begin(), chains[i].end(),
                            [&](const TChainElement& e) { return PointInChain(outer, StartPoint(e)); }))
                group.push_back({static_cast<int>(i), 1});
        }
        for (std::size_t k = 1; k < group.size(); ++k) {
            const TChain& around = chains[static_cast<std::size_t>(group[k].Chain)];
            for (std::size_t m = 1; m < group.size(); ++m) {
                if (m == k)
                    continue;
                const TChain& island = chains[static_cast<std::size_t>(group[m].Chain)];
                if (std::all_of(island.begin(), island.end(),
                                [&](const TChainElement& e) { return PointInChain(around, StartPoint(e)); }))
                    ++group[m].Depth;
            }
        }
    }
}

TChain GroupElements(const TPocketGroup& group, const std::vector<TChain>& chains)
{
    TChain list;
    for (const TPocketEntry& entry : group) {
        const TChain& chain = chains[static_cast<std::size_t>(entry.Chain)];
        list.insert(list.end(), chain.begin(), chain.end());
    }
    return list;
}

namespace {

// The group's chains in the direction every pass offsets them: an island
// at an odd depth reversed. Made once for all the passes.
std::vector<TChain> OffsetDirections(const TPocketGroup& group, const std::vector<TChain>& chains)
{
    std::vector<TChain> oriented;
    oriented.reserve(group.size());
    for (std::size_t k = 0; k < group.size(); ++k) {
        oriented.push_back(chains[static_cast<std::size_t>(group[k].Chain)]);
        if (k > 0 && group[k].Depth % 2 == 1)
            ReverseChain(oriented.back());
    }
    return oriented;
}

// One pass of the pocket; every pass removes pieces against the same source,
// shaped once.
TCamFailure PocketPass(const TPocketGroup& group, const std::vector<TChain>& chains,
                       const std::vector<TChain>& oriented, const TPreparedSource& prepared, double d,
                       std::vector<TChain>& loops, TProgressSink& progress)
{
    loops.clear();
    TChain result;
    for (const TChain& chain : oriented)
        OffsetChain(chain, result, d);
    if (!SplitAtIntersections(result, progress))
        return TCamFailure::Aborted;
    RemoveGougingElements(result, prepared, std::abs(d));
    const TChain pieces = result;
    if (!result.empty() && !ExtractLoops(result, prepared, loops, true, d, progress))
        return TCamFailure::Aborted;
    const TChain& outer = chains[static_cast<std::size_t>(group.front().Chain)];
    if (!loops.empty() && !PointInChain(outer, StartPoint(loops.front().front())))
        loops.clear();
    return loops.empty() ? NoLoopFailure(pieces, prepared, d) : TCamFailure::None;
}

} // namespace

TCamFailure ComputePocketPass(const TPocketGroup& group, const std::vector<TChain>& chains, const TChain& source,
                              double d, std::vector<TChain>& loops, TProgressSink& progress)
{
    return PocketPass(group, chains, OffsetDirections(group, chains), TPreparedSource(source), d, loops, progress);
}

std::vector<TChain> LinkChainsNearest(std::vector<TChain>& rings, const TChain& source, const TChain& boundary,
                                      double toolRadius)
{
    std::vector<TChain> paths;
    std::erase_if(rings, [](const TChain& ring) { return ring.empty(); });
    if (rings.empty())
        return paths;
    TChain path = std::move(rings.front());
    rings.erase(rings.begin());
    TVect reference = StartPoint(path.front());
    const TSegmentCrossing crossesBoundary(boundary);
    const TSegmentCrossing crossesSource(source);
    const TPreparedSource prepared(source);
    // A link that crosses nothing may still pass an island's corner within
    // the tool's radius: it gouges as a piece of a ring would.
    const auto gouges = [&](const TChainElement& link) {
        TChain alone{link};
        RemoveGougingElements(alone, prepared, toolRadius);
        return alone.empty();
    };
    while (!rings.empty()) {
        std::size_t nearest = 0;
        double nearestDistance = 9999.1234;
        for (std::size_t k = 0; k < rings.size(); ++k) {
            const double distance = PointDistance(reference, StartPoint(rings[k].front()));
            if (distance < nearestDistance) {
                nearestDistance = distance;
                nearest = k;
            }
        }
        TChain& ring = rings[nearest];
        const TChainElement link = MakeElement(EndPoint(path.back()), StartPoint(ring.front()));
        if (crossesBoundary.Crosses(link) || crossesSource.Crosses(link) || gouges(link)) {
            paths.push_back(std::move(path));
            path.clear();
        } else {
            path.push_back(link);
        }
        reference = StartPoint(ring.front());
        path.insert(path.end(), ring.begin(), ring.end());
        rings.erase(rings.begin() + static_cast<std::ptrdiff_t>(nearest));
    }
    paths.push_back(std::move(path));
    return paths;
}

TCamFailure PocketToolpaths(const std::vector<TChain>& chains, const TPocketJob& job,
                            std::vector<TPocketToolpath>& toolpaths, TProgressSink& progress)
{
    const double step = job.OffsetRadius * 2.0 * job.StepOverPercent / 100.0;
    if (!(step > 0.0))
        return TCamFailure::StepOverZero;
    std::vector<TPocketGroup> groups = FindOuterChains(chains);
    FindIslands(chains, groups);
    const int finish = std::max(job.FinishCuts, 0);
    for (const TPocketGroup& group : groups) {
        const TChain source = GroupElements(group, chains);
        const TPreparedSource prepared(source);
        const std::vector<TChain> oriented = OffsetDirections(group, chains);
        const double first = job.OffsetRadius + job.StockXY + job.FinishSize * finish;
        const std::size_t limit = RingLimit(chains[static_cast<std::size_t>(group.front().Chain)], step);

        // The first pass is also the boundary no link may cross.
        std::vector<TChain> rings;
        TChain boundary;
        std::vector<TChain> pass;
        for (std::size_t n = 0; n < limit; ++n) {
            const double d = first + step * static_cast<double>(n);
            if (const TCamFailure failure = PocketPass(group, chains, oriented, prepared, d, pass, progress);
                failure != TCamFailure::None)
                return failure;
            if (pass.empty())
                break;
            if (n == 0) {
                for (const TChain& loop : pass)
                    boundary.insert(boundary.end(), loop.begin(), loop.end());
            }
            for (TChain& loop : pass)
                rings.push_back(std::move(loop));
        }
        if (job.Spiral)
            ReverseListOrder(rings);
        if (job.Reverse) {
            for (TChain& ring : rings)
                ReverseChain(ring);
        }
        TPocketToolpath toolpath;
        toolpath.Paths = LinkChainsNearest(rings, source, boundary, job.OffsetRadius);

        // Each finishing pass writes the earlier finishing rings again.
        std::vector<TChain> finishing;
        for (int n = finish - 1; n >= 0; --n) {
            if (const TCamFailure failure = PocketPass(group, chains, oriented, prepared,
                                                       job.OffsetRadius + job.StockXY + job.FinishSize * n, pass,
                                                       progress);
                failure != TCamFailure::None)
                return failure;
            for (TChain& loop : pass) {
                if (job.Reverse)
                    ReverseChain(loop);
                finishing.push_back(std::move(loop));
            }
            toolpath.FinishWrites.push_back(finishing);
        }
        toolpaths.push_back(std::move(toolpath));
    }
    return TCamFailure::None;
}
