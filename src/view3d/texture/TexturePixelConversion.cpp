#include "view3d/texture/TexturePixelConversion.h"

namespace {

void ConvertAlpha(TGLBitmap32& bitmap, TGLTextureImageAlpha alpha)
{
    switch (alpha) {
    case TGLTextureImageAlpha::tiaDefault:
        break;
    case TGLTextureImageAlpha::tiaAlphaFromIntensity:
    case TGLTextureImageAlpha::tiaLuminance:
        bitmap.SetAlphaFromIntensity();
        break;
    case TGLTextureImageAlpha::tiaSuperBlackTransparent:
        bitmap.SetAlphaTransparentForSuperBlack();
        break;
    case TGLTextureImageAlpha::tiaLuminanceSqrt:
        bitmap.SetAlphaFromIntensity();
        bitmap.SqrtAlpha();
        break;
    case TGLTextureImageAlpha::tiaOpaque:
        bitmap.SetAlphaToValue(255);
        break;
    case TGLTextureImageAlpha::tiaTopLeftPointColorTransparent: {
        // The picture's top-left pixel is the last row's first: rows run bottom-up.
        if (bitmap.Width() == 0 || bitmap.Height() == 0)
            break;
        const TPixel32 corner = bitmap.ScanLine(bitmap.Height() - 1)[0];
        bitmap.SetAlphaTransparentForColor(TColor(corner.R) | TColor(corner.G) << 8 | TColor(corner.B) << 16);
        break;
    }
    case TGLTextureImageAlpha::tiaInverseLuminance:
        bitmap.SetAlphaFromIntensity();
        bitmap.InvertAlpha();
        break;
    case TGLTextureImageAlpha::tiaInverseLuminanceSqrt:
        bitmap.SetAlphaFromIntensity();
        bitmap.SqrtAlpha();
        bitmap.InvertAlpha();
        break;
    }
}

} // namespace

void ConvertTexturePixels(TGLBitmap32& bitmap, const TGLPixelConversion& conversion)
{
    if (conversion.NormalMap) {
        const bool wrapX = conversion.Wrap == TGLTextureWrap::twBoth || conversion.Wrap == TGLTextureWrap::twHorizontal;
        const bool wrapY = conversion.Wrap == TGLTextureWrap::twBoth || conversion.Wrap == TGLTextureWrap::twVertical;
        bitmap.GrayScaleToNormalMap(conversion.NormalMapScale, wrapX, wrapY);
    }
    ConvertAlpha(bitmap, conversion.ImageAlpha);
    if (conversion.Brightness != 1.0f)
        bitmap.SetBrightness(conversion.Brightness);
    if (conversion.Gamma != 1.0f)
        bitmap.SetGamma(conversion.Gamma);
}
