#include "view3d/maths/CameraPresets.h"

#include <cmath>

namespace {

TVector3 At(TVector3 t, double dx, double dy, double dz)
{
    return {static_cast<float>(t.X + dx), static_cast<float>(t.Y + dy), static_cast<float>(t.Z + dz)};
}

} // namespace

TVector3 PresetCameraPosition(TViewPreset preset, TVector3 camera, TVector3 target)
{
    // The distance from the world origin, not from the target: the views keep
    // the scale the camera had.
    const double dist = std::sqrt(double(camera.X) * camera.X + double(camera.Y) * camera.Y +
                                  double(camera.Z) * camera.Z);
    switch (preset) {
    case TViewPreset::Top:
        return At(target, 0.0, -dist * 0.0001, dist);
    case TViewPreset::Front:
        return At(target, 0.0, -dist, 0.0);
    case TViewPreset::Side:
        return At(target, dist, 0.0, 0.0);
    case TViewPreset::Iso:
        break;
    }
    const double k = dist * 0.577350258827209;
    return At(target, k, -k, k);
}
