#include <cstring>
#include <vector>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QTest>
#include <gtest/gtest.h>

#include "ProgramTestFolder.h"
#include "WidgetInput.h"
#include "app/HelpViewer.h"
#include "app/ui/ShellOpen.h"
#include "app/ui/frmAbout.h"
#include "platform/HtmlHelp.h"

namespace {

struct THelpCall {
    QString File;
    int Command;
    QString Text;  // the index keyword, or the number of a context
    bool operator==(const THelpCall&) const = default;
};

// Records the calls of the platform's help function.
class HelpTopics : public testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(QStringLiteral("/opt/kestro"));
        SavedHelpFile = ApplicationHelpFile;
        ApplicationHelpFile = QStringLiteral("Kestro.chm");
    }
    void TearDown() override
    {
        HelpManager().CurrentHelpFile.clear();
        ApplicationHelpFile = SavedHelpFile;
        SetProgramFolder(QString());
    }

    TQueltHtmlHelpViewer Viewer()
    {
        return TQueltHtmlHelpViewer([this](const QString& file, int command, std::uintptr_t data) {
            const QString text = command == HH_DISPLAY_INDEX ? QString::fromLocal8Bit(reinterpret_cast<const char*>(data))
                                 : command == HH_HELP_CONTEXT ? QString::number(data)
                                                              : QString();
            Calls.push_back({file, command, text});
        });
    }

    std::vector<THelpCall> Calls;
    QString SavedHelpFile;
};

const QString kChm = QStringLiteral("/opt/kestro/hlp/Kestro.chm");

} // namespace

TEST_F(HelpTopics, KeywordsContextsAndContentsBecomeCommandsOnTheHelpFile)
{
    const TQueltHtmlHelpViewer viewer = Viewer();
    EXPECT_EQ(viewer.HelpFile(), kChm) << "a file without a folder lies in the program's hlp folder";
    viewer.ShowHelp(QStringLiteral("1000"));
    viewer.ShowHelp(QStringLiteral("intro.htm"));
    viewer.ShowHelp(QStringLiteral("Tools.HTML"));
    viewer.ShowHelp(QStringLiteral("v1.2"));
    viewer.ShowContextHelp(1000);
    viewer.ShowKeywordInIndex(QStringLiteral("QueltHtmlHelp:  grid step "));
    viewer.ShowTableOfContents();
    viewer.ShutDown();
    const std::vector<THelpCall> expected{
        {kChm + QStringLiteral("::/1000.html"), HH_DISPLAY_TOPIC, {}},
        {kChm + QStringLiteral("::/intro.htm"), HH_DISPLAY_TOPIC, {}},
        {kChm + QStringLiteral("::/Tools.HTML"), HH_DISPLAY_TOPIC, {}},
        {kChm + QStringLiteral("::/v1.2.html"), HH_DISPLAY_TOPIC, {}},
        {kChm, HH_HELP_CONTEXT, QStringLiteral("1000")},
        {kChm, HH_DISPLAY_INDEX, QStringLiteral("grid step")},
        {kChm, HH_DISPLAY_TOC, {}},
        {QString(), HH_CLOSE_ALL, {}},
    };
    EXPECT_EQ(Calls, expected);

    // The manager's own help file wins; it keeps its folder.
    HelpManager().CurrentHelpFile = QStringLiteral("/srv/manual/Other.CHM");
    EXPECT_EQ(viewer.HelpFile(), QStringLiteral("/srv/manual/Other.CHM"));
    EXPECT_TRUE(viewer.CanShowTableOfContents()) << "the extension in any case";

    // Any other kind of help file: nothing is shown and nothing can be.
    Calls.clear();
    HelpManager().CurrentHelpFile = QStringLiteral("/srv/manual/Kestro.hlp");
    viewer.ShowHelp(QStringLiteral("1000"));
    viewer.ShowContextHelp(5);
    viewer.ShowTableOfContents();
    viewer.ShutDown();
    EXPECT_TRUE(Calls.empty());
    EXPECT_FALSE(viewer.CanShowTableOfContents() || viewer.CanShowTopic() || viewer.CanShowContext());

    // Without the help function nothing happens at all.
    HelpManager().CurrentHelpFile.clear();
    const TQueltHtmlHelpViewer missing{THtmlHelpFunction()};
    missing.ShowHelp(QStringLiteral("1000"));
    missing.ShowTableOfContents();
}

TEST_F(HelpTopics, ViewersNameTheirLinesAndPickTheirOwn)
{
    const TQueltHtmlHelpViewer viewer = Viewer();
    EXPECT_EQ(viewer.GetHelpStrings(QStringLiteral("1000")), QStringList{QStringLiteral("QueltHtmlHelp: 1000")});
    EXPECT_EQ(TQueltWinHelpTester().GetHelpStrings(QStringLiteral("1000")), QStringList{QStringLiteral(": 1000")});
    EXPECT_EQ(viewer.SelectKeyword({QStringLiteral("WinHelp: 1000"), QStringLiteral("QueltHtmlHelp: 1000")}), 1);
    EXPECT_EQ(viewer.SelectKeyword({QStringLiteral("WinHelp: 1000"), QStringLiteral(": 1000")}), 0);
    EXPECT_EQ(viewer.SelectTableOfContents({QStringLiteral("WinHelp"), QStringLiteral("QueltHtmlHelp")}), 1);
}

using HelpInTheProgram = ProgramTestFolder;

// The program's help menu, F1 and the About window, with the help pages as
// built: the pages open in the program's own window, whatever the desktop has.
TEST_F(HelpInTheProgram, F1AndTheHelpMenuShowTheShippedPagesInTheProgramsWindow)
{
    ASSERT_TRUE(QDir(Path(QString())).mkdir(QStringLiteral("hlp")));
    const QDir built(QStringLiteral(KESTRO_PROGRAM_DIR "/hlp"));
    const QStringList pages = built.entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_TRUE(pages.contains(QStringLiteral("index.html")) && pages.contains(QStringLiteral("1000.html")));
    for (const QString& page : pages)
        ASSERT_TRUE(QFile::copy(built.filePath(page), Path(QStringLiteral("hlp/") + page)));
    QStringList links;
    SetShellOpener([&links](const QString& link) { links << link; });

    const QString savedHelpFile = ApplicationHelpFile;
    TfrmMain& frm = Start();
    ConfigureApplication();
    auto* browser = frm.findChild<QTextBrowser*>(QStringLiteral("txtHelpPage"));
    ASSERT_NE(browser, nullptr) << "the program's own help window";
    QWidget& help = *browser->window();
    ASSERT_NE(&help, &frm);
    const auto shownPage = [browser] { return browser->source().toLocalFile(); };
    frm.show();
    frm.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frm));
    EXPECT_FALSE(help.isVisible());
    QTest::keyClick(&frm, Qt::Key_F1);
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(shownPage(), Path(QStringLiteral("hlp/1000.html")));
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("main window")));
    help.close();
    frm.mnuHelp->trigger();
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(shownPage(), Path(QStringLiteral("hlp/index.html")));
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Kestro help")));
    frm.mnuWeb->trigger();
    EXPECT_EQ(links, QStringList{QStringLiteral("https://www.kestro.example")});
    EXPECT_EQ(CommandCode, kCommandNone);

    // Without the help folder help does nothing.
    help.close();
    ASSERT_TRUE(QDir(Path(QStringLiteral("hlp"))).removeRecursively());
    QTest::keyClick(&frm, Qt::Key_F1);
    frm.mnuHelp->trigger();
    EXPECT_FALSE(help.isVisible());

    // The About window: product and version, the credit of the language file.
    frm.mnuAbout1->trigger();
    ASSERT_NE(frmAbout, nullptr);
    EXPECT_TRUE(frmAbout->isVisible());
    EXPECT_FALSE(frmAbout->isModal());
    EXPECT_TRUE(frmAbout->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(frmAbout->nol_lblAboutInfo->text().startsWith(
        QStringLiteral("Kestro Version ") + TfrmMain::ReduceFv(7) + QLatin1Char('\n')));
    EXPECT_EQ(frmAbout->nol_lbltTranslation->text(), TranslatorLine());
    frmAbout->btnOk->click();
    EXPECT_FALSE(frmAbout->isVisible());

    SetShellOpener(TShellOpener());
    ApplicationHelpFile = savedHelpFile;
}
