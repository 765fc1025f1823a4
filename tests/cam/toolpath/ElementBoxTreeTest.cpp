#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "support/ElementExpect.h"
#include "cam/toolpath/ElementBoxTree.h"

TEST(ElementBoxTree, BoxesOfArcsIncludeTheExtremesTheyPass)
{
    struct TCase {
        TChainElement Element;
        TElementBox Box;
    };
    const TCase cases[] = {
        {Line(3, 1, -2, 4), {-2, 1, 3, 4}},
        {Arc(1, 0, 0, 1, BulgeOfSweepDegrees(90)), {0, 0, 1, 1}},
        {Arc(1, 0, 0, -1, -BulgeOfSweepDegrees(90)), {0, -1, 1, 0}},
        {Arc(1, 0, 0, -1, BulgeOfSweepDegrees(270)), {-1, -1, 1, 1}},
        {Arc(0, 1, 0, -1, 1.0), {-1, -1, 0, 1}},
    };
    for (const TCase& c : cases) {
        const TElementBox box = ElementBox(c.Element);
        EXPECT_NEAR(box.MinX, c.Box.MinX, 1e-12);
        EXPECT_NEAR(box.MinY, c.Box.MinY, 1e-12);
        EXPECT_NEAR(box.MaxX, c.Box.MaxX, 1e-12);
        EXPECT_NEAR(box.MaxY, c.Box.MaxY, 1e-12);
    }
}

TEST(ElementBoxTree, FindsExactlyTheOverlappingBoxes)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> position(0.0, 100.0);
    std::uniform_real_distribution<double> size(0.0, 6.0);
    std::vector<TElementBox> boxes;
    for (int k = 0; k < 1000; ++k) {
        const double x = position(random);
        const double y = position(random);
        boxes.push_back({x, y, x + size(random), y + size(random)});
    }
    boxes.push_back({0, 50, 100, 50.5}); // one long box across the others
    const TElementBoxTree tree(boxes);
    for (int q = 0; q < 200; ++q) {
        const double x = position(random);
        const double y = position(random);
        const TElementBox query{x, y, x + 3 * size(random), y + size(random)};
        std::vector<int> found;
        tree.Query(query, [&](int index) { found.push_back(index); });
        std::sort(found.begin(), found.end());
        std::vector<int> expected;
        for (std::size_t k = 0; k < boxes.size(); ++k) {
            if (BoxesOverlap(boxes[k], query))
                expected.push_back(static_cast<int>(k));
        }
        EXPECT_EQ(found, expected);

        const TVect point{x, y};
        const double reach = size(random);
        std::vector<int> near;
        EXPECT_FALSE(tree.AnyWithin(point, reach, [&](int index) {
            near.push_back(index);
            return false;
        }));
        std::sort(near.begin(), near.end());
        std::vector<int> expectedNear;
        for (std::size_t k = 0; k < boxes.size(); ++k) {
            if (SquaredDistanceToBox(boxes[k], point) <= reach * reach)
                expectedNear.push_back(static_cast<int>(k));
        }
        EXPECT_EQ(near, expectedNear);
        int tests = 0;
        EXPECT_EQ(tree.AnyWithin(point, reach, [&](int) { return ++tests == 1; }), !expectedNear.empty());
        EXPECT_LE(tests, 1);
    }
    const TElementBoxTree empty({});
    int visits = 0;
    empty.Query({0, 0, 1, 1}, [&](int) { ++visits; });
    EXPECT_EQ(visits, 0);
}
