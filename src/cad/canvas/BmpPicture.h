#pragma once

// BMP pictures through Qt's decoder, with every pixel defined.

#include <QByteArray>
#include <QImage>

#include <cstdint>

// Run-length data makes at most 255 pixels from 2 bytes; twice that density
// leaves room for the pixels a delta skips without coding them. A picture
// claiming more pixels than its data could make asks for memory and work
// its file does not pay for.
inline constexpr std::uint64_t MaxRunLengthPixelsPerByte = 256;

// The picture of a BMP file image; null when it cannot be read. Run-length
// data may skip pixels with a delta or end before the last row: those pixels
// are 0, the first palette entry, never what the memory held before.
QImage DecodeBmpPicture(const QByteArray& bmp);
