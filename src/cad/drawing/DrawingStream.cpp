// The drawing's object and source-block sections of a stream.
//
// Object section: count Int32 (every object of the drawing), then records
// (class code Int16 and the object's record); an Int16 -1 in place of a
// class code ends the section before count records were read.
// Source-block section: count Int32, then count records.

#include <algorithm>
#include <string>
#include <unordered_map>

#include "cad/base/CADMessageSink.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/model/GraphicObjectStream.h"
#include "cad/shapes/Block2D.h"
#include "cad/stream/CADStream.h"

namespace {

constexpr const char* SourceBlockNotFoundMessage = "Source block not found. The block will not be loaded";

// Reads one record of a section into object: none, with the notice shown,
// for a record that was read but cannot be used. An unknown class ends the
// section: its notice is shown and the result is false.
bool ReadSectionRecord(std::int16_t classCode, TCADStreamReader& stream, std::string_view version,
                       std::unique_ptr<TGraphicObject>& object)
{
    object.reset();
    try {
        object = CreateObjectFromStream(classCode, stream, version);
    } catch (const ECADRecordRejected& rejected) {
        ShowCADMessage(rejected.what());
    } catch (const ECADStreamClassNotFound& notFound) {
        ShowCADMessage(notFound.what());
        return false;
    }
    return true;
}

// How far drawing an object reaches through block references: the deepest
// chain of references (0 for an object without any) and the number of
// objects drawn, each container and reference counted with what it shows.
struct TExpansion {
    int Depth = 0;
    std::uint64_t Objects = 0;
};

// A block whose references nest deeper, or expand to more objects, is
// refused: a few bytes of references to references would otherwise ask for
// billions of objects to be drawn, or for recursion past the stack.
constexpr int MaxReferenceDepth = 32;
constexpr std::uint64_t MaxExpandedObjects = std::uint64_t{1} << 16;

// The source blocks by name while a section is read: each reference is
// resolved in one look-up, and each block measured once.
class TBlockIndex {
public:
    // Indexes the blocks already in the drawing, the first of each name.
    explicit TBlockIndex(TGraphicObjIterator& sourceBlocks)
    {
        for (TGraphicObject* object = sourceBlocks.First(); object; object = sourceBlocks.Next())
            if (auto* block = dynamic_cast<TSourceBlock2D*>(object))
                Add(*block);
    }

    // A later block of a name already taken is never found: references take the first.
    void Add(TSourceBlock2D& block) { ByName.try_emplace(Key(block.Name), &block); }

    TSourceBlock2D* Find(const TBlockName& name) const
    {
        const auto found = ByName.find(Key(name));
        return found == ByName.end() ? nullptr : found->second;
    }

    TExpansion Measure(TObject2D& object)
    {
        if (const auto* reference = dynamic_cast<const TBlock2D*>(&object)) {
            if (!reference->SourceBlock())
                return {0, 1};
            const TExpansion shown = MeasureBlock(*reference->SourceBlock());
            return {shown.Depth + 1, Saturated(shown.Objects + 1)};
        }
        auto* container = dynamic_cast<TContainer2D*>(&object);
        if (!container)
            return {0, 1};
        TExpansion all{0, 1};
        auto iterator = container->Objects().GetIterator();
        for (TGraphicObject* child = iterator->First(); child; child = iterator->Next()) {
            if (auto* child2D = dynamic_cast<TObject2D*>(child)) {
                const TExpansion part = Measure(*child2D);
                all.Depth = std::max(all.Depth, part.Depth);
                all.Objects = Saturated(all.Objects + part.Objects);
            }
        }
        return all;
    }

    // Empty when the object may be kept; otherwise what its references ask for.
    std::string Refusal(TObject2D& object)
    {
        const TExpansion expansion = Measure(object);
        if (expansion.Depth > MaxReferenceDepth)
            return "block references nested deeper than " + std::to_string(MaxReferenceDepth) + " levels";
        if (expansion.Objects > MaxExpandedObjects)
            return "block references that expand to more than " + std::to_string(MaxExpandedObjects) + " objects";
        return {};
    }

private:
    static std::string Key(const TBlockName& name) { return std::string(name.data(), name.size()); }
    static std::uint64_t Saturated(std::uint64_t count) { return std::min(count, MaxExpandedObjects + 1); }

    TExpansion MeasureBlock(TSourceBlock2D& block)
    {
        if (const auto found = Measured.find(&block); found != Measured.end())
            return found->second;
        // A block met again while it is measured refers to itself: past every limit.
        Measured[&block] = {MaxReferenceDepth + 1, MaxExpandedObjects + 1};
        const TExpansion expansion = Measure(block);
        Measured[&block] = expansion;
        return expansion;
    }

    std::unordered_map<std::string, TSourceBlock2D*> ByName;
    std::unordered_map<const TSourceBlock2D*, TExpansion> Measured;
};

// Resolves the block references of a loaded object through the index; false,
// with the notice shown, when a source block is missing.
bool ResolveBlockReferences(TObject2D& object, const TBlockIndex& index)
{
    const TSourceBlockLookup find = [&index](const TBlockName& name) { return index.Find(name); };
    try {
        if (auto* container = dynamic_cast<TContainer2D*>(&object))
            UpdateBlockReferences(*container, find);
        else if (auto* reference = dynamic_cast<TBlock2D*>(&object))
            reference->UpdateReference(find);
    } catch (const ECADListObjNotFound&) {
        ShowCADMessage(SourceBlockNotFoundMessage);
        return false;
    }
    return true;
}

} // namespace

void TCADCmp2D::SaveObjects(TCADStreamWriter& stream)
{
    auto iterator = Objects.GetPrivilegedIterator();
    const int count = iterator->Count();
    stream.WriteInt32(count);
    const int step = count > 0 ? 100 / count : 0;
    int remaining = count;
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        auto* object2D = dynamic_cast<TObject2D*>(object);
        if (!object2D || !Layers().GetLayer(object2D->Layer).Streamable || !object2D->ToBeSaved)
            continue;
        WriteObjectRecord(stream, *object2D);
        --remaining;
        if (OnSaveProgress)
            OnSaveProgress(*this, 100 - step * remaining);
    }
    if (remaining > 0)
        stream.WriteInt16(EndOfSectionCode);
}

void TCADCmp2D::LoadObjects(TCADStreamReader& stream, std::string_view version)
{
    std::int32_t count = stream.ReadInt32();
    const int step = count > 0 ? 100 / count : 0;
    auto sourceBlocks = SourceBlocks.GetExclusiveIterator();
    TBlockIndex index(*sourceBlocks);
    while (count > 0) {
        const std::int16_t classCode = stream.ReadInt16();
        if (classCode == EndOfSectionCode)
            break;
        --count;
        std::unique_ptr<TGraphicObject> object;
        if (!ReadSectionRecord(classCode, stream, version, object))
            break;
        if (OnLoadProgress)
            OnLoadProgress(*this, step);
        if (!object)
            continue;
        auto* object2D = dynamic_cast<TObject2D*>(object.get());
        if (!object2D) {
            ShowCADMessage("Not 2D Object. Object discarded.");
            continue;
        }
        if (!ResolveBlockReferences(*object2D, index))
            continue;
        // References are paid from the file's budget: many of them, each to a
        // block within the limits, could still ask for too much drawing.
        const TExpansion expansion = index.Measure(*object2D);
        std::string refusal = index.Refusal(*object2D);
        if (refusal.empty() && expansion.Depth > 0 && !stream.TakeExpandedObjects(expansion.Objects))
            refusal = "block references that expand to more objects than one file may ask for";
        if (!refusal.empty()) {
            ShowCADMessage(object2D->ClassName() + ": " + refusal + ". Object discarded.");
            continue;
        }
        CurrentLayer = object2D->Layer;
        AddObject(-1, std::unique_ptr<TObject2D>(static_cast<TObject2D*>(object.release())));
    }
}

void TCADCmp2D::SaveBlocks(TCADStreamWriter& stream, bool libraryBlocks)
{
    auto iterator = SourceBlocks.GetPrivilegedIterator();
    const std::size_t countPosition = stream.Position();
    stream.WriteInt32(iterator->Count());
    std::int32_t written = 0;
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        auto* block = dynamic_cast<TSourceBlock2D*>(object);
        if (!block || !block->ToBeSaved || block->IsLibraryBlock != libraryBlocks)
            continue;
        WriteObjectRecord(stream, *block);
        ++written;
    }
    stream.Seek(countPosition);
    stream.WriteInt32(written);
    stream.SeekToEnd();
}

void TCADCmp2D::LoadBlocks(TCADStreamReader& stream, std::string_view version)
{
    const std::int32_t count = stream.ReadInt32();
    // Blocks are added as they are read, which a held iterator would refuse.
    TBlockIndex index(*SourceBlocks.GetExclusiveIterator());
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int16_t classCode = stream.ReadInt16();
        std::unique_ptr<TGraphicObject> object;
        if (!ReadSectionRecord(classCode, stream, version, object))
            break;
        if (!object)
            continue;
        auto* block = dynamic_cast<TSourceBlock2D*>(object.get());
        if (!block) {
            ShowCADMessage("Not a source block. Object discarded.");
            continue;
        }
        if (!ResolveBlockReferences(*block, index))
            continue;
        if (const std::string refusal = index.Refusal(*block); !refusal.empty()) {
            ShowCADMessage("Source block " + BlockNameToText(block->Name) + ": " + refusal +
                           ". The block will not be loaded");
            continue;
        }
        object.release();
        index.Add(*AddSourceBlock(std::unique_ptr<TSourceBlock2D>(block)));
    }
}
