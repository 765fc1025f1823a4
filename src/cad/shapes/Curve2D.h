#pragma once

// Shapes whose outline (the profile) is computed from their control points.
// With SavingType 1 the profile is kept and rebuilt on every change; with 0 it
// exists only between BeginUseProfilePoints and ReleaseProfilePoints.

#include "cad/shapes/Outline2D.h"

class TCurve2D : public TOutline2D {
public:
    static constexpr std::int16_t DefaultPrecision = 50;

    // SavingType 1, no profile; the control-point set is not growable.
    TCurve2D(std::int32_t id, int controlPointCount, std::int16_t precision);

    std::string ClassName() const override { return "TCurve2D"; }
    void ComputeExtension() override;
    // Precision, then SavingType, through the setters.
    void Assign(const TGraphicObject& other) override;
    void Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
              int drawMode) override;
    int HitTest(TPoint2D point, float& distance, float aperture) const override;
    // CurvePrecision, SavingType.
    void LoadFromStream(TCADStreamReader& stream, std::string_view version) override;
    void SaveToStream(TCADStreamWriter& stream) override;
    // A precision above the class's usual one pays its profile points; one
    // the file's budget cannot pay falls back to the usual precision.
    void TakeFromFileBudgets(TCADStreamReader& stream) override;

    // Raise when there is no profile.
    const TPointsSet2D& ProfilePoints() const override;
    int ProfilePointCount() const override;
    void BeginUseProfilePoints() override;
    void ReleaseProfilePoints() override;

    // A change is stored and the extension updated.
    void SetSavingPoints(std::uint8_t savingType);
    // Stored when different; takes effect at the next update.
    void SetCurvePrecision(std::int16_t precision);
    bool HasProfile() const { return Profile != nullptr; }

    // The stream record's fields; a reader sets them directly.
    std::int16_t CurvePrecision = DefaultPrecision;
    std::uint8_t SavingType = 1;

protected:
    // The precision a new curve of the class is given.
    virtual std::int16_t UsualPrecision() const { return DefaultPrecision; }
    // Builds the profile and returns its box through GetTransform. Each class
    // starts with StartProfile; the base builds an empty profile.
    virtual TRect2D BuildProfilePoints();
    // Empties (or creates) the profile and takes one use of it; returns the
    // empty box (0, 0)-(0, 0).
    TRect2D StartProfile(int capacity);
    TPointsSet2D& ProfileSet() { return *Profile; }
    // A positive precision and enough control points: otherwise the profile
    // stays empty and the box is (0, 0)-(0, 0).
    bool CanBuildProfile() const { return CurvePrecision > 0 && HasRequiredPoints(); }
    // The built profile's extent through GetTransform.
    TRect2D ProfileBox() const;

    void DrawProfile(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
                     bool filled);
    // The curve test, then for filled outlines a click inside gives -2.
    int PickFilledProfile(TPoint2D point, float& distance, float aperture) const;

private:
    void ReleaseProfile();
    // Inside the box (PICK_INBBOX): the profile picked as an open polyline or,
    // filled, as a polygon, merged by the outline rule; any other code as it is.
    int PickProfile(int code, TPoint2D point, float& distance, float aperture, bool filled) const;

    std::unique_ptr<TPointsSet2D> Profile;
    int ProfileUseCount = 0;
};
