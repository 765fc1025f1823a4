#pragma once

// A grid of buckets over the boxes of a drawing's objects, so that a view
// showing a small part of a large drawing visits only the objects near it.
// It is a cache of the object list: it is made on first use and made again
// whenever an object was linked or unlinked, or any object's box changed,
// since it was made. An object is visible where its box overlaps the view,
// so the objects the grid gives are all that can be visible there; the
// caller still tests each one.

#include <cstdint>
#include <vector>

#include "cad/geometry/CADBaseTypes.h"

class TGraphicObjList;
class TObject2D;

class TObjectGrid {
public:
    // The 2D objects of the list whose box may overlap the rectangle, in list
    // order, replacing what `out` held. The list must not be held by an
    // exclusive iterator.
    void ObjectsNear(TGraphicObjList& list, const TRect2D& rect, std::vector<TObject2D*>& out);

private:
    bool Current(const TGraphicObjList& list) const;
    void Build(TGraphicObjList& list);
    // The cell column or row of a coordinate, clamped to the grid.
    int Column(float x) const;
    int Row(float y) const;

    bool Built = false;
    std::uint64_t ListChanges = 0;
    std::uint64_t BoxChanges = 0;
    // The objects in list order; cells and marks hold indices into it.
    std::vector<TObject2D*> Ordered;
    // Objects in no cell: boxes that are not finite or span too many cells.
    std::vector<std::uint32_t> Everywhere;
    // Cell c holds Items[Starts[c]] up to Items[Starts[c + 1]].
    std::vector<std::uint32_t> Starts;
    std::vector<std::uint32_t> Items;
    std::vector<std::uint64_t> Marks;
    TRect2D Bounds;
    float CellWidth = 1.0f;
    float CellHeight = 1.0f;
    int Columns = 0;
    int Rows = 0;
};
