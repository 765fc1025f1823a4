#include "cam/SplitAtIntersections.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "cad/base/Settings.h"
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

struct TSweepNode {
    TChainElement Element;
    TElementBox Box;
    bool Straight = true;
    // Smaller comes first in the list.
    std::int64_t Order = 0;
    int Group = 0;
    int PreviousInGroup = NONE;
    int NextInGroup = NONE;
    int Previous = NONE;
    int Next = NONE;
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
    void PushFront(int node);
    void Unlink(int node);
    void CollectCandidates(int node);
    bool SplitPair(int i, int j);

    TProgressSink& Progress;
    std::vector<TElementBox> GroupExtents;
    TElementBoxTree Tree;
    int StrayGroup = 0;
    std::vector<int> GroupHead;
    std::vector<TSweepNode> Nodes;
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
    : Progress(progress), GroupExtents(GroupBoxes(elements)), Tree(GroupExtents),
      StrayGroup(static_cast<int>(elements.size())), GroupHead(elements.size() + 1, NONE)
{
    Nodes.reserve(elements.size() * 2);
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
    node.Box = InflateBox(ElementBox(e), CROSSING_BOX_MARGIN);
    node.Straight = IsStraight(e);
    node.Order = order;
    node.Group = StrayGroup;
    for (const int group : {groupHint1, groupHint2}) {
        if (group != StrayGroup && BoxContains(GroupExtents[group], node.Box)) {
            node.Group = group;
            break;
        }
    }
    const int index = static_cast<int>(Nodes.size());
    node.NextInGroup = GroupHead[node.Group];
    if (node.NextInGroup != NONE)
        Nodes[node.NextInGroup].PreviousInGroup = index;
    GroupHead[node.Group] = index;
    Nodes.push_back(node);
    return index;
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
    if (n.PreviousInGroup != NONE)
        Nodes[n.PreviousInGroup].NextInGroup = n.NextInGroup;
    else
        GroupHead[n.Group] = n.NextInGroup;
    if (n.NextInGroup != NONE)
        Nodes[n.NextInGroup].PreviousInGroup = n.PreviousInGroup;
    --PendingCount;
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
        for (int other = GroupHead[group]; other != NONE; other = Nodes[other].NextInGroup) {
            const TSweepNode& o = Nodes[other];
            if (other != node && meets(o.Box) &&
                (!o.Straight || SegmentMeetsBox(StartPoint(o.Element), EndPoint(o.Element), roomyBox)))
                Candidates.push_back(other);
        }
    };
    Tree.QueryWhere(meets, collectGroup);
    collectGroup(StrayGroup);
    std::sort(Candidates.begin(), Candidates.end(),
              [&](int p, int q) { return Nodes[p].Order < Nodes[q].Order; });
}

// Cuts the pair and, when pieces result, puts them in place of the cut
// elements in front of the list.
bool TSplitSweep::SplitPair(int i, int j)
{
    const TChainElement a = Nodes[i].Element;
    const TChainElement b = Nodes[j].Element;
    bool iSplit = false;
    bool jSplit = false;
    if (!SplitElements(a, b, Pieces, iSplit, jSplit))
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
        Unlink(current);
        Done.push_back(Nodes[current].Element);
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
    std::erase_if(elements, [](const TChainElement& e) { return ElementLength(e) < SystemTol; });
    if (elements.size() <= 1)
        return true;
    TSplitSweep sweep(elements, progress);
    const bool completed = sweep.Run();
    elements = sweep.TakeResult();
    return completed;
}
