#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString& FolderOverride()
{
    static QString folder;
    return folder;
}

}  // namespace

QString ProgramFolder()
{
    const QString folder = FolderOverride().isEmpty() ? QCoreApplication::applicationDirPath() : FolderOverride();
    return QDir::cleanPath(folder);
}

void SetProgramFolder(const QString& folder)
{
    FolderOverride() = folder;
}
