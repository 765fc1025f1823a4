#include "cad/canvas/ImageCanvas.h"

#include <QPainter>

TImageCanvas::TImageCanvas() = default;

TImageCanvas::~TImageCanvas()
{
    ClosePainter();
}

void TImageCanvas::OpenPainter()
{
    if (Picture.isNull())
        return;
    Painter = std::make_unique<QPainter>(&Picture);
    CanvasValue.SetPainter(Painter.get());
}

void TImageCanvas::ClosePainter()
{
    CanvasValue.SetPainter(nullptr);
    Painter.reset();
}

void TImageCanvas::Resize(int width, int height)
{
    const bool painting = IsPainting();
    ClosePainter();
    if (width > 0 && height > 0)
        Picture = QImage(width, height, QImage::Format_RGB32);
    else
        Picture = QImage();
    if (painting)
        OpenPainter();
}

void TImageCanvas::CopyFrom(const QImage& picture)
{
    if (IsPainting()) {
        // Keeps the open painter valid: the pixels are drawn, not shared.
        if (Painter) {
            const QPainter::CompositionMode mode = Painter->compositionMode();
            Painter->setCompositionMode(QPainter::CompositionMode_Source);
            Painter->drawImage(0, 0, picture);
            Painter->setCompositionMode(mode);
        }
        return;
    }
    Picture = picture;
}

void TImageCanvas::BeginPaint()
{
    if (Depth++ == 0)
        OpenPainter();
}

void TImageCanvas::EndPaint()
{
    if (Depth > 0 && --Depth == 0)
        ClosePainter();
}
