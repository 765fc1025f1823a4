#pragma once

// The RGBA pixel buffer textures are made from: 4 bytes a pixel, the rows
// bottom-up as OpenGL expects them.

#include <cstdint>
#include <vector>

#include "cad/base/Settings.h"

class QImage;

struct TPixel32 {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    std::uint8_t A = 0;
};

class TGLBitmap32 {
public:
    int Width() const;
    int Height() const;
    // In bytes.
    std::size_t DataSize() const;
    // Changing a size reallocates the pixels, all zero.
    void SetWidth(int width);
    void SetHeight(int height);
    TPixel32* Data();
    const TPixel32* Data() const;
    // Row 0 is the bottom row.
    TPixel32* ScanLine(int row);

    // A null image frees the data. A 24- or 32-bit image whose width is a
    // multiple of 4 is taken as it is (24 bits with alpha 255); any other is
    // first drawn into a 24-bit image as wide as the next multiple of 4.
    void Assign(const QImage& image);
    // A 32-bit image of the pixels, top row first.
    QImage Create32BitsBitmap() const;

    // Alpha := (R + G + B) / 3.
    void SetAlphaFromIntensity();
    // Alpha 0 for pure black pixels, 255 for the others.
    void SetAlphaTransparentForSuperBlack();
    // Alpha 0 for pixels of the colour (0x00BBGGRR), 255 for the others.
    void SetAlphaTransparentForColor(TColor color);
    void SetAlphaToValue(std::uint8_t alpha);
    void SqrtAlpha();
    void InvertAlpha();
    // Each colour byte times the brightness, at most 255.
    void SetBrightness(float brightness);
    // Each colour byte through 255 * (i / 255) ^ (1 / gamma).
    void SetGamma(float gamma);
    // Reads the intensity as a height and stores each pixel's surface normal
    // as (n + 1) / 2 in R, G, B; the edges wrap when asked.
    void GrayScaleToNormalMap(float scale, bool wrapX, bool wrapY);

private:
    void Reallocate();
    void MapColours(const std::uint8_t (&table)[256]);

    int PixelWidth = 0;
    int PixelHeight = 0;
    std::vector<TPixel32> Pixels;
};
