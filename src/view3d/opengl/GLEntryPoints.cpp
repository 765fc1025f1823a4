#include "view3d/opengl/GLEntryPoints.h"

namespace {

TGLEntryPoints& Table()
{
    static TGLEntryPoints table;
    return table;
}

// Every entry gets the function of its own signature.
template <typename TFunction>
void Fetch(const TGLProcResolver& resolve, const char* name, TFunction*& entry)
{
    entry = reinterpret_cast<TFunction*>(resolve(name));
}

} // namespace

const TGLEntryPoints& GLEntryPoints()
{
    return Table();
}

void ReadGLExtensions(const TGLProcResolver& resolve)
{
    TGLEntryPoints& table = Table();
    Fetch(resolve, "glLockArraysEXT", table.LockArraysEXT);
    Fetch(resolve, "glUnlockArraysEXT", table.UnlockArraysEXT);
    Fetch(resolve, "glPointParameterfARB", table.PointParameterfARB);
    Fetch(resolve, "glPointParameterfvARB", table.PointParameterfvARB);
    Fetch(resolve, "glActiveTextureARB", table.ActiveTextureARB);
    Fetch(resolve, "glClientActiveTextureARB", table.ClientActiveTextureARB);
    Fetch(resolve, "glMultiTexCoord2fARB", table.MultiTexCoord2fARB);
    Fetch(resolve, "glMultiTexCoord3fARB", table.MultiTexCoord3fARB);
    Fetch(resolve, "glMultiTexCoord4fARB", table.MultiTexCoord4fARB);
    Fetch(resolve, "glMultiTexCoord2fvARB", table.MultiTexCoord2fvARB);
    Fetch(resolve, "glMultiTexCoord3fvARB", table.MultiTexCoord3fvARB);
    Fetch(resolve, "glMultiTexCoord4fvARB", table.MultiTexCoord4fvARB);
    Fetch(resolve, "glLoadTransposeMatrixfARB", table.LoadTransposeMatrixfARB);
}
