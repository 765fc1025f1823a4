#pragma once

// Drawing objects made from one DXF entity record. Each builder gives none
// when the entity builds nothing; the importer counts, layers, scales and adds
// what they give.

#include <memory>

#include "cad/dxf/DXFRead.h"
#include "cad/model/GraphicObject.h"

class TSourceBlock2D;
class TVectFont;

std::unique_ptr<TObject2D> BuildDXFPoint(const TDXFRecord& record);
std::unique_ptr<TObject2D> BuildDXFLine(const TDXFRecord& record);
std::unique_ptr<TObject2D> BuildDXFCircle(const TDXFRecord& record);
// Counter-clockwise from the start angle to the end angle, as DXF stores arcs.
std::unique_ptr<TObject2D> BuildDXFArc(const TDXFRecord& record);
// The axis end point (codes 11, 21) is relative to the centre in files of
// R13 and later; older ones (and the tracer's) give it as an absolute point
// and the minor axis as a length.
std::unique_ptr<TObject2D> BuildDXFEllipse(const TDXFRecord& record, bool axisRelative);
// Corners joined in DXF's outline order 1-2-4-3 and closed.
std::unique_ptr<TObject2D> BuildDXFTrace(const TDXFRecord& record);
std::unique_ptr<TObject2D> BuildDXFSolid(const TDXFRecord& record);
// None without a font. A justified text (codes 72, 73) has its justified
// point on code 11 (baseline, bottom, middle or top by 73; left, centre or
// right by 72), a left-baseline one its start on code 10; either is turned
// about that point.
std::unique_ptr<TObject2D> BuildDXFText(const TDXFRecord& record, TVectFont* font);
// A reference to the block, scaled, turned and moved by the record.
std::unique_ptr<TObject2D> BuildDXFInsert(const TDXFRecord& record, TSourceBlock2D& block);

// The first 12 characters of a block's name, as blocks are filed and looked up.
std::string DXFBlockName(const std::string& name);
