#pragma once

// Sending a texture's pixels and parameters to the texture bound to a target.

#include <GL/gl.h>

#include "view3d/opengl/GLCapabilities.h"
#include "view3d/texture/TextureTypes.h"
#include "view3d/utility/GLBitmap32.h"

// The library-wide choices that tfDefault and tcDefault stand for (tfRGBA
// and tcNone until set).
TGLTextureFormat DefaultTextureFormat();
void SetDefaultTextureFormat(TGLTextureFormat format);
TGLTextureCompression DefaultTextureCompression();
void SetDefaultTextureCompression(TGLTextureCompression compression);

// The format after the library-wide default is put in for tfDefault.
TGLTextureFormat ResolvedTextureFormat(TGLTextureFormat format);

// OpenGL's internal format for the texture format, compressed as asked where
// the driver compresses (never for float formats). A compressed choice sets
// the compression hint to match.
GLint OpenGLInternalFormat(TGLTextureFormat format, TGLTextureCompression compression,
                           const TGLCapabilities& capabilities);

// A side rounded up to a power of two, at most the driver's largest texture.
int TextureUploadSize(int size, int maxTextureSize);

struct TGLTextureParameters {
    TGLTextureFormat Format = TGLTextureFormat::tfRGBA;
    TGLMinFilter MinFilter = TGLMinFilter::miLinearMipmapLinear;
    TGLMagFilter MagFilter = TGLMagFilter::maLinear;
    TGLTextureWrap Wrap = TGLTextureWrap::twBoth;
    TGLTextureFilteringQuality FilteringQuality = TGLTextureFilteringQuality::tfIsotropic;
};

// Wrap, filters, anisotropy and the unpacking of pixels, for the bound texture.
void SetTextureParameters(GLenum target, const TGLTextureParameters& parameters, const TGLCapabilities& capabilities);

// Uploads the (already converted) pixels to the bound texture: resized to
// powers of two, with mipmaps when the filter uses them. Returns the memory
// the driver says the texture takes, -1 when it does not say.
int RegisterAsOpenGLTexture(const TGLBitmap32& bitmap, GLenum target, GLint internalFormat,
                            const TGLTextureParameters& parameters, const TGLCapabilities& capabilities);
