// The NC page driven as the user drives it: stepping through a program draws
// its moves over the drawing and fills the limits; the scroll bar, the line
// counter, Find, Save and Close.

#include <filesystem>
#include <fstream>
#include <iterator>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

#include "WidgetInput.h"
#include "app/Language.h"
#include "app/ui/frmMain.h"
#include "cad/canvas/DecorativeCanvas.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/ui/CADViewport.h"
#include "cam/simulation/NcSimulation.h"
#include "cam/nc/NcWords.h"
#include "cam/ui/NcFindDialog.h"
#include "import/ui/SaveDialog.h"

namespace {

// A square pocket of 40 by 30 cleared with a 6 mm tool: two rings, the inner
// one with round corners, a finishing pass and two drilled holes.
const char* const kProgram =
    "(TLDIA=6)\n"
    "G0 Z5.000\n"
    "G0 X15.000 Y12.000\n"
    "G1 Z-2.000 F300\n"
    "G1 X25.000 Y12.000 F800\n"
    "G1 X25.000 Y18.000\n"
    "G1 X15.000 Y18.000\n"
    "G1 X15.000 Y12.000\n"
    "G1 X10.000 Y8.000\n"
    "G1 X30.000 Y8.000\n"
    "G3 X32.000 Y10.000 R2.000\n"
    "G1 X32.000 Y20.000\n"
    "G3 X30.000 Y22.000 I30.000 J20.000\n"
    "G1 X10.000 Y22.000\n"
    "G1 X8.000 Y20.000\n"
    "G1 X8.000 Y10.000\n"
    "G3 X10.000 Y8.000 R2.000\n"
    "G0 Z5.000\n"
    "G81 X50.000 Y5.000 Z-4.000 R1.000 F100\n"
    "X50.000 Y25.000\n"
    "G80\n"
    "G0 X0.000 Y0.000\n";

// Reads with the default post and leaves the program's simulation and post
// as the test found them.
class TSimulationGuard {
public:
    TSimulationGuard()
    {
        NcSimulation = TNcSimulation();
        PostSettings = TPostSettings();
    }
    ~TSimulationGuard()
    {
        NcSimulation = TNcSimulation();
        PostSettings = post_;
        LayerContrastColor = contrast_;
    }

private:
    TPostSettings post_ = PostSettings;
    TColor contrast_ = LayerContrastColor;
};

} // namespace

TEST(NcPage, StepDrawsTheSweptAreaAndFillsTheLimits)
{
    const TSimulationGuard guard;
    TfrmMain frm;
    TCADViewport2DCore& view = frm.VistaGrafica->Core2D();
    view.SetBackGroundColor(0x404040);
    LayerContrastColor = 0x808080;
    frm.resize(1000, 700);
    frm.show();
    QApplication::processEvents();
    view.ZoomWindow(MakeRect2D(-5, -5, 60, 35));
    view.Repaint();
    frm.VisPagine({46});
    frm.ricIso->setPlainText(QString::fromLatin1(kProgram));
    NcSimulation.FeedRate = NcSimulation.PlungeRate = 600.0;

    const int lines = frm.ricIso->document()->blockCount();
    for (int k = 0; k < lines; ++k)
        frm.sbtIsoStep->click();
    EXPECT_EQ(NcSimulation.CurrentLine, lines);
    EXPECT_FLOAT_EQ(NcSimulation.ToolRadius, 3.0f);
    EXPECT_EQ(frm.stxLimXmax->text(), QStringLiteral("50.000"));
    EXPECT_EQ(frm.stxLimXmin->text(), QStringLiteral("0.000"));
    EXPECT_EQ(frm.stxLimYmax->text(), QStringLiteral("25.000"));
    EXPECT_EQ(frm.stxLimYmin->text(), QStringLiteral("0.000"));
    EXPECT_GT(NcSimulation.WorkSeconds, 0.0);
    EXPECT_GT(NcSimulation.RapidSeconds, 0.0);

    // The swept area in the contrast colour with its cyan outline, the
    // rapids in yellow, and the time text at the bottom.
    const QImage shot = view.WindowImage();
    const std::filesystem::path folder = std::filesystem::path(KESTRO_TEST_OUTPUT_DIR) / "cam";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(shot.save(QString::fromStdString((folder / "nc-page-step.png").string())));
    EXPECT_GT(CountColour(shot, ToQColor(LayerContrastColor)), 5000);
    EXPECT_GT(CountColour(shot, QColor(0, 255, 255)), 500);
    EXPECT_GT(CountColour(shot, QColor(255, 255, 0)), 100);

    // A dialect the read-back cannot read is named as such, not shown as
    // limits and a time of nothing.
    PostSettings.Dialect = DIALECT_SBO;
    frm.ricIso->setPlainText(QStringLiteral("SA\nM2,10.000,5.000\nMZ,-1.000\n"));
    NcSimulation.CurrentLine = 0;
    for (int k = 0; k < 3; ++k)
        frm.sbtIsoStep->click();
    EXPECT_EQ(frm.nol_IsoStatus1->text(), QString::fromLatin1(DIALECT_NOT_READ));
    PostSettings.Dialect = DIALECT_ISO;

    // The limits panel shows while its button is held.
    EXPECT_TRUE(frm.pnlLimits->isHidden());
    frm.sbtIsoLimits->pressed();
    EXPECT_FALSE(frm.pnlLimits->isHidden());
    frm.sbtIsoLimits->released();
    EXPECT_TRUE(frm.pnlLimits->isHidden());
}

TEST(NcPage, ScrollLineCounterFindSaveAndClose)
{
    const TSimulationGuard guard;
    TfrmMain frm;
    frm.resize(1000, 700);
    frm.show();
    QApplication::processEvents();
    frm.VisPagine({46});
    frm.ricIso->setPlainText(QString::fromLatin1(kProgram));
    const int lines = frm.ricIso->document()->blockCount();
    frm.sbrNcSimul->setMaximum(lines - 1);

    // The scroll bar selects its line and moves the simulation without time.
    frm.sbrNcSimul->setValue(4);
    EXPECT_EQ(frm.ricIso->textCursor().selectedText(), QStringLiteral("G1 X25.000 Y12.000 F800"));
    EXPECT_FLOAT_EQ(NcSimulation.PrevX, 25.0f);
    EXPECT_EQ(NcSimulation.TotalSeconds(), 0.0);

    // The arrow keys set the line the next step reads.
    PressKey(frm.ricIso, Qt::Key_Down);
    EXPECT_EQ(NcSimulation.CurrentLine, 5);
    EXPECT_EQ(frm.nol_IsoStatus1->text(), GetLangString(717) + QStringLiteral("5/%1").arg(lines));

    // Find goes forward from the selection, with case, and ends at the end.
    frm.sbtIsoFind->click();
    ASSERT_NE(frm.FindDialog1, nullptr);
    frm.FindDialog1->findChild<QLineEdit*>(QStringLiteral("txtFindText"))->setText(QStringLiteral("G3"));
    auto* next = frm.FindDialog1->findChild<QPushButton*>(QStringLiteral("btnFindNext"));
    frm.ricIso->moveCursor(QTextCursor::Start);
    next->click();
    EXPECT_EQ(frm.ricIso->textCursor().blockNumber(), 10);
    next->click();
    EXPECT_EQ(frm.ricIso->textCursor().blockNumber(), 12);
    next->click();
    EXPECT_EQ(frm.ricIso->textCursor().blockNumber(), 16);
    next->click();
    EXPECT_FALSE(frm.ricIso->textCursor().hasSelection());
    EXPECT_TRUE(frm.ricIso->textCursor().atEnd());
    frm.FindDialog1->findChild<QLineEdit*>(QStringLiteral("txtFindText"))->setText(QStringLiteral("g3"));
    frm.ricIso->moveCursor(QTextCursor::Start);
    next->click();
    EXPECT_TRUE(frm.ricIso->textCursor().atEnd());
    frm.FindDialog1->hide();

    // Save writes every line with CR LF under the chosen name, which takes
    // the post's extension when typed without one.
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("pocket"));
    NcJobValues.NcFileName = dir.filePath(QStringLiteral("job.nc")).toStdString();
    QString proposed;
    const TSaveDialogHook previous = SetSaveDialogHook([&](TSaveDialog& dialog) {
        proposed = dialog.FileName;
        dialog.FileName = target;
        return true;
    });
    frm.sbtIsoSave->click();
    SetSaveDialogHook(previous);
    NcJobValues.NcFileName.clear();
    EXPECT_EQ(proposed, dir.filePath(QStringLiteral("job")));
    std::ifstream saved((target + QStringLiteral(".nc")).toStdString(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(saved), {}};
    std::string expected = kProgram;
    for (std::size_t at = expected.find('\n'); at != std::string::npos; at = expected.find('\n', at + 2))
        expected.insert(at, "\r");
    EXPECT_EQ(bytes, expected);

    frm.SimulOnOff(false);
    EXPECT_FALSE(frm.sbtIsoStep->isEnabled());
    EXPECT_FALSE(frm.sbtIsoExit->isEnabled());
    EXPECT_TRUE(frm.sbtIsoLimits->isEnabled());
    frm.SimulOnOff(true);
    frm.sbtIsoExit->click();
    EXPECT_FALSE(frm.PagesVisible());
}
