#pragma once

// What the selection commands do to the objects picked, and the commands that
// act on the whole drawing: delete to the undelete stack and bring back,
// explode, move to a layer, simplify, the small-entity tools and mirror all.
// Plain functions on a drawing; the pages and TMySelezione call them.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "cad/geometry/CADBaseTypes.h"

class TCADCmp2D;
class TObject2D;
class TLayers;

// The undelete stack: the IDs of deleted objects, the last deleted on top.
// Deleted objects stay in the drawing, hidden, so bringing one back only
// needs its ID.
struct TDeletedEntityRec {
    std::int32_t ID = 0;
};
using TDeletedEntities = std::vector<TDeletedEntityRec>;

// Hides the object from view and from saving, and pushes its ID.
void DeleteToStack(TObject2D& object, TDeletedEntities& stack);
// Shows the last deleted object that is still in the drawing and still
// hidden; records of objects gone since (or shown again) are dropped on the
// way. An empty drawing empties the stack. False when nothing came back.
bool Undelete(TCADCmp2D& cad, TDeletedEntities& stack);

// What an explosion made, counted as the report counts it.
struct TExplodeCounts {
    int Lines = 0;
    int Polylines = 0;
    int Circles = 0;  // circles and arcs
};

// Replaces a container, block reference, frame or polyline by its pieces,
// each with its transform applied; other objects are left alone. Pieces of
// a container or block that are neither points, lines, circles, arcs nor
// polylines are copied out whole. A block reference's source block goes too
// when no other reference and no library holds it. True when exploded.
bool EsplodeBlocco(TCADCmp2D& cad, TObject2D& object, TExplodeCounts& counts);

// The language file's texts the reports are made of.
using TMessageText = std::function<std::string(int message)>;

// The explode page's report for the number of objects selected.
std::string ExplodeReport(int selected, const TExplodeCounts& counts, const TMessageText& text);

// Point totals of the simplification since its command started.
struct TSimplifyTotals {
    std::int32_t PolyReduceCount = 0;
    std::int32_t PolyReduceKept = 0;
};
// Replaces a polyline or other curve by its simplified polyline; false for
// other classes.
bool SimplifyInDrawing(TCADCmp2D& cad, TObject2D& object, double tolerance, TSimplifyTotals& totals);
std::string SimplifyReport(const TSimplifyTotals& totals, const TMessageText& text);

// "%d - %s" for each of the 256 layers.
std::vector<std::string> ChangeLayerItems(const TLayers& layers);

// The objects whose box is narrower and lower than the limit: points,
// pictures and deleted (hidden) objects are not looked at.
struct TSmallEntity {
    std::int32_t ID = 0;
    TPoint2D Corner;
};
std::vector<TSmallEntity> FindSmallEntities(TCADCmp2D& cad, float limit);
// Frees them for good (they do not go to the undelete stack). Gives the count.
int DeleteSmallEntities(TCADCmp2D& cad, float limit);
std::string SmallEntitiesReport(int count, bool deleted, const TMessageText& text);

// Composes the mirror of the axis choice (1 X axis, 2 Y axis, 3 both; 0, two
// points, means nothing for the whole drawing) onto every object but pictures.
void MirrorAll(TCADCmp2D& cad, int axisChoice);

// The IDs of the objects, pictures left out.
std::vector<std::int32_t> SelectedIDs(std::span<TObject2D* const> objects);
