#include <cstdint>
#include <optional>
#include <string>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "CommaLocale.h"
#include "platform/IniFile.h"

namespace {

const char* const kSample =
    "; settings written by hand\r\n"
    "  [ Color ]  \r\n"
    "Form = -16777211\r\n"
    "\tBackGround=0x808080\t\r\n"
    ";Grid=255\r\n"
    "[DEFAULT]\r\n"
    "unit=1\r\n"
    "Template = G0 X[X] ; rapid\r\n"
    "Language=italian\r\n"
    "LANGUAGE=english\r\n"
    "Empty=\r\n"
    "a line without equals sign\r\n"
    "[Default]\r\n"
    "Extra=5\r\n";

TEST(IniFile, FindsSectionsAndKeysAsTheProfileRoutinesDo)
{
    const IniFile file = IniFile::FromText(kSample);
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"Color", "Form", "-16777211"},           // blanks around '=' and the header trimmed
        {"color", "FORM", "-16777211"},           // names match without case
        {"Color", "BackGround", "0x808080"},      // tabs trimmed
        {"Color", "Grid", std::nullopt},          // a comment line is no key
        {"Default", "Unit", "1"},                 // no '\r' left from CR LF
        {"Default", "Template", "G0 X[X] ; rapid"},  // a later ';' belongs to the value
        {"Default", "Language", "italian"},       // the first of a repeated key counts
        {"Default", "Empty", ""},
        {"Default", "a line without equals sign", std::nullopt},
        {"Default", "Extra", std::nullopt},       // a repeated section is not searched
        {"Missing", "Form", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(file.Find(c.section, c.key), c.value) << c.section << "/" << c.key;

    EXPECT_EQ(file.ReadString("Default", "Empty", "x"), "");
    EXPECT_EQ(file.ReadString("Default", "Missing", "x"), "x");
    EXPECT_EQ(file.ReadInteger("Color", "BackGround", 0), 0x808080);
}

TEST(IniFile, ReadsNumbersWithoutTheLocale)
{
    CommaLocale comma;
    ASSERT_TRUE(CommaLocale::Active()) << "the de_DE.UTF-8 locale is missing (tools/install-deps.sh)";

    const struct {
        const char* text;
        std::optional<std::int32_t> value;
    } integers[] = {
        {"42", 42}, {"-16777211", -16777211}, {"+7", 7}, {"007", 7},
        {"0x808080", 0x808080}, {"0X1f", 31}, {"$FF", 255}, {"0xFF000005", -16777211},
        {"0x", std::nullopt}, {"0x123456789", std::nullopt}, {"2147483648", std::nullopt},
        {"12abc", std::nullopt}, {"1.5", std::nullopt}, {"", std::nullopt}, {"+-1", std::nullopt},
        {"1e3", std::nullopt}, {"-", std::nullopt},
    };
    for (const auto& c : integers)
        EXPECT_EQ(ParseIniInteger(c.text), c.value) << '"' << c.text << '"';

    const struct {
        const char* text;
        std::optional<double> value;
    } reals[] = {
        {"0.002", 0.002}, {"5E-6", 0.000005}, {"1e3", 1000.0}, {"-2.5", -2.5}, {".5", 0.5},
        {"5.", 5.0}, {"+1.5", 1.5}, {"10", 10.0},
        {"1,5", std::nullopt}, {".", std::nullopt}, {"nan", std::nullopt}, {"inf", std::nullopt},
        {"-inf", std::nullopt}, {"1e400", std::nullopt}, {"abc", std::nullopt}, {"", std::nullopt},
        {"0x10", std::nullopt}, {"+-1", std::nullopt}, {"1.5.2", std::nullopt},
    };
    for (const auto& c : reals)
        EXPECT_EQ(ParseIniFloat(c.text), c.value) << '"' << c.text << '"';
}

TEST(IniFile, MalformedNumbersAndBooleansGiveTheDefault)
{
    const IniFile file = IniFile::FromText(
        "[S]\nInt=ten\nReal=0,5\nOne=1\nZero=0\nMinus=-1\nTwo=2\nWord=true\nHexZero=0x0\nBlank=\n");
    EXPECT_EQ(file.ReadInteger("S", "Int", 9), 9);
    EXPECT_EQ(file.ReadFloat("S", "Real", 0.25), 0.25);
    EXPECT_EQ(file.ReadFloat("S", "Missing", 0.25), 0.25);

    const struct {
        const char* key;
        bool def;
        bool value;
    } booleans[] = {
        {"One", false, true}, {"Zero", true, false}, {"Minus", false, true}, {"Two", false, true},
        {"HexZero", true, false}, {"Word", false, false}, {"Word", true, true}, {"Blank", true, true},
        {"Missing", false, false},
    };
    for (const auto& c : booleans)
        EXPECT_EQ(file.ReadBool("S", c.key, c.def), c.value) << c.key << " default " << c.def;
}

TEST(IniFile, WritesRealsAsTheShortestPlainText)
{
    CommaLocale comma;
    ASSERT_TRUE(CommaLocale::Active());

    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.002, "0.002"}, {0.000005, "0.000005"}, {1.0, "1"}, {10.0, "10"}, {-2.5, "-2.5"},
        {0.1, "0.1"}, {1e-10, "0.0000000001"}, {123456.789, "123456.789"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatIniFloat(c.value), c.text);

    for (const double value : {0.1 + 0.2, 1.0 / 3.0, 1e-300, 12345.678901234567, -7e22}) {
        IniFile file;
        file.WriteFloat("S", "K", value);
        EXPECT_EQ(file.ReadFloat("S", "K", 0.0), value) << FormatIniFloat(value);
    }
}

TEST(IniFile, WritingKeepsOrderCommentsAndLineEnds)
{
    IniFile file = IniFile::FromText(
        "; top\r\n"
        "[Color]\r\n"
        "Form=1\r\n"
        "  Grid = 2 \r\n"
        "\r\n"
        "; about Default\r\n"
        "[Default]\r\n"
        "Pst=Fanuc_mm\r\n");
    file.WriteInteger("color", "GRID", 7);      // in place, under the name it has in the file
    file.WriteInteger("Color", "DefLayers", 3); // after the last key of its section
    file.WriteString("Default", "Unit", "0");
    file.WriteBool("New", "Flag", true);         // a new section at the end
    file.WriteString("New", "Path", "a\r\nb=c");  // a line break cannot start a key
    EXPECT_EQ(file.ToText(),
              "; top\r\n"
              "[Color]\r\n"
              "Form=1\r\n"
              "Grid=7\r\n"
              "DefLayers=3\r\n"
              "\r\n"
              "; about Default\r\n"
              "[Default]\r\n"
              "Pst=Fanuc_mm\r\n"
              "Unit=0\r\n"
              "[New]\r\n"
              "Flag=1\r\n"
              "Path=a  b=c\r\n");
    EXPECT_EQ(file.Find("New", "b"), std::nullopt);

    IniFile fresh;
    fresh.WriteString("A", "k", "v");
    EXPECT_EQ(fresh.ToText(), "[A]\nk=v\n");
}

TEST(IniFile, SavesInOneStepAndReportsFailure)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("kestro.ini"));

    IniFile file;
    file.WriteInteger("Default", "Unit", 1);
    file.SaveToFile(path);
    file.WriteInteger("Default", "Unit", 0);
    file.SaveToFile(path);  // replaces the existing file

    const std::optional<IniFile> read = IniFile::FromFile(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->ToText(), "[Default]\nUnit=0\n");
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("kestro.ini")});

    const QString missingFolder = folder.filePath(QStringLiteral("missing/kestro.ini"));
    try {
        file.SaveToFile(missingFolder);
        FAIL() << "saving into a missing folder succeeded";
    } catch (const EIniFileError& error) {
        EXPECT_NE(std::string(error.what()).find(missingFolder.toStdString()), std::string::npos) << error.what();
    }

    // A folder standing where the file should go is left alone.
    const QString blocked = folder.filePath(QStringLiteral("blocked.ini"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("blocked.ini")));
    EXPECT_THROW(file.SaveToFile(blocked), EIniFileError);
    EXPECT_TRUE(QFileInfo(blocked).isDir());

    EXPECT_FALSE(IniFile::FromFile(folder.filePath(QStringLiteral("none.ini"))).has_value());
}

TEST(IniFile, SkipsAByteOrderMark)
{
    const IniFile file = IniFile::FromText("\xEF\xBB\xBF[String]\n450=Kestro\n");
    EXPECT_EQ(file.Find("String", "450"), "Kestro");
}

TEST(IniFile, EveryLineBreakAndMarkReadsAsItIsWrittenBack)
{
    // CRs before a line's end, a CR alone inside a line, repeated marks: what
    // is read is what a write gives back, and a second round changes nothing.
    const struct {
        const char* Text;
        const char* Key;
        const char* Value;
    } cases[] = {
        {"[S]\nPst=Fanuc_mm\r\r\nX=1\n", "Pst", "Fanuc_mm"},
        {"[S]\r\nLanguage=\r=8421504\r\n", "Language", ""},
        {"[S]\rOld=mac\rX=1\r", "Old", "mac"},
        {"\xEF\xBB\xBF\xEF\xBB\xBF[S]\nUnit=1\n", "Unit", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        IniFile first = IniFile::FromText(c.Text);
        EXPECT_EQ(first.Find("S", c.Key), c.Value);
        first.WriteString("S", "Added", "yes");
        const std::string written = first.ToText();
        IniFile again = IniFile::FromText(written);
        EXPECT_EQ(again.Find("S", c.Key), c.Value);
        again.WriteString("S", "Added", "yes");
        EXPECT_EQ(again.ToText(), written);
    }
    EXPECT_TRUE(IniFile::FromText("\xEF\xBB\xBF\xEF\xBB\xBF[S]\n").ToText().starts_with("\xEF\xBB\xBF[S]"))
        << "one mark is written back";
}

}  // namespace
