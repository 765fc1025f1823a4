#pragma once

// A closed star of fixed size whose points stand at random radii between 20
// and 50, counter-clockwise. The more points, the narrower its spikes, so
// its offsets cross each other ever more often (growing as the square of
// the count): the hard case of the intersection splitting, shared by its
// tests and its benchmark.

#include <cmath>
#include <numbers>
#include <random>

#include "cam/chains/ChainElement.h"

inline TChain RandomStar(unsigned seed, int points)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> radius(20.0, 50.0);
    TPointList corners;
    for (int k = 0; k < points; ++k) {
        const double angle = 2 * std::numbers::pi * k / points;
        const double r = radius(random);
        corners.push_back({r * std::cos(angle), r * std::sin(angle)});
    }
    TChain star;
    for (int k = 0; k < points; ++k)
        star.push_back(MakeElement(corners[k], corners[(k + 1) % points]));
    return star;
}
