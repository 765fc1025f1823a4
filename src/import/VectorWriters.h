#pragma once

// The drawing's visible lines, frames, curves and outlines as an HPGL plot
// file or as a plain list of point coordinates. Points are taken through
// each object's full transform; an object without points writes nothing,
// and a closed outline ends on its first point again.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "cad/geometry/CADBaseTypes.h"

class TCADCmp2D;

// The points one visible entity writes, in world coordinates.
std::vector<std::vector<TPoint2D>> VisibleEntityPoints(TCADCmp2D& drawing);

// A drawing coordinate in HPGL units: 40 a millimetre, 1016 an inch.
long long HpglCoord(float value, int unitsMode);

// "IN;SP1;", then for every entity a pen-up move to its first point and one
// pen-down line through the rest, then "SP0;".
void WriteHpgl(TCADCmp2D& drawing, std::ostream& out, int unitsMode);
// "x y" a line, each number through format; an empty line after every entity.
void WritePointList(TCADCmp2D& drawing, std::ostream& out, const std::function<std::string(float)>& format);

// Writes the file through a temporary beside it and renames it into place,
// so that a failed write leaves the old file as it was. A failure raises
// std::runtime_error naming the file.
void WriteFileAtomically(const std::string& fileName, const std::function<void(std::ostream&)>& write);
