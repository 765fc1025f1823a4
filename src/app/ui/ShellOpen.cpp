#include "app/ui/ShellOpen.h"

#include <utility>

#include <QDesktopServices>
#include <QUrl>

namespace {

TShellOpener& Opener()
{
    static TShellOpener opener;
    return opener;
}

} // namespace

void ShellOpen(const QString& link)
{
    if (Opener())
        Opener()(link);
    else
        QDesktopServices::openUrl(QUrl(link, QUrl::TolerantMode));
}

TShellOpener SetShellOpener(TShellOpener opener)
{
    return std::exchange(Opener(), std::move(opener));
}
