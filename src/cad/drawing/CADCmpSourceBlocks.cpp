// The drawing's source blocks: adding, finding and deleting them, and
// freeing them all when the drawing goes.

#include "cad/base/CADExceptions.h"
#include "cad/base/CADMessageSink.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/shapes/Block2D.h"

namespace {

constexpr const char* CircularReferenceMessage =
    "TCADCmp.FreeSourceBlocks: Severe error\n\rThe drawing contains circular reference of source blocks. "
    "They will be not deleted !";

// Deletes, in one pass, every source block the filter picks and no reference uses.
template <typename TFilter>
void DeleteUnreferencedBlocks(TExclusiveGraphicObjIterator& iterator, TFilter picked)
{
    TGraphicObject* object = iterator.First();
    while (object) {
        const auto* block = dynamic_cast<const TSourceBlock2D*>(object);
        if (block && picked(*block) && !block->IsReferenced()) {
            // The position moves on, or back to the previous block after the last.
            iterator.DeleteCurrent();
            object = iterator.Current();
        } else {
            object = iterator.Next();
        }
    }
}

} // namespace

TSourceBlock2D* TCADCmp::AddSourceBlock(std::int32_t id, std::unique_ptr<TSourceBlock2D> block)
{
    TSourceBlock2D* added = block.get();
    AddNumbered(SourceBlocks, NextBlockID, id, std::move(block));
    return added;
}

TSourceBlock2D* TCADCmp::GetSourceBlock(std::int32_t id)
{
    return dynamic_cast<TSourceBlock2D*>(SourceBlocks.FindObject(id));
}

void TCADCmp::DeleteSourceBlock(std::int32_t id)
{
    TGraphicObject* object = SourceBlocks.FindObject(id);
    if (!object)
        throw ECADListObjNotFound("TCADCmp.DeleteSourceBlock: No source block found");
    const auto* block = dynamic_cast<const TSourceBlock2D*>(object);
    if (block && block->IsReferenced())
        return;
    try {
        SourceBlocks.Delete(id);
    } catch (const ECADCoreException&) {
        // A list held by an iterator keeps the block.
    }
}

void TCADCmp::FreeSourceBlocks()
{
    auto iterator = SourceBlocks.GetExclusiveIterator();
    if (!FreeUnreferencedInPasses(*iterator))
        throw ECADSourceBlockIsReferenced(CircularReferenceMessage);
}

void TCADCmp::FreeObjectsOnDestroy() noexcept
{
    try {
        Objects.Clear();
    } catch (const ECADCoreException&) {
        // A list still held by an iterator frees its objects when it is destroyed.
    }
}

void TCADCmp::FreeSourceBlocksOnDestroy() noexcept
{
    auto iterator = SourceBlocks.GetPrivilegedIterator();
    if (FreeUnreferencedInPasses(*iterator))
        return;
    try {
        ShowCADMessage(CircularReferenceMessage);
    } catch (...) {
        // The report is all a destructor can give.
    }
    // What is left refers to itself in a circle, or is used from outside the
    // drawing: the references inside the blocks go first, then the blocks.
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next())
        if (auto* container = dynamic_cast<TContainer2D*>(object))
            DetachBlockReferences(*container);
    if (FreeUnreferencedInPasses(*iterator))
        return;
    // Still used by references outside the drawing: never freed under them.
    while (iterator->First())
        static_cast<void>(iterator->RemoveCurrent().release());
}

TSourceBlock2D& TCADCmp2D::FindSourceBlock(const TBlockName& name)
{
    auto iterator = SourceBlocks.GetIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        auto* block = dynamic_cast<TSourceBlock2D*>(object);
        if (block && block->Name == name)
            return *block;
    }
    throw ECADListObjNotFound("TCADCmp2D.FindSourceBlock: Source block " + BlockNameToText(name) + " not found");
}

void TCADCmp2D::DeleteSourceBlock(const TBlockName& name)
{
    const TSourceBlock2D& block = FindSourceBlock(name);
    if (block.IsReferenced())
        throw ECADCoreException("TCADCmp2D.DeleteSourceBlock: Remove the references before the source");
    TCADCmp::DeleteSourceBlock(block.ID);
}

void TCADCmp2D::DeleteNonLibraryBlocks()
{
    auto iterator = SourceBlocks.GetExclusiveIterator();
    DeleteUnreferencedBlocks(*iterator,
                             [](const TSourceBlock2D& block) { return block.ToBeSaved && !block.IsLibraryBlock; });
}

void TCADCmp2D::DeleteLibraryBlocks()
{
    auto iterator = SourceBlocks.GetExclusiveIterator();
    DeleteUnreferencedBlocks(*iterator, [](const TSourceBlock2D& block) { return block.IsLibraryBlock; });
}
