#include "cad/fonts/Windows1252.h"

#include <array>

#include <QString>
#include <QStringDecoder>

namespace {

// 0x80-0x9F; the rest of the code page is Latin-1. Bytes the code page leaves
// undefined keep their own value.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeWithTable(const std::string& bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.append(byte >= 0x80 && byte <= 0x9F ? QChar(HighControls[byte - 0x80u]) : QChar(byte));
    }
    return text;
}

} // namespace

QString DecodeWindows1252(const std::string& bytes)
{
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid())
        return DecodeWithTable(bytes);
    QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return decoder.hasError() ? DecodeWithTable(bytes) : text;
}
