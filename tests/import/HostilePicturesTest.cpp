// Pictures built to make the readers show memory they never wrote, or
// reserve gigabytes for a few bytes: each must load or be refused with a
// message, and the work done is checked, not the time taken.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/stream/CADStream.h"
#include "import/RasterFiles.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

std::string HostileFile(const std::string& name) { return std::string(KESTRO_TEST_DATA_DIR) + "/hostile/" + name; }

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Write(const std::string& name, const Bytes& bytes) {
  const fs::path folder = fs::path(KESTRO_TEST_OUTPUT_DIR) / "hostile-pictures";
  fs::create_directories(folder);
  const fs::path path = folder / name;
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

// Leaves freed blocks of the given size full of a pattern, so that a decoder
// that leaves pixels unwritten shows the pattern rather than fresh zeros.
void DirtyTheHeap(std::size_t size) {
  std::vector<void*> blocks;
  for (int i = 0; i < 8; ++i) {
    blocks.push_back(std::malloc(size));
    std::memset(blocks.back(), 0x5A, size);
  }
  for (void* block : blocks) std::free(block);
}

// Pixels that are not palette index 0, as "x,y=index".
std::vector<std::string> WrittenPixels(const QImage& image) {
  std::vector<std::string> written;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelIndex(x, y) != 0)
        written.push_back(std::to_string(x) + "," + std::to_string(y) + "=" + std::to_string(image.pixelIndex(x, y)));
  return written;
}

std::int64_t StatusKilobytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::stoll(line.substr(std::strlen(field)));
  return -1;
}

// How far the peak of resident memory rose while `work` ran, in megabytes.
std::int64_t PeakGrowthMegabytes(const std::function<void()>& work) {
  std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from what is resident now
  const std::int64_t before = StatusKilobytes("VmHWM:");
  work();
  return (StatusKilobytes("VmHWM:") - before) / 1024;
}

// A picture record of the drawing stream holding `bmp` as its picture.
TCADStreamReader BitmapRecord(const Bytes& bmp) {
  TBitmap2D empty(1, MakePoint2D(0, 0), MakePoint2D(10, 10), QImage());
  TCADStreamWriter out;
  empty.SaveToStream(out);
  // The empty picture is written as the 54 bytes of its headers, then three Int32.
  std::vector<std::uint8_t> record = out.Data();
  const auto picture = record.end() - 12 - 54;
  record.erase(picture, picture + 54);
  record.insert(record.end() - 12, bmp.begin(), bmp.end());
  return TCADStreamReader(record, "test");
}

}  // namespace

TEST(HostilePictures, PixelsRunLengthDataNeverWritesAreBackground) {
  struct Case {
    const char* file;
    std::vector<std::string> written;
  };
  const Case cases[] = {
      // The data ends the picture at once.
      {"bmp-rle4-end-at-once-64x64.bmp", {}},
      // A delta skips to (32, 32) from the bottom, then four pixels of index 7 end it.
      {"bmp-rle8-delta-64x64.bmp", {"32,31=7", "33,31=7", "34,31=7", "35,31=7"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    DirtyTheHeap(64 * 64);
    const LoadedRaster raster = LoadBmpRaster(HostileFile(c.file));
    ASSERT_EQ(raster.image.size(), QSize(64, 64));
    EXPECT_EQ(WrittenPixels(raster.image), c.written);
  }

  // The picture that ends at once, claiming 4096 x 4096 pixels, is refused
  // before anything is reserved for it.
  Bytes large = ReadAll(HostileFile("bmp-rle4-end-at-once-64x64.bmp"));
  large[18] = 0;
  large[19] = 0x10;
  large[22] = 0;
  large[23] = 0x10;
  try {
    LoadBmpRaster(Write("rle4-4096x4096.bmp", large));
    ADD_FAILURE() << "a picture of 4096 x 4096 pixels from 2 bytes of data was read";
  } catch (const RasterError& error) {
    EXPECT_STREQ(error.what(),
                 "Cannot read \"rle4-4096x4096.bmp\": its run-length data cannot fill a picture of 4096 x 4096 "
                 "pixels.");
  }

  // A drawing's picture record: the delta picture cut to 40 x 40, so that its
  // 8 bytes of data may fill it.
  Bytes bmp = ReadAll(HostileFile("bmp-rle8-delta-64x64.bmp"));
  bmp[18] = 40;
  bmp[22] = 40;
  TCADStreamReader record = BitmapRecord(bmp);
  TBitmap2D bitmap;
  DirtyTheHeap(40 * 40);
  bitmap.LoadFromStream(record, CADCurrentVersion);
  EXPECT_TRUE(record.AtEnd());
  ASSERT_EQ(bitmap.Bitmap.size(), QSize(40, 40));
  EXPECT_EQ(WrittenPixels(bitmap.Bitmap), (std::vector<std::string>{"32,7=7", "33,7=7", "34,7=7", "35,7=7"}));
}

TEST(HostilePictures, JpegsAskingForMoreThanAPictureMayTakeAreRefusedBeforeTheLibraryTakesIt) {
  // A progressive picture keeps every coefficient until its last scan: the
  // library would reserve (and clear) two bytes a sample for the declared size.
  const Bytes hostile = ReadAll(HostileFile("jpeg-progressive-30000x30000.jpg"));
  // The same scans declared 16000 x 12000: few enough pixels, but 576 MB of coefficients.
  Bytes withinPixels = hostile;
  const std::size_t frame = 0x9E;  // the progressive start-of-frame marker; height and width follow at 5 and 7
  ASSERT_EQ(withinPixels[frame + 1], 0xC2);
  withinPixels[frame + 5] = 12000 >> 8;
  withinPixels[frame + 6] = 12000 & 0xFF;
  withinPixels[frame + 7] = 16000 >> 8;
  withinPixels[frame + 8] = 16000 & 0xFF;
  // A plain picture of 4000 x 4000 cut after its first rows: libjpeg would
  // make every missing row, 64 MB of them, before saying the data ended.
  const fs::path white = fs::path(KESTRO_TEST_OUTPUT_DIR) / "hostile-pictures" / "white-4000.jpg";
  fs::create_directories(white.parent_path());
  ASSERT_EQ(std::system(("/usr/bin/convert -size 4000x4000 xc:white -quality 50 '" + white.string() + "'").c_str()), 0);
  const Bytes whole = ReadAll(white.string());
  struct Case {
    std::string file;
    std::string message;
  };
  const Case cases[] = {
      {Write("cut-4000x4000.jpg", Bytes(whole.begin(), whole.begin() + 2000)),
       "Cannot read \"cut-4000x4000.jpg\": the picture data is damaged or incomplete."},
      {HostileFile("jpeg-progressive-30000x30000.jpg"),
       "Cannot read \"jpeg-progressive-30000x30000.jpg\": a picture of 30000 x 30000 pixels is larger than the "
       "268435456 pixels a picture may have."},
      {Write("progressive-16000x12000.jpg", withinPixels),
       "Cannot read \"progressive-16000x12000.jpg\": decoding it would need more than 512 MB."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::string message;
    const std::int64_t grown = PeakGrowthMegabytes([&] {
      try {
        LoadJpegRaster(c.file);
      } catch (const RasterError& error) {
        message = error.what();
      }
    });
    EXPECT_EQ(message, c.message);
    EXPECT_LT(grown, 16) << "megabytes the refused picture made resident";
  }
}
