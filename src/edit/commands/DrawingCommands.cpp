#include "edit/commands/DrawingCommands.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "cad/engine/DrawArcPrimitive.h"
#include "cad/engine/DrawSizedPrimitive.h"
#include "cad/engine/DrawUnSizedPrimitive.h"
#include "cad/engine/PositionObject.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Container2D.h"
#include "cad/shapes/Ellipse2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"
#include "edit/commands/CommandTable.h"

namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;

TPoint2D Pt(double x, double y)
{
    return MakePoint2D(static_cast<float>(x), static_cast<float>(y));
}

float Radians(double degrees)
{
    return static_cast<float>(degrees * kDegToRad);
}

const TPoint2D kOrigin{0.0f, 0.0f, 1.0f};

std::string TooMany(std::int64_t count)
{
    return "Too many points (" + std::to_string(count) + "): at most " + std::to_string(kMaxGridPoints) +
           " can be made at once.";
}

} // namespace

double ReduceDegrees(double degrees)
{
    const double reduced = std::fmod(degrees, 360.0);
    return reduced < 0 ? reduced + 360.0 : reduced;
}

std::unique_ptr<TObject2D> StarterPrimitive(std::int32_t code, const TDrawingParameters& p)
{
    switch (code) {
    case 1:
        return std::make_unique<TPunto2D>(0, kOrigin);
    case 2:
        return std::make_unique<TLine2D>(0, kOrigin, kOrigin);
    case 3:
        return std::make_unique<TFrame2D>(0, kOrigin, kOrigin);
    case 4:
        return std::make_unique<TCerchio2D>(0, kOrigin, kOrigin);
    case 5:
        return std::make_unique<TCerchio2D>(0, kOrigin, Pt(p.CircleDiameter / 2, 0));
    case 6:
        return std::make_unique<TArco2D>(0, kOrigin, kOrigin, 0.0f, 0.0f);
    case 7:
        return std::make_unique<TArco2D>(0, kOrigin, Pt(p.PolarArcDiameter / 2, 0), Radians(p.PolarArcStart),
                                         Radians(p.PolarArcEnd));
    case 8:
        return std::make_unique<TEllipse2D>(0, kOrigin, kOrigin);
    case 9:
        return std::make_unique<TArc2D>(0, kOrigin, kOrigin, 0.0f, 0.0f);
    case 10: {
        const TPoint2D first[] = {kOrigin};
        return std::make_unique<TPolyline2D>(0, first);
    }
    case 11: {
        const TPoint2D first[] = {kOrigin};
        auto spline = std::make_unique<TBSpline2D>(0, first);
        spline->SetSavingPoints(0);
        return spline;
    }
    case 30: {
        const double a = p.PolarLineAngle * kDegToRad;
        return std::make_unique<TLine2D>(0, Pt(p.PolarLineLength * std::cos(a), p.PolarLineLength * std::sin(a)),
                                         kOrigin);
    }
    default:
        return nullptr;
    }
}

std::unique_ptr<TContainer2D> PointGrid(const TPointGridParameters& grid, std::string& error)
{
    const int nx = std::max(grid.Nx, 0);
    const int ny = std::max(grid.Ny, 0);
    if (static_cast<std::int64_t>(nx) * ny > kMaxGridPoints) {
        error = TooMany(static_cast<std::int64_t>(nx) * ny);
        return nullptr;
    }
    const double a = ReduceDegrees(grid.Angle) * kDegToRad;
    const double cx = std::cos(a), sx = std::sin(a);
    const double cy = std::cos(a + std::numbers::pi / 2), sy = std::sin(a + std::numbers::pi / 2);
    auto at = [&](double c, double r) { return Pt(c * grid.Dx * cx + r * grid.Dy * cy, c * grid.Dx * sx + r * grid.Dy * sy); };

    std::vector<std::unique_ptr<TObject2D>> points;
    points.reserve(static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny));
    for (int r = 0; r < ny; ++r)
        for (int c = 0; c < nx; ++c)
            points.push_back(std::make_unique<TPunto2D>(0, at(c, r)));
    auto container = std::make_unique<TContainer2D>(0, std::move(points));

    // The lower-left corner of the rotated grid's box follows the cursor.
    const double farC = std::max(nx - 1, 0), farR = std::max(ny - 1, 0);
    const TPoint2D corners[] = {at(0, 0), at(farC, 0), at(0, farR), at(farC, farR)};
    float left = corners[0].X, bottom = corners[0].Y;
    for (const TPoint2D& corner : corners) {
        left = std::min(left, corner.X);
        bottom = std::min(bottom, corner.Y);
    }
    container->SetReferencePoint(MakePoint2D(left, bottom));
    return container;
}

std::unique_ptr<TContainer2D> BoltCircle(const TBoltCircleParameters& bolt, std::string& error)
{
    const int count = std::max(bolt.Count, 0);
    const std::int64_t objects = static_cast<std::int64_t>(count) * ((bolt.CreatePoints ? 1 : 0) + (bolt.CreateHoles ? 1 : 0));
    if (objects > kMaxGridPoints) {
        error = TooMany(objects);
        return nullptr;
    }
    // A negative step keeps its direction: -45 is 315, not 405.
    const double between = bolt.AngleBetween < 0 ? 360.0 + bolt.AngleBetween : bolt.AngleBetween;
    std::vector<std::unique_ptr<TObject2D>> parts;
    for (int i = 0; i < count; ++i) {
        const double theta = (bolt.StartAngle + i * between) * kDegToRad;
        const TPoint2D p = Pt(bolt.Radius * std::cos(theta), bolt.Radius * std::sin(theta));
        if (bolt.CreatePoints)
            parts.push_back(std::make_unique<TPunto2D>(0, p));
        if (bolt.CreateHoles)
            parts.push_back(std::make_unique<TCerchio2D>(0, p, Pt(p.X + bolt.HoleDiameter / 2, p.Y)));
    }
    auto container = std::make_unique<TContainer2D>(0, std::move(parts));
    container->SetReferencePoint(container->Box.FirstEdge);
    return container;
}

namespace {

template <class T>
std::unique_ptr<T> Take(std::unique_ptr<TObject2D>& object)
{
    if (dynamic_cast<T*>(object.get()) == nullptr)
        return nullptr;
    return std::unique_ptr<T>(static_cast<T*>(object.release()));
}

} // namespace

bool StartDrawingTask(TCADPrg& runner, const TCommandRow& row, std::unique_ptr<TObject2D> object)
{
    if (!object)
        return false;
    const TCADStateClass none;
    TCADStateClass state;
    std::unique_ptr<TCADPrgParam> param;
    switch (row.Task) {
    case TCommandTask::DrawSized:
        if (auto primitive = Take<TPrimitive2D>(object)) {
            state = TCADStateClass::Of<TCAD2DDrawSizedPrimitive>();
            param = std::make_unique<TCAD2DDrawSizedPrimitiveParam>(none, std::move(primitive));
        }
        break;
    case TCommandTask::DrawUnsized:
        if (auto primitive = Take<TPrimitive2D>(object)) {
            state = TCADStateClass::Of<TCAD2DDrawUnSizedPrimitive>();
            param = std::make_unique<TCAD2DDrawUnSizedPrimitiveParam>(none, std::move(primitive));
        }
        break;
    case TCommandTask::DrawArco:
        if (auto arc = Take<TArco2D>(object)) {
            state = TCADStateClass::Of<TCAD2DDrawArcoPrimitive>();
            param = std::make_unique<TCAD2DDrawArcoPrimitiveParam>(none, std::move(arc));
        }
        break;
    case TCommandTask::DrawArcP:
        if (auto arc = Take<TArc2D>(object)) {
            state = TCADStateClass::Of<TCAD2DDrawArcPrimitive>();
            param = std::make_unique<TCAD2DDrawArcPrimitiveParam>(none, std::move(arc));
        }
        break;
    case TCommandTask::Position:
        state = TCADStateClass::Of<TCAD2DPositionObject>();
        param = std::make_unique<TCAD2DPositionObjectParam>(none, std::move(object));
        break;
    default:
        break;
    }
    if (!param)
        return false;
    if (runner.IsBusy())
        runner.StopOperation();
    return runner.StartOperation(state, std::move(param));
}
