#include "app/PageSet.h"

#include <algorithm>

namespace {

TPageSetView Hidden(TStatusChange status)
{
    TPageSetView view;
    view.Status = status;
    return view;
}

TPageSetView Shown(std::vector<int> pages)
{
    TPageSetView view;
    view.StatusPage = pages.front();
    view.Pages = std::move(pages);
    view.ControlVisible = true;
    view.Status = TStatusChange::PageText;
    return view;
}

} // namespace

bool IsPageIndex(int page)
{
    return page >= 0 && page < kPageCount;
}

std::optional<TPageSetView> TPageSet::Show(std::span<const int> list)
{
    if (list.empty())
        return std::nullopt;
    if (list.front() == kPagesHide) {
        SavedCount = 0;
        return Hidden(TStatusChange::Clear);
    }
    if (list.front() == kPagesRestore) {
        if (SavedCount == 0)
            return Hidden(TStatusChange::Keep);
        const std::span<const int> saved = Saved();
        return Shown(std::vector<int>(saved.begin(), saved.end()));
    }
    std::vector<int> pages;
    std::copy_if(list.begin(), list.end(), std::back_inserter(pages), IsPageIndex);
    if (pages.empty())
        return std::nullopt;
    SavedCount = std::min(pages.size(), kMaxSavedPages);
    std::copy_n(pages.begin(), SavedCount, SavedPages.begin());
    return Shown(std::move(pages));
}

std::optional<TPageSetView> TPageSet::ShowOne(int page)
{
    if (page == kPagesHide)
        return Hidden(TStatusChange::Clear);
    if (!IsPageIndex(page))
        return std::nullopt;
    return Shown({page});
}
