#include "view3d/opengl/GLContext.h"

#include <algorithm>

#include "view3d/opengl/GLContextHandle.h"
#include "view3d/opengl/GLContextManager.h"
#include "view3d/opengl/GLErrors.h"

namespace {

TGLContext*& Current()
{
    static TGLContext* current = nullptr;
    return current;
}

template <typename T>
void Erase(std::vector<T*>& list, const T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

} // namespace

TGLContext* CurrentGLContext()
{
    return Current();
}

TGLContext::TGLContext()
{
    GLContextManager().RegisterContext(*this);
}

TGLContext::~TGLContext()
{
    for (TGLContextHandle* handle : OwnedHandles)
        handle->Forget();
    if (Current() == this)
        Current() = nullptr;
    GLContextManager().UnregisterContext(*this);
}

void TGLContext::DestroyQuietly() noexcept
{
    if (!IsValid())
        return;
    try {
        DestroyContext();
    } catch (...) {
        // A destructor cannot report; the platform context goes with the object either way.
    }
}

template <typename T>
void TGLContext::Alter(T& setting, T value)
{
    if (ActivationCount > 0)
        throw EGLContextError("Cannot alter an active context");
    setting = value;
}

void TGLContext::SetColorBits(int bits)
{
    Alter(ColorBitsValue, bits);
}

void TGLContext::SetAlphaBits(int bits)
{
    Alter(AlphaBitsValue, bits);
}

void TGLContext::SetDepthBits(int bits)
{
    Alter(DepthBitsValue, bits);
}

void TGLContext::SetStencilBits(int bits)
{
    Alter(StencilBitsValue, bits);
}

void TGLContext::SetAccumBits(int bits)
{
    Alter(AccumBitsValue, bits);
}

void TGLContext::SetAuxBuffers(int count)
{
    Alter(AuxBuffersValue, count);
}

void TGLContext::SetAntiAliasing(TGLAntiAliasing value)
{
    Alter(AntiAliasingValue, value);
}

void TGLContext::SetOptions(TGLContextOptions options)
{
    Alter(OptionsValue, options);
}

void TGLContext::CreateContext(TGLDevice& device)
{
    if (IsValid())
        throw EGLContextError("Context already created");
    AccelerationValue = TGLAcceleration::Unknown;
    DoCreateContext(device);
    FinishCreation();
}

void TGLContext::CreateMemoryContext(int width, int height)
{
    if (IsValid())
        throw EGLContextError("Context already created");
    AccelerationValue = TGLAcceleration::Unknown;
    DoCreateMemoryContext(width, height);
    FinishCreation();
}

void TGLContext::FinishCreation()
{
    SharedContexts.push_back(this);
    GLContextManager().ContextCreated();
}

void TGLContext::ShareLists(TGLContext& other)
{
    if (!IsValid())
        throw EGLContextError("Context not created");
    if (SharesListsWith(other))
        return;
    DoShareLists(other);
    SharedContexts.push_back(&other);
    for (TGLContext* member : SharedContexts)
        if (member != this)
            member->SharedContexts = SharedContexts;
}

bool TGLContext::SharesListsWith(const TGLContext& other) const
{
    return std::find(SharedContexts.begin(), SharedContexts.end(), &other) != SharedContexts.end();
}

void TGLContext::Activate()
{
    if (ActivationCount == 0) {
        if (!IsValid())
            throw EGLContextError("Context not created");
        DoActivate();
        Current() = this;
    }
    ++ActivationCount;
}

void TGLContext::Deactivate()
{
    if (ActivationCount <= 0) {
        // The count stays at 0, so that the next Activate still reaches the platform.
        ActivationCount = 0;
        throw EGLContextError("Unbalanced context activations");
    }
    if (--ActivationCount > 0)
        return;
    if (!IsValid())
        throw EGLContextError("Context not created");
    DoDeactivate();
    Current() = nullptr;
}

void TGLContext::SetActive(bool active)
{
    while (Active() != active) {
        if (active)
            Activate();
        else
            Deactivate();
    }
}

void TGLContext::AddOwnedHandle(TGLContextHandle& handle)
{
    OwnedHandles.push_back(&handle);
}

void TGLContext::RemoveOwnedHandle(TGLContextHandle& handle)
{
    Erase(OwnedHandles, &handle);
}

void TGLContext::DestroyContext()
{
    TGLContext* previous = CurrentGLContext();
    if (previous == this)
        previous = nullptr;
    else if (previous != nullptr)
        previous->Deactivate();
    try {
        Activate();
        ReleaseOwnedHandles();
        GLContextManager().ContextDestroyed();
        LeaveSharing();
        SetActive(false);
        DoDestroyContext();
    } catch (...) {
        try {
            SetActive(false);
        } catch (...) {
            // The first failure is the one reported.
        }
        if (previous != nullptr)
            previous->Activate();
        AccelerationValue = TGLAcceleration::Unknown;
        throw;
    }
    if (previous != nullptr)
        previous->Activate();
    AccelerationValue = TGLAcceleration::Unknown;
}

void TGLContext::ReleaseOwnedHandles()
{
    const auto partner =
        std::find_if(SharedContexts.begin(), SharedContexts.end(), [this](const TGLContext* c) { return c != this; });
    // From the last to the first: the order they would have been freed in.
    for (auto handle = OwnedHandles.rbegin(); handle != OwnedHandles.rend(); ++handle) {
        if (partner != SharedContexts.end() && (*handle)->Transferable())
            (*handle)->TransferTo(**partner);
        else
            (*handle)->DestroyNow();
    }
    OwnedHandles.clear();
}

void TGLContext::LeaveSharing()
{
    Erase(SharedContexts, this);
    for (TGLContext* member : SharedContexts)
        member->SharedContexts = SharedContexts;
    SharedContexts.clear();
}
