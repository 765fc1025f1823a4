#include "view3d/objects/SamplingScale.h"

#include <algorithm>
#include <cmath>

#include "cad/geometry/VectorMath3.h"

TGLSamplingScale::TGLSamplingScale(TGLNotifyObject* owner) : TGLUpdateAbleObject(owner) {}

void TGLSamplingScale::SetMin(float value)
{
    if (value == MinValue)
        return;
    MinValue = value;
    if (MinValue > MaxValue)
        MaxValue = MinValue;
    NotifyChange(this);
}

void TGLSamplingScale::SetMax(float value)
{
    if (value == MaxValue)
        return;
    MaxValue = value;
    if (MaxValue < MinValue)
        MinValue = MaxValue;
    NotifyChange(this);
}

void TGLSamplingScale::SetOrigin(float value)
{
    if (value == OriginValue)
        return;
    OriginValue = value;
    NotifyChange(this);
}

void TGLSamplingScale::SetStep(float value)
{
    if (value == StepValue)
        return;
    StepValue = value;
    NotifyChange(this);
}

void TGLSamplingScale::Assign(const TGLSamplingScale& source)
{
    MinValue = source.MinValue;
    MaxValue = source.MaxValue;
    OriginValue = source.OriginValue;
    StepValue = source.StepValue;
    NotifyChange(this);
}

float TGLSamplingScale::StepBase() const
{
    if (OriginValue == MinValue || !HasSteps())
        return MinValue;
    // Rounded down, also for an Origin a whole number of steps below Min,
    // which is itself the first value then. Kept in floating point: the
    // quotient may be far beyond any integer.
    const double steps = std::floor((double(OriginValue) - MinValue) / StepValue);
    return static_cast<float>(OriginValue - steps * StepValue);
}

int TGLSamplingScale::MaxStepCount() const
{
    if (!HasSteps())
        return 0;
    const float count = (MaxValue - MinValue) / StepValue + 0.5f;
    if (!(count < static_cast<float>(MaxSteps)))
        return MaxSteps;
    return RoundSingle(count);
}

std::vector<float> TGLSamplingScale::Values(bool sampled) const
{
    if (!sampled)
        return {OriginValue};
    if (!HasSteps())
        return {MinValue};
    const double base = StepBase();
    const double end = MaxValue + (double(MaxValue) - MinValue) * 1e-6;
    const double steps = std::floor((end - base) / StepValue);
    if (!(steps >= 0.0))
        return {};
    const int count = static_cast<int>(std::min(steps, double(MaxSteps))) + 1;
    std::vector<float> values;
    values.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        values.push_back(static_cast<float>(base + double(i) * StepValue));
    return values;
}
