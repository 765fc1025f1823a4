#include "import/SvgToDrawing.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cad/base/Settings.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/shapes/Polyline2D.h"
#include "import/BezierFlattening.h"
#include "import/SvgException.h"
#include "import/SvgParser.h"
#include "import/SvgPathRenderer.h"

namespace {

// Flattened curves give many points for few bytes; past this a file is
// refused before it takes all the memory there is.
constexpr std::size_t kMaxPoints = 10'000'000;

using TPolygonPoints = std::vector<TPoint2D>;

// A coordinate beyond a float's range would become infinite in the drawing;
// one lost to infinities of opposite sign (a transform beyond the range of
// doubles) has no place left and goes to 0.
float ToFloat(double value)
{
    if (std::isnan(value))
        return 0.0f;
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

// The subpaths of one SVG path in drawing coordinates: its transforms
// applied, Y turned upwards, curves flattened within the tolerance.
class TPathFlattener {
public:
    TPathFlattener(const agg::trans_affine& toDrawing, double tolerance, std::size_t& pointCount)
        : ToDrawing(toDrawing), Tolerance(tolerance), PointCount(pointCount)
    {
        // A path that does not begin with a move starts from the origin.
        ToDrawing.transform(&Pen.X, &Pen.Y);
    }

    void Vertex(unsigned command, double x, double y)
    {
        TVect p{x, y};
        ToDrawing.transform(&p.X, &p.Y);
        if (agg::is_move_to(command)) {
            FinishSubpath();
            Add(p);
        } else if (agg::is_line_to(command)) {
            Add(p);
        } else {
            Controls[Pending++] = p;
            if (command == agg::path_cmd_curve3 && Pending == 2) {
                const int segments = QuadraticSegments(Pen, Controls[0], Controls[1], Tolerance);
                Reserve(segments);
                AppendQuadratic(Pen, Controls[0], Controls[1], segments, Subpath);
            } else if (command == agg::path_cmd_curve4 && Pending == 3) {
                const int segments = CubicSegments(Pen, Controls[0], Controls[1], Controls[2], Tolerance);
                Reserve(segments);
                AppendCubic(Pen, Controls[0], Controls[1], Controls[2], segments, Subpath);
            } else {
                return;
            }
            Pen = Subpath.back();
            Pending = 0;
        }
    }

    // Every subpath that has more than a starting point; a move alone (as
    // the trailing "m 0 0" many programs write) would only leave a speck.
    std::vector<TPolygonPoints> Finish()
    {
        FinishSubpath();
        return std::move(Polygons);
    }

private:
    void Add(TVect p)
    {
        Reserve(1);
        Subpath.push_back(p);
        Pen = p;
        Pending = 0;
    }

    void Reserve(int points)
    {
        PointCount += static_cast<std::size_t>(points);
        if (PointCount > kMaxPoints)
            throw svg::svg_exception("ImportSvgFile: More than " + std::to_string(kMaxPoints) + " points");
    }

    void FinishSubpath()
    {
        if (Subpath.size() > 1) {
            TPolygonPoints polygon;
            polygon.reserve(Subpath.size());
            for (const TVect& p : Subpath)
                polygon.push_back(TPoint2D{ToFloat(p.X), ToFloat(p.Y), 1.0f});
            Polygons.push_back(std::move(polygon));
        }
        Subpath.clear();
    }

    agg::trans_affine ToDrawing;
    double Tolerance;
    std::size_t& PointCount;
    std::vector<TVect> Subpath;
    TVect Pen;
    TVect Controls[3];
    int Pending = 0;
    std::vector<TPolygonPoints> Polygons;
};

} // namespace

void AddSvgPaths(const svg::path_renderer& paths, TCADCmp2D& drawing)
{
    // Everything is flattened before the drawing is touched, so that a file
    // refused for its size adds nothing.
    const agg::path_storage& storage = paths.storage();
    std::size_t pointCount = 0;
    std::vector<std::vector<TPolygonPoints>> polygons;
    polygons.reserve(paths.attributes().size());
    for (std::size_t p = 0; p < paths.attributes().size(); ++p) {
        agg::trans_affine toDrawing = paths.attributes()[p].transform;
        toDrawing *= agg::trans_affine_scaling(1.0, -1.0);
        TPathFlattener flattener(toDrawing, ChainTol, pointCount);
        for (unsigned i = paths.attributes()[p].index; i < paths.path_end(p); ++i) {
            double x = 0.0;
            double y = 0.0;
            const unsigned command = storage.vertex(i, &x, &y);
            if (agg::is_stop(command))
                break;
            if (agg::is_vertex(command))
                flattener.Vertex(command, x, y);
        }
        polygons.push_back(flattener.Finish());
    }

    std::uint8_t layer = 1;
    for (std::size_t p = 0; p < polygons.size(); ++p) {
        drawing.CurrentLayer = layer;
        ColourLayer(drawing.Layers().GetLayer(layer), LayerColor(paths.attributes()[p].fill_color));
        for (const TPolygonPoints& polygon : polygons[p])
            drawing.AddObject(-1, std::make_unique<TPolygon2D>(0, polygon));
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
