#pragma once

// The walk that turns split offset pieces into tool loops, written once over
// the list of pieces not yet walked. That list only has to say which piece
// comes first and which pieces start where a piece ends; the program's list
// finds them through an index of start points, a plain scan finds the same
// ones in the same order.
//
// The list type provides:
//   std::size_t Size() const;                      pieces at the start
//   bool TakeFirst(TChainElement& e);              the first piece left, taken out
//   bool TakeNext(const TChainElement& current,    the continuation at current's
//                 TChainElement& next, double d);  end, as NextElementAtPoint with removal
// and may keep the walk under way itself (with TWalk's members), through
//   TWalk-like& Walk();
// the walk is then handed the pieces in the order the list handed them out.

#include <algorithm>
#include <cmath>
#include <span>
#include <utility>
#include <vector>

#include "cam/chains/ChainElement.h"
#include "cam/toolpath/ElementDistance.h"
#include "cad/base/Settings.h"
#include "cad/geometry/VectorHelpers.h"
#include "cam/toolpath/PointGrid.h"
#include "cam/ProgressSink.h"

enum class TLoopMode {
    // Closed loops only.
    Closed,
    // Open walks too, for the offset of an open chain.
    Open,
};

namespace loopwalk {

// The walk under way, with its pieces' start points indexed, since every
// round asks whether the walk closes.
class TWalk {
public:
    bool Empty() const { return Elements.empty(); }
    void Push(const TChainElement& e)
    {
        Starts.Add(StartPoint(e));
        Elements.push_back(e);
    }
    // Hands the pieces over and starts a new walk.
    TChain Take()
    {
        Starts.Clear();
        return std::exchange(Elements, {});
    }
    // The position of the first piece starting at the point, or -1.
    std::ptrdiff_t StartingAt(TVect point) const
    {
        std::ptrdiff_t found = -1;
        Starts.ForEachNear(point, [&](std::uint32_t k) {
            if ((found < 0 || static_cast<std::ptrdiff_t>(k) < found) && EqualPoints(StartPoint(Elements[k]), point))
                found = static_cast<std::ptrdiff_t>(k);
        });
        return found;
    }
    const TChainElement& Front() const { return Elements.front(); }
    // The pieces from the position on.
    std::span<const TChainElement> From(std::ptrdiff_t position) const
    {
        return std::span<const TChainElement>(Elements).subspan(static_cast<std::size_t>(position));
    }

private:
    TChain Elements;
    TPointGrid Starts;
};

// Whether a closed loop encloses area: pieces that coincide run out and
// back and close loops around none, which are no toolpath. The area is
// exact (each arc adds its segment beyond the chord), and a loop narrower
// on average than the shortest element kept encloses nothing.
inline bool EnclosesArea(std::span<const TChainElement> loop, const TChainElement* last = nullptr)
{
    double twiceArea = 0.0;
    double length = 0.0;
    const auto add = [&](const TChainElement& e) {
        twiceArea += e.X1 * e.Y2 - e.X2 * e.Y1;
        const double chord = std::hypot(e.X2 - e.X1, e.Y2 - e.Y1);
        length += chord;
        if (e.Bulge != 0.0) {
            // Radius c / (2 sin(sweep / 2)); the segment r^2 (sweep - sin sweep) / 2.
            const double sweep = 4.0 * std::atan(e.Bulge);
            const double half = std::sin(sweep / 2.0);
            if (half != 0.0)
                twiceArea += chord * chord / (4.0 * half * half) * (sweep - std::sin(sweep));
        }
    };
    for (const TChainElement& e : loop)
        add(e);
    if (last != nullptr)
        add(*last);
    return std::abs(twiceArea) > 2.0 * SystemTol * length;
}

// The list's own walk where it keeps one, else a walk with its own index.
template <typename TRemaining>
decltype(auto) WalkOf(TRemaining& remaining)
{
    if constexpr (requires { remaining.Walk(); })
        return remaining.Walk();
    else
        return TWalk{};
}

} // namespace loopwalk

// The source is a chain or a TPreparedSource of one.
template <typename TRemaining, typename TSource>
bool WalkLoops(TRemaining& remaining, const TSource& source, std::vector<TChain>& loops, bool closedOnly, double d,
               TLoopMode mode, TProgressSink& progress)
{
    const std::size_t count = remaining.Size();
    if (count == 0)
        return true;
    const double distance = std::abs(d);
    TChainElement current;
    remaining.TakeFirst(current);
    if (mode == TLoopMode::Open && count == 1) {
        loops.push_back({current});
        return true;
    }
    const std::size_t step = count / 10 < 1 ? 2 : count / 10;
    auto&& walk = loopwalk::WalkOf(remaining);

    // Cuts the walk to the loop that closes onto the piece at `onto`, and
    // keeps it when it is closed and keeps its distance from the source.
    const auto closeLoop = [&](std::ptrdiff_t onto) {
        TChain loop = walk.Take();
        DropElementsBefore(loop[static_cast<std::size_t>(onto)], loop);
        const bool closed = EqualPoints(StartPoint(loop.front()), EndPoint(loop.back()));
        if ((!closedOnly || closed) && (!closed || loopwalk::EnclosesArea(loop)) &&
            KeepsDistanceFromElements(StartPoint(loop.front()), source, distance))
            loops.push_back(std::move(loop));
    };

    std::size_t round = 0;
    for (;;) {
        progress.PumpMessages();
        TChainElement next;
        bool more = true;
        if (!remaining.TakeNext(current, next, d)) {
            const std::ptrdiff_t onto = walk.StartingAt(EndPoint(current));
            walk.Push(current);
            if (onto >= 0) {
                if (mode == TLoopMode::Closed)
                    closeLoop(onto);
                else {
                    TChain loop = walk.Take();
                    DropElementsBefore(loop[static_cast<std::size_t>(onto)], loop);
                    if ((!closedOnly || loop.size() > 2) &&
                        KeepsDistanceFromEnds(StartPoint(loop.front()), source, distance))
                        loops.push_back(std::move(loop));
                }
            } else if (mode == TLoopMode::Open && KeepsDistanceFromElements(StartPoint(walk.Front()), source, distance)) {
                loops.push_back(walk.Take());
            }
            walk.Take();
            more = remaining.TakeFirst(current);
        } else {
            const std::ptrdiff_t currentOnto = walk.StartingAt(EndPoint(current));
            // Out and back along the same pieces, as down a slot as wide as
            // the tool, closes around no area: the walk goes on through it.
            if (currentOnto >= 0 && !loopwalk::EnclosesArea(walk.From(currentOnto), &current)) {
                walk.Push(current);
                current = next;
            } else if (currentOnto >= 0) {
                walk.Push(current);
                const std::ptrdiff_t nextOnto = walk.StartingAt(EndPoint(next));
                if (nextOnto >= 0) {
                    // The continuation closes the walk as well: the loop ends with it.
                    walk.Push(next);
                    closeLoop(nextOnto);
                    more = remaining.TakeFirst(current);
                } else {
                    closeLoop(currentOnto);
                    current = next;
                }
            } else {
                walk.Push(current);
                current = next;
            }
        }
        ++round;
        if (progress.Aborted())
            return false;
        if (round % step == 0)
            progress.SetProgress(static_cast<int>(std::lround(static_cast<double>(round) * 50.0 / count)) + 50);
        if (!more)
            return true;
    }
}
