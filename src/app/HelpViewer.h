#pragma once

// Help: the application's help file, the help manager that passes the
// program's help requests on, and the viewer registered with it, which
// shows the compiled HTML help through the platform's help function.

#include <memory>
#include <optional>

#include <QString>
#include <QStringList>

#include "platform/HtmlHelp.h"

// The application's help file; a name without a folder lies in the program
// folder's "hlp" folder.
extern QString ApplicationHelpFile;

// The help command of the application that asks for the contents.
inline constexpr int kHelpContents = 3;

// Shows the program's compiled HTML help file.
class TQueltHtmlHelpViewer {
public:
    // helpFunction: the platform's help function, empty when it is missing,
    // which makes every operation do nothing.
    explicit TQueltHtmlHelpViewer(THtmlHelpFunction helpFunction);

    static QString GetViewerName() { return QStringLiteral("QueltHtmlHelp"); }
    static QString DefaultTopicExtension() { return QStringLiteral(".html"); }

    // The help manager's current help file, else the application's, in the
    // program folder's "hlp" folder when it names no folder.
    QString HelpFile() const;
    // Only a ".chm" file (any case) is shown; for others every operation does
    // nothing and the Can... queries answer false.
    bool CanShowHelpFile() const;
    bool CanShowTableOfContents() const { return CanShowHelpFile(); }
    bool CanShowTopic() const { return CanShowHelpFile(); }
    bool CanShowContext() const { return CanShowHelpFile(); }

    // The topic of a keyword, with ".html" added unless it ends in ".htm" or ".html".
    void ShowHelp(const QString& keyword) const;
    void ShowContextHelp(int context) const;
    // The index at the text after the keyword's first ":".
    void ShowKeywordInIndex(const QString& keyword) const;
    void ShowTableOfContents() const;
    // Closes every help window.
    void ShutDown() const;

    // The one line "QueltHtmlHelp: <keyword>".
    QStringList GetHelpStrings(const QString& keyword) const;
    // Among lines offered by several viewers: the first whose text before
    // ":" is this viewer's name; 0 when none is.
    int SelectKeyword(const QStringList& lines) const;
    // The index of this viewer's name in the offered list (-1 when absent).
    int SelectTableOfContents(const QStringList& viewers) const;

private:
    void Call(const QString& file, int command, std::uintptr_t data) const;

    THtmlHelpFunction HelpFunction;
};

// The class library's tester of help keywords, installed beside the viewer.
class TQueltWinHelpTester {
public:
    QStringList GetHelpStrings(const QString& keyword) const { return {QStringLiteral(": ") + keyword}; }
};

// Passes the program's help requests to the registered viewer.
class THelpManager {
public:
    // The help file the manager is told to use; empty: the application's.
    QString CurrentHelpFile;

    void Register(std::unique_ptr<TQueltHtmlHelpViewer> viewer);
    // Shuts the viewer's windows and lets it go.
    void Release();
    const TQueltHtmlHelpViewer* Viewer() const { return ViewerValue.get(); }

    // F1 on a window with a help keyword.
    void HelpKeyword(const QString& keyword) const;
    void HelpContext(int context) const;
    // kHelpContents shows the table of contents; other commands are not used.
    void HelpCommand(int command, std::uintptr_t data) const;

private:
    std::unique_ptr<TQueltHtmlHelpViewer> ViewerValue;
    std::unique_ptr<TQueltWinHelpTester> Tester;
};

THelpManager& HelpManager();

// The help module's start and end: the viewer loads the help function and
// registers; at the end its windows close and it is released.
void InitializeHelpViewer();
void FinalizeHelpViewer();
