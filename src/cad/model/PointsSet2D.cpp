#include "cad/model/PointsSet2D.h"

#include <algorithm>
#include <string>

#include "cad/base/CADExceptions.h"
#include "cad/canvas/ClippedDrawing2D.h"

TPointsSet2D::TPointsSet2D(int capacity)
{
    if (capacity < 0 || capacity > MaxPoints)
        throw ECADOutOfBound("TPointsSet2D.Create: Vector out of bound");
    Points.resize(static_cast<std::size_t>(capacity));
}

void TPointsSet2D::GrowTo(int capacity, const char* operation)
{
    if (capacity > MaxPoints)
        throw ECADOutOfBound(std::string("TPointsSet2D.") + operation + ": Vector out of bound");
    if (capacity > Capacity())
        Points.resize(static_cast<std::size_t>(capacity));
}

void TPointsSet2D::CheckIndex(int index, const char* operation) const
{
    if (index < 0 || index >= CountValue)
        throw ECADOutOfBound(std::string("TPointsSet2D.") + operation + ": Vector out of bound");
}

TPoint2D TPointsSet2D::Get(int index) const
{
    if (index < 0 || index >= CountValue)
        throw ECADOutOfBound("TPointsSet2D.Get: Index out of bound");
    return Points[static_cast<std::size_t>(index)];
}

void TPointsSet2D::Put(int index, TPoint2D point)
{
    if (index < 0)
        throw ECADOutOfBound("TPointsSet2D.Put: Vector out of bound");
    if (index >= Capacity()) {
        if (!GrowingEnabled || index >= MaxPoints)
            throw ECADOutOfBound("TPointsSet2D.Put: Vector out of bound");
        GrowTo(static_cast<int>(std::min<long long>(std::max<long long>(index + 1LL, 2LL * Capacity() + 1), MaxPoints)),
               "Put");
    }
    Points[static_cast<std::size_t>(index)] = point;
    if (index >= CountValue)
        CountValue = index + 1;
}

void TPointsSet2D::SetPoint(int index, TPoint2D point)
{
    Put(index, point);
    Notify();
}

void TPointsSet2D::Append(TPoint2D point)
{
    SetPoint(CountValue, point);
}

void TPointsSet2D::AddPoints(std::span<const TPoint2D> points)
{
    const int n = static_cast<int>(points.size());
    if (!GrowingEnabled && Capacity() < n - 1)
        throw ECADOutOfBound("TPointsSet2D.AddPoints: Vector out of bound");
    if (n > MaxPoints - CountValue)
        throw ECADOutOfBound("TPointsSet2D.AddPoints: Vector out of bound");
    GrowTo(std::min(Capacity() + n, MaxPoints), "AddPoints");
    for (const TPoint2D& p : points)
        Points[static_cast<std::size_t>(CountValue++)] = p;
    Notify();
}

void TPointsSet2D::Delete(int index)
{
    CheckIndex(index, "Delete");
    Points.erase(Points.begin() + index);
    Points.push_back(TPoint2D{});
    --CountValue;
    Notify();
}

void TPointsSet2D::Insert(int index, TPoint2D point)
{
    CheckIndex(index, "Insert");
    Put(CountValue, point);
    std::rotate(Points.begin() + index, Points.begin() + CountValue - 1, Points.begin() + CountValue);
    Notify();
}

void TPointsSet2D::CopyFrom(const TPointsSet2D& source, int first, int last)
{
    if (last >= 0)
        GrowTo(std::min(last + 1, MaxPoints), "CopyFrom");
    for (int i = std::max(first, 0); i <= last; ++i) {
        // Points the source does not hold are skipped, one by one.
        if (i >= source.Count() || i >= Capacity())
            continue;
        Points[static_cast<std::size_t>(i)] = source.Points[static_cast<std::size_t>(i)];
        if (i >= CountValue)
            CountValue = i + 1;
    }
    Notify();
}

TRect2D TPointsSet2D::Extent() const
{
    TRect2D box{TPoint2D{0, 0, 1}, TPoint2D{0, 0, 1}};
    if (CountValue == 0)
        return box;
    auto cartesian = [](TPoint2D p) {
        if (p.W != 1.0f && p.W != 0.0f)
            return TPoint2D{p.X / p.W, p.Y / p.W, 1.0f};
        return p;
    };
    const TPoint2D first = cartesian(Points[0]);
    box.FirstEdge = {first.X, first.Y, 1.0f};
    box.SecondEdge = box.FirstEdge;
    for (int i = 1; i < CountValue; ++i) {
        const TPoint2D p = cartesian(Points[static_cast<std::size_t>(i)]);
        if (p.X > box.SecondEdge.X)
            box.SecondEdge.X = p.X;
        else if (p.X < box.FirstEdge.X)
            box.FirstEdge.X = p.X;
        if (p.Y > box.SecondEdge.Y)
            box.SecondEdge.Y = p.Y;
        else if (p.Y < box.FirstEdge.Y)
            box.FirstEdge.Y = p.Y;
    }
    return box;
}

void TPointsSet2D::DrawAsPolyline(TDecorativeCanvas& canvas, const TRect2D& clipBox, const TRect2D& objectBox,
                                  const TTransform2D& t) const
{
    DrawPolylineClipped2D(Points.data(), Capacity(), canvas, false, CountValue - 1, 0, t, objectBox, clipBox);
}

void TPointsSet2D::DrawAsPolygon(TDecorativeCanvas& canvas, const TRect2D& clipBox, const TRect2D& objectBox,
                                 const TTransform2D& t) const
{
    DrawPolygonClipped2D(Points.data(), Capacity(), canvas, CountValue - 1, 0, t, objectBox, clipBox);
}

void TPointsSet2D::Notify()
{
    if (!OnChange || NotifySuspended || Notifying)
        return;
    Notifying = true;
    try {
        OnChange(*this);
    } catch (...) {
        Notifying = false;
        throw;
    }
    Notifying = false;
}
