#include "cam/toolpath/ElementBoxTree.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int LEAF_SIZE = 8;
constexpr int MAX_DEPTH = 60;

void Include(TElementBox& box, TVect p)
{
    box.MinX = std::min(box.MinX, p.X);
    box.MinY = std::min(box.MinY, p.Y);
    box.MaxX = std::max(box.MaxX, p.X);
    box.MaxY = std::max(box.MaxY, p.Y);
}

TElementBox UnionOf(const TElementBox& a, const TElementBox& b)
{
    return {std::min(a.MinX, b.MinX), std::min(a.MinY, b.MinY), std::max(a.MaxX, b.MaxX), std::max(a.MaxY, b.MaxY)};
}

} // namespace

TElementBox ElementBox(const TChainElement& e)
{
    if (IsStraight(e)) {
        TElementBox box{e.X1, e.Y1, e.X1, e.Y1};
        Include(box, EndPoint(e));
        return box;
    }
    TVect c;
    double r = 0.0;
    BulgeArcCentre(e, c, r);
    return ArcBox(e, c, r);
}

TElementBox ArcBox(const TChainElement& e, TVect c, double r)
{
    TElementBox box{e.X1, e.Y1, e.X1, e.Y1};
    Include(box, EndPoint(e));
    // The axis directions the arc passes, told by the sides of its end rays
    // taken counter-clockwise; beyond a half circle (|bulge| > 1) either side will do.
    const bool counterClockwise = e.Bulge > 0.0;
    const TVect from = counterClockwise ? TVect{e.X1 - c.X, e.Y1 - c.Y} : TVect{e.X2 - c.X, e.Y2 - c.Y};
    const TVect to = counterClockwise ? TVect{e.X2 - c.X, e.Y2 - c.Y} : TVect{e.X1 - c.X, e.Y1 - c.Y};
    const bool major = std::abs(e.Bulge) > 1.0;
    // The four axes written out, every product kept as it stands so that the
    // sides come out the same for any input: every piece of an arc outline
    // is boxed, and the loop over a list of axes cost more than the tests.
    const auto passes = [&](double ax, double ay) {
        const bool afterFrom = from.X * ay - from.Y * ax >= 0.0;
        const bool beforeTo = ax * to.Y - ay * to.X >= 0.0;
        return major ? afterFrom || beforeTo : afterFrom && beforeTo;
    };
    if (passes(1.0, 0.0))
        Include(box, {c.X + r * 1.0, c.Y + r * 0.0});
    if (passes(0.0, 1.0))
        Include(box, {c.X + r * 0.0, c.Y + r * 1.0});
    if (passes(-1.0, 0.0))
        Include(box, {c.X + r * -1.0, c.Y + r * 0.0});
    if (passes(0.0, -1.0))
        Include(box, {c.X + r * 0.0, c.Y + r * -1.0});
    return box;
}

double SquaredDistanceToBox(const TElementBox& box, TVect point)
{
    const double dx = std::max({box.MinX - point.X, 0.0, point.X - box.MaxX});
    const double dy = std::max({box.MinY - point.Y, 0.0, point.Y - box.MaxY});
    return dx * dx + dy * dy;
}

TElementBoxTree::TElementBoxTree(std::vector<TElementBox> boxes) : Boxes(std::move(boxes))
{
    Order.resize(Boxes.size());
    for (std::size_t k = 0; k < Order.size(); ++k)
        Order[k] = static_cast<int>(k);
    if (!Boxes.empty())
        Build(0, static_cast<int>(Boxes.size()), 0);
}

int TElementBoxTree::Build(int first, int count, int depth)
{
    const int index = static_cast<int>(Nodes.size());
    Nodes.emplace_back();
    TElementBox box = Boxes[Order[first]];
    for (int k = first + 1; k < first + count; ++k)
        box = UnionOf(box, Boxes[Order[k]]);
    Nodes[index].Box = box;
    if (count <= LEAF_SIZE || depth >= MAX_DEPTH) {
        Nodes[index].First = first;
        Nodes[index].Count = count;
        return index;
    }
    // Split at the median centre along the longer side of the node.
    const bool alongX = box.MaxX - box.MinX >= box.MaxY - box.MinY;
    const auto centre = [&](int item) {
        const TElementBox& b = Boxes[item];
        return alongX ? b.MinX + b.MaxX : b.MinY + b.MaxY;
    };
    const int half = count / 2;
    std::nth_element(Order.begin() + first, Order.begin() + first + half, Order.begin() + first + count,
                     [&](int a, int b) { return centre(a) < centre(b); });
    const int left = Build(first, half, depth + 1);
    const int right = Build(first + half, count - half, depth + 1);
    Nodes[index].Left = left;
    Nodes[index].Right = right;
    return index;
}
