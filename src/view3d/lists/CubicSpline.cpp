#include "view3d/lists/CubicSpline.h"

#include <algorithm>
#include <cmath>

TCubicSpline::TCubicSpline(const std::vector<float>& x, const std::vector<float>& y, const std::vector<float>& z,
                           const std::vector<float>& w)
    : X(Solve(x)), Y(Solve(y)), Z(Solve(z)), W(Solve(w))
{
}

float TCubicSpline::SplineX(float t) const
{
    return Evaluate(X, t);
}

float TCubicSpline::SplineY(float t) const
{
    return Evaluate(Y, t);
}

float TCubicSpline::SplineZ(float t) const
{
    return Evaluate(Z, t);
}

float TCubicSpline::SplineW(float t) const
{
    return Evaluate(W, t);
}

void TCubicSpline::SplineXYZ(float t, float& x, float& y, float& z) const
{
    x = SplineX(t);
    y = SplineY(t);
    z = SplineZ(t);
}

Vector3f TCubicSpline::SplineVector(float t) const
{
    return {SplineX(t), SplineY(t), SplineZ(t)};
}

TCubicSpline::TCoefficients TCubicSpline::Solve(const std::vector<float>& v)
{
    const std::size_t n = v.size();
    if (n == 0)
        return {};
    // One value has no segment to fit: it is a constant.
    if (n == 1)
        return {{0.0f, 0.0f, 0.0f, v[0]}};
    // The end derivatives D solve the tridiagonal system (2, 4, ..., 4, 2; 1)
    // with right-hand side b, by Cholesky factorisation L L^T.
    std::vector<double> b(n);
    b[0] = 3.0 * (static_cast<double>(v[1]) - v[0]);
    b[n - 1] = 3.0 * (static_cast<double>(v[n - 1]) - v[n - 2]);
    for (std::size_t i = 1; i + 1 < n; ++i)
        b[i] = 3.0 * (static_cast<double>(v[i + 1]) - v[i - 1]);
    std::vector<double> l(n);
    std::vector<double> m(n);
    l[0] = std::sqrt(2.0);
    m[0] = 1.0 / l[0];
    for (std::size_t k = 1; k + 1 < n; ++k) {
        l[k] = std::sqrt(4.0 - m[k - 1] * m[k - 1]);
        m[k] = 1.0 / l[k];
    }
    l[n - 1] = std::sqrt(2.0 - m[n - 2] * m[n - 2]);
    std::vector<double> y(n);
    y[0] = b[0] / l[0];
    for (std::size_t i = 1; i < n; ++i)
        y[i] = (b[i] - y[i - 1] * m[i - 1]) / l[i];
    std::vector<double> d(n);
    d[n - 1] = y[n - 1] / l[n - 1];
    for (std::size_t i = n - 1; i-- > 0;)
        d[i] = (y[i] - d[i + 1] * m[i]) / l[i];

    TCoefficients segments(n - 1);
    for (std::size_t j = 0; j + 1 < n; ++j) {
        const double step = static_cast<double>(v[j + 1]) - v[j];
        const double c = 3.0 * step - 2.0 * d[j] - d[j + 1];
        const double e = -2.0 * step + d[j] + d[j + 1];
        const double s = static_cast<double>(j);
        // The segment's cubic in u = t - j, expanded in t.
        segments[j] = {static_cast<float>(e), static_cast<float>(c - 3.0 * s * e),
                       static_cast<float>((3.0 * s * e - 2.0 * c) * s + d[j]),
                       static_cast<float>(((c - s * e) * s - d[j]) * s + v[j])};
    }
    return segments;
}

float TCubicSpline::Evaluate(const TCoefficients& segments, float t)
{
    if (segments.empty())
        return 0.0f;
    const int last = static_cast<int>(segments.size()) - 1;
    int j = 0;
    if (t > static_cast<float>(last + 1))
        j = last;
    else if (t > 0.0f)
        j = std::min(static_cast<int>(t), last);
    const auto& k = segments[static_cast<std::size_t>(j)];
    const double s = t;
    return static_cast<float>(((k[0] * s + k[1]) * s + k[2]) * s + k[3]);
}
