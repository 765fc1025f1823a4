#pragma once

// The errors of the OpenGL layer, and the two helpers that read OpenGL's
// error flags.

#include <stdexcept>

// A misuse of a rendering context, or a failure of the platform's context
// (not "EGLContext": EGL, which Qt brings in, has a type of that name).
class EGLContextError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An error that OpenGL reported; the message is GLU's text for it.
class EOpenGLError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the error flags until none is left, at most seven times: a driver
// that never clears them cannot hang the caller.
void ClearGLErrors();
// Raises EOpenGLError for the first error flag set, after clearing the rest.
void CheckOpenGLError();
