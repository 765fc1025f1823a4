#pragma once

// The copies the transform commands leave behind in copy mode.

class TCADCmp2D;
class TObject2D;

// Adds to the drawing, under a new ID, a copy of the object as it is shown
// now. Points, lines, frames, circles, polylines, polygons and B-splines get
// their transform baked into their control points (a frame stays an
// axis-aligned frame on the transformed corners); every other class (arcs,
// ellipses, texts, containers, block references, pictures) keeps the
// transform as its own. Gives the copy back.
TObject2D* CopiaOggetto(TCADCmp2D& drawing, const TObject2D& object);

// Gives the engine's transform tasks the copier on that drawing.
void InstallEntityCopy(TCADCmp2D& drawing);
