#pragma once

// The extension functions that an OpenGL 1.1 library does not export and
// that the 3D view calls: fetched by name from the current context's
// driver; null where the driver does not offer the name.

#include <functional>

#include <GL/gl.h>

struct TGLEntryPoints {
    void (*LockArraysEXT)(GLint first, GLsizei count) = nullptr;
    void (*UnlockArraysEXT)() = nullptr;
    void (*PointParameterfARB)(GLenum name, GLfloat value) = nullptr;
    void (*PointParameterfvARB)(GLenum name, const GLfloat* values) = nullptr;
    void (*ActiveTextureARB)(GLenum unit) = nullptr;
    void (*ClientActiveTextureARB)(GLenum unit) = nullptr;
    void (*MultiTexCoord2fARB)(GLenum unit, GLfloat s, GLfloat t) = nullptr;
    void (*MultiTexCoord3fARB)(GLenum unit, GLfloat s, GLfloat t, GLfloat r) = nullptr;
    void (*MultiTexCoord4fARB)(GLenum unit, GLfloat s, GLfloat t, GLfloat r, GLfloat q) = nullptr;
    void (*MultiTexCoord2fvARB)(GLenum unit, const GLfloat* values) = nullptr;
    void (*MultiTexCoord3fvARB)(GLenum unit, const GLfloat* values) = nullptr;
    void (*MultiTexCoord4fvARB)(GLenum unit, const GLfloat* values) = nullptr;
    void (*LoadTransposeMatrixfARB)(const GLfloat* matrix) = nullptr;
};

// The platform's lookup of a function by name in the current context's driver.
using TGLProcAddress = void (*)();
using TGLProcResolver = std::function<TGLProcAddress(const char* name)>;

// The process's table.
const TGLEntryPoints& GLEntryPoints();
// Fills every entry by its name through the resolver.
void ReadGLExtensions(const TGLProcResolver& resolve);
