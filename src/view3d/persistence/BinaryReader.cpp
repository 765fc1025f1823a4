#include "view3d/persistence/BinaryReader.h"

#include <algorithm>
#include <map>

#include <QList>
#include <QString>

#include "cad/fonts/Windows1252.h"
#include "view3d/persistence/ExtendedFloat.h"

namespace {

// The program keeps texts as 8-bit Western code-page bytes; a character that
// page lacks becomes '?'.
std::string ToWindows1252(const QString& text)
{
    static const std::map<char32_t, char> byteOf = [] {
        std::map<char32_t, char> table;
        for (int byte = 255; byte >= 0; --byte) {
            const char single = static_cast<char>(byte);
            const QList<uint> decoded = DecodeWindows1252(std::string(1, single)).toUcs4();
            if (decoded.size() == 1)
                table[decoded[0]] = single;
        }
        return table;
    }();
    std::string bytes;
    for (const uint codePoint : text.toUcs4()) {
        const auto found = byteOf.find(codePoint);
        bytes += found == byteOf.end() ? '?' : found->second;
    }
    return bytes;
}

} // namespace

TBinaryReader::TBinaryReader(std::string_view input) : Input(input) {}

std::string TBinaryReader::ClassName() const
{
    return "TBinaryReader";
}

void TBinaryReader::ReadRaw(void* data, std::size_t size)
{
    const std::string_view bytes = ReadBytes(size);
    if (size != 0)
        std::copy(bytes.begin(), bytes.end(), static_cast<char*>(data));
}

TArchiveTag TBinaryReader::NextTag()
{
    if (Position >= Input.size())
        RaiseReadError();
    return static_cast<TArchiveTag>(Input[Position]);
}

std::int32_t TBinaryReader::ReadInteger()
{
    switch (static_cast<TArchiveTag>(ReadByte())) {
    case TArchiveTag::Int8:
        return static_cast<std::int8_t>(ReadLittleEndian(1));
    case TArchiveTag::Int16:
        return static_cast<std::int16_t>(ReadLittleEndian(2));
    case TArchiveTag::Int32:
        return static_cast<std::int32_t>(ReadLittleEndian(4));
    default:
        RaiseReadError();
    }
}

bool TBinaryReader::ReadBoolean()
{
    switch (static_cast<TArchiveTag>(ReadByte())) {
    case TArchiveTag::False:
        return false;
    case TArchiveTag::True:
        return true;
    default:
        RaiseReadError();
    }
}

std::string TBinaryReader::ReadString()
{
    switch (static_cast<TArchiveTag>(ReadByte())) {
    case TArchiveTag::ShortString:
        return std::string(ReadBytes(ReadLittleEndian(1)));
    case TArchiveTag::LongString:
        return std::string(ReadBytes(ReadLittleEndian(4)));
    case TArchiveTag::WideString: {
        const std::size_t units = ReadLittleEndian(4);
        if (units > RemainingBytes() / 2)
            RaiseReadError();
        const std::string_view bytes = ReadBytes(units * 2);
        QString text(static_cast<qsizetype>(units), Qt::Uninitialized);
        for (std::size_t i = 0; i < units; ++i)
            text[static_cast<qsizetype>(i)] = QChar(static_cast<char16_t>(
                static_cast<std::uint8_t>(bytes[2 * i]) | (static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8)));
        return ToWindows1252(text);
    }
    case TArchiveTag::Utf8String: {
        const std::string_view bytes = ReadBytes(ReadLittleEndian(4));
        return ToWindows1252(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    default:
        RaiseReadError();
    }
}

double TBinaryReader::ReadFloat()
{
    ExpectTag(TArchiveTag::Extended);
    TExtendedBytes bytes{};
    ReadRaw(bytes.data(), bytes.size());
    return DecodeExtended(bytes);
}

void TBinaryReader::ReadListBegin()
{
    ExpectTag(TArchiveTag::BeginOfList);
}

void TBinaryReader::ReadListEnd()
{
    ExpectTag(TArchiveTag::EndOfList);
}

bool TBinaryReader::EndOfList()
{
    return NextTag() == TArchiveTag::EndOfList;
}

std::size_t TBinaryReader::RemainingBytes() const
{
    return Input.size() - Position;
}

std::uint8_t TBinaryReader::ReadByte()
{
    return static_cast<std::uint8_t>(ReadBytes(1)[0]);
}

std::uint32_t TBinaryReader::ReadLittleEndian(int bytes)
{
    const std::string_view data = ReadBytes(static_cast<std::size_t>(bytes));
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(data[static_cast<std::size_t>(i)])) << (8 * i);
    return value;
}

std::string_view TBinaryReader::ReadBytes(std::size_t size)
{
    if (size > RemainingBytes())
        RaiseReadError();
    const std::string_view bytes = Input.substr(Position, size);
    Position += size;
    return bytes;
}

void TBinaryReader::ExpectTag(TArchiveTag tag)
{
    if (static_cast<TArchiveTag>(ReadByte()) != tag)
        RaiseReadError();
}
