#include <gtest/gtest.h>

#include "view3d/texture/TexturePixelConversion.h"

namespace {

// Two rows, bottom first: black and grey below, the top-left red and white above.
TGLBitmap32 Sample()
{
    TGLBitmap32 bitmap;
    bitmap.SetWidth(2);
    bitmap.SetHeight(2);
    TPixel32* p = bitmap.Data();
    p[0] = {0, 0, 0, 77};
    p[1] = {90, 120, 150, 77};
    p[2] = {200, 10, 30, 77};
    p[3] = {255, 255, 255, 77};
    return bitmap;
}

TEST(TexturePixelConversion, AlphaModesBrightnessAndGamma)
{
    const struct {
        const char* Name;
        TGLPixelConversion Conversion;
        TPixel32 Expected[4];
    } cases[] = {
        {"default keeps alpha", {}, {{0, 0, 0, 77}, {90, 120, 150, 77}, {200, 10, 30, 77}, {255, 255, 255, 77}}},
        {"alpha from intensity",
         {TGLTextureImageAlpha::tiaAlphaFromIntensity},
         {{0, 0, 0, 0}, {90, 120, 150, 120}, {200, 10, 30, 80}, {255, 255, 255, 255}}},
        {"luminance is intensity",
         {TGLTextureImageAlpha::tiaLuminance},
         {{0, 0, 0, 0}, {90, 120, 150, 120}, {200, 10, 30, 80}, {255, 255, 255, 255}}},
        {"super black transparent",
         {TGLTextureImageAlpha::tiaSuperBlackTransparent},
         {{0, 0, 0, 0}, {90, 120, 150, 255}, {200, 10, 30, 255}, {255, 255, 255, 255}}},
        {"luminance square root",
         {TGLTextureImageAlpha::tiaLuminanceSqrt},
         {{0, 0, 0, 0}, {90, 120, 150, 175}, {200, 10, 30, 143}, {255, 255, 255, 255}}},
        {"opaque",
         {TGLTextureImageAlpha::tiaOpaque},
         {{0, 0, 0, 255}, {90, 120, 150, 255}, {200, 10, 30, 255}, {255, 255, 255, 255}}},
        {"top-left colour transparent",
         {TGLTextureImageAlpha::tiaTopLeftPointColorTransparent},
         {{0, 0, 0, 255}, {90, 120, 150, 255}, {200, 10, 30, 0}, {255, 255, 255, 255}}},
        {"inverse luminance",
         {TGLTextureImageAlpha::tiaInverseLuminance},
         {{0, 0, 0, 255}, {90, 120, 150, 135}, {200, 10, 30, 175}, {255, 255, 255, 0}}},
        {"inverse luminance square root",
         {TGLTextureImageAlpha::tiaInverseLuminanceSqrt},
         {{0, 0, 0, 255}, {90, 120, 150, 80}, {200, 10, 30, 112}, {255, 255, 255, 0}}},
        {"brightness doubles, capped",
         {TGLTextureImageAlpha::tiaDefault, 2.0f},
         {{0, 0, 0, 77}, {180, 240, 255, 77}, {255, 20, 60, 77}, {255, 255, 255, 77}}},
        {"gamma 2 lightens the middle",
         {TGLTextureImageAlpha::tiaDefault, 1.0f, 2.0f},
         {{0, 0, 0, 77}, {151, 175, 196, 77}, {226, 50, 87, 77}, {255, 255, 255, 77}}},
    };
    for (const auto& c : cases) {
        TGLBitmap32 bitmap = Sample();
        ConvertTexturePixels(bitmap, c.Conversion);
        for (int i = 0; i < 4; ++i) {
            const TPixel32& got = bitmap.Data()[i];
            const TPixel32& want = c.Expected[i];
            EXPECT_TRUE(got.R == want.R && got.G == want.G && got.B == want.B && got.A == want.A)
                << c.Name << ", pixel " << i << ": " << int(got.R) << " " << int(got.G) << " " << int(got.B) << " "
                << int(got.A);
        }
    }
}

// A flat height picture has normals straight up, whatever the scale; a slope
// tilts them, and wrapping decides what the edge pixels see.
TEST(TexturePixelConversion, NormalMapOnlyForTheNormalMapFormat)
{
    TGLBitmap32 flat;
    flat.SetWidth(4);
    flat.SetHeight(4);
    for (int i = 0; i < 16; ++i)
        flat.Data()[i] = {100, 100, 100, 255};
    TGLPixelConversion conversion;
    conversion.NormalMap = true;
    ConvertTexturePixels(flat, conversion);
    EXPECT_EQ(int(flat.Data()[5].R), 128);
    EXPECT_EQ(int(flat.Data()[5].G), 128);
    EXPECT_EQ(int(flat.Data()[5].B), 255);

    TGLBitmap32 unchanged = Sample();
    ConvertTexturePixels(unchanged, TGLPixelConversion{});
    EXPECT_EQ(int(unchanged.Data()[1].B), 150);
}

} // namespace
