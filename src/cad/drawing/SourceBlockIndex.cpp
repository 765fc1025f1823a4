#include "cad/drawing/SourceBlockIndex.h"

#include <algorithm>

#include "cad/model/GraphicObjList.h"
#include "cad/shapes/Block2D.h"

namespace {

std::string Key(const TBlockName& name)
{
    return std::string(name.data(), name.size());
}

std::uint64_t Saturated(std::uint64_t count)
{
    return std::min(count, MaxExpandedObjects + 1);
}

} // namespace

TSourceBlockIndex::TSourceBlockIndex(TGraphicObjIterator& sourceBlocks)
{
    for (TGraphicObject* object = sourceBlocks.First(); object; object = sourceBlocks.Next())
        if (auto* block = dynamic_cast<TSourceBlock2D*>(object))
            Add(*block);
}

void TSourceBlockIndex::Add(TSourceBlock2D& block)
{
    ByName.try_emplace(Key(block.Name), &block);
}

TSourceBlock2D* TSourceBlockIndex::Find(const TBlockName& name) const
{
    const auto found = ByName.find(Key(name));
    return found == ByName.end() ? nullptr : found->second;
}

TBlockExpansion TSourceBlockIndex::Measure(TObject2D& object)
{
    if (const auto* reference = dynamic_cast<const TBlock2D*>(&object)) {
        if (!reference->SourceBlock())
            return {0, 1};
        const TBlockExpansion shown = MeasureBlock(*reference->SourceBlock());
        return {shown.Depth + 1, Saturated(shown.Objects + 1)};
    }
    auto* container = dynamic_cast<TContainer2D*>(&object);
    if (!container)
        return {0, 1};
    TBlockExpansion all{0, 1};
    auto iterator = container->Objects().GetIterator();
    for (TGraphicObject* child = iterator->First(); child; child = iterator->Next()) {
        if (auto* child2D = dynamic_cast<TObject2D*>(child)) {
            const TBlockExpansion part = Measure(*child2D);
            all.Depth = std::max(all.Depth, part.Depth);
            all.Objects = Saturated(all.Objects + part.Objects);
        }
    }
    return all;
}

std::string TSourceBlockIndex::Refusal(TObject2D& object)
{
    const TBlockExpansion expansion = Measure(object);
    if (expansion.Depth > MaxReferenceDepth)
        return "block references nested deeper than " + std::to_string(MaxReferenceDepth) + " levels";
    if (expansion.Objects > MaxExpandedObjects)
        return "block references that expand to more than " + std::to_string(MaxExpandedObjects) + " objects";
    return {};
}

TBlockExpansion TSourceBlockIndex::MeasureBlock(TSourceBlock2D& block)
{
    if (const auto found = Measured.find(&block); found != Measured.end())
        return found->second;
    // A block met again while it is measured refers to itself: past every limit.
    Measured[&block] = {MaxReferenceDepth + 1, MaxExpandedObjects + 1};
    const TBlockExpansion expansion = Measure(block);
    Measured[&block] = expansion;
    return expansion;
}
