#include "edit/commands/ViewNavigation.h"

#include <cmath>

namespace {

double Length(double x, double y, double z)
{
    return std::sqrt(x * x + y * y + z * z);
}

} // namespace

std::optional<TCamera3D> Autozoom3D(const TNcExtent& extent, TVector3 camera, TVector3 cube)
{
    const double dx = double(extent.Max.X) - extent.Min.X;
    const double dy = double(extent.Max.Y) - extent.Min.Y;
    const double dz = double(extent.Max.Z) - extent.Min.Z;
    const double diagonal = Length(dx, dy, dz);
    // The camera's distance from its cube, which is its distance from the
    // origin while the cube sits there; once panned, the distance from the
    // origin would shrink the camera onto its cube.
    const double cameraDistance =
        Length(double(camera.X) - cube.X, double(camera.Y) - cube.Y, double(camera.Z) - cube.Z);
    if (!std::isfinite(diagonal) || diagonal <= 0.0 || !std::isfinite(cameraDistance) || cameraDistance <= 0.0)
        return std::nullopt;

    TCamera3D result;
    result.Cube = {static_cast<float>(extent.Min.X + dx / 2), static_cast<float>(extent.Min.Y + dy / 2),
                   static_cast<float>(extent.Min.Z + dz / 2)};
    const double scale = 2.0 * diagonal / cameraDistance;
    result.Camera = {static_cast<float>(result.Cube.X + (double(camera.X) - cube.X) * scale),
                     static_cast<float>(result.Cube.Y + (double(camera.Y) - cube.Y) * scale),
                     static_cast<float>(result.Cube.Z + (double(camera.Z) - cube.Z) * scale)};
    // A camera straight above its target has no up direction; a hair off it has.
    if (std::fabs(result.Cube.X - result.Camera.X) < 0.00005f && std::fabs(result.Cube.Y - result.Camera.Y) < 0.00005f)
        result.Camera.Y -= 0.0001f;
    result.SceneScale = static_cast<float>(100.0 / diagonal);
    result.DepthOfView = static_cast<float>(100.0 * diagonal);
    return result;
}

TDragZoom CtrlDragZoom(int lastX, int lastY, int x, int y)
{
    const double dx = x - lastX;
    const double dy = y - lastY;
    if (dx * dx + dy * dy <= 20.0 * 20.0)
        return TDragZoom::None;
    return x < lastX ? TDragZoom::In : TDragZoom::Out;
}
