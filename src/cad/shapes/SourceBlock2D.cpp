#include "cad/shapes/SourceBlock2D.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "cad/base/CADExceptions.h"
#include "cad/base/CADMessageSink.h"
#include "cad/stream/CADStream.h"

TBlockName BlockNameFromText(std::string_view text)
{
    TBlockName name{};
    std::copy_n(text.begin(), std::min(text.size(), name.size()), name.begin());
    return name;
}

std::string BlockNameToText(const TBlockName& name)
{
    return std::string(name.begin(), std::find(name.begin(), name.end(), '\0'));
}

TSourceBlock2D::TSourceBlock2D(std::int32_t id, std::vector<std::unique_ptr<TObject2D>> objects,
                               const TBlockName& name)
    : TContainer2D(id, std::move(objects)), Name(name)
{
}

TSourceBlock2D::~TSourceBlock2D()
{
    if (ReferenceCount == 0)
        return;
    try {
        ShowCADMessage("TSourceBlock2D.Destroy: This source block is referenced and cannot be deleted");
    } catch (...) {
        // A destructor can only report.
    }
}

void TSourceBlock2D::AddReference()
{
    if (ReferenceCount == std::numeric_limits<std::uint32_t>::max())
        throw ECADOutOfBound("TSourceBlock2D.AddReference: Too many references to the source block " +
                             BlockNameToText(Name));
    ++ReferenceCount;
}

void TSourceBlock2D::ReleaseReference()
{
    if (ReferenceCount > 0)
        --ReferenceCount;
}

void TSourceBlock2D::LoadFromStream(TCADStreamReader& stream, std::string_view version)
{
    TContainer2D::LoadFromStream(stream, version);
    ToBeSaved = stream.ReadBoolean();
    IsLibraryBlock = stream.ReadBoolean();
    const std::string name = stream.ReadFixedString(BlockNameLength);
    std::memcpy(Name.data(), name.data(), BlockNameLength);
}

void TSourceBlock2D::SaveToStream(TCADStreamWriter& stream)
{
    TContainer2D::SaveToStream(stream);
    stream.WriteBoolean(ToBeSaved);
    stream.WriteBoolean(IsLibraryBlock);
    stream.WriteBytes(std::string_view(Name.data(), Name.size()));
}

bool FreeUnreferencedInPasses(TExclusiveGraphicObjIterator& iterator)
{
    const auto referenced = [](const TGraphicObject* object) {
        const auto* block = dynamic_cast<const TSourceBlock2D*>(object);
        return block && block->IsReferenced();
    };
    bool freedSome = true;
    while (iterator.Count() > 0 && freedSome) {
        freedSome = false;
        TGraphicObject* object = iterator.First();
        while (object) {
            if (referenced(object)) {
                object = iterator.Next();
            } else {
                // The position moves on to the next object (or back to the
                // previous one after the last); either may be looked at again.
                iterator.DeleteCurrent();
                freedSome = true;
                object = iterator.Current();
            }
        }
    }
    return iterator.Count() == 0;
}
