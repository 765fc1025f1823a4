#include "view3d/texture/TextureUpload.h"

#include <algorithm>
#include <vector>

#include <GL/glext.h>

#include "view3d/opengl/GLErrors.h"
#include "view3d/opengl/GLFunctions.h"

namespace {

TGLTextureFormat DefaultFormat = TGLTextureFormat::tfRGBA;
TGLTextureCompression DefaultCompression = TGLTextureCompression::tcNone;

GLint UncompressedFormat(TGLTextureFormat format)
{
    switch (format) {
    case TGLTextureFormat::tfRGB: return GL_RGB8;
    case TGLTextureFormat::tfRGB16: return GL_RGB5;
    case TGLTextureFormat::tfRGBA16: return GL_RGBA4;
    case TGLTextureFormat::tfAlpha: return GL_ALPHA8;
    case TGLTextureFormat::tfLuminance: return GL_LUMINANCE8;
    case TGLTextureFormat::tfLuminanceAlpha: return GL_LUMINANCE8_ALPHA8;
    case TGLTextureFormat::tfIntensity: return GL_INTENSITY8;
    case TGLTextureFormat::tfNormalMap: return GL_RGB8;
    case TGLTextureFormat::tfRGBAFloat16: return GL_RGBA_FLOAT16_ATI;
    case TGLTextureFormat::tfRGBAFloat32: return GL_RGBA_FLOAT32_ATI;
    case TGLTextureFormat::tfDefault:
    case TGLTextureFormat::tfRGBA: break;
    }
    return GL_RGBA8;
}

GLint CompressedFormat(TGLTextureFormat format)
{
    switch (format) {
    case TGLTextureFormat::tfRGB:
    case TGLTextureFormat::tfRGB16:
    case TGLTextureFormat::tfNormalMap: return GL_COMPRESSED_RGB_ARB;
    case TGLTextureFormat::tfAlpha: return GL_COMPRESSED_ALPHA_ARB;
    case TGLTextureFormat::tfLuminance: return GL_COMPRESSED_LUMINANCE_ARB;
    case TGLTextureFormat::tfLuminanceAlpha: return GL_COMPRESSED_LUMINANCE_ALPHA_ARB;
    case TGLTextureFormat::tfIntensity: return GL_COMPRESSED_INTENSITY_ARB;
    default: return GL_COMPRESSED_RGBA_ARB;
    }
}

GLint MinFilterEnum(TGLMinFilter filter)
{
    switch (filter) {
    case TGLMinFilter::miNearest: return GL_NEAREST;
    case TGLMinFilter::miLinear: return GL_LINEAR;
    case TGLMinFilter::miNearestMipmapNearest: return GL_NEAREST_MIPMAP_NEAREST;
    case TGLMinFilter::miLinearMipmapNearest: return GL_LINEAR_MIPMAP_NEAREST;
    case TGLMinFilter::miNearestMipmapLinear: return GL_NEAREST_MIPMAP_LINEAR;
    case TGLMinFilter::miLinearMipmapLinear: return GL_LINEAR_MIPMAP_LINEAR;
    }
    return GL_LINEAR;
}

bool UsesMipmaps(TGLMinFilter filter)
{
    return filter != TGLMinFilter::miNearest && filter != TGLMinFilter::miLinear;
}

} // namespace

TGLTextureFormat DefaultTextureFormat()
{
    return DefaultFormat;
}

void SetDefaultTextureFormat(TGLTextureFormat format)
{
    // The default cannot stand for itself.
    DefaultFormat = format == TGLTextureFormat::tfDefault ? TGLTextureFormat::tfRGBA : format;
}

TGLTextureCompression DefaultTextureCompression()
{
    return DefaultCompression;
}

void SetDefaultTextureCompression(TGLTextureCompression compression)
{
    DefaultCompression = compression == TGLTextureCompression::tcDefault ? TGLTextureCompression::tcNone : compression;
}

TGLTextureFormat ResolvedTextureFormat(TGLTextureFormat format)
{
    return format == TGLTextureFormat::tfDefault ? DefaultFormat : format;
}

GLint OpenGLInternalFormat(TGLTextureFormat format, TGLTextureCompression compression,
                           const TGLCapabilities& capabilities)
{
    format = ResolvedTextureFormat(format);
    if (IsFloatFormat(format) || !capabilities.Has(kARB_texture_compression))
        return UncompressedFormat(format);
    if (compression == TGLTextureCompression::tcDefault)
        compression = DefaultCompression;
    GLenum hint = 0;
    switch (compression) {
    case TGLTextureCompression::tcStandard: hint = GL_DONT_CARE; break;
    case TGLTextureCompression::tcHighQuality: hint = GL_NICEST; break;
    case TGLTextureCompression::tcHighSpeed: hint = GL_FASTEST; break;
    case TGLTextureCompression::tcDefault:
    case TGLTextureCompression::tcNone: return UncompressedFormat(format);
    }
    GL().Hint(GL_TEXTURE_COMPRESSION_HINT_ARB, hint);
    return CompressedFormat(format);
}

int TextureUploadSize(int size, int maxTextureSize)
{
    const int rounded = RoundUpToPowerOf2(size);
    // A driver that does not answer sets no limit.
    return maxTextureSize > 0 ? std::min(rounded, maxTextureSize) : rounded;
}

void SetTextureParameters(GLenum target, const TGLTextureParameters& parameters, const TGLCapabilities& capabilities)
{
    GL().Hint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    GL().PixelStorei(GL_UNPACK_ALIGNMENT, 4);
    GL().PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    GL().PixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    GL().PixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    GLint minFilter = MinFilterEnum(parameters.MinFilter);
    GLint magFilter = parameters.MagFilter == TGLMagFilter::maNearest ? GL_NEAREST : GL_LINEAR;
    if (IsFloatFormat(parameters.Format)) {
        GL().TexParameteri(target, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        GL().TexParameteri(target, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        // Float textures filter only where the driver says it can.
        if (parameters.Format != TGLTextureFormat::tfRGBAFloat16 || !capabilities.Has(kATI_texture_float)) {
            minFilter = GL_NEAREST;
            magFilter = GL_NEAREST;
        }
        GL().TexParameteri(target, GL_TEXTURE_MIN_FILTER, minFilter);
        GL().TexParameteri(target, GL_TEXTURE_MAG_FILTER, magFilter);
        return;
    }
    const GLint clamp =
        capabilities.OpenGL12 || capabilities.Has(kEXT_texture_edge_clamp) ? GL_CLAMP_TO_EDGE : GL_CLAMP;
    const TGLTextureWrap wrap = parameters.Wrap;
    const bool repeatS = wrap == TGLTextureWrap::twBoth || wrap == TGLTextureWrap::twHorizontal;
    const bool repeatT = wrap == TGLTextureWrap::twBoth || wrap == TGLTextureWrap::twVertical;
    GL().TexParameteri(target, GL_TEXTURE_WRAP_S, repeatS ? GL_REPEAT : clamp);
    GL().TexParameteri(target, GL_TEXTURE_WRAP_T, repeatT ? GL_REPEAT : clamp);
    GL().TexParameteri(target, GL_TEXTURE_MIN_FILTER, minFilter);
    GL().TexParameteri(target, GL_TEXTURE_MAG_FILTER, magFilter);
    if (capabilities.Has(kEXT_texture_filter_anisotropic)) {
        GLfloat anisotropy = 1.0f;
        if (parameters.FilteringQuality == TGLTextureFilteringQuality::tfAnisotropic)
            GL().GetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
        GL().TexParameterf(target, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy);
    }
}

namespace {

void UploadPixels(const TGLBitmap32& bitmap, GLenum target, GLint internalFormat, int width, int height,
                  TGLMinFilter minFilter, const TGLCapabilities& capabilities)
{
    const void* pixels = bitmap.Data();
    std::vector<TPixel32> scaled;
    if (width != bitmap.Width() || height != bitmap.Height()) {
        scaled.resize(std::size_t(width) * std::size_t(height));
        GL().GluScaleImage(GL_RGBA, bitmap.Width(), bitmap.Height(), GL_UNSIGNED_BYTE, bitmap.Data(), width, height,
                           GL_UNSIGNED_BYTE, scaled.data());
        pixels = scaled.data();
    }
    if (!UsesMipmaps(minFilter)) {
        GL().TexImage2D(target, 0, internalFormat, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    } else if (capabilities.Has(kSGIS_generate_mipmap) && target == GL_TEXTURE_2D) {
        GL().TexParameteri(target, GL_GENERATE_MIPMAP_SGIS, 1);
        GL().TexImage2D(target, 0, internalFormat, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    } else {
        GL().GluBuild2DMipmaps(target, internalFormat, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    }
}

} // namespace

int RegisterAsOpenGLTexture(const TGLBitmap32& bitmap, GLenum target, GLint internalFormat,
                            const TGLTextureParameters& parameters, const TGLCapabilities& capabilities)
{
    CheckOpenGLError();
    GLint maxTextureSize = 0;
    GL().GetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
    const int width = TextureUploadSize(bitmap.Width(), maxTextureSize);
    const int height = TextureUploadSize(bitmap.Height(), maxTextureSize);
    // Float textures are filled by OpenGL itself: only their storage is made.
    if (IsFloatFormat(parameters.Format))
        GL().TexImage2D(target, 0, internalFormat, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
    else
        UploadPixels(bitmap, target, internalFormat, width, height, parameters.MinFilter, capabilities);
    GLint memory = -1;
    GL().GetTexLevelParameteriv(target, 0, GL_TEXTURE_COMPRESSED_IMAGE_SIZE_ARB, &memory);
    // A texture that is not compressed has no such size to tell.
    if (GL().GetError() != GL_NO_ERROR)
        memory = -1;
    ClearGLErrors();
    return memory;
}
