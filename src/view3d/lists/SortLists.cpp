#include "view3d/lists/SortLists.h"

#include <utility>

namespace {

void Swap(std::span<float> keys, TPersistentObjectList& objects, int i, int j)
{
    std::swap(keys[static_cast<std::size_t>(i)], keys[static_cast<std::size_t>(j)]);
    objects.Exchange(i, j);
}

} // namespace

void QuickSortLists(int first, int last, TSingleList& keys, TPersistentObjectList& objects)
{
    if (keys.Count() != objects.Count() || first < 0 || last >= keys.Count())
        throw EListError(InvalidListIndexText);
    const std::span<float> key = keys.Items();
    while (first < last) {
        if (last - first == 1) {
            if (key[static_cast<std::size_t>(first)] > key[static_cast<std::size_t>(last)])
                Swap(key, objects, first, last);
            return;
        }
        const float pivot = key[static_cast<std::size_t>(first + (last - first) / 2)];
        int i = first;
        int j = last;
        while (i <= j) {
            while (key[static_cast<std::size_t>(i)] < pivot)
                ++i;
            while (key[static_cast<std::size_t>(j)] > pivot)
                --j;
            if (i <= j) {
                if (i != j)
                    Swap(key, objects, i, j);
                ++i;
                --j;
            }
        }
        // The smaller side recursively, the larger in this loop: the stack stays shallow.
        if (j - first < last - i) {
            QuickSortLists(first, j, keys, objects);
            first = i;
        } else {
            QuickSortLists(i, last, keys, objects);
            last = j;
        }
    }
}
