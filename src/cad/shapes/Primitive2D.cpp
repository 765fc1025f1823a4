#include "cad/shapes/Primitive2D.h"

#include <algorithm>

#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/PrimitiveHandler.h"

namespace {

// Keeps a point set quiet while it is filled, even when filling fails.
class TSuspendNotify {
public:
    explicit TSuspendNotify(TPointsSet2D& set) : Set(set), Previous(set.GetNotifySuspended())
    {
        Set.SetNotifySuspended(true);
    }
    ~TSuspendNotify() { Set.SetNotifySuspended(Previous); }
    TSuspendNotify(const TSuspendNotify&) = delete;
    TSuspendNotify& operator=(const TSuspendNotify&) = delete;

private:
    TPointsSet2D& Set;
    bool Previous;
};

} // namespace

TPrimitive2D::TPrimitive2D()
{
    SetHandler(PrimitiveHandler());
}

TPrimitive2D::TPrimitive2D(std::int32_t id, int capacity)
{
    ID = id;
    NewPointsSet(capacity);
    SetHandler(PrimitiveHandler());
}

void TPrimitive2D::NewPointsSet(int capacity)
{
    PointsSet = std::make_unique<TPointsSet2D>(capacity);
    PointsSet->OnChange = [this](TPointsSet2D&) { UpdateExtension(); };
}

void TPrimitive2D::ComputeExtension()
{
    if (PointCount() > 0)
        SetBox(TransformBox2D(PointsSet->Extent(), GetTransform()));
    else
        SetBox(MakeRect2D(0, 0, 0, 0));
}

void TPrimitive2D::Assign(const TGraphicObject& other)
{
    if (&other == this)
        return;
    TObject2D::Assign(other);
    if (PointsSet)
        PointsSet->Clear();
    else
        NewPointsSet(0);
}

int TPrimitive2D::HitTest(TPoint2D point, float& distance, float aperture) const
{
    return TObject2D::HitTest(point, distance, aperture);
}

void TPrimitive2D::InitPoints(std::span<const TPoint2D> points, bool growable)
{
    if (!PointsSet)
        NewPointsSet(static_cast<int>(points.size()));
    {
        TSuspendNotify quiet(*PointsSet);
        PointsSet->GrowingEnabled = true;
        PointsSet->AddPoints(points);
        PointsSet->GrowingEnabled = growable;
    }
    UpdateExtension();
}

void TPrimitive2D::CopyPointsFrom(const TPrimitive2D& source, int first, int last, bool growable)
{
    if (!PointsSet)
        NewPointsSet(0);
    if (source.PointsSet)
        PointsSet->CopyFrom(*source.PointsSet, first, std::min(last, source.PointCount() - 1));
    PointsSet->GrowingEnabled = growable;
}

int MergeOutlinePick(int pickCode, float pickDistance, float aperture, float& distance)
{
    distance = std::min(aperture, pickDistance);
    return std::max(PICK_INBBOX, pickCode);
}

// A usable object needs the control points its class draws and picks with;
// the shapes themselves would fail on every paint without them.
std::string TPrimitive2D::LoadedObjectFault() const
{
    if (HasRequiredPoints())
        return {};
    return ClassName() + ": " + std::to_string(PointCount()) + " control points read, " +
           std::to_string(MinimumPointCount()) + " needed. Object discarded.";
}
