#pragma once

// The range and step at which a plotting object samples one axis.

#include <vector>

#include "view3d/notification/UpdateAble.h"

class TGLSamplingScale : public TGLUpdateAbleObject {
public:
    // The most steps a scale yields; a finer step would only stall the
    // drawing (and overflow the step count).
    static constexpr int MaxSteps = 1'000'000;

    explicit TGLSamplingScale(TGLNotifyObject* owner);

    float Min() const { return MinValue; }
    float Max() const { return MaxValue; }
    float Origin() const { return OriginValue; }
    float Step() const { return StepValue; }
    // Min above Max moves Max to it, and Max below Min moves Min.
    void SetMin(float value);
    void SetMax(float value);
    void SetOrigin(float value);
    void SetStep(float value);
    // Takes the other's four values, then notifies once.
    void Assign(const TGLSamplingScale& source);

    // A step that is not positive samples nothing between Min and Max: the
    // scale then behaves as a single sample at Min.
    bool HasSteps() const { return StepValue > 0.0f; }
    // The first value at or above Min that lies a whole number of steps from Origin.
    float StepBase() const;
    int MaxStepCount() const;
    bool IsValid() const { return MaxValue != MinValue; }
    // The values a drawing visits: from StepBase up to Max (a millionth of
    // the span beyond, so that rounding does not lose Max itself) when the
    // axis is sampled; Origin alone when it is not.
    std::vector<float> Values(bool sampled) const;

private:
    float MinValue = 0.0f;
    float MaxValue = 0.0f;
    float OriginValue = 0.0f;
    float StepValue = 0.1f;
};
