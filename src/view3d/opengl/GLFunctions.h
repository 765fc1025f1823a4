#pragma once

// The OpenGL and GLU calls of the 3D view, as one table of function
// pointers. The program fills it with the platform's functions; a test may
// install its own, which record each call, and so needs no display.

#include <GL/gl.h>

struct TGLFunctions {
    void (*Enable)(GLenum capability);
    void (*Disable)(GLenum capability);
    void (*PolygonMode)(GLenum face, GLenum mode);
    void (*Materiali)(GLenum face, GLenum name, GLint value);
    void (*Materialfv)(GLenum face, GLenum name, const GLfloat* values);
    void (*BindTexture)(GLenum target, GLuint texture);
    void (*MatrixMode)(GLenum mode);
    void (*LoadMatrixf)(const GLfloat* matrix);
    void (*LoadIdentity)();
    void (*FrontFace)(GLenum mode);
    void (*Hint)(GLenum target, GLenum mode);
    GLenum (*GetError)();
    GLuint (*GenLists)(GLsizei range);
    void (*DeleteLists)(GLuint list, GLsizei range);
    void (*GenTextures)(GLsizei count, GLuint* textures);
    void (*DeleteTextures)(GLsizei count, const GLuint* textures);
    GLboolean (*IsTexture)(GLuint texture);
    const GLubyte* (*GetString)(GLenum name);
    void (*Viewport)(GLint x, GLint y, GLsizei width, GLsizei height);
    void (*ClearColor)(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha);
    void (*Clear)(GLbitfield mask);
    const GLubyte* (*GluGetString)(GLenum name);
    const GLubyte* (*GluErrorString)(GLenum error);
};

// The table every call of the 3D view goes through.
const TGLFunctions& GL();
// The platform's OpenGL and GLU.
const TGLFunctions& PlatformGLFunctions();
// Replaces the table (tests); PlatformGLFunctions() puts the real one back.
void SetGLFunctions(const TGLFunctions& functions);
