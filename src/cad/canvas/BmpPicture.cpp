#include "cad/canvas/BmpPicture.h"

#include <QBuffer>
#include <QImageReader>

QImage DecodeBmpPicture(const QByteArray& bmp)
{
    QByteArray bytes = bmp;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    // Qt decodes run-length pictures, like every 4- and 8-bit one, to 8-bit
    // indices, and writes only the pixels the data codes. Given an image of
    // the size and format it would make, it decodes into that one, so the
    // skipped pixels keep the 0 they are filled with here.
    QImage image;
    if (reader.imageFormat() == QImage::Format_Indexed8) {
        image = QImage(reader.size(), QImage::Format_Indexed8);
        image.fill(0);
    }
    if (!reader.read(&image))
        return QImage();
    return image;
}
