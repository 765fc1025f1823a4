#pragma once

// Where a texture's picture comes from. Each kind gives its size, the target
// it binds to and, on demand, its pixels as a 32-bit bitmap, which it may
// drop again once they are uploaded.

#include <memory>
#include <string>

#include <GL/gl.h>

#include "view3d/notification/UpdateAble.h"
#include "view3d/utility/GLBitmap32.h"

class TGLTextureImage : public TGLUpdateAbleObject {
public:
    using TGLUpdateAbleObject::TGLUpdateAbleObject;

    // The registered name of the kind ("TGLBlankImage").
    virtual std::string ClassName() const = 0;
    virtual std::string FriendlyName() const = 0;
    virtual std::string FriendlyDescription() const { return {}; }

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual GLenum NativeTextureTarget() const { return GL_TEXTURE_2D; }

    // The pixels to upload to the target (a face of a cube map, or the
    // native target); null when there are none.
    virtual TGLBitmap32* GetBitmap32(GLenum target) = 0;
    virtual void ReleaseBitmap32() {}

    // The kind's own data in a file of its own.
    virtual void SaveToFile(const std::string& fileName) const = 0;
    virtual void LoadFromFile(const std::string& fileName) = 0;

    // Copies what the two have in common; a kind that differs copies nothing.
    virtual void Assign(const TGLTextureImage& source) = 0;

    // The picture changed: the owning texture uploads it again.
    void Invalidate() { NotifyChange(this); }
};
