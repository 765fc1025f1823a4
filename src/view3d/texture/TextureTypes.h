#pragma once

// The settings a texture is made of, as the material's texture publishes them.

#include "view3d/utility/GLUtils.h"

enum class TGLTextureImageAlpha {
    tiaDefault,
    tiaAlphaFromIntensity,
    tiaSuperBlackTransparent,
    tiaLuminance,
    tiaLuminanceSqrt,
    tiaOpaque,
    tiaTopLeftPointColorTransparent,
    tiaInverseLuminance,
    tiaInverseLuminanceSqrt,
};

enum class TGLTextureMode { tmDecal, tmModulate, tmBlend, tmReplace };

enum class TGLTextureWrap { twBoth, twNone, twVertical, twHorizontal };

enum class TGLTextureFormat {
    tfDefault,
    tfRGB,
    tfRGBA,
    tfRGB16,
    tfRGBA16,
    tfAlpha,
    tfLuminance,
    tfLuminanceAlpha,
    tfIntensity,
    tfNormalMap,
    tfRGBAFloat16,
    tfRGBAFloat32,
};

enum class TGLTextureCompression { tcDefault, tcNone, tcStandard, tcHighQuality, tcHighSpeed };

enum class TGLTextureFilteringQuality { tfIsotropic, tfAnisotropic };

enum class TGLTextureMappingMode {
    tmmUser,
    tmmObjectLinear,
    tmmEyeLinear,
    tmmSphere,
    tmmCubeMapReflection,
    tmmCubeMapNormal,
    tmmCubeMapLight0,
    tmmCubeMapCamera,
};

// What must be sent to OpenGL again before the texture is next bound.
enum TGLTextureChange : unsigned {
    tcImage = 1u << 0,
    tcParams = 1u << 1,
};

inline bool IsFloatFormat(TGLTextureFormat format)
{
    return format == TGLTextureFormat::tfRGBAFloat16 || format == TGLTextureFormat::tfRGBAFloat32;
}
