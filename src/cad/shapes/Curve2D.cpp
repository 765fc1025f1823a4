#include "cad/shapes/Curve2D.h"

#include "cad/base/CADExceptions.h"
#include "cad/geometry/Clipping2D.h"
#include "cad/geometry/Geometry2D.h"

TCurve2D::TCurve2D(std::int32_t id, int controlPointCount, std::int16_t precision)
    : TOutline2D(id, controlPointCount), CurvePrecision(precision)
{
    Points()->GrowingEnabled = false;
}

TRect2D TCurve2D::StartProfile(int capacity)
{
    if (Profile)
        Profile->Clear();
    else
        Profile = std::make_unique<TPointsSet2D>(capacity);
    Profile->GrowingEnabled = true;
    ++ProfileUseCount;
    return MakeRect2D(0, 0, 0, 0);
}

TRect2D TCurve2D::BuildProfilePoints()
{
    return StartProfile(0);
}

TRect2D TCurve2D::ProfileBox() const
{
    return TransformBox2D(Profile->Extent(), GetTransform());
}

void TCurve2D::ReleaseProfile()
{
    --ProfileUseCount;
    if (ProfileUseCount <= 0) {
        Profile.reset();
        ProfileUseCount = 0;
    }
}

void TCurve2D::ComputeExtension()
{
    if (PointCount() == 0)
        return;
    if (SavingType == 1) {
        ReleaseProfile();
        SetBox(BuildProfilePoints());
    } else if (SavingType == 0) {
        SetBox(BuildProfilePoints());
        ReleaseProfile();
    }
}

void TCurve2D::BeginUseProfilePoints()
{
    if (SavingType != 0)
        return;
    try {
        SetBox(BuildProfilePoints());
    } catch (...) {
        ReleaseProfile();
        throw;
    }
}

void TCurve2D::ReleaseProfilePoints()
{
    if (SavingType == 0)
        ReleaseProfile();
}

const TPointsSet2D& TCurve2D::ProfilePoints() const
{
    if (!Profile)
        throw ECADCoreException("TCurve2D: Call BeginUseProfilePoints before accessing the curve points.");
    return *Profile;
}

int TCurve2D::ProfilePointCount() const
{
    return ProfilePoints().Count();
}

void TCurve2D::SetSavingPoints(std::uint8_t savingType)
{
    if (savingType == SavingType)
        return;
    // The kept profile goes with the keep flag; otherwise it would outlive
    // every use under the transient mode.
    if (SavingType == 1 && Profile)
        ReleaseProfile();
    SavingType = savingType;
    UpdateExtension();
}

void TCurve2D::SetCurvePrecision(std::int16_t precision)
{
    CurvePrecision = precision;
}

void TCurve2D::Assign(const TGraphicObject& other)
{
    if (&other == this)
        return;
    TOutline2D::Assign(other);
    if (const auto* source = dynamic_cast<const TCurve2D*>(&other)) {
        SetCurvePrecision(source->CurvePrecision);
        SetSavingPoints(source->SavingType);
    }
}

void TCurve2D::DrawProfile(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
                           bool filled)
{
    TProfileUse use(*this);
    if (!Profile)
        return;
    const TTransform2D t = MultiplyTransforms2D(GetTransform(), viewTransform);
    if (filled)
        Profile->DrawAsPolygon(canvas, clipBox, Profile->Extent(), t);
    else
        Profile->DrawAsPolyline(canvas, clipBox, Profile->Extent(), t);
}

void TCurve2D::Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox, int)
{
    DrawProfile(viewTransform, canvas, clipBox, false);
}

int TCurve2D::HitTest(TPoint2D point, float& distance, float aperture) const
{
    return PickProfile(TOutline2D::HitTest(point, distance, aperture), point, distance, aperture, false);
}

int TCurve2D::PickFilledProfile(TPoint2D point, float& distance, float aperture) const
{
    return PickProfile(TCurve2D::HitTest(point, distance, aperture), point, distance, aperture, true);
}

int TCurve2D::PickProfile(int code, TPoint2D point, float& distance, float aperture, bool filled) const
{
    if (code != PICK_INBBOX)
        return code;
    TProfileUse use(*this);
    if (!Profile)
        return code;
    float pickDistance = 0.0f;
    const int pick =
        filled ? PickPolygon2D(Profile->Data(), Profile->Count(), point, GetTransform(), aperture, pickDistance)
               : PickPolyline2D(Profile->Data(), Profile->Count(), point, false, GetTransform(), aperture,
                                pickDistance);
    return MergeOutlinePick(pick, pickDistance, aperture, distance);
}
