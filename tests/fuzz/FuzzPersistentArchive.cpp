// A tagged binary archive read as an object list (which names the archived
// vector and scalar lists by class), written back, read again and written
// once more: both writes must agree. The same bytes are then walked value by
// value with every reader call, and read as an item collection.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "view3d/lists/VectorLists.h"
#include "view3d/persistence/BinaryReader.h"
#include "view3d/persistence/PersistenceErrors.h"
#include "view3d/persistence/PersistentObjectList.h"
#include "view3d/utility/XCollection.h"

namespace {

void ReadAsObjectList(std::string_view archive)
{
    TPersistentObjectList list;
    try {
        list.LoadFromString(archive);
    } catch (const EFilerError&) {
        return;
    }
    const std::string written = list.SaveToString();
    TPersistentObjectList again;
    again.LoadFromString(written);
    fuzz::Require(again.Count() == list.Count(), "the object list read back has another count");
    fuzz::Require(again.SaveToString() == written, "the object list written twice differs");
}

// Every value the reader knows, until the archive ends or is damaged.
void WalkValues(std::string_view archive)
{
    TBinaryReader reader(archive);
    try {
        while (reader.RemainingBytes() > 0) {
            switch (reader.NextTag()) {
            case TArchiveTag::BeginOfList: reader.ReadListBegin(); break;
            case TArchiveTag::EndOfList: reader.ReadListEnd(); break;
            case TArchiveTag::Extended: reader.ReadFloat(); break;
            case TArchiveTag::False:
            case TArchiveTag::True: reader.ReadBoolean(); break;
            case TArchiveTag::ShortString:
            case TArchiveTag::LongString:
            case TArchiveTag::WideString:
            case TArchiveTag::Utf8String: reader.ReadString(); break;
            default: reader.ReadInteger(); break;
            }
        }
    } catch (const EReadError&) {
    }
}

void ReadAsCollection(std::string_view archive)
{
    TBinaryReader reader(archive);
    TXCollection collection;
    try {
        collection.ReadFromFiler(reader);
    } catch (const EFilerError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view archive(reinterpret_cast<const char*>(data), size);
    ReadAsObjectList(archive);
    WalkValues(archive);
    ReadAsCollection(archive);
    return 0;
}
