#include "platform/FileNoCase.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The entry of folder whose name equals component when case is ignored; empty when none.
QString FindEntryNoCase(const QString& folder, const QString& component)
{
    if (QFileInfo::exists(folder + QLatin1Char('/') + component))
        return component;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(component, Qt::CaseInsensitive) == 0)
            return entry;
    return {};
}

}  // namespace

QString FindPathNoCase(const QString& folder, const QString& name)
{
    const QStringList components = name.split(QRegularExpression(QStringLiteral("[/\\\\]")), Qt::SkipEmptyParts);
    if (components.isEmpty())
        return {};
    QString path = folder;
    for (const QString& component : components) {
        const QString entry = FindEntryNoCase(path, component);
        if (entry.isEmpty())
            return {};
        path += QLatin1Char('/') + entry;
    }
    return path;
}

QString FindFileNoCase(const QString& folder, const QString& name)
{
    const QString path = FindPathNoCase(folder, name);
    return !path.isEmpty() && QFileInfo(path).isFile() ? path : QString();
}
