// A texture's picture file of any bytes (PNG, BMP or JPEG by the first byte),
// read as a picture-file image reads it, then converted to the pixels a
// texture uploads, under an alpha mode and the normal-map filter.

#include "FuzzInputFile.h"
#include "FuzzSupport.h"
#include "view3d/texture/PictureFileReader.h"
#include "view3d/texture/PictureImage.h"
#include "view3d/texture/TexturePixelConversion.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartOffscreenApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const char* const extensions[] = {".png", ".bmp", ".jpg"};
    const std::uint8_t choice = data[0];
    TGLPicFileImage image(nullptr);
    image.SetPictureFileName(fuzz::InputFile(data + 1, size - 1, extensions[choice % 3]));
    TGLBitmap32* bitmap = image.GetBitmap32(GL_TEXTURE_2D);
    fuzz::Require((bitmap == nullptr) != image.LoadError().empty(), "a picture or an error, never both");
    if (bitmap == nullptr)
        return 0;
    fuzz::Require(std::int64_t(bitmap->Width()) * bitmap->Height() <= kMaxPicturePixels + 3 * bitmap->Height(),
                  "a picture read is within the limit (rows padded to four pixels)");
    TGLPixelConversion conversion;
    conversion.ImageAlpha = TGLTextureImageAlpha((choice >> 2) % 9);
    conversion.NormalMap = (choice & 0x80) != 0;
    conversion.Gamma = 2.2f;
    ConvertTexturePixels(*bitmap, conversion);
    return 0;
}
