#include "cam/SplitAtIntersections.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "cad/base/Settings.h"
#include "cam/ElementBandGrid.h"
#include "cam/ElementBoxTree.h"
#include "cam/ElementSplit.h"

namespace {

constexpr int NONE = -1;

// Pieces lie on their element, so within its box; this much room absorbs the
// rounding of recomputed arc pieces. A piece that strays further still is
// kept in a group of its own that every search looks through.
constexpr double PIECE_ROOM = 0.001;
// Beyond the box margin, the room a meeting point may stand off a segment.
constexpr double SEGMENT_ROOM = 0.0001;
// The half widths of the bands the grid files originals by and searches
// along: a meeting point lies within CROSSING_BOX_MARGIN of both elements,
// and a piece within PIECE_ROOM of its original; the rest is for rounding.
constexpr double HEAD_BAND = CROSSING_BOX_MARGIN + SEGMENT_ROOM + 1e-6;
constexpr double GROUP_BAND = CROSSING_BOX_MARGIN + SEGMENT_ROOM + PIECE_ROOM + 1e-6;

struct TSweepNode {
    TChainElement Element;
    TElementBox Box;
    bool Straight = true;
    // An arc's centre, radius and angles, which every cut it is tried
    // against would otherwise work out again.
    TArcSpan Span;
    // Smaller comes first in the list.
    std::int64_t Order = 0;
    int Group = 0;
    // Where the element lies along a straight group's original: the range of
    // its ends' positions.
    double From = 0.0;
    double To = 0.0;
    int PreviousInGroup = NONE;
    int NextInGroup = NONE;
    int Previous = NONE;
    int Next = NONE;
};

// The elements filed under one original element. The pieces of a straight
// original lie along it one after the other, so they are kept sorted by
// position and a search looks only at the stretch that passes its box: on
// a line crossed many times this is what keeps the search short. Other
// groups are plain lists.
struct TSweepGroup {
    TElementBox Extent;
    bool Straight = false;
    TVect Origin{};
    // Unit direction of a straight original.
    TVect Direction{};
    // Ordered by From; any element ends no further than PIECE_ROOM past the
    // start of every element after it.
    std::vector<int> Sorted;
    int Head = NONE;
};

// The list from the element under test onwards, with every element filed
// under the box (of one of the original elements) that holds it.
//
// It cuts exactly as testing every later element in turn would: elements
// before the one under test are never tested again, so they leave as done;
// a cut puts its pieces at the front, where testing resumes; and a pair whose
// boxes, grown by CROSSING_BOX_MARGIN, do not meet is never cut, nor is a
// segment cut with an element whose box it misses by more than the room
// for rounding. Testing only the other pairs, in list order, therefore
// finds the same first cut every time.
class TSplitSweep {
public:
    TSplitSweep(const TChain& elements, TProgressSink& progress);

    bool Run();
    TChain TakeResult();

private:
    static std::vector<TElementBox> GroupBoxes(const TChain& elements);
    int AddNode(const TChainElement& e, std::int64_t order, int groupHint1, int groupHint2);
    bool FileInGroup(int node, int group);
    void RemoveFromGroup(int node);
    template <typename Visit>
    void VisitGroupNear(int group, const TElementBox& box, Visit&& visit) const;
    void PushFront(int node);
    void Unlink(int node);
    void CollectCandidates(int node);
    bool SplitPair(int i, int j);

    TProgressSink& Progress;
    std::vector<TElementBox> GroupExtents;
    TElementBandGrid Grid;
    int StrayGroup = 0;
    std::vector<TSweepGroup> Groups;
    std::vector<TSweepNode> Nodes;
    // Slots of elements that left the list; reusing them keeps the nodes
    // few and close together however many cuts a run makes.
    std::vector<int> FreeNodes;
    int Head = NONE;
    int Tail = NONE;
    std::int64_t FrontOrder = 0;
    std::size_t PendingCount = 0;
    TChain Done;
    std::vector<int> Candidates;
    TChain Pieces;
    std::uint64_t Splits = 0;
    std::uint64_t SplitCap = 0;
};

TSplitSweep::TSplitSweep(const TChain& elements, TProgressSink& progress)
    : Progress(progress), GroupExtents(GroupBoxes(elements)), Grid(GroupExtents, elements, GROUP_BAND),
      StrayGroup(static_cast<int>(elements.size())), Groups(elements.size() + 1)
{
    for (std::size_t k = 0; k < elements.size(); ++k) {
        TSweepGroup& group = Groups[k];
        group.Extent = GroupExtents[k];
        const TChainElement& e = elements[k];
        const double length = std::hypot(e.X2 - e.X1, e.Y2 - e.Y1);
        group.Straight = IsStraight(e) && length > 0.0;
        if (group.Straight) {
            group.Origin = StartPoint(e);
            group.Direction = {(e.X2 - e.X1) / length, (e.Y2 - e.Y1) / length};
        }
    }
    // Most cuts leave three pieces where there were two elements.
    Nodes.reserve(elements.size() * 4);
    for (std::size_t k = 0; k < elements.size(); ++k) {
        const int node = AddNode(elements[k], static_cast<std::int64_t>(k), static_cast<int>(k), StrayGroup);
        Nodes[node].Previous = Tail;
        if (Tail == NONE)
            Head = node;
        else
            Nodes[Tail].Next = node;
        Tail = node;
    }
    PendingCount = elements.size();
    Done.reserve(elements.size());
    // Every cut adds a piece or shortens an element, so a run needs far fewer
    // cuts than this; reaching it means the cutting does not settle.
    const auto n = static_cast<std::uint64_t>(elements.size());
    SplitCap = 4 * n * n + 1000000;
}

std::vector<TElementBox> TSplitSweep::GroupBoxes(const TChain& elements)
{
    std::vector<TElementBox> boxes;
    boxes.reserve(elements.size());
    for (const TChainElement& e : elements)
        boxes.push_back(InflateBox(InflateBox(ElementBox(e), CROSSING_BOX_MARGIN), PIECE_ROOM));
    return boxes;
}

int TSplitSweep::AddNode(const TChainElement& e, std::int64_t order, int groupHint1, int groupHint2)
{
    TSweepNode node;
    node.Element = e;
    node.Straight = IsStraight(e);
    if (!node.Straight)
        node.Span = ArcSpanOf(e);
    node.Box = InflateBox(node.Straight ? ElementBox(e) : ArcBox(e, node.Span.Centre, node.Span.Radius),
                          CROSSING_BOX_MARGIN);
    node.Order = order;
    int index = 0;
    if (FreeNodes.empty()) {
        index = static_cast<int>(Nodes.size());
        Nodes.push_back(node);
    } else {
        index = FreeNodes.back();
        FreeNodes.pop_back();
        Nodes[index] = node;
    }
    for (const int group : {groupHint1, groupHint2}) {
        if (group != StrayGroup && FileInGroup(index, group))
            return index;
    }
    FileInGroup(index, StrayGroup);
    return index;
}

// A straight group takes only a segment lying along its original within
// PIECE_ROOM that does not reach over its neighbours by more than that: then
// the stretch a search walks holds every element whose box can meet the
// searched box. Anything else goes to the plain lists.
bool TSplitSweep::FileInGroup(int node, int group)
{
    TSweepNode& n = Nodes[node];
    TSweepGroup& g = Groups[group];
    if (group != StrayGroup && !BoxContains(g.Extent, n.Box))
        return false;
    if (!g.Straight) {
        n.Group = group;
        n.PreviousInGroup = NONE;
        n.NextInGroup = g.Head;
        if (g.Head != NONE)
            Nodes[g.Head].PreviousInGroup = node;
        g.Head = node;
        return true;
    }
    if (!n.Straight)
        return false;
    const auto offLine = [&](TVect p) {
        return std::abs((p.X - g.Origin.X) * g.Direction.Y - (p.Y - g.Origin.Y) * g.Direction.X);
    };
    const auto along = [&](TVect p) { return (p.X - g.Origin.X) * g.Direction.X + (p.Y - g.Origin.Y) * g.Direction.Y; };
    const TVect a = StartPoint(n.Element);
    const TVect b = EndPoint(n.Element);
    if (offLine(a) > PIECE_ROOM || offLine(b) > PIECE_ROOM)
        return false;
    n.From = std::min(along(a), along(b));
    n.To = std::max(along(a), along(b));
    const auto at = std::lower_bound(g.Sorted.begin(), g.Sorted.end(), n.From,
                                     [&](int k, double from) { return Nodes[k].From < from; });
    if (at != g.Sorted.begin() && Nodes[*(at - 1)].To > n.From + PIECE_ROOM)
        return false;
    if (at != g.Sorted.end() && n.To > Nodes[*at].From + PIECE_ROOM)
        return false;
    n.Group = group;
    g.Sorted.insert(at, node);
    return true;
}

void TSplitSweep::RemoveFromGroup(int node)
{
    TSweepNode& n = Nodes[node];
    TSweepGroup& g = Groups[n.Group];
    if (!g.Straight) {
        if (n.PreviousInGroup != NONE)
            Nodes[n.PreviousInGroup].NextInGroup = n.NextInGroup;
        else
            g.Head = n.NextInGroup;
        if (n.NextInGroup != NONE)
            Nodes[n.NextInGroup].PreviousInGroup = n.PreviousInGroup;
        return;
    }
    auto at = std::lower_bound(g.Sorted.begin(), g.Sorted.end(), n.From,
                               [&](int k, double from) { return Nodes[k].From < from; });
    while (*at != node)
        ++at;
    g.Sorted.erase(at);
}

// Calls visit for every element of the group whose box can overlap the
// given box, and for some others.
template <typename Visit>
void TSplitSweep::VisitGroupNear(int group, const TElementBox& box, Visit&& visit) const
{
    const TSweepGroup& g = Groups[group];
    if (!g.Straight) {
        for (int other = g.Head; other != NONE; other = Nodes[other].NextInGroup)
            visit(other);
        return;
    }
    // A candidate segment passes within SEGMENT_ROOM of the box, and its
    // points lie within PIECE_ROOM of the original's line: where that line
    // runs through the box so grown (and a little more for rounding) is the
    // stretch to walk.
    const TElementBox room = InflateBox(box, SEGMENT_ROOM + PIECE_ROOM + 1e-6);
    double from = -std::numeric_limits<double>::infinity();
    double to = std::numeric_limits<double>::infinity();
    if (!ClipLineToBox(g.Origin, g.Direction, room, from, to))
        return;
    const auto first = std::lower_bound(g.Sorted.begin(), g.Sorted.end(), from,
                                        [&](int k, double f) { return Nodes[k].From < f; });
    for (auto at = first; at != g.Sorted.begin();) {
        --at;
        if (Nodes[*at].To < from - PIECE_ROOM)
            break;
        visit(*at);
    }
    for (auto at = first; at != g.Sorted.end() && Nodes[*at].From <= to; ++at)
        visit(*at);
}

void TSplitSweep::PushFront(int node)
{
    Nodes[node].Previous = NONE;
    Nodes[node].Next = Head;
    if (Head != NONE)
        Nodes[Head].Previous = node;
    else
        Tail = node;
    Head = node;
    ++PendingCount;
}

void TSplitSweep::Unlink(int node)
{
    TSweepNode& n = Nodes[node];
    if (n.Previous != NONE)
        Nodes[n.Previous].Next = n.Next;
    else
        Head = n.Next;
    if (n.Next != NONE)
        Nodes[n.Next].Previous = n.Previous;
    else
        Tail = n.Previous;
    RemoveFromGroup(node);
    --PendingCount;
    FreeNodes.push_back(node);
}

// Only elements that can meet the node: their boxes overlap, and a straight
// one of the two passes through the other's box. Rounding may put a meeting
// point up to the equality tolerance off a segment, hence the room.
void TSplitSweep::CollectCandidates(int node)
{
    Candidates.clear();
    const TSweepNode& n = Nodes[node];
    const TElementBox box = n.Box;
    const bool straight = IsStraight(n.Element);
    const TVect a = StartPoint(n.Element);
    const TVect b = EndPoint(n.Element);
    const auto meets = [&](const TElementBox& other) {
        return BoxesOverlap(other, box) && (!straight || SegmentMeetsBox(a, b, InflateBox(other, SEGMENT_ROOM)));
    };
    const TElementBox roomyBox = InflateBox(box, SEGMENT_ROOM);
    const auto collectGroup = [&](int group) {
        VisitGroupNear(group, box, [&](int other) {
            const TSweepNode& o = Nodes[other];
            if (other != node && meets(o.Box) &&
                (!o.Straight || SegmentMeetsBox(StartPoint(o.Element), EndPoint(o.Element), roomyBox)))
                Candidates.push_back(other);
        });
    };
    // Elements that meet share a point, which lies in both bands.
    Grid.Visit(n.Element, n.Box, HEAD_BAND, [&](int group) {
        if (meets(GroupExtents[group]))
            collectGroup(group);
    });
    collectGroup(StrayGroup);
    std::sort(Candidates.begin(), Candidates.end(),
              [&](int p, int q) { return Nodes[p].Order < Nodes[q].Order; });
}

// Cuts the pair and, when pieces result, puts them in place of the cut
// elements in front of the list.
bool TSplitSweep::SplitPair(int i, int j)
{
    bool iSplit = false;
    bool jSplit = false;
    if (!SplitElements(Nodes[i].Element, Nodes[i].Span, Nodes[j].Element, Nodes[j].Span, Pieces, iSplit, jSplit))
        return false;
    const int iGroup = Nodes[i].Group;
    const int jGroup = Nodes[j].Group;
    if (jSplit)
        Unlink(j);
    if (iSplit)
        Unlink(i);
    FrontOrder -= static_cast<std::int64_t>(Pieces.size());
    for (std::size_t k = Pieces.size(); k-- > 0;)
        PushFront(AddNode(Pieces[k], FrontOrder + static_cast<std::int64_t>(k), iGroup, jGroup));
    return true;
}

bool TSplitSweep::Run()
{
    const std::size_t startCount = PendingCount;
    const std::size_t step = startCount / 10 >= 1 ? startCount / 10 : 2;
    while (Head != NONE) {
        Progress.PumpMessages();
        if (Progress.Aborted())
            return false;
        const int current = Head;
        CollectCandidates(current);
        bool split = false;
        for (const int other : Candidates) {
            split = SplitPair(current, other);
            if (Progress.Aborted())
                return false;
            if (split)
                break;
        }
        if (split) {
            if (++Splits > SplitCap)
                return false;
            continue;
        }
        Done.push_back(Nodes[current].Element);
        Unlink(current);
        const std::size_t count = Done.size() + PendingCount;
        // Halves round to even, as the processor rounds.
        if (PendingCount > 0 && Done.size() % step == 0)
            Progress.SetProgress(
                static_cast<int>(std::nearbyint(Done.size() * 50.0 / static_cast<double>(count - 1))));
    }
    return true;
}

TChain TSplitSweep::TakeResult()
{
    for (int node = Head; node != NONE; node = Nodes[node].Next)
        Done.push_back(Nodes[node].Element);
    Head = NONE;
    return std::move(Done);
}

} // namespace

bool SplitAtIntersections(TChain& elements, TProgressSink& progress)
{
    std::erase_if(elements, [](const TChainElement& e) { return ElementShorterThan(e, SystemTol); });
    if (elements.size() <= 1)
        return true;
    TSplitSweep sweep(elements, progress);
    const bool completed = sweep.Run();
    elements = sweep.TakeResult();
    return completed;
}
