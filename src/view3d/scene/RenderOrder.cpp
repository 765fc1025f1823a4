#include "view3d/scene/RenderOrder.h"

#include <algorithm>

namespace {

struct TKeyed {
    float Key;
    int Index;
};

} // namespace

std::vector<int> ChildRenderOrder(TGLObjectsSorting sorting, std::span<const TRenderCandidate> candidates)
{
    std::vector<int> order;
    order.reserve(candidates.size());
    std::vector<TKeyed> collected;
    for (const TRenderCandidate& candidate : candidates) {
        switch (sorting) {
        case TGLObjectsSorting::osRenderBlendedLast:
            if (candidate.Blended)
                collected.push_back({candidate.SquaredDistance + 1.0f, candidate.Index});
            else
                order.push_back(candidate.Index);
            break;
        case TGLObjectsSorting::osRenderFarthestFirst:
            collected.push_back({candidate.SquaredDistance + 1.0f, candidate.Index});
            break;
        case TGLObjectsSorting::osRenderNearestFirst:
            collected.push_back({-1.0f - candidate.SquaredDistance, candidate.Index});
            break;
        case TGLObjectsSorting::osInherited:
        case TGLObjectsSorting::osNone:
            order.push_back(candidate.Index);
            break;
        }
    }
    // Ascending keys, drawn from the last: the largest key comes first.
    std::stable_sort(collected.begin(), collected.end(),
                     [](const TKeyed& a, const TKeyed& b) { return a.Key < b.Key; });
    for (auto item = collected.rbegin(); item != collected.rend(); ++item)
        order.push_back(item->Index);
    return order;
}
