#pragma once

// Handles of OpenGL objects (display lists, textures, or anything a caller
// allocates itself) that know the context they were made in, so that they
// are freed in that context, or in one that shares it.

#include <cstdint>
#include <functional>

class TGLContext;

class TGLContextHandle {
public:
    TGLContextHandle() = default;
    virtual ~TGLContextHandle();
    TGLContextHandle(const TGLContextHandle&) = delete;
    TGLContextHandle& operator=(const TGLContextHandle&) = delete;

    std::uint32_t Handle() const { return HandleValue; }
    TGLContext* RenderingContext() const { return Owner; }

    // Needs a current context, which becomes the owner.
    void AllocateHandle();
    // Frees the object in its owner (made current for the moment when needed).
    void DestroyHandle();

    // A handle of a context that is destroyed may move to a sharing context.
    virtual bool Transferable() const { return true; }

    // Called by the owning context while it is destroyed.
    void TransferTo(TGLContext& partner);
    void DestroyNow();
    // The owner went without freeing its objects (they went with the platform's context).
    void Forget();

protected:
    virtual std::uint32_t DoAllocateHandle() = 0;
    virtual void DoDestroyHandle() = 0;
    // For the subclasses' destructors.
    void DestroyQuietly() noexcept;

private:
    TGLContext* Owner = nullptr;
    std::uint32_t HandleValue = 0;
};

class TGLListHandle : public TGLContextHandle {
public:
    ~TGLListHandle() override;

protected:
    std::uint32_t DoAllocateHandle() override;
    void DoDestroyHandle() override;
};

class TGLTextureHandle : public TGLContextHandle {
public:
    ~TGLTextureHandle() override;

protected:
    std::uint32_t DoAllocateHandle() override;
    void DoDestroyHandle() override;
};

// The caller's own allocation and release, through two events.
class TGLVirtualHandle : public TGLContextHandle {
public:
    using TEvent = std::function<void(TGLVirtualHandle& sender, std::uint32_t& handle)>;

    ~TGLVirtualHandle() override;

    TEvent OnAllocate;
    TEvent OnDestroy;

protected:
    std::uint32_t DoAllocateHandle() override;
    void DoDestroyHandle() override;
};
