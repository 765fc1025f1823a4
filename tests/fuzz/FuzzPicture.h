#pragma once

// A picture file opened for tracing as File > Open opens it, then made into
// the black-and-white picture the tracer reads, cleaned of spots.

#include <string>

#include "FuzzSupport.h"
#include "import/MonoRaster.h"
#include "import/RasterFiles.h"

namespace fuzz {

inline void OpenPictureForTracing(const std::string& fileName, bool jpeg)
{
    LoadedRaster raster;
    try {
        raster = jpeg ? LoadJpegRaster(fileName) : LoadBmpRaster(fileName);
    } catch (const RasterError&) {
        return; // refused with its message: Open keeps what it had
    }
    QImage mono = ThresholdRaster(raster.image, RasterDepthClass(raster.bitCount), Thresholds{});
    Require(!mono.isNull() && mono.size() == raster.image.size(), "a picture read is made black and white whole");
    RemoveBlackSpots(mono, 3);
    RemoveWhiteSpots(mono, 3);
}

} // namespace fuzz
