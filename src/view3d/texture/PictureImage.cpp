#include "view3d/texture/PictureImage.h"

#include <QFileInfo>
#include <QImageWriter>

#include "view3d/texture/PictureFileReader.h"
#include "view3d/texture/TextureErrors.h"
#include "view3d/utility/GLUtils.h"

int TGLPictureImage::Width() const
{
    return Picture().width();
}

int TGLPictureImage::Height() const
{
    return Picture().height();
}

const QImage& TGLPictureImage::Picture() const
{
    LoadPictureWhenNeeded();
    return PictureData;
}

void TGLPictureImage::SetPicture(const QImage& picture)
{
    PictureData = picture;
    Bitmap.reset();
    Invalidate();
}

TGLBitmap32* TGLPictureImage::GetBitmap32(GLenum)
{
    if (Picture().isNull())
        return nullptr;
    if (!Bitmap) {
        Bitmap = std::make_unique<TGLBitmap32>();
        Bitmap->Assign(PictureData);
    }
    return Bitmap.get();
}

void TGLPictureImage::ReleaseBitmap32()
{
    Bitmap.reset();
}

std::string TGLPersistentImage::FriendlyDescription() const
{
    return "Image data is stored in its original format with other form resources,ie. in the DFM at design-time, "
           "and embedded in the EXE at run-time.";
}

void TGLPersistentImage::SaveToFile(const std::string& fileName) const
{
    const QString name = QString::fromStdString(fileName);
    QImageWriter writer(name);
    if (!QImageWriter::supportedImageFormats().contains(QFileInfo(name).suffix().toLower().toLatin1()))
        writer.setFormat("png");
    if (!writer.write(Picture()))
        throw ETexture("Could not save file: " + fileName);
}

void TGLPersistentImage::LoadFromFile(const std::string& fileName)
{
    TPictureReadResult read = ReadPictureFile(fileName);
    SetPicture(read.Picture);
    if (!read.Error.empty())
        throw ETexture(read.Error);
}

void TGLPersistentImage::Assign(const TGLTextureImage& source)
{
    if (const auto* picture = dynamic_cast<const TGLPictureImage*>(&source))
        SetPicture(picture->Picture());
}

void TGLPicFileImage::SetPictureFileName(const std::string& fileName)
{
    if (fileName == FileName)
        return;
    FileName = fileName;
    PictureData = QImage();
    Loaded = false;
    Error.clear();
    ReleaseBitmap32();
    Invalidate();
}

void TGLPicFileImage::LoadPictureWhenNeeded() const
{
    if (Loaded)
        return;
    Loaded = true;
    if (FileName.empty())
        return;
    TPictureReadResult read = ReadPictureFile(FileName);
    PictureData = read.Picture;
    Error = read.Error;
    if (!Error.empty())
        qWarning("Texture: %s (%s)", Error.c_str(), read.Reason.c_str());
}

void TGLPicFileImage::SaveToFile(const std::string& fileName) const
{
    SaveStringToFile(fileName, FileName);
}

void TGLPicFileImage::LoadFromFile(const std::string& fileName)
{
    if (SizeOfFile(fileName) < 512)
        SetPictureFileName(LoadStringFromFile(fileName));
    else
        SetPictureFileName(fileName);
}

void TGLPicFileImage::Assign(const TGLTextureImage& source)
{
    if (const auto* picFile = dynamic_cast<const TGLPicFileImage*>(&source))
        SetPictureFileName(picFile->FileName);
}
