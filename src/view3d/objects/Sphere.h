#pragma once

// A sphere, or a band or wedge of one, between two latitudes and two
// longitudes (degrees), with its open ends capped or not.

#include "view3d/objects/ChangeProperty.h"
#include "view3d/objects/QuadricObject.h"

enum class TCapType { ctNone, ctCenter, ctFlat };

class TGLSphere : public TGLQuadricObject {
public:
    explicit TGLSphere(TGLNotifyObject* owner = nullptr);

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    float Radius() const { return RadiusValue; }
    void SetRadius(float value) { ChangeProperty(*this, RadiusValue, value); }
    int Slices() const { return SliceCount; }
    void SetSlices(int value) { ChangeProperty(*this, SliceCount, value); }
    int Stacks() const { return StackCount; }
    void SetStacks(int value) { ChangeProperty(*this, StackCount, value); }
    // Latitudes from -90 to 90, Top above Bottom.
    int Top() const { return TopLatitude; }
    void SetTop(int value) { ChangeProperty(*this, TopLatitude, value); }
    int Bottom() const { return BottomLatitude; }
    void SetBottom(int value) { ChangeProperty(*this, BottomLatitude, value); }
    // Longitudes from 0 to 360, Start below Stop.
    int Start() const { return StartLongitude; }
    void SetStart(int value) { ChangeProperty(*this, StartLongitude, value); }
    int Stop() const { return StopLongitude; }
    void SetStop(int value) { ChangeProperty(*this, StopLongitude, value); }
    TCapType TopCap() const { return TopCapType; }
    void SetTopCap(TCapType value) { ChangeProperty(*this, TopCapType, value); }
    TCapType BottomCap() const { return BottomCapType; }
    void SetBottomCap(TCapType value) { ChangeProperty(*this, BottomCapType, value); }

    void BuildList(TRenderContextInfo& rci) override;
    Vector3f AxisAlignedDimensionsUnscaled() const override;

private:
    // A cap closing the sphere at a latitude (radians); upper says which end.
    void DrawCap(float latitude, TCapType cap, bool upper) const;
    void Vertex(float latitude, float longitude) const;

    float RadiusValue = 0.5f;
    int SliceCount = 16;
    int StackCount = 16;
    int TopLatitude = 90;
    int BottomLatitude = -90;
    int StartLongitude = 0;
    int StopLongitude = 360;
    TCapType TopCapType = TCapType::ctNone;
    TCapType BottomCapType = TCapType::ctNone;
};
