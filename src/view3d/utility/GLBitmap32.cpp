#include "view3d/utility/GLBitmap32.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QImage>

#include "view3d/utility/CrossPlatform.h"
#include "view3d/utility/GLUtils.h"

namespace {

int Intensity(const TPixel32& p)
{
    return (p.R + p.G + p.B) / 3;
}

} // namespace

int TGLBitmap32::Width() const
{
    return PixelWidth;
}

int TGLBitmap32::Height() const
{
    return PixelHeight;
}

std::size_t TGLBitmap32::DataSize() const
{
    return Pixels.size() * sizeof(TPixel32);
}

void TGLBitmap32::SetWidth(int width)
{
    PixelWidth = std::max(width, 0);
    Reallocate();
}

void TGLBitmap32::SetHeight(int height)
{
    PixelHeight = std::max(height, 0);
    Reallocate();
}

TPixel32* TGLBitmap32::Data()
{
    return Pixels.data();
}

const TPixel32* TGLBitmap32::Data() const
{
    return Pixels.data();
}

TPixel32* TGLBitmap32::ScanLine(int row)
{
    return Pixels.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(PixelWidth);
}

void TGLBitmap32::Assign(const QImage& image)
{
    if (image.isNull()) {
        PixelWidth = 0;
        PixelHeight = 0;
        Pixels.clear();
        return;
    }
    QImage source;
    if ((image.depth() == 24 || image.depth() == 32) && image.width() % 4 == 0) {
        source = image.convertToFormat(QImage::Format_RGBA8888);
    } else {
        const QImage plain = image.convertToFormat(QImage::Format_RGB888);
        QImage padded(plain.width() + (4 - plain.width() % 4) % 4, plain.height(), QImage::Format_RGB888);
        padded.fill(Qt::black);
        for (int y = 0; y < plain.height(); ++y)
            std::memcpy(padded.scanLine(y), plain.constScanLine(y), static_cast<std::size_t>(plain.width()) * 3);
        source = padded.convertToFormat(QImage::Format_RGBA8888);
    }
    PixelWidth = source.width();
    PixelHeight = source.height();
    Reallocate();
    const std::size_t rowBytes = static_cast<std::size_t>(PixelWidth) * sizeof(TPixel32);
    for (int y = 0; y < PixelHeight; ++y)
        std::memcpy(ScanLine(PixelHeight - 1 - y), source.constScanLine(y), rowBytes);
}

QImage TGLBitmap32::Create32BitsBitmap() const
{
    QImage image(PixelWidth, PixelHeight, QImage::Format_ARGB32);
    for (int y = 0; y < PixelHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const TPixel32* source = Pixels.data() + static_cast<std::size_t>(PixelHeight - 1 - y) * PixelWidth;
        for (int x = 0; x < PixelWidth; ++x)
            line[x] = qRgba(source[x].R, source[x].G, source[x].B, source[x].A);
    }
    return image;
}

void TGLBitmap32::SetAlphaFromIntensity()
{
    for (TPixel32& p : Pixels)
        p.A = static_cast<std::uint8_t>(Intensity(p));
}

void TGLBitmap32::SetAlphaTransparentForSuperBlack()
{
    for (TPixel32& p : Pixels)
        p.A = (p.R == 0 && p.G == 0 && p.B == 0) ? 0 : 255;
}

void TGLBitmap32::SetAlphaTransparentForColor(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    for (TPixel32& p : Pixels)
        p.A = (p.R == GetRValue(rgb) && p.G == GetGValue(rgb) && p.B == GetBValue(rgb)) ? 0 : 255;
}

void TGLBitmap32::SetAlphaToValue(std::uint8_t alpha)
{
    for (TPixel32& p : Pixels)
        p.A = alpha;
}

void TGLBitmap32::SqrtAlpha()
{
    const auto& table = SqrtAlphaTable();
    for (TPixel32& p : Pixels)
        p.A = table[p.A];
}

void TGLBitmap32::InvertAlpha()
{
    for (TPixel32& p : Pixels)
        p.A = static_cast<std::uint8_t>(255 - p.A);
}

void TGLBitmap32::SetBrightness(float brightness)
{
    std::uint8_t table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<std::uint8_t>(std::clamp(std::lround(i * static_cast<double>(brightness)), 0L, 255L));
    MapColours(table);
}

void TGLBitmap32::SetGamma(float gamma)
{
    const double exponent = gamma < 0.1f ? 10.0 : 1.0 / gamma;
    std::uint8_t table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<std::uint8_t>(std::clamp(std::lround(255.0 * std::pow(i / 255.0, exponent)), 0L, 255L));
    MapColours(table);
}

void TGLBitmap32::GrayScaleToNormalMap(float scale, bool wrapX, bool wrapY)
{
    if (Pixels.empty())
        return;
    const std::vector<TPixel32> heights = Pixels;
    const auto at = [&](int x, int y) {
        x = wrapX ? (x + PixelWidth) % PixelWidth : std::clamp(x, 0, PixelWidth - 1);
        y = wrapY ? (y + PixelHeight) % PixelHeight : std::clamp(y, 0, PixelHeight - 1);
        return Intensity(heights[static_cast<std::size_t>(y) * PixelWidth + x]) / 255.0;
    };
    const auto encode = [](double n) { return static_cast<std::uint8_t>(std::lround((n + 1.0) * 127.5)); };
    for (int y = 0; y < PixelHeight; ++y)
        for (int x = 0; x < PixelWidth; ++x) {
            const double dx = (at(x + 1, y) - at(x - 1, y)) * scale;
            const double dy = (at(x, y + 1) - at(x, y - 1)) * scale;
            const double length = std::sqrt(dx * dx + dy * dy + 1.0);
            TPixel32& p = Pixels[static_cast<std::size_t>(y) * PixelWidth + x];
            p.R = encode(-dx / length);
            p.G = encode(-dy / length);
            p.B = encode(1.0 / length);
        }
}

void TGLBitmap32::Reallocate()
{
    Pixels.assign(static_cast<std::size_t>(PixelWidth) * static_cast<std::size_t>(PixelHeight), TPixel32{});
}

void TGLBitmap32::MapColours(const std::uint8_t (&table)[256])
{
    for (TPixel32& p : Pixels) {
        p.R = table[p.R];
        p.G = table[p.G];
        p.B = table[p.B];
    }
}
