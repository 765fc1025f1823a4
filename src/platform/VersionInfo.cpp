#include "platform/VersionInfo.h"

#ifndef KESTRO_FILE_VERSION
#error "KESTRO_FILE_VERSION must name the version of the build"
#endif

QString VersionInfoValue(const QString& name)
{
    if (name == QStringLiteral("ProductName"))
        return QStringLiteral("Kestro");
    if (name == QStringLiteral("FileVersion"))
        return QStringLiteral(KESTRO_FILE_VERSION);
    return {};
}
