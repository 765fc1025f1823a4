#include "platform/HtmlHelp.h"

#include <utility>

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

THelpPageOpener& Opener()
{
    static THelpPageOpener opener;
    return opener;
}

void OpenPage(const QString& page)
{
    if (Opener())
        Opener()(page);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(page));
}

// The page, or the contents when it is missing; empty when neither exists.
QString ExistingPage(const QDir& folder, const QString& name)
{
    for (const QString& candidate : {name, QStringLiteral("index.html")}) {
        const QString page = folder.filePath(candidate);
        if (!candidate.isEmpty() && QFileInfo(page).isFile())
            return page;
    }
    return {};
}

} // namespace

void HtmlHelp(const QString& file, int command, std::uintptr_t data)
{
    if (command == HH_CLOSE_ALL)
        return;
    const qsizetype separator = file.indexOf(QStringLiteral("::/"));
    const QString helpFile = separator < 0 ? file : file.left(separator);
    const QDir folder = QFileInfo(helpFile).dir();
    if (helpFile.isEmpty() || !folder.exists())
        return;
    QString name;
    if (command == HH_DISPLAY_TOPIC && separator >= 0)
        name = file.mid(separator + 3);
    else if (command == HH_HELP_CONTEXT)
        name = QString::number(data) + QStringLiteral(".html");
    else if (command != HH_DISPLAY_TOC && command != HH_DISPLAY_INDEX)
        return;
    // Topics never leave the help folder.
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        name.clear();
    if (const QString page = ExistingPage(folder, name); !page.isEmpty())
        OpenPage(page);
}

THtmlHelpFunction LoadHtmlHelp()
{
    return HtmlHelp;
}

THelpPageOpener SetHelpPageOpener(THelpPageOpener opener)
{
    return std::exchange(Opener(), std::move(opener));
}
