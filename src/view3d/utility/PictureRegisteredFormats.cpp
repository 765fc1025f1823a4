#include "view3d/utility/PictureRegisteredFormats.h"

#include <QByteArray>
#include <QImageReader>

std::string GetGraphicClassForExtension(const std::string& extension)
{
    QByteArray wanted = QByteArray::fromStdString(extension).toLower();
    if (wanted.startsWith('.'))
        wanted.remove(0, 1);
    if (wanted.isEmpty())
        return {};
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        if (format.toLower() == wanted)
            return format.toStdString();
    return {};
}
