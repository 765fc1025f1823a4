#include "view3d/material/BitmapStream.h"

#include <cstdint>

#include <QBuffer>
#include <QImageReader>

#include "view3d/texture/PictureFileReader.h"

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
// BITMAPV4HEADER: the first header with an alpha mask.
constexpr std::uint32_t kInfoHeaderSize = 108;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kSRGBColourSpace = 0x73524742;
constexpr std::int32_t kPixelsPerMetre = 2835;

void Append16(std::string& bytes, std::uint16_t value)
{
    bytes += char(value & 0xFF);
    bytes += char(value >> 8);
}

void Append32(std::string& bytes, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes += char((value >> shift) & 0xFF);
}

} // namespace

std::string PictureToBitmapStream(const QImage& picture)
{
    const QImage pixels = picture.convertToFormat(QImage::Format_ARGB32);
    const auto width = std::uint32_t(pixels.width());
    const auto height = std::uint32_t(pixels.height());
    const std::uint32_t pixelBytes = width * height * 4;
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize;

    std::string bytes;
    bytes.reserve(pixelOffset + pixelBytes);
    bytes += "BM";
    Append32(bytes, pixelOffset + pixelBytes);
    Append32(bytes, 0);
    Append32(bytes, pixelOffset);

    Append32(bytes, kInfoHeaderSize);
    Append32(bytes, width);
    Append32(bytes, height); // positive: the bottom row first
    Append16(bytes, 1);      // planes
    Append16(bytes, 32);     // bits a pixel
    Append32(bytes, kBitFields);
    Append32(bytes, pixelBytes);
    Append32(bytes, std::uint32_t(kPixelsPerMetre));
    Append32(bytes, std::uint32_t(kPixelsPerMetre));
    Append32(bytes, 0); // colours used
    Append32(bytes, 0); // colours important
    Append32(bytes, 0x00FF0000);
    Append32(bytes, 0x0000FF00);
    Append32(bytes, 0x000000FF);
    Append32(bytes, picture.hasAlphaChannel() ? 0xFF000000 : 0);
    Append32(bytes, kSRGBColourSpace);
    bytes.append(36 + 12, '\0'); // end points and gamma, unused with sRGB

    for (int y = pixels.height() - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (std::uint32_t x = 0; x < width; ++x)
            Append32(bytes, line[x]);
    }
    return bytes;
}

QImage PictureFromBitmapStream(const std::string& bytes)
{
    QByteArray data = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    const QSize declared = reader.size();
    if (!declared.isValid() || std::int64_t(declared.width()) * declared.height() > kMaxPicturePixels)
        return QImage();
    QImage picture;
    if (!reader.read(&picture))
        return QImage();
    return picture;
}
