#pragma once

// An interpolating cubic spline through up to four arrays of values at the
// parameters 0, 1, ..., n - 1, extrapolated beyond them by the end segments.

#include <array>
#include <vector>

#include "view3d/maths/VectorTypes.h"

class TCubicSpline {
public:
    // Arrays that are empty give 0 everywhere; each other array must hold n values.
    TCubicSpline(const std::vector<float>& x, const std::vector<float>& y, const std::vector<float>& z,
                 const std::vector<float>& w);

    float SplineX(float t) const;
    float SplineY(float t) const;
    float SplineZ(float t) const;
    float SplineW(float t) const;
    void SplineXYZ(float t, float& x, float& y, float& z) const;
    Vector3f SplineVector(float t) const;

private:
    // Per segment, the cubic in the absolute parameter: ((k0 t + k1) t + k2) t + k3.
    using TCoefficients = std::vector<std::array<float, 4>>;

    static TCoefficients Solve(const std::vector<float>& values);
    static float Evaluate(const TCoefficients& segments, float t);

    TCoefficients X;
    TCoefficients Y;
    TCoefficients Z;
    TCoefficients W;
};
