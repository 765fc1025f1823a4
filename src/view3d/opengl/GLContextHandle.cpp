#include "view3d/opengl/GLContextHandle.h"

#include "view3d/opengl/GLContext.h"
#include "view3d/opengl/GLErrors.h"
#include "view3d/opengl/GLFunctions.h"

TGLContextHandle::~TGLContextHandle()
{
    // The subclass's destructor has freed the object; this only leaves the owner's list.
    if (Owner != nullptr)
        Owner->RemoveOwnedHandle(*this);
}

void TGLContextHandle::AllocateHandle()
{
    HandleValue = DoAllocateHandle();
    if (HandleValue == 0)
        return;
    Owner = CurrentGLContext();
    if (Owner != nullptr)
        Owner->AddOwnedHandle(*this);
}

void TGLContextHandle::DestroyHandle()
{
    if (HandleValue == 0)
        return;
    TGLContext* owner = Owner;
    if (owner != nullptr)
        owner->RemoveOwnedHandle(*this);
    TGLContext* current = CurrentGLContext();
    if (owner == nullptr || owner == current || (current != nullptr && owner->SharesListsWith(*current))) {
        DestroyNow();
        return;
    }
    if (current != nullptr)
        current->Deactivate();
    owner->Activate();
    try {
        DestroyNow();
    } catch (...) {
        owner->Deactivate();
        if (current != nullptr)
            current->Activate();
        throw;
    }
    owner->Deactivate();
    if (current != nullptr)
        current->Activate();
}

void TGLContextHandle::TransferTo(TGLContext& partner)
{
    Owner = &partner;
    partner.AddOwnedHandle(*this);
}

void TGLContextHandle::DestroyNow()
{
    // The number is gone even when the driver complains about it.
    if (HandleValue != 0) {
        try {
            DoDestroyHandle();
        } catch (...) {
            Forget();
            throw;
        }
    }
    Forget();
}

void TGLContextHandle::Forget()
{
    HandleValue = 0;
    Owner = nullptr;
}

void TGLContextHandle::DestroyQuietly() noexcept
{
    try {
        DestroyHandle();
    } catch (...) {
        // A destructor cannot report: the number is cleared and the object left to its context.
    }
}

// Each subclass frees its object in its own destructor, while its own
// DoDestroyHandle still exists.
TGLListHandle::~TGLListHandle()
{
    DestroyQuietly();
}

std::uint32_t TGLListHandle::DoAllocateHandle()
{
    return GL().GenLists(1);
}

void TGLListHandle::DoDestroyHandle()
{
    ClearGLErrors();
    GL().DeleteLists(Handle(), 1);
    CheckOpenGLError();
}

TGLTextureHandle::~TGLTextureHandle()
{
    DestroyQuietly();
}

std::uint32_t TGLTextureHandle::DoAllocateHandle()
{
    GLuint texture = 0;
    GL().GenTextures(1, &texture);
    return texture;
}

void TGLTextureHandle::DoDestroyHandle()
{
    GL().GetError();
    const GLuint texture = Handle();
    if (GL().IsTexture(texture) != GL_FALSE)
        GL().DeleteTextures(1, &texture);
    CheckOpenGLError();
}

TGLVirtualHandle::~TGLVirtualHandle()
{
    DestroyQuietly();
}

std::uint32_t TGLVirtualHandle::DoAllocateHandle()
{
    std::uint32_t handle = 0;
    if (OnAllocate)
        OnAllocate(*this, handle);
    return handle;
}

void TGLVirtualHandle::DoDestroyHandle()
{
    ClearGLErrors();
    std::uint32_t handle = Handle();
    if (OnDestroy)
        OnDestroy(*this, handle);
    CheckOpenGLError();
}
