#include "cad/drawing/ObjectGrid.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "cad/geometry/Geometry2D.h"
#include "cad/model/GraphicObjList.h"
#include "cad/model/GraphicObject.h"

namespace {

// About this many objects share a cell in an even drawing.
constexpr std::size_t ObjectsPerCell = 4;
constexpr std::size_t MostCells = std::size_t{1} << 20;
// A box over more cells than this is cheaper to test on every query than to file.
constexpr long long MostCellsPerObject = 256;

bool FiniteBox(const TRect2D& box)
{
    return std::isfinite(box.FirstEdge.X) && std::isfinite(box.FirstEdge.Y) && std::isfinite(box.SecondEdge.X) &&
           std::isfinite(box.SecondEdge.Y);
}

int Clamped(float cell, int count)
{
    if (!(cell > 0.0f))
        return 0;
    if (cell >= static_cast<float>(count))
        return count - 1;
    return static_cast<int>(cell);
}

} // namespace

bool TObjectGrid::Current(const TGraphicObjList& list) const
{
    return Built && ListChanges == list.Changes() && BoxChanges == TObject2D::BoxChanges();
}

int TObjectGrid::Column(float x) const
{
    return Clamped(std::floor((x - Bounds.FirstEdge.X) / CellWidth), Columns);
}

int TObjectGrid::Row(float y) const
{
    return Clamped(std::floor((y - Bounds.FirstEdge.Y) / CellHeight), Rows);
}

void TObjectGrid::Build(TGraphicObjList& list)
{
    Ordered.clear();
    Everywhere.clear();
    std::vector<TRect2D> boxes;
    {
        std::unique_ptr<TGraphicObjIterator> iterator = list.GetIterator();
        Ordered.reserve(static_cast<std::size_t>(iterator->Count()));
        boxes.reserve(static_cast<std::size_t>(iterator->Count()));
        for (TGraphicObject* object = iterator->First(); object; object = iterator->Next())
            if (auto* object2D = dynamic_cast<TObject2D*>(object)) {
                Ordered.push_back(object2D);
                boxes.push_back(NormalizeBox2D(object2D->Box));
            }
    }
    // A box that is not finite may overlap anything.
    bool any = false;
    for (std::uint32_t i = 0; i < boxes.size(); ++i) {
        if (!FiniteBox(boxes[i])) {
            Everywhere.push_back(i);
            continue;
        }
        Bounds = any ? UnionBox2D(Bounds, boxes[i]) : boxes[i];
        any = true;
    }
    if (!any)
        Bounds = MakeRect2D(0, 0, 0, 0);

    // Cells about as wide as they are high, about ObjectsPerCell objects to a cell.
    const double width = static_cast<double>(Bounds.SecondEdge.X) - Bounds.FirstEdge.X;
    const double height = static_cast<double>(Bounds.SecondEdge.Y) - Bounds.FirstEdge.Y;
    const double cells = static_cast<double>(std::clamp(boxes.size() / ObjectsPerCell, std::size_t{1}, MostCells));
    const double side = width > 0 && height > 0 ? std::sqrt(width * height / cells) : std::max(width, height) / cells;
    Columns = side > 0 ? static_cast<int>(std::clamp(std::ceil(width / side), 1.0, cells)) : 1;
    Rows = side > 0 ? static_cast<int>(std::clamp(std::ceil(height / side), 1.0, cells)) : 1;
    CellWidth = width > 0 ? static_cast<float>(width / Columns) : 1.0f;
    CellHeight = height > 0 ? static_cast<float>(height / Rows) : 1.0f;

    // Two passes over the boxes: count per cell, then file.
    const std::size_t cellCount = static_cast<std::size_t>(Columns) * static_cast<std::size_t>(Rows);
    Starts.assign(cellCount + 1, 0);
    std::vector<int> spans(boxes.size() * 4, -1);
    for (std::uint32_t i = 0; i < boxes.size(); ++i) {
        if (!FiniteBox(boxes[i]))
            continue;
        const int c0 = Column(boxes[i].FirstEdge.X), c1 = Column(boxes[i].SecondEdge.X);
        const int r0 = Row(boxes[i].FirstEdge.Y), r1 = Row(boxes[i].SecondEdge.Y);
        if (static_cast<long long>(c1 - c0 + 1) * (r1 - r0 + 1) > MostCellsPerObject) {
            Everywhere.push_back(i);
            continue;
        }
        int* span = &spans[std::size_t{i} * 4];
        span[0] = c0, span[1] = c1, span[2] = r0, span[3] = r1;
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                ++Starts[static_cast<std::size_t>(r) * Columns + c + 1];
    }
    for (std::size_t c = 0; c < cellCount; ++c)
        Starts[c + 1] += Starts[c];
    Items.resize(Starts[cellCount]);
    std::vector<std::uint32_t> fill(Starts.begin(), Starts.end() - 1);
    for (std::uint32_t i = 0; i < boxes.size(); ++i) {
        const int* span = &spans[std::size_t{i} * 4];
        if (span[0] < 0)
            continue;
        for (int r = span[2]; r <= span[3]; ++r)
            for (int c = span[0]; c <= span[1]; ++c)
                Items[fill[static_cast<std::size_t>(r) * Columns + c]++] = i;
    }
    Marks.assign((Ordered.size() + 63) / 64, 0);
    ListChanges = list.Changes();
    BoxChanges = TObject2D::BoxChanges();
    Built = true;
}

void TObjectGrid::ObjectsNear(TGraphicObjList& list, const TRect2D& rect, std::vector<TObject2D*>& out)
{
    if (!Current(list))
        Build(list);
    const TRect2D area = NormalizeBox2D(rect);
    const bool coversAll = !FiniteBox(area) ||
                           (area.FirstEdge.X <= Bounds.FirstEdge.X && area.FirstEdge.Y <= Bounds.FirstEdge.Y &&
                            area.SecondEdge.X >= Bounds.SecondEdge.X && area.SecondEdge.Y >= Bounds.SecondEdge.Y);
    const int c0 = Column(area.FirstEdge.X), c1 = Column(area.SecondEdge.X);
    const int r0 = Row(area.FirstEdge.Y), r1 = Row(area.SecondEdge.Y);
    // Over half the grid, sorting out the cells costs more than it saves.
    if (coversAll || 2LL * (c1 - c0 + 1) * (r1 - r0 + 1) >= static_cast<long long>(Columns) * Rows) {
        out = Ordered;
        return;
    }
    out.clear();
    for (std::uint32_t i : Everywhere)
        Marks[i / 64] |= std::uint64_t{1} << (i % 64);
    // A rectangle beside the grid still clamps to its edge cells, which only adds candidates.
    for (int r = r0; r <= r1; ++r)
        for (std::uint32_t k = Starts[static_cast<std::size_t>(r) * Columns + c0],
                           end = Starts[static_cast<std::size_t>(r) * Columns + c1 + 1];
             k < end; ++k)
            Marks[Items[k] / 64] |= std::uint64_t{1} << (Items[k] % 64);
    // The marks give each object once, in list order, and are left cleared.
    for (std::size_t word = 0; word < Marks.size(); ++word)
        for (std::uint64_t bits = Marks[word]; bits; bits &= bits - 1)
            out.push_back(Ordered[word * 64 + static_cast<std::size_t>(std::countr_zero(bits))]);
    std::fill(Marks.begin(), Marks.end(), 0);
}
