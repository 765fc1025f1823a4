#include "cad/shapes/Container2D.h"

#include <string>

#include "cad/base/CADMessageSink.h"
#include "cad/canvas/DecorativeCanvas.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/ClassRegistry.h"
#include "cad/model/GraphicObjectStream.h"
#include "cad/shapes/Block2D.h"
#include "cad/shapes/SourceBlock2D.h"
#include "cad/stream/CADStream.h"

namespace {

// Containers nest in streams without a limit of their own; a damaged or
// hostile file must not exhaust the stack.
constexpr int MaxNestingDepth = 64;
thread_local int NestingDepth = 0;

class TNestingGuard {
public:
    explicit TNestingGuard(const TCADStreamReader& stream)
    {
        if (NestingDepth >= MaxNestingDepth)
            throw ECADFileNotValid(stream.SourceName() + ": containers nested deeper than " +
                                   std::to_string(MaxNestingDepth) + " levels at byte " +
                                   std::to_string(stream.Position()));
        ++NestingDepth;
    }
    ~TNestingGuard() { --NestingDepth; }
    TNestingGuard(const TNestingGuard&) = delete;
    TNestingGuard& operator=(const TNestingGuard&) = delete;
};

// A class code and a record take at least this many bytes (the code and the
// identity, layer and flags of every object).
constexpr std::size_t SmallestChildRecord = 2 + 6;

} // namespace

TContainer2D::TContainer2D() : Children(std::make_unique<TGraphicObjList>()) {}

TContainer2D::TContainer2D(std::int32_t id, std::vector<std::unique_ptr<TObject2D>> objects)
    : Children(std::make_unique<TGraphicObjList>())
{
    ID = id;
    for (std::unique_ptr<TObject2D>& object : objects)
        if (object)
            Children->Add(std::move(object));
    UpdateExtension();
}

TContainer2D::~TContainer2D()
{
    FreeChildren();
}

void TContainer2D::FreeChildren()
{
    auto iterator = Children->GetPrivilegedIterator();
    if (FreeUnreferencedInPasses(*iterator))
        return;
    while (iterator->First()) {
        try {
            ShowCADMessage("TSourceBlock2D.Destroy: This source block is referenced and cannot be deleted");
        } catch (...) {
            // Freeing goes on whatever the message sink does.
        }
        // Left to the references that still use it.
        static_cast<void>(iterator->RemoveCurrent().release());
    }
}

void TContainer2D::ComputeExtension()
{
    if (Children->Count() == 0) {
        SetBox(MakeRect2D(0, 0, 0, 0));
        return;
    }
    auto iterator = Children->GetIterator();
    bool first = true;
    TRect2D box = MakeRect2D(0, 0, 0, 0);
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        const auto* child = dynamic_cast<const TObject2D*>(object);
        if (!child)
            continue;
        box = first ? TRect2D(child->Box) : UnionBox2D(box, child->Box);
        first = false;
    }
    SetBox(HasTransform() ? TransformBox2D(box, GetTransform()) : box);
}

void TContainer2D::Assign(const TGraphicObject& other)
{
    if (&other == this)
        return;
    const auto* source = dynamic_cast<const TContainer2D*>(&other);
    if (source && source->Children->HasExclusiveIterator())
        throw ECADListBlocked("TContainer2D.Assign: The list has an exclusive iterator.");
    TObject2D::Assign(other);
    if (!source)
        return;
    FreeChildren();
    auto iterator = source->Children->GetIterator();
    for (TGraphicObject* child = iterator->First(); child; child = iterator->Next()) {
        std::unique_ptr<TGraphicObject> copy = CADCoreFindClassByName(child->ClassName()).Create();
        copy->ID = child->ID;
        copy->Assign(*child);
        Children->Add(std::move(copy));
    }
}

void TContainer2D::Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
                        int drawMode)
{
    const TTransform2D full = MultiplyTransforms2D(GetTransform(), viewTransform);
    const TPenState pen = canvas.Pen;
    const TBrushState brush = canvas.Brush;
    auto iterator = Children->GetIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        auto* child = dynamic_cast<TObject2D*>(object);
        // A child wholly outside the clip draws nothing; through block
        // references it may be thousands of objects that need not be visited.
        if (!child || !BoxesOverlap2D(TransformBox2D(child->Box, full), clipBox))
            continue;
        canvas.Pen = pen;
        canvas.Brush = brush;
        child->Draw(full, canvas, clipBox, drawMode);
    }
}

void TContainer2D::PaintControlPoints(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, int markerSize,
                                      const TRect2D& clipBox)
{
    if (Children->Count() > 0)
        TObject2D::PaintControlPoints(viewTransform, canvas, markerSize, clipBox);
}

int TContainer2D::HitTest(TPoint2D point, float& distance, float aperture) const
{
    int result = TObject2D::HitTest(point, distance, aperture);
    if (result != PICK_INBBOX)
        return result;
    const TPoint2D local = HasTransform() ? ApplyTransform2D(point, InvertTransform2D(GetTransform())) : point;
    float best = 2.0f * aperture;
    auto iterator = Children->GetIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        const auto* child = dynamic_cast<const TObject2D*>(object);
        if (!child)
            continue;
        float childDistance = PICK_FAR_DISTANCE;
        const int code = child->HitTest(local, childDistance, aperture);
        if (code >= PICK_INOBJECT && childDistance < best) {
            result = child->ID;
            best = childDistance;
        }
    }
    distance = best;
    return result;
}

void TContainer2D::LoadFromStream(TCADStreamReader& stream, std::string_view version)
{
    const TNestingGuard nesting(stream);
    TObject2D::LoadFromStream(stream, version);
    FreeChildren();
    const std::int32_t count = stream.ReadInt32();
    stream.RequireItems(count, SmallestChildRecord, "child count");
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int16_t classCode = stream.ReadInt16();
        std::unique_ptr<TGraphicObject> child;
        try {
            child = CreateObjectFromStream(classCode, stream, version);
        } catch (const ECADRecordRejected& rejected) {
            ShowCADMessage(rejected.what());
            continue;
        }
        auto* child2D = dynamic_cast<TObject2D*>(child.get());
        if (!child2D) {
            ShowCADMessage("Not 2D Object. Object discarded.");
            continue;
        }
        if (!dynamic_cast<TBlock2D*>(child2D))
            child2D->UpdateExtension();
        Children->Add(std::move(child));
    }
}

void TContainer2D::SaveToStream(TCADStreamWriter& stream)
{
    TObject2D::SaveToStream(stream);
    stream.WriteInt32(Children->Count());
    auto iterator = Children->GetPrivilegedIterator();
    for (TGraphicObject* child = iterator->First(); child; child = iterator->Next())
        WriteObjectRecord(stream, *child);
}
