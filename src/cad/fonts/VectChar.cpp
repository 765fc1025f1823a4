#include "cad/fonts/VectChar.h"

#include "cad/geometry/Geometry2D.h"
#include "cad/stream/CADStream.h"

namespace {

constexpr std::size_t FilePointSize = 12;
// The smallest polyline on file: its point count and no points.
constexpr std::size_t FileEmptyPolylineSize = 2;

} // namespace

TVectChar::TVectChar(TCADStreamReader& stream, std::string_view version) : Polylines(0)
{
    if (CADVersionBefore(version, "CAD4  "))
        return;
    const std::int32_t polylineCount = stream.ReadInt32();
    stream.RequireItems(polylineCount, FileEmptyPolylineSize, "glyph polyline count");
    Polylines.SetSize(polylineCount);
    for (int i = 0; i < polylineCount; ++i) {
        const int pointCount = stream.ReadUInt16();
        stream.RequireItems(pointCount, FilePointSize, "glyph point count");
        auto polyline = std::make_unique<TPointsSet2D>(pointCount);
        for (int j = 0; j < pointCount; ++j)
            polyline->Put(j, stream.ReadPoint2D());
        Polylines.SetObject(i, std::move(polyline));
    }
    UpdateGlyphExtent();
}

void TVectChar::AddPolyline(std::unique_ptr<TPointsSet2D> polyline)
{
    const int index = Polylines.Size();
    Polylines.SetSize(index + 1);
    Polylines.SetObject(index, std::move(polyline));
}

void TVectChar::UpdateGlyphExtent()
{
    TRect2D extent = MakeRect2D(0, 0, 0, 0);
    for (int i = 0; i < Polylines.Size(); ++i)
        if (const TPointsSet2D* polyline = Polylines.GetObject(i))
            extent = UnionBox2D(extent, polyline->Extent());
    Extent = extent;
}

const TVectChar& DefaultVectChar()
{
    static const TVectChar glyph = [] {
        TVectChar made;
        auto stroke = std::make_unique<TPointsSet2D>(2);
        stroke->Append(MakePoint2D(0, 0));
        stroke->Append(MakePoint2D(0.8f, 0));
        made.AddPolyline(std::move(stroke));
        made.UpdateGlyphExtent();
        return made;
    }();
    return glyph;
}
