#include "cam/toolpath/SplitAtIntersections.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "cad/base/Settings.h"
#include "cam/toolpath/CoincidentPieces.h"
#include "cam/toolpath/ElementBandGrid.h"
#include "cam/toolpath/ElementBoxTree.h"
#include "cam/toolpath/ElementSplit.h"

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

// SegmentMeetsBox, always inlined: the pair search runs it for nearly every
// pair it looks at.
[[gnu::always_inline]] inline bool PassesBox(TVect a, TVect b, const TElementBox& box)
{
    double from = 0.0;
    double to = 1.0;
    return ClipLineToBox(a, {b.X - a.X, b.Y - a.Y}, box, from, to);
}

// What the sweep works out for an element before testing it: its tight box,
// that box grown by CROSSING_BOX_MARGIN and, for an arc, its span.
struct TNodeShape {
    TElementBox Tight;
    TElementBox Box;
    bool Straight = true;
    // Whether the span's angles are worked out; a segment has none to work out.
    bool Angles = true;
    TArcSpan Span;
};

// Without angles, an arc's span holds only its centre and radius. An arc's
// angles cost two arc tangents and are read only once its circle meets the
// other element's; arcs cut from one circle never do.
template <bool WithAngles>
TNodeShape ShapeOf(const TChainElement& e)
{
    TNodeShape shape;
    shape.Straight = IsStraight(e);
    if constexpr (WithAngles) {
        if (!shape.Straight)
            shape.Span = ArcSpanOf(e);
    } else {
        shape.Angles = shape.Straight;
        if (!shape.Straight)
            BulgeArcCentre(e, shape.Span.Centre, shape.Span.Radius);
    }
    shape.Tight = shape.Straight ? ElementBox(e) : ArcBox(e, shape.Span.Centre, shape.Span.Radius);
    shape.Box = InflateBox(shape.Tight, CROSSING_BOX_MARGIN);
    return shape;
}

TNodeShape NodeShape(const TChainElement& e)
{
    return ShapeOf<true>(e);
}

void WorkOutAngles(const TChainElement& e, TNodeShape& shape)
{
    if (shape.Angles)
        return;
    CompleteArcSpan(e, shape.Span);
    shape.Angles = true;
}

// The cutting's own first test of two arcs, which needs no angles.
bool CirclesApart(const TArcSpan& one, const TArcSpan& two)
{
    return CirclesNeverMeet(one, two, std::hypot(two.Centre.X - one.Centre.X, two.Centre.Y - one.Centre.Y));
}

// The pairs of elements of the list as given whose extents (their boxes
// grown by CROSSING_BOX_MARGIN and PIECE_ROOM, as the sweep files its
// groups by) overlap, found once by sorting the extents along x. Where they
// overlap too much for that to pay, nothing is known.
class TNearElements {
public:
    explicit TNearElements(const std::vector<TElementBox>& extents);
    // The pairs among the members of a part of the list, numbered by their
    // place in the part; partOf gives each element's place, or NONE.
    TNearElements(const TNearElements& whole, const std::vector<std::size_t>& members, const std::vector<int>& partOf);

    bool Known() const { return !Start.empty(); }
    // Only when known: the other elements whose extents overlap k's.
    const int* begin(std::size_t k) const { return Near.data() + Start[k]; }
    const int* end(std::size_t k) const { return Near.data() + Start[k + 1]; }

private:
    // Element k's: Near[Start[k]] to Near[Start[k + 1]].
    std::vector<int> Start;
    std::vector<int> Near;
};

TNearElements::TNearElements(const std::vector<TElementBox>& extents)
{
    const std::size_t count = extents.size();
    // A box that is not a number overlaps no other.
    struct TEntry {
        TElementBox Box;
        int Element;
    };
    std::vector<TEntry> entries;
    entries.reserve(count + 1);
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    double widths = 0.0;
    for (std::size_t k = 0; k < count; ++k) {
        const TElementBox& box = extents[k];
        if (std::isnan(box.MinX) || std::isnan(box.MinY) || std::isnan(box.MaxX) || std::isnan(box.MaxY))
            continue;
        entries.push_back({box, static_cast<int>(k)});
        low = std::min(low, box.MinX);
        high = std::max(high, box.MinX);
        widths += box.MaxX - box.MinX;
    }
    // The search below looks at about this many pairs: when it is bound to
    // give up, it does not start.
    const std::size_t budget = 16 * count + 1024;
    if (widths / (high - low) * static_cast<double>(entries.size()) > 2.0 * static_cast<double>(budget))
        return;
    const auto byMinX = [](const TEntry& p, const TEntry& q) { return p.Box.MinX < q.Box.MinX; };
    // Ends the scans below: a start that is not a number is never reached.
    constexpr double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();
    const TEntry stop{{NOT_A_NUMBER, NOT_A_NUMBER, NOT_A_NUMBER, NOT_A_NUMBER}, -1};
    // Outlines spread their elements evenly enough for buckets to sort
    // them in about linear time.
    const double width = high - low;
    if (entries.size() > 64 && std::isfinite(width) && width > 0.0) {
        const std::size_t buckets = entries.size();
        const double scale = static_cast<double>(buckets - 1) / width;
        const auto bucketOf = [&](const TEntry& e) {
            return std::min(buckets - 1, static_cast<std::size_t>((e.Box.MinX - low) * scale));
        };
        std::vector<int> first(buckets + 1, 0);
        for (const TEntry& e : entries)
            ++first[bucketOf(e) + 1];
        for (std::size_t b = 0; b < buckets; ++b)
            first[b + 1] += first[b];
        std::vector<TEntry> sorted(entries.size() + 1);
        std::vector<int> fill(first.begin(), first.end() - 1);
        for (const TEntry& e : entries)
            sorted[static_cast<std::size_t>(fill[bucketOf(e)]++)] = e;
        for (std::size_t b = 0; b < buckets; ++b) {
            if (first[b + 1] - first[b] > 1)
                std::sort(sorted.begin() + first[b], sorted.begin() + first[b + 1], byMinX);
        }
        sorted.back() = stop;
        entries = std::move(sorted);
    } else {
        std::sort(entries.begin(), entries.end(), byMinX);
        entries.push_back(stop);
    }
    // Each pair is met from the one of the two that starts further left.
    // The scan's bound is one of the x tests, and the other is left for the
    // few that meet in y.
    const std::size_t size = entries.size() - 1;
    std::vector<std::pair<int, int>> pairs;
    pairs.reserve(2 * count);
    std::size_t left = budget;
    for (std::size_t s = 0; s < size; ++s) {
        const TElementBox& box = entries[s].Box;
        std::size_t t = s + 1;
        for (; entries[t].Box.MinX <= box.MaxX; ++t) {
            const TElementBox& other = entries[t].Box;
            if (box.MinY <= other.MaxY && other.MinY <= box.MaxY && box.MinX <= other.MaxX)
                pairs.emplace_back(entries[s].Element, entries[t].Element);
        }
        if (t - s - 1 >= left)
            return;
        left -= t - s - 1;
    }
    Start.assign(count + 1, 0);
    for (const auto& [i, j] : pairs) {
        ++Start[static_cast<std::size_t>(i) + 1];
        ++Start[static_cast<std::size_t>(j) + 1];
    }
    for (std::size_t k = 0; k < count; ++k)
        Start[k + 1] += Start[k];
    Near.resize(2 * pairs.size());
    std::vector<int> fill(Start.begin(), Start.end() - 1);
    for (const auto& [i, j] : pairs) {
        Near[static_cast<std::size_t>(fill[static_cast<std::size_t>(i)]++)] = j;
        Near[static_cast<std::size_t>(fill[static_cast<std::size_t>(j)]++)] = i;
    }
}

TNearElements::TNearElements(const TNearElements& whole, const std::vector<std::size_t>& members,
                             const std::vector<int>& partOf)
{
    Start.reserve(members.size() + 1);
    Start.push_back(0);
    for (const std::size_t k : members) {
        for (const int* other = whole.begin(k); other != whole.end(k); ++other) {
            if (const int place = partOf[static_cast<std::size_t>(*other)]; place != NONE)
                Near.push_back(place);
        }
        Start.push_back(static_cast<int>(Near.size()));
    }
}

// Whether an element of the list as given cuts some later element of it.
// Every pair the sweep could try is among the pairs tried here, in the same
// order within the pair. So an element of the list that comes to the front
// of the sweep while no piece waits, and cuts no later element, leaves as
// done whatever was cut before it: the sweep would try it only against some
// of those later elements, in vain.
class TLaterCuts {
public:
    TLaterCuts(const TChain& elements, std::vector<TNodeShape>& shapes, const TNearElements& near)
        : Elements(elements), Shapes(shapes), NearElements(near)
    {
    }

    // Only when the near elements are known. Working out angles, the shapes
    // may lack them: arcs whose circles are apart are not cut, and the
    // angles of the others are worked out once, into the shapes, where the
    // sweep finds them. Otherwise every arc's must be there.
    template <bool WorkingOutAngles = false>
    bool Cuts(std::size_t k)
    {
        return ForEachCut<WorkingOutAngles>(k, [](std::size_t) { return true; });
    }

    // Calls stop(j) for each later element j that k cuts, in list order,
    // until it returns true; whether it did.
    template <bool WorkingOutAngles, typename Stop>
    bool ForEachCut(std::size_t k, Stop&& stop);

private:
    const TChain& Elements;
    std::vector<TNodeShape>& Shapes;
    const TNearElements& NearElements;
    TChain Pieces;
};

template <bool WorkingOutAngles, typename Stop>
bool TLaterCuts::ForEachCut(std::size_t k, Stop&& stop)
{
    for (const int* at = NearElements.begin(k); at != NearElements.end(k); ++at) {
        const auto j = static_cast<std::size_t>(*at);
        bool kSplit = false;
        bool jSplit = false;
        // The sweep tries no pair whose boxes do not overlap.
        if (j <= k || !BoxesOverlap(Shapes[k].Box, Shapes[j].Box))
            continue;
        if (Shapes[k].Straight && Shapes[j].Straight && SharesEndPoint(Elements[k], Elements[j]))
            continue;
        if constexpr (WorkingOutAngles) {
            if (!Shapes[k].Straight && !Shapes[j].Straight && CirclesApart(Shapes[k].Span, Shapes[j].Span))
                continue;
            WorkOutAngles(Elements[k], Shapes[k]);
            WorkOutAngles(Elements[j], Shapes[j]);
        }
        if (SplitElements(Elements[k], Shapes[k].Span, Shapes[k].Tight, Elements[j], Shapes[j].Span, Shapes[j].Tight,
                          Pieces, kSplit, jSplit) &&
            stop(j))
            return true;
    }
    return false;
}

struct TSweepNode {
    TChainElement Element;
    TElementBox Tight;
    TElementBox Box;
    bool Straight = true;
    // An arc's centre, radius and angles, which every cut it is tried
    // against would otherwise work out again.
    TArcSpan Span;
    // Smaller comes first in the list.
    std::int64_t Order = 0;
    int Group = 0;
    // An original's group whose extent holds the element's box, or NONE.
    // The element meets only elements of that group, of groups whose
    // extents overlap it, and strays, even when it strays itself.
    int Home = NONE;
    // Where the element lies along a straight group's original: the range of
    // its ends' positions.
    double From = 0.0;
    double To = 0.0;
    int PreviousInGroup = NONE;
    int NextInGroup = NONE;
    int Previous = NONE;
    int Next = NONE;
};

// A short ordered list of node indices. Most groups only ever hold their
// original or a few pieces of it (an outline's corner cut at both ends
// leaves three, and a tip of its neighbour may join them), which stay
// inline instead of each group taking memory of its own.
class TIndexList {
public:
    const int* begin() const { return Heap.empty() ? Inline.data() : Heap.data(); }
    const int* end() const { return begin() + Size; }
    std::size_t size() const { return Size; }

    void insert(const int* at, int value)
    {
        const auto k = static_cast<std::size_t>(at - begin());
        if (Heap.empty() && Size < Inline.size()) {
            for (std::size_t m = Size; m > k; --m)
                Inline[m] = Inline[m - 1];
            Inline[k] = value;
        } else {
            if (Heap.empty())
                Heap.assign(Inline.begin(), Inline.begin() + static_cast<std::ptrdiff_t>(Size));
            Heap.insert(Heap.begin() + static_cast<std::ptrdiff_t>(k), value);
        }
        ++Size;
    }

    void erase(const int* at)
    {
        const auto k = static_cast<std::size_t>(at - begin());
        if (Heap.empty()) {
            for (std::size_t m = k; m + 1 < Size; ++m)
                Inline[m] = Inline[m + 1];
        } else {
            Heap.erase(Heap.begin() + static_cast<std::ptrdiff_t>(k));
        }
        --Size;
    }

private:
    std::array<int, 4> Inline{};
    std::vector<int> Heap;
    std::size_t Size = 0;
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
    TIndexList Sorted;
    int Head = NONE;
};

// The sweep reports progress every tenth of the list (every second element
// of a list shorter than ten).
std::size_t ProgressStep(std::size_t count)
{
    return count / 10 >= 1 ? count / 10 : 2;
}

// After an element leaves the sweep as done; count is the list's length at
// that moment.
void ReportDone(TProgressSink& progress, std::size_t done, std::size_t count, std::size_t step)
{
    // Halves round to even, as the processor rounds.
    if (done < count && done % step == 0)
        progress.SetProgress(static_cast<int>(std::nearbyint(done * 50.0 / static_cast<double>(count - 1))));
}

// The elements of the list near its cuts, swept alone. The rest cut no
// element and no element cuts them, and no piece can reach them: each
// leaves as done when its turn comes, before the sweep reaches the next
// element of the list as given.
struct TSweepPart {
    const TChain* Whole = nullptr;
    // The places of the rest in the whole list, in order.
    std::vector<std::size_t> Rest;
    // The place of each element of the part in the whole list.
    std::vector<std::int64_t> Orders;
    // Per element of the part: whether every element near it is in the
    // part too, so that a search from its group finds all it can meet.
    std::vector<char> Closed;
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
    // Starts with the elements before first already done: none of them
    // meets a later element, so the sweep would pass them over untouched.
    // Whether the first elements of the list cut later ones may be known:
    // cutsLater holds the answer for as many as it is long.
    TSplitSweep(const TChain& elements, const std::vector<TNodeShape>& shapes,
                const std::vector<TElementBox>& extents, const TNearElements& near, std::size_t first,
                TLaterCuts& laterCuts, const std::vector<char>& cutsLater, TProgressSink& progress);
    // Sweeps a part of the list; the list of the result is the whole one,
    // and cutsLater answers for every element of it.
    TSplitSweep(const TSweepPart& part, const TChain& elements, const std::vector<TNodeShape>& shapes,
                const std::vector<TElementBox>& extents, const TNearElements& near,
                const std::vector<char>& cutsLater, TProgressSink& progress);

    bool Run();
    // Whether the run cut anything.
    bool Cut() const { return Splits > 0; }
    TChain TakeResult();
    // Whether the run stopped because a piece could reach beyond the part;
    // the whole list must then be swept.
    bool LeftThePart() const { return LeftPart; }

private:
    void Start(const std::vector<TNodeShape>& shapes, std::size_t first, std::size_t wholeCount);
    int AddNode(const TChainElement& e, const TNodeShape& shape, std::int64_t order, int groupHint1, int groupHint2,
                int homeHint1, int homeHint2);
    bool FileInGroup(int node, int group);
    void RemoveFromGroup(int node);
    template <typename Visit>
    void VisitGroupNear(int group, const TElementBox& box, Visit&& visit) const;
    void PushFront(int node);
    void Unlink(int node);
    void CollectCandidates(int node);
    template <typename ForGroups>
    void CollectCandidatesIn(int node, ForGroups&& forGroups);
    bool SplitPair(int i, int j);
    bool PassesOver(int node);
    bool RestLeavesFirst() const;
    std::int64_t RestBefore() const;
    void LeaveRest();

    TProgressSink& Progress;
    TLaterCuts* LaterCuts = nullptr;
    const TSweepPart* Part = nullptr;
    // Per element of the list as given, as far as known: whether it cuts a
    // later one.
    const std::vector<char>* KnownCutsLater = nullptr;
    std::size_t NextRest = 0;
    bool LeftPart = false;
    // Asking whether an element cuts a later one costs about what trying it
    // in the sweep does; where the answer keeps being yes (every corner of
    // an outline cut), it is asked ever more rarely.
    // The first element is known to cut.
    std::size_t AskEvery = 2;
    std::size_t UntilAsk = 2;
    const TChain& Originals;
    std::vector<TElementBox> GroupExtents;
    const TNearElements& NearOriginals;
    // Where the near originals are not known, and for elements that stray
    // from their original; built when first needed.
    std::optional<TElementBandGrid> Grid;
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
    // The length of the list to split, for the progress steps.
    std::size_t StartCount = 0;
    TChain Done;
    std::vector<int> Candidates;
    TChain Pieces;
    std::uint64_t Splits = 0;
    std::uint64_t SplitCap = 0;
};

TSplitSweep::TSplitSweep(const TSweepPart& part, const TChain& elements, const std::vector<TNodeShape>& shapes,
                         const std::vector<TElementBox>& extents, const TNearElements& near,
                         const std::vector<char>& cutsLater, TProgressSink& progress)
    : Progress(progress), Part(&part), KnownCutsLater(&cutsLater), Originals(elements), GroupExtents(extents),
      NearOriginals(near), StrayGroup(static_cast<int>(elements.size())), Groups(elements.size() + 1)
{
    Start(shapes, 0, part.Whole->size());
    PendingCount += part.Rest.size();
}

TSplitSweep::TSplitSweep(const TChain& elements, const std::vector<TNodeShape>& shapes,
                         const std::vector<TElementBox>& extents, const TNearElements& near, std::size_t first,
                         TLaterCuts& laterCuts, const std::vector<char>& cutsLater, TProgressSink& progress)
    : Progress(progress), LaterCuts(&laterCuts), KnownCutsLater(&cutsLater), Originals(elements),
      GroupExtents(extents), NearOriginals(near), StrayGroup(static_cast<int>(elements.size())),
      Groups(elements.size() + 1)
{
    Start(shapes, first, elements.size());
}

void TSplitSweep::Start(const std::vector<TNodeShape>& shapes, std::size_t first, std::size_t wholeCount)
{
    const TChain& elements = Originals;
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
    Done.reserve(wholeCount);
    Done.assign(elements.begin(), elements.begin() + static_cast<std::ptrdiff_t>(first));
    for (std::size_t k = first; k < elements.size(); ++k) {
        const std::int64_t order = Part ? Part->Orders[k] : static_cast<std::int64_t>(k);
        const int node = AddNode(elements[k], shapes[k], order, static_cast<int>(k), StrayGroup, NONE, NONE);
        Nodes[node].Previous = Tail;
        if (Tail == NONE)
            Head = node;
        else
            Nodes[Tail].Next = node;
        Tail = node;
    }
    PendingCount = elements.size() - first;
    StartCount = wholeCount;
    // Every cut adds a piece or shortens an element, so a run needs far fewer
    // cuts than this; reaching it means the cutting does not settle.
    const auto n = static_cast<std::uint64_t>(wholeCount);
    SplitCap = 4 * n * n + 1000000;
}

int TSplitSweep::AddNode(const TChainElement& e, const TNodeShape& shape, std::int64_t order, int groupHint1,
                         int groupHint2, int homeHint1, int homeHint2)
{
    TSweepNode node;
    node.Element = e;
    node.Straight = shape.Straight;
    node.Span = shape.Span;
    node.Tight = shape.Tight;
    node.Box = shape.Box;
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
        if (group != StrayGroup && FileInGroup(index, group)) {
            Nodes[index].Home = group;
            return index;
        }
    }
    for (const int home : {homeHint1, homeHint2}) {
        if (home != NONE && BoxContains(Groups[home].Extent, Nodes[index].Box)) {
            Nodes[index].Home = home;
            break;
        }
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
    // A piece or two are fewer to look at than the stretch is to find; the
    // caller looks at the boxes of what it is given anyway. More are not:
    // in a crowded list, where most groups offered lie off the box, the
    // search turns them away sooner.
    if (g.Sorted.size() <= 2) {
        for (const int other : g.Sorted)
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
    const int* const begin = g.Sorted.begin();
    const int* const end = g.Sorted.end();
    const int* const first =
        std::lower_bound(begin, end, from, [&](int k, double f) { return Nodes[k].From < f; });
    for (const int* at = first; at != begin;) {
        --at;
        if (Nodes[*at].To < from - PIECE_ROOM)
            break;
        visit(*at);
    }
    for (const int* at = first; at != end && Nodes[*at].From <= to; ++at)
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
template <typename ForGroups>
void TSplitSweep::CollectCandidatesIn(int node, ForGroups&& forGroups)
{
    Candidates.clear();
    const TSweepNode& n = Nodes[node];
    const TElementBox box = n.Box;
    const bool straight = IsStraight(n.Element);
    const TVect a = StartPoint(n.Element);
    const TVect b = EndPoint(n.Element);
    const auto meets = [&](const TElementBox& other) {
        return BoxesOverlap(other, box) && (!straight || PassesBox(a, b, InflateBox(other, SEGMENT_ROOM)));
    };
    const TElementBox roomyBox = InflateBox(box, SEGMENT_ROOM);
    const auto collectGroup = [&](int group) {
        VisitGroupNear(group, box, [&](int other) {
            const TSweepNode& o = Nodes[other];
            if (other != node && meets(o.Box) &&
                (!o.Straight || PassesBox(StartPoint(o.Element), EndPoint(o.Element), roomyBox)))
                Candidates.push_back(other);
        });
    };
    forGroups(n, [&](int group) {
        if (meets(GroupExtents[group]))
            collectGroup(group);
    });
    collectGroup(StrayGroup);
    std::sort(Candidates.begin(), Candidates.end(),
              [&](int p, int q) { return Nodes[p].Order < Nodes[q].Order; });
}

void TSplitSweep::CollectCandidates(int node)
{
    if (Nodes[node].Home != NONE && NearOriginals.Known()) {
        // The node lies in its home's extent, and any element it can meet
        // outside the strays lies in its own group's; their extents overlap.
        CollectCandidatesIn(node, [&](const TSweepNode& n, auto&& visitGroup) {
            visitGroup(n.Home);
            const auto group = static_cast<std::size_t>(n.Home);
            for (const int* other = NearOriginals.begin(group); other != NearOriginals.end(group); ++other)
                visitGroup(*other);
        });
        return;
    }
    if (!Grid)
        Grid.emplace(GroupExtents, Originals, GROUP_BAND);
    // Elements that meet share a point, which lies in both bands.
    CollectCandidatesIn(node, [&](const TSweepNode& n, auto&& visitGroup) {
        Grid->Visit(n.Element, n.Box, HEAD_BAND, visitGroup);
    });
}

// Cuts the pair and, when pieces result, puts them in place of the cut
// elements in front of the list.
bool TSplitSweep::SplitPair(int i, int j)
{
    bool iSplit = false;
    bool jSplit = false;
    // Most pairs an outline's pieces are tried in are neighbours that share
    // an end; asked here, they cost no call.
    if (Nodes[i].Straight && Nodes[j].Straight && SharesEndPoint(Nodes[i].Element, Nodes[j].Element))
        return false;
    if (!SplitElements(Nodes[i].Element, Nodes[i].Span, Nodes[i].Tight, Nodes[j].Element, Nodes[j].Span,
                       Nodes[j].Tight, Pieces, iSplit, jSplit))
        return false;
    const int iGroup = Nodes[i].Group;
    const int jGroup = Nodes[j].Group;
    const int iHome = Nodes[i].Home;
    const int jHome = Nodes[j].Home;
    if (jSplit)
        Unlink(j);
    if (iSplit)
        Unlink(i);
    FrontOrder -= static_cast<std::int64_t>(Pieces.size());
    for (std::size_t k = Pieces.size(); k-- > 0;) {
        const int node = AddNode(Pieces[k], NodeShape(Pieces[k]), FrontOrder + static_cast<std::int64_t>(k), iGroup,
                                 jGroup, iHome, jHome);
        PushFront(node);
        // A piece is searched from its home; one whose home has neighbours
        // outside the part might meet them.
        const int home = Nodes[node].Home;
        if (Part && (home == NONE || !Part->Closed[static_cast<std::size_t>(home)]))
            LeftPart = true;
    }
    return true;
}

// Whether the node at the front, an element of the list as given, surely
// leaves as done.
bool TSplitSweep::PassesOver(int node)
{
    const std::int64_t order = Nodes[node].Order;
    if (order >= 0 && static_cast<std::size_t>(order) < KnownCutsLater->size())
        return !(*KnownCutsLater)[static_cast<std::size_t>(order)];
    if (order < 0 || !NearOriginals.Known() || --UntilAsk > 0)
        return false;
    if (!LaterCuts->Cuts(static_cast<std::size_t>(Nodes[node].Order))) {
        AskEvery = 1;
        UntilAsk = 1;
        return true;
    }
    AskEvery = std::min<std::size_t>(2 * AskEvery, 64);
    UntilAsk = AskEvery;
    return false;
}

// Whether the next of the rest comes before the front of the list: an
// element of the list as given reaches the front only once every piece
// before it has left.
bool TSplitSweep::RestLeavesFirst() const
{
    return NextRest < Part->Rest.size() && static_cast<std::int64_t>(Part->Rest[NextRest]) < RestBefore();
}

// The rest before this place in the list as given leave before the front.
std::int64_t TSplitSweep::RestBefore() const
{
    if (Head == NONE)
        return std::numeric_limits<std::int64_t>::max();
    return Nodes[Head].Order;
}

void TSplitSweep::LeaveRest()
{
    Done.push_back((*Part->Whole)[Part->Rest[NextRest++]]);
    --PendingCount;
}

bool TSplitSweep::Run()
{
    const std::size_t step = ProgressStep(StartCount);
    while (Head != NONE || (Part && NextRest < Part->Rest.size())) {
        Progress.PumpMessages();
        if (Progress.Aborted())
            return false;
        if (Part && RestLeavesFirst()) {
            // One pass of the loop each, as if they were in the sweep.
            const std::int64_t before = RestBefore();
            const std::vector<std::size_t>& rest = Part->Rest;
            for (;;) {
                LeaveRest();
                ReportDone(Progress, Done.size(), Done.size() + PendingCount, step);
                if (NextRest == rest.size() || static_cast<std::int64_t>(rest[NextRest]) >= before)
                    break;
                Progress.PumpMessages();
                if (Progress.Aborted())
                    return false;
            }
            continue;
        }
        const int current = Head;
        bool split = false;
        if (!PassesOver(current))
            CollectCandidates(current);
        else
            Candidates.clear();
        for (const int other : Candidates) {
            split = SplitPair(current, other);
            if (Progress.Aborted())
                return false;
            if (split)
                break;
        }
        if (split) {
            if (++Splits > SplitCap || LeftPart)
                return false;
            continue;
        }
        Done.push_back(Nodes[current].Element);
        Unlink(current);
        ReportDone(Progress, Done.size(), Done.size() + PendingCount, step);
    }
    return true;
}

TChain TSplitSweep::TakeResult()
{
    const bool rest = Part != nullptr;
    while (Head != NONE) {
        while (rest && RestLeavesFirst())
            LeaveRest();
        Done.push_back(Nodes[Head].Element);
        Head = Nodes[Head].Next;
    }
    while (rest && RestLeavesFirst())
        LeaveRest();
    return std::move(Done);
}

// What trying every pair of near elements of the list as given finds.
struct TCutScan {
    // False when the scan stopped early: cuts were found all along the
    // list, so nearly all of it would take part in the sweep anyway.
    bool Complete = false;
    // The first element that cuts a later one; the list's length if none does.
    std::size_t First = 0;
    // How many elements, from the first, were tried against the later ones.
    std::size_t Tried = 0;
    // Per element tried: whether it cuts a later one; per element, whether
    // it cuts or is cut by one of those.
    std::vector<char> CutsLater;
    std::vector<char> Cut;
};

// Beyond this many, plus an eighth of the elements tried, cut elements are
// too many for a part to pay.
constexpr std::size_t FEW_CUT_ELEMENTS = 48;

template <bool WorkingOutAngles>
TCutScan ScanCuts(std::size_t count, TLaterCuts& laterCuts)
{
    TCutScan scan;
    scan.First = count;
    scan.CutsLater.assign(count, 0);
    scan.Cut.assign(count, 0);
    std::size_t cut = 0;
    const auto mark = [&](std::size_t k) {
        cut += scan.Cut[k] == 0 ? 1 : 0;
        scan.Cut[k] = 1;
    };
    for (std::size_t k = 0; k < count; ++k) {
        laterCuts.ForEachCut<WorkingOutAngles>(k, [&](std::size_t j) {
            scan.CutsLater[k] = 1;
            mark(k);
            mark(j);
            return false;
        });
        if (scan.CutsLater[k] && scan.First == count)
            scan.First = k;
        scan.Tried = k + 1;
        if (cut > FEW_CUT_ELEMENTS + k / 8)
            return scan;
    }
    scan.Complete = true;
    return scan;
}

// Sweeps only the elements cut and those near them: the rest keep their
// places. Nothing when a piece turns out to reach beyond those, for the
// whole list to be swept instead.
std::optional<bool> SweepAroundCuts(TChain& elements, const std::vector<TNodeShape>& shapes,
                                    const std::vector<TElementBox>& extents, const TNearElements& near, bool arcsOnly,
                                    const TCutScan& scan, TProgressSink& progress)
{
    const std::size_t count = elements.size();
    std::vector<char> inPart(count, 0);
    for (std::size_t k = 0; k < count; ++k) {
        if (!scan.Cut[k])
            continue;
        inPart[k] = 1;
        for (const int* other = near.begin(k); other != near.end(k); ++other)
            inPart[static_cast<std::size_t>(*other)] = 1;
    }
    TSweepPart part;
    part.Whole = &elements;
    std::vector<int> partOf(count, NONE);
    std::vector<std::size_t> members;
    for (std::size_t k = 0; k < count; ++k) {
        if (inPart[k]) {
            partOf[k] = static_cast<int>(members.size());
            members.push_back(k);
        } else {
            part.Rest.push_back(k);
        }
    }
    TChain partElements;
    std::vector<TNodeShape> partShapes;
    std::vector<TElementBox> partExtents;
    partElements.reserve(members.size());
    partShapes.reserve(members.size());
    partExtents.reserve(members.size());
    for (const std::size_t k : members) {
        partElements.push_back(elements[k]);
        partShapes.push_back(shapes[k]);
        if (arcsOnly)
            WorkOutAngles(elements[k], partShapes.back());
        partExtents.push_back(extents[k]);
        part.Orders.push_back(static_cast<std::int64_t>(k));
        part.Closed.push_back(static_cast<char>(std::all_of(
            near.begin(k), near.end(k), [&](int other) { return inPart[static_cast<std::size_t>(other)] != 0; })));
    }
    const TNearElements partNear(near, members, partOf);
    TSplitSweep sweep(part, partElements, partShapes, partExtents, partNear, scan.CutsLater, progress);
    const bool completed = sweep.Run();
    if (sweep.LeftThePart())
        return std::nullopt;
    elements = sweep.TakeResult();
    return completed;
}

// Whether anything was cut is left in `cut`.
bool CutAtEveryMeeting(TChain& elements, TProgressSink& progress, bool& cut)
{
    cut = false;
    std::erase_if(elements, [](const TChainElement& e) { return ElementShorterThan(e, SystemTol); });
    if (elements.size() <= 1)
        return true;
    // In a list of arcs alone, as an offset circle is, the arcs' angles are
    // left until a cut reads them, and the rest are worked out only for the
    // sweep, if one is needed. Beside segments, nearly every arc's are read.
    const bool arcsOnly =
        std::none_of(elements.begin(), elements.end(), [](const TChainElement& e) { return IsStraight(e); });
    std::vector<TNodeShape> shapes;
    if (arcsOnly) {
        // Filled in place: a second loop of push_back cost the other lists
        // the inlined one below.
        shapes.resize(elements.size());
        for (std::size_t k = 0; k < elements.size(); ++k)
            shapes[k] = ShapeOf<false>(elements[k]);
    } else {
        shapes.reserve(elements.size());
        for (const TChainElement& e : elements)
            shapes.push_back(NodeShape(e));
    }
    // The extents the sweep files its groups by; every element's box lies in its own.
    std::vector<TElementBox> extents;
    extents.reserve(elements.size());
    for (const TNodeShape& shape : shapes)
        extents.push_back(InflateBox(shape.Box, PIECE_ROOM));
    const TNearElements near(extents);
    TLaterCuts laterCuts(elements, shapes, near);
    // The elements before the first one that cuts a later one pass through
    // the sweep in order, one message pump and Esc check each; only the
    // progress they report is left to give.
    std::size_t first = 0;
    std::vector<char> cutsLater;
    if (near.Known()) {
        TCutScan scan =
            arcsOnly ? ScanCuts<true>(elements.size(), laterCuts) : ScanCuts<false>(elements.size(), laterCuts);
        if (scan.Complete && scan.First < elements.size()) {
            cut = true;
            if (const std::optional<bool> swept =
                    SweepAroundCuts(elements, shapes, extents, near, arcsOnly, scan, progress))
                return *swept;
            // Rarely, a piece reaches beyond the elements near the cuts;
            // the whole list is swept again from its start.
        }
        first = scan.First;
        cutsLater = std::move(scan.CutsLater);
        cutsLater.resize(scan.Tried);
        const std::size_t step = ProgressStep(elements.size());
        for (std::size_t k = 0; k < first; ++k) {
            progress.PumpMessages();
            if (progress.Aborted())
                return false;
            ReportDone(progress, k + 1, elements.size(), step);
        }
    }
    if (first == elements.size())
        return true;
    if (arcsOnly) {
        for (std::size_t k = first; k < elements.size(); ++k)
            WorkOutAngles(elements[k], shapes[k]);
    }
    TSplitSweep sweep(elements, shapes, extents, near, first, laterCuts, cutsLater, progress);
    const bool completed = sweep.Run();
    cut = sweep.Cut();
    elements = sweep.TakeResult();
    return completed;
}

} // namespace

bool SplitAtIntersections(TChain& elements, TProgressSink& progress)
{
    bool cut = false;
    if (!CutAtEveryMeeting(elements, progress, cut))
        return false;
    // Only cutting makes repeats: a list nothing cuts stays as it came.
    if (cut)
        DropCoincidentRepeats(elements);
    return true;
}
