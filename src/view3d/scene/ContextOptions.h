#pragma once

// What a scene buffer asks of its rendering context, and the pure rules that
// turn its options into the buffers cleared each frame and the format of the
// context it makes.

#include <cstdint>
#include <initializer_list>

#include <GL/gl.h>

#include "view3d/opengl/GLContext.h"

enum class TContextOption : std::uint8_t {
    roDoubleBuffer,
    roStencilBuffer,
    roRenderToWindow,
    roTwoSideLighting,
    roStereo,
    roDestinationAlpha,
    roNoColorBuffer,
    roNoColorBufferClear,
    roNoSwapBuffers,
};

class TContextOptions {
public:
    constexpr TContextOptions() = default;
    constexpr TContextOptions(std::initializer_list<TContextOption> options)
    {
        for (const TContextOption option : options)
            Bits |= Bit(option);
    }
    constexpr bool Has(TContextOption option) const { return (Bits & Bit(option)) != 0; }
    constexpr bool operator==(const TContextOptions&) const = default;

private:
    static constexpr std::uint16_t Bit(TContextOption option)
    {
        return static_cast<std::uint16_t>(1u << static_cast<unsigned>(option));
    }
    std::uint16_t Bits = 0;
};

enum class TGLColorDepth : std::uint8_t { cdDefault, cd8bits, cd16bits, cd24bits };
enum class TGLDepthPrecision : std::uint8_t { dpDefault, dp16bits, dp24bits, dp32bits };
enum class TGLShadeModel : std::uint8_t { smDefault, smSmooth, smFlat };

// The settings of a buffer that decide the format of its context.
struct TGLPixelFormatRequest {
    TContextOptions Options{TContextOption::roDoubleBuffer, TContextOption::roRenderToWindow};
    TGLColorDepth ColorDepth = TGLColorDepth::cdDefault;
    TGLDepthPrecision DepthPrecision = TGLDepthPrecision::dpDefault;
    int AccumBufferBits = 0;
    TGLAntiAliasing AntiAliasing = TGLAntiAliasing::aaDefault;
    bool operator==(const TGLPixelFormatRequest&) const = default;
};

// The context must be inactive. The defaults give 24 colour and 24 depth bits.
void RequestPixelFormat(TGLContext& context, const TGLPixelFormatRequest& request);

// Depth always; colour unless the options keep it; stencil when there is one.
GLbitfield ClearBitsFor(TContextOptions options);

GLenum ShadeModelOf(TGLShadeModel model);
