// Pictures for tracing: small BMPs built here byte by byte for every layout,
// and pictures written at test time by ImageMagick and libjpeg's cjpeg, each
// compared pixel for pixel with ImageMagick's own reading. Truncated and
// damaged copies must be refused with a message, never half-read.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "import/RasterFiles.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

const fs::path kOut = fs::path(KESTRO_TEST_OUTPUT_DIR) / "raster-files";
// The system's ImageMagick, not a wrapper earlier on the path.
const std::string kConvert = "/usr/bin/convert";

void Put16(Bytes& b, unsigned v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// A BMP with a 40-byte header; `pixels` are the stored rows, bottom row first.
Bytes Bmp(int bits, int width, int height, const std::vector<QRgb>& palette, const Bytes& pixels,
          std::uint32_t compression = 0, std::int32_t ppmX = 0, std::int32_t ppmY = 0) {
  const std::uint32_t offset = 14 + 40 + 4 * static_cast<std::uint32_t>(palette.size());
  Bytes b{'B', 'M'};
  Put32(b, offset + static_cast<std::uint32_t>(pixels.size()));
  Put32(b, 0);
  Put32(b, offset);
  Put32(b, 40);
  Put32(b, static_cast<std::uint32_t>(width));
  Put32(b, static_cast<std::uint32_t>(height));
  Put16(b, 1);
  Put16(b, static_cast<unsigned>(bits));
  Put32(b, compression);
  Put32(b, static_cast<std::uint32_t>(pixels.size()));
  Put32(b, static_cast<std::uint32_t>(ppmX));
  Put32(b, static_cast<std::uint32_t>(ppmY));
  Put32(b, static_cast<std::uint32_t>(palette.size()));
  Put32(b, 0);
  for (QRgb c : palette) {
    b.push_back(static_cast<unsigned char>(qBlue(c)));
    b.push_back(static_cast<unsigned char>(qGreen(c)));
    b.push_back(static_cast<unsigned char>(qRed(c)));
    b.push_back(0);
  }
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

std::string Write(const std::string& name, const Bytes& bytes) {
  fs::create_directories(kOut);
  const fs::path path = kOut / name;
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Shell(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

// ImageMagick's reading of a picture, as 8-bit RGB.
QImage Reference(const std::string& path) {
  const std::string ppm = path + ".ppm";
  Shell(kConvert + " '" + path + "' -depth 8 ppm:'" + ppm + "'");
  QImage image(QString::fromStdString(ppm), "PPM");
  return image.convertToFormat(QImage::Format_RGB32);
}

int LargestDifference(const QImage& a, const QImage& b) {
  int largest = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q))});
    }
  return largest;
}

// Every copy cut short, and copies with a damaged signature or depth, are refused.
void ExpectDamagedCopiesRefused(const std::string& path, bool jpeg) {
  const Bytes whole = ReadAll(path);
  const auto load = [&](const Bytes& bytes, const std::string& what) {
    const std::string copy = Write(fs::path(path).filename().string() + "." + what, bytes);
    EXPECT_THROW(jpeg ? LoadJpegRaster(copy) : LoadBmpRaster(copy), RasterError) << path << " " << what;
  };
  for (std::size_t length : {std::size_t{0}, std::size_t{10}, std::size_t{40}, whole.size() / 2, whole.size() - 3})
    load(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)), "cut" + std::to_string(length));
  Bytes signature = whole;
  signature[1] = 'X';
  load(signature, "signature");
  if (!jpeg) {
    Bytes depth = whole;
    depth[28] = 7;
    load(depth, "depth");
  }
  // Damaged picture data may change the pixels but must not fault.
  Bytes noise = whole;
  for (std::size_t i = noise.size() / 2; i < noise.size(); i += 7) noise[i] ^= 0x5A;
  const std::string noisy = Write(fs::path(path).filename().string() + ".noise", noise);
  try {
    (void)(jpeg ? LoadJpegRaster(noisy) : LoadBmpRaster(noisy));
  } catch (const RasterError&) {
  }
}

struct BuiltCase {
  const char* name;
  int bits;
  Bytes file;
  std::vector<QRgb> expected;  // top row first
  int width;
};

const QRgb kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255), kRed = qRgb(255, 0, 0), kBlue = qRgb(0, 0, 255),
           kGreen = qRgb(0, 255, 0);

}  // namespace

TEST(RasterFiles, BuiltBmpsOfEveryLayoutLoadWithTheirPixelsAndPalettes) {
  std::vector<QRgb> sixteen;
  for (int i = 0; i < 16; ++i) sixteen.push_back(qRgb(i * 16, 255 - i * 16, i * 8));
  std::vector<QRgb> grey;
  for (int i = 0; i < 256; ++i) grey.push_back(qRgb(i, i, i));
  const std::vector<BuiltCase> cases = {
      {"1-bit", 1, Bmp(1, 3, 2, {kBlack, kWhite}, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}),
       {kBlack, kWhite, kBlack, kWhite, kBlack, kWhite}, 3},
      {"4-bit", 4, Bmp(4, 3, 2, sixteen, {0x12, 0x30, 0, 0, 0xF0, 0x10, 0, 0}),
       {sixteen[15], sixteen[0], sixteen[1], sixteen[1], sixteen[2], sixteen[3]}, 3},
      {"8-bit", 8, Bmp(8, 3, 2, grey, {7, 8, 9, 0, 200, 201, 202, 0}),
       {grey[200], grey[201], grey[202], grey[7], grey[8], grey[9]}, 3},
      {"RLE8", 8, Bmp(8, 4, 2, grey, {4, 5, 0, 0, 2, 7, 2, 9, 0, 1}, 1),
       {grey[7], grey[7], grey[9], grey[9], grey[5], grey[5], grey[5], grey[5]}, 4},
      {"RLE4", 4, Bmp(4, 4, 2, sixteen, {4, 0x12, 0, 0, 4, 0x34, 0, 1}, 2),
       {sixteen[3], sixteen[4], sixteen[3], sixteen[4], sixteen[1], sixteen[2], sixteen[1], sixteen[2]}, 4},
      {"16-bit", 16, Bmp(16, 2, 1, {}, {0x00, 0x7C, 0x1F, 0x00}), {qRgb(248, 0, 0), qRgb(0, 0, 248)}, 2},
      {"24-bit", 24, Bmp(24, 2, 2, {}, {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0}),
       {kRed, kWhite, kBlue, kGreen}, 2},
      {"32-bit", 32, Bmp(32, 2, 1, {}, {0, 0, 255, 9, 255, 0, 0, 9}), {kRed, kBlue}, 2},
  };
  for (const BuiltCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(std::string(c.name) + ".bmp", c.file);
    EXPECT_EQ(ReadBmpInfo(path).bitCount, c.bits);
    const LoadedRaster raster = LoadBmpRaster(path);
    EXPECT_EQ(raster.bitCount, c.bits);
    EXPECT_EQ(raster.image.format(), c.bits <= 8 ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    ASSERT_EQ(raster.image.width(), c.width);
    ASSERT_EQ(raster.image.width() * raster.image.height(), static_cast<int>(c.expected.size()));
    for (int y = 0; y < raster.image.height(); ++y)
      for (int x = 0; x < c.width; ++x)
        EXPECT_EQ(raster.image.pixel(x, y), c.expected[static_cast<std::size_t>(y * c.width + x)]) << x << "," << y;
    ExpectDamagedCopiesRefused(path, false);
  }
}

TEST(RasterFiles, ResolutionGivesTheWorldSizeFromTheXAxisOnly) {
  const Bytes row(1000 * 3, 128);
  const std::string at72 = Write("72dpi.bmp", Bmp(24, 1000, 1, {}, row, 0, 2835, 1417));
  const BmpInfo info = ReadBmpInfo(at72);
  EXPECT_EQ(info.xResolution, 72);
  EXPECT_EQ(info.yResolution, 36);
  EXPECT_FALSE(info.compressed);
  EXPECT_NEAR(RasterWorldSize(1000, LoadBmpRaster(at72).dotsPerInch, true), 352.778, 0.0005);
  EXPECT_NEAR(RasterWorldSize(1000, 72, false), 13.8889, 0.00005);
  const std::string none = Write("0dpi.bmp", Bmp(24, 1000, 1, {}, row));
  EXPECT_EQ(ReadBmpInfo(none).xResolution, 0);
  EXPECT_EQ(RasterWorldSize(1000, 0, true), 1000);
  EXPECT_EQ(RasterWorldSize(1000, 0, false), 1000);
  EXPECT_EQ(DotsPerInch(-5), 0);
  // Depth text and class as the information page shows them.
  EXPECT_EQ(DepthText(4), "4 bit");
  EXPECT_EQ(RasterDepthClass(1), 0);
  EXPECT_EQ(RasterDepthClass(4), 0);
  EXPECT_EQ(RasterDepthClass(8), 1);
  EXPECT_EQ(RasterDepthClass(16), 3);
  EXPECT_EQ(RasterDepthClass(32), 3);
}

TEST(RasterFiles, ImageMagickBmpsOfEveryDepthMatchImageMagicksOwnReading) {
  const std::string source = "-size 37x23 gradient:red-blue";
  struct Case {
    const char* name;
    const char* options;
    int bits;
    bool compressed;
    int tolerance;
  };
  const Case cases[] = {
      {"im-1", "-type bilevel BMP3:", 1, false, 0},
      {"im-4", "-colors 16 -type palette BMP3:", 4, false, 0},
      {"im-8", "-colors 200 -type palette -compress None BMP3:", 8, false, 0},
      {"im-8-rle", "-colors 200 -type palette -compress RLE BMP3:", 8, true, 0},
      {"im-16", "-define bmp:subtype=RGB565 BMP:", 16, true, 8},
      {"im-24", "-type truecolor BMP3:", 24, false, 0},
      {"im-32", "-alpha set -type truecolormatte BMP:", 32, true, 0},
  };
  fs::create_directories(kOut);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = (kOut / (std::string(c.name) + ".bmp")).string();
    Shell(kConvert + " " + source + " -density 100 -units PixelsPerCentimeter " + c.options + "'" + path + "'");
    const BmpInfo info = ReadBmpInfo(path);
    EXPECT_EQ(info.bitCount, c.bits);
    EXPECT_EQ(info.compressed, c.compressed);
    EXPECT_EQ(info.xResolution, 254);
    const LoadedRaster raster = LoadBmpRaster(path);
    ASSERT_EQ(raster.image.size(), QSize(37, 23));
    EXPECT_LE(LargestDifference(raster.image, Reference(path)), c.tolerance);
    ExpectDamagedCopiesRefused(path, false);
  }
  // Rows stored top-down: the 24-bit file turned over, with a negative height.
  const Bytes bottomUp = ReadAll((kOut / "im-24.bmp").string());
  Bytes topDown(bottomUp.begin(), bottomUp.begin() + 54);
  const std::size_t stride = (37 * 3 + 3) / 4 * 4;
  for (int row = 22; row >= 0; --row)
    topDown.insert(topDown.end(), bottomUp.begin() + 54 + static_cast<std::ptrdiff_t>(row * stride),
                   bottomUp.begin() + 54 + static_cast<std::ptrdiff_t>((row + 1) * stride));
  const std::int32_t negative = -23;
  for (int i = 0; i < 4; ++i) topDown[22 + i] = static_cast<unsigned char>((negative >> (8 * i)) & 0xFF);
  const std::string topDownPath = Write("im-24-top-down.bmp", topDown);
  EXPECT_EQ(LargestDifference(LoadBmpRaster(topDownPath).image, Reference((kOut / "im-24.bmp").string())), 0);
}

TEST(RasterFiles, JpegsCarryTheirDensityUnitAndMatchImageMagicksReading) {
  fs::create_directories(kOut);
  const std::string ppm = (kOut / "jpeg-source.ppm").string();
  Shell(kConvert + " -size 40x30 gradient:yellow-navy -depth 8 ppm:'" + ppm + "'");
  struct Case {
    const char* name;
    const char* command;  // %s: the source, then the result
    std::uint8_t unit;
    double dotsPerInch;
    double worldWidthMm;
  };
  const Case cases[] = {
      {"cjpeg-none.jpg", "cjpeg -quality 95 -outfile '%o' '%i'", 0, 0, 40},
      {"im-per-inch.jpg", "/usr/bin/convert '%i' -density 300 -units PixelsPerInch '%o'", 1, 300, 40 / 300.0 * 25.4},
      {"im-per-cm.jpg", "/usr/bin/convert '%i' -density 100 -units PixelsPerCentimeter '%o'", 2, 254, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = (kOut / c.name).string();
    std::string command = c.command;
    command.replace(command.find("%o"), 2, path);
    command.replace(command.find("%i"), 2, ppm);
    Shell(command);
    const JpegDensity density = ReadJpegDensity(path);
    EXPECT_EQ(density.unit, c.unit);
    const LoadedRaster raster = LoadJpegRaster(path);
    EXPECT_EQ(raster.bitCount, 24);
    EXPECT_DOUBLE_EQ(raster.dotsPerInch, c.dotsPerInch);
    ASSERT_EQ(raster.image.size(), QSize(40, 30));
    EXPECT_NEAR(RasterWorldSize(raster.image.width(), raster.dotsPerInch, true), c.worldWidthMm, 1e-9);
    EXPECT_LE(LargestDifference(raster.image, Reference(path)), 2);
    ExpectDamagedCopiesRefused(path, true);
  }
  // A JFIF marker too near the end of the first 50 bytes gives no density.
  Bytes late(46, 0);
  for (char ch : std::string("JFIF")) late.push_back(static_cast<unsigned char>(ch));
  const JpegDensity none = ReadJpegDensity(Write("late-jfif.jpg", late));
  EXPECT_EQ(none.x, 0);
  EXPECT_EQ(none.unit, 0);
}
