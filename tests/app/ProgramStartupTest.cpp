#include <string>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QToolButton>

#include "ProgramTestFolder.h"
#include "app/HelpViewer.h"
#include "app/LanguageMessages.h"
#include "app/LibraryGlobals.h"
#include "app/ui/controls/MruBar.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/fonts/FontRegistry.h"
#include "cad/ui/CADViewport.h"
#include "platform/VersionInfo.h"

namespace {

class ProgramStartup : public ProgramTestFolder {
protected:
    void ExpectEnglishAfterSayingSo(const char* language);
};

// The "key=value" and "[Section]" lines of a settings file, in file order.
std::vector<std::string> SettingLines(const QByteArray& text)
{
    std::vector<std::string> lines;
    for (const QByteArray& line : text.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith(';'))
            lines.push_back(trimmed.toStdString());
    }
    return lines;
}

// The window exactly as the last close left it: the settings were written,
// the undelete stack and the language file are gone.
void ExpectClosedAndReleased(const TfrmMain& frm)
{
    EXPECT_FALSE(frm.isVisible());
    EXPECT_EQ(DeletedEntities, nullptr);
    EXPECT_EQ(LanguageFile, nullptr);
}

} // namespace

TEST_F(ProgramStartup, TakesItsSettingsLanguageLibraryAndFontFromTheProgramFolder)
{
    WriteSettings("[Color]\n"
                  "Form=65535\n"
                  "BackGround=12632256\n"
                  "DefLayers=255\n"
                  "Grid=32768\n"
                  "[Default]\n"
                  "Unit=1\n"
                  "ChainTol=0.0003\n"
                  "SystemTol=0.00001\n"
                  "CornerRound=2.5\n"
                  "SGrid=0\n"
                  "SAxis=1\n"
                  "Language=English\n"
                  "GridX=0.5\n"
                  "GridY=0.25\n"
                  "SnapX=0.1\n"
                  "SnapY=0.2\n"
                  "Pst=fanuc_MM\n"
                  "Tool=3\n"
                  "MRUenable=0\n"
                  "MRUpx=300\n"
                  "MRUpy=200\n"
                  "RapidFeedrate=250\n");
    TfrmMain& frm = Start();
    EXPECT_TRUE(Boxes.empty()) << Boxes.front().Text.toStdString();
    EXPECT_EQ(frmMain, &frm);

    const QString caption = QStringLiteral("Kestro v") + VersionInfoValue(QStringLiteral("FileVersion")).left(6);
    EXPECT_EQ(frm.windowTitle(), caption);
    EXPECT_EQ(BaseTitle, caption.toStdString());

    // Globals, and the controls that show them.
    EXPECT_EQ(UnitsMode, 1);
    EXPECT_EQ(DisplayFormat, "%0.4f");
    EXPECT_DOUBLE_EQ(ChainTol, 0.0003);
    EXPECT_DOUBLE_EQ(SystemTol, 0.00001);
    EXPECT_DOUBLE_EQ(CornerRound, 2.5);
    EXPECT_EQ(FormColor, 0x00FFFF);
    EXPECT_EQ(frm.WindowColor(), 0x00FFFF);
    EXPECT_EQ(DefaultLayerColor, 0x0000FF);
    EXPECT_EQ(frm.LocalCad().DefaultLayersColor(), 0x0000FF);
    EXPECT_EQ(LayerContrastColor, 0xA4A0A0) << "a light grey background at start";
    EXPECT_EQ(PostName, "fanuc_MM");
    EXPECT_EQ(ToolIndex, 3);
    EXPECT_EQ(frm.cboUnits->currentIndex(), 1);
    EXPECT_EQ(frm.txtChainTol->text(), QStringLiteral("0.00030"));
    EXPECT_EQ(frm.txtSystemTol->text(), QStringLiteral("0.000010"));
    EXPECT_EQ(frm.txtCornerRound->text(), QStringLiteral("2.5"));
    EXPECT_TRUE(frm.txtChainTol->isHidden());
    EXPECT_TRUE(frm.lblSystemTol->isHidden());
    EXPECT_FALSE(frm.txtCornerRound->isHidden());

    // The view and the engine.
    const TCADViewportCore& view = frm.VistaGrafica->Core();
    EXPECT_EQ(view.BackGroundColor(), 0xC0C0C0);
    EXPECT_EQ(view.GridColor(), 0x008000);
    EXPECT_FALSE(view.ShowGrid());
    EXPECT_FALSE(frm.sbtGridOnOff->isChecked());
    EXPECT_TRUE(view.ShowAssi());
    EXPECT_TRUE(frm.sbtAxisOnOff->isChecked());
    EXPECT_FLOAT_EQ(view.GridDeltaX(), 0.5f);
    EXPECT_FLOAT_EQ(view.GridDeltaY(), 0.25f);
    EXPECT_FLOAT_EQ(frm.LocalPrg().XSnap, 0.1f);
    EXPECT_FLOAT_EQ(frm.LocalPrg().YSnap, 0.2f);
    EXPECT_FALSE(frm.LocalPrg().UseSnap);
    EXPECT_FALSE(frm.LocalPrg().UseOrto);
    EXPECT_FLOAT_EQ(view.AspectRatio(), 1.0f);
    EXPECT_FLOAT_EQ(view.VisualRect().FirstEdge.X, -0.4f) << "the first view window in inches";
    EXPECT_FLOAT_EQ(view.VisualRect().SecondEdge.Y, 11.5f);

    EXPECT_TRUE(frm.pnlMRU->isHidden());
    EXPECT_FALSE(frm.chkMRUvisible->isChecked());
    EXPECT_EQ(frm.pnlMRU->pos(), QPoint(300, 200));
    EXPECT_FALSE(frm.PagesVisible());

    // The language file, named in another case than the file's.
    ASSERT_NE(LanguageFile, nullptr);
    EXPECT_TRUE(LanguageFilePath.endsWith(QStringLiteral("/language/english.lng"))) << LanguageFilePath.toStdString();
    EXPECT_EQ(frm.chkMRUvisible->text(), QStringLiteral("Enable MRU toolbar"));
    EXPECT_EQ(frm.lsbLine->toolTip(), QStringLiteral("Line by end points"));
    EXPECT_EQ(PageTexts[12], QString::fromStdString(*LanguageFile->Find("String", "422")));
    EXPECT_EQ(frm.sbtLayer->text(), GetLangString(kMsgCurrentLayer) + QStringLiteral(" 0"));

    // The block library and the vector font.
    EXPECT_GT(frm.LocalCad().SourceBlocksCount(), 0);
    EXPECT_NO_THROW(CADCoreFindFontByIndex(0));

    // The program's cursors are in place.
    SetScreenCursor(crPan);
    EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    SetScreenCursor(crDefault);

    EXPECT_EQ(TempDir, (QDir::tempPath() + QLatin1Char('/')).toStdString());
    ASSERT_NE(DeletedEntities, nullptr);
    EXPECT_TRUE(DeletedEntities->empty());
    EXPECT_EQ(CommandCode, kCommandNone);
    EXPECT_EQ(LogPath, Path(QStringLiteral("kestro_log.log")).toStdString());
}

// The leak checker and the network library only start and end; the help
// viewer registers, and the dialogs exist once the main window does.
TEST_F(ProgramStartup, ModulesStartAndEndAroundTheWindows)
{
    Start();
    EXPECT_FALSE(MemCheckActive);
    EXPECT_EQ(MemCheckLogFileName,
              (QCoreApplication::applicationDirPath() + QLatin1Char('/') + QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName()
               + QStringLiteral("_MemCheck.log")).toStdString());
    EXPECT_EQ(IdGlobalTempPath, (QDir::tempPath() + QLatin1Char('/')).toStdString());
    EXPECT_EQ(IdGlobalSubstringSearch, TIdSubstringSearch::Plain);
    EXPECT_NE(HelpManager().Viewer(), nullptr);
    FinalizeModules();
    EXPECT_TRUE(MemCheckLogFileName.empty());
    EXPECT_TRUE(IdGlobalTempPath.empty());
    EXPECT_EQ(HelpManager().Viewer(), nullptr);
}

TEST_F(ProgramStartup, HidesTheTutorialsOfTheHelpMenu)
{
    // Started as main() starts it, so that the modules end with the test.
    TfrmMain& frm = Start();
    EXPECT_TRUE(frm.mnuHelp->isVisible());
    EXPECT_FALSE(frm.mnuTutorials->menuAction()->isVisible());
    EXPECT_TRUE(frm.mnuAbout1->isVisible());
    EXPECT_TRUE(frm.mnuWeb->isVisible());
}

TEST_F(ProgramStartup, ClosingWithNoKeepsTheWindowAndTheFile)
{
    const QByteArray settings = "[Default]\nUnit=1\nCornerRound=2.5\n";
    WriteSettings(settings);
    TfrmMain& frm = Start();
    frm.show();
    frm.txtCornerRound->setText(QStringLiteral("4"));
    frm.txtCornerRoundChange();

    Answer = kIdNo;
    EXPECT_FALSE(frm.close());
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, GetLangString(kMsgConfirmClose));
    EXPECT_FALSE(Boxes[0].Text.isEmpty());
    EXPECT_EQ(Boxes[0].Caption, QStringLiteral("Kestro"));
    EXPECT_EQ(Boxes[0].Flags, 52) << "Yes and No with the warning icon";

    EXPECT_TRUE(frm.isVisible());
    EXPECT_EQ(ReadFile(QStringLiteral("kestro.ini")), settings);
    EXPECT_NE(LanguageFile, nullptr);
    EXPECT_NE(DeletedEntities, nullptr);
    EXPECT_DOUBLE_EQ(CornerRound, 4.0) << "the window keeps its state";
}

TEST_F(ProgramStartup, ClosingWithYesWritesTheSettingsBehindTheKeysTheFileHad)
{
    WriteSettings("; written by hand\n"
                  "[Default]\n"
                  "Tool=3\n"
                  "Unit=1\n"
                  "Pst=fanuc_MM\n"
                  "Language=English\n"
                  "Comment=kept\n");
    TfrmMain& frm = Start();
    frm.show();
    // Back to millimetres, a typed corner angle, the bar dragged elsewhere.
    frm.cboUnits->setCurrentIndex(0);
    frm.cboUnitsChange();
    frm.txtCornerRound->setText(QStringLiteral("3.5"));
    frm.txtCornerRoundChange();
    frm.pnlMRU->move(120, 80);

    EXPECT_TRUE(frm.close());
    ASSERT_EQ(Boxes.size(), 1u) << "only the question";
    ExpectClosedAndReleased(frm);

    const std::string ncDir = "NcDir=" + Path(QStringLiteral("sample")).toStdString();
    const std::vector<std::string> expected{
        "[Default]", "Tool=3", "Unit=0", "Pst=fanuc_MM", "Language=English", "Comment=kept",
        "ChainTol=0.002", "SystemTol=0.0001", "CornerRound=3.5", "SGrid=1", "SAxis=1",
        "GridX=10", "GridY=10", "SnapX=10", "SnapY=10", "FOpen=", ncDir,
        "MRUenable=1", "MRUpx=120", "MRUpy=80",
        "RapidFeedrate=300",  // the inch default read at start; a change of units does not convert it
        "[Color]", "Form=-16777211", "BackGround=8421504", "DefLayers=65280", "Grid=8388608"};
    EXPECT_EQ(SettingLines(ReadFile(QStringLiteral("kestro.ini"))), expected);
    EXPECT_TRUE(ReadFile(QStringLiteral("kestro.ini")).startsWith("; written by hand\n"));
}

TEST_F(ProgramStartup, AFirstStartWithoutSettingsWritesEveryKeyInOrder)
{
    ASSERT_TRUE(QFile::remove(Path(QStringLiteral("Library.blk"))));
    TfrmMain& frm = Start();
    EXPECT_TRUE(Boxes.empty()) << "neither the settings file nor the block library is missed aloud";
    EXPECT_EQ(frm.LocalCad().SourceBlocksCount(), 0);

    EXPECT_EQ(UnitsMode, 0);
    EXPECT_EQ(DisplayFormat, "%0.3f");
    EXPECT_DOUBLE_EQ(ChainTol, 0.002);
    EXPECT_DOUBLE_EQ(SystemTol, 0.0001);
    EXPECT_EQ(frm.txtCornerRound->text(), QStringLiteral("1.0"));
    EXPECT_TRUE(frm.sbtGridOnOff->isChecked());
    EXPECT_TRUE(frm.sbtAxisOnOff->isChecked());
    EXPECT_FLOAT_EQ(frm.VistaGrafica->Core().GridDeltaX(), 10.0f);
    EXPECT_FLOAT_EQ(frm.LocalPrg().YSnap, 10.0f);
    EXPECT_FALSE(frm.pnlMRU->isHidden());
    EXPECT_EQ(frm.pnlMRU->pos(), QPoint(500, 400));
    EXPECT_EQ(OpenDialogFileName(frm.SettingsWindowValues()), Path(QStringLiteral("sample/*.*")));
    EXPECT_FLOAT_EQ(frm.VistaGrafica->Core().VisualRect().SecondEdge.X, 290.0f);

    frm.sbtExitClick();
    ExpectClosedAndReleased(frm);
    const std::string ncDir = "NcDir=" + Path(QStringLiteral("sample")).toStdString();
    const std::vector<std::string> expected{"[Color]", "Form=-16777211", "BackGround=8421504",
        "DefLayers=65280", "Grid=8388608", "[Default]", "Unit=0", "ChainTol=0.002", "SystemTol=0.0001",
        "CornerRound=1", "SGrid=1", "SAxis=1", "GridX=10", "GridY=10", "SnapX=10", "SnapY=10", "FOpen=", ncDir,
        "Language=english", "MRUenable=1", "MRUpx=500", "MRUpy=400", "RapidFeedrate=10000"};
    EXPECT_EQ(SettingLines(ReadFile(QStringLiteral("kestro.ini"))), expected);
}

TEST_F(ProgramStartup, ADamagedSettingsFileGivesTheDefaultsOfWhatItSpoils)
{
    static constexpr char kGarbage[] = "\x00\xff\xfe garbage without a key\n";
    WriteSettings(QByteArray(kGarbage, sizeof kGarbage - 1) +
                  "[Color]\n"
                  "Grid=navy\n"
                  "BackGround=255\n"
                  "[Default]\n"
                  "Unit=inch\n"
                  "ChainTol=0,5\n"
                  "SystemTol=\n"
                  "CornerRound=1..5\n"
                  "GridX=abc\n"
                  "SnapX=1e999\n"
                  "MRUpx=12.5\n"
                  "MRUpy=300\n");
    TfrmMain& frm = Start();
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(UnitsMode, 0);
    EXPECT_DOUBLE_EQ(ChainTol, 0.002);
    EXPECT_DOUBLE_EQ(SystemTol, 0.0001);
    EXPECT_DOUBLE_EQ(CornerRound, 1.0);
    EXPECT_EQ(frm.VistaGrafica->Core().GridColor(), 0x800000);
    EXPECT_FLOAT_EQ(frm.VistaGrafica->Core().GridDeltaX(), 10.0f);
    EXPECT_FLOAT_EQ(frm.LocalPrg().XSnap, 10.0f);
    EXPECT_EQ(frm.pnlMRU->pos(), QPoint(500, 300));
    EXPECT_EQ(frm.VistaGrafica->Core().BackGroundColor(), 0x0000FF) << "the sound keys still count";
    EXPECT_NE(LanguageFile, nullptr);
}

// Start-up with a language whose file cannot be read: one error box naming
// the file, then the designed English texts and the built-in messages.
void ProgramStartup::ExpectEnglishAfterSayingSo(const char* language)
{
    WriteSettings(QByteArray("[Default]\nLanguage=") + language + "\nUnit=1\n");
    TfrmMain& frm = Start();

    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_TRUE(Boxes[0].Text.startsWith(QStringLiteral("Language file not found!\r\n")));
    EXPECT_TRUE(Boxes[0].Text.endsWith(QStringLiteral("/language/") + QString::fromLatin1(language) + QStringLiteral(".lng")))
        << Boxes[0].Text.toStdString();
    EXPECT_EQ(Boxes[0].Flags, kMbIconError);

    // Start-up went on.
    EXPECT_EQ(LanguageFile, nullptr);
    EXPECT_EQ(frm.chkMRUvisible->text(), QStringLiteral("Enable MRU toolbar"));
    EXPECT_EQ(frm.lsbLine->toolTip(), QStringLiteral("Line"));
    EXPECT_FALSE(PageTexts[12].isEmpty());
    EXPECT_EQ(UnitsMode, 1);
    EXPECT_TRUE(frm.windowTitle().startsWith(QStringLiteral("Kestro v")));

    // The closing question still reads.
    EXPECT_TRUE(frm.close());
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_FALSE(Boxes[1].Text.isEmpty());
    EXPECT_EQ(Boxes[1].Text, GetLangString(kMsgConfirmClose));
}

TEST_F(ProgramStartup, WithoutItsLanguageFileStartsInEnglishAfterSayingSo)
{
    ExpectEnglishAfterSayingSo("klingon");
}

TEST_F(ProgramStartup, WithAnUnreadableLanguageFileStartsInEnglishAfterSayingSo)
{
    // A folder where the file should be: the name is there, but nothing to read.
    ASSERT_TRUE(QDir(Path(QStringLiteral("language"))).mkdir(QStringLiteral("broken.lng")));
    ExpectEnglishAfterSayingSo("broken");
}

TEST_F(ProgramStartup, SettingsThatCannotBeWrittenAreReportedAndTheWindowStillCloses)
{
    // A folder where the settings file belongs can be neither read nor replaced.
    ASSERT_TRUE(QDir(Path(QString())).mkdir(QStringLiteral("kestro.ini")));
    TfrmMain& frm = Start();
    EXPECT_TRUE(Boxes.empty());
    frm.show();

    EXPECT_TRUE(frm.close());
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_TRUE(Boxes[1].Text.startsWith(QStringLiteral("The settings could not be saved"))) << Boxes[1].Text.toStdString();
    EXPECT_TRUE(Boxes[1].Text.contains(SettingsPath()));
    EXPECT_EQ(Boxes[1].Caption, GetLangString(kMsgBoxCaption));
    EXPECT_EQ(Boxes[1].Flags, kMbIconWarning);
    ExpectClosedAndReleased(frm);
    EXPECT_TRUE(QFileInfo(SettingsPath()).isDir());
}
