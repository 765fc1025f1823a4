// Centre lines: the ink is thinned to a one-pixel skeleton, the skeleton is
// cut into chains between ends and junctions, short spurs are pruned, and
// each chain is smoothed and simplified with its corners kept.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

#include "InkPieces.h"
#include "Thinning.h"
#include "Trace.h"

namespace {

// The order a walk tries the neighbours in: the four sides before the
// corners, so that a staircase is followed step by step instead of cut across.
constexpr int kWalkOrder[8] = {0, 2, 4, 6, 1, 3, 5, 7};

struct TChain {
    std::vector<std::size_t> Cells;
    // Node numbers of both ends; -1 where the end is free or the chain is a ring.
    int StartNode = -1;
    int EndNode = -1;
    bool Closed = false;
    bool Dropped = false;
};

class TSkeletonWalker {
public:
    explicit TSkeletonWalker(TGrid& grid) : Grid(grid), Node(grid.Cells.size(), -1), Visited(grid.Cells.size(), 0) {}

    std::vector<TChain> Chains;
    // Per node: the pixels of a junction, or the one pixel of an end.
    std::vector<std::vector<std::size_t>> NodeCells;
    std::vector<bool> NodeIsJunction;

    void Walk()
    {
        FindNodes();
        for (int node = 0; node < static_cast<int>(NodeCells.size()); ++node)
            for (std::size_t cell : NodeCells[static_cast<std::size_t>(node)])
                for (int k : kWalkOrder) {
                    const std::size_t next = Step(cell, k);
                    if (!Grid.Cells[next])
                        continue;
                    if (Node[next] >= 0) {
                        // Two nodes side by side: one short chain between them, made once.
                        if (Node[next] > node)
                            Chains.push_back({{cell, next}, node, Node[next]});
                        continue;
                    }
                    if (!Visited[next])
                        Chains.push_back(Follow(cell, next, node));
                }
        // What is left are rings without any end or junction.
        for (std::size_t cell = 0; cell < Grid.Cells.size(); ++cell)
            if (Grid.Cells[cell] && Node[cell] < 0 && !Visited[cell])
                Chains.push_back(FollowRing(cell));
    }

private:
    std::size_t Step(std::size_t cell, int k) const
    {
        return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(cell) + kDy[k] * static_cast<std::ptrdiff_t>(Grid.Width) + kDx[k]);
    }

    // Ends have one run of neighbours, junctions three or more; touching
    // junction pixels make one junction.
    void FindNodes()
    {
        for (std::size_t cell = 0; cell < Grid.Cells.size(); ++cell) {
            if (!Grid.Cells[cell] || Node[cell] >= 0)
                continue;
            const int runs = Transitions(NeighbourBits(Grid, cell));
            if (runs == 2)
                continue;
            if (runs == 0) {
                // A lone pixel makes no chain; its piece is given a point of its own.
                Grid.Cells[cell] = 0;
                continue;
            }
            const int node = static_cast<int>(NodeCells.size());
            NodeCells.emplace_back();
            NodeIsJunction.push_back(runs >= 3);
            if (runs < 3) {
                Node[cell] = node;
                NodeCells.back().push_back(cell);
                continue;
            }
            std::vector<std::size_t> pending{cell};
            Node[cell] = node;
            while (!pending.empty()) {
                const std::size_t at = pending.back();
                pending.pop_back();
                NodeCells.back().push_back(at);
                for (int k = 0; k < 8; ++k) {
                    const std::size_t next = Step(at, k);
                    if (Grid.Cells[next] && Node[next] < 0 && Transitions(NeighbourBits(Grid, next)) >= 3) {
                        Node[next] = node;
                        pending.push_back(next);
                    }
                }
            }
        }
    }

    // The next pixel of a walk: a side before a corner; a node ends the walk,
    // but not the one it started from until the walk has left it.
    std::size_t Next(std::size_t cell, std::size_t previous, int startNode, std::size_t length) const
    {
        for (int k : kWalkOrder) {
            const std::size_t next = Step(cell, k);
            if (!Grid.Cells[next] || next == previous)
                continue;
            if (Node[next] >= 0) {
                if (Node[next] != startNode || length > 2)
                    return next;
                continue;
            }
            if (!Visited[next])
                return next;
        }
        return 0;
    }

    TChain Follow(std::size_t start, std::size_t first, int startNode)
    {
        TChain chain{{start, first}, startNode, -1};
        Visited[first] = 1;
        for (std::size_t previous = start, cell = first;;) {
            const std::size_t next = Next(cell, previous, startNode, chain.Cells.size());
            if (next == 0)
                break;
            chain.Cells.push_back(next);
            if (Node[next] >= 0) {
                chain.EndNode = Node[next];
                break;
            }
            Visited[next] = 1;
            previous = cell;
            cell = next;
        }
        return chain;
    }

    TChain FollowRing(std::size_t start)
    {
        TChain chain{{start}, -1, -1, true};
        Visited[start] = 1;
        for (std::size_t previous = start, cell = start;;) {
            const std::size_t next = Next(cell, previous, -1, chain.Cells.size());
            if (next == 0)
                break;
            chain.Cells.push_back(next);
            Visited[next] = 1;
            previous = cell;
            cell = next;
        }
        return chain;
    }

    TGrid& Grid;
    std::vector<int> Node;
    std::vector<std::uint8_t> Visited;
};

// Drops spurs (chains from a junction to a free end) shorter than minLength,
// then joins the two chains that meet at a junction left with only them.
void PruneAndJoin(std::vector<TChain>& chains, const std::vector<bool>& isJunction, std::size_t minLength)
{
    const auto junction = [&](int node) { return node >= 0 && isJunction[static_cast<std::size_t>(node)]; };
    for (TChain& chain : chains) {
        if (chain.Closed || chain.Cells.size() >= minLength)
            continue;
        const bool startFree = !junction(chain.StartNode), endFree = !junction(chain.EndNode);
        // A short piece on its own is a speck; one between two junctions is the joint itself.
        if (startFree || endFree)
            chain.Dropped = true;
    }
    std::vector<std::vector<std::size_t>> atNode(isJunction.size());
    for (std::size_t i = 0; i < chains.size(); ++i) {
        if (chains[i].Dropped)
            continue;
        if (junction(chains[i].StartNode))
            atNode[static_cast<std::size_t>(chains[i].StartNode)].push_back(i);
        if (junction(chains[i].EndNode))
            atNode[static_cast<std::size_t>(chains[i].EndNode)].push_back(i);
    }
    for (std::size_t node = 0; node < atNode.size(); ++node) {
        std::vector<std::size_t>& ends = atNode[node];
        std::erase_if(ends, [&](std::size_t i) { return chains[i].Dropped; });
        if (ends.size() != 2)
            continue;
        const int n = static_cast<int>(node);
        TChain& a = chains[ends[0]];
        if (ends[0] == ends[1]) {
            // Both ends of one chain: a ring through the junction.
            a.Closed = true;
            a.StartNode = a.EndNode = -1;
            continue;
        }
        TChain& b = chains[ends[1]];
        // a ends at the node, b starts there.
        if (a.EndNode != n) {
            std::reverse(a.Cells.begin(), a.Cells.end());
            std::swap(a.StartNode, a.EndNode);
        }
        if (b.StartNode != n) {
            std::reverse(b.Cells.begin(), b.Cells.end());
            std::swap(b.StartNode, b.EndNode);
        }
        a.Cells.insert(a.Cells.end(), b.Cells.begin(), b.Cells.end());
        a.EndNode = b.EndNode;
        b.Dropped = true;
        // b's far end now belongs to a.
        if (b.EndNode >= 0)
            for (std::size_t& i : atNode[static_cast<std::size_t>(b.EndNode)])
                if (i == ends[1])
                    i = ends[0];
        if (a.StartNode == a.EndNode && a.StartNode == n) {
            a.Closed = true;
            a.StartNode = a.EndNode = -1;
        }
    }
}

double Turn(TTracePoint a, TTracePoint b, TTracePoint c)
{
    const double ux = b.X - a.X, uy = b.Y - a.Y, vx = c.X - b.X, vy = c.Y - b.Y;
    if ((ux == 0 && uy == 0) || (vx == 0 && vy == 0))
        return 0.0;
    return std::abs(std::atan2(ux * vy - uy * vx, ux * vx + uy * vy)) * 180.0 / std::numbers::pi;
}

// Corners: where the direction over a few pixels either side turns by more
// than 180 - cornerThreshold degrees, the sharpest point of each such run.
std::vector<bool> FindCorners(const std::vector<TTracePoint>& points, bool closed, int cornerThreshold)
{
    const std::size_t n = points.size();
    std::vector<bool> corner(n, false);
    constexpr std::size_t reach = 3;
    if (n < 2 * reach + 1)
        return corner;
    const double limit = 180.0 - cornerThreshold;
    std::vector<double> turn(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        if (!closed && (i < reach || i + reach >= n))
            continue;
        turn[i] = Turn(points[(i + n - reach) % n], points[i], points[(i + reach) % n]);
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (turn[i] < limit || turn[i] == 0.0)
            continue;
        const double before = turn[(i + n - 1) % n], after = turn[(i + 1) % n];
        corner[i] = turn[i] > before && turn[i] >= after;
    }
    return corner;
}

void Smooth(std::vector<TTracePoint>& points, const std::vector<bool>& fixed, bool closed, int passes)
{
    const std::size_t n = points.size();
    if (n < 3)
        return;
    std::vector<TTracePoint> next(points);
    for (int pass = 0; pass < passes; ++pass) {
        for (std::size_t i = 0; i < n; ++i) {
            if (fixed[i] || (!closed && (i == 0 || i + 1 == n)))
                continue;
            const TTracePoint& a = points[(i + n - 1) % n];
            const TTracePoint& b = points[(i + 1) % n];
            next[i] = {0.25 * a.X + 0.5 * points[i].X + 0.25 * b.X, 0.25 * a.Y + 0.5 * points[i].Y + 0.25 * b.Y};
        }
        points.swap(next);
        next = points;
    }
}

double DistanceToSegment(TTracePoint p, TTracePoint a, TTracePoint b)
{
    const double dx = b.X - a.X, dy = b.Y - a.Y, length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.X - a.X - t * dx, p.Y - a.Y - t * dy);
}

// Douglas and Peucker's simplification between first and last, both kept.
void Simplify(const std::vector<TTracePoint>& points, std::size_t first, std::size_t last, double tolerance,
              std::vector<bool>& keep)
{
    if (last <= first + 1)
        return;
    double farthest = -1.0;
    std::size_t at = first;
    for (std::size_t i = first + 1; i < last; ++i) {
        const double d = DistanceToSegment(points[i], points[first], points[last]);
        if (d > farthest) {
            farthest = d;
            at = i;
        }
    }
    if (farthest <= tolerance)
        return;
    keep[at] = true;
    Simplify(points, first, at, tolerance, keep);
    Simplify(points, at, last, tolerance, keep);
}

TTraceLine Shape(std::vector<TTracePoint> points, bool closed, const TTraceOptions& options)
{
    const std::vector<bool> corners = FindCorners(points, closed, options.CornerThreshold);
    Smooth(points, corners, closed, options.FilterIterations);
    std::vector<bool> keep(corners);
    if (closed) {
        // A ring starts over at a corner when it has one, else at its point farthest from the first.
        std::size_t start = static_cast<std::size_t>(std::find(corners.begin(), corners.end(), true) - corners.begin());
        if (start == corners.size())
            start = 0;
        std::rotate(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(start), points.end());
        std::rotate(keep.begin(), keep.begin() + static_cast<std::ptrdiff_t>(start), keep.end());
        points.push_back(points.front());
        keep.push_back(true);
        keep.front() = true;
        std::size_t far = 0;
        double farDistance = -1.0;
        for (std::size_t i = 0; i < points.size(); ++i)
            if (const double d = std::hypot(points[i].X - points[0].X, points[i].Y - points[0].Y); d > farDistance) {
                farDistance = d;
                far = i;
            }
        keep[far] = true;
    } else {
        keep.front() = keep.back() = true;
    }
    const double tolerance = options.ErrorThreshold / 4.0;
    std::size_t from = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        if (keep[i]) {
            Simplify(points, from, i, tolerance, keep);
            from = i;
        }
    TTraceLine line;
    line.Closed = closed;
    for (std::size_t i = 0; i < points.size(); ++i)
        if (keep[i])
            line.Points.push_back(points[i]);
    if (closed && line.Points.size() > 1)
        line.Points.pop_back();
    return line;
}

} // namespace

std::vector<TTraceLine> TraceCentreLines(const TInkBitmap& bitmap, const TTraceOptions& options)
{
    TGrid grid(bitmap);
    Thin(grid);

    TSkeletonWalker walker(grid);
    walker.Walk();
    PruneAndJoin(walker.Chains, walker.NodeIsJunction, static_cast<std::size_t>(std::max(options.FilterIterations, 2)));

    // Chain ends at a junction meet at its middle, so that the lines join.
    std::vector<TTracePoint> middles(walker.NodeCells.size());
    const auto centre = [&](std::size_t cell) {
        return TTracePoint{static_cast<double>(cell % static_cast<std::size_t>(grid.Width)) - 0.5,
                           static_cast<double>(cell / static_cast<std::size_t>(grid.Width)) - 0.5};
    };
    for (std::size_t node = 0; node < walker.NodeCells.size(); ++node) {
        TTracePoint sum;
        for (std::size_t cell : walker.NodeCells[node]) {
            sum.X += centre(cell).X;
            sum.Y += centre(cell).Y;
        }
        const double count = static_cast<double>(walker.NodeCells[node].size());
        middles[node] = {sum.X / count, sum.Y / count};
    }

    const TInkPieces pieces(bitmap);
    std::vector<bool> covered(pieces.Pieces.size(), false);
    std::vector<TTraceLine> lines;
    for (const TChain& chain : walker.Chains) {
        if (chain.Dropped || chain.Cells.size() < 2)
            continue;
        std::vector<TTracePoint> points;
        points.reserve(chain.Cells.size());
        for (std::size_t cell : chain.Cells)
            points.push_back(centre(cell));
        if (!chain.Closed) {
            if (chain.StartNode >= 0 && walker.NodeIsJunction[static_cast<std::size_t>(chain.StartNode)])
                points.front() = middles[static_cast<std::size_t>(chain.StartNode)];
            if (chain.EndNode >= 0 && walker.NodeIsJunction[static_cast<std::size_t>(chain.EndNode)])
                points.back() = middles[static_cast<std::size_t>(chain.EndNode)];
        }
        TTraceLine line = Shape(std::move(points), chain.Closed, options);
        if (line.Points.empty())
            continue;
        const std::size_t cell = chain.Cells.front();
        const int piece = pieces.PieceAt(static_cast<int>(cell % static_cast<std::size_t>(grid.Width)) - 1,
                                         static_cast<int>(cell / static_cast<std::size_t>(grid.Width)) - 1);
        if (piece >= 0)
            covered[static_cast<std::size_t>(piece)] = true;
        lines.push_back(std::move(line));
    }
    // Every piece above the speck size gives a line or a point, also a dot or
    // a short stroke whose skeleton was too short to keep or was worn away
    // by the thinning (which leaves nothing of a block of 2 x 2 pixels).
    for (std::size_t i = 0; i < pieces.Pieces.size(); ++i)
        if (!covered[i] && pieces.Pieces[i].Area > options.FilterIterations)
            lines.push_back(PieceStandIn(pieces.Pieces[i]));
    return lines;
}
