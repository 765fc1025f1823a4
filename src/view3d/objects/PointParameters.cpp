#include "view3d/objects/PointParameters.h"

#include <GL/gl.h>

#include <algorithm>

#include "view3d/opengl/GLCapabilities.h"
#include "view3d/opengl/GLEntryPoints.h"

namespace {

bool Offered()
{
    const TGLEntryPoints& entries = GLEntryPoints();
    return GLCapabilities().Has(kARB_point_parameters) && entries.PointParameterfARB && entries.PointParameterfvARB;
}

void Send(float minimum, float maximum, float fadeTreshold, const float* attenuation)
{
    const TGLEntryPoints& entries = GLEntryPoints();
    entries.PointParameterfARB(GL_POINT_SIZE_MIN_ARB, minimum);
    entries.PointParameterfARB(GL_POINT_SIZE_MAX_ARB, maximum);
    entries.PointParameterfARB(GL_POINT_FADE_THRESHOLD_SIZE_ARB, fadeTreshold);
    entries.PointParameterfvARB(GL_POINT_DISTANCE_ATTENUATION_ARB, attenuation);
}

} // namespace

TGLPointParameters::TGLPointParameters(TGLNotifyObject* owner)
    : TGLUpdateAbleObject(owner), Attenuation(this, TGLCoordinatesStyle::csUnknown, {1.0f, 0.0f, 0.0f, 0.0f})
{
}

void TGLPointParameters::SetEnabled(bool value)
{
    if (IsEnabled == value)
        return;
    IsEnabled = value;
    NotifyChange(this);
}

void TGLPointParameters::SetSize(float& size, float value)
{
    value = std::max(value, 0.0f);
    if (size == value)
        return;
    size = value;
    NotifyChange(this);
}

void TGLPointParameters::SetMinSize(float value)
{
    SetSize(Minimum, value);
}

void TGLPointParameters::SetMaxSize(float value)
{
    SetSize(Maximum, value);
}

void TGLPointParameters::SetFadeTresholdSize(float value)
{
    SetSize(FadeTreshold, value);
}

void TGLPointParameters::Apply() const
{
    if (IsEnabled && Offered())
        Send(Minimum, Maximum, FadeTreshold, Attenuation.AsAddress());
}

void TGLPointParameters::UnApply() const
{
    if (!IsEnabled || !Offered())
        return;
    const float noAttenuation[3] = {1.0f, 0.0f, 0.0f};
    Send(0.0f, 128.0f, 1.0f, noAttenuation);
}

void TGLPointParameters::Assign(const TGLPointParameters& source)
{
    IsEnabled = source.IsEnabled;
    Minimum = source.Minimum;
    Maximum = source.Maximum;
    FadeTreshold = source.FadeTreshold;
    Attenuation.Assign(source.Attenuation);
    NotifyChange(this);
}
