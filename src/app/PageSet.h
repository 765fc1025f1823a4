#pragma once

// Which option pages of the main window are shown. Commands name their pages
// by index; a set that names pages is remembered, so that a nested command
// can close its own page and bring back the set that was open before.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

inline constexpr int kPageCount = 47;
inline constexpr int kPagesRestore = 998;  // as the first index: show the remembered set again
inline constexpr int kPagesHide = 999;     // as the first index: hide the page control
inline constexpr std::size_t kMaxSavedPages = 10;

bool IsPageIndex(int page);

enum class TStatusChange { Keep, Clear, PageText };

// What the main window must show after a change of the page set.
struct TPageSetView {
    std::vector<int> Pages;  // pages shown, in list order; the first is the active one
    bool ControlVisible = false;
    TStatusChange Status = TStatusChange::Keep;
    int StatusPage = -1;  // with TStatusChange::PageText, the page whose status text is shown

    bool operator==(const TPageSetView&) const = default;
};

class TPageSet {
public:
    // A list that starts with 999 hides every page and forgets the set; one
    // that starts with 998 shows the remembered set (with none remembered the
    // page control stays hidden and the status line is left alone); any other
    // list is shown and remembered. Indices that are no page are skipped; a
    // list left without a page changes nothing and gives none. Only the first
    // kMaxSavedPages pages of a list are remembered.
    std::optional<TPageSetView> Show(std::span<const int> list);

    // One page, or 999 to hide them all, without touching the remembered set.
    static std::optional<TPageSetView> ShowOne(int page);

    std::span<const int> Saved() const { return {SavedPages.data(), SavedCount}; }

private:
    std::array<int, kMaxSavedPages> SavedPages{};
    std::size_t SavedCount = 0;
};
