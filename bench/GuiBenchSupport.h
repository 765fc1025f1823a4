#pragma once

// What the benchmarks that draw share: one Qt GUI application for the whole
// run, and the vertex-buffer floor the 3D scene is measured beside.

#include <vector>

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include "view3d/opengl/GLFunctions.h"

// The first benchmark that needs it makes the application; the rest of the run
// shares it. On a display it is the X platform, so that the OpenGL benchmarks
// can draw whichever benchmark comes first. False when there is no display.
inline bool EnsureGuiApplication()
{
    if (QGuiApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
        static int argc = 1;
        static char name[] = "kestro_bench";
        static char* argv[] = {name, nullptr};
        static QGuiApplication application(argc, argv);
    }
    return QGuiApplication::platformName() != QStringLiteral("offscreen");
}

// A coloured line strip in one vertex buffer (x, y, z, r, g, b, a per vertex),
// bound with its client arrays for as long as it lives. Make it after the
// scene's frame: the scene leaves the client arrays off when it is done.
class TColoredStripBuffer {
public:
    explicit TColoredStripBuffer(const std::vector<float>& vertices)
        : Gl(QOpenGLContext::currentContext()->functions()), Count(GLsizei(vertices.size() / 7))
    {
        Gl->glGenBuffers(1, &Buffer);
        Gl->glBindBuffer(GL_ARRAY_BUFFER, Buffer);
        Gl->glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(float)), vertices.data(),
                         GL_STATIC_DRAW);
        constexpr GLsizei Stride = 7 * sizeof(float);
        GL().EnableClientState(GL_VERTEX_ARRAY);
        GL().EnableClientState(GL_COLOR_ARRAY);
        GL().VertexPointer(3, GL_FLOAT, Stride, nullptr);
        GL().ColorPointer(4, GL_FLOAT, Stride, reinterpret_cast<const void*>(3 * sizeof(float)));
    }
    ~TColoredStripBuffer()
    {
        GL().DisableClientState(GL_COLOR_ARRAY);
        GL().DisableClientState(GL_VERTEX_ARRAY);
        Gl->glBindBuffer(GL_ARRAY_BUFFER, 0);
        Gl->glDeleteBuffers(1, &Buffer);
    }
    TColoredStripBuffer(const TColoredStripBuffer&) = delete;
    TColoredStripBuffer& operator=(const TColoredStripBuffer&) = delete;

    void Draw() const { GL().DrawArrays(GL_LINE_STRIP, 0, Count); }

private:
    QOpenGLFunctions* Gl;
    GLuint Buffer = 0;
    GLsizei Count;
};
