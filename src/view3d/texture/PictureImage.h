#pragma once

// Images whose pixels come from a picture: one kept with the scene
// (persistent) or one read from a file when first needed (picture file).

#include <QImage>

#include "view3d/texture/TextureImage.h"

class TGLPictureImage : public TGLTextureImage {
public:
    using TGLTextureImage::TGLTextureImage;

    int Width() const override;
    int Height() const override;
    TGLBitmap32* GetBitmap32(GLenum target) override;
    void ReleaseBitmap32() override;

    // Null when there is none.
    const QImage& Picture() const;
    void SetPicture(const QImage& picture);

protected:
    // Fills the picture from its source before it is first read.
    virtual void LoadPictureWhenNeeded() const {}

    mutable QImage PictureData;

private:
    std::unique_ptr<TGLBitmap32> Bitmap;
};

class TGLPersistentImage : public TGLPictureImage {
public:
    using TGLPictureImage::TGLPictureImage;

    std::string ClassName() const override { return "TGLPersistentImage"; }
    std::string FriendlyName() const override { return "Persistent Image"; }
    std::string FriendlyDescription() const override;

    // In the format of the file's extension (PNG when it has none known).
    void SaveToFile(const std::string& fileName) const override;
    // A file that cannot be read empties the picture and raises ETexture.
    void LoadFromFile(const std::string& fileName) override;
    void Assign(const TGLTextureImage& source) override;
};

class TGLPicFileImage : public TGLPictureImage {
public:
    using TGLPictureImage::TGLPictureImage;

    std::string ClassName() const override { return "TGLPicFileImage"; }
    std::string FriendlyName() const override { return "PicFile Image"; }
    std::string FriendlyDescription() const override { return "Image data is retrieved from a file."; }

    const std::string& PictureFileName() const { return FileName; }
    // The picture is read again when next needed.
    void SetPictureFileName(const std::string& fileName);
    // Empty, or why the file gave no picture at the last reading.
    const std::string& LoadError() const { return Error; }

    // The file name as text.
    void SaveToFile(const std::string& fileName) const override;
    // A file of fewer than 512 bytes holds the picture's file name; a larger
    // one is itself the picture.
    void LoadFromFile(const std::string& fileName) override;
    void Assign(const TGLTextureImage& source) override;

protected:
    // A file that cannot be read leaves the picture empty: the texture is
    // drawn without it, and the error is kept and logged, never thrown into
    // the frame being drawn.
    void LoadPictureWhenNeeded() const override;

private:
    std::string FileName;
    mutable bool Loaded = false;
    mutable std::string Error;
};
