#include "view3d/scene/GLLightSource.h"

TGLLightSource::TGLLightSource(TGLNotifyObject* owner)
    : TGLBaseSceneObject(owner),
      AmbientColor(std::make_unique<TGLColor>(this)),
      DiffuseColor(std::make_unique<TGLColor>(this, Vector4f{1.0f, 1.0f, 1.0f, 1.0f})),
      SpecularColor(std::make_unique<TGLColor>(this)),
      SpotDirectionCoordinates(
          std::make_unique<TGLCoordinates>(this, TGLCoordinatesStyle::csVector, Vector4f{0.0f, 0.0f, -1.0f, 0.0f}))
{
}

TGLLightSource::~TGLLightSource() = default;

std::unique_ptr<TGLBaseSceneObject> TGLLightSource::CreateNew() const
{
    return std::make_unique<TGLLightSource>();
}

void TGLLightSource::SetValue(float& field, float value)
{
    if (field == value)
        return;
    field = value;
    NotifyChange(this);
}

void TGLLightSource::SetShining(bool value)
{
    if (value == IsShining)
        return;
    IsShining = value;
    NotifyChange(this);
}

void TGLLightSource::SetSpotCutOff(float value)
{
    if ((value >= 0.0f && value <= 90.0f) || value == 180.0f)
        SetValue(CutOff, value);
}

void TGLLightSource::SetLightStyle(TLightStyle value)
{
    if (value == Style)
        return;
    Style = value;
    NotifyChange(this);
}

void TGLLightSource::CoordinateChanged(TGLCoordinates& coordinates)
{
    if (&coordinates != SpotDirectionCoordinates.get()) {
        TGLBaseSceneObject::CoordinateChanged(coordinates);
        return;
    }
    // A direction: OpenGL would read any other fourth component as a position.
    if (coordinates.W() != 0.0f) {
        Vector4f value = coordinates.AsVector();
        value.W = 0.0f;
        coordinates.Initialize(value);
    }
    MarkTransformChanged();
}

bool TGLLightSource::RayCastIntersect(const Vector4f&, const Vector4f&, Vector4f*, Vector4f*) const
{
    return false;
}
