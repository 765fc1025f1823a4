#include "import/VectorWriters.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Outline2D.h"

namespace {

std::vector<TPoint2D> WorldPoints(const TPointsSet2D& points, const TTransform2D& t)
{
    std::vector<TPoint2D> world;
    world.reserve(static_cast<std::size_t>(points.Count()) + 1);
    for (int i = 0; i < points.Count(); ++i)
        world.push_back(CartesianPoint2D(ApplyTransform2D(points[i], t)));
    return world;
}

// The corners P0, (P0.x, P1.y), P1, (P1.x, P0.y), P0 of the frame's two
// points, taken from the points themselves: a frame has them at any curve
// precision, even one that builds no profile.
std::vector<TPoint2D> FrameCorners(TFrame2D& frame)
{
    if (!frame.Points() || frame.Points()->Count() < 2)
        return {};
    const TPoint2D p0 = CartesianPoint2D((*frame.Points())[0]);
    const TPoint2D p1 = CartesianPoint2D((*frame.Points())[1]);
    std::vector<TPoint2D> world;
    for (const TPoint2D corner : {p0, MakePoint2D(p0.X, p1.Y), p1, MakePoint2D(p1.X, p0.Y), p0})
        world.push_back(CartesianPoint2D(ApplyTransform2D(corner, frame.GetTransform())));
    return world;
}

// Lines give their two points, frames their corners; curves and outlines their profile.
std::vector<TPoint2D> EntityPoints(TObject2D& object)
{
    if (auto* line = dynamic_cast<TLine2D*>(&object))
        return line->Points() ? WorldPoints(*line->Points(), line->GetTransform()) : std::vector<TPoint2D>{};
    if (auto* frame = dynamic_cast<TFrame2D*>(&object))
        return FrameCorners(*frame);
    auto* outline = dynamic_cast<TOutline2D*>(&object);
    if (!outline)
        return {};
    TProfileUse use(*outline);
    std::vector<TPoint2D> points = WorldPoints(outline->ProfilePoints(), outline->GetTransform());
    // The closing edge of a closed outline is drawn, so it is written too.
    if (outline->IsClosed() && points.size() > 1 &&
        (points.back().X != points.front().X || points.back().Y != points.front().Y))
        points.push_back(points.front());
    return points;
}

std::string HpglPoint(TPoint2D point, int unitsMode)
{
    return std::to_string(HpglCoord(point.X, unitsMode)) + ',' + std::to_string(HpglCoord(point.Y, unitsMode));
}

} // namespace

std::vector<std::vector<TPoint2D>> VisibleEntityPoints(TCADCmp2D& drawing)
{
    std::vector<std::vector<TPoint2D>> entities;
    std::unique_ptr<TGraphicObjIterator> iterator = drawing.ObjectsIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        auto* object2D = dynamic_cast<TObject2D*>(object);
        if (!object2D || !object2D->Visible)
            continue;
        std::vector<TPoint2D> points = EntityPoints(*object2D);
        if (!points.empty())
            entities.push_back(std::move(points));
    }
    return entities;
}

long long HpglCoord(float value, int unitsMode)
{
    const double units = static_cast<double>(value) * (unitsMode == 1 ? 1016.0 : 40.0);
    // Halves round to even; plotters take 32-bit coordinates at most.
    constexpr double limit = std::numeric_limits<std::int32_t>::max();
    return static_cast<long long>(std::nearbyint(std::clamp(units, -limit, limit)));
}

void WriteHpgl(TCADCmp2D& drawing, std::ostream& out, int unitsMode)
{
    out << "IN;SP1;\n";
    for (const std::vector<TPoint2D>& points : VisibleEntityPoints(drawing)) {
        out << "PU" << HpglPoint(points.front(), unitsMode) << ";\n";
        out << "PD";
        for (std::size_t i = 1; i < points.size(); ++i)
            out << (i > 1 ? "," : "") << HpglPoint(points[i], unitsMode);
        out << ";\n";
    }
    out << "SP0;\n";
}

void WritePointList(TCADCmp2D& drawing, std::ostream& out, const std::function<std::string(float)>& format)
{
    for (const std::vector<TPoint2D>& points : VisibleEntityPoints(drawing)) {
        for (const TPoint2D& point : points)
            out << format(point.X) << ' ' << format(point.Y) << '\n';
        out << '\n';
    }
}

void WriteFileAtomically(const std::string& fileName, const std::function<void(std::ostream&)>& write)
{
    std::ostringstream text;
    write(text);
    const std::string bytes = text.str();
    QSaveFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit())
        throw std::runtime_error("Cannot write " + fileName + ": " + file.errorString().toStdString());
}
