// Reading the picture to trace from a BMP file.

#include <array>
#include <cstring>
#include <fstream>
#include <iterator>

#include "Trace.h"

namespace {

std::uint32_t Le32(const std::vector<unsigned char>& data, std::size_t at)
{
    return static_cast<std::uint32_t>(data[at]) | static_cast<std::uint32_t>(data[at + 1]) << 8 |
           static_cast<std::uint32_t>(data[at + 2]) << 16 | static_cast<std::uint32_t>(data[at + 3]) << 24;
}

std::uint16_t Le16(const std::vector<unsigned char>& data, std::size_t at)
{
    return static_cast<std::uint16_t>(data[at] | data[at + 1] << 8);
}

[[noreturn]] void Bad(const std::string& fileName, const std::string& why)
{
    throw TTraceError(kExitBadInput, fileName + ": " + why);
}

// Rec. 601 luma of a palette entry or pixel stored blue, green, red.
int Luma(const unsigned char* bgr)
{
    return (114 * bgr[0] + 587 * bgr[1] + 299 * bgr[2]) / 1000;
}

constexpr int kMaxSide = 1 << 16;

} // namespace

TInkBitmap ReadBmpFile(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        Bad(fileName, "cannot be opened");
    std::vector<unsigned char> data;
    try {
        data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        Bad(fileName, "cannot be read");
    }
    return ReadBmp(data, fileName);
}

TInkBitmap ReadBmp(const std::vector<unsigned char>& data, const std::string& fileName)
{
    if (data.size() < 54 || data[0] != 'B' || data[1] != 'M')
        Bad(fileName, "is not a BMP file");
    const std::uint32_t pixelOffset = Le32(data, 10);
    const std::uint32_t headerSize = Le32(data, 14);
    if (headerSize < 40 || 14u + headerSize > data.size())
        Bad(fileName, "has an unsupported BMP header");
    const auto width = static_cast<std::int32_t>(Le32(data, 18));
    const auto storedHeight = static_cast<std::int32_t>(Le32(data, 22));
    const int bitsPerPixel = Le16(data, 28);
    const std::uint32_t compression = Le32(data, 30);
    const std::uint32_t coloursUsed = Le32(data, 46);
    const bool topDown = storedHeight < 0;
    const std::int64_t height = topDown ? -static_cast<std::int64_t>(storedHeight) : storedHeight;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        Bad(fileName, "has an unsupported size");
    if (bitsPerPixel != 1 && bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32)
        Bad(fileName, "has an unsupported pixel depth of " + std::to_string(bitsPerPixel) + " bits");
    // Bit fields are accepted for 32-bit pictures only in the usual order, which the reader assumes.
    if (compression != 0 && !(compression == 3 && bitsPerPixel == 32))
        Bad(fileName, "is compressed");

    // Ink by palette index for indexed pictures.
    std::array<bool, 256> paletteInk{};
    if (bitsPerPixel <= 8) {
        const std::size_t entries = coloursUsed != 0 ? coloursUsed : std::size_t{1} << bitsPerPixel;
        const std::size_t paletteAt = 14u + headerSize;
        if (entries > 256 || paletteAt + entries * 4 > data.size())
            Bad(fileName, "has a damaged colour table");
        if (bitsPerPixel == 1) {
            // The darker of the two entries is ink; two equal entries leave entry 0 as ink.
            const int first = Luma(&data[paletteAt]);
            const int second = entries > 1 ? Luma(&data[paletteAt + 4]) : 255;
            paletteInk[0] = first <= second;
            paletteInk[1] = !paletteInk[0];
        } else {
            for (std::size_t i = 0; i < entries; ++i)
                paletteInk[i] = Luma(&data[paletteAt + i * 4]) < 128;
        }
    }

    const std::size_t stride = ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32) * 4;
    if (pixelOffset > data.size() || stride * static_cast<std::size_t>(height) > data.size() - pixelOffset)
        Bad(fileName, "is cut short");

    TInkBitmap bitmap;
    bitmap.Width = width;
    bitmap.Height = static_cast<int>(height);
    bitmap.WordsPerRow = (width + 63) / 64;
    bitmap.Words.assign(static_cast<std::size_t>(bitmap.WordsPerRow) * static_cast<std::size_t>(height), 0);
    const int spareBits = bitmap.WordsPerRow * 64 - width;
    const std::uint64_t lastWordMask = spareBits == 0 ? ~std::uint64_t{0} : ~std::uint64_t{0} << spareBits;
    for (int y = 0; y < bitmap.Height; ++y) {
        // Row 0 of the result is the bottom row of the picture.
        const std::size_t storedRow = topDown ? static_cast<std::size_t>(bitmap.Height - 1 - y) : static_cast<std::size_t>(y);
        const unsigned char* row = &data[pixelOffset + storedRow * stride];
        std::uint64_t* out = &bitmap.Words[static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.WordsPerRow)];
        if (bitsPerPixel == 1) {
            // Whole bytes go over eight pixels at a time; ink may be the set or the clear bit.
            const std::uint64_t flip = paletteInk[1] ? 0 : ~std::uint64_t{0};
            const std::size_t rowBytes = (static_cast<std::size_t>(width) + 7) / 8;
            for (int w = 0; w < bitmap.WordsPerRow; ++w) {
                std::uint64_t word = 0;
                for (std::size_t b = 0; b < 8; ++b) {
                    const std::size_t at = static_cast<std::size_t>(w) * 8 + b;
                    word = word << 8 | (at < rowBytes ? row[at] : 0u);
                }
                out[w] = word ^ flip;
            }
        } else {
            const std::size_t bytesPerPixel = static_cast<std::size_t>(bitsPerPixel) / 8;
            for (int x = 0; x < width; ++x) {
                const unsigned char* pixel = row + static_cast<std::size_t>(x) * bytesPerPixel;
                const bool ink = bitsPerPixel == 8 ? paletteInk[*pixel] : Luma(pixel) < 128;
                if (ink)
                    out[x / 64] |= std::uint64_t{1} << (63 - x % 64);
            }
        }
        out[bitmap.WordsPerRow - 1] &= lastWordMask;
    }
    return bitmap;
}
