#pragma once

// A stand-in for OpenGL that writes every call into a log, for tests of the
// rules that decide which calls are made. It lives as long as the object.

#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "view3d/opengl/GLFunctions.h"

class TGLCallLog {
public:
    TGLCallLog()
    {
        Instance() = this;
        SetGLFunctions(Recorder());
    }
    ~TGLCallLog()
    {
        SetGLFunctions(PlatformGLFunctions());
        Instance() = nullptr;
    }
    TGLCallLog(const TGLCallLog&) = delete;
    TGLCallLog& operator=(const TGLCallLog&) = delete;

    // The calls since the last Take, and a fresh start.
    std::vector<std::string> Take()
    {
        std::vector<std::string> calls;
        calls.swap(Calls);
        return calls;
    }

    // What glGetError returns next, one value per call; GL_NO_ERROR once they are used up.
    std::deque<GLenum> PendingErrors;
    // What glIsTexture answers.
    bool TexturesExist = true;
    GLuint NextName = 1;

private:
    static TGLCallLog*& Instance()
    {
        static TGLCallLog* instance = nullptr;
        return instance;
    }

    static void Add(const char* format, auto... values)
    {
        char text[160];
        std::snprintf(text, sizeof text, format, values...);
        Instance()->Calls.emplace_back(text);
    }

    static void Add(const char* text) { Instance()->Calls.emplace_back(text); }

    static const GLubyte* Text(const char* text) { return reinterpret_cast<const GLubyte*>(text); }

    static TGLFunctions Recorder()
    {
        TGLFunctions f{};
        f.Enable = [](GLenum c) { Add("Enable %#x", c); };
        f.Disable = [](GLenum c) { Add("Disable %#x", c); };
        f.PolygonMode = [](GLenum face, GLenum mode) { Add("PolygonMode %#x %#x", face, mode); };
        f.Materiali = [](GLenum face, GLenum name, GLint v) { Add("Materiali %#x %#x %d", face, name, v); };
        f.Materialfv = [](GLenum face, GLenum name, const GLfloat* v) {
            Add("Materialfv %#x %#x %g %g %g %g", face, name, double(v[0]), double(v[1]), double(v[2]), double(v[3]));
        };
        f.BindTexture = [](GLenum target, GLuint t) { Add("BindTexture %#x %u", target, t); };
        f.MatrixMode = [](GLenum mode) { Add("MatrixMode %#x", mode); };
        f.LoadMatrixf = [](const GLfloat* m) { Add("LoadMatrixf %g", double(m[12])); };
        f.LoadIdentity = [] { Add("LoadIdentity"); };
        f.FrontFace = [](GLenum mode) { Add("FrontFace %#x", mode); };
        f.Hint = [](GLenum target, GLenum mode) { Add("Hint %#x %#x", target, mode); };
        f.GetError = [] {
            Add("GetError");
            std::deque<GLenum>& errors = Instance()->PendingErrors;
            if (errors.empty())
                return GLenum(GL_NO_ERROR);
            const GLenum error = errors.front();
            errors.pop_front();
            return error;
        };
        f.GenLists = [](GLsizei n) {
            Add("GenLists %d", n);
            return Instance()->NextName++;
        };
        f.DeleteLists = [](GLuint list, GLsizei n) { Add("DeleteLists %u %d", list, n); };
        f.GenTextures = [](GLsizei n, GLuint* t) {
            Add("GenTextures %d", n);
            *t = Instance()->NextName++;
        };
        f.DeleteTextures = [](GLsizei n, const GLuint* t) { Add("DeleteTextures %d %u", n, *t); };
        f.IsTexture = [](GLuint t) {
            Add("IsTexture %u", t);
            return GLboolean(Instance()->TexturesExist ? GL_TRUE : GL_FALSE);
        };
        f.GetString = [](GLenum) { return Text(""); };
        f.Viewport = [](GLint x, GLint y, GLsizei w, GLsizei h) { Add("Viewport %d %d %d %d", x, y, w, h); };
        f.ClearColor = [](GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
            Add("ClearColor %g %g %g %g", double(r), double(g), double(b), double(a));
        };
        f.Clear = [](GLbitfield mask) { Add("Clear %#x", mask); };
        f.GluGetString = [](GLenum) { return Text(""); };
        f.GluErrorString = [](GLenum error) { return Text(error == GL_INVALID_ENUM ? "invalid enumerant" : "other"); };
        return f;
    }

    std::vector<std::string> Calls;
};
