#include "cam/Loops.h"

#include <algorithm>

#include "cam/Chains.h"
#include "cam/LoopWalk.h"
#include "cam/PointEquality.h"
#include "cam/PointGrid.h"

namespace {

// The pieces not yet walked, with their start points indexed so that a
// continuation is found without scanning them all. A piece is never moved,
// only marked as taken, so list order is index order.
class TIndexedPieces {
public:
    explicit TIndexedPieces(const TChain& pieces) : Pieces(pieces), Left(pieces.size(), true), Starts(pieces.size())
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
        return true;
    }

    bool TakeNext(const TChainElement& current, TChainElement& next, double d)
    {
        const TVect end = EndPoint(current);
        Found.clear();
        Starts.ForEachNear(end, [&](std::uint32_t k) {
            if (Left[k] && SamePoint(StartPoint(Pieces[k]), end))
                Found.push_back(k);
        });
        if (Found.empty())
            return false;
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
        return true;
    }

private:
    const TChain& Pieces;
    std::vector<bool> Left;
    std::size_t First = 0;
    TPointGrid Starts;
    std::vector<std::uint32_t> Found;
    std::vector<const TChainElement*> Candidates;
};

bool Walk(TChain& elements, const TChain& source, std::vector<TChain>& loops, bool closedOnly, double d,
          TLoopMode mode, TProgressSink& progress)
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

bool ExtractLoopsOpen(TChain& elements, const TChain& source, bool closedOnly, std::vector<TChain>& loops, double d,
                      TProgressSink& progress)
{
    return Walk(elements, source, loops, closedOnly, d, TLoopMode::Open, progress);
}
