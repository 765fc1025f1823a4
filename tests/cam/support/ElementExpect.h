#pragma once

#include <cmath>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "cam/chains/ChainElement.h"

// An element as the tests write them down: start, end and bulge.
struct TExpected {
    double X1, Y1, X2, Y2, Bulge;
};

inline constexpr double GEOMETRY_TOLERANCE = 1e-9;

inline double BulgeOfSweepDegrees(double degrees)
{
    return std::tan(degrees * std::numbers::pi / 180.0 / 4.0);
}

inline void ExpectElements(const TChain& actual, const std::vector<TExpected>& expected,
                           double tolerance = GEOMETRY_TOLERANCE)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        SCOPED_TRACE("element " + std::to_string(k));
        EXPECT_NEAR(actual[k].X1, expected[k].X1, tolerance);
        EXPECT_NEAR(actual[k].Y1, expected[k].Y1, tolerance);
        EXPECT_NEAR(actual[k].X2, expected[k].X2, tolerance);
        EXPECT_NEAR(actual[k].Y2, expected[k].Y2, tolerance);
        EXPECT_NEAR(actual[k].Bulge, expected[k].Bulge, tolerance);
    }
}

inline TChainElement Line(double x1, double y1, double x2, double y2)
{
    return MakeElement({x1, y1}, {x2, y2});
}

inline TChainElement Arc(double x1, double y1, double x2, double y2, double bulge)
{
    return MakeElement({x1, y1}, {x2, y2}, bulge);
}

inline bool AllFinite(const TChain& chain)
{
    for (const TChainElement& e : chain) {
        if (!std::isfinite(e.X1) || !std::isfinite(e.Y1) || !std::isfinite(e.X2) || !std::isfinite(e.Y2) ||
            !std::isfinite(e.Bulge))
            return false;
    }
    return true;
}

// The square (0,0)-(10,10), counter-clockwise from the origin.
inline TChain Square10()
{
    return {Line(0, 0, 10, 0), Line(10, 0, 10, 10), Line(10, 10, 0, 10), Line(0, 10, 0, 0)};
}
