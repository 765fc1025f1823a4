#pragma once

// SVG drawings into the drawing: every subpath that has more than a starting
// point becomes a closed polygon, and every SVG path a layer of its own
// (1, 2, 3 ... wrapping after 255 to 0) coloured with the path's fill. The
// transforms of a path and of its groups are applied, curves are flattened
// into points on the curve within the chain tolerance (ChainTol), and Y is
// turned upwards; SVG user units are drawing units.

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

// The conversion of a complete read; the drawing's current layer ends as the
// last path's. A drawing of more points than the import takes raises and adds nothing.
void AddSvgPaths(const svg::path_renderer& paths, TCADCmp2D& drawing);
