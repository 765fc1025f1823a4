#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "cad/geometry/VectorHelpers.h"
#include "cam/toolpath/PointGrid.h"

// Points equal to a query within the tolerance lie in its cell or a
// neighbour; the ones that matter are those near where cells meet, on
// either side, and far from the origin where the cells are coarse in
// relation to the numbers.
TEST(PointGrid, FindsEveryPointEqualToTheQueryWhereCellsMeet)
{
    const double tolerance = 0.00005;
    std::mt19937 random(3);
    std::uniform_int_distribution<int> border(-400000, 400000);
    std::uniform_real_distribution<double> near(-1.5 * tolerance, 1.5 * tolerance);
    std::uniform_real_distribution<double> within(-1.02 * tolerance, 1.02 * tolerance);
    const double scales[] = {1.0, 1.0, 300.0, 2.5e5, 1.2e8};
    int equal = 0;
    for (int n = 0; n < 20000; ++n) {
        const double scale = scales[n % 5];
        const TVect query{border(random) * 0.001 * scale + near(random), border(random) * 0.001 * scale + near(random)};
        TPointGrid grid;
        std::vector<TVect> points;
        for (int k = 0; k < 12; ++k) {
            points.push_back({query.X + within(random), query.Y + within(random)});
            grid.Add(points.back());
        }
        std::vector<char> seen(points.size(), 0);
        grid.ForEachNear(query, [&](std::uint32_t id) { seen[id] = 1; });
        for (std::size_t k = 0; k < points.size(); ++k) {
            if (EqualPoints(points[k], query)) {
                ++equal;
                ASSERT_TRUE(seen[k]) << n << ": " << points[k].X << "," << points[k].Y;
            }
        }
    }
    EXPECT_GT(equal, 100000);
}
