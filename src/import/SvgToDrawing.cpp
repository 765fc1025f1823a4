#include "import/SvgToDrawing.h"

#include <algorithm>
#include <cfloat>
#include <cstdint>
#include <memory>
#include <vector>

#include "cad/drawing/CADCmp2D.h"
#include "cad/shapes/Polyline2D.h"
#include "import/SvgParser.h"
#include "import/SvgPathRenderer.h"

namespace {

// A coordinate beyond a float's range would become infinite in the drawing.
float ToFloat(double value)
{
    return static_cast<float>(std::clamp(value, static_cast<double>(-FLT_MAX), static_cast<double>(FLT_MAX)));
}

TColor LayerColor(const agg::rgba8& color)
{
    return static_cast<TColor>(color.r + color.g * 256 + color.b * 65536);
}

void ColourLayer(TLayer& layer, TColor color)
{
    layer.SetPenColor(color);
    TBrushState brush = layer.Brush();
    brush.Color = color;
    layer.SetBrush(brush);
}

} // namespace

void AddSvgPaths(svg::path_renderer& paths, TCADCmp2D& drawing)
{
    agg::path_storage& storage = paths.storage();
    storage.flip_y(0.0, 0.0);
    std::uint8_t layer = 1;
    std::vector<TPoint2D> polygon;
    // A subpath of one point (a move alone, as the trailing "m 0 0" many
    // programs write) draws nothing and would only leave a speck.
    const auto addPolygon = [&] {
        if (polygon.size() > 1)
            drawing.AddObject(-1, std::make_unique<TPolygon2D>(0, polygon));
        polygon.clear();
    };
    for (std::size_t p = 0; p < paths.attributes().size(); ++p) {
        const svg::path_attributes& path = paths.attributes()[p];
        drawing.CurrentLayer = layer;
        ColourLayer(drawing.Layers().GetLayer(layer), LayerColor(path.fill_color));
        for (unsigned i = path.index; i < paths.path_end(p); ++i) {
            double x = 0.0;
            double y = 0.0;
            const unsigned command = storage.vertex(i, &x, &y);
            if (agg::is_stop(command))
                break;
            if (agg::is_move_to(command))
                addPolygon();
            if (agg::is_vertex(command))
                polygon.push_back(TPoint2D{ToFloat(x), ToFloat(y), 1.0f});
        }
        addPolygon();
        ++layer;
    }
}

void ImportSvgFile(const std::string& fileName, TCADCmp2D& drawing)
{
    svg::path_renderer paths;
    svg::parser reader(paths);
    reader.parse(fileName);
    AddSvgPaths(paths, drawing);
}

void ImportSvgBytes(std::span<const char> bytes, TCADCmp2D& drawing)
{
    svg::path_renderer paths;
    svg::parser reader(paths);
    reader.parse_bytes(bytes);
    AddSvgPaths(paths, drawing);
}
