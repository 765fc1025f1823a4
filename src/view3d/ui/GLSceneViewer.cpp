#include "view3d/ui/GLSceneViewer.h"

#include <exception>

#include <QCoreApplication>
#include <QOpenGLContext>
#include <QtGlobal>

#include "view3d/context/OpenGLAvailable.h"
#include "view3d/opengl/GLErrors.h"

namespace {

// 24 colour and 24 depth bits, double-buffered, nothing else.
void ApplyViewerFormat(TGLContext& context)
{
    context.SetColorBits(24);
    context.SetDepthBits(24);
    context.SetOptions({.DoubleBuffered = true, .Stereo = false});
}

} // namespace

void UseSceneViewerFormatByDefault()
{
    TGLQtContext settings;
    ApplyViewerFormat(settings);
    QSurfaceFormat::setDefaultFormat(SurfaceFormatOf(settings));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

TGLSceneViewer::TGLSceneViewer(QWidget* parent)
    : QOpenGLWidget(parent)
{
    resize(100, 100);
    ApplyViewerFormat(Context);
    setFormat(SurfaceFormatOf(Context));
}

TGLSceneViewer::~TGLSceneViewer()
{
    // Before the widget's destructor frees the platform context, while this
    // object still exists to hear of it.
    ReleaseContext();
    Frame->SetHost(nullptr);
}

void TGLSceneViewer::SetFrameRenderer(TGLFrameRenderer* renderer)
{
    TGLFrameRenderer* next = renderer != nullptr ? renderer : &BackgroundFrame;
    if (next == Frame)
        return;
    const bool hadContext = Context.IsValid();
    ReleaseContext();
    Frame->SetHost(nullptr);
    Frame = next;
    Frame->SetHost(this);
    if (hadContext || (context() != nullptr && context()->isValid()))
        MakeContext();
    const qreal ratio = devicePixelRatioF();
    Frame->Resize(qRound(width() * ratio), qRound(height() * ratio));
    update();
}

QOpenGLContext* TGLSceneViewer::PlatformContext() const
{
    return context();
}

void TGLSceneViewer::MakeCurrent()
{
    makeCurrent();
}

void TGLSceneViewer::DoneCurrent()
{
    // While painting, the widget still needs its context once the frame is drawn.
    if (!InWidgetCall)
        doneCurrent();
}

void TGLSceneViewer::Repaint()
{
    update();
}

void TGLSceneViewer::RecreateContext()
{
    if (!Context.IsValid())
        return;
    ReleaseContext();
    MakeContext();
    update();
}

void TGLSceneViewer::RendererGone(TGLFrameRenderer& renderer)
{
    if (&renderer == Frame)
        SetFrameRenderer(nullptr);
}

void TGLSceneViewer::initializeGL()
{
    InWidgetCall = true;
    MakeContext();
    InWidgetCall = false;
}

void TGLSceneViewer::MakeContext()
{
    try {
        const qreal ratio = devicePixelRatioF();
        Frame->CreateRenderingContext(Context, this, qRound(width() * ratio), qRound(height() * ratio));
        ContextGoing = connect(context(), &QOpenGLContext::aboutToBeDestroyed, this,
                               &TGLSceneViewer::ReleaseContext, Qt::DirectConnection);
    } catch (const std::exception& error) {
        Report(error.what());
    }
}

void TGLSceneViewer::resizeGL(int width, int height)
{
    const qreal ratio = devicePixelRatioF();
    InWidgetCall = true;
    try {
        Frame->Resize(qRound(width * ratio), qRound(height * ratio));
    } catch (const std::exception& error) {
        Report(error.what());
    }
    InWidgetCall = false;
}

void TGLSceneViewer::paintGL()
{
    if (width() <= 0 || height() <= 0 || !Context.IsValid())
        return;
    InWidgetCall = true;
    try {
        Context.Activate();
        Frame->RenderFrame();
        CheckOpenGLError();
        Context.Deactivate();
    } catch (const std::exception& error) {
        Report(error.what());
        try {
            Context.SetActive(false);
        } catch (const std::exception&) {
            // Already reported: the frame is skipped either way.
        }
    }
    InWidgetCall = false;
}

void TGLSceneViewer::ReleaseContext()
{
    disconnect(ContextGoing);
    if (!Context.IsValid())
        return;
    try {
        Frame->DestroyRenderingContext(Context);
    } catch (const std::exception& error) {
        Report(error.what());
    }
}

void TGLSceneViewer::Report(const char* failure)
{
    if (!FirstFailure.isEmpty())
        return;
    FirstFailure = QString::fromUtf8(failure);
    qWarning("3D view: %s", failure);
}

QWidget* MakeSceneViewer(QWidget* parent)
{
    if (OpenGLAvailable())
        return new TGLSceneViewer(parent);
    auto* placeholder = new QWidget(parent);
    placeholder->resize(100, 100);
    return placeholder;
}
