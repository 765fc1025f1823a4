#include <optional>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "../platform/CommaLocale.h"
#include "StartupGlobals.h"
#include "app/SettingsFile.h"
#include "app/UnitsMode.h"
#include "cad/base/Settings.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// Runs under a comma locale in a program folder of its own, and puts the
// settings globals back afterwards.
class SettingsFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CommaLocale::Active()) << "the de_DE.UTF-8 locale is missing (tools/install-deps.sh)";
        ASSERT_TRUE(folder_.isValid());
        SetProgramFolder(folder_.path());
        LoadedFileName.clear();
    }
    void TearDown() override
    {
        SetProgramFolder(QString());
        globals_.Restore();
    }
    QString Folder() const { return folder_.path(); }

private:
    CommaLocale comma_;
    const TStartupGlobals globals_;
    QTemporaryDir folder_;
};

TEST_F(SettingsFileTest, AFirstStartGetsTheDefaultsOfItsUnits)
{
    const struct {
        const char* file;
        std::int32_t units;
        const char* format;
        double chainTol;
        double systemTol;
        const char* rapid;
    } cases[] = {
        {"", 0, "%0.3f", 0.002, 0.0001, "10000"},
        {"[Default]\nUnit=1\n", 1, "%0.4f", 0.0001, 0.000005, "300"},
    };
    for (const auto& c : cases) {
        const TSettingsWindowValues values = ReadSettings(IniFile::FromText(c.file));
        EXPECT_EQ(UnitsMode, c.units);
        EXPECT_EQ(DisplayFormat, c.format);
        EXPECT_EQ(ChainTol, c.chainTol);
        EXPECT_EQ(SystemTol, c.systemTol);
        EXPECT_EQ(values.RapidFeedrate, c.rapid);
        EXPECT_EQ(CornerRound, 1.0);
        EXPECT_EQ(FormColor, -16777211);
        EXPECT_EQ(values.WindowColor, -16777211);
        EXPECT_EQ(values.BackgroundColor, 0x808080);
        // Drawn on the default background, the default layer colour must show.
        EXPECT_EQ(DefaultLayerColor, 0x00FF00);
        EXPECT_NE(DefaultLayerColor, values.BackgroundColor);
        EXPECT_EQ(values.GridColor, 0x800000);
        EXPECT_EQ(LayerContrastColor, 0xC0C0C0);
        EXPECT_TRUE(values.ShowGrid);
        EXPECT_TRUE(values.ShowAxes);
        EXPECT_EQ(values.GridDeltaX, 10.0);
        EXPECT_EQ(values.GridDeltaY, 10.0);
        EXPECT_EQ(values.SnapX, 10.0);
        EXPECT_EQ(values.SnapY, 10.0);
        EXPECT_EQ(LanguageName, "english");
        EXPECT_EQ(PostName, "Fanuc_mm");
        EXPECT_EQ(ToolIndex, 0);
        EXPECT_EQ(NcDir, (Folder() + QStringLiteral("/sample")).toStdString());
        EXPECT_EQ(OpenDialogFileName(values), Folder() + QStringLiteral("/sample/*.*"));
        EXPECT_TRUE(MruBarEnabled);
        EXPECT_TRUE(values.MruVisible);
        EXPECT_EQ(values.MruLeft, 500);
        EXPECT_EQ(values.MruTop, 400);
    }
    EXPECT_EQ(UnitsModeDefaults(1).ViewLeft, -0.4);
    EXPECT_EQ(UnitsModeDefaults(1).ViewTop, 11.5);
    EXPECT_EQ(UnitsModeDefaults(0).ViewBottom, -10.0);
    EXPECT_EQ(UnitsModeDefaults(0).ViewRight, 290.0);
}

TEST_F(SettingsFileTest, ReadsEveryKey)
{
    const TSettingsWindowValues values = ReadSettings(IniFile::FromText(
        "[Color]\nForm=16761024\nBackGround=12632256\nDefLayers=65280\nGrid=255\n"
        "[Default]\nUnit=1\nChainTol=0.0002\nSystemTol=5E-6\nRapidFeedrate=250\nCornerRound=2.5\n"
        "SGrid=0\nSAxis=0\nLanguage=italiano\nGridX=0.5\nGridY=0.25\nSnapX=0.1\nSnapY=0.2\n"
        "Pst=heidenhain\nTool=3\nFOpen=/home/u/a.dxf\nNcDir=/home/u/nc\nMRUenable=0\nMRUpx=12\nMRUpy=34\n"));
    EXPECT_EQ(FormColor, 0xFFC0C0);
    EXPECT_EQ(values.WindowColor, 0xFFC0C0);
    EXPECT_EQ(values.BackgroundColor, 0xC0C0C0);
    EXPECT_EQ(LayerContrastColor, 0xA4A0A0);
    EXPECT_EQ(DefaultLayerColor, 0x00FF00);
    EXPECT_EQ(values.GridColor, 0x0000FF);
    EXPECT_EQ(UnitsMode, 1);
    EXPECT_EQ(ChainTol, 0.0002);
    EXPECT_EQ(SystemTol, 0.000005);
    EXPECT_EQ(values.RapidFeedrate, "250");
    EXPECT_EQ(CornerRound, 2.5);
    EXPECT_FALSE(values.ShowGrid);
    EXPECT_FALSE(values.ShowAxes);
    EXPECT_EQ(LanguageName, "italiano");
    EXPECT_EQ(values.GridDeltaX, 0.5);
    EXPECT_EQ(values.GridDeltaY, 0.25);
    EXPECT_EQ(values.SnapX, 0.1);
    EXPECT_EQ(values.SnapY, 0.2);
    EXPECT_EQ(PostName, "heidenhain");
    EXPECT_EQ(ToolIndex, 3);
    EXPECT_EQ(OpenDialogFileName(values), QStringLiteral("/home/u/a.dxf"));
    EXPECT_EQ(NcDir, "/home/u/nc");
    EXPECT_FALSE(MruBarEnabled);
    EXPECT_FALSE(values.MruVisible);
    EXPECT_EQ(values.MruLeft, 12);
    EXPECT_EQ(values.MruTop, 34);
}

TEST_F(SettingsFileTest, MalformedNumbersFallBackToTheirDefaults)
{
    const TSettingsWindowValues values = ReadSettings(IniFile::FromText(
        "[Color]\nForm=red\nBackGround=\nGrid=0x80000\n"
        "[Default]\nUnit=7\nChainTol=0,5\nSystemTol=.\nCornerRound=1.0.0\nSGrid=yes\n"
        "GridX=ten\nSnapY=inf\nTool=2.5\nMRUpx=99999999999\n"));
    EXPECT_EQ(FormColor, -16777211);
    EXPECT_EQ(values.BackgroundColor, 0x808080);
    EXPECT_EQ(values.GridColor, 0x80000);  // well formed, though not the default
    EXPECT_EQ(UnitsMode, 0);               // only 0 and 1 exist
    EXPECT_EQ(DisplayFormat, "%0.3f");
    EXPECT_EQ(ChainTol, 0.002);
    EXPECT_EQ(SystemTol, 0.0001);
    EXPECT_EQ(CornerRound, 1.0);
    EXPECT_TRUE(values.ShowGrid);
    EXPECT_EQ(values.GridDeltaX, 10.0);
    EXPECT_EQ(values.SnapY, 10.0);
    EXPECT_EQ(ToolIndex, 0);
    EXPECT_EQ(values.MruLeft, 500);
}

TEST_F(SettingsFileTest, UnitsChangeSetsFormatAndTolerancesOnly)
{
    CornerRound = 3.0;
    ApplyUnitsMode(1);
    EXPECT_EQ(UnitsMode, 1);
    EXPECT_EQ(DisplayFormat, "%0.4f");
    EXPECT_EQ(ChainTol, 0.0001);
    EXPECT_EQ(SystemTol, 0.000005);
    ApplyUnitsMode(0);
    EXPECT_EQ(DisplayFormat, "%0.3f");
    EXPECT_EQ(ChainTol, 0.002);
    EXPECT_EQ(SystemTol, 0.0001);
    EXPECT_EQ(CornerRound, 3.0);
}

TEST_F(SettingsFileTest, WritesEveryKeyInItsOrder)
{
    TSettingsWindowValues values = ReadSettings(IniFile());
    ApplyUnitsMode(1);
    CornerRound = 1.0;
    LanguageName = "italiano";
    NcDir = "/home/u/nc";
    LoadedFileName = "/home/u/pic.bmp";
    values.GridDeltaX = 2.5;
    values.SnapY = 0.125;
    values.ShowAxes = false;
    values.RapidFeedrate = "300";

    const QString path = Folder() + QStringLiteral("/kestro.ini");
    ASSERT_EQ(WriteSettingsFile(path, values), std::nullopt);
    EXPECT_EQ(ReadAll(path),
              "[Color]\n"
              "Form=-16777211\n"
              "BackGround=8421504\n"
              "DefLayers=65280\n"
              "Grid=8388608\n"
              "[Default]\n"
              "Unit=1\n"
              "ChainTol=0.0001\n"
              "SystemTol=0.000005\n"
              "CornerRound=1\n"
              "SGrid=1\n"
              "SAxis=0\n"
              "GridX=2.5\n"
              "GridY=10\n"
              "SnapX=10\n"
              "SnapY=0.125\n"
              "FOpen=/home/u/pic.bmp\n"
              "NcDir=/home/u/nc\n"
              "Language=italiano\n"
              "MRUenable=1\n"
              "MRUpx=500\n"
              "MRUpy=400\n"
              "RapidFeedrate=300\n");

    // What was written reads back the same.
    const TSettingsWindowValues read = ReadSettingsFile(path);
    EXPECT_EQ(UnitsMode, 1);
    EXPECT_EQ(SystemTol, 0.000005);
    EXPECT_EQ(read.GridDeltaX, 2.5);
    EXPECT_EQ(read.SnapY, 0.125);
    EXPECT_FALSE(read.ShowAxes);
    EXPECT_EQ(read.OpenFileName, "/home/u/pic.bmp");
}

TEST_F(SettingsFileTest, KeepsPstToolAndWhatItDoesNotKnow)
{
    const QString path = Folder() + QStringLiteral("/kestro.ini");
    WriteAll(path,
             "; my settings\r\n"
             "[Default]\r\n"
             "Pst=Heidenhain\r\n"
             "Unit=0\r\n"
             "Tool=7\r\n"
             "FOpen=/home/u/old.dxf\r\n"
             "Window=maximised\r\n");
    const TSettingsWindowValues values = ReadSettingsFile(path);
    PostName = "fanuc_mm";
    ToolIndex = 2;

    ASSERT_EQ(WriteSettingsFile(path, values), std::nullopt);
    const QByteArray text = ReadAll(path);
    EXPECT_TRUE(text.startsWith("; my settings\r\n[Default]\r\nPst=Heidenhain\r\nUnit=0\r\nTool=7\r\n"
                                "FOpen=/home/u/old.dxf\r\nWindow=maximised\r\nChainTol=0.002\r\n"))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith("RapidFeedrate=10000\r\n[Color]\r\nForm=-16777211\r\nBackGround=8421504\r\n"
                              "DefLayers=65280\r\nGrid=8388608\r\n"))
        << text.toStdString();
}

TEST_F(SettingsFileTest, AFailedWriteGivesAMessageAndLeavesTheFile)
{
    const TSettingsWindowValues values = ReadSettings(IniFile());

    const QString missing = Folder() + QStringLiteral("/gone/kestro.ini");
    const std::optional<QString> message = WriteSettingsFile(missing, values);
    ASSERT_TRUE(message.has_value());
    EXPECT_TRUE(message->contains(missing)) << message->toStdString();

    // Something that cannot be read as a file is not replaced by a new one.
    const QString blocked = Folder() + QStringLiteral("/kestro.ini");
    ASSERT_TRUE(QDir(Folder()).mkdir(QStringLiteral("kestro.ini")));
    EXPECT_TRUE(WriteSettingsFile(blocked, values).has_value());
    EXPECT_TRUE(QFileInfo(blocked).isDir());
}

}  // namespace

TEST_F(SettingsFileTest, ReadingAndWritingBackAgreeWhateverTheLineEndsAndMarks)
{
    // Files from other editors and systems: a value ending in CRs, a file
    // ending in CRs, two byte-order marks. The first read takes their values,
    // and every save after it changes nothing.
    struct TCase {
        const char* File;
        std::int32_t Unit;
        const char* Pst;
    } cases[] = {
        {"pst-cr.ini", 0, "Fanuc_mm"},
        {"trailing-cr.min", 0, "Fanuc_mm"},
        {"double-bom.ini", 1, "Fanuc_mm"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.File);
        QFile source(QString::fromUtf8(KESTRO_TEST_DATA_DIR "/hostile/") + QString::fromUtf8(c.File));
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        const QString path = Folder() + QStringLiteral("/kestro.ini");
        WriteAll(path, source.readAll());
        std::vector<QByteArray> saved;
        for (int round = 0; round < 3; ++round) {
            const TSettingsWindowValues values = ReadSettingsFile(path);
            EXPECT_EQ(UnitsMode, c.Unit) << "round " << round;
            EXPECT_EQ(PostName, c.Pst) << "round " << round;
            EXPECT_EQ(ChainTol, UnitsModeDefaults(c.Unit).ChainTol) << "round " << round;
            ASSERT_EQ(WriteSettingsFile(path, values), std::nullopt);
            saved.push_back(ReadAll(path));
        }
        EXPECT_EQ(saved[1], saved[0]);
        EXPECT_EQ(saved[2], saved[0]);
        EXPECT_EQ(saved[0].count("[Default]"), 1) << saved[0].toStdString();
    }
}
