#include "view3d/notification/Coordinates.h"

#include <cmath>

TGLCoordinates::TGLCoordinates(TGLNotifyObject* owner, TGLCoordinatesStyle style, const Vector4f& initial)
    : TGLUpdateAbleObject(owner), Value(initial), CoordinateStyle(style)
{
}

void TGLCoordinates::NotifyChange(TGLNotifyObject* sender)
{
    if (auto* component = dynamic_cast<TGLCoordinatesUpdateAbleComponent*>(GetOwner()))
        component->CoordinateChanged(*this);
    else
        TGLUpdateAbleObject::NotifyChange(sender);
}

void TGLCoordinates::Assign(const TGLCoordinates& source)
{
    Value = source.Value;
}

void TGLCoordinates::Initialize(const Vector4f& value)
{
    Value = value;
}

void TGLCoordinates::SetByIndex(int index, float value)
{
    switch (index) {
    case 0: Value.X = value; break;
    case 1: Value.Y = value; break;
    case 2: Value.Z = value; break;
    case 3: Value.W = value; break;
    default: return;
    }
    NotifyChange(this);
}

void TGLCoordinates::TranslateBy(const Vector3f& delta)
{
    TranslateBy(delta.X, delta.Y, delta.Z);
}

void TGLCoordinates::TranslateBy(float x, float y, float z)
{
    Value.X += x;
    Value.Y += y;
    Value.Z += z;
    NotifyChange(this);
}

void TGLCoordinates::Scale(float factor)
{
    Value.X *= factor;
    Value.Y *= factor;
    Value.Z *= factor;
    NotifyChange(this);
}

float TGLCoordinates::VectorLength() const
{
    return std::sqrt(Value.X * Value.X + Value.Y * Value.Y + Value.Z * Value.Z);
}

void TGLCoordinates::SetVector(float x, float y, float z)
{
    SetVector(x, y, z, 0.0f);
}

void TGLCoordinates::SetVector(float x, float y, float z, float w)
{
    Value = {x, y, z, w};
    NotifyChange(this);
}

void TGLCoordinates::SetPoint(float x, float y, float z)
{
    SetVector(x, y, z, 1.0f);
}

void TGLCoordinates::SetAsVector(const Vector4f& value)
{
    Value = value;
    if (CoordinateStyle == TGLCoordinatesStyle::csPoint)
        Value.W = 1.0f;
    else if (CoordinateStyle == TGLCoordinatesStyle::csVector)
        Value.W = 0.0f;
    NotifyChange(this);
}

void TGLCoordinates::SetFromVector(const Vector3f& value)
{
    Value = {value.X, value.Y, value.Z, CoordinateStyle == TGLCoordinatesStyle::csPoint ? 1.0f : 0.0f};
    NotifyChange(this);
}

Vector3f TGLCoordinates::ToAffineVector() const
{
    return {Value.X, Value.Y, Value.Z};
}
