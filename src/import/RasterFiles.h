#pragma once

// Reading pictures for tracing: BMP in every depth and layout, JPEG through
// libjpeg. A picture that cannot be read raises RasterError and yields
// nothing, so the caller keeps whatever it had.

#include <QImage>

#include <cstdint>
#include <stdexcept>
#include <string>

class RasterError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct BmpInfo {
  std::int16_t bitCount = 0;
  bool compressed = false;
  std::int32_t xResolution = 0;  // dots per inch
  std::int32_t yResolution = 0;
};

// The information header after the 14-byte file header. Throws RasterError
// when the file is too short or its header is not one a BMP can have.
BmpInfo ReadBmpInfo(const std::string& fileName);

// Pixels per metre to dots per inch, halves rounded to even.
std::int32_t DotsPerInch(std::int32_t pixelsPerMetre);

struct JpegDensity {
  std::uint16_t x = 0;
  std::uint16_t y = 0;
  std::uint8_t unit = 0;  // 0 none, 1 dots per inch, 2 dots per centimetre
  // The density as dots per inch; 0 when the file states no resolution.
  double xDotsPerInch() const;
};

// The JFIF density from the first 50 bytes; all zero without a JFIF marker.
JpegDensity ReadJpegDensity(const std::string& fileName);

// A picture as tracing keeps it: 8-bit indexed with its palette (1-, 4- and
// 8-bit files) or 32-bit RGB (16-, 24- and 32-bit files and JPEG).
struct LoadedRaster {
  QImage image;
  int bitCount = 0;           // as the file stores it
  double dotsPerInch = 0;     // 0 when the file states no resolution
  int resolutionShown = 0;    // the resolution the information page shows
};

LoadedRaster LoadBmpRaster(const std::string& fileName);
LoadedRaster LoadJpegRaster(const std::string& fileName);

// 0 for 1- and 4-bit pictures, 1 for 8-bit, 3 for deeper ones.
int RasterDepthClass(int bitCount);
// "1 bit" ... "32 bit".
std::string DepthText(int bitCount);

// The size of a picture in drawing units: pixels / resolution, in mm or
// inches; one pixel per unit when the resolution is unknown.
double RasterWorldSize(int pixels, double dotsPerInch, bool millimetres);
