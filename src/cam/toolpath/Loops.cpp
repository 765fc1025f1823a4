#include "cam/toolpath/Loops.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <span>
#include <utility>

#include "cam/chains/Chains.h"
#include "cam/toolpath/LoopWalk.h"
#include "cad/geometry/VectorHelpers.h"
#include "cam/toolpath/PointGrid.h"

namespace {

// The pieces not yet walked, with their start points indexed so that a
// continuation is found without scanning them all. A piece is never moved,
// only marked as taken, so list order is index order.
//
// The list also keeps the walk under way: its pieces are found through the
// same index, and the search for a continuation notes on the way where the
// walk closes at that point, which is the next question the walk asks.
class TIndexedPieces {
public:
    explicit TIndexedPieces(const TChain& pieces)
        : Pieces(pieces), Left(pieces.size(), true), Starts(pieces.size()), InWalk(pieces.size(), 0),
          WalkPosition(pieces.size(), 0)
    {
        for (const TChainElement& e : pieces)
            Starts.Add(StartPoint(e));
    }

    std::size_t Size() const { return Pieces.size(); }

    bool TakeFirst(TChainElement& e)
    {
        while (First < Pieces.size() && !Left[First])
            ++First;
        if (First == Pieces.size())
            return false;
        e = Pieces[First];
        Left[First] = false;
        HandOut(static_cast<std::uint32_t>(First));
        return true;
    }

    bool TakeNext(const TChainElement& current, TChainElement& next, double d)
    {
        const TVect end = EndPoint(current);
        Found.clear();
        std::ptrdiff_t onto = -1;
        Starts.ForEachNear(end, [&](std::uint32_t k) {
            if (!EqualPoints(StartPoint(Pieces[k]), end))
                return;
            if (Left[k])
                Found.push_back(k);
            else if (InWalk[k] == WalkStamp && (onto < 0 || WalkPosition[k] < onto))
                onto = WalkPosition[k];
        });
        Noted = true;
        NotedAt = end;
        NotedOnto = onto;
        if (Found.empty())
            return false;
        if (Found.size() == 1) {
            // The only piece there is the continuation, and none is dropped.
            const std::uint32_t k = Found.front();
            next = Pieces[k];
            Left[k] = false;
            HandOut(k);
            return true;
        }
        std::sort(Found.begin(), Found.end());
        Candidates.clear();
        for (const std::uint32_t k : Found)
            Candidates.push_back(&Pieces[k]);
        std::size_t taken = 0;
        std::size_t kept = 0;
        ChooseContinuation(current, Candidates, d, taken, kept);
        next = *Candidates[taken];
        for (std::size_t k = 0; k < Found.size(); ++k) {
            if (k != kept)
                Left[Found[k]] = false;
        }
        HandOut(Found[taken]);
        return true;
    }

    TIndexedPieces& Walk() { return *this; }

    // The walk under way, as loopwalk::TWalk.
    bool Empty() const { return Elements.empty(); }
    void Push(const TChainElement& e)
    {
        // Pieces join the walk in the order they were handed out.
        const std::uint32_t id = Handed[0];
        assert(HandedCount > 0 && std::memcmp(&e, &Pieces[id], sizeof e) == 0);
        Handed[0] = Handed[1];
        --HandedCount;
        InWalk[id] = WalkStamp;
        WalkPosition[id] = static_cast<std::ptrdiff_t>(Elements.size());
        Elements.push_back(e);
        Noted = false;
    }
    TChain Take()
    {
        if (++WalkStamp == 0) {
            std::fill(InWalk.begin(), InWalk.end(), 0);
            WalkStamp = 1;
        }
        Noted = false;
        return std::exchange(Elements, {});
    }
    std::ptrdiff_t StartingAt(TVect point) const
    {
        if (Noted && point.X == NotedAt.X && point.Y == NotedAt.Y)
            return NotedOnto;
        std::ptrdiff_t found = -1;
        Starts.ForEachNear(point, [&](std::uint32_t k) {
            if (InWalk[k] == WalkStamp && (found < 0 || WalkPosition[k] < found) &&
                EqualPoints(StartPoint(Pieces[k]), point))
                found = WalkPosition[k];
        });
        return found;
    }
    const TChainElement& Front() const { return Elements.front(); }
    std::span<const TChainElement> From(std::ptrdiff_t position) const
    {
        return std::span<const TChainElement>(Elements).subspan(static_cast<std::size_t>(position));
    }

private:
    void HandOut(std::uint32_t id)
    {
        assert(HandedCount < 2);
        Handed[HandedCount++] = id;
    }

    const TChain& Pieces;
    // Not a vector of bool: every search reads and writes it.
    std::vector<char> Left;
    std::size_t First = 0;
    TPointGrid Starts;
    std::vector<std::uint32_t> Found;
    std::vector<const TChainElement*> Candidates;

    // The walk: its pieces, and for each piece whether it is in this walk
    // (its stamp is the walk's) and where.
    TChain Elements;
    std::vector<std::uint32_t> InWalk;
    std::vector<std::ptrdiff_t> WalkPosition;
    std::uint32_t WalkStamp = 1;
    // Pieces handed out and not yet in the walk: at most the current piece
    // and its continuation.
    std::uint32_t Handed[2] = {0, 0};
    int HandedCount = 0;
    // Where the walk closes at the end point the last search looked at,
    // until the walk changes.
    bool Noted = false;
    TVect NotedAt;
    std::ptrdiff_t NotedOnto = -1;
};

// Everything it calls here is inlined: the walk asks the list for each
// piece, and the index for each end.
template <typename TSource>
[[gnu::flatten]] bool Walk(TChain& elements, const TSource& source, std::vector<TChain>& loops, bool closedOnly,
                           double d, TLoopMode mode, TProgressSink& progress)
{
    TIndexedPieces pieces(elements);
    const bool done = WalkLoops(pieces, source, loops, closedOnly, d, mode, progress);
    elements.clear();
    return done;
}

} // namespace

bool ExtractLoops(TChain& elements, const TChain& source, std::vector<TChain>& loops, bool closedOnly, double d,
                  TProgressSink& progress)
{
    return Walk(elements, source, loops, closedOnly, d, TLoopMode::Closed, progress);
}

bool ExtractLoops(TChain& elements, const TPreparedSource& source, std::vector<TChain>& loops, bool closedOnly,
                  double d, TProgressSink& progress)
{
    return Walk(elements, source, loops, closedOnly, d, TLoopMode::Closed, progress);
}

bool ExtractLoopsOpen(TChain& elements, const TChain& source, bool closedOnly, std::vector<TChain>& loops, double d,
                      TProgressSink& progress)
{
    return Walk(elements, source, loops, closedOnly, d, TLoopMode::Open, progress);
}
