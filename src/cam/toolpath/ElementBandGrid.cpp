#include "cam/toolpath/ElementBandGrid.h"

#include <utility>

TElementBandGrid::TElementBandGrid(const std::vector<TElementBox>& extents, const TChain& elements, double straightRoom)
{
    TElementBox all = extents.front();
    for (const TElementBox& box : extents)
        all = {std::min(all.MinX, box.MinX), std::min(all.MinY, box.MinY), std::max(all.MaxX, box.MaxX),
               std::max(all.MaxY, box.MaxY)};
    const double width = all.MaxX - all.MinX;
    const double height = all.MaxY - all.MinY;
    // About one cell an element, but no larger than twice an average
    // element, so that short elements along a long outline do not crowd
    // into few cells; and at most about four cells an element, since
    // clearing and filling the grid must not cost more than it saves.
    double totalLength = 0.0;
    for (const TChainElement& e : elements)
        totalLength += std::abs(e.X2 - e.X1) + std::abs(e.Y2 - e.Y1);
    const double span = std::max({width, height, 1e-9});
    const double perElement = span / std::ceil(std::sqrt(static_cast<double>(extents.size())));
    const double averageElement = totalLength / static_cast<double>(elements.size());
    const double fewestCells = span / std::min(1024.0, std::ceil(2.0 * std::sqrt(static_cast<double>(elements.size()))));
    CellSize = std::max(fewestCells, std::min(perElement, 2.0 * averageElement));
    const int side = static_cast<int>(std::ceil(span / CellSize));
    MinX = all.MinX;
    MinY = all.MinY;
    Columns = std::clamp(static_cast<int>(width / CellSize) + 1, 1, side + 1);
    Rows = std::clamp(static_cast<int>(height / CellSize) + 1, 1, side + 1);
    const std::size_t cells = static_cast<std::size_t>(Columns) * static_cast<std::size_t>(Rows);
    CellStamp.assign(cells, 0);
    std::vector<std::pair<int, int>> filed;
    for (std::size_t k = 0; k < elements.size(); ++k) {
        const int element = static_cast<int>(k);
        ++Stamp;
        ForCells(elements[k], extents[k], straightRoom, [&](int cell) {
            if (CellStamp[cell] == Stamp)
                return;
            CellStamp[cell] = Stamp;
            filed.emplace_back(cell, element);
        });
    }
    CellStart.assign(cells + 1, 0);
    for (const auto& [cell, element] : filed)
        ++CellStart[cell + 1];
    for (std::size_t c = 0; c < cells; ++c)
        CellStart[c + 1] += CellStart[c];
    CellItems.resize(filed.size());
    std::vector<int> fill(CellStart.begin(), CellStart.end() - 1);
    for (const auto& [cell, element] : filed)
        CellItems[fill[cell]++] = element;
    ItemStamp.assign(elements.size(), 0);
    std::fill(CellStamp.begin(), CellStamp.end(), 0);
    Stamp = 0;
}
