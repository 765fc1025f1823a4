#pragma once

// How the size of a point follows its distance from the eye, where the
// driver offers point parameters. Off unless Enabled.

#include "view3d/maths/VectorTypes.h"
#include "view3d/notification/Coordinates.h"
#include "view3d/notification/UpdateAble.h"

class TGLPointParameters : public TGLUpdateAbleObject {
public:
    explicit TGLPointParameters(TGLNotifyObject* owner);

    // Copies the other's settings and notifies.
    void Assign(const TGLPointParameters& source);

    bool Enabled() const { return IsEnabled; }
    void SetEnabled(bool value);
    // Negative sizes become 0.
    float MinSize() const { return Minimum; }
    void SetMinSize(float value);
    float MaxSize() const { return Maximum; }
    void SetMaxSize(float value);
    float FadeTresholdSize() const { return FadeTreshold; }
    void SetFadeTresholdSize(float value);
    // The constant, linear and quadratic factors of the size by distance.
    TGLCoordinates& DistanceAttenuation() { return Attenuation; }

    // Sent before the points are drawn, when enabled and offered; UnApply
    // puts the driver's defaults back.
    void Apply() const;
    void UnApply() const;

private:
    void SetSize(float& size, float value);

    bool IsEnabled = false;
    float Minimum = 0.0f;
    float Maximum = 128.0f;
    float FadeTreshold = 1.0f;
    TGLCoordinates Attenuation;
};
