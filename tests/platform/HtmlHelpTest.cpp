#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/HtmlHelp.h"

namespace {

// A help folder with the contents and one topic; pages open into a list.
class HtmlHelpPages : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(Folder.path()).mkdir(QStringLiteral("hlp")));
        for (const char* page : {"index.html", "1000.html"}) {
            QFile file(Hlp(QString::fromLatin1(page)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("<html></html>");
        }
        Previous = SetHelpPageOpener([this](const QString& page) { Opened << page; });
    }
    void TearDown() override { SetHelpPageOpener(Previous); }

    QString Hlp(const QString& name) const { return Folder.path() + QStringLiteral("/hlp/") + name; }

    QTemporaryDir Folder;
    QStringList Opened;
    THelpPageOpener Previous;
};

} // namespace

TEST_F(HtmlHelpPages, CommandsOpenTheirPageOfTheHelpFolder)
{
    const QString chm = Hlp(QStringLiteral("Kestro.chm"));
    const THtmlHelpFunction help = LoadHtmlHelp();
    const struct {
        QString file;
        int command;
        std::uintptr_t data;
        QString page;  // empty: nothing opens
    } cases[] = {
        {chm + QStringLiteral("::/1000.html"), HH_DISPLAY_TOPIC, 0, Hlp(QStringLiteral("1000.html"))},
        {chm + QStringLiteral("::/2000.html"), HH_DISPLAY_TOPIC, 0, Hlp(QStringLiteral("index.html"))},
        {chm + QStringLiteral("::/../index.html"), HH_DISPLAY_TOPIC, 0, Hlp(QStringLiteral("index.html"))},
        {chm, HH_DISPLAY_TOC, 0, Hlp(QStringLiteral("index.html"))},
        {chm, HH_DISPLAY_INDEX, 0, Hlp(QStringLiteral("index.html"))},
        {chm, HH_HELP_CONTEXT, 1000, Hlp(QStringLiteral("1000.html"))},
        {chm, HH_HELP_CONTEXT, 7, Hlp(QStringLiteral("index.html"))},
        {QString(), HH_CLOSE_ALL, 0, QString()},
        {chm, 20, 0, QString()},
        // Without the help folder help does nothing.
        {Folder.path() + QStringLiteral("/missing/Kestro.chm::/1000.html"), HH_DISPLAY_TOPIC, 0, QString()},
        {Folder.path() + QStringLiteral("/missing/Kestro.chm"), HH_DISPLAY_TOC, 0, QString()},
    };
    for (const auto& c : cases) {
        Opened.clear();
        help(c.file, c.command, c.data);
        EXPECT_EQ(Opened, c.page.isEmpty() ? QStringList() : QStringList{c.page})
            << c.file.toStdString() << " " << c.command;
    }

    // A folder without any page opens nothing either.
    ASSERT_TRUE(QFile::remove(Hlp(QStringLiteral("index.html"))));
    Opened.clear();
    help(chm, HH_DISPLAY_TOC, 0);
    EXPECT_TRUE(Opened.isEmpty());
}
