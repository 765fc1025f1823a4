#include "cad/stream/CADStream.h"

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "cad/base/CADExceptions.h"

bool CADVersionBefore(std::string_view version, std::string_view other)
{
    return version.compare(other) < 0;
}

TCADStreamReader::TCADStreamReader(std::vector<std::uint8_t> bytes, std::string sourceName)
    : Bytes(std::move(bytes)), Name(std::move(sourceName))
{
}

const std::uint8_t* TCADStreamReader::Take(std::size_t count, std::string_view what)
{
    if (count > Remaining())
        throw ECADFileNotValid(Name + ": unexpected end of data at byte " + std::to_string(Pos) + " (" +
                               std::string(what) + " needs " + std::to_string(count) + " bytes, " +
                               std::to_string(Remaining()) + " left)");
    const std::uint8_t* data = Bytes.data() + Pos;
    Pos += count;
    return data;
}

void TCADStreamReader::RequireItems(std::int64_t count, std::size_t itemSize, std::string_view what) const
{
    if (count < 0)
        throw ECADFileNotValid(Name + ": negative " + std::string(what) + " " + std::to_string(count) +
                               " at byte " + std::to_string(Pos));
    if (itemSize > 0 && static_cast<std::uint64_t>(count) > Remaining() / itemSize)
        throw ECADFileNotValid(Name + ": " + std::string(what) + " " + std::to_string(count) + " at byte " +
                               std::to_string(Pos) + " runs past the end of the data");
}

std::uint8_t TCADStreamReader::ReadByte()
{
    return *Take(1, "Byte");
}

bool TCADStreamReader::ReadBoolean()
{
    return *Take(1, "Boolean") != 0;
}

std::uint16_t TCADStreamReader::ReadUInt16()
{
    const std::uint8_t* p = Take(2, "Word");
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::int16_t TCADStreamReader::ReadInt16()
{
    const std::uint8_t* p = Take(2, "Int16");
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

std::int32_t TCADStreamReader::ReadInt32()
{
    const std::uint8_t* p = Take(4, "Int32");
    const std::uint32_t v = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                            (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<std::int32_t>(v);
}

float TCADStreamReader::ReadSingle()
{
    const std::uint8_t* p = Take(4, "Single");
    const std::uint32_t v = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                            (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    return std::bit_cast<float>(v);
}

TPoint2D TCADStreamReader::ReadPoint2D()
{
    RequireItems(1, 12, "point");
    TPoint2D point;
    point.X = ReadSingle();
    point.Y = ReadSingle();
    point.W = ReadSingle();
    return point;
}

TTransform2D TCADStreamReader::ReadTransform2D()
{
    RequireItems(1, 36, "transform");
    TTransform2D t;
    for (auto& row : t.M)
        for (float& value : row)
            value = ReadSingle();
    return t;
}

std::string TCADStreamReader::ReadFixedString(std::size_t count)
{
    const std::uint8_t* p = Take(count, "string");
    return std::string(reinterpret_cast<const char*>(p), count);
}

std::string TCADStreamReader::ReadString(std::size_t maxLength)
{
    const std::size_t at = Pos;
    const std::int32_t length = ReadInt32();
    if (length < 0 || static_cast<std::size_t>(length) > maxLength)
        throw ECADFileNotValid(Name + ": invalid string length " + std::to_string(length) + " at byte " +
                               std::to_string(at));
    return ReadFixedString(static_cast<std::size_t>(length));
}

bool TCADStreamReader::TakeFrom(std::uint64_t& left, std::uint64_t amount)
{
    if (amount > left)
        return false;
    left -= amount;
    return true;
}

void TCADStreamReader::Seek(std::size_t position)
{
    if (position > Bytes.size())
        throw ECADFileNotValid(Name + ": seek to byte " + std::to_string(position) + " past the end");
    Pos = position;
}

void TCADStreamWriter::Put(const void* data, std::size_t count)
{
    if (Pos + count > Bytes.size())
        Bytes.resize(Pos + count);
    if (count > 0)
        std::memcpy(Bytes.data() + Pos, data, count);
    Pos += count;
}

void TCADStreamWriter::WriteByte(std::uint8_t value)
{
    Put(&value, 1);
}

void TCADStreamWriter::WriteBoolean(bool value)
{
    WriteByte(value ? 1 : 0);
}

void TCADStreamWriter::WriteUInt16(std::uint16_t value)
{
    const std::uint8_t b[2] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
    Put(b, 2);
}

void TCADStreamWriter::WriteInt16(std::int16_t value)
{
    WriteUInt16(static_cast<std::uint16_t>(value));
}

void TCADStreamWriter::WriteInt32(std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                               static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    Put(b, 4);
}

void TCADStreamWriter::WriteSingle(float value)
{
    WriteInt32(std::bit_cast<std::int32_t>(value));
}

void TCADStreamWriter::WritePoint2D(TPoint2D point)
{
    WriteSingle(point.X);
    WriteSingle(point.Y);
    WriteSingle(point.W);
}

void TCADStreamWriter::WriteTransform2D(const TTransform2D& t)
{
    for (const auto& row : t.M)
        for (float value : row)
            WriteSingle(value);
}

void TCADStreamWriter::WriteBytes(std::string_view bytes)
{
    Put(bytes.data(), bytes.size());
}

void TCADStreamWriter::WriteFixedString(std::string_view text, std::size_t width)
{
    const std::size_t kept = text.size() < width ? text.size() : width;
    WriteBytes(text.substr(0, kept));
    const std::vector<char> zeros(width - kept, '\0');
    Put(zeros.data(), zeros.size());
}

void TCADStreamWriter::WriteString(std::string_view text)
{
    WriteInt32(static_cast<std::int32_t>(text.size()));
    WriteBytes(text);
}

void TCADStreamWriter::Seek(std::size_t position)
{
    if (position > Bytes.size())
        throw ECADOutOfBound("TCADStreamWriter.Seek: Position past the end");
    Pos = position;
}

bool TCADStreamWriter::SaveToFile(const std::string& fileName) const
{
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& fileName)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error))
        return std::nullopt;
    std::ifstream file(fileName, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad())
        return std::nullopt;
    return bytes;
}
