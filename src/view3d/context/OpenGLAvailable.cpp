#include "view3d/context/OpenGLAvailable.h"

#include <QGuiApplication>
#include <QOpenGLContext>

bool OpenGLAvailable()
{
    static const bool available = [] {
        // These platforms draw windows without OpenGL; a GL widget on them draws nothing or crashes.
        const QString platform = QGuiApplication::platformName();
        if (platform == QStringLiteral("offscreen") || platform == QStringLiteral("minimal"))
            return false;
        QOpenGLContext probe;
        return probe.create();
    }();
    return available;
}
