#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "view3d/maths/Polynomials.h"

namespace {

// Coefficients c[0] .. c[n] of lead * (x - r1)(x - r2)..., each complex pair
// given as a real quadratic factor x^2 + s x + t.
struct Equation {
    std::string Name;
    double Lead;
    std::vector<double> Roots;
    std::vector<std::pair<double, double>> NoRealFactors;
    // The expected real roots, each distinct value once.
    std::vector<double> Expected;
    double Tolerance;
};

std::vector<double> Multiply(const std::vector<double>& a, const std::vector<double>& b)
{
    std::vector<double> product(a.size() + b.size() - 1, 0.0);
    for (size_t i = 0; i < a.size(); ++i)
        for (size_t j = 0; j < b.size(); ++j)
            product[i + j] += a[i] * b[j];
    return product;
}

std::vector<double> Coefficients(const Equation& e)
{
    std::vector<double> c = {e.Lead};
    for (const double root : e.Roots)
        c = Multiply(c, {-root, 1});
    for (const auto& [s, t] : e.NoRealFactors)
        c = Multiply(c, {t, s, 1});
    return c;
}

std::vector<double> Solve(std::vector<double> c, size_t degree)
{
    // A lower-degree equation is padded with zero leading coefficients.
    c.resize(degree + 1, 0.0);
    if (degree == 2)
        return SolveQuadric(std::span<const double, 3>(c.data(), 3));
    if (degree == 3)
        return SolveCubic(std::span<const double, 4>(c.data(), 4));
    return SolveQuartic(std::span<const double, 5>(c.data(), 5));
}

void ExpectSameRoots(const std::vector<double>& found, const Equation& e, const std::string& label)
{
    for (const double want : e.Expected) {
        bool hit = false;
        for (const double x : found)
            hit = hit || std::fabs(x - want) <= e.Tolerance;
        EXPECT_TRUE(hit) << label << ": root " << want << " missing";
    }
    for (const double x : found) {
        bool known = false;
        for (const double want : e.Expected)
            known = known || std::fabs(x - want) <= e.Tolerance;
        EXPECT_TRUE(known) << label << ": stray root " << x;
    }
}

TEST(Polynomials, SolversFindRootsKnownByConstruction)
{
    const struct {
        size_t Degree;
        Equation E;
    } cases[] = {
        {2, {"x^2 - 1", 1, {1, -1}, {}, {1, -1}, 1e-12}},
        {2, {"double root 3", 1, {3, 3}, {}, {3}, 1e-12}},
        {2, {"double root 0.1, not exact in binary", 1, {0.1, 0.1}, {}, {0.1}, 1e-9}},
        {2, {"double root 0.3 times 7", 7, {0.3, 0.3}, {}, {0.3}, 1e-9}},
        {2, {"near-double 1 and 1 + 1e-6", 1, {1, 1 + 1e-6}, {}, {1, 1 + 1e-6}, 1e-9}},
        {2, {"no real root", 1, {}, {{0, 1}}, {}, 0}},
        {2, {"tiny leading coefficient", 1e-3, {-2, 5}, {}, {-2, 5}, 1e-12}},
        {2, {"linear: zero leading coefficient", 2, {2}, {}, {2}, 1e-12}},
        {2, {"constant: no root", 5, {}, {}, {}, 0}},
        {3, {"three simple roots", 1, {1, 2, 3}, {}, {1, 2, 3}, 1e-12}},
        {3, {"double root and simple root", 2, {1, 1, 2}, {}, {1, 2}, 1e-9}},
        {3, {"double root 0.7 and -0.2", 1, {0.7, 0.7, -0.2}, {}, {0.7, -0.2}, 1e-7}},
        {3, {"triple root", 1, {2, 2, 2}, {}, {2}, 1e-9}},
        {3, {"one real root and a complex pair", 1, {1}, {{0, 1}}, {1}, 1e-12}},
        {3, {"near-double 1 and 1 + 1e-5", 1, {1, 1 + 1e-5, -2}, {}, {1, 1 + 1e-5, -2}, 1e-8}},
        {3, {"quadratic: zero leading coefficient", 1, {4, -1}, {}, {4, -1}, 1e-12}},
        {4, {"(x-1)(x-2)(x-3)(x-4)", 1, {1, 2, 3, 4}, {}, {1, 2, 3, 4}, 1e-9}},
        {4, {"two complex pairs", 1, {}, {{0, 1}, {2, 5}}, {}, 0}},
        {4, {"double root and two simple", 3, {1, 1, 3, -2}, {}, {1, 3, -2}, 1e-7}},
        {4, {"two double roots", 1, {2, 2, -1, -1}, {}, {2, -1}, 1e-7}},
        {4, {"reduced constant term zero adds root 0", 1, {0, 0, 1, -1}, {}, {0, 1, -1}, 1e-9}},
        {4, {"root at the mean, reduced constant zero", 1, {0, 1, 2, -3}, {}, {0, 1, 2, -3}, 1e-9}},
        {4, {"near-double 1 and 1 + 1e-4", 1, {1, 1 + 1e-4, -1, 5}, {}, {1, 1 + 1e-4, -1, 5}, 1e-7}},
        {4, {"two real roots and a complex pair", 1, {-0.5, 2.5}, {{1, 1}}, {-0.5, 2.5}, 1e-9}},
        {4, {"cubic: zero leading coefficient", 1, {1, 2, 3}, {}, {1, 2, 3}, 1e-12}},
    };
    for (const auto& c : cases)
        ExpectSameRoots(Solve(Coefficients(c.E), c.Degree), c.E, c.E.Name);
}

TEST(Polynomials, MinPositiveCoefTakesTheSmallestNonNegativeRoot)
{
    const struct {
        std::vector<double> Roots;
        bool Found;
        double Result;
    } cases[] = {{{-1, 2, 0.5}, true, 0.5}, {{3, 0}, true, 0}, {{-1, -0.1}, false, 0}, {{}, false, 0}};
    for (const auto& c : cases) {
        double result = 0;
        EXPECT_EQ(MinPositiveCoef(c.Roots, result), c.Found);
        if (c.Found) {
            EXPECT_EQ(result, c.Result);
        }
    }
}

} // namespace
