#pragma once

// Four singles that a scene object uses for its position, direction, up,
// scale and rotation. The style decides the fourth component when the value
// is set from a vector: a point has W = 1, a vector W = 0.

#include "view3d/maths/VectorTypes.h"
#include "view3d/notification/UpdateAble.h"

enum class TGLCoordinatesStyle : unsigned char { csPoint, csVector, csUnknown };

class TGLCoordinates : public TGLUpdateAbleObject {
public:
    TGLCoordinates(TGLNotifyObject* owner, TGLCoordinatesStyle style, const Vector4f& initial = {});

    // An owning component that follows its coordinates hears of the change
    // through CoordinateChanged instead of the plain chain.
    void NotifyChange(TGLNotifyObject* sender) override;

    // Copies the value without a notification.
    void Assign(const TGLCoordinates& source);
    // Sets the value without a notification and without the style rule.
    void Initialize(const Vector4f& value);

    float X() const { return Value.X; }
    float Y() const { return Value.Y; }
    float Z() const { return Value.Z; }
    float W() const { return Value.W; }
    void SetX(float value) { SetByIndex(0, value); }
    void SetY(float value) { SetByIndex(1, value); }
    void SetZ(float value) { SetByIndex(2, value); }
    void SetW(float value) { SetByIndex(3, value); }
    // Index 0 to 3 is X, Y, Z, W; any other index changes nothing.
    void SetByIndex(int index, float value);

    TGLCoordinatesStyle Style() const { return CoordinateStyle; }

    void TranslateBy(const Vector3f& delta);
    void TranslateBy(float x, float y, float z);
    // X, Y and Z times the factor; W stays.
    void Scale(float factor);
    // The length of X, Y, Z.
    float VectorLength() const;

    // W := 0.
    void SetVector(float x, float y, float z);
    void SetVector(float x, float y, float z, float w);
    // W := 1.
    void SetPoint(float x, float y, float z);

    const Vector4f& AsVector() const { return Value; }
    // The four values, then W by the style (style unknown keeps the given W).
    void SetAsVector(const Vector4f& value);
    // X, Y, Z from the vector; W 1 for a point, 0 for any other style.
    void SetFromVector(const Vector3f& value);
    Vector3f ToAffineVector() const;
    // The four singles in a row, for OpenGL calls that take an array.
    const float* AsAddress() const { return &Value.X; }

private:
    Vector4f Value;
    TGLCoordinatesStyle CoordinateStyle;
};

// Coordinates whose fourth component is a setting of its own (texture
// mapping planes).
class TGLCoordinates4 : public TGLCoordinates {
public:
    using TGLCoordinates::TGLCoordinates;
};
