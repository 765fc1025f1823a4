#pragma once

// Whether this machine can draw the 3D view: the platform offers OpenGL in
// windows, and a context can be made. Asked once; needs the QGuiApplication.
bool OpenGLAvailable();
