#include "view3d/context/GLQtContext.h"

#include <cstdio>
#include <string>

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

#include "view3d/opengl/GLCapabilities.h"
#include "view3d/opengl/GLEntryPoints.h"
#include "view3d/opengl/GLErrors.h"
#include "view3d/opengl/GLFunctions.h"

namespace {

constexpr GLenum kMultisampleFilterHintNV = 0x8534;

// The driver the extension tables were last read for. A new context always
// reads them again: its format may differ even where the vendor does not.
struct TDriverSeen {
    std::optional<QSurfaceFormat> Format;
    std::string Vendor;
};

TDriverSeen& DriverSeen()
{
    static TDriverSeen seen;
    return seen;
}

int SamplesOf(TGLAntiAliasing antiAliasing)
{
    switch (antiAliasing) {
    case TGLAntiAliasing::aaDefault:
        return -1;
    case TGLAntiAliasing::aaNone:
        return 0;
    case TGLAntiAliasing::aa2x:
    case TGLAntiAliasing::aa2xHQ:
        return 2;
    case TGLAntiAliasing::aa4x:
    case TGLAntiAliasing::aa4xHQ:
        return 4;
    }
    return -1;
}

[[noreturn]] void RaisePlatformError(const char* what)
{
    throw EGLContextError(std::string("OS Error : ") + what);
}

TGLAcceleration AccelerationOf(const char* renderer)
{
    const std::string name = renderer != nullptr ? renderer : "";
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer"})
        if (name.find(software) != std::string::npos)
            return TGLAcceleration::Software;
    return TGLAcceleration::Hardware;
}

} // namespace

QSurfaceFormat SurfaceFormatOf(const TGLContext& context)
{
    QSurfaceFormat format;
    // The scene draws with glBegin, display lists and selection: never a core profile.
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    const int channel = context.ColorBits() >= 24 ? 8 : 5;
    format.setRedBufferSize(channel);
    format.setGreenBufferSize(context.ColorBits() >= 24 ? 8 : 6);
    format.setBlueBufferSize(channel);
    format.setAlphaBufferSize(context.AlphaBits());
    format.setDepthBufferSize(context.DepthBits());
    format.setStencilBufferSize(context.StencilBits());
    format.setSamples(SamplesOf(context.AntiAliasing()));
    format.setSwapBehavior(context.Options().DoubleBuffered ? QSurfaceFormat::DoubleBuffer
                                                            : QSurfaceFormat::SingleBuffer);
    format.setStereo(context.Options().Stereo);
    format.setSwapInterval(0);
    return format;
}

TGLQtContext::TGLQtContext() = default;

TGLQtContext::~TGLQtContext()
{
    DestroyQuietly();
}

QOpenGLContext* TGLQtContext::Platform() const
{
    return MemoryContext ? MemoryContext.get() : WindowContext.data();
}

bool TGLQtContext::IsValid() const
{
    const QOpenGLContext* platform = Platform();
    return platform != nullptr && platform->isValid();
}

void TGLQtContext::DoCreateContext(TGLDevice& device)
{
    auto* window = dynamic_cast<TGLWindowDevice*>(&device);
    if (window == nullptr || window->PlatformContext() == nullptr || !window->PlatformContext()->isValid())
        RaisePlatformError("the window has no OpenGL context");
    Window = window;
    WindowContext = window->PlatformContext();
    DriverSeen().Format.reset();
}

void TGLQtContext::DoCreateMemoryContext(int width, int height)
{
    auto context = std::make_unique<QOpenGLContext>();
    context->setFormat(SurfaceFormatOf(*this));
    // Shares the program's lists and textures where the program asked for sharing.
    context->setShareContext(QOpenGLContext::globalShareContext());
    if (!context->create())
        throw EGLContextError("Unabled to create pbuffer's RC.");
    auto surface = std::make_unique<QOffscreenSurface>();
    surface->setFormat(context->format());
    surface->create();
    if (!surface->isValid())
        throw EGLContextError("Unabled to create pbuffer's DC.");
    if (!context->makeCurrent(surface.get()))
        RaisePlatformError("the memory context cannot be made current");
    if (!QOpenGLFramebufferObject::hasOpenGLFramebufferObjects()) {
        context->doneCurrent();
        throw EGLContextError("WGL_ARB_pbuffer support required.");
    }
    auto buffer = std::make_unique<QOpenGLFramebufferObject>(width, height,
                                                             QOpenGLFramebufferObject::CombinedDepthStencil);
    const bool made = buffer->isValid();
    if (!made)
        buffer.reset();
    context->doneCurrent();
    if (!made)
        throw EGLContextError("Unabled to create pbuffer.");
    MemoryContext = std::move(context);
    MemorySurface = std::move(surface);
    MemoryBuffer = std::move(buffer);
    DriverSeen().Format.reset();
}

void TGLQtContext::DoShareLists(TGLContext& other)
{
    // Qt shares lists only when a context is made; a later request can only
    // confirm that two contexts already share.
    const auto* qtOther = dynamic_cast<const TGLQtContext*>(&other);
    if (qtOther == nullptr || !QOpenGLContext::areSharing(Platform(), qtOther->Platform()))
        throw EGLContextError("Incompatible contexts");
}

void TGLQtContext::DoDestroyContext()
{
    if (MemoryContext) {
        // The framebuffer object must go while its context is current.
        if (MemoryContext->makeCurrent(MemorySurface.get())) {
            MemoryBuffer.reset();
            MemoryContext->doneCurrent();
        }
        MemoryBuffer.reset();
        MemoryContext.reset();
        MemorySurface.reset();
    }
    Window = nullptr;
    WindowContext.clear();
}

void TGLQtContext::DoActivate()
{
    bool current = false;
    if (MemoryContext) {
        current = MemoryContext->makeCurrent(MemorySurface.get()) && MemoryBuffer->bind();
    } else if (Window != nullptr) {
        Window->MakeCurrent();
        current = QOpenGLContext::currentContext() == WindowContext.data();
    }
    if (!current) {
        char message[80];
        std::snprintf(message, sizeof message, "Context activation failed: %X, %s", 0u, "not made current");
        throw EGLContextError(message);
    }
    ReadDriverTables();
    if ((AntiAliasing() == TGLAntiAliasing::aa2xHQ || AntiAliasing() == TGLAntiAliasing::aa4xHQ) &&
        GLCapabilities().Has(kARB_multisample) && GLCapabilities().Has(kNV_multisample_filter_hint))
        GL().Hint(kMultisampleFilterHintNV, GL_NICEST);
}

void TGLQtContext::ReadDriverTables()
{
    TDriverSeen& seen = DriverSeen();
    const QSurfaceFormat format = Platform()->format();
    if (seen.Format == format)
        return;
    const GLubyte* vendorText = GL().GetString(GL_VENDOR);
    const std::string vendor = vendorText != nullptr ? reinterpret_cast<const char*>(vendorText) : "";
    if (vendor != seen.Vendor || !seen.Format) {
        QOpenGLContext* platform = Platform();
        ReadGLExtensions([platform](const char* name) { return platform->getProcAddress(name); });
        ReadGLCapabilities();
        seen.Vendor = vendor;
    } else {
        ReadWGLCapabilities();
    }
    seen.Format = format;
    if (Acceleration() == TGLAcceleration::Unknown)
        SetAcceleration(AccelerationOf(reinterpret_cast<const char*>(GL().GetString(GL_RENDERER))));
}

void TGLQtContext::DoDeactivate()
{
    if (MemoryContext) {
        MemoryBuffer->release();
        MemoryContext->doneCurrent();
    } else if (Window != nullptr) {
        Window->DoneCurrent();
    }
}

QImage TGLQtContext::Image()
{
    if (!MemoryBuffer)
        return {};
    Activate();
    QImage image = MemoryBuffer->toImage();
    Deactivate();
    return image;
}
