#include <vector>

#include <gtest/gtest.h>

#include "support/ElementExpect.h"
#include "cam/toolpath/ListHelpers.h"

namespace {

struct TRanked {
    float Key;
    int Tag;
};

} // namespace

TEST(ListHelpers, ReverseListOrderKeepsEveryElementAsItIs)
{
    TChain list{Line(0, 0, 1, 0), Arc(1, 0, 1, 2, 1.0)};
    list[1].Reserved = 5;
    ReverseListOrder(list);
    ExpectElements(list, {{1, 0, 1, 2, 1.0}, {0, 0, 1, 0, 0}});
    EXPECT_EQ(list[0].Reserved, 5);

    TPointList points{{0, 0}, {1, 1}, {2, 0}};
    ReverseListOrder(points);
    EXPECT_EQ(points[0].X, 2.0);
    EXPECT_EQ(points[2].X, 0.0);
}

TEST(ListHelpers, IndexOfLargestAndSmallestKeyKeepTheFirstOfEqualKeys)
{
    struct TCase {
        const char* Name;
        std::vector<TRanked> List;
        int Largest;
        int Smallest;
    };
    const TCase cases[] = {
        {"empty", {}, -1, -1},
        {"one", {{3.5f, 0}}, 0, 0},
        {"ties", {{1.0f, 0}, {4.0f, 1}, {-2.0f, 2}, {4.0f, 3}, {-2.0f, 4}}, 1, 2},
        {"beyond the starting values", {{-10000.0f, 0}, {10000.0f, 1}}, 1, 0},
        {"nothing above -9999", {{-9999.0f, 0}, {-9999.5f, 1}}, -1, 1},
        {"nothing below 9999", {{9999.0f, 0}, {12000.0f, 1}}, 1, -1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(IndexOfLargestFirst(c.List, &TRanked::Key), c.Largest);
        EXPECT_EQ(IndexOfSmallestFirst(c.List, &TRanked::Key), c.Smallest);
    }
}
