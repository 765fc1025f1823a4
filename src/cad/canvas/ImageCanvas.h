#pragma once

// A picture with a decorative canvas over it. Painting opens with the first
// BeginPaint and closes with the matching EndPaint, so nested drawing code
// shares one painter; the picture can be read or copied at any time.

#include <memory>

#include <QImage>

#include "cad/canvas/DecorativeCanvas.h"

class QPainter;

class TImageCanvas {
public:
    TImageCanvas();
    ~TImageCanvas();
    TImageCanvas(const TImageCanvas&) = delete;
    TImageCanvas& operator=(const TImageCanvas&) = delete;

    // A new picture of that size (contents undefined); painting that is open
    // continues on it.
    void Resize(int width, int height);
    // Replaces the contents with a copy of the picture (same size).
    void CopyFrom(const QImage& picture);

    const QImage& Image() const { return Picture; }
    TDecorativeCanvas& Canvas() { return CanvasValue; }
    // Without a picture (zero size) the canvas has no painter and draws nothing.
    void BeginPaint();
    void EndPaint();
    bool IsPainting() const { return Depth > 0; }

    // Paints on the picture while it lives.
    class TScope {
    public:
        explicit TScope(TImageCanvas& owner) : Owner(owner) { Owner.BeginPaint(); }
        ~TScope() { Owner.EndPaint(); }
        TScope(const TScope&) = delete;
        TScope& operator=(const TScope&) = delete;
        TDecorativeCanvas& Canvas() { return Owner.Canvas(); }

    private:
        TImageCanvas& Owner;
    };

private:
    void OpenPainter();
    void ClosePainter();

    QImage Picture;
    TDecorativeCanvas CanvasValue;
    std::unique_ptr<QPainter> Painter;
    int Depth = 0;
};
