#include "app/ui/HelpWindow.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

THelpWindow::THelpWindow(QWidget* owner)
    : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Kestro help"));
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("txtHelpPage"));
    // Links between the pages stay in the window; addresses on the web go to
    // the desktop, when it has a browser.
    Browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Browser);
    resize(640, 480);
}

void THelpWindow::ShowPage(const QString& page)
{
    Browser->setSource(QUrl::fromLocalFile(page));
    show();
    raise();
    activateWindow();
}

THelpWindowOpener::THelpWindowOpener(THelpWindow& window)
    : Previous(SetHelpPageOpener([&window](const QString& page) { window.ShowPage(page); }))
{
}

THelpWindowOpener::~THelpWindowOpener()
{
    SetHelpPageOpener(std::move(Previous));
}
