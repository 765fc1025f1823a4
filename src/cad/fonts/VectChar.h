#pragma once

// One glyph of a stroke font: a few open polylines in glyph units (X along
// the line, Y up, the origin at the pen position, a cap height of about 1).

#include <memory>
#include <string_view>

#include "cad/geometry/CADBaseTypes.h"
#include "cad/model/IndexedObjectList.h"
#include "cad/model/PointsSet2D.h"

class TCADStreamReader;

class TVectChar {
public:
    TVectChar() : Polylines(0) {}
    // Reads the polylines of one font-file entry; versions before "CAD4  " hold none.
    TVectChar(TCADStreamReader& stream, std::string_view version);

    TPointsSet2D* GetPolyline(int index) const { return Polylines.GetObject(index); }
    int PolylineCount() const { return Polylines.Size(); }
    void AddPolyline(std::unique_ptr<TPointsSet2D> polyline);
    // Extent := the union of the polylines' extents and the origin.
    void UpdateGlyphExtent();

    // The advance after the glyph uses Extent's right edge.
    TRect2D Extent{TPoint2D{0, 0, 1}, TPoint2D{0, 0, 1}};

private:
    TIndexedObjectList<TPointsSet2D> Polylines;
};

// Drawn for every character a font lacks: the segment (0, 0)-(0.8, 0).
const TVectChar& DefaultVectChar();
