#pragma once

// Fillet and trim of two picked entities in the drawing: lines, circular
// arcs and circles (a circle becomes a full-turn arc first, whatever
// follows). Shared by the fillet, the trim and the tangent arc.

#include "cad/geometry/CADBaseTypes.h"

class TCADCmp2D;
class TCADViewport2DCore;
class TObject2D;

struct TFilletOptions {
    // Add the fillet arc (fillet) or only cut the entities to their corner (trim).
    bool MakeArc = true;
    // Cut the entities to the fillet; without it the fillet is a full circle.
    bool ModifyEntities = true;
    double Radius = 10.0;
    // A circle picked first with an arc keeps the entities modified (the
    // tangent arc's rule).
    bool ModifyWhenCircleWithArc = false;
};

// Whether the pair routine takes the two (lines, arcs, circles).
bool IsFilletEntity(const TObject2D* object);

// Entities in the order picked, pick k on entity k. Nothing happens for
// pairs the routine does not take.
void FilletPair(TCADCmp2D& drawing, TCADViewport2DCore* view, TObject2D& first, TObject2D& second, TVect pick1,
                TVect pick2, const TFilletOptions& options);

// Two arcs cut where they cross; an arc that a crossing cuts is replaced by
// its pieces. The crossings are marked.
void BreakArcs(TCADCmp2D& drawing, TCADViewport2DCore* view, TObject2D& first, TObject2D& second);
