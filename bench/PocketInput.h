#pragma once

// The pocket the benchmarks share: a 300 x 300 square with ten round islands
// that come in as polylines (each circle as the 102 chords a bulged DXF
// outline gives).

#include <vector>

#include "cam/chains/ChainElement.h"

namespace pocketinput {

inline TChain Polygon(const TPointList& points)
{
    TChain chain;
    for (std::size_t k = 0; k < points.size(); ++k)
        chain.push_back(MakeElement(points[k], points[(k + 1) % points.size()]));
    return chain;
}

inline TChain TessellatedCircle(TVect centre, double radius)
{
    TPointList points;
    const TChainElement halves[] = {
        MakeElement({centre.X + radius, centre.Y}, {centre.X - radius, centre.Y}, 1.0),
        MakeElement({centre.X - radius, centre.Y}, {centre.X + radius, centre.Y}, 1.0)};
    for (const TChainElement& half : halves) {
        TPointList arc;
        TessellateBulgeArc(half, arc);
        // The end point is the next half's start.
        points.insert(points.end(), arc.begin(), arc.end() - 1);
    }
    return Polygon(points);
}

inline std::vector<TChain> PocketWithIslands()
{
    std::vector<TChain> chains{Polygon({{0, 0}, {300, 0}, {300, 300}, {0, 300}})};
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 5; ++column)
            chains.push_back(TessellatedCircle({30.0 + 60.0 * column, 90.0 + 120.0 * row}, 12.0 + 2.0 * column));
    }
    return chains;
}

} // namespace pocketinput
