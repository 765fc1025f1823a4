#pragma once

// The black-and-white picture that tracing reads: every pixel 0 (black) or
// 255 (white) in an 8-bit image, built from the loaded picture by brightness
// thresholds, and cleaned of isolated spots.

#include <QImage>

// The grey ramp shows the pixels as they are; the preview palette shows black
// as light grey, so traced lines drawn over it stand out.
void SetMonoPalette(QImage& mono, bool preview);
// An empty 8-bit picture of `size` with the grey ramp.
QImage MakeMonoRaster(QSize size);

struct Thresholds {
  int red = 40;
  int green = 30;
  int blue = 40;
};

// A pixel is white when it is brighter than its threshold (on every channel
// for colour pictures), black when equal or darker. Indexed pictures of depth
// class 0 (1 and 4 bit) compare the grey level of each palette colour, 8-bit
// ones the palette index, both against the red threshold. A null result for a
// missing source or a layout other than 8-bit indexed or 32-bit RGB.
QImage ThresholdRaster(const QImage& source, int depthClass, const Thresholds& thresholds);

// Windows of (n + 2) x (n + 2) pixels, n at most 8, walked in place from the
// top left: where the one-pixel ring is all white and the inner n x n block
// holds black, the block becomes white. Spots touching the border stay.
void RemoveBlackSpots(QImage& mono, int n);
// The mirror: white spots inside a black ring become black.
void RemoveWhiteSpots(QImage& mono, int n);
