#pragma once

// The tracer's shared types: the picture it reads and the lines it writes.
// Coordinates are in pixels with the origin at the picture's lower-left
// corner and y going up, as the program that imports the result expects.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// Ink pixels as one bit each, most significant bit leftmost, in rows of whole
// 64-bit words, row 0 at the bottom: the layout libpotrace traces directly.
struct TInkBitmap {
    int Width = 0;
    int Height = 0;
    int WordsPerRow = 0;
    std::vector<std::uint64_t> Words;

    bool Ink(int x, int y) const
    {
        const std::uint64_t word = Words[static_cast<std::size_t>(y) * static_cast<std::size_t>(WordsPerRow) +
                                         static_cast<std::size_t>(x / 64)];
        return ((word >> (63 - x % 64)) & 1u) != 0;
    }
};

struct TTracePoint {
    double X = 0.0;
    double Y = 0.0;
};

// A polyline, or a point when it holds only one.
struct TTraceLine {
    std::vector<TTracePoint> Points;
    bool Closed = false;
};

struct TTraceOptions {
    // How far the result may stray from the picture's pixels; larger is coarser.
    double ErrorThreshold = 2.0;
    // Specks up to this many pixels are dropped; centre lines are smoothed this many times.
    int FilterIterations = 4;
    // In degrees; a larger value keeps more corners.
    int CornerThreshold = 90;
    bool CentreLine = false;
};

// Failures carry the exit code the program ends with.
class TTraceError : public std::runtime_error {
public:
    TTraceError(int exitCode, const std::string& message) : std::runtime_error(message), ExitCode(exitCode) {}
    int ExitCode;
};

inline constexpr int kExitUsage = 2;
inline constexpr int kExitBadInput = 3;
inline constexpr int kExitTraceFailed = 4;
inline constexpr int kExitWriteFailed = 5;

// The picture of a BMP file: 1, 8, 24 or 32 bits per pixel, uncompressed,
// rows stored bottom-up or top-down. Ink is the darker palette entry of a
// 1-bit picture, and any pixel darker than middle grey otherwise.
TInkBitmap ReadBmpFile(const std::string& fileName);
// The same from the file's bytes; fileName only names it in errors.
TInkBitmap ReadBmp(const std::vector<unsigned char>& data, const std::string& fileName);

// The outlines of the ink areas: closed, outer outlines and holes alike.
std::vector<TTraceLine> TraceOutlines(const TInkBitmap& bitmap, const TTraceOptions& options);

// The centre lines of the ink strokes: open between ends and junctions,
// closed for rings, and a line of one point for a dot. Every piece of ink
// larger than a speck (FilterIterations pixels) gives at least one.
std::vector<TTraceLine> TraceCentreLines(const TInkBitmap& bitmap, const TTraceOptions& options);

// Writes the lines as a DXF file of POLYLINE (and POINT) entities, first to a sibling
// file that replaces fileName only once it is whole.
void WriteDxfFile(const std::string& fileName, const std::vector<TTraceLine>& lines);
