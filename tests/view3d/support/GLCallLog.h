#pragma once

// A stand-in for OpenGL that writes every call into a log, for tests of the
// rules that decide which calls are made. It lives as long as the object.

#include <cstdio>
#include <deque>
#include <map>
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
    // What glRenderMode answers when a selection ends.
    GLint SelectHits = 0;
    // What glGetFloatv, glGetIntegerv, glGetDoublev and glGetLightfv answer, by name. A
    // name not listed answers the identity for the two matrices and 0
    // otherwise, with as many values as OpenGL writes for it.
    std::map<GLenum, std::vector<double>> Answers;
    // What glGetString answers, by name; empty for a name not listed.
    std::map<GLenum, std::string> Strings;

private:
    static TGLCallLog*& Instance()
    {
        static TGLCallLog* instance = nullptr;
        return instance;
    }

    static void Add(const char* format, auto... values)
    {
        char text[320];
        std::snprintf(text, sizeof text, format, values...);
        Instance()->Calls.emplace_back(text);
    }

    static void Add(const char* text) { Instance()->Calls.emplace_back(text); }

    static int AnswerCount(GLenum name)
    {
        switch (name) {
        case GL_MODELVIEW_MATRIX:
        case GL_PROJECTION_MATRIX:
        case GL_TEXTURE_MATRIX: return 16;
        case GL_VIEWPORT:
        case GL_COLOR_CLEAR_VALUE:
        case GL_CURRENT_COLOR:
        case GL_LIGHT_MODEL_AMBIENT:
        case GL_POSITION:
        case GL_FOG_COLOR: return 4;
        case GL_DEPTH_RANGE: return 2;
        default: return 1;
        }
    }

    template <class T>
    static void Answer(GLenum name, T* values)
    {
        const int count = AnswerCount(name);
        const auto given = Instance()->Answers.find(name);
        for (int i = 0; i < count; ++i) {
            if (given != Instance()->Answers.end() && i < int(given->second.size()))
                values[i] = static_cast<T>(given->second[i]);
            else
                values[i] = static_cast<T>(count == 16 && i % 5 == 0 ? 1 : 0);
        }
    }

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
        f.GetString = [](GLenum name) {
            const std::map<GLenum, std::string>& strings = Instance()->Strings;
            const auto found = strings.find(name);
            return Text(found != strings.end() ? found->second.c_str() : "");
        };
        f.Viewport = [](GLint x, GLint y, GLsizei w, GLsizei h) { Add("Viewport %d %d %d %d", x, y, w, h); };
        f.ClearColor = [](GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
            Add("ClearColor %g %g %g %g", double(r), double(g), double(b), double(a));
        };
        f.Clear = [](GLbitfield mask) { Add("Clear %#x", mask); };
        f.GluGetString = [](GLenum) { return Text(""); };
        f.GluErrorString = [](GLenum error) { return Text(error == GL_INVALID_ENUM ? "invalid enumerant" : "other"); };
        // Primitives
        f.Begin = [](GLenum mode) { Add("Begin %#x", unsigned(mode)); };
        f.End = []() { Add("End"); };
        f.Vertex2f = [](GLfloat x, GLfloat y) { Add("Vertex2f %g %g", double(x), double(y)); };
        f.Vertex3f = [](GLfloat x, GLfloat y, GLfloat z) { Add("Vertex3f %g %g %g", double(x), double(y), double(z)); };
        f.Vertex3fv = [](const GLfloat* v) { Add("Vertex3fv %g %g %g", double(v[0]), double(v[1]), double(v[2])); };
        f.Vertex4fv = [](const GLfloat* v) { Add("Vertex4fv %g %g %g %g", double(v[0]), double(v[1]), double(v[2]), double(v[3])); };
        f.Vertex3dv = [](const GLdouble* v) { Add("Vertex3dv %g %g %g", double(v[0]), double(v[1]), double(v[2])); };
        f.Normal3f = [](GLfloat x, GLfloat y, GLfloat z) { Add("Normal3f %g %g %g", double(x), double(y), double(z)); };
        f.Normal3fv = [](const GLfloat* v) { Add("Normal3fv %g %g %g", double(v[0]), double(v[1]), double(v[2])); };
        f.Color3f = [](GLfloat r, GLfloat g, GLfloat b) { Add("Color3f %g %g %g", double(r), double(g), double(b)); };
        f.Color3fv = [](const GLfloat* v) { Add("Color3fv %g %g %g", double(v[0]), double(v[1]), double(v[2])); };
        f.Color4f = [](GLfloat r, GLfloat g, GLfloat b, GLfloat a) { Add("Color4f %g %g %g %g", double(r), double(g), double(b), double(a)); };
        f.Color4fv = [](const GLfloat* v) { Add("Color4fv %g %g %g %g", double(v[0]), double(v[1]), double(v[2]), double(v[3])); };
        f.Color4ub = [](GLubyte r, GLubyte g, GLubyte b, GLubyte a) { Add("Color4ub %d %d %d %d", int(r), int(g), int(b), int(a)); };
        f.TexCoord2f = [](GLfloat s, GLfloat t) { Add("TexCoord2f %g %g", double(s), double(t)); };
        f.TexCoord2fv = [](const GLfloat* v) { Add("TexCoord2fv %g %g", double(v[0]), double(v[1])); };
        f.TexCoord3f = [](GLfloat s, GLfloat t, GLfloat r) { Add("TexCoord3f %g %g %g", double(s), double(t), double(r)); };
        f.TexCoord3fv = [](const GLfloat* v) { Add("TexCoord3fv %g %g %g", double(v[0]), double(v[1]), double(v[2])); };
        f.TexCoord4f = [](GLfloat s, GLfloat t, GLfloat r, GLfloat q) { Add("TexCoord4f %g %g %g %g", double(s), double(t), double(r), double(q)); };
        f.TexCoord4fv = [](const GLfloat* v) { Add("TexCoord4fv %g %g %g %g", double(v[0]), double(v[1]), double(v[2]), double(v[3])); };
        f.MultiTexCoord2f = [](GLenum unit, GLfloat s, GLfloat t) { Add("MultiTexCoord2f %#x %g %g", unsigned(unit), double(s), double(t)); };
        f.MultiTexCoord2fv = [](GLenum unit, const GLfloat* v) { Add("MultiTexCoord2fv %#x %g %g", unsigned(unit), double(v[0]), double(v[1])); };
        f.MultiTexCoord3f = [](GLenum unit, GLfloat s, GLfloat t, GLfloat r) { Add("MultiTexCoord3f %#x %g %g %g", unsigned(unit), double(s), double(t), double(r)); };
        f.MultiTexCoord3fv = [](GLenum unit, const GLfloat* v) { Add("MultiTexCoord3fv %#x %g %g %g", unsigned(unit), double(v[0]), double(v[1]), double(v[2])); };
        f.MultiTexCoord4f = [](GLenum unit, GLfloat s, GLfloat t, GLfloat r, GLfloat q) { Add("MultiTexCoord4f %#x %g %g %g %g", unsigned(unit), double(s), double(t), double(r), double(q)); };
        f.MultiTexCoord4fv = [](GLenum unit, const GLfloat* v) { Add("MultiTexCoord4fv %#x %g %g %g %g", unsigned(unit), double(v[0]), double(v[1]), double(v[2]), double(v[3])); };
        f.RasterPos2f = [](GLfloat x, GLfloat y) { Add("RasterPos2f %g %g", double(x), double(y)); };
        f.DrawPixels = [](GLsizei width, GLsizei height, GLenum format, GLenum type, const void*) { Add("DrawPixels %d %d %#x %#x", int(width), int(height), unsigned(format), unsigned(type)); };
        f.ReadPixels = [](GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void*) { Add("ReadPixels %d %d %d %d %#x %#x", int(x), int(y), int(width), int(height), unsigned(format), unsigned(type)); };
        f.PointSize = [](GLfloat size) { Add("PointSize %g", double(size)); };
        f.LineWidth = [](GLfloat width) { Add("LineWidth %g", double(width)); };
        f.LineStipple = [](GLint factor, GLushort pattern) { Add("LineStipple %d %#x", int(factor), unsigned(pattern)); };
        f.Flush = []() { Add("Flush"); };
        f.Finish = []() { Add("Finish"); };
        // Client arrays
        f.EnableClientState = [](GLenum array) { Add("EnableClientState %#x", unsigned(array)); };
        f.DisableClientState = [](GLenum array) { Add("DisableClientState %#x", unsigned(array)); };
        f.VertexPointer = [](GLint size, GLenum type, GLsizei stride, const void*) { Add("VertexPointer %d %#x %d", int(size), unsigned(type), int(stride)); };
        f.ColorPointer = [](GLint size, GLenum type, GLsizei stride, const void*) { Add("ColorPointer %d %#x %d", int(size), unsigned(type), int(stride)); };
        f.NormalPointer = [](GLenum type, GLsizei stride, const void*) { Add("NormalPointer %#x %d", unsigned(type), int(stride)); };
        f.TexCoordPointer = [](GLint size, GLenum type, GLsizei stride, const void*) { Add("TexCoordPointer %d %#x %d", int(size), unsigned(type), int(stride)); };
        f.DrawArrays = [](GLenum mode, GLint first, GLsizei count) { Add("DrawArrays %#x %d %d", unsigned(mode), int(first), int(count)); };
        f.DrawElements = [](GLenum mode, GLsizei count, GLenum type, const void*) { Add("DrawElements %#x %d %#x", unsigned(mode), int(count), unsigned(type)); };
        // Matrices
        f.PushMatrix = []() { Add("PushMatrix"); };
        f.PopMatrix = []() { Add("PopMatrix"); };
        f.MultMatrixf = [](const GLfloat* m) { Add("MultMatrixf %g %g %g", double(m[12]), double(m[13]), double(m[14])); };
        f.LoadTransposeMatrixf = [](const GLfloat* m) { Add("LoadTransposeMatrixf %g %g %g", double(m[12]), double(m[13]), double(m[14])); };
        f.Translatef = [](GLfloat x, GLfloat y, GLfloat z) { Add("Translatef %g %g %g", double(x), double(y), double(z)); };
        f.Scalef = [](GLfloat x, GLfloat y, GLfloat z) { Add("Scalef %g %g %g", double(x), double(y), double(z)); };
        f.Rotatef = [](GLfloat angle, GLfloat x, GLfloat y, GLfloat z) { Add("Rotatef %g %g %g %g", double(angle), double(x), double(y), double(z)); };
        f.Frustum = [](GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar) { Add("Frustum %g %g %g %g %g %g", double(left), double(right), double(bottom), double(top), double(zNear), double(zFar)); };
        f.Ortho = [](GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar) { Add("Ortho %g %g %g %g %g %g", double(left), double(right), double(bottom), double(top), double(zNear), double(zFar)); };
        // Queries
        f.GetFloatv = [](GLenum name, GLfloat* values) { Add("GetFloatv %#x", unsigned(name)); Answer<GLfloat>(name, values); };
        f.GetIntegerv = [](GLenum name, GLint* values) { Add("GetIntegerv %#x", unsigned(name)); Answer<GLint>(name, values); };
        f.GetDoublev = [](GLenum name, GLdouble* values) { Add("GetDoublev %#x", unsigned(name)); Answer<GLdouble>(name, values); };
        f.IsEnabled = [](GLenum capability) { Add("IsEnabled %#x", unsigned(capability)); return GLboolean(GL_FALSE); };
        f.GetTexLevelParameteriv = [](GLenum target, GLint level, GLenum name, GLint* values) { Add("GetTexLevelParameteriv %#x %d %#x", unsigned(target), int(level), unsigned(name)); *values = -1; };
        // Display lists
        f.NewList = [](GLuint list, GLenum mode) { Add("NewList %u %#x", list, unsigned(mode)); };
        f.EndList = []() { Add("EndList"); };
        f.CallList = [](GLuint list) { Add("CallList %u", list); };
        // Lights and material
        f.Lightfv = [](GLenum light, GLenum name, const GLfloat* v) { Add("Lightfv %#x %#x %g %g %g %g", unsigned(light), unsigned(name), double(v[0]), double(v[1]), double(v[2]), double(v[3])); };
        f.GetLightfv = [](GLenum light, GLenum name, GLfloat* values) { Add("GetLightfv %#x %#x", unsigned(light), unsigned(name)); Answer<GLfloat>(name, values); };
        f.Lightf = [](GLenum light, GLenum name, GLfloat value) { Add("Lightf %#x %#x %g", unsigned(light), unsigned(name), double(value)); };
        f.LightModelfv = [](GLenum name, const GLfloat* v) { Add("LightModelfv %#x %g %g %g %g", unsigned(name), double(v[0]), double(v[1]), double(v[2]), double(v[3])); };
        f.LightModeli = [](GLenum name, GLint value) { Add("LightModeli %#x %d", unsigned(name), int(value)); };
        f.Materialf = [](GLenum face, GLenum name, GLfloat value) { Add("Materialf %#x %#x %g", unsigned(face), unsigned(name), double(value)); };
        f.ColorMaterial = [](GLenum face, GLenum mode) { Add("ColorMaterial %#x %#x", unsigned(face), unsigned(mode)); };
        f.ShadeModel = [](GLenum mode) { Add("ShadeModel %#x", unsigned(mode)); };
        // Fog
        f.Fogi = [](GLenum name, GLint value) { Add("Fogi %#x %d", unsigned(name), int(value)); };
        f.Fogf = [](GLenum name, GLfloat value) { Add("Fogf %#x %g", unsigned(name), double(value)); };
        f.Fogfv = [](GLenum name, const GLfloat* v) { Add("Fogfv %#x %g %g %g %g", unsigned(name), double(v[0]), double(v[1]), double(v[2]), double(v[3])); };
        // Fragments and buffers
        f.BlendFunc = [](GLenum source, GLenum destination) { Add("BlendFunc %#x %#x", unsigned(source), unsigned(destination)); };
        f.AlphaFunc = [](GLenum function, GLclampf reference) { Add("AlphaFunc %#x %g", unsigned(function), double(reference)); };
        f.DepthFunc = [](GLenum function) { Add("DepthFunc %#x", unsigned(function)); };
        f.DepthMask = [](GLboolean flag) { Add("DepthMask %d", int(flag)); };
        f.ColorMask = [](GLboolean red, GLboolean green, GLboolean blue, GLboolean alpha) { Add("ColorMask %d %d %d %d", int(red), int(green), int(blue), int(alpha)); };
        f.CullFace = [](GLenum mode) { Add("CullFace %#x", unsigned(mode)); };
        f.PushAttrib = [](GLbitfield mask) { Add("PushAttrib %#x", unsigned(mask)); };
        f.PopAttrib = []() { Add("PopAttrib"); };
        // Textures
        f.TexEnvi = [](GLenum target, GLenum name, GLint value) { Add("TexEnvi %#x %#x %d", unsigned(target), unsigned(name), int(value)); };
        f.TexEnvfv = [](GLenum target, GLenum name, const GLfloat* v) { Add("TexEnvfv %#x %#x %g %g %g %g", unsigned(target), unsigned(name), double(v[0]), double(v[1]), double(v[2]), double(v[3])); };
        f.TexGeni = [](GLenum coordinate, GLenum name, GLint value) { Add("TexGeni %#x %#x %d", unsigned(coordinate), unsigned(name), int(value)); };
        f.TexGenfv = [](GLenum coordinate, GLenum name, const GLfloat* v) { Add("TexGenfv %#x %#x %g %g %g %g", unsigned(coordinate), unsigned(name), double(v[0]), double(v[1]), double(v[2]), double(v[3])); };
        f.TexGenf = [](GLenum coordinate, GLenum name, GLfloat value) { Add("TexGenf %#x %#x %g", unsigned(coordinate), unsigned(name), double(value)); };
        f.TexGeniv = [](GLenum coordinate, GLenum name, const GLint* v) { Add("TexGeniv %#x %#x %d", unsigned(coordinate), unsigned(name), int(v[0])); };
        f.TexParameteri = [](GLenum target, GLenum name, GLint value) { Add("TexParameteri %#x %#x %d", unsigned(target), unsigned(name), int(value)); };
        f.TexParameterf = [](GLenum target, GLenum name, GLfloat value) { Add("TexParameterf %#x %#x %g", unsigned(target), unsigned(name), double(value)); };
        f.TexImage2D = [](GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border, GLenum format, GLenum type, const void*) { Add("TexImage2D %#x %d %d %d %d %d %#x %#x", unsigned(target), int(level), int(internalFormat), int(width), int(height), int(border), unsigned(format), unsigned(type)); };
        f.CopyTexSubImage2D = [](GLenum target, GLint level, GLint xOffset, GLint yOffset, GLint x, GLint y, GLsizei width, GLsizei height) { Add("CopyTexSubImage2D %#x %d %d %d %d %d %d %d", unsigned(target), int(level), int(xOffset), int(yOffset), int(x), int(y), int(width), int(height)); };
        f.PixelStorei = [](GLenum name, GLint value) { Add("PixelStorei %#x %d", unsigned(name), int(value)); };
        f.ActiveTexture = [](GLenum unit) { Add("ActiveTexture %#x", unsigned(unit)); };
        f.ClientActiveTexture = [](GLenum unit) { Add("ClientActiveTexture %#x", unsigned(unit)); };
        // Evaluators
        f.Map1f = [](GLenum target, GLfloat u1, GLfloat u2, GLint stride, GLint order, const GLfloat*) { Add("Map1f %#x %g %g %d %d", unsigned(target), double(u1), double(u2), int(stride), int(order)); };
        f.EvalCoord1f = [](GLfloat u) { Add("EvalCoord1f %g", double(u)); };
        // Selection
        f.SelectBuffer = [](GLsizei size, GLuint*) { Add("SelectBuffer %d", int(size)); };
        f.RenderMode = [](GLenum mode) { Add("RenderMode %#x", unsigned(mode)); return Instance()->SelectHits; };
        f.InitNames = []() { Add("InitNames"); };
        f.LoadName = [](GLuint name) { Add("LoadName %u", name); };
        f.PushName = [](GLuint name) { Add("PushName %u", name); };
        f.PopName = []() { Add("PopName"); };
        // GLU
        f.GluLookAt = [](GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY, GLdouble centreZ, GLdouble upX, GLdouble upY, GLdouble upZ) { Add("GluLookAt %g %g %g %g %g %g %g %g %g", double(eyeX), double(eyeY), double(eyeZ), double(centreX), double(centreY), double(centreZ), double(upX), double(upY), double(upZ)); };
        f.GluOrtho2D = [](GLdouble left, GLdouble right, GLdouble bottom, GLdouble top) { Add("GluOrtho2D %g %g %g %g", double(left), double(right), double(bottom), double(top)); };
        f.GluPickMatrix = [](GLdouble x, GLdouble y, GLdouble width, GLdouble height, GLint*) { Add("GluPickMatrix %g %g %g %g", double(x), double(y), double(width), double(height)); };
        f.GluBuild2DMipmaps = [](GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format, GLenum type, const void*) { Add("GluBuild2DMipmaps %#x %d %d %d %#x %#x", unsigned(target), int(internalFormat), int(width), int(height), unsigned(format), unsigned(type)); return GLint(0); };
        f.GluScaleImage = [](GLenum format, GLsizei widthIn, GLsizei heightIn, GLenum typeIn, const void*, GLsizei widthOut, GLsizei heightOut, GLenum typeOut, GLvoid*) { Add("GluScaleImage %#x %d %d %#x %d %d %#x", unsigned(format), int(widthIn), int(heightIn), unsigned(typeIn), int(widthOut), int(heightOut), unsigned(typeOut)); return GLint(0); };
        f.GluNewQuadric = []() { Add("GluNewQuadric"); return reinterpret_cast<GLUquadric*>(&Instance()->GluObject); };
        f.GluDeleteQuadric = [](GLUquadric*) { Add("GluDeleteQuadric"); };
        f.GluQuadricNormals = [](GLUquadric*, GLenum normals) { Add("GluQuadricNormals %#x", unsigned(normals)); };
        f.GluQuadricOrientation = [](GLUquadric*, GLenum orientation) { Add("GluQuadricOrientation %#x", unsigned(orientation)); };
        f.GluQuadricTexture = [](GLUquadric*, GLboolean texture) { Add("GluQuadricTexture %d", int(texture)); };
        f.GluQuadricDrawStyle = [](GLUquadric*, GLenum style) { Add("GluQuadricDrawStyle %#x", unsigned(style)); };
        f.GluCylinder = [](GLUquadric*, GLdouble base, GLdouble top, GLdouble height, GLint slices, GLint stacks) { Add("GluCylinder %g %g %g %d %d", double(base), double(top), double(height), int(slices), int(stacks)); };
        f.GluDisk = [](GLUquadric*, GLdouble inner, GLdouble outer, GLint slices, GLint loops) { Add("GluDisk %g %g %d %d", double(inner), double(outer), int(slices), int(loops)); };
        f.GluPartialDisk = [](GLUquadric*, GLdouble inner, GLdouble outer, GLint slices, GLint loops, GLdouble start, GLdouble sweep) { Add("GluPartialDisk %g %g %d %d %g %g", double(inner), double(outer), int(slices), int(loops), double(start), double(sweep)); };
        f.GluSphere = [](GLUquadric*, GLdouble radius, GLint slices, GLint stacks) { Add("GluSphere %g %d %d", double(radius), int(slices), int(stacks)); };
        f.GluNewTess = []() { Add("GluNewTess"); return reinterpret_cast<GLUtesselator*>(&Instance()->GluObject); };
        f.GluDeleteTess = [](GLUtesselator*) { Add("GluDeleteTess"); };
        f.GluTessCallback = [](GLUtesselator*, GLenum which, _GLUfuncptr) { Add("GluTessCallback %#x", unsigned(which)); };
        f.GluTessBeginPolygon = [](GLUtesselator*, GLvoid*) { Add("GluTessBeginPolygon"); };
        f.GluTessBeginContour = [](GLUtesselator*) { Add("GluTessBeginContour"); };
        f.GluTessVertex = [](GLUtesselator*, GLdouble* location, GLvoid*) { Add("GluTessVertex %g %g %g", double(location[0]), double(location[1]), double(location[2])); };
        f.GluTessEndContour = [](GLUtesselator*) { Add("GluTessEndContour"); };
        f.GluTessEndPolygon = [](GLUtesselator*) { Add("GluTessEndPolygon"); };
        f.GluTessNormal = [](GLUtesselator*, GLdouble x, GLdouble y, GLdouble z) { Add("GluTessNormal %g %g %g", double(x), double(y), double(z)); };
        f.GluTessProperty = [](GLUtesselator*, GLenum which, GLdouble value) { Add("GluTessProperty %#x %g", unsigned(which), double(value)); };
        f.GluNewNurbsRenderer = []() { Add("GluNewNurbsRenderer"); return reinterpret_cast<GLUnurbs*>(&Instance()->GluObject); };
        f.GluDeleteNurbsRenderer = [](GLUnurbs*) { Add("GluDeleteNurbsRenderer"); };
        f.GluNurbsProperty = [](GLUnurbs*, GLenum property, GLfloat value) { Add("GluNurbsProperty %#x %g", unsigned(property), double(value)); };
        f.GluBeginCurve = [](GLUnurbs*) { Add("GluBeginCurve"); };
        f.GluNurbsCurve = [](GLUnurbs*, GLint knotCount, GLfloat*, GLint stride, GLfloat*, GLint order, GLenum type) { Add("GluNurbsCurve %d %d %d %#x", int(knotCount), int(stride), int(order), unsigned(type)); };
        f.GluEndCurve = [](GLUnurbs*) { Add("GluEndCurve"); };
        return f;
    }

    std::vector<std::string> Calls;
    // What the GLU object constructors hand out: one address, never used.
    char GluObject = 0;
};
