#include "cam/toolpath/CoincidentPieces.h"

#include <cmath>
#include <cstdint>

#include "cad/base/Settings.h"
#include "cad/geometry/VectorHelpers.h"
#include "cam/toolpath/PointGrid.h"

namespace {

// Between equal ends, the middles of two pieces lie their bulges' difference
// times half the chord apart.
bool Coincide(const TChainElement& a, const TChainElement& b)
{
    if (!EqualPoints(StartPoint(a), StartPoint(b)) || !EqualPoints(EndPoint(a), EndPoint(b)))
        return false;
    const double chord = std::hypot(a.X2 - a.X1, a.Y2 - a.Y1);
    return std::abs(a.Bulge - b.Bulge) * chord / 2.0 <= SystemTol;
}

} // namespace

void DropCoincidentRepeats(TChain& pieces)
{
    // Item k of the grid is the start of kept piece k.
    TPointGrid starts(pieces.size());
    std::size_t kept = 0;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const TChainElement& piece = pieces[k];
        bool repeat = false;
        starts.ForEachNear(StartPoint(piece), [&](std::uint32_t id) {
            repeat = repeat || Coincide(pieces[id], piece);
        });
        if (repeat)
            continue;
        starts.Add(StartPoint(piece));
        pieces[kept++] = piece;
    }
    pieces.resize(kept);
}
