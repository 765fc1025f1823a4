#include "view3d/opengl/GLFunctions.h"

#include <GL/glu.h>

namespace {

constexpr TGLFunctions kPlatform = {
    glEnable,     glDisable,     glPolygonMode,  glMateriali, glMaterialfv, glBindTexture,
    glMatrixMode, glLoadMatrixf, glLoadIdentity, glFrontFace, glHint,       glGetError,
    glGenLists,   glDeleteLists, glGenTextures,  glDeleteTextures, glIsTexture, glGetString,
    glViewport,   glClearColor,  glClear,        gluGetString, gluErrorString,
};

TGLFunctions& Current()
{
    static TGLFunctions current = kPlatform;
    return current;
}

} // namespace

const TGLFunctions& GL()
{
    return Current();
}

const TGLFunctions& PlatformGLFunctions()
{
    return kPlatform;
}

void SetGLFunctions(const TGLFunctions& functions)
{
    Current() = functions;
}
