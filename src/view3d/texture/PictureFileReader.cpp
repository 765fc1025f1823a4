#include "view3d/texture/PictureFileReader.h"

#include <map>

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "view3d/utility/PictureRegisteredFormats.h"

namespace {

std::string ExtensionKey(std::string extension)
{
    if (!extension.empty() && extension.front() == '.')
        extension.erase(0, 1);
    return QString::fromStdString(extension).toLower().toStdString();
}

std::map<std::string, std::string>& Registry()
{
    static std::map<std::string, std::string> formats{{"bmp", "bmp"}};
    return formats;
}

} // namespace

void RegisterPictureExtension(const std::string& extension, const std::string& format)
{
    Registry()[ExtensionKey(extension)] = format;
}

std::string PictureFormatForFile(const std::string& fileName)
{
    const std::string extension = ExtensionKey(QFileInfo(QString::fromStdString(fileName)).suffix().toStdString());
    const auto found = Registry().find(extension);
    if (found != Registry().end())
        return found->second;
    return GetGraphicClassForExtension(extension);
}

TPictureReadResult ReadPictureFile(const std::string& fileName)
{
    const auto failure = [&](const std::string& reason) {
        return TPictureReadResult{{}, "Could not open file: " + fileName, reason};
    };
    const QString name = QString::fromStdString(fileName);
    const std::string format = PictureFormatForFile(fileName);
    if (format.empty())
        return failure("no picture format reads its extension");
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return failure(file.errorString().toStdString());
    QImageReader reader(&file, QByteArray::fromStdString(format));
    // A format that cannot tell its size before it decodes is held by the
    // image library's own allocation limit.
    const QSize declared = reader.size();
    if (declared.isValid() && std::int64_t(declared.width()) * declared.height() > kMaxPicturePixels)
        return failure("declared size " + std::to_string(declared.width()) + " x " +
                       std::to_string(declared.height()) + " is over the limit");
    QImage picture;
    if (!reader.read(&picture) || picture.isNull())
        return failure(reader.errorString().toStdString());
    return {picture, {}, {}};
}
