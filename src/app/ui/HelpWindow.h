#pragma once

// The program's own help window: the help pages shown in a text browser, so
// that help works on a machine with no desktop browser or launcher. It
// belongs to the main window and closes with it.

#include <QWidget>

#include "platform/HtmlHelp.h"

class QTextBrowser;

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* owner);

    // Shows the page (a file of the help folder) and brings the window up.
    void ShowPage(const QString& page);

    QTextBrowser* Browser = nullptr;
};

// While it lives, every help page opens in the window, not in the desktop's
// browser; the opener it replaced comes back after it.
class THelpWindowOpener {
public:
    explicit THelpWindowOpener(THelpWindow& window);
    ~THelpWindowOpener();
    THelpWindowOpener(const THelpWindowOpener&) = delete;
    THelpWindowOpener& operator=(const THelpWindowOpener&) = delete;

private:
    THelpPageOpener Previous;
};
