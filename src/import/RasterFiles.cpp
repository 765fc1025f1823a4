#include "import/RasterFiles.h"

#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

#include <QByteArray>
#include <QColor>

#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "cad/canvas/BmpPicture.h"

namespace {

// Pictures above this many pixels are refused before anything is allocated:
// a damaged header must not ask for gigabytes.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;
// Run-length pictures up to this many pixels are read whatever their data holds.
constexpr std::int64_t kSmallPicture = std::int64_t{1} << 20;

std::string BaseName(const std::string& fileName) {
  return std::filesystem::path(fileName).filename().string();
}

[[noreturn]] void Fail(const std::string& fileName, const std::string& why) {
  throw RasterError("Cannot read \"" + BaseName(fileName) + "\": " + why);
}

std::vector<unsigned char> ReadWhole(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) Fail(fileName, "the file cannot be opened.");
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) Fail(fileName, "the file cannot be read.");
  return bytes;
}

std::vector<unsigned char> ReadHead(const std::string& fileName, std::size_t count) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) Fail(fileName, "the file cannot be opened.");
  std::vector<unsigned char> bytes(count);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

std::uint32_t U16(const std::vector<unsigned char>& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t U32(const std::vector<unsigned char>& b, std::size_t at) {
  return U16(b, at) | (U16(b, at + 2) << 16);
}
std::int32_t I32(const std::vector<unsigned char>& b, std::size_t at) {
  return static_cast<std::int32_t>(U32(b, at));
}

struct BmpHeader {
  BmpInfo info;
  std::uint32_t headerSize = 0;
  std::uint32_t dataOffset = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative for top-down rows
  std::uint32_t compression = 0;
  std::uint32_t imageSize = 0;
  std::uint32_t coloursUsed = 0;
};

constexpr std::size_t kFileHeader = 14;

// Checks every header field a decoder trusts; `bytes` holds at least the headers.
BmpHeader ParseBmpHeader(const std::vector<unsigned char>& b, const std::string& fileName) {
  if (b.size() < kFileHeader + 4 || b[0] != 'B' || b[1] != 'M') Fail(fileName, "it is not a BMP picture.");
  BmpHeader h;
  h.dataOffset = U32(b, 10);
  h.headerSize = U32(b, kFileHeader);
  const bool core = h.headerSize == 12;
  if (!core && (h.headerSize < 40 || h.headerSize > 124)) Fail(fileName, "its BMP header has an unknown layout.");
  if (b.size() < kFileHeader + h.headerSize) Fail(fileName, "the file is truncated.");
  const std::size_t i = kFileHeader;
  std::uint32_t planes = 0;
  if (core) {
    h.width = U16(b, i + 4);
    h.height = U16(b, i + 6);
    planes = U16(b, i + 8);
    h.info.bitCount = static_cast<std::int16_t>(U16(b, i + 10));
  } else {
    h.width = I32(b, i + 4);
    h.height = I32(b, i + 8);
    planes = U16(b, i + 12);
    h.info.bitCount = static_cast<std::int16_t>(U16(b, i + 14));
    h.compression = U32(b, i + 16);
    h.imageSize = U32(b, i + 20);
    h.info.xResolution = DotsPerInch(I32(b, i + 24));
    h.info.yResolution = DotsPerInch(I32(b, i + 28));
    h.coloursUsed = U32(b, i + 32);
  }
  h.info.compressed = h.compression != 0;
  const int bits = h.info.bitCount;
  if (planes != 1 || (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
    Fail(fileName, "its colour depth is not supported.");
  const bool layoutOk = h.compression == 0 || (h.compression == 1 && bits == 8) ||
                        (h.compression == 2 && bits == 4) || (h.compression == 3 && (bits == 16 || bits == 32));
  if (!layoutOk) Fail(fileName, "its compression is not supported.");
  const std::int64_t rows = h.height < 0 ? -h.height : h.height;
  if (h.width <= 0 || rows == 0 || h.width * rows > kMaxPixels) Fail(fileName, "its picture size is not valid.");
  if (h.height < 0 && h.compression != 0 && h.compression != 3) Fail(fileName, "its picture size is not valid.");
  if (bits <= 8 && h.coloursUsed > (1u << bits)) Fail(fileName, "its palette is not valid.");
  return h;
}

// The pixel data and palette must lie inside the file, so nothing is read beyond it.
void CheckBmpExtent(const BmpHeader& h, std::size_t fileSize, const std::string& fileName) {
  const std::int64_t rows = h.height < 0 ? -h.height : h.height;
  std::int64_t palette = 0;
  if (h.info.bitCount <= 8)
    palette = static_cast<std::int64_t>(h.coloursUsed ? h.coloursUsed : 1u << h.info.bitCount) *
              (h.headerSize == 12 ? 3 : 4);
  const std::int64_t masks = (h.headerSize == 40 && h.compression == 3) ? 12 : 0;
  std::int64_t pixels = 0;
  if (h.compression == 0 || h.compression == 3)
    pixels = ((h.width * h.info.bitCount + 31) / 32) * 4 * rows;
  else
    pixels = std::max<std::int64_t>(h.imageSize, 1);
  const auto size = static_cast<std::int64_t>(fileSize);
  if (static_cast<std::int64_t>(kFileHeader + h.headerSize) + masks + palette > size ||
      h.dataOffset < kFileHeader + h.headerSize || h.dataOffset + pixels > size)
    Fail(fileName, "the file is truncated.");
  // A small picture may skip what it likes; a large one must bring the data to fill it.
  const std::int64_t area = h.width * rows;
  const auto runLengthPixels = static_cast<std::int64_t>(MaxRunLengthPixelsPerByte) * (size - h.dataOffset);
  if ((h.compression == 1 || h.compression == 2) && area > std::max(kSmallPicture, runLengthPixels))
    Fail(fileName, "its run-length data cannot fill a picture of " + std::to_string(h.width) + " x " +
                       std::to_string(rows) + " pixels.");
}

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char text[JMSG_LENGTH_MAX];
};

extern "C" void JpegErrorExit(j_common_ptr info) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  (*info->err->format_message)(info, errors->text);
  std::longjmp(errors->jump, 1);
}

extern "C" void JpegSilent(j_common_ptr info, int level) {
  // A warning means the data was damaged or ended early; the picture is refused below.
  if (level < 0) ++info->err->num_warnings;
}

}  // namespace

std::int32_t DotsPerInch(std::int32_t pixelsPerMetre) {
  if (pixelsPerMetre <= 0) return 0;
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double dpi = std::nearbyint(pixelsPerMetre / 39.37007874);
  std::fesetround(saved);
  return static_cast<std::int32_t>(dpi);
}

BmpInfo ReadBmpInfo(const std::string& fileName) {
  return ParseBmpHeader(ReadHead(fileName, kFileHeader + 124), fileName).info;
}

double JpegDensity::xDotsPerInch() const {
  if (unit == 1) return x;
  if (unit == 2) return x * 2.54;
  return 0;
}

JpegDensity ReadJpegDensity(const std::string& fileName) {
  const auto head = ReadHead(fileName, 50);
  JpegDensity density;
  static constexpr std::array<unsigned char, 4> kJfif{'J', 'F', 'I', 'F'};
  const auto at = std::search(head.begin(), head.end(), kJfif.begin(), kJfif.end());
  const auto j = static_cast<std::size_t>(at - head.begin());
  // The unit sits 7 bytes after the "J", the densities at 8 and 10, big-endian.
  if (at == head.end() || j + 12 > head.size()) return density;
  density.unit = head[j + 7];
  density.x = static_cast<std::uint16_t>((head[j + 8] << 8) | head[j + 9]);
  density.y = static_cast<std::uint16_t>((head[j + 10] << 8) | head[j + 11]);
  return density;
}

int RasterDepthClass(int bitCount) {
  if (bitCount <= 4) return 0;
  return bitCount == 8 ? 1 : 3;
}

std::string DepthText(int bitCount) { return std::to_string(bitCount) + " bit"; }

double RasterWorldSize(int pixels, double dotsPerInch, bool millimetres) {
  if (dotsPerInch == 0) return pixels;
  const double inches = pixels / dotsPerInch;
  return millimetres ? inches * 25.4 : inches;
}

LoadedRaster LoadBmpRaster(const std::string& fileName) {
  const auto bytes = ReadWhole(fileName);
  const BmpHeader header = ParseBmpHeader(bytes, fileName);
  CheckBmpExtent(header, bytes.size(), fileName);
  const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                                  static_cast<qsizetype>(bytes.size()));
  const QImage image = DecodeBmpPicture(data);
  if (image.isNull()) Fail(fileName, "the picture data is damaged.");
  LoadedRaster raster;
  raster.bitCount = header.info.bitCount;
  raster.dotsPerInch = header.info.xResolution;
  raster.resolutionShown = header.info.xResolution;
  // Indexed pictures keep their palette, so pixel values stay palette indices.
  if (header.info.bitCount <= 8)
    raster.image = image.convertToFormat(QImage::Format_Indexed8);
  else
    raster.image = image.convertToFormat(QImage::Format_RGB32);
  return raster;
}

namespace {

// What libjpeg may take for its own buffers. A progressive picture keeps the
// coefficients of the whole picture, two bytes a sample, however few bytes
// the file holds: past this it is refused before the buffers are reserved.
constexpr long kMaxJpegLibraryBytes = 512L << 20;

void SetWhy(char* why, const std::string& text) {
  std::strncpy(why, text.c_str(), JMSG_LENGTH_MAX - 1);
}

// Kept apart from LoadJpegRaster so that nothing with a destructor lives in
// the frame that libjpeg's error exit jumps back into.
bool DecodeJpeg(const std::vector<unsigned char>& bytes, QImage* image, char* why) {
  jpeg_decompress_struct info{};
  JpegErrors errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = JpegErrorExit;
  errors.manager.emit_message = JpegSilent;
  if (setjmp(errors.jump)) {
    const int code = info.err->msg_code;
    jpeg_destroy_decompress(&info);
    if (code == JERR_NO_BACKING_STORE || code == JERR_OUT_OF_MEMORY)
      SetWhy(why, "decoding it would need more than " + std::to_string(kMaxJpegLibraryBytes >> 20) + " MB");
    else
      SetWhy(why, errors.text);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  // The declared size is judged before libjpeg reserves anything for it.
  if (static_cast<std::int64_t>(info.image_width) * info.image_height > kMaxPixels) {
    SetWhy(why, "a picture of " + std::to_string(info.image_width) + " x " + std::to_string(info.image_height) +
                    " pixels is larger than the " + std::to_string(kMaxPixels) + " pixels a picture may have");
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.mem->max_memory_to_use = kMaxJpegLibraryBytes;
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  // A warning means damaged or missing data: libjpeg would go on making rows
  // of nothing for the whole declared size, so the picture is refused at once.
  const auto damaged = [&] {
    if (info.err->num_warnings == 0) return false;
    jpeg_destroy_decompress(&info);
    SetWhy(why, "the picture data is damaged or incomplete");
    return true;
  };
  if (damaged()) return false;
  if (info.output_components != 3) {
    jpeg_destroy_decompress(&info);
    SetWhy(why, "its colour layout is not supported");
    return false;
  }
  *image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB32);
  if (image->isNull()) {
    jpeg_destroy_decompress(&info);
    SetWhy(why, "the picture is too large");
    return false;
  }
  // Each row is decoded into the tail of its own scan line and spread to 32 bits in place.
  const int width = image->width();
  while (info.output_scanline < info.output_height) {
    auto* line = reinterpret_cast<QRgb*>(image->scanLine(static_cast<int>(info.output_scanline)));
    JSAMPROW row = reinterpret_cast<JSAMPROW>(line) + width;
    jpeg_read_scanlines(&info, &row, 1);
    if (damaged()) return false;
    for (int x = 0; x < width; ++x) line[x] = qRgb(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
  }
  jpeg_finish_decompress(&info);
  if (damaged()) return false;
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

LoadedRaster LoadJpegRaster(const std::string& fileName) {
  const auto bytes = ReadWhole(fileName);
  LoadedRaster raster;
  char why[JMSG_LENGTH_MAX] = {};
  if (!DecodeJpeg(bytes, &raster.image, why)) {
    raster.image = QImage();
    Fail(fileName, std::string(why) + ".");
  }
  raster.bitCount = 24;
  const JpegDensity density = ReadJpegDensity(fileName);
  raster.dotsPerInch = density.xDotsPerInch();
  raster.resolutionShown = static_cast<int>(std::lround(raster.dotsPerInch));
  return raster;
}
