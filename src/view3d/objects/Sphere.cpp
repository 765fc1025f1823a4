#include "view3d/objects/Sphere.h"

#include <cmath>
#include <numbers>

#include "view3d/opengl/GLFunctions.h"

namespace {

float Radians(int degrees)
{
    return float(degrees) * std::numbers::pi_v<float> / 180.0f;
}

} // namespace

TGLSphere::TGLSphere(TGLNotifyObject* owner) : TGLQuadricObject(owner) {}

void TGLSphere::Vertex(float latitude, float longitude) const
{
    // On the unit sphere the point is its own normal.
    const float x = std::cos(latitude) * std::sin(longitude);
    const float y = std::sin(latitude);
    const float z = std::cos(latitude) * std::cos(longitude);
    const float sign = NormalDirection() == TNormalDirection::ndInside ? -1.0f : 1.0f;
    if (Normals() != TNormalSmoothing::nsNone)
        GL().Normal3f(x * sign, y * sign, z * sign);
    GL().Vertex3f(x, y, z);
}

void TGLSphere::DrawCap(float latitude, TCapType cap, bool upper) const
{
    if (cap == TCapType::ctNone)
        return;
    const TGLFunctions& gl = GL();
    const float start = Radians(StartLongitude);
    const float step = (Radians(StopLongitude) - start) / float(SliceCount);
    const float centreY = cap == TCapType::ctFlat ? std::sin(latitude) : 0.0f;
    const float facing = (upper ? 1.0f : -1.0f) * (NormalDirection() == TNormalDirection::ndInside ? -1.0f : 1.0f);
    gl.Begin(GL_TRIANGLE_FAN);
    if (Normals() != TNormalSmoothing::nsNone)
        gl.Normal3f(0, facing, 0);
    gl.Vertex3f(0, centreY, 0);
    for (int i = 0; i <= SliceCount; ++i) {
        // Counter-clockwise seen from the side the cap faces.
        const float longitude = upper ? start + step * float(i) : start + step * float(SliceCount - i);
        if (Normals() != TNormalSmoothing::nsNone)
            gl.Normal3f(0, facing, 0);
        gl.Vertex3f(std::cos(latitude) * std::sin(longitude), std::sin(latitude),
                    std::cos(latitude) * std::cos(longitude));
    }
    gl.End();
}

void TGLSphere::BuildList(TRenderContextInfo& /*rci*/)
{
    if (SliceCount < 1 || StackCount < 1)
        return;
    const TGLFunctions& gl = GL();
    const float top = Radians(TopLatitude);
    const float bottom = Radians(BottomLatitude);
    const float start = Radians(StartLongitude);
    const float latitudeStep = (top - bottom) / float(StackCount);
    const float longitudeStep = (Radians(StopLongitude) - start) / float(SliceCount);
    gl.PushMatrix();
    gl.Scalef(RadiusValue, RadiusValue, RadiusValue);
    if (TopLatitude < 90)
        DrawCap(top, TopCapType, true);
    for (int j = 0; j < StackCount; ++j) {
        const float upper = top - latitudeStep * float(j);
        const float lower = upper - latitudeStep;
        gl.Begin(GL_TRIANGLE_STRIP);
        for (int i = 0; i <= SliceCount; ++i) {
            const float longitude = start + longitudeStep * float(i);
            Vertex(upper, longitude);
            Vertex(lower, longitude);
        }
        gl.End();
    }
    if (BottomLatitude > -90)
        DrawCap(bottom, BottomCapType, false);
    gl.PopMatrix();
}

Vector3f TGLSphere::AxisAlignedDimensionsUnscaled() const
{
    const float r = std::abs(RadiusValue);
    return {r, r, r};
}

std::unique_ptr<TGLBaseSceneObject> TGLSphere::CreateNew() const
{
    return std::make_unique<TGLSphere>();
}

void TGLSphere::Assign(const TGLBaseSceneObject& source)
{
    const auto* other = dynamic_cast<const TGLSphere*>(&source);
    if (other && other != this) {
        RadiusValue = other->RadiusValue;
        SliceCount = other->SliceCount;
        StackCount = other->StackCount;
        TopLatitude = other->TopLatitude;
        BottomLatitude = other->BottomLatitude;
        StartLongitude = other->StartLongitude;
        StopLongitude = other->StopLongitude;
        TopCapType = other->TopCapType;
        BottomCapType = other->BottomCapType;
        StructureChanged();
    }
    TGLQuadricObject::Assign(source);
}
