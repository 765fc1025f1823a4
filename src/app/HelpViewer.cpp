#include "app/HelpViewer.h"

#include <QFileInfo>

#include "platform/ProgramFolder.h"

QString ApplicationHelpFile;

TQueltHtmlHelpViewer::TQueltHtmlHelpViewer(THtmlHelpFunction helpFunction)
    : HelpFunction(std::move(helpFunction))
{
}

QString TQueltHtmlHelpViewer::HelpFile() const
{
    QString file = HelpManager().CurrentHelpFile.isEmpty() ? ApplicationHelpFile : HelpManager().CurrentHelpFile;
    if (!file.isEmpty() && !file.contains(QLatin1Char('/')) && !file.contains(QLatin1Char('\\')))
        file = ProgramFolder() + QStringLiteral("/hlp/") + file;
    return file;
}

bool TQueltHtmlHelpViewer::CanShowHelpFile() const
{
    const QString file = HelpFile();
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && file.mid(dot).compare(QStringLiteral(".chm"), Qt::CaseInsensitive) == 0;
}

void TQueltHtmlHelpViewer::Call(const QString& file, int command, std::uintptr_t data) const
{
    if (HelpFunction)
        HelpFunction(file, command, data);
}

void TQueltHtmlHelpViewer::ShowHelp(const QString& keyword) const
{
    if (!CanShowHelpFile())
        return;
    QString topic = keyword;
    const qsizetype dot = topic.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : topic.mid(dot).toLower();
    if (extension != QStringLiteral(".htm") && extension != QStringLiteral(".html"))
        topic += DefaultTopicExtension();
    Call(HelpFile() + QStringLiteral("::/") + topic, HH_DISPLAY_TOPIC, 0);
}

void TQueltHtmlHelpViewer::ShowContextHelp(int context) const
{
    if (CanShowHelpFile())
        Call(HelpFile(), HH_HELP_CONTEXT, static_cast<std::uintptr_t>(context));
}

void TQueltHtmlHelpViewer::ShowKeywordInIndex(const QString& keyword) const
{
    if (!CanShowHelpFile())
        return;
    const qsizetype colon = keyword.indexOf(QLatin1Char(':'));
    const QByteArray entry = keyword.mid(colon + 1).trimmed().toLocal8Bit();
    Call(HelpFile(), HH_DISPLAY_INDEX, reinterpret_cast<std::uintptr_t>(entry.constData()));
}

void TQueltHtmlHelpViewer::ShowTableOfContents() const
{
    if (CanShowHelpFile())
        Call(HelpFile(), HH_DISPLAY_TOC, 0);
}

void TQueltHtmlHelpViewer::ShutDown() const
{
    // Closing all help windows names neither a window nor a file.
    if (CanShowHelpFile())
        Call(QString(), HH_CLOSE_ALL, 0);
}

QStringList TQueltHtmlHelpViewer::GetHelpStrings(const QString& keyword) const
{
    return {GetViewerName() + QStringLiteral(": ") + keyword};
}

int TQueltHtmlHelpViewer::SelectKeyword(const QStringList& lines) const
{
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].section(QLatin1Char(':'), 0, 0) == GetViewerName())
            return static_cast<int>(i);
    return 0;
}

int TQueltHtmlHelpViewer::SelectTableOfContents(const QStringList& viewers) const
{
    return static_cast<int>(viewers.indexOf(GetViewerName()));
}

void THelpManager::Register(std::unique_ptr<TQueltHtmlHelpViewer> viewer)
{
    ViewerValue = std::move(viewer);
    Tester = std::make_unique<TQueltWinHelpTester>();
}

void THelpManager::Release()
{
    if (ViewerValue)
        ViewerValue->ShutDown();
    ViewerValue.reset();
    Tester.reset();
}

void THelpManager::HelpKeyword(const QString& keyword) const
{
    if (ViewerValue && ViewerValue->CanShowTopic())
        ViewerValue->ShowHelp(keyword);
}

void THelpManager::HelpContext(int context) const
{
    if (ViewerValue && ViewerValue->CanShowContext())
        ViewerValue->ShowContextHelp(context);
}

void THelpManager::HelpCommand(int command, std::uintptr_t /*data*/) const
{
    if (command == kHelpContents && ViewerValue && ViewerValue->CanShowTableOfContents())
        ViewerValue->ShowTableOfContents();
}

THelpManager& HelpManager()
{
    static THelpManager manager;
    return manager;
}

void InitializeHelpViewer()
{
    HelpManager().Register(std::make_unique<TQueltHtmlHelpViewer>(LoadHtmlHelp()));
}

void FinalizeHelpViewer()
{
    HelpManager().Release();
}
