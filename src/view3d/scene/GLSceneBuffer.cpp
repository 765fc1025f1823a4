#include "view3d/scene/GLSceneBuffer.h"

#include <algorithm>
#include <cstdlib>
#include <exception>

#include "view3d/notification/ConvertWinColor.h"
#include "view3d/opengl/GLCapabilities.h"
#include "view3d/opengl/GLContext.h"
#include "view3d/opengl/GLErrors.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/scene/GLCamera.h"
#include "view3d/scene/GLScene.h"

namespace {

// Sets a flag for as long as it lives, also when the frame raises.
class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : Flag(flag) { Flag = true; }
    ~TFlagScope() { Flag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& Flag;
};

// Keeps a context active for as long as it lives. Activations nest: the
// caller's own activation stays.
class TActivation {
public:
    explicit TActivation(TGLContext& context) : Context(context) { Context.Activate(); }
    ~TActivation() noexcept(false)
    {
        if (std::uncaught_exceptions() == Unwinding) {
            Context.Deactivate();
            return;
        }
        try {
            Context.Deactivate();
        } catch (const std::exception&) {
            // The frame's own error is on its way; whoever activated the
            // context first resets it.
        }
    }
    TActivation(const TActivation&) = delete;
    TActivation& operator=(const TActivation&) = delete;

private:
    TGLContext& Context;
    int Unwinding = std::uncaught_exceptions();
};

Matrix4f CurrentMatrix(GLenum which)
{
    Matrix4f m;
    GL().GetFloatv(which, &m.M[0][0]);
    return m;
}

} // namespace

TGLSceneBuffer::TGLSceneBuffer(TGLNotifyObject* owner)
    : TGLUpdateAbleObject(owner),
      Ambient(std::make_unique<TGLColor>(this, Vector4f{0.2f, 0.2f, 0.2f, 1.0f})),
      Fog(std::make_unique<TGLFogEnvironment>(this)),
      States(std::make_unique<TGLStateCache>())
{
}

TGLSceneBuffer::~TGLSceneBuffer()
{
    Melt();
    if (TGLScene* scene = Scene())
        scene->RemoveBuffer(*this);
    // The window lets go of the buffer while it still works, and frees the
    // context through it.
    if (FrameHost() != nullptr)
        FrameHost()->RendererGone(*this);
    else if (Context != nullptr)
        DestroyRenderingContext(*Context);
}

// ---------------------------------------------------------------- the context

void TGLSceneBuffer::CreateRenderingContext(TGLContext& context, TGLDevice* device, int width, int height)
{
    if (Context != nullptr && Context->IsValid())
        DestroyRenderingContext(*Context);
    TFlagScope rendering(IsRendering);
    RequestPixelFormat(context, Format);
    TGLFrameRenderer::CreateRenderingContext(context, device, width, height);
    Context = &context;
    // The new context starts from OpenGL's defaults, which an old cache would contradict.
    States = std::make_unique<TGLStateCache>();
    ViewPortValue.Width = std::max(width, 1);
    ViewPortValue.Height = std::max(height, 1);
    try {
        TActivation active(context);
        const GLubyte* version = GL().GetString(GL_VERSION);
        const TGLVersion number =
            ParseVersionString(version != nullptr ? reinterpret_cast<const char*>(version) : "");
        if (number.Major < 1 || (number.Major == 1 && number.Minor < 1))
            throw EOpenGLError("Need at least OpenGL version 1.1");
        GL().Viewport(0, 0, ViewPortValue.Width, ViewPortValue.Height);
        SetupGLOptions();
        ClearWithBackground();
    } catch (...) {
        Context = nullptr;
        context.DestroyContext();
        throw;
    }
}

void TGLSceneBuffer::DestroyRenderingContext(TGLContext& context)
{
    if (&context == Context)
        Context = nullptr;
    if (context.IsValid())
        context.DestroyContext();
}

void TGLSceneBuffer::Resize(int width, int height)
{
    ViewPortValue.Width = std::max(width, 1);
    ViewPortValue.Height = std::max(height, 1);
    if (Context == nullptr || !Context->IsValid())
        return;
    TActivation active(*Context);
    GL().Viewport(0, 0, ViewPortValue.Width, ViewPortValue.Height);
}

void TGLSceneBuffer::SetViewPort(int left, int top, int width, int height)
{
    ViewPortValue = {left, top, std::max(width, 1), std::max(height, 1)};
    NotifyChange(this);
}

// ---------------------------------------------------------------- the frame

void TGLSceneBuffer::SetupGLOptions()
{
    GL().LightModelfv(GL_LIGHT_MODEL_AMBIENT, Ambient->AsAddress());
    GL().LightModeli(GL_LIGHT_MODEL_TWO_SIDE, Format.Options.Has(TContextOption::roTwoSideLighting) ? 1 : 0);
    GL().Enable(GL_NORMALIZE);
    const auto set = [this](TGLState state, bool on) { on ? States->Enable(state) : States->Disable(state); };
    set(TGLState::stDepthTest, DepthTestOn);
    set(TGLState::stCullFace, FaceCullingOn);
    set(TGLState::stLighting, LightingOn);
    set(TGLState::stFog, FogOn);
    GLint redBits = 0;
    GL().GetIntegerv(GL_RED_BITS, &redBits);
    set(TGLState::stDither, redBits < 8);
    GL().DepthFunc(GL_LESS);
    GL().Hint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    GL().ShadeModel(ShadeModelOf(Shade));
}

void TGLSceneBuffer::ClearWithBackground()
{
    const Vector4f colour = ConvertWinColor(Background, BackgroundAlphaValue);
    GL().ClearColor(colour.X, colour.Y, colour.Z, colour.W);
}

void TGLSceneBuffer::RenderFrame(TGLBaseSceneObject* baseObject)
{
    if (IsRendering || Context == nullptr || !Context->IsValid())
        return;
    if (IsFrozen) {
        DrawFrozenImage();
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    if (CameraObject != nullptr) {
        CameraObject->AbsoluteMatrix();
        if (TGLScene* scene = Scene())
            scene->AddBuffer(*this);
    }
    {
        TFlagScope rendering(IsRendering);
        TActivation active(*Context);
        if (Frames == 0)
            FirstFrameStart = start;
        DPI = 96;
        ClearGLErrors();
        SetupGLOptions();
        ClearWithBackground();
        GL().Clear(ClearBitsFor(Format.Options));
        CheckOpenGLError();
        RenderScene(ViewPortValue, static_cast<float>(DPI), baseObject, TDrawState::dsRendering);
        CheckOpenGLError();
        if (!Format.Options.Has(TContextOption::roNoSwapBuffers))
            Context->SwapBuffers();
        FinishFrameTiming(start);
        CheckOpenGLError();
    }
    if (AfterRender)
        AfterRender(*this);
}

void TGLSceneBuffer::FinishFrameTiming(std::chrono::steady_clock::time_point start)
{
    ++Frames;
    const auto now = std::chrono::steady_clock::now();
    LastFrameSeconds = std::chrono::duration<double>(now - start).count();
    const double sinceFirst = std::chrono::duration<double>(now - FirstFrameStart).count();
    if (sinceFirst > 0.0)
        FramesPerSecondValue = static_cast<double>(Frames) / sinceFirst;
}

void TGLSceneBuffer::RenderScene(const TGLViewPort& viewPort, float dpi, TGLBaseSceneObject* baseObject,
                                 TDrawState drawState, const TGLPickRectangle* pickRectangle)
{
    GL().MatrixMode(GL_PROJECTION);
    GL().LoadIdentity();
    if (pickRectangle != nullptr) {
        GLint area[4] = {viewPort.Left, viewPort.Top, viewPort.Width, viewPort.Height};
        const double centreX = (pickRectangle->Left + pickRectangle->Right) / 2.0;
        const double centreY = (pickRectangle->Top + pickRectangle->Bottom) / 2.0;
        GL().GluPickMatrix(centreX, viewPort.Height - centreY, std::abs(pickRectangle->Right - pickRectangle->Left),
                           std::abs(pickRectangle->Bottom - pickRectangle->Top), area);
    }
    if (CameraObject != nullptr)
        CameraObject->ApplyProjection(viewPort, viewPort.Width, viewPort.Height, dpi);
    Projection = CurrentMatrix(GL_PROJECTION_MATRIX);
    GL().MatrixMode(GL_MODELVIEW);
    GL().LoadIdentity();
    TGLScene* scene = Scene();
    if (scene != nullptr) {
        scene->CurrentGLCamera = CameraObject;
        CameraObject->ApplyLookAt();
    }
    BaseView = CurrentMatrix(GL_MODELVIEW_MATRIX);

    ClearGLErrors();
    if (BeforeRender)
        BeforeRender(*this);
    if (scene != nullptr) {
        GLint maxLights = 0;
        GL().GetIntegerv(GL_MAX_LIGHTS, &maxLights);
        scene->SetupLights(maxLights);
        if (FogOn) {
            States->Enable(TGLState::stFog);
            Fog->ApplyFog();
        } else {
            States->Disable(TGLState::stFog);
        }
        scene->RenderScene(*this, drawState, baseObject);
    }
    if (PostRender)
        PostRender(*this);
}

void TGLSceneBuffer::PushViewMatrix(const Matrix4f& matrix)
{
    ViewMatrixStack.push_back(BaseView);
    BaseView = matrix;
}

void TGLSceneBuffer::PopViewMatrix()
{
    if (ViewMatrixStack.empty())
        return;
    BaseView = ViewMatrixStack.back();
    ViewMatrixStack.pop_back();
}

// ---------------------------------------------------------------- freezing

void TGLSceneBuffer::Freeze()
{
    if (IsFrozen || Context == nullptr || !Context->IsValid())
        return;
    RenderFrame(nullptr);
    TActivation active(*Context);
    FrozenWidth = ViewPortValue.Width;
    FrozenHeight = ViewPortValue.Height;
    FrozenImage.assign(static_cast<std::size_t>(FrozenWidth) * static_cast<std::size_t>(FrozenHeight) * 4, 0);
    GL().ReadPixels(0, 0, FrozenWidth, FrozenHeight, GL_RGBA, GL_UNSIGNED_BYTE, FrozenImage.data());
    IsFrozen = true;
}

void TGLSceneBuffer::Melt()
{
    IsFrozen = false;
    FrozenImage.clear();
    FrozenImage.shrink_to_fit();
}

void TGLSceneBuffer::DrawFrozenImage()
{
    TActivation active(*Context);
    ClearWithBackground();
    GL().Clear(ClearBitsFor(Format.Options));
    GL().MatrixMode(GL_PROJECTION);
    GL().LoadIdentity();
    GL().MatrixMode(GL_MODELVIEW);
    GL().LoadIdentity();
    GL().RasterPos2f(-1.0f, -1.0f);
    GL().DrawPixels(FrozenWidth, FrozenHeight, GL_RGBA, GL_UNSIGNED_BYTE, FrozenImage.data());
    if (!Format.Options.Has(TContextOption::roNoSwapBuffers))
        Context->SwapBuffers();
}

// ---------------------------------------------------------------- the camera

TGLScene* TGLSceneBuffer::Scene() const
{
    return CameraObject != nullptr ? dynamic_cast<TGLScene*>(CameraObject->Scene()) : nullptr;
}

void TGLSceneBuffer::SetCamera(TGLCamera* camera)
{
    if (camera == CameraObject)
        return;
    if (camera != nullptr && dynamic_cast<TGLScene*>(camera->Scene()) == nullptr)
        return;
    if (TGLScene* old = Scene())
        old->RemoveBuffer(*this);
    CameraObject = camera;
    if (camera != nullptr) {
        Scene()->AddBuffer(*this);
        camera->MarkTransformChanged();
    }
    NotifyChange(this);
}

void TGLSceneBuffer::CameraGone()
{
    CameraObject = nullptr;
}

// ---------------------------------------------------------------- settings

void TGLSceneBuffer::NotifyChange(TGLNotifyObject* sender)
{
    if (FrameHost() != nullptr)
        FrameHost()->Repaint();
    TGLUpdateAbleObject::NotifyChange(sender);
}

void TGLSceneBuffer::StructureChanged()
{
    if (FrameHost() != nullptr)
        FrameHost()->RecreateContext();
}

template <typename T>
void TGLSceneBuffer::Change(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    NotifyChange(this);
}

template <typename T>
void TGLSceneBuffer::ChangeFormat(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    StructureChanged();
}

void TGLSceneBuffer::SetBackgroundColor(TColor value)
{
    Change(Background, value);
}

void TGLSceneBuffer::SetBackgroundAlpha(float value)
{
    Change(BackgroundAlphaValue, value);
}

void TGLSceneBuffer::SetDepthTest(bool value)
{
    Change(DepthTestOn, value);
}

void TGLSceneBuffer::SetFaceCulling(bool value)
{
    Change(FaceCullingOn, value);
}

void TGLSceneBuffer::SetLighting(bool value)
{
    Change(LightingOn, value);
}

void TGLSceneBuffer::SetFogEnable(bool value)
{
    Change(FogOn, value);
}

void TGLSceneBuffer::SetShadeModel(TGLShadeModel value)
{
    Change(Shade, value);
}

void TGLSceneBuffer::SetContextOptions(TContextOptions value)
{
    ChangeFormat(Format.Options, value);
}

void TGLSceneBuffer::SetAntiAliasing(TGLAntiAliasing value)
{
    ChangeFormat(Format.AntiAliasing, value);
}

void TGLSceneBuffer::SetDepthPrecision(TGLDepthPrecision value)
{
    ChangeFormat(Format.DepthPrecision, value);
}

void TGLSceneBuffer::SetColorDepth(TGLColorDepth value)
{
    ChangeFormat(Format.ColorDepth, value);
}

void TGLSceneBuffer::SetAccumBufferBits(int value)
{
    ChangeFormat(Format.AccumBufferBits, value);
}
