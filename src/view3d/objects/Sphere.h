#pragma once

// A sphere, or a band or wedge of one, between two latitudes and two
// longitudes (degrees), with its open ends capped or not.

#include "view3d/objects/QuadricObject.h"

enum class TCapType { ctNone, ctCenter, ctFlat };

class TGLSphere : public TGLQuadricObject {
public:
    explicit TGLSphere(TGLNotifyObject* owner = nullptr);

    std::unique_ptr<TGLBaseSceneObject> CreateNew() const override;
    void Assign(const TGLBaseSceneObject& source) override;

    float Radius() const { return RadiusValue; }
    void SetRadius(float value) { Set(RadiusValue, value); }
    int Slices() const { return SliceCount; }
    void SetSlices(int value) { Set(SliceCount, value); }
    int Stacks() const { return StackCount; }
    void SetStacks(int value) { Set(StackCount, value); }
    // Latitudes from -90 to 90, Top above Bottom.
    int Top() const { return TopLatitude; }
    void SetTop(int value) { Set(TopLatitude, value); }
    int Bottom() const { return BottomLatitude; }
    void SetBottom(int value) { Set(BottomLatitude, value); }
    // Longitudes from 0 to 360, Start below Stop.
    int Start() const { return StartLongitude; }
    void SetStart(int value) { Set(StartLongitude, value); }
    int Stop() const { return StopLongitude; }
    void SetStop(int value) { Set(StopLongitude, value); }
    TCapType TopCap() const { return TopCapType; }
    void SetTopCap(TCapType value) { Set(TopCapType, value); }
    TCapType BottomCap() const { return BottomCapType; }
    void SetBottomCap(TCapType value) { Set(BottomCapType, value); }

    void BuildList(TRenderContextInfo& rci) override;
    Vector3f AxisAlignedDimensionsUnscaled() const override;

private:
    template <class T>
    void Set(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        StructureChanged();
    }
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
