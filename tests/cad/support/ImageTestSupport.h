#pragma once

// Helpers for the tests that draw on pictures: colours as the picture holds
// them, a small test picture, counting pixels and keeping a picture to look at.

#include <filesystem>
#include <string>
#include <system_error>

#include <QImage>
#include <QRect>
#include <QString>

#include "cad/base/Settings.h"

namespace imagetest {

inline QRgb Rgb(TColor color)
{
    return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

inline bool SamePixels(const QImage& a, const QImage& b)
{
    return a.size() == b.size() && a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

// Two by two pixels: red, green on the top row, blue, black below.
inline QImage Checkerboard()
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 255, 0));
    image.setPixel(0, 1, qRgb(0, 0, 255));
    image.setPixel(1, 1, qRgb(0, 0, 0));
    return image;
}

// How many pixels of the rectangle show the colour.
inline int CountPixels(const QImage& image, const QRect& area, QRgb color)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) == color ? 1 : 0;
    return count;
}

// Keeps the picture under the build tree's test output folder, its folders
// made; false when it cannot be written.
inline bool SaveTestImage(const QImage& image, const std::string& relativePath)
{
    const std::filesystem::path path = std::filesystem::path(KESTRO_TEST_OUTPUT_DIR) / relativePath;
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    return !error && image.save(QString::fromStdString(path.string()));
}

} // namespace imagetest
