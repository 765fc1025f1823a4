// The drawing's object and source-block sections of a stream.
//
// Object section: count Int32 (every object of the drawing), then records
// (class code Int16 and the object's record); an Int16 -1 in place of a
// class code ends the section before count records were read.
// Source-block section: count Int32, then count records.

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

// Resolves the block references of a loaded object; false, with the notice
// shown, when a source block is missing.
bool ResolveBlockReferences(TObject2D& object, TGraphicObjIterator& sourceBlocks)
{
    try {
        if (auto* container = dynamic_cast<TContainer2D*>(&object))
            UpdateBlockReferences(*container, sourceBlocks);
        else if (auto* reference = dynamic_cast<TBlock2D*>(&object))
            reference->UpdateReference(sourceBlocks);
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
        if (!ResolveBlockReferences(*object2D, *sourceBlocks))
            continue;
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
        bool resolved = false;
        {
            auto sourceBlocks = SourceBlocks.GetExclusiveIterator();
            resolved = ResolveBlockReferences(*block, *sourceBlocks);
        }
        if (!resolved)
            continue;
        AddSourceBlock(std::unique_ptr<TSourceBlock2D>(static_cast<TSourceBlock2D*>(object.release())));
    }
}
