#pragma once

// The canvas every drawing object paints on. It keeps the pen, brush and
// font colour as the engine sets them, owns the dash-pattern pen, and turns
// each primitive into QPainter calls. The primitives are virtual so that a
// test can record what is drawn.

#include <vector>

#include "cad/CADBaseTypes.h"
#include "cad/CanvasTypes.h"

class QPainter;

class TDecorativePen {
public:
    // One bit per character: on where the character is '1'; empty clears it.
    void SetPattern(const char* pattern);
    void SetBit(int index, bool on);
    bool GetBit(int index) const;
    int PatternLength() const { return static_cast<int>(Bits.size()); }
    void Assign(const TDecorativePen& other) { Bits = other.Bits; }

private:
    std::vector<bool> Bits;
};

class TDecorativeCanvas {
public:
    explicit TDecorativeCanvas(QPainter* painter = nullptr) : Painter(painter) {}
    virtual ~TDecorativeCanvas() = default;

    TDecorativeCanvas(const TDecorativeCanvas&) = delete;
    TDecorativeCanvas& operator=(const TDecorativeCanvas&) = delete;

    void SetPainter(QPainter* painter) { Painter = painter; }
    QPainter* GetPainter() const { return Painter; }

    virtual void MoveTo(int x, int y);
    virtual void LineTo(int x, int y);
    virtual void Polyline(const TWindowPoint* points, int count);
    // Filled with the brush and outlined with the pen, even-odd rule.
    virtual void Polygon(const TWindowPoint* points, int count);
    // The platform rectangle: right and bottom edges are exclusive.
    virtual void Rectangle(int left, int top, int right, int bottom);

    TPenState Pen;
    TBrushState Brush;
    TColor FontColor = clBlack;
    bool OpaqueBackground = false;
    TDecorativePen DecorativePen;

protected:
    TWindowPoint PenPosition;

private:
    void ApplyPen() const;
    void ApplyBrush() const;

    QPainter* Painter;
};

// Converts an engine colour to a Qt colour; system colours map to Qt's palette.
class QColor;
QColor ToQColor(TColor color);
