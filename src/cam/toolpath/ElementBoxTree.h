#pragma once

// Axis-aligned boxes of elements and a static box hierarchy over them, so
// that the routines that compare every element with every other one only
// look at the pairs that can meet.

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "cam/chains/ChainElement.h"

struct TElementBox {
    double MinX = 0.0;
    double MinY = 0.0;
    double MaxX = 0.0;
    double MaxY = 0.0;
};

// The tight box of the segment or of the arc (its end points and the
// extreme points of the circle that the arc passes).
TElementBox ElementBox(const TChainElement& e);
// The same for an arc whose centre and radius are already known.
TElementBox ArcBox(const TChainElement& e, TVect centre, double radius);
// The small box tests are inline: the splitting sweep runs them for every
// pair it considers.
inline TElementBox InflateBox(const TElementBox& box, double margin)
{
    return {box.MinX - margin, box.MinY - margin, box.MaxX + margin, box.MaxY + margin};
}

// Touching edges count as overlapping.
inline bool BoxesOverlap(const TElementBox& a, const TElementBox& b)
{
    return a.MinX <= b.MaxX && b.MinX <= a.MaxX && a.MinY <= b.MaxY && b.MinY <= a.MaxY;
}

inline bool BoxContains(const TElementBox& outer, const TElementBox& inner)
{
    return outer.MinX <= inner.MinX && outer.MinY <= inner.MinY && inner.MaxX <= outer.MaxX &&
           inner.MaxY <= outer.MaxY;
}

inline bool BoxContainsPoint(const TElementBox& box, TVect point)
{
    return box.MinX <= point.X && point.X <= box.MaxX && box.MinY <= point.Y && point.Y <= box.MaxY;
}

// 0 for a point inside the box.
double SquaredDistanceToBox(const TElementBox& box, TVect point);
// 0 for boxes that overlap.
inline double SquaredDistanceBetweenBoxes(const TElementBox& a, const TElementBox& b)
{
    const double dx = std::max({a.MinX - b.MaxX, 0.0, b.MinX - a.MaxX});
    const double dy = std::max({a.MinY - b.MaxY, 0.0, b.MinY - a.MaxY});
    return dx * dx + dy * dy;
}

// Narrows the parameter range [from, to] of the line start + t * delta to
// where it lies in the box, one pair of sides at a time; false when nothing
// is left (touching counts).
inline bool ClipLineToBox(TVect start, TVect delta, const TElementBox& box, double& from, double& to)
{
    const auto clip = [&](double origin, double step, double low, double high) {
        if (step == 0.0)
            return low <= origin && origin <= high;
        double t1 = (low - origin) / step;
        double t2 = (high - origin) / step;
        if (t1 > t2)
            std::swap(t1, t2);
        from = std::max(from, t1);
        to = std::min(to, t2);
        return from <= to;
    };
    return clip(start.X, delta.X, box.MinX, box.MaxX) && clip(start.Y, delta.Y, box.MinY, box.MaxY);
}

// Whether the segment passes through the box (touching counts). A long
// slanted segment misses most of the boxes its own box overlaps.
inline bool SegmentMeetsBox(TVect a, TVect b, const TElementBox& box)
{
    double from = 0.0;
    double to = 1.0;
    return ClipLineToBox(a, {b.X - a.X, b.Y - a.Y}, box, from, to);
}

// Built once over a fixed list of boxes; answers which of them overlap a
// query box.
class TElementBoxTree {
public:
    explicit TElementBoxTree(std::vector<TElementBox> boxes);

    // Calls visit(index) once for every box that overlaps the query, in no
    // particular order.
    template <typename Visit>
    void Query(const TElementBox& query, Visit&& visit) const;

    // Calls visit(index) once for every box that meets(box) accepts, as it
    // does the boxes of the groups above it, in no particular order.
    template <typename Meets, typename Visit>
    void QueryWhere(Meets&& meets, Visit&& visit) const;

    // Calls test(index) for boxes that meets(box) accepts, as it does the
    // boxes of the groups above it, until one test returns true; returns
    // whether one did.
    template <typename Meets, typename Test>
    bool AnyWhere(Meets&& meets, Test&& test) const;

    // Calls test(index) for boxes that overlap the query, until one test
    // returns true; returns whether one did.
    template <typename Test>
    bool AnyOverlapping(const TElementBox& query, Test&& test) const;

    // Calls test(index) for boxes not further than the distance from the
    // point, until one test returns true; returns whether one did.
    template <typename Test>
    bool AnyWithin(TVect point, double distance, Test&& test) const;

private:
    struct TNode {
        TElementBox Box;
        int First = 0; // into Order, for a leaf
        int Count = 0; // 0 for an inner node
        int Left = -1;
        int Right = -1;
    };

    int Build(int first, int count, int depth);
    // Calls stop(index) for every box that skip(box) keeps, as do the boxes of
    // all nodes above it, until one call returns true; returns whether one did.
    template <typename Skip, typename Stop>
    bool Walk(Skip&& skip, Stop&& stop) const;

    std::vector<TElementBox> Boxes;
    std::vector<int> Order;
    std::vector<TNode> Nodes;
};

// Median splits keep the depth near log2(n / leaf size); the builder stops
// splitting long before this stack could overflow.
template <typename Skip, typename Stop>
bool TElementBoxTree::Walk(Skip&& skip, Stop&& stop) const
{
    if (Nodes.empty())
        return false;
    std::array<int, 128> stack{};
    int top = 0;
    stack[top++] = 0;
    while (top > 0) {
        const TNode& node = Nodes[stack[--top]];
        if (skip(node.Box))
            continue;
        if (node.Count > 0) {
            for (int k = node.First; k < node.First + node.Count; ++k) {
                if (!skip(Boxes[Order[k]]) && stop(Order[k]))
                    return true;
            }
        } else {
            stack[top++] = node.Left;
            stack[top++] = node.Right;
        }
    }
    return false;
}

template <typename Visit>
void TElementBoxTree::Query(const TElementBox& query, Visit&& visit) const
{
    Walk([&](const TElementBox& box) { return !BoxesOverlap(box, query); },
         [&](int index) {
             visit(index);
             return false;
         });
}

template <typename Meets, typename Visit>
void TElementBoxTree::QueryWhere(Meets&& meets, Visit&& visit) const
{
    Walk([&](const TElementBox& box) { return !meets(box); },
         [&](int index) {
             visit(index);
             return false;
         });
}

template <typename Meets, typename Test>
bool TElementBoxTree::AnyWhere(Meets&& meets, Test&& test) const
{
    return Walk([&](const TElementBox& box) { return !meets(box); }, test);
}

template <typename Test>
bool TElementBoxTree::AnyOverlapping(const TElementBox& query, Test&& test) const
{
    return Walk([&](const TElementBox& box) { return !BoxesOverlap(box, query); }, test);
}

template <typename Test>
bool TElementBoxTree::AnyWithin(TVect point, double distance, Test&& test) const
{
    const double limit = distance * distance;
    return Walk([&](const TElementBox& box) { return SquaredDistanceToBox(box, point) > limit; }, test);
}
