#pragma once

// One render target of a scene: the viewport, the background, the OpenGL
// options and the frame itself, drawn with the buffer's camera. A viewer
// window or a memory context drives it through the frame-renderer
// interface; the context it draws with belongs to them, and outlives the
// buffer or is released through DestroyRenderingContext first.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "cad/base/Settings.h"
#include "view3d/context/GLFrameRenderer.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/notification/Color.h"
#include "view3d/opengl/GLStateCache.h"
#include "view3d/scene/CameraProjection.h"
#include "view3d/scene/ContextOptions.h"
#include "view3d/scene/GLFogEnvironment.h"

class TGLBaseSceneObject;
class TGLCamera;
class TGLContext;
class TGLScene;

// The window's system colour of button faces.
inline constexpr TColor clBtnFaceColor = static_cast<TColor>(0xFF00000Fu);

// A rectangle of the window in pixels, top-left origin, for picking.
struct TGLPickRectangle {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

class TGLSceneBuffer : public TGLUpdateAbleObject, public TGLFrameRenderer {
public:
    using TBufferEvent = std::function<void(TGLSceneBuffer& buffer)>;

    explicit TGLSceneBuffer(TGLNotifyObject* owner = nullptr);
    ~TGLSceneBuffer() override;

    // --- the frame renderer
    // At least 1 x 1; with a context, the OpenGL viewport at once.
    void Resize(int width, int height) override;
    void RenderFrame() override { RenderFrame(nullptr); }
    // Sets the context's format from the options, makes it, and prepares the
    // new context's state. Raises what the context raises, or EOpenGLError
    // "Need at least OpenGL version 1.1"; then the buffer has no context.
    void CreateRenderingContext(TGLContext& context, TGLDevice* device, int width, int height) override;
    void DestroyRenderingContext(TGLContext& context) override;
    TGLContext* RenderingContext() const { return Context; }

    // One frame of the base object (the scene's objects when null). Nothing
    // without a context or while a frame is being drawn.
    void RenderFrame(TGLBaseSceneObject* baseObject);
    // The matrices, lights, fog and objects of a frame, into the current
    // context; with a pick rectangle, only that part of the viewport.
    void RenderScene(const TGLViewPort& viewPort, float dpi, TGLBaseSceneObject* baseObject, TDrawState drawState,
                     const TGLPickRectangle* pickRectangle = nullptr);
    // The OpenGL options, in their fixed order.
    void SetupGLOptions();
    bool Rendering() const { return IsRendering; }

    const TGLViewPort& ViewPort() const { return ViewPortValue; }
    void SetViewPort(int left, int top, int width, int height);

    TGLCamera* Camera() const { return CameraObject; }
    // Refuses a camera that belongs to no scene.
    void SetCamera(TGLCamera* camera);
    // The camera's scene, or null.
    TGLScene* Scene() const;

    // --- what the frame looks like; each setter notifies (repaints) only on a change
    TColor BackgroundColor() const { return Background; }
    void SetBackgroundColor(TColor value);
    float BackgroundAlpha() const { return BackgroundAlphaValue; }
    void SetBackgroundAlpha(float value);
    TGLColor& AmbientColor() { return *Ambient; }
    bool DepthTest() const { return DepthTestOn; }
    bool FaceCulling() const { return FaceCullingOn; }
    bool Lighting() const { return LightingOn; }
    bool FogEnable() const { return FogOn; }
    void SetDepthTest(bool value);
    void SetFaceCulling(bool value);
    void SetLighting(bool value);
    void SetFogEnable(bool value);
    TGLFogEnvironment& FogEnvironment() { return *Fog; }
    TGLShadeModel ShadeModel() const { return Shade; }
    void SetShadeModel(TGLShadeModel value);

    // --- the context's format: a change makes the window make its context again
    const TGLPixelFormatRequest& PixelFormat() const { return Format; }
    TContextOptions ContextOptions() const { return Format.Options; }
    void SetContextOptions(TContextOptions value);
    void SetAntiAliasing(TGLAntiAliasing value);
    void SetDepthPrecision(TGLDepthPrecision value);
    void SetColorDepth(TGLColorDepth value);
    void SetAccumBufferBits(int value);

    // --- a frozen buffer shows the picture it held when frozen
    void Freeze();
    void Melt();
    bool Frozen() const { return IsFrozen; }

    // --- counters and the last frame's matrices
    std::int64_t FrameCount() const { return Frames; }
    double LastFrameTime() const { return LastFrameSeconds; }
    double FramesPerSecond() const { return FramesPerSecondValue; }
    int RenderDPI() const { return DPI; }
    const Matrix4f& ProjectionMatrix() const { return Projection; }
    const Matrix4f& BaseViewMatrix() const { return BaseView; }
    // For objects drawn in the camera's frame: the base view matrix is
    // replaced while they draw.
    void PushViewMatrix(const Matrix4f& matrix);
    void PopViewMatrix();
    TGLStateCache& GLStates() { return *States; }

    TBufferEvent BeforeRender;
    TBufferEvent PostRender;
    TBufferEvent AfterRender;
    TBufferEvent InitiateRendering;
    TBufferEvent WrapUpRendering;

    // The scene changed: the window showing the buffer repaints.
    void NotifyChange(TGLNotifyObject* sender) override;
    // The context's format changed: the window makes its context again.
    void StructureChanged();

    // Called by the scene when the camera leaves it, or the scene goes.
    void CameraGone();

private:
    template <typename T>
    void Change(T& field, T value);
    template <typename T>
    void ChangeFormat(T& field, T value);
    void ClearWithBackground();
    void DrawFrozenImage();
    void FinishFrameTiming(std::chrono::steady_clock::time_point start);

    TGLContext* Context = nullptr;
    TGLCamera* CameraObject = nullptr;
    TGLViewPort ViewPortValue;
    bool IsRendering = false;

    TColor Background = clBtnFaceColor;
    float BackgroundAlphaValue = 1.0f;
    std::unique_ptr<TGLColor> Ambient;
    bool DepthTestOn = true;
    bool FaceCullingOn = true;
    bool LightingOn = true;
    bool FogOn = false;
    std::unique_ptr<TGLFogEnvironment> Fog;
    TGLShadeModel Shade = TGLShadeModel::smDefault;
    TGLPixelFormatRequest Format;

    bool IsFrozen = false;
    std::vector<std::uint8_t> FrozenImage;
    int FrozenWidth = 0;
    int FrozenHeight = 0;

    std::int64_t Frames = 0;
    std::chrono::steady_clock::time_point FirstFrameStart;
    double LastFrameSeconds = 0.0;
    double FramesPerSecondValue = 0.0;
    int DPI = 96;
    Matrix4f Projection;
    Matrix4f BaseView;
    std::vector<Matrix4f> ViewMatrixStack;
    std::unique_ptr<TGLStateCache> States;
};
