#include "cad/shapes/Block2D.h"

#include <algorithm>
#include <stdexcept>

#include "cad/base/CADExceptions.h"
#include "cad/canvas/ClippedDrawing2D.h"
#include "cad/geometry/Clipping2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/GraphicObjList.h"
#include "cad/stream/CADStream.h"

TBlock2D::TBlock2D(std::int32_t id, TSourceBlock2D* sourceBlock)
{
    if (!sourceBlock)
        throw std::runtime_error("TBlock2D.Create: Invalid parameter");
    ID = id;
    SourceName = sourceBlock->Name;
    SetBox(sourceBlock->Box);
    SetSourceBlock(sourceBlock);
    UpdateExtension();
}

TBlock2D::~TBlock2D()
{
    DetachSourceBlock();
}

void TBlock2D::SetSourceBlock(TSourceBlock2D* block)
{
    if (block)
        block->AddReference();
    if (Source)
        Source->ReleaseReference();
    Source = block;
}

void TBlock2D::DetachSourceBlock()
{
    SetSourceBlock(nullptr);
}

void TBlock2D::ComputeExtension()
{
    if (!Source)
        return;
    Source->UpdateExtension();
    SetBox(HasTransform() ? TransformBox2D(Source->Box, GetTransform()) : TRect2D(Source->Box));
}

void TBlock2D::Assign(const TGraphicObject& other)
{
    if (&other == this)
        return;
    TObject2D::Assign(other);
    const auto* source = dynamic_cast<const TBlock2D*>(&other);
    if (!source)
        return;
    SetSourceBlock(source->Source);
    SourceName = source->SourceName;
    OriginPoint = source->OriginPoint;
    UpdateExtension();
}

void TBlock2D::Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
                    int drawMode)
{
    if (!Source)
        return;
    const TTransform2D t = HasTransform() ? MultiplyTransforms2D(GetTransform(), viewTransform) : viewTransform;
    Source->Draw(t, canvas, clipBox, drawMode);
}

void TBlock2D::PaintControlPoints(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, int markerSize,
                                  const TRect2D& clipBox)
{
    TObject2D::PaintControlPoints(viewTransform, canvas, markerSize, clipBox);
    const TTransform2D t = HasTransform() ? MultiplyTransforms2D(GetTransform(), viewTransform) : viewTransform;
    const TWindowPoint pixel = Point2DToWindowPoint(ApplyTransform2D(OriginPoint, t));
    DrawControlPointMarker2D(canvas, pixel.X, pixel.Y, markerSize);
}

int TBlock2D::HitTest(TPoint2D point, float& distance, float aperture) const
{
    if (!Source)
        return PICK_NOOBJECT;
    const int code = TObject2D::HitTest(point, distance, aperture);
    // A disabled object is never picked, not even through its source block's children.
    if (!Enabled)
        return code;
    if (code == PICK_INBBOX) {
        const TPoint2D origin = HasTransform() ? ApplyTransform2D(OriginPoint, GetTransform()) : OriginPoint;
        float originDistance = PICK_FAR_DISTANCE;
        if (PointNearPoint2D(origin, point, originDistance, aperture)) {
            distance = originDistance;
            return PICK_ONOBJECT;
        }
    }
    const TPoint2D local = HasTransform() ? ApplyTransform2D(point, InvertTransform2D(GetTransform())) : point;
    return Source->HitTest(local, distance, aperture);
}

void TBlock2D::LoadFromStream(TCADStreamReader& stream, std::string_view version)
{
    TObject2D::LoadFromStream(stream, version);
    const std::string name = stream.ReadFixedString(BlockNameLength);
    std::copy(name.begin(), name.end(), SourceName.begin());
    OriginPoint = stream.ReadPoint2D();
}

void TBlock2D::SaveToStream(TCADStreamWriter& stream)
{
    TObject2D::SaveToStream(stream);
    stream.WriteBytes(std::string_view(SourceName.data(), SourceName.size()));
    stream.WritePoint2D(OriginPoint);
}

namespace {

// The first block of the name in list order.
TSourceBlockLookup FirstInList(TGraphicObjIterator& sourceBlocks)
{
    return [&sourceBlocks](const TBlockName& name) -> TSourceBlock2D* {
        for (TGraphicObject* object = sourceBlocks.First(); object; object = sourceBlocks.Next()) {
            auto* block = dynamic_cast<TSourceBlock2D*>(object);
            if (block && block->Name == name)
                return block;
        }
        return nullptr;
    };
}

} // namespace

void TBlock2D::UpdateReference(TGraphicObjIterator& sourceBlocks)
{
    UpdateReference(FirstInList(sourceBlocks));
}

void TBlock2D::UpdateReference(const TSourceBlockLookup& find)
{
    TSourceBlock2D* block = find(SourceName);
    if (!block)
        throw ECADListObjNotFound("TBlock2D.UpdateReference: Source block not found");
    SetSourceBlock(block);
    UpdateExtension();
}

void UpdateBlockReferences(TContainer2D& container, TGraphicObjIterator& sourceBlocks)
{
    UpdateBlockReferences(container, FirstInList(sourceBlocks));
}

void UpdateBlockReferences(TContainer2D& container, const TSourceBlockLookup& find)
{
    auto iterator = container.Objects().GetIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        if (auto* nested = dynamic_cast<TContainer2D*>(object))
            UpdateBlockReferences(*nested, find);
        else if (auto* reference = dynamic_cast<TBlock2D*>(object))
            reference->UpdateReference(find);
    }
    container.UpdateExtension();
}

void DetachBlockReferences(TContainer2D& container)
{
    auto iterator = container.Objects().GetPrivilegedIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        if (auto* nested = dynamic_cast<TContainer2D*>(object))
            DetachBlockReferences(*nested);
        else if (auto* reference = dynamic_cast<TBlock2D*>(object))
            reference->DetachSourceBlock();
    }
}
