#include "cad/model/GraphicObjectStream.h"

#include <string_view>

#include "cad/geometry/Geometry2D.h"
#include "cad/model/ClassRegistry.h"
#include "cad/model/GraphicObject.h"
#include "cad/stream/CADStream.h"

namespace {

constexpr std::uint8_t FlagVisible = 0x01;
constexpr std::uint8_t FlagEnabled = 0x02;
constexpr std::uint8_t FlagNotToBeSaved = 0x04;

void CheckLoadedObject(const TGraphicObject& object)
{
    if (std::string fault = object.LoadedObjectFault(); !fault.empty())
        throw ECADRecordRejected(fault);
}

} // namespace

void TGraphicObject::LoadFromStream(TCADStreamReader& stream, std::string_view)
{
    ID = stream.ReadInt32();
    Layer = stream.ReadByte();
    const std::uint8_t flags = stream.ReadByte();
    Visible = (flags & FlagVisible) != 0;
    Enabled = (flags & FlagEnabled) != 0;
    ToBeSaved = (flags & FlagNotToBeSaved) == 0;
}

void TGraphicObject::SaveToStream(TCADStreamWriter& stream)
{
    std::uint8_t flags = 0;
    if (Visible)
        flags |= FlagVisible;
    if (Enabled)
        flags |= FlagEnabled;
    if (!ToBeSaved)
        flags |= FlagNotToBeSaved;
    stream.WriteInt32(ID);
    stream.WriteByte(Layer);
    stream.WriteByte(flags);
}

void TObject2D::LoadFromStream(TCADStreamReader& stream, std::string_view version)
{
    TGraphicObject::LoadFromStream(stream, version);
    SetModelTransform(stream.ReadTransform2D());
}

void TObject2D::SaveToStream(TCADStreamWriter& stream)
{
    SetModelTransform(GetTransform());
    TGraphicObject::SaveToStream(stream);
    stream.WriteTransform2D(ModelTransform().value_or(IdentityTransform2D));
}

const TGraphicObjectClass& FindStreamClass(int classCode)
{
    try {
        return CADCoreFindClassByIndex(classCode);
    } catch (const ECADCoreException&) {
        throw ECADStreamClassNotFound();
    }
}

std::unique_ptr<TGraphicObject> CreateObjectFromStream(int classCode, TCADStreamReader& stream,
                                                       std::string_view version)
{
    std::unique_ptr<TGraphicObject> object = FindStreamClass(classCode).Create();
    object->LoadFromStream(stream, version);
    CheckLoadedObject(*object);
    object->TakeFromFileBudgets(stream);
    return object;
}

void WriteObjectRecord(TCADStreamWriter& stream, TGraphicObject& object)
{
    const int classCode = CADCoreFindClassIndex(object.ClassName());
    TCADStreamWriter record;
    record.WriteInt16(static_cast<std::int16_t>(classCode));
    object.SaveToStream(record);
    const std::vector<std::uint8_t>& bytes = record.Data();
    stream.WriteBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}
