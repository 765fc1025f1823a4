#pragma once

// A block reference: an ordinary drawing object that shows a source block
// through its own transform. It holds one reference on the block from its
// construction, Assign or UpdateReference until its destruction.

#include <functional>

#include "cad/shapes/SourceBlock2D.h"

class TGraphicObjIterator;

// The source block of that name for a reference to take, or none: lets a
// reader resolve references through an index instead of a walk over the list.
using TSourceBlockLookup = std::function<TSourceBlock2D*(const TBlockName&)>;

class TBlock2D : public TObject2D {
public:
    // No source block until UpdateReference resolves SourceName (the stream reader).
    TBlock2D() = default;
    // No source block raises "TBlock2D.Create: Invalid parameter".
    TBlock2D(std::int32_t id, TSourceBlock2D* sourceBlock);
    ~TBlock2D() override;

    std::string ClassName() const override { return "TBlock2D"; }
    // The source block's box through GetTransform; nothing without a source block.
    void ComputeExtension() override;
    // From a block reference: its source block, name and origin.
    void Assign(const TGraphicObject& other) override;
    void Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
              int drawMode) override;
    // The box and, when set, the origin point as the reference's control point.
    void PaintControlPoints(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, int markerSize,
                            const TRect2D& clipBox) override;
    // -1 near the origin point; otherwise the source block's pick (the ID of
    // its nearest child) at the point in the reference's coordinates.
    int HitTest(TPoint2D point, float& distance, float aperture) const override;
    // The TObject2D record, SourceName (13 bytes), OriginPoint.
    void LoadFromStream(TCADStreamReader& stream, std::string_view version) override;
    void SaveToStream(TCADStreamWriter& stream) override;

    // Takes the first source block whose Name equals SourceName; none raises
    // ECADListObjNotFound "TBlock2D.UpdateReference: Source block not found".
    void UpdateReference(TGraphicObjIterator& sourceBlocks);
    // The same, with the block found by the lookup.
    void UpdateReference(const TSourceBlockLookup& find);
    TSourceBlock2D* SourceBlock() const { return Source; }
    // Gives the reference back and forgets the source block.
    void DetachSourceBlock();

    TBlockName SourceName{};
    TPoint2D OriginPoint{0.0f, 0.0f, 1.0f};

private:
    // The new block gains its reference before the old one loses its own.
    void SetSourceBlock(TSourceBlock2D* block);

    TSourceBlock2D* Source = nullptr;
};

// Resolves every block reference inside the container, through nested
// containers too, against the source blocks of the iterator; then the
// container's extension. A missing source block raises as UpdateReference.
void UpdateBlockReferences(TContainer2D& container, TGraphicObjIterator& sourceBlocks);
void UpdateBlockReferences(TContainer2D& container, const TSourceBlockLookup& find);
// Gives back the reference of every block reference inside the container,
// through nested containers too; used to take apart a circle of blocks.
void DetachBlockReferences(TContainer2D& container);
