#include "view3d/maths/Polynomials.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

// A discriminant that is zero in exact arithmetic comes out as a few units of
// rounding of the terms it was made from, with either sign: read as zero, a
// double root (a ray grazing a surface) is neither lost nor split in two.
constexpr double RoundingTolerance = 64 * std::numeric_limits<double>::epsilon();

bool IsNegligible(double value, double scale)
{
    return std::fabs(value) <= RoundingTolerance * scale;
}

double Evaluate(std::span<const double> c, double x)
{
    double sum = 0.0;
    for (auto i = c.size(); i-- > 0;)
        sum = sum * x + c[i];
    return sum;
}

double EvaluateDerivative(std::span<const double> c, double x)
{
    double sum = 0.0;
    for (auto i = c.size(); i-- > 1;)
        sum = sum * x + static_cast<double>(i) * c[i];
    return sum;
}

// Cardano and Ferrari lose digits in their subtractions; Newton steps on the
// original equation win them back. A step is kept only when it lowers the
// residual, so a double root (zero derivative) stays where it is.
void Polish(std::span<const double> c, std::vector<double>& roots)
{
    for (double& x : roots) {
        for (int step = 0; step < 4; ++step) {
            const double f = Evaluate(c, x);
            const double slope = EvaluateDerivative(c, x);
            if (f == 0.0 || slope == 0.0)
                break;
            const double next = x - f / slope;
            if (!std::isfinite(next) || std::fabs(Evaluate(c, next)) >= std::fabs(f))
                break;
            x = next;
        }
    }
}

} // namespace

bool IsZero(double x)
{
    return std::fabs(x) <= 1e-40;
}

std::vector<double> SolveQuadric(std::span<const double, 3> c)
{
    if (IsZero(c[2])) {
        if (IsZero(c[1]))
            return {};
        return {-c[0] / c[1]};
    }
    const double a = c[1] / (2 * c[2]);
    const double b = c[0] / c[2];
    const double d = a * a - b;
    if (IsNegligible(d, std::max(a * a, std::fabs(b))))
        return {-a};
    if (d < 0)
        return {};
    const double root = std::sqrt(d);
    return {root - a, -root - a};
}

std::vector<double> SolveCubic(std::span<const double, 4> c)
{
    if (IsZero(c[3]))
        return SolveQuadric(c.first<3>());
    // x^3 + A x^2 + B x + C = 0, then x = y - A/3 gives y^3 + 3 p y + 2 q = 0.
    const double A = c[2] / c[3];
    const double B = c[1] / c[3];
    const double C = c[0] / c[3];
    const double squareA = A * A;
    const double p = (-squareA / 3 + B) / 3;
    const double q = (2.0 / 27 * A * squareA - A * B / 3 + C) / 2;
    const double cubeP = p * p * p;
    const double d = q * q + cubeP;
    std::vector<double> roots;
    if (IsNegligible(d, q * q + std::fabs(cubeP))) {
        if (IsNegligible(q * q, std::fabs(cubeP)) || q == 0.0) {
            roots = {0.0};
        } else {
            const double u = std::cbrt(-q);
            roots = {2 * u, -u};
        }
    } else if (d < 0) {
        const double phi = std::acos(std::clamp(-q / std::sqrt(-cubeP), -1.0, 1.0)) / 3;
        const double t = 2 * std::sqrt(-p);
        roots = {t * std::cos(phi), -t * std::cos(phi + std::numbers::pi / 3), -t * std::cos(phi - std::numbers::pi / 3)};
    } else {
        const double root = std::sqrt(d);
        roots = {std::cbrt(root - q) - std::cbrt(root + q)};
    }
    for (double& x : roots)
        x -= A / 3;
    Polish(c, roots);
    return roots;
}

std::vector<double> SolveQuartic(std::span<const double, 5> c)
{
    if (IsZero(c[4]))
        return SolveCubic(c.first<4>());
    // x^4 + A x^3 + B x^2 + C x + D = 0, then x = y - A/4 gives
    // y^4 + p y^2 + q y + r = 0.
    const double A = c[3] / c[4];
    const double B = c[2] / c[4];
    const double C = c[1] / c[4];
    const double D = c[0] / c[4];
    const double squareA = A * A;
    const double p = -3.0 / 8 * squareA + B;
    const double q = 1.0 / 8 * squareA * A - 1.0 / 2 * A * B + C;
    const double r = -3.0 / 256 * squareA * squareA + 1.0 / 16 * squareA * B - 1.0 / 4 * A * C + D;
    std::vector<double> roots;
    if (IsZero(r)) {
        const double reduced[4] = {q, p, 0, 1};
        roots = SolveCubic(reduced);
        roots.push_back(0.0);
    } else {
        // (y^2 + z)^2 = (2z - p) y^2 - q y + (z^2 - r): the right side is a
        // square for a root z of the resolvent; its largest root keeps both
        // factors below non-negative.
        const double resolvent[4] = {r * p / 2 - q * q / 8, -r, -p / 2, 1};
        const std::vector<double> zs = SolveCubic(resolvent);
        const double z = *std::max_element(zs.begin(), zs.end());
        double u = z * z - r;
        double v = 2 * z - p;
        if (IsNegligible(u, z * z + std::fabs(r)))
            u = 0;
        else if (u < 0)
            return {};
        if (IsNegligible(v, 2 * std::fabs(z) + std::fabs(p)))
            v = 0;
        else if (v < 0)
            return {};
        u = std::sqrt(u);
        v = std::sqrt(v);
        const double first[3] = {z - u, q < 0 ? -v : v, 1};
        const double second[3] = {z + u, q < 0 ? v : -v, 1};
        roots = SolveQuadric(first);
        const std::vector<double> more = SolveQuadric(second);
        roots.insert(roots.end(), more.begin(), more.end());
    }
    for (double& x : roots)
        x -= A / 4;
    Polish(c, roots);
    return roots;
}

bool MinPositiveCoef(const std::vector<double>& roots, double& result)
{
    bool found = false;
    for (const double x : roots) {
        if (x >= 0 && (!found || x < result)) {
            result = x;
            found = true;
        }
    }
    return found;
}
