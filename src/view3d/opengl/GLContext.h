#pragma once

// A platform-neutral rendering context: nested activation, display lists
// and textures shared with other contexts, and the handles of the OpenGL
// objects made while it was current. The platform's class does the rest.

#include <cstdint>
#include <vector>

class TGLContextHandle;

enum class TGLAntiAliasing : std::uint8_t { aaDefault, aaNone, aa2x, aa2xHQ, aa4x, aa4xHQ };

enum class TGLAcceleration : std::uint8_t { Unknown, Hardware, Software };

struct TGLContextOptions {
    bool DoubleBuffered = false;
    bool Stereo = false;
};

// What a context draws into; the platform's context knows the kind it takes.
class TGLDevice {
public:
    virtual ~TGLDevice() = default;
};

class TGLContext {
public:
    TGLContext();
    virtual ~TGLContext();
    TGLContext(const TGLContext&) = delete;
    TGLContext& operator=(const TGLContext&) = delete;

    // The format asked for; it cannot change while the context is active.
    int ColorBits() const { return ColorBitsValue; }
    int AlphaBits() const { return AlphaBitsValue; }
    int DepthBits() const { return DepthBitsValue; }
    int StencilBits() const { return StencilBitsValue; }
    int AccumBits() const { return AccumBitsValue; }
    int AuxBuffers() const { return AuxBuffersValue; }
    TGLAntiAliasing AntiAliasing() const { return AntiAliasingValue; }
    TGLContextOptions Options() const { return OptionsValue; }
    void SetColorBits(int bits);
    void SetAlphaBits(int bits);
    void SetDepthBits(int bits);
    void SetStencilBits(int bits);
    void SetAccumBits(int bits);
    void SetAuxBuffers(int count);
    void SetAntiAliasing(TGLAntiAliasing value);
    void SetOptions(TGLContextOptions options);

    // Set by the platform's class when it creates the context.
    TGLAcceleration Acceleration() const { return AccelerationValue; }

    void CreateContext(TGLDevice& device);
    void CreateMemoryContext(int width, int height);
    // The other context shares this one's display lists and textures.
    void ShareLists(TGLContext& other);
    // Frees the OpenGL objects this context owns, or hands them to a context
    // that shares them, then the platform's context; it can be created again.
    void DestroyContext();

    // Only the outermost of nested pairs reaches the platform.
    void Activate();
    void Deactivate();
    bool Active() const { return ActivationCount > 0; }
    void SetActive(bool active);

    virtual bool IsValid() const = 0;
    virtual void SwapBuffers() = 0;

    // Called by the handles.
    void AddOwnedHandle(TGLContextHandle& handle);
    void RemoveOwnedHandle(TGLContextHandle& handle);
    bool SharesListsWith(const TGLContext& other) const;

protected:
    virtual void DoCreateContext(TGLDevice& device) = 0;
    virtual void DoCreateMemoryContext(int width, int height) = 0;
    virtual void DoShareLists(TGLContext& other) = 0;
    virtual void DoDestroyContext() = 0;
    virtual void DoActivate() = 0;
    virtual void DoDeactivate() = 0;

    void SetAcceleration(TGLAcceleration value) { AccelerationValue = value; }
    // For the platform classes' destructors, while their operations still exist.
    void DestroyQuietly() noexcept;

private:
    // Settings of the format change only while the context is inactive.
    template <typename T>
    void Alter(T& setting, T value);
    void FinishCreation();
    void ReleaseOwnedHandles();
    void LeaveSharing();

    int ColorBitsValue = 32;
    int AlphaBitsValue = 0;
    int DepthBitsValue = 0;
    int StencilBitsValue = 0;
    int AccumBitsValue = 0;
    int AuxBuffersValue = 0;
    TGLAntiAliasing AntiAliasingValue = TGLAntiAliasing::aaDefault;
    TGLContextOptions OptionsValue;
    int ActivationCount = 0;
    // This context included, once created; every member keeps the same list.
    std::vector<TGLContext*> SharedContexts;
    std::vector<TGLContextHandle*> OwnedHandles;
    TGLAcceleration AccelerationValue = TGLAcceleration::Unknown;
};

// The active context of the GUI thread, or null.
TGLContext* CurrentGLContext();
