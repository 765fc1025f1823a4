#include "import/MonoRaster.h"

#include <QColor>

#include <algorithm>

namespace {

constexpr uchar kBlack = 0;
constexpr uchar kWhite = 255;

bool BlockHolds(const QImage& mono, int left, int top, int n, uchar value) {
  for (int y = top; y < top + n; ++y) {
    const uchar* row = mono.constScanLine(y);
    if (std::find(row + left, row + left + n, value) != row + left + n) return true;
  }
  return false;
}

bool RingIsAll(const QImage& mono, int left, int top, int n, uchar value) {
  const int side = n + 2;
  const auto all = [&](int y, int from, int count) {
    const uchar* row = mono.constScanLine(y) + from;
    return std::all_of(row, row + count, [value](uchar v) { return v == value; });
  };
  if (!all(top, left, side) || !all(top + side - 1, left, side)) return false;
  for (int y = top + 1; y < top + side - 1; ++y)
    if (!all(y, left, 1) || !all(y, left + side - 1, 1)) return false;
  return true;
}

void RemoveSpots(QImage& mono, int n, uchar spot) {
  if (mono.isNull() || mono.format() != QImage::Format_Indexed8) return;
  n = std::clamp(n, 1, 8);
  const uchar ground = spot == kBlack ? kWhite : kBlack;
  const int side = n + 2;
  for (int top = 0; top + side <= mono.height(); ++top)
    for (int left = 0; left + side <= mono.width(); ++left) {
      if (!RingIsAll(mono, left, top, n, ground) || !BlockHolds(mono, left + 1, top + 1, n, spot)) continue;
      for (int y = top + 1; y <= top + n; ++y) std::fill_n(mono.scanLine(y) + left + 1, n, ground);
    }
}

}  // namespace

void SetMonoPalette(QImage& mono, bool preview) {
  QList<QRgb> palette(256);
  for (int i = 0; i < 256; ++i) {
    const int level = preview && i < 250 ? 200 : i;
    palette[i] = qRgb(level, level, level);
  }
  mono.setColorTable(palette);
}

QImage MakeMonoRaster(QSize size) {
  QImage mono(size, QImage::Format_Indexed8);
  SetMonoPalette(mono, false);
  mono.fill(kWhite);
  return mono;
}

QImage ThresholdRaster(const QImage& source, int depthClass, const Thresholds& thresholds) {
  const bool indexed = source.format() == QImage::Format_Indexed8;
  if (source.isNull() || (!indexed && source.format() != QImage::Format_RGB32)) return {};
  QImage mono = MakeMonoRaster(source.size());
  // The level each palette entry is compared by: its grey for 1- and 4-bit
  // pictures, whose few indices say nothing of brightness; its index otherwise.
  uchar level[256];
  const QList<QRgb> palette = source.colorTable();
  for (int i = 0; i < 256; ++i)
    level[i] = static_cast<uchar>(depthClass == 0 && i < palette.size() ? qGray(palette[i]) : i);
  const int width = source.width();
  for (int y = 0; y < source.height(); ++y) {
    uchar* out = mono.scanLine(y);
    if (indexed) {
      const uchar* in = source.constScanLine(y);
      for (int x = 0; x < width; ++x) out[x] = level[in[x]] > thresholds.red ? kWhite : kBlack;
    } else {
      const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
      for (int x = 0; x < width; ++x)
        out[x] = qRed(in[x]) > thresholds.red && qGreen(in[x]) > thresholds.green && qBlue(in[x]) > thresholds.blue
                     ? kWhite
                     : kBlack;
    }
  }
  return mono;
}

void RemoveBlackSpots(QImage& mono, int n) { RemoveSpots(mono, n, kBlack); }

void RemoveWhiteSpots(QImage& mono, int n) { RemoveSpots(mono, n, kWhite); }
