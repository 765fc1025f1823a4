// Thresholding and spot removal on pictures drawn here as text: '#' black,
// '.' white, so each case shows what it expects.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <string>
#include <vector>

#include "import/MonoRaster.h"

namespace {

QImage Mono(const std::vector<std::string>& rows) {
  QImage mono = MakeMonoRaster(QSize(static_cast<int>(rows[0].size()), static_cast<int>(rows.size())));
  for (int y = 0; y < mono.height(); ++y)
    for (int x = 0; x < mono.width(); ++x)
      mono.scanLine(y)[x] = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#' ? 0 : 255;
  return mono;
}

std::vector<std::string> Text(const QImage& mono) {
  std::vector<std::string> rows;
  for (int y = 0; y < mono.height(); ++y) {
    std::string row;
    for (int x = 0; x < mono.width(); ++x) row += mono.constScanLine(y)[x] == 0 ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

QImage Indexed(const std::vector<int>& pixels, const QList<QRgb>& palette) {
  QImage image(static_cast<int>(pixels.size()), 1, QImage::Format_Indexed8);
  image.setColorTable(palette);
  for (std::size_t x = 0; x < pixels.size(); ++x) image.scanLine(0)[x] = static_cast<uchar>(pixels[x]);
  return image;
}

}  // namespace

TEST(MonoRaster, ThresholdsAreInclusiveBlackOnEveryLayout) {
  QList<QRgb> ramp;
  for (int i = 0; i < 256; ++i) ramp.push_back(qRgb(i, i, i));
  const Thresholds defaults;  // 40, 30, 40
  // 8 bit: the index against red; equal is black.
  EXPECT_EQ(Text(ThresholdRaster(Indexed({40, 41, 0, 255}, ramp), 1, defaults)), std::vector<std::string>{"#.#."});
  // 8 bit with a non-grey palette still compares the index.
  QList<QRgb> reversed;
  for (int i = 0; i < 256; ++i) reversed.push_back(qRgb(255 - i, 255 - i, 255 - i));
  EXPECT_EQ(Text(ThresholdRaster(Indexed({10, 200}, reversed), 1, defaults)), std::vector<std::string>{"#."});
  // 1 and 4 bit: the grey of the palette colour, so white index 1 is white.
  EXPECT_EQ(Text(ThresholdRaster(Indexed({0, 1, 1}, {qRgb(0, 0, 0), qRgb(255, 255, 255)}), 0, defaults)),
            std::vector<std::string>{"#.."});
  EXPECT_EQ(Text(ThresholdRaster(Indexed({0, 1}, {qRgb(255, 255, 255), qRgb(20, 20, 20)}), 0, defaults)),
            std::vector<std::string>{".#"});
  // Colour: white only when every channel is above the threshold its label names.
  QImage colour(6, 1, QImage::Format_RGB32);
  const QRgb pixels[] = {qRgb(200, 200, 50), qRgb(200, 200, 30), qRgb(41, 31, 41),
                         qRgb(40, 200, 200), qRgb(200, 30, 200), qRgb(255, 255, 255)};
  for (int x = 0; x < 6; ++x) colour.setPixel(x, 0, pixels[x]);
  EXPECT_EQ(Text(ThresholdRaster(colour, 3, defaults)), std::vector<std::string>{".#.##."});
  // A red control of 100 alone turns the pixels whose red is 100 or less black.
  EXPECT_EQ(Text(ThresholdRaster(colour, 3, {100, 0, 0})), std::vector<std::string>{"..##.."});
  // Nothing to threshold: no picture, or a layout that is not kept.
  EXPECT_TRUE(ThresholdRaster(QImage(), 3, defaults).isNull());
  EXPECT_TRUE(ThresholdRaster(QImage(4, 4, QImage::Format_Mono), 0, defaults).isNull());
  const QImage mono = ThresholdRaster(colour, 3, defaults);
  EXPECT_EQ(mono.format(), QImage::Format_Indexed8);
  EXPECT_EQ(mono.color(0), qRgb(0, 0, 0));
  EXPECT_EQ(mono.color(255), qRgb(255, 255, 255));
}

TEST(MonoRaster, PreviewPaletteShowsBlackAsLightGrey) {
  QImage mono = MakeMonoRaster(QSize(2, 2));
  SetMonoPalette(mono, true);
  EXPECT_EQ(mono.color(0), qRgb(200, 200, 200));
  EXPECT_EQ(mono.color(249), qRgb(200, 200, 200));
  EXPECT_EQ(mono.color(250), qRgb(250, 250, 250));
  EXPECT_EQ(mono.color(255), qRgb(255, 255, 255));
  SetMonoPalette(mono, false);
  EXPECT_EQ(mono.color(0), qRgb(0, 0, 0));
}

TEST(MonoRaster, SpotsInsideAWholeRingGoAndBorderSpotsStay) {
  struct Case {
    const char* name;
    int n;
    bool white;
    std::vector<std::string> before, after;
  };
  const std::vector<Case> cases = {
      {"single pixel", 1, false, {".....", "..#..", "....."}, {".....", ".....", "....."}},
      {"2x2 kept at 1", 1, false, {"....", ".##.", ".##.", "...."}, {"....", ".##.", ".##.", "...."}},
      {"2x2 gone at 2", 2, false, {"....", ".##.", ".##.", "...."}, {"....", "....", "....", "...."}},
      {"border spot", 1, false, {"#....", ".....", "....#"}, {"#....", ".....", "....#"}},
      {"ring broken", 1, false, {".....", "..##.", "....."}, {".....", "..##.", "....."}},
      {"above 8 is 8", 9, false, std::vector<std::string>(10, ".........."), std::vector<std::string>(10, "..........")},
      {"too small", 3, false, {"....", ".#..", "...."}, {"....", ".#..", "...."}},
      {"white spot", 1, true, {"####", "#.##", "####"}, {"####", "####", "####"}},
      {"white keeps black", 1, true, {"..#..", ".#.#.", "..#.."}, {"..#..", ".#.#.", "..#.."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QImage mono = Mono(c.before);
    c.white ? RemoveWhiteSpots(mono, c.n) : RemoveBlackSpots(mono, c.n);
    EXPECT_EQ(Text(mono), c.after);
  }
  // A 9-wide block in a 10x10 ring: larger than the 8 a window can hold, so it stays.
  std::vector<std::string> big(12, "............");
  for (int y = 1; y <= 9; ++y) big[static_cast<std::size_t>(y)] = "." + std::string(9, '#') + "..";
  QImage mono = Mono(big);
  RemoveBlackSpots(mono, 20);
  EXPECT_EQ(Text(mono), big);
}

TEST(MonoRaster, RemovingThenThresholdingAgainRestoresThePictureExactly) {
  QImage source(64, 48, QImage::Format_RGB32);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      const int v = ((x * 37 + y * 91) ^ (x * y)) & 0xFF;
      source.setPixel(x, y, qRgb(v, (v * 3) & 0xFF, 255 - v));
    }
  const QImage thresholded = ThresholdRaster(source, 3, {});
  QImage cleaned = thresholded;
  RemoveBlackSpots(cleaned, 2);
  RemoveWhiteSpots(cleaned, 2);
  EXPECT_NE(cleaned, thresholded);
  EXPECT_EQ(ThresholdRaster(source, 3, {}), thresholded);
}
