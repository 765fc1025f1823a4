#include "view3d/persistence/BinaryWriter.h"

#include "view3d/persistence/ExtendedFloat.h"

TBinaryWriter::TBinaryWriter(std::string& output) : Output(output) {}

void TBinaryWriter::WriteRaw(const void* data, std::size_t size)
{
    Output.append(static_cast<const char*>(data), size);
}

void TBinaryWriter::WriteInteger(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    if (value >= -128 && value <= 127) {
        WriteTag(TArchiveTag::Int8);
        WriteLittleEndian(bits, 1);
    } else if (value >= -32768 && value <= 32767) {
        WriteTag(TArchiveTag::Int16);
        WriteLittleEndian(bits, 2);
    } else {
        WriteTag(TArchiveTag::Int32);
        WriteLittleEndian(bits, 4);
    }
}

void TBinaryWriter::WriteBoolean(bool value)
{
    WriteTag(value ? TArchiveTag::True : TArchiveTag::False);
}

void TBinaryWriter::WriteString(const std::string& value)
{
    if (value.size() <= 255) {
        WriteTag(TArchiveTag::ShortString);
        WriteLittleEndian(static_cast<std::uint32_t>(value.size()), 1);
    } else {
        WriteTag(TArchiveTag::LongString);
        WriteLittleEndian(static_cast<std::uint32_t>(value.size()), 4);
    }
    Output += value;
}

void TBinaryWriter::WriteFloat(double value)
{
    WriteTag(TArchiveTag::Extended);
    const TExtendedBytes bytes = EncodeExtended(value);
    WriteRaw(bytes.data(), bytes.size());
}

void TBinaryWriter::WriteListBegin()
{
    WriteTag(TArchiveTag::BeginOfList);
}

void TBinaryWriter::WriteListEnd()
{
    WriteTag(TArchiveTag::EndOfList);
}

void TBinaryWriter::WriteTag(TArchiveTag tag)
{
    Output += static_cast<char>(tag);
}

void TBinaryWriter::WriteLittleEndian(std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        Output += static_cast<char>((value >> (8 * i)) & 0xFFu);
}
