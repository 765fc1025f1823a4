// The CNC road as a user walks it, through the main window's own buttons,
// keys and clicks: a plate with an island is opened and placed, contoured,
// pocketed around its island and drilled; the NC file is saved under the
// post's extension and opened again in the NC page.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include "ProgramTestFolder.h"
#include "app/Language.h"
#include "cam/chains/Chains.h"
#include "cam/nc/NcJob.h"
#include "cam/simulation/NcSimulation.h"
#include "cam/nc/NcWords.h"
#include "cam/nc/PostSettings.h"
#include "cam/toolpath/Toolpaths.h"
#include "import/ui/SaveDialog.h"
#include "RoadSupport.h"

namespace {

// A 60 x 40 plate of lines, a round island of radius 6 in its middle, and
// two holes beside it.
constexpr char kPlate[] = "0\nSECTION\n2\nENTITIES\n"
                          "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n60\n21\n0\n"
                          "0\nLINE\n8\n0\n10\n60\n20\n0\n11\n60\n21\n40\n"
                          "0\nLINE\n8\n0\n10\n60\n20\n40\n11\n0\n21\n40\n"
                          "0\nLINE\n8\n0\n10\n0\n20\n40\n11\n0\n21\n0\n"
                          "0\nCIRCLE\n8\n0\n10\n30\n20\n20\n40\n6\n"
                          "0\nCIRCLE\n8\n0\n10\n75\n20\n10\n40\n1.5\n"
                          "0\nCIRCLE\n8\n0\n10\n75\n20\n30\n40\n1.5\n"
                          "0\nENDSEC\n0\nEOF\n";

// The X and Y words of the program's feed moves.
struct TCut {
    double X;
    double Y;
};

std::vector<TCut> FeedMoves(const QByteArray& program)
{
    std::vector<TCut> cuts;
    TCut at{0, 0};
    for (const QByteArray& line : program.split('\n')) {
        bool moved = false;
        for (const QByteArray& word : line.trimmed().split(' ')) {
            if (word.startsWith('X'))
                at.X = word.mid(1).toDouble(), moved = true;
            if (word.startsWith('Y'))
                at.Y = word.mid(1).toDouble(), moved = true;
        }
        if (moved && (line.startsWith("G1") || line.startsWith("G2") || line.startsWith("G3")))
            cuts.push_back(at);
    }
    return cuts;
}

class CncRoad : public ProgramTestFolder {
protected:
    void TearDown() override
    {
        SetSaveDialogHook(PreviousDialog);
        ChainList = TChainList();
        MachiningType = TMachiningType::Contour;
        NcJobValues = TNcJobValues();
        NcModal = TNcModalMemory();
        NcJobState = TNcJobState();
        NcSimulation = TNcSimulation();
        ProgramTestFolder::TearDown();
    }

    // Open and save dialogs answer as the user: the file to open, or the
    // name the dialog proposes accepted as it is.
    void AnswerDialogs()
    {
        PreviousDialog = SetSaveDialogHook([this](TSaveDialog& dialog) {
            Dialogs.push_back(dialog.Filter);
            if (dialog.ForOpening)
                dialog.FileName = ToOpen;
            return true;
        });
    }

    QString ToOpen;
    QStringList Dialogs;
    TSaveDialogHook PreviousDialog;
};

} // namespace

TEST_F(CncRoad, ContourPocketWithAnIslandAndDrillingToAFileOpenedAgain)
{
    WriteFile(QStringLiteral("plate.dxf"), kPlate);
    WriteSettings("[Default]\nNcDir=" + Path(QString()).toUtf8() + "\n");
    AnswerDialogs();
    TfrmMain& frm = Start();
    frm.resize(1000, 700);
    frm.show();
    QApplication::processEvents();

    // File > Open, then Done on the placement page.
    ToOpen = Path(QStringLiteral("plate.dxf"));
    frm.sbtOpen->click();
    frm.sbtOpenDone->click();
    ASSERT_TRUE(Boxes.empty()) << Boxes.front().Text.toStdString();
    const std::map<std::string, int> opened = ObjectKinds(frm.LocalCad());
    EXPECT_EQ(opened, (std::map<std::string, int>{{"TLine2D", 4}, {"TCerchio2D", 3}}));
    ExpectSoundDrawing(frm.LocalCad());
    frm.VistaGrafica->Core2D().ZoomWindow(MakeRect2D(-10, -10, 90, 50));

    // The NC file: New accepts the proposed name.
    frm.sbtCnc->click();
    frm.sbtNewNc->click();
    const QString ncFile = QString::fromStdString(NcJobValues.NcFileName);
    EXPECT_EQ(QFileInfo(ncFile).suffix(), QString::fromStdString(PostSettings.FileExtension));
    EXPECT_EQ(QFileInfo(ncFile).absolutePath(), QFileInfo(Path(QString())).absolutePath());
    frm.sbtNextB1->click();

    // The contour outside the plate, 2 deep.
    frm.rdbContour->click();
    frm.sbtNextB2->click();
    frm.sbtChain->click();
    ClickWorld(frm, 30, 0);
    ASSERT_EQ(ChainList.Chains.size(), 1u);
    frm.cboCCDir->setCurrentIndex(1);
    frm.sbtNextB3->click();
    ASSERT_EQ(frm.ActivePage(), 43);
    TypeInto(frm.txtConZDepthTot, QStringLiteral("-2"));
    TypeInto(frm.txtConIncPassZ, QStringLiteral("2"));
    frm.sbtConCalculate->click();
    ASSERT_TRUE(Boxes.empty()) << Boxes.front().Text.toStdString();
    EXPECT_EQ(frm.ActivePage(), 46);
    SaveRoadPicture(frm, "cnc-nc-page-contour.png");

    // The pocket of the plate around its island: back to the operation page.
    Answer = kIdNo;  // the NC page's Prev offers to take the contour back
    frm.sbtPrevB5->click();
    frm.sbtPrevB4C->click();
    frm.sbtPrevB3->click();
    frm.rdbPocket->click();
    frm.sbtNextB2->click();
    frm.sbtChain->click();
    ClickWorld(frm, 36, 20);
    ASSERT_EQ(ChainList.Chains.size(), 2u) << "the plate and its island";
    frm.sbtNextB3->click();
    ASSERT_EQ(frm.ActivePage(), 45);
    TypeInto(frm.txtPocZDepthTot, QStringLiteral("-1"));
    frm.sbtPocCalculate->click();
    EXPECT_EQ(frm.ActivePage(), 46);

    // Two holes picked by their circles, drilled 3 deep.
    frm.sbtPrevB5->click();
    frm.sbtPrevB4P->click();
    frm.sbtPrevB3->click();
    frm.rdbDrill->click();
    frm.sbtNextB2->click();
    for (const double y : {10.0, 30.0}) {
        frm.sbtChainPt->click();
        ClickWorld(frm, 76.5, y);
    }
    ASSERT_EQ(ChainList.DrillPoints.size(), 2u);
    frm.sbtNextB3->click();
    ASSERT_EQ(frm.ActivePage(), 44);
    TypeInto(frm.txtDriZDepthTot, QStringLiteral("-3"));
    SaveRoadPicture(frm, "cnc-drill-page.png");
    frm.sbtDriCalculate->click();
    ASSERT_EQ(Boxes.size(), 2u) << "only the two questions of Prev";
    SaveRoadPicture(frm, "cnc-nc-page.png");

    // The saved program: the contour outside the plate by the tool's
    // radius, the pocket between the plate and the island, the two holes.
    QFile saved(ncFile);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray program = saved.readAll();
    EXPECT_EQ(program.count("\n"), program.count("\r\n"));
    const double radius = QString::fromStdString(NcJobValues.ToolDiameter).toDouble() / 2.0;
    ASSERT_GT(radius, 0.0);
    int outside = 0;
    int between = 0;
    for (const TCut& cut : FeedMoves(program)) {
        const bool onContour = cut.X < -radius + 1e-3 || cut.X > 60 + radius - 1e-3 || cut.Y < -radius + 1e-3 ||
                               cut.Y > 40 + radius - 1e-3;
        const bool inPocket = cut.X >= radius - 1e-3 && cut.X <= 60 - radius + 1e-3 && cut.Y >= radius - 1e-3 &&
                              cut.Y <= 40 - radius + 1e-3 && std::hypot(cut.X - 30, cut.Y - 20) >= 6 + radius - 1e-3;
        const bool aHole = std::abs(cut.X - 75) < 1e-3 && (std::abs(cut.Y - 10) < 1e-3 || std::abs(cut.Y - 30) < 1e-3);
        EXPECT_TRUE(onContour || inPocket || aHole) << cut.X << " " << cut.Y;
        outside += onContour ? 1 : 0;
        between += inPocket ? 1 : 0;
    }
    EXPECT_GE(outside, 4);
    EXPECT_GT(between, 10);
    EXPECT_TRUE(program.contains("X75.000 Y10.000")) << program.toStdString();
    EXPECT_TRUE(program.contains("X75.000 Y30.000"));
    EXPECT_TRUE(program.contains("Z-3.000"));

    // Opened again from the first CNC page, which lists the post's files.
    Dialogs.clear();
    frm.sbtCnc->click();
    ToOpen = ncFile;
    frm.sbtAppendNc->click();
    ASSERT_EQ(Dialogs.size(), 1);
    EXPECT_TRUE(Dialogs[0].endsWith(QStringLiteral("|*.") + QFileInfo(ncFile).suffix())) << Dialogs[0].toStdString();
    EXPECT_EQ(frm.ActivePage(), 46);
    QByteArray shown = frm.ricIso->toPlainText().toUtf8();
    EXPECT_EQ(shown + "\n", QByteArray(program).replace("\r\n", "\n"));

    // The drawing is the plate as opened.
    EXPECT_EQ(ObjectKinds(frm.LocalCad()), opened);
    ExpectSoundDrawing(frm.LocalCad());
}
