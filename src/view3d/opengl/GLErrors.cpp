#include "view3d/opengl/GLErrors.h"

#include <string>

#include "view3d/opengl/GLFunctions.h"

namespace {

constexpr int kMaxErrorReads = 7;

} // namespace

void ClearGLErrors()
{
    for (int read = 0; read < kMaxErrorReads; ++read)
        if (GL().GetError() == GL_NO_ERROR)
            return;
}

void CheckOpenGLError()
{
    const GLenum first = GL().GetError();
    if (first == GL_NO_ERROR)
        return;
    try {
        for (int read = 0; read < kMaxErrorReads; ++read)
            if (GL().GetError() == GL_NO_ERROR)
                break;
    } catch (...) {
        // Only the first error is reported; a failure while clearing the rest does not replace it.
    }
    const GLubyte* text = GL().GluErrorString(first);
    throw EOpenGLError(text != nullptr ? reinterpret_cast<const char*>(text) : std::string());
}
