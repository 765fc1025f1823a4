#pragma once

// Real roots of polynomial equations of degree 2 to 4, for the ray casts of
// the geometric scene objects. A coefficient array holds c[0] .. c[n], c[n]
// the highest power. Roots come unsorted; a double root may come once.

#include <span>
#include <vector>

bool IsZero(double x);
// A zero leading coefficient falls back to the equation of lower degree, so
// a linear equation gives its one root and a constant one none.
std::vector<double> SolveQuadric(std::span<const double, 3> c);
std::vector<double> SolveCubic(std::span<const double, 4> c);
std::vector<double> SolveQuartic(std::span<const double, 5> c);
// The smallest non-negative root; false when there is none.
bool MinPositiveCoef(const std::vector<double>& roots, double& result);
