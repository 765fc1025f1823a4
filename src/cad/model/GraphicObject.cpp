#include "cad/model/GraphicObject.h"

#include <atomic>

#include "cad/canvas/ClippedDrawing2D.h"
#include "cad/canvas/DecorativeCanvas.h"
#include "cad/geometry/Geometry2D.h"

void TGraphicObject::Assign(const TGraphicObject& other)
{
    if (&other == this)
        return;
    Visible = other.Visible;
    Enabled = other.Enabled;
    ToBeSaved = other.ToBeSaved;
}

void TGraphicObject::UpdateExtension()
{
    ComputeExtension();
    if (OnChange)
        OnChange(*this);
}

namespace {

std::atomic<std::uint64_t> BoxChangeCount{0};

bool SameBox(const TRect2D& a, const TRect2D& b)
{
    return a.FirstEdge.X == b.FirstEdge.X && a.FirstEdge.Y == b.FirstEdge.Y && a.FirstEdge.W == b.FirstEdge.W &&
           a.SecondEdge.X == b.SecondEdge.X && a.SecondEdge.Y == b.SecondEdge.Y && a.SecondEdge.W == b.SecondEdge.W;
}

} // namespace

std::uint64_t TObject2D::BoxChanges()
{
    return BoxChangeCount.load(std::memory_order_relaxed);
}

void TObject2D::SetBox(const TRect2D& box)
{
    // Recomputing an unchanged box is common (every extension query does it)
    // and must not make the caches rebuild.
    if (SameBox(Box, box))
        return;
    static_cast<TRect2D&>(Box) = box;
    BoxChangeCount.fetch_add(1, std::memory_order_relaxed);
}

void TObject2D::Assign(const TGraphicObject& other)
{
    if (&other == this)
        return;
    TGraphicObject::Assign(other);
    const auto* source = dynamic_cast<const TObject2D*>(&other);
    if (!source)
        return;
    SetModelTransform(source->GetTransform());
    SetBox(source->Box);
    if (source->Handler != Handler)
        SetHandler(source->Handler);
}

TTransform2D TObject2D::GetTransform() const
{
    if (Model && Current)
        return MultiplyTransforms2D(*Model, *Current);
    if (Model)
        return *Model;
    if (Current)
        return *Current;
    return IdentityTransform2D;
}

void TObject2D::SetCurrentTransform(const TTransform2D& t)
{
    if (SameTransform2D(t, IdentityTransform2D))
        Current.reset();
    else
        Current = t;
    UpdateExtension();
}

bool TObject2D::HasTransform() const
{
    return Model.has_value() || Current.has_value();
}

bool TObject2D::IsVisible(const TRect2D& box) const
{
    return Visible && BoxesOverlap2D(Box, box);
}

void TObject2D::ComposeTransform(const TTransform2D& t)
{
    Current = Current ? MultiplyTransforms2D(*Current, t) : t;
}

void TObject2D::BakeTransform()
{
    const TTransform2D full = GetTransform();
    Current.reset();
    if (SameTransform2D(full, IdentityTransform2D))
        Model.reset();
    else
        Model = full;
}

void TObject2D::SetModelTransform(const TTransform2D& t)
{
    if (SameTransform2D(t, IdentityTransform2D))
        Model.reset();
    else
        Model = t;
    Current.reset();
}

void TObject2D::ResetTransform()
{
    Model.reset();
    SetCurrentTransform(IdentityTransform2D);
}

void TObject2D::SetHandler(std::shared_ptr<TObject2DHandler> handler)
{
    Handler = std::move(handler);
}

TPoint2D TObject2D::WorldToObject(TPoint2D point) const
{
    return ApplyTransform2D(point, InvertTransform2D(GetTransform()));
}

void TObject2D::TranslateBy(TPoint2D to, TPoint2D from)
{
    const TPoint2D a = CartesianPoint2D(to);
    const TPoint2D b = CartesianPoint2D(from);
    ComposeTransform(MakeTranslation2D(a.X - b.X, a.Y - b.Y));
}

void TObject2D::PaintControlPoints(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, int markerSize,
                                   const TRect2D& clipBox)
{
    if (ShowBox && canvas.Pen.Mode != TPenMode::Xor)
        DrawBox2D(canvas, Box, clipBox, viewTransform);
    if (Handler)
        Handler->DrawControlPoints(*this, viewTransform, canvas, markerSize);
}

int TObject2D::HitTest(TPoint2D point, float& distance, float aperture) const
{
    distance = PICK_FAR_DISTANCE;
    if (!Enabled)
        return PICK_NOOBJECT;
    int result = PICK_NOOBJECT;
    if (PointInBox2D(InflateBox2D(Box, aperture), point)) {
        result = PICK_INBBOX;
        distance = aperture;
    }
    if (Handler) {
        const int handlerCode = Handler->OnMe(*this, point, aperture, distance);
        if (handlerCode > result)
            result = handlerCode;
    }
    return result;
}
