#include "view3d/texture/CubeMapImage.h"

#include <algorithm>
#include <cstring>

#include <QBuffer>
#include <QFile>

#include "view3d/texture/TextureErrors.h"

namespace {

constexpr std::uint16_t kCubeMapFileVersion = 256;

std::size_t FaceIndex(TGLCubeMapTarget face)
{
    return static_cast<std::size_t>(face);
}

std::uint32_t LittleEndian32(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
}

} // namespace

int TGLCubeMapImage::Width() const
{
    return Pictures[0].width();
}

int TGLCubeMapImage::Height() const
{
    return Pictures[0].height();
}

TGLBitmap32* TGLCubeMapImage::GetBitmap32(GLenum target)
{
    if (target < GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB || target > GL_TEXTURE_CUBE_MAP_NEGATIVE_Z_ARB)
        return nullptr;
    const QImage& picture = Pictures[target - GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB];
    if (picture.isNull())
        return nullptr;
    Bitmap = std::make_unique<TGLBitmap32>();
    Bitmap->Assign(picture);
    const int height = Bitmap->Height();
    for (int row = 0; row < height / 2; ++row)
        std::swap_ranges(Bitmap->ScanLine(row), Bitmap->ScanLine(row) + Bitmap->Width(),
                         Bitmap->ScanLine(height - 1 - row));
    return Bitmap.get();
}

void TGLCubeMapImage::ReleaseBitmap32()
{
    Bitmap.reset();
}

const QImage& TGLCubeMapImage::Picture(TGLCubeMapTarget face) const
{
    return Pictures[FaceIndex(face)];
}

void TGLCubeMapImage::SetPicture(TGLCubeMapTarget face, const QImage& picture)
{
    Pictures[FaceIndex(face)] = picture;
    Invalidate();
}

bool TGLCubeMapImage::FacesAreUploadable() const
{
    const int size = Pictures[0].width();
    return std::all_of(Pictures.begin(), Pictures.end(),
                       [size](const QImage& p) { return p.width() == size && p.height() == size; });
}

void TGLCubeMapImage::SaveToFile(const std::string& fileName) const
{
    QByteArray data;
    data.append(char(kCubeMapFileVersion & 0xFF)).append(char(kCubeMapFileVersion >> 8));
    for (const QImage& picture : Pictures) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "BMP");
        data.append(buffer.data());
    }
    QFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        throw ETexture("Could not save file: " + fileName);
}

void TGLCubeMapImage::LoadFromFile(const std::string& fileName)
{
    QFile file(QString::fromStdString(fileName));
    const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    bool whole = data.size() >= 2 && (std::uint8_t(data[0]) | std::uint8_t(data[1]) << 8) == kCubeMapFileVersion;
    qsizetype at = 2;
    for (QImage& picture : Pictures) {
        picture = QImage();
        // Each BMP file says its own length in its header.
        if (!whole || data.size() - at < 14) {
            whole = false;
            continue;
        }
        const std::uint32_t length = LittleEndian32(data.constData() + at + 2);
        if (length < 14 || length > std::uint64_t(data.size() - at)) {
            whole = false;
            continue;
        }
        picture = QImage::fromData(data.mid(at, qsizetype(length)), "BMP");
        at += qsizetype(length);
        whole = whole && !picture.isNull();
    }
    Bitmap.reset();
    Invalidate();
    if (!whole)
        throw ETexture("Could not open file: " + fileName);
}

void TGLCubeMapImage::Assign(const TGLTextureImage& source)
{
    if (const auto* cube = dynamic_cast<const TGLCubeMapImage*>(&source)) {
        Pictures = cube->Pictures;
        Bitmap.reset();
        Invalidate();
    }
}
