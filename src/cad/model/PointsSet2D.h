#pragma once

// The growable array of control points every shape keeps.

#include <functional>
#include <span>
#include <vector>

#include "cad/geometry/CADBaseTypes.h"

class TDecorativeCanvas;

class TPointsSet2D {
public:
    // Sizes are held in 32 bits so that long traced outlines never wrap.
    static constexpr int MaxPoints = 0x3FFFFFFF;

    explicit TPointsSet2D(int capacity);
    virtual ~TPointsSet2D() = default;

    virtual TPoint2D Get(int index) const;
    virtual void Put(int index, TPoint2D point);

    TPoint2D operator[](int index) const { return Get(index); }

    void SetPoint(int index, TPoint2D point);
    void Append(TPoint2D point);
    void AddPoints(std::span<const TPoint2D> points);
    void Delete(int index);
    void Insert(int index, TPoint2D point);
    void Clear() { CountValue = 0; }
    void CopyFrom(const TPointsSet2D& source, int first, int last);
    TRect2D Extent() const;

    void DrawAsPolyline(TDecorativeCanvas& canvas, const TRect2D& clipBox, const TRect2D& objectBox,
                        const TTransform2D& t) const;
    void DrawAsPolygon(TDecorativeCanvas& canvas, const TRect2D& clipBox, const TRect2D& objectBox,
                       const TTransform2D& t) const;

    void SetNotifySuspended(bool suspended) { NotifySuspended = suspended; }
    bool GetNotifySuspended() const { return NotifySuspended; }

    int Count() const { return CountValue; }
    int Capacity() const { return static_cast<int>(Points.size()); }
    const TPoint2D* Data() const { return Points.data(); }

    bool GrowingEnabled = true;
    std::function<void(TPointsSet2D&)> OnChange;

protected:
    void Notify();

private:
    void GrowTo(int capacity, const char* operation);
    void CheckIndex(int index, const char* operation) const;

    std::vector<TPoint2D> Points;
    int CountValue = 0;
    bool NotifySuspended = false;
    bool Notifying = false;
};
