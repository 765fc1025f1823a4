#pragma once

// The canvas every drawing object paints on. It keeps the pen, brush and
// font colour as the engine sets them, owns the dash-pattern pen, and turns
// each primitive into QPainter calls. The primitives are virtual so that a
// test can record what is drawn.

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <QPen>

#include "cad/canvas/CanvasTypes.h"
#include "cad/geometry/CADBaseTypes.h"

class QPainter;

// A bit pattern walked along lines pixel by pixel: pixels whose bit is on are
// drawn, the others are gaps. The phase runs on from one segment to the next,
// so a pattern keeps its rhythm around the corners of a polyline.
class TDecorativePen {
public:
    // Receives each run of drawn pixels, both ends included.
    using TRunSink = std::function<void(TWindowPoint first, TWindowPoint last)>;

    // One bit per character: on where the character is '1'; empty clears it.
    void SetPattern(const char* pattern);
    void SetBit(int index, bool on);
    bool GetBit(int index) const;
    int PatternLength() const { return static_cast<int>(Bits.size()); }
    void Assign(const TDecorativePen& other) { Bits = other.Bits; }

    // Starts a new line at (x, y) with the phase at the pattern's start.
    void MoveTo(int x, int y);
    // Walks from the current position up to, not including, (x, y). The next
    // line starts at (x, y) with the phase of the last pixel walked.
    void LineTo(int x, int y, const TRunSink& draw);
    // The phase restarts at the first point and runs on over every segment,
    // one step per pixel, around the corners too.
    void Polyline(const TWindowPoint* points, int count, const TRunSink& draw);

    // Pixels are walked one by one only inside these bounds (both edges
    // included); outside them the phase is advanced in one step, so a line
    // of billions of pixels costs what its visible part costs.
    void SetWalkBounds(TWindowPoint first, TWindowPoint last);

private:
    void DrawSegment(TWindowPoint from, TWindowPoint to, const TRunSink& draw);
    void Advance(TWindowPoint pixel);

    std::vector<bool> Bits;
    TWindowPoint SegmentStart;
    TWindowPoint LastPixel;
    // Wide enough for any pattern length an int can count.
    int Phase = 0;
    TWindowPoint BoundsFirst{std::numeric_limits<int>::min(), std::numeric_limits<int>::min()};
    TWindowPoint BoundsLast{std::numeric_limits<int>::max(), std::numeric_limits<int>::max()};
};

class TDecorativeCanvas {
public:
    explicit TDecorativeCanvas(QPainter* painter = nullptr) : Painter(painter) {}
    virtual ~TDecorativeCanvas() = default;

    TDecorativeCanvas(const TDecorativeCanvas&) = delete;
    TDecorativeCanvas& operator=(const TDecorativeCanvas&) = delete;

    void SetPainter(QPainter* painter) { Painter = painter; }
    QPainter* GetPainter() const { return Painter; }

    // Lines follow DecorativePen's pattern when it has one, else the pen style.
    virtual void MoveTo(int x, int y);
    virtual void LineTo(int x, int y);
    virtual void Polyline(const TWindowPoint* points, int count);
    // Filled with the brush and outlined with the pen, even-odd rule.
    virtual void Polygon(const TWindowPoint* points, int count);
    // The platform rectangle: right and bottom edges are exclusive.
    virtual void Rectangle(int left, int top, int right, int bottom);
    // Text whose top-left corner is at (x, y), in FontColor.
    virtual void TextOut(int x, int y, const std::string& text);
    int TextWidth(const std::string& text) const;

    TPenState Pen;
    TBrushState Brush;
    TColor FontColor = clBlack;
    bool OpaqueBackground = false;
    TDecorativePen DecorativePen;

protected:
    TWindowPoint PenPosition;

private:
    void ApplyPen() const;
    // Dash walks step only over the device's pixels (and a pen's width around them).
    void BoundWalkToDevice();
    void ApplyBrush() const;
    void DrawRun(TWindowPoint first, TWindowPoint last) const;

    QPainter* Painter;
    // The pen ApplyPen last gave the painter, and what it was made from.
    mutable const QPainter* MadeFor = nullptr;
    mutable TPenState MadeState;
    mutable QPen MadePen;
};

// Converts an engine colour to a Qt colour; system colours map to Qt's palette.
class QColor;
QColor ToQColor(TColor color);
