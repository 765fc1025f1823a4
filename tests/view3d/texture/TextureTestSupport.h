#pragma once

// The recorder with a chosen set of driver extensions, and searches through
// the calls it logged.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <GL/glu.h>

#include "support/GLCallLog.h"
#include "view3d/opengl/GLCapabilities.h"

// Records calls as from a driver of OpenGL 1.2 with the extensions given;
// the process's capability table is read empty again afterwards.
class TTextureCallLog : public TGLCallLog {
public:
    explicit TTextureCallLog(const std::string& extensions = "")
    {
        Extensions() = extensions;
        Version() = "1.2";
        TGLFunctions functions = GL();
        functions.GetString = [](GLenum name) {
            const std::string& text = name == GL_EXTENSIONS ? Extensions() : name == GL_VERSION ? Version() : Empty();
            return reinterpret_cast<const GLubyte*>(text.c_str());
        };
        functions.GluGetString = [](GLenum) { return reinterpret_cast<const GLubyte*>(""); };
        SetGLFunctions(functions);
        ReadGLCapabilities();
        Take();
    }
    ~TTextureCallLog()
    {
        Extensions().clear();
        Version().clear();
        ReadGLCapabilities();
    }

private:
    static std::string& Extensions()
    {
        static std::string extensions;
        return extensions;
    }
    static std::string& Version()
    {
        static std::string version;
        return version;
    }
    static const std::string& Empty()
    {
        static const std::string empty;
        return empty;
    }
};

template <class... TValues>
std::string CallText(const char* format, TValues... values)
{
    char text[320];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

inline int CountCalls(const std::vector<std::string>& calls, const std::string& prefix)
{
    return int(std::count_if(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
}

inline bool HasCall(const std::vector<std::string>& calls, const std::string& call)
{
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}
