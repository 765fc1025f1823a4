#include <map>
#include <memory>
#include <string>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/Language.h"
#include "cad/base/Settings.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

namespace {

// A program folder of its own with a "language" subfolder; the language
// globals are cleared before and after.
class LanguageTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("language")));
        SetProgramFolder(folder_.path());
        LanguageFile.reset();
    }
    void TearDown() override
    {
        LanguageFile.reset();
        LanguageName.clear();
        SetProgramFolder(QString());
    }
    void WriteLanguage(const QString& fileName, const QByteArray& text)
    {
        QFile file(folder_.path() + QStringLiteral("/language/") + fileName);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QString Folder() const { return folder_.path(); }

private:
    QTemporaryDir folder_;
};

TEST(JoinLangLines, TurnsTheSeparatorIntoLineBreaks)
{
    const struct {
        const char* value;
        const char* text;
    } cases[] = {
        {"two words", "two words"},
        {"two*|*words", "two\r\nwords"},
        {"*|*rest", "\r\nrest"},            // a leading separator is one line break
        {"*|**|*rest", "\r\nrest"},         // so are two of them
        {"a*|**|*b", "a\r\n\r\nb"},        // after the first text every piece counts
        {"a*|*b*|*c", "a\r\nb\r\nc"},
        {"end*|*", "end\r\n"},
        {"*|*", "\r\n"},
        {"a*|b", "a*|b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JoinLangLines(c.value), QString::fromUtf8(c.text)) << c.value;
}

TEST_F(LanguageTest, OpensTheFileWhateverTheCaseOfItsName)
{
    WriteLanguage(QStringLiteral("Italiano.LNG"), "[String]\n450=Kestro IT\n");
    OpenLanguage("italiano");
    ASSERT_NE(LanguageFile, nullptr);
    EXPECT_EQ(LanguageFilePath, Folder() + QStringLiteral("/language/Italiano.LNG"));
    EXPECT_EQ(GetLangString(450), QStringLiteral("Kestro IT"));

    OpenLanguage("klingon");
    EXPECT_EQ(LanguageFile, nullptr);
    EXPECT_EQ(LanguageFilePath, Folder() + QStringLiteral("/language/klingon.lng"));
}

TEST_F(LanguageTest, ReadsOlderFilesInTheWindowsCodePage)
{
    WriteLanguage(QStringLiteral("cp1252.lng"), "[String]\n451=Chiudere \xe8 \x80 10\n");
    WriteLanguage(QStringLiteral("utf8.lng"), "[String]\n451=Chiudere \xc3\xa8 \xe2\x82\xac 10\n");
    for (const char* name : {"cp1252", "utf8"}) {
        OpenLanguage(name);
        ASSERT_NE(LanguageFile, nullptr) << name;
        EXPECT_EQ(GetLangString(451), QStringLiteral(u"Chiudere \u00e8 \u20ac 10")) << name;
    }
}

TEST_F(LanguageTest, LooksTextsUpByNumberAndControlName)
{
    WriteLanguage(QStringLiteral("test.lng"),
                  "[String]\n309=Layer:\n412=Page*|*text\nAutor=Mario Rossi\n"
                  "[frmMain]\nsbtRectangle.Hint=Rettangolo\nsbtPoly.Caption=Poly\n");
    OpenLanguage("test");
    ASSERT_NE(LanguageFile, nullptr);
    EXPECT_EQ(GetLangString(309), QStringLiteral("Layer:"));
    EXPECT_EQ(GetLangString(412), QStringLiteral("Page\r\ntext"));
    EXPECT_EQ(GetLangString(451), QString());  // a partial file gives nothing for the rest
    EXPECT_EQ(GetLangHint(QStringLiteral("sbtRectangle")), QStringLiteral("Rettangolo"));
    EXPECT_EQ(GetLangHint(QStringLiteral("sbtPoly")), QString());
    EXPECT_EQ(ReadLangValue("frmMain", "sbtpoly.caption"), QStringLiteral("Poly"));

    LanguageName = "italiano";
    EXPECT_EQ(TranslatorLine(), QStringLiteral("Italiano language translated by Mario Rossi"));
}

TEST_F(LanguageTest, WithoutAFileTheBuiltInEnglishTextsServe)
{
    OpenLanguage("missing");
    ASSERT_EQ(LanguageFile, nullptr);
    EXPECT_EQ(GetLangString(450), QStringLiteral("Kestro"));
    EXPECT_FALSE(GetLangString(451).isEmpty());
    // The windows keep their designed captions: there are no window texts built in.
    EXPECT_EQ(GetLangHint(QStringLiteral("sbtExit")), QString());
    LanguageName = "english";
    EXPECT_EQ(TranslatorLine(), QString());
}

TEST_F(LanguageTest, LoadMessagesFillsTheSlotsOfTheMap)
{
    QByteArray text = "[String]\n";
    for (int message = 400; message < 500; ++message)
        text += QByteArray::number(message) + "=m" + QByteArray::number(message) + "\n";
    WriteLanguage(QStringLiteral("all.lng"), text);
    OpenLanguage("all");
    ASSERT_NE(LanguageFile, nullptr);
    PageTexts[4] = QStringLiteral("stale");

    LoadMessages();

    const std::map<int, int> expected{
        {0, 412}, {1, 413}, {2, 414}, {3, 415}, {5, 416}, {7, 418}, {8, 419}, {11, 420},
        {12, 422}, {13, 423}, {15, 428}, {18, 429}, {22, 430}, {40, 421}, {41, 424},
        {42, 433}, {43, 425}, {46, 427}, {50, 470}, {51, 471}, {52, 472}, {53, 473},
        {54, 474}, {55, 475}, {56, 476}, {57, 482}, {59, 477}, {60, 478}, {61, 479},
        {62, 480}, {63, 483}, {64, 484}, {65, 485},
    };
    for (int slot = 0; slot < kPageTextCount; ++slot) {
        const auto found = expected.find(slot);
        const QString text = found == expected.end() ? QString() : QStringLiteral("m%1").arg(found->second);
        EXPECT_EQ(PageTexts[static_cast<std::size_t>(slot)], text) << "slot " << slot;
    }
}

TEST_F(LanguageTest, ListsTheLanguagesOfTheLanguageFolder)
{
    WriteLanguage(QStringLiteral("italiano.lng"), "");
    WriteLanguage(QStringLiteral("English.LNG"), "");
    WriteLanguage(QStringLiteral("readme.txt"), "");
    EXPECT_EQ(LanguageNames(), (QStringList{QStringLiteral("English"), QStringLiteral("italiano")}));
}

}  // namespace
