#pragma once

// Small helpers over the CAM routines' lists whose elements need no
// direction of their own: point lists, pocket rings, and records ranked by a
// single-precision key.

#include <algorithm>
#include <vector>

// Reverses only the order of the list; unlike ReverseChain it leaves every
// element as it is.
template <typename Item>
void ReverseListOrder(std::vector<Item>& list)
{
    std::reverse(list.begin(), list.end());
}

// The index of the record with the largest key (the record's first field,
// named by the caller); the first of equal keys wins. -1 for an empty list,
// and when no key rises above the starting value of -9999.
template <typename Record>
int IndexOfLargestFirst(const std::vector<Record>& list, float Record::*key)
{
    float largest = -9999.0f;
    int index = -1;
    for (std::size_t k = 0; k < list.size(); ++k) {
        if (list[k].*key > largest) {
            largest = list[k].*key;
            index = static_cast<int>(k);
        }
    }
    return index;
}

// The same for the smallest key, starting from 9999.
template <typename Record>
int IndexOfSmallestFirst(const std::vector<Record>& list, float Record::*key)
{
    float smallest = 9999.0f;
    int index = -1;
    for (std::size_t k = 0; k < list.size(); ++k) {
        if (list[k].*key < smallest) {
            smallest = list[k].*key;
            index = static_cast<int>(k);
        }
    }
    return index;
}
