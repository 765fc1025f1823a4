#include <gtest/gtest.h>

#include <vector>

#include "app/PageSet.h"

namespace {

std::optional<TPageSetView> Show(TPageSet& set, std::vector<int> list)
{
    return set.Show(list);
}

TPageSetView ShownView(std::vector<int> pages)
{
    TPageSetView view;
    view.StatusPage = pages.front();
    view.Pages = std::move(pages);
    view.ControlVisible = true;
    view.Status = TStatusChange::PageText;
    return view;
}

TPageSetView HiddenView(TStatusChange status)
{
    TPageSetView view;
    view.Status = status;
    return view;
}

std::vector<int> Saved(const TPageSet& set)
{
    return {set.Saved().begin(), set.Saved().end()};
}

} // namespace

TEST(PageSet, RestoreBeforeAnySetLeavesThePagesHiddenAndTheStatusAlone)
{
    TPageSet set;
    EXPECT_EQ(Show(set, {kPagesRestore}), HiddenView(TStatusChange::Keep));
    EXPECT_TRUE(Saved(set).empty());
}

TEST(PageSet, AListIsShownWithItsFirstPageActiveAndRemembered)
{
    TPageSet set;
    EXPECT_EQ(Show(set, {5, 13}), ShownView({5, 13}));
    EXPECT_EQ(Saved(set), (std::vector<int>{5, 13}));

    // A nested one-page command, then back to the set that was open.
    EXPECT_EQ(Show(set, {11}), ShownView({11}));
    EXPECT_EQ(Show(set, {kPagesRestore}), ShownView({11}));
    EXPECT_EQ(Show(set, {0, 1, 2}), ShownView({0, 1, 2}));
    EXPECT_EQ(Show(set, {kPagesRestore}), ShownView({0, 1, 2}));
}

TEST(PageSet, HideClearsTheStatusAndForgetsTheSet)
{
    TPageSet set;
    Show(set, {12});
    EXPECT_EQ(Show(set, {kPagesHide}), HiddenView(TStatusChange::Clear));
    EXPECT_TRUE(Saved(set).empty());
    EXPECT_EQ(Show(set, {kPagesRestore}), HiddenView(TStatusChange::Keep));
}

TEST(PageSet, OnlyTheFirstTenPagesAreRemembered)
{
    TPageSet set;
    const std::vector<int> twelve{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    EXPECT_EQ(Show(set, twelve), ShownView(twelve));
    EXPECT_EQ(Saved(set), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(PageSet, IndicesThatAreNoPageAreSkipped)
{
    TPageSet set;
    Show(set, {7});
    EXPECT_EQ(Show(set, {-1, 47, 5, kPagesHide, 46}), ShownView({5, 46}));
    EXPECT_EQ(Saved(set), (std::vector<int>{5, 46}));

    // A list without any page changes nothing, not even the remembered set.
    EXPECT_EQ(Show(set, {}), std::nullopt);
    EXPECT_EQ(Show(set, {47, -3}), std::nullopt);
    EXPECT_EQ(Saved(set), (std::vector<int>{5, 46}));
}

TEST(PageSet, OnePageIsShownWithoutBeingRemembered)
{
    EXPECT_EQ(TPageSet::ShowOne(8), ShownView({8}));
    EXPECT_EQ(TPageSet::ShowOne(kPagesHide), HiddenView(TStatusChange::Clear));
    EXPECT_EQ(TPageSet::ShowOne(kPagesRestore), std::nullopt);
    EXPECT_EQ(TPageSet::ShowOne(47), std::nullopt);
}
