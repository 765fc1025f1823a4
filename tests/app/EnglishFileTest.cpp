#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "app/EnglishTexts.h"
#include "app/Language.h"
#include "app/LanguageMessages.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

namespace {

// The English file as the program finds it in the assembled program folder.
class EnglishFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(QStringLiteral(KESTRO_PROGRAM_DIR));
        file_ = OpenLanguageFile(QStringLiteral("language/english"));
        ASSERT_NE(file_, nullptr) << LanguageFilePath.toStdString();
    }
    void TearDown() override { SetProgramFolder(QString()); }

    std::unique_ptr<IniFile> file_;
};

TEST_F(EnglishFileTest, HoldsEveryMessageTheProgramAsksFor)
{
    for (const int message : kLanguageMessages)
        EXPECT_NE(file_->ReadString("String", std::to_string(message), ""), "") << "message " << message;
    for (const TPageTextSlot& slot : kPageTextSlots)
        EXPECT_NE(file_->ReadString("String", std::to_string(slot.message), ""), "") << "message " << slot.message;
    EXPECT_EQ(file_->ReadString("String", "450", ""), "Kestro");
}

TEST_F(EnglishFileTest, HoldsTheWindowTextsOthersLookUp)
{
    // The recently-used bar takes these hints for commands without a message of their own.
    for (const char* control : {"sbtRectangle", "sbtPoly", "sbtSpline", "lsbDelete", "sbtTTFConv"})
        EXPECT_NE(file_->ReadString("frmMain", std::string(control) + ".Hint", ""), "") << control;
    // The main window's caption is the program's version, which no language changes.
    for (const char* window : {"frmCoord", "frmAbout", "frmGrid", "frmTool", "frmZDepth", "frmLayer", "frmLayerAttr"})
        EXPECT_NE(file_->ReadString(window, std::string(window) + ".Caption", ""), "") << window;
}

TEST_F(EnglishFileTest, KeepsTheTextsTheProgramIsKnownBy)
{
    // Buttons, menu items and boxes that users and manuals name by these words.
    const struct {
        const char* section;
        const char* key;
        const char* text;
    } texts[] = {
        {"frmMain", "sbtExit.Hint", "Close application"},
        {"frmMain", "sbtSetting.Hint", "Settings"},
        {"frmMain", "sbtRedraw.Hint", "Redraw"},
        {"frmMain", "sbtCnc.Hint", "Create Nc program"},
        {"frmMain", "sbtCancel.Hint", "Stop operation"},
        {"frmMain", "sbtDone.Hint", "Accept operation"},
        {"frmMain", "sbtReset.Caption", "Reset def."},
        {"frmMain", "chkMRUvisible.Caption", "Enable MRU toolbar"},
        {"frmMain", "sbmSnap2Grid.Caption", "Grid"},
        {"frmMain", "mnuCoord.Caption", "Coordinate"},
    };
    for (const auto& t : texts)
        EXPECT_EQ(file_->ReadString(t.section, t.key, "(missing)"), t.text) << t.section << ' ' << t.key;
}

TEST_F(EnglishFileTest, TheBuiltInTextsAreTheFilesStringSection)
{
    QFile shipped(LanguageFilePath);
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    std::string text = shipped.readAll().toStdString();
    std::erase(text, '\r');
    const std::size_t start = text.find("\n[String]\n");
    ASSERT_NE(start, std::string::npos);
    std::string section = text.substr(start + 1, text.find("\n[", start + 1) - start);
    std::string builtIn(BuiltInEnglishStrings());
    for (std::string* s : {&section, &builtIn})
        while (s->ends_with('\n'))
            s->pop_back();
    EXPECT_EQ(section, builtIn);
}

}  // namespace

// Every language shipped beside the English one answers everything the
// English file answers, so that no text falls back to English or to nothing.
TEST(ShippedLanguages, EachHoldsEveryKeyOfTheEnglishFile)
{
    const QDir folder(QStringLiteral(KESTRO_PROGRAM_DIR "/language"));
    const QStringList files = folder.entryList({QStringLiteral("*.lng")}, QDir::Files);
    ASSERT_GE(files.size(), 2) << "English and one more";
    QFile englishFile(folder.filePath(QStringLiteral("english.lng")));
    ASSERT_TRUE(englishFile.open(QIODevice::ReadOnly));
    std::vector<std::pair<std::string, std::string>> keys;
    std::string section;
    for (const QByteArray& raw : englishFile.readAll().split('\n')) {
        const std::string line = raw.trimmed().toStdString();
        if (line.starts_with('['))
            section = line.substr(1, line.size() - 2);
        else if (!line.empty() && !line.starts_with(';') && line.find('=') != std::string::npos)
            keys.emplace_back(section, line.substr(0, line.find('=')));
    }
    ASSERT_GT(keys.size(), 300u);
    for (const QString& name : files) {
        const std::optional<IniFile> language = IniFile::FromFile(folder.filePath(name));
        ASSERT_TRUE(language.has_value()) << name.toStdString();
        for (const auto& [where, key] : keys)
            EXPECT_NE(language->ReadString(where, key, ""), "") << name.toStdString() << " [" << where << "] " << key;
        for (const int message : kLanguageMessages)
            EXPECT_NE(language->ReadString("String", std::to_string(message), ""), "") << name.toStdString() << message;
    }
}
