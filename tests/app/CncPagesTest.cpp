// The CNC pages driven as the user drives them: the way in and between the
// pages, the operation and compensation rules, a calculation stopped from
// the page, the post combo, and the tool dialog feeding the job.

#include <filesystem>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "CncPagesSupport.h"
#include "ProgramTestFolder.h"
#include "WidgetInput.h"
#include "app/Language.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/ui/CADViewport.h"
#include "cam/chains/Chains.h"
#include "cam/nc/NcWords.h"
#include "cam/nc/PostSettings.h"
#include "cam/ProgressSink.h"
#include "cam/toolpath/Toolpaths.h"
#include "cam/ui/CncPictures.h"
#include "cam/ui/frmTool.h"
#include "import/ui/SaveDialog.h"

namespace {

// A 100 x 60 frame, drawn side by side unless the drawing has it, picked as
// one chain from the chain page.
void PickFrame(TfrmMain& frm, bool draw = true)
{
    TCADViewport2DCore& view = frm.VistaGrafica->Core2D();
    view.ZoomWindow(MakeRect2D(-20, -20, 120, 120));
    const float sides[][4] = {{0, 0, 100, 0}, {100, 60, 100, 0}, {0, 60, 100, 60}, {0, 0, 0, 60}};
    for (const auto& s : sides)
        if (draw)
            frm.LocalCad().AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(s[0], s[1]), MakePoint2D(s[2], s[3])));
    frm.sbtChain->click();
    const TPoint2D at = view.WorldToScreen(MakePoint2D(50, 60));
    Click(frm.VistaGrafica, QPoint(static_cast<int>(at.X), static_cast<int>(at.Y)));
    QApplication::processEvents();
}

// Stops nothing itself: the page's button does, from inside the loop's message pump.
class TClickDuringCalculation : public TProgressSink {
public:
    explicit TClickDuringCalculation(QToolButton* button) : Button(button) {}
    void SetProgress(int /*percent*/) override {}
    void PumpMessages() override
    {
        if (++Pumps == 3)
            Button->click();
    }
    bool Aborted() override { return LastKey == ESCAPE_KEY; }
    int Pumps = 0;

private:
    QToolButton* Button;
};

void SaveShot(QWidget* widget, const char* name)
{
    const std::filesystem::path folder = std::filesystem::path(KESTRO_TEST_OUTPUT_DIR) / "cam";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(widget->grab().save(QString::fromStdString((folder / name).string())));
}

} // namespace

TEST(CncPages, WayInAndBetweenThePages)
{
    const TCamGlobalsGuard guard;
    TfrmMain frm;
    frm.resize(1000, 700);
    frm.show();
    EXPECT_FALSE(frm.sbtCnc->isHidden());
    frm.sbtCnc->click();
    EXPECT_TRUE(frm.PagesVisible());
    EXPECT_EQ(frm.ActivePage(), 40);
    SaveShot(frm.PageControl1, "cnc-page-40.png");
    // Nothing goes on before the NC file is named.
    EXPECT_FALSE(frm.sbtNextB1->isEnabled());
    frm.sbtNextB1Click();
    EXPECT_EQ(frm.ActivePage(), 41);
    SaveShot(frm.PageControl1, "cnc-page-41.png");
    frm.sbtPrevB2->click();
    EXPECT_EQ(frm.ActivePage(), 40);
    frm.sbtNextB1Click();
    frm.sbtNextB2->click();
    EXPECT_EQ(frm.ActivePage(), 42);
    frm.sbtPrevB3->click();
    EXPECT_EQ(frm.ActivePage(), 41);
    frm.sbtNextB2->click();

    // Next goes to the page of the operation once a chain exists.
    EXPECT_FALSE(frm.sbtNextB3->isEnabled());
    PickFrame(frm);
    ASSERT_EQ(ChainList.Chains.size(), 1u);
    const std::pair<QRadioButton*, int> operations[] = {{frm.rdbPocket, 45}, {frm.rdbContour, 43}};
    for (const auto& [radio, page] : operations) {
        frm.sbtPrevB3->click();
        radio->click();
        frm.sbtNextB2->click();
        ASSERT_TRUE(frm.sbtNextB3->isEnabled());
        frm.sbtNextB3->click();
        EXPECT_EQ(frm.ActivePage(), page);
        if (page == 45)
            SaveShot(frm.PageControl1, "cnc-page-45.png");
    }
    SaveShot(frm.PageControl1, "cnc-page-43.png");
    frm.sbtPrevB4C->click();
    EXPECT_EQ(frm.ActivePage(), 42);
    SaveShot(frm.PageControl1, "cnc-page-42.png");

    // Drilling clears the chains and shows the drill point group instead.
    frm.rdbDrill->click();
    EXPECT_TRUE(ChainList.Chains.empty());
    EXPECT_FALSE(frm.sbtNextB3->isEnabled());
    EXPECT_TRUE(frm.grpChain->isHidden());
    EXPECT_TRUE(frm.grpCutterComp->isHidden());
    EXPECT_FALSE(frm.grpDrillPoints->isHidden());
    frm.rdbContour->click();
    EXPECT_FALSE(frm.grpCutterComp->isHidden());
    EXPECT_TRUE(frm.grpDrillPoints->isHidden());
}

TEST(CncPages, CompensationLeadsAndPassCounts)
{
    const TCamGlobalsGuard guard;
    TfrmMain frm;
    // Off: no leads, one rough cut, no finish cut, and none of them can change.
    EXPECT_EQ(frm.cboCCDir->currentIndex(), 0);
    for (QWidget* control : std::initializer_list<QWidget*>{frm.cboLeadIn, frm.cboLeadOut, frm.txtLInSize,
             frm.speConNRoughCuts, frm.speConNFinishCuts, frm.txtConRoughSize, frm.txtConFinishSize})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();

    frm.cboCCDir->setCurrentIndex(1);
    EXPECT_TRUE(frm.cboLeadIn->isEnabled());
    EXPECT_FALSE(frm.txtLInSize->isEnabled()) << "a lead that is Off has no size";
    frm.cboLeadIn->setCurrentIndex(2);
    EXPECT_TRUE(frm.txtLInSize->isEnabled());
    EXPECT_TRUE(frm.lblInLead->isEnabled());
    frm.speConNRoughCuts->setValue(3);
    frm.txtConRoughSize->setText(QStringLiteral("0.5"));
    EXPECT_TRUE(frm.txtConRoughSize->isEnabled());
    frm.speConNRoughCuts->setValue(1);
    EXPECT_FALSE(frm.txtConRoughSize->isEnabled());
    EXPECT_EQ(frm.txtConRoughSize->text(), QStringLiteral("0.0"));
    frm.speConNFinishCuts->setValue(1);
    EXPECT_TRUE(frm.txtConFinishSize->isEnabled());
    frm.spePocNFinishCuts->setValue(2);
    EXPECT_TRUE(frm.txtPocFinishSize->isEnabled());
    frm.spePocNFinishCuts->setValue(0);
    EXPECT_EQ(frm.txtPocFinishSize->text(), QStringLiteral("0.0"));

    // The pocket forces Right and keeps the leads out; the contour gets its side back.
    frm.rdbPocket->click();
    EXPECT_EQ(MachiningType, TMachiningType::Pocket);
    EXPECT_EQ(frm.cboCCDir->currentIndex(), 2);
    EXPECT_FALSE(frm.cboCCDir->isEnabled());
    for (QWidget* lead : std::initializer_list<QWidget*>{frm.cboLeadIn, frm.cboLeadOut, frm.txtLInSize,
             frm.txtLoutSize, frm.lblInLead})
        EXPECT_FALSE(lead->isEnabled()) << lead->objectName().toStdString();
    frm.rdbPocket->click();
    frm.rdbContour->click();
    EXPECT_EQ(frm.cboCCDir->currentIndex(), 1) << "a second Pocket click must not forget the side";
    EXPECT_TRUE(frm.cboCCDir->isEnabled());
    EXPECT_TRUE(frm.cboLeadIn->isEnabled());
    EXPECT_TRUE(frm.txtLInSize->isEnabled()) << "the lead kept its Arc";

    // Off again clears what the side allowed.
    frm.cboCCDir->setCurrentIndex(0);
    EXPECT_EQ(frm.cboLeadIn->currentIndex(), 0);
    EXPECT_EQ(frm.speConNFinishCuts->value(), 0);
    EXPECT_FALSE(frm.txtConFinishSize->isEnabled());

    // A calculation that ran gets its button back when a Z field changes.
    frm.sbtConCalculate->setEnabled(false);
    frm.sbtPocCalculate->setEnabled(false);
    frm.txtConZDepthTot->setText(QStringLiteral("-2"));
    EXPECT_TRUE(frm.sbtConCalculate->isEnabled());
    EXPECT_TRUE(frm.sbtPocCalculate->isEnabled());
}

TEST(CncPages, RightCutsInsideACounterClockwiseChainWithTheDefaultTool)
{
    const TCamGlobalsGuard guard;
    TfrmMain frm;
    frm.resize(1000, 700);
    frm.show();
    QApplication::processEvents();
    frm.VisPagine({42});
    PickFrame(frm);
    ASSERT_EQ(ChainList.Chains.size(), 1u);
    ASSERT_GT(ChainSignedArea(ChainList.Chains.front()), 0.0);
    // The shipped tool is 5 across: its radius is the offset.
    EXPECT_EQ(frm.txtCCoffset->text(), QStringLiteral("2.500"));
    EXPECT_FALSE(frm.txtCCoffset->isEnabled());
    EXPECT_FLOAT_EQ(OffsetRadius, 2.5f);

    frm.cboCCDir->setCurrentIndex(2);
    // As a calculation starts: the page changes have left Esc behind.
    LastKey = 0;
    TContourJob job;
    job.Side = frm.CompensationSide();
    job.OffsetRadius = OffsetRadius;
    std::vector<TChain> loops;
    ASSERT_EQ(ContourToolpath(ChainList.Chains.front(), job, loops), TCamFailure::None);
    ASSERT_EQ(loops.size(), 1u);
    for (const TChainElement& element : loops.front()) {
        EXPECT_NEAR(std::min({element.X1, 100 - element.X1, element.Y1, 60 - element.Y1}), 2.5, 1e-3);
        EXPECT_GT(element.X1, 0.0);
        EXPECT_LT(element.Y1, 60.0);
    }

    // Next Pg (5) of the pocket page, pressed while the rings are computed, stops them.
    frm.rdbPocket->click();
    frm.sbtNextB3->click();
    ASSERT_EQ(frm.ActivePage(), 45);
    LastKey = 0;
    TPocketJob pocket;
    pocket.OffsetRadius = OffsetRadius;
    pocket.StepOverPercent = 1.0;
    TClickDuringCalculation sink(frm.sbtNextB4P);
    std::vector<TPocketToolpath> toolpaths;
    EXPECT_EQ(PocketToolpaths(ChainList.Chains, pocket, toolpaths, sink), TCamFailure::Aborted);
    EXPECT_GE(sink.Pumps, 3);
    EXPECT_EQ(frm.ActivePage(), 46);
}

namespace {

class CncProgram : public ProgramTestFolder {
protected:
    const TCamGlobalsGuard Guard;
};

} // namespace

TEST_F(CncProgram, PostComboListsThePostFolderAndFollowsTheChosenPost)
{
    WriteFile(QStringLiteral("pst/Pen_Laser.PST"),
              "[Default]\nOmit_Z=1\n[Post Comment]\n1=(Pen plotter)\n");
    WriteFile(QStringLiteral("pst/notes.txt"), "not a post\n");
    WriteSettings("[Default]\nPst=fanuc_MM\n");
    TfrmMain& frm = Start();
    EXPECT_TRUE(Boxes.empty());
    QStringList names;
    for (int k = 0; k < frm.cboPostName->count(); ++k)
        names << frm.cboPostName->itemText(k);
    EXPECT_EQ(names, QStringList({QStringLiteral("Fanuc_mm"), QStringLiteral("Pen_Laser")}));
    EXPECT_EQ(frm.cboPostName->currentText(), QStringLiteral("Fanuc_mm"));
    EXPECT_TRUE(frm.lblConZRapid->isEnabled());

    // A post that writes no Z: the contour page's Z captions go grey and say why.
    frm.cboPostName->setCurrentIndex(1);
    frm.cboPostName->activated(1);
    EXPECT_EQ(PostName, "Pen_Laser");
    EXPECT_TRUE(PostSettings.OmitZ);
    EXPECT_EQ(frm.stxPstCommento->text(), QStringLiteral("(Pen plotter)\r\n"));
    for (QLabel* label : {frm.lblConZRapid, frm.lblConTopStock, frm.lblConZDepthTot, frm.lblConIncPassZ})
        EXPECT_FALSE(label->isEnabled()) << label->objectName().toStdString();
    EXPECT_TRUE(frm.lblConNumDCuts->text().isEmpty());
    EXPECT_EQ(frm.lblConNumFCuts->text(), GetLangString(724));

    frm.cboPostName->setCurrentIndex(0);
    frm.cboPostName->activated(0);
    EXPECT_FALSE(PostSettings.OmitZ);
    EXPECT_TRUE(frm.lblConZRapid->isEnabled());
}

TEST_F(CncProgram, ToolDialogShapesKeysLayoutsAndTheJobsTool)
{
    TfrmMain& frm = Start();
    ASSERT_NE(frmTool, nullptr);
    TfrmTool& tool = *frmTool;

    // Each type shows the fields that describe its cutter.
    const auto shown = [](QWidget* w) { return !w->isHidden(); };
    tool.cboTipoUt->setCurrentIndex(TfrmTool::BullNose);
    EXPECT_TRUE(shown(tool.txtC_Raggio));
    EXPECT_FALSE(tool.txtC_Raggio->isReadOnly());
    EXPECT_FALSE(shown(tool.txtAngolo));
    tool.cboTipoUt->setCurrentIndex(TfrmTool::Spherical);
    tool.txtDiametro->setText(QStringLiteral("6.35"));
    EXPECT_TRUE(tool.txtC_Raggio->isReadOnly());
    EXPECT_EQ(tool.txtC_Raggio->text(), QStringLiteral("3.175"));
    tool.cboTipoUt->setCurrentIndex(TfrmTool::Conical);
    EXPECT_FALSE(shown(tool.txtC_Raggio));
    EXPECT_TRUE(shown(tool.txtAngolo));
    EXPECT_TRUE(shown(tool.txtDiamFlat));
    tool.cboTipoUt->setCurrentIndex(TfrmTool::Undefined);
    EXPECT_TRUE(shown(tool.txtAngolo)) << "left as they were";
    tool.cboTipoUt->setCurrentIndex(TfrmTool::Drill);
    EXPECT_FALSE(shown(tool.txtAngolo) || shown(tool.txtDiamFlat) || shown(tool.txtC_Raggio));

    // The speed takes whole numbers; feeds and the diameter a decimal point too.
    const std::pair<QLineEdit*, const char*> keys[] = {{tool.txtGiri, "125"}, {tool.txtFeedrate, "12.5"},
                                                       {tool.txtDiametro, "12.5"}};
    for (const auto& [field, expected] : keys) {
        field->clear();
        for (const QChar c : QStringLiteral("1-2.5a"))
            PressKey(field, c.isDigit() ? Qt::Key_0 + c.digitValue() : c.unicode(), QString(c));
        EXPECT_EQ(field->text(), QString::fromLatin1(expected)) << field->objectName().toStdString();
    }

    // The tool database and the one-tool form.
    tool.SingleTool = false;
    tool.show();
    EXPECT_EQ(tool.width(), 494);
    EXPECT_EQ(tool.btnOk->x(), 304);
    EXPECT_EQ(tool.btnCancel->x(), 404);
    EXPECT_EQ(tool.grpInfo->x(), 230);
    EXPECT_FALSE(tool.ListView1->isHidden());
    EXPECT_EQ(tool.windowTitle(), GetLangString(751));
    SaveShot(&tool, "tool-database.png");
    tool.hide();

    // "Select ..." opens the one tool; Ok makes its values the job's.
    QTimer::singleShot(0, [&tool] {
        EXPECT_EQ(tool.width(), 268);
        EXPECT_EQ(tool.btnOk->x(), 78);
        EXPECT_EQ(tool.btnCancel->x(), 178);
        EXPECT_EQ(tool.grpInfo->x(), 5);
        EXPECT_TRUE(tool.ListView1->isHidden());
        EXPECT_TRUE(tool.btnAdd->isHidden());
        EXPECT_EQ(tool.windowTitle(), GetLangString(750));
        EXPECT_EQ(tool.txtDiametro->text(), QStringLiteral("5")) << "the job's tool, not what was typed before";
        tool.cboTipoUt->setCurrentIndex(TfrmTool::BullNose);
        tool.sedToolNum->setValue(3);
        tool.txtDiametro->setText(QStringLiteral("6"));
        tool.txtFeedrate->setText(QStringLiteral("800"));
        tool.txtPlungeRate->setText(QStringLiteral("300"));
        tool.txtGiri->setText(QStringLiteral("18000"));
        tool.chkCoolant->setChecked(true);
        SaveShot(&tool, "tool-dialog.png");
        tool.btnOk->click();
    });
    frm.sbtToolSelect->click();
    EXPECT_EQ(NcJobValues.ToolNumber, 3);
    EXPECT_EQ(NcJobValues.ToolDiameter, "6");
    EXPECT_EQ(NcJobValues.FeedRate, "800");
    EXPECT_EQ(NcJobValues.PlungeRate, "300");
    EXPECT_EQ(NcJobValues.SpindleSpeed, "18000");
    EXPECT_TRUE(NcJobValues.Coolant);
    EXPECT_EQ(frm.txtCCoffset->text(), QStringLiteral("3.000"));
    EXPECT_FLOAT_EQ(OffsetRadius, 3.0f);

    // "Edit ..." with a diameter that cannot cut changes nothing and says so; Cancel changes nothing.
    for (const bool ok : {true, false}) {
        QTimer::singleShot(0, [&tool, ok] {
            EXPECT_EQ(tool.cboTipoUt->currentIndex(), TfrmTool::BullNose) << "the type is remembered";
            tool.txtDiametro->setText(ok ? QStringLiteral("0") : QStringLiteral("8"));
            (ok ? tool.btnOk : tool.btnCancel)->click();
        });
        frm.sbtToolEdit->click();
        EXPECT_EQ(NcJobValues.ToolDiameter, "6");
        EXPECT_FLOAT_EQ(OffsetRadius, 3.0f);
    }
    EXPECT_EQ(Boxes.size(), 1u);
}

TEST(CncPictures, EveryHintAndToolTypeHasAPictureOfItsOwn)
{
    std::vector<QImage> pictures;
    for (int k = 0; k < kCncHintCount; ++k)
        pictures.push_back(CncHintPixmap(k).toImage());
    for (int k = 0; k < kToolTypeCount; ++k)
        pictures.push_back(ToolTypePixmap(k, 96).toImage());
    EXPECT_TRUE(CncHintPixmap(kCncHintCount).isNull());
    EXPECT_TRUE(ToolTypePixmap(-1).isNull());

    // One sheet to look at: the hints on the first row, the tool types below.
    QImage sheet(96 * kCncHintCount, 2 * 96, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (std::size_t k = 0; k < pictures.size(); ++k) {
        const int row = k < kCncHintCount ? 0 : 1;
        const int column = static_cast<int>(row == 0 ? k : k - kCncHintCount);
        painter.drawImage(column * 96, row * 96, pictures[k]);
        for (std::size_t j = 0; j < k; ++j)
            EXPECT_NE(pictures[k], pictures[j]) << k << " looks like " << j;
    }
    painter.end();
    const std::filesystem::path folder = std::filesystem::path(KESTRO_TEST_OUTPUT_DIR) / "cam";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(sheet.save(QString::fromStdString((folder / "cnc-pictures.png").string())));
}

TEST_F(CncProgram, FramePocketAndContourWrittenThroughTheWindows)
{
    WriteFile(QStringLiteral("plate.dxf"), kFramePlateDxf);
    TfrmMain& frm = Start();
    frm.resize(1000, 700);
    frm.show();
    QApplication::processEvents();
    ASSERT_TRUE(frm.OpenFile(Path(QStringLiteral("plate.dxf"))));
    const QString ncPath = Path(QStringLiteral("plate.nc"));
    const TSaveDialogHook previousDialog = SetSaveDialogHook([&ncPath](TSaveDialog& dialog) {
        dialog.FileName = ncPath;
        return true;
    });
    Answer = kIdNo; // keep the contour when leaving the NC page

    frm.sbtCnc->click();
    frm.sbtNewNc->click();
    ASSERT_TRUE(frm.sbtNextB1->isEnabled());
    frm.sbtNextB1->click();
    frm.sbtNextB2->click();
    PickFrame(frm, false);
    ASSERT_EQ(ChainList.Chains.size(), 1u);
    frm.cboCCDir->setCurrentIndex(2);
    frm.sbtNextB3->click();
    ASSERT_EQ(frm.ActivePage(), 43);
    frm.sbtConCalculate->click();
    EXPECT_EQ(frm.ActivePage(), 46);
    EXPECT_FALSE(frm.sbtConCalculate->isEnabled());

    // Back to the chain page by the pages' own buttons, and the pocket of the same frame.
    frm.sbtPrevB5->click();
    EXPECT_EQ(frm.ActivePage(), 43);
    // The program was kept: its Calculate does not write it a second time.
    EXPECT_FALSE(frm.sbtConCalculate->isEnabled());
    frm.sbtConCalculate->click();
    frm.sbtPrevB4C->click();
    frm.sbtPrevB3->click();
    frm.rdbPocket->click();
    frm.sbtNextB2->click();
    frm.sbtNextB3->click();
    ASSERT_EQ(frm.ActivePage(), 45);
    frm.sbtPocCalculate->click();
    SetSaveDialogHook(previousDialog);

    QFile file(ncPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    ASSERT_FALSE(text.isEmpty());
    EXPECT_EQ(text.count("\n"), text.count("\r\n")) << "every line ends in CR LF";
    EXPECT_EQ(text.count("M6"), 1) << "one tool, changed once";
    int cuts = 0;
    for (const QByteArray& line : text.split('\n')) {
        if (!line.startsWith("G1") && !line.startsWith("G2") && !line.startsWith("G3"))
            continue;
        for (const QByteArray& word : line.trimmed().split(' ')) {
            const double v = word.mid(1).toDouble();
            if (word.startsWith('X')) {
                ++cuts;
                EXPECT_TRUE(v >= 2.5 - 1e-3 && v <= 97.5 + 1e-3) << line.toStdString();
            }
            if (word.startsWith('Y')) {
                EXPECT_TRUE(v >= 2.5 - 1e-3 && v <= 57.5 + 1e-3) << line.toStdString();
            }
        }
    }
    EXPECT_GT(cuts, 20);

    // The program and the simulated result over the drawing, to look at.
    const QImage shot = frm.VistaGrafica->Core2D().WindowImage();
    const std::filesystem::path folder = std::filesystem::path(KESTRO_TEST_OUTPUT_DIR) / "cam";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(shot.save(QString::fromStdString((folder / "nc-frame-pocket.png").string())));
    QFile copy(QString::fromStdString((folder / "nc-frame-pocket.nc").string()));
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    copy.write(text);
}
