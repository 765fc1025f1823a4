#pragma once

// Opens a link as the desktop opens it: a web address in the browser, a
// mail address in the mail program, a file in its program.

#include <functional>

#include <QString>

using TShellOpener = std::function<void(const QString& link)>;

void ShellOpen(const QString& link);

// Makes ShellOpen call opener instead, so that tests launch nothing; an empty
// opener brings back the desktop's. Returns the opener it replaced.
TShellOpener SetShellOpener(TShellOpener opener);
