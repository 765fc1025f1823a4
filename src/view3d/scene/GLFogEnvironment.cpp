#include "view3d/scene/GLFogEnvironment.h"

#include "view3d/opengl/GLCapabilities.h"
#include "view3d/opengl/GLFunctions.h"

namespace {

constexpr GLenum kFogDistanceModeNV = 0x855A;
constexpr GLenum kEyeRadialNV = 0x855B;
constexpr GLenum kEyePlaneNV = 0x855C;

} // namespace

TGLFogEnvironment::TGLFogEnvironment(TGLNotifyObject* owner)
    : TGLUpdateAbleObject(owner),
      Color(std::make_unique<TGLColor>(this))
{
}

TGLFogEnvironment::~TGLFogEnvironment() = default;

template <typename T>
void TGLFogEnvironment::Change(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    NotifyChange(this);
}

void TGLFogEnvironment::SetFogStart(float value)
{
    Change(Start, value);
}

void TGLFogEnvironment::SetFogEnd(float value)
{
    Change(End, value);
}

void TGLFogEnvironment::SetFogMode(TFogMode value)
{
    Change(Mode, value);
}

void TGLFogEnvironment::SetFogDistance(TFogDistance value)
{
    Change(Distance, value);
}

void TGLFogEnvironment::ApplyFog()
{
    switch (Mode) {
    case TFogMode::fmLinear:
        GL().Fogi(GL_FOG_MODE, GL_LINEAR);
        break;
    case TFogMode::fmExp:
        GL().Fogi(GL_FOG_MODE, GL_EXP);
        GL().Fogf(GL_FOG_DENSITY, Color->Alpha());
        break;
    case TFogMode::fmExp2:
        GL().Fogi(GL_FOG_MODE, GL_EXP2);
        GL().Fogf(GL_FOG_DENSITY, Color->Alpha());
        break;
    }
    GL().Fogfv(GL_FOG_COLOR, Color->AsAddress());
    GL().Fogf(GL_FOG_START, Start);
    GL().Fogf(GL_FOG_END, End);
    if (!GLCapabilities().Has(kNV_fog_distance))
        return;
    switch (Distance) {
    case TFogDistance::fdDefault:
        if (DriverDistanceMode == 0)
            GL().GetIntegerv(kFogDistanceModeNV, &DriverDistanceMode);
        GL().Fogi(kFogDistanceModeNV, DriverDistanceMode);
        break;
    case TFogDistance::fdEyeRadial:
        GL().Fogi(kFogDistanceModeNV, kEyeRadialNV);
        break;
    case TFogDistance::fdEyePlane:
        GL().Fogi(kFogDistanceModeNV, kEyePlaneNV);
        break;
    }
}
