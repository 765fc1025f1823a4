#pragma once

// Six pictures, one per face of a cube, for environment and normal mapping.

#include <array>

#include <QImage>

#include "view3d/texture/TextureImage.h"

enum class TGLCubeMapTarget { cmtPX, cmtNX, cmtPY, cmtNY, cmtPZ, cmtNZ };

class TGLCubeMapImage : public TGLTextureImage {
public:
    using TGLTextureImage::TGLTextureImage;

    std::string ClassName() const override { return "TGLCubeMapImage"; }
    std::string FriendlyName() const override { return "CubeMap Image"; }

    // Those of the positive X face.
    int Width() const override;
    int Height() const override;
    GLenum NativeTextureTarget() const override { return GL_TEXTURE_CUBE_MAP_ARB; }

    // The target is one of the six face targets; each face keeps its rows
    // top-down, as cube maps are addressed.
    TGLBitmap32* GetBitmap32(GLenum target) override;
    void ReleaseBitmap32() override;

    const QImage& Picture(TGLCubeMapTarget face) const;
    void SetPicture(TGLCubeMapTarget face, const QImage& picture);
    // All six square and as wide as the first: only then is the cube uploaded.
    bool FacesAreUploadable() const;

    // A 16-bit little-endian 256, then the six pictures as BMP files in face order.
    void SaveToFile(const std::string& fileName) const override;
    // A file that is not such a cube empties the faces it cannot read and raises ETexture.
    void LoadFromFile(const std::string& fileName) override;
    void Assign(const TGLTextureImage& source) override;

private:
    std::array<QImage, 6> Pictures;
    std::unique_ptr<TGLBitmap32> Bitmap;
};
