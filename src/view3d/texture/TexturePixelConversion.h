#pragma once

// The changes a picture's pixels go through before they are uploaded: a
// height picture turned into a normal map, the alpha channel by the alpha
// mode, then brightness and gamma.

#include "view3d/texture/TextureTypes.h"
#include "view3d/utility/GLBitmap32.h"

struct TGLPixelConversion {
    TGLTextureImageAlpha ImageAlpha = TGLTextureImageAlpha::tiaDefault;
    float Brightness = 1.0f;
    float Gamma = 1.0f;
    // Only with the normal-map format.
    bool NormalMap = false;
    float NormalMapScale = 0.125f;
    TGLTextureWrap Wrap = TGLTextureWrap::twBoth;
};

void ConvertTexturePixels(TGLBitmap32& bitmap, const TGLPixelConversion& conversion);
