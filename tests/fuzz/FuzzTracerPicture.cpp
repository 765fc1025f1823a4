// A picture of any bytes, read by the tracing program as it reads the BMP the
// vectorize pages hand it, then traced into centre lines (the tracer's own
// code; outlines are libpotrace's) when it is small enough to stay well
// inside the time limit under the sanitizers.

#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "Trace.h"

namespace {

// Centre lines of larger pictures are left out: their time, not a fault, would end the run.
constexpr long kMaxTracedPixels = 1 << 18;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TInkBitmap bitmap;
    try {
        bitmap = ReadBmp(std::vector<unsigned char>(data, data + size), "fuzz input");
    } catch (const TTraceError& error) {
        // A picture that does not read is refused with its own exit code.
        fuzz::Require(error.ExitCode == kExitBadInput, "a refused picture names bad input");
        return 0;
    }
    fuzz::Require(bitmap.Width > 0 && bitmap.Height > 0 && bitmap.WordsPerRow == (bitmap.Width + 63) / 64,
                  "the picture has a size and whole rows");
    fuzz::Require(bitmap.Words.size() == static_cast<std::size_t>(bitmap.WordsPerRow) * static_cast<std::size_t>(bitmap.Height),
                  "every row is there");
    // Bits beyond the picture's width are never ink.
    const int spare = bitmap.WordsPerRow * 64 - bitmap.Width;
    if (spare > 0)
        for (int y = 0; y < bitmap.Height; ++y)
            fuzz::Require((bitmap.Words[static_cast<std::size_t>(y + 1) * static_cast<std::size_t>(bitmap.WordsPerRow) - 1] &
                           ((std::uint64_t{1} << spare) - 1)) == 0,
                          "no ink beyond the right edge");
    if (static_cast<long>(bitmap.Width) * bitmap.Height <= kMaxTracedPixels) {
        TTraceOptions options;
        options.CentreLine = true;
        for (const TTraceLine& line : TraceCentreLines(bitmap, options))
            fuzz::Require(!line.Points.empty(), "every line has a point");
    }
    return 0;
}
