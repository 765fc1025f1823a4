#pragma once

// SVG drawings into the drawing: every subpath that has more than a starting
// point becomes a closed polygon, and
// every SVG path a layer of its own (1, 2, 3 ... wrapping after 255 to 0)
// coloured with the path's fill. Curves keep their control points as
// polygon corners, and the paths' transforms are not applied: coordinates
// are taken as written, with Y turned upwards.

#include <span>
#include <string>

class TCADCmp2D;

namespace svg {
class path_renderer;
}

// Reads the whole file first: a fault raises svg::svg_exception and adds nothing.
void ImportSvgFile(const std::string& fileName, TCADCmp2D& drawing);
// The same for a document held in memory.
void ImportSvgBytes(std::span<const char> bytes, TCADCmp2D& drawing);

// The conversion of a complete read; the drawing's current layer ends as the last path's.
void AddSvgPaths(svg::path_renderer& paths, TCADCmp2D& drawing);
