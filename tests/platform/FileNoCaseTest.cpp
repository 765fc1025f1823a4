#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/FileNoCase.h"
#include "platform/ProgramFolder.h"

namespace {

void Touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

TEST(FileNoCase, FindsFilesWhateverTheCaseOfTheirName)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString top = folder.path();
    ASSERT_TRUE(QDir(top).mkpath(QStringLiteral("Language")));
    ASSERT_TRUE(QDir(top).mkpath(QStringLiteral("pst")));
    Touch(top + QStringLiteral("/Language/English.LNG"));
    Touch(top + QStringLiteral("/pst/Fanuc_mm.pst"));
    Touch(top + QStringLiteral("/pst/fanuc_MM.pst"));

    const struct {
        const char* name;
        const char* found;  // relative to the folder; "" for none
    } cases[] = {
        {"language/english.lng", "/Language/English.LNG"},
        {"LANGUAGE\\english.lng", "/Language/English.LNG"},  // names written for Windows
        {"Language/English.LNG", "/Language/English.LNG"},
        {"pst/fanuc_MM.pst", "/pst/fanuc_MM.pst"},            // an exact match wins
        {"pst/Fanuc_mm.pst", "/pst/Fanuc_mm.pst"},
        {"pst/FANUC_MM.PST", "/pst/Fanuc_mm.pst"},            // else the first by name
        {"language/italian.lng", ""},
        {"missing/english.lng", ""},
        {"language", ""},                                    // a folder is no file
        {"", ""},
    };
    for (const auto& c : cases) {
        const QString expected = *c.found ? top + QString::fromUtf8(c.found) : QString();
        EXPECT_EQ(FindFileNoCase(top, QString::fromUtf8(c.name)), expected) << c.name;
    }
    EXPECT_EQ(FindPathNoCase(top, QStringLiteral("LANGUAGE")), top + QStringLiteral("/Language"));
}

TEST(ProgramFolder, IsTheExecutablesFolderUnlessATestSetsAnother)
{
    SetProgramFolder(QStringLiteral("/tmp/kestro-test/"));
    EXPECT_EQ(ProgramFolder(), QStringLiteral("/tmp/kestro-test"));
    SetProgramFolder(QString());
    EXPECT_EQ(ProgramFolder(), QDir::cleanPath(QCoreApplication::applicationDirPath()));
}

}  // namespace
