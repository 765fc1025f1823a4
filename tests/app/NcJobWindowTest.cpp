// The NC job driven through the window: New names the file, Calculate
// writes and saves the program or refuses with the page's message, and
// Undo takes the program back out of the editor.

#include <filesystem>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

#include "WidgetInput.h"
#include "app/Language.h"
#include "app/ui/ApplicationMessageBox.h"
#include "app/ui/frmMain.h"
#include "cad/base/Settings.h"
#include "cad/canvas/DecorativeCanvas.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/ui/CADViewport.h"
#include "cam/chains/Chains.h"
#include "cam/nc/NcJob.h"
#include "cam/simulation/NcSimulation.h"
#include "cam/nc/NcWords.h"
#include "cam/nc/PostSettings.h"
#include "cam/toolpath/Toolpaths.h"
#include "import/ui/SaveDialog.h"

namespace {

struct TBox {
    QString Text;
    int Flags;
};

// The window with a 10 mm square picked, the default post and tool; boxes
// and the save dialog answer in the user's place; the job's globals come back.
class NcJobWindow : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Folder.isValid());
        NcDir = Folder.path().toStdString();
        PostSettings = TPostSettings();
        NcJobValues = TNcJobValues();
        NcModal = TNcModalMemory();
        NcJobState = TNcJobState();
        ChainList.Chains = {{MakeElement({0, 0}, {10, 0}), MakeElement({10, 0}, {10, 10}),
                             MakeElement({10, 10}, {0, 10}), MakeElement({0, 10}, {0, 0})}};
        PreviousBoxHook = SetMessageBoxHook([this](const QString& text, const QString&, int flags) {
            Boxes.push_back({text, flags});
            return Answer;
        });
        PreviousDialogHook = SetSaveDialogHook([this](TSaveDialog& dialog) {
            Proposed = dialog.FileName;
            Filter = dialog.Filter;
            dialog.FileName = Folder.filePath(QStringLiteral("part.nc"));
            return true;
        });
        Frm.resize(1000, 700);
        Frm.show();
        QApplication::processEvents();
    }

    void TearDown() override
    {
        SetMessageBoxHook(PreviousBoxHook);
        SetSaveDialogHook(PreviousDialogHook);
        ChainList = TChainList();
        MachiningType = TMachiningType::Contour;
        NcJobValues = TNcJobValues();
        NcModal = TNcModalMemory();
        NcJobState = TNcJobState();
        NcSimulation = TNcSimulation();
        NcDir = SavedNcDir;
        PostSettings = SavedPost;
    }

    QByteArray Saved() const
    {
        QFile file(Folder.filePath(QStringLiteral("part.nc")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    const std::string SavedNcDir = NcDir;
    const TPostSettings SavedPost = PostSettings;
    QTemporaryDir Folder;
    TfrmMain Frm;
    std::vector<TBox> Boxes;
    int Answer = kIdOk;
    QString Proposed;
    QString Filter;
    TMessageBoxHook PreviousBoxHook;
    TSaveDialogHook PreviousDialogHook;
};

} // namespace

TEST_F(NcJobWindow, NewCalculateRefuseAndUndo)
{
    Frm.sbtNewNc->click();
    EXPECT_EQ(Proposed, Folder.path() + QStringLiteral("/t"));
    EXPECT_EQ(Filter, GetLangString(701) + QStringLiteral(" (*.nc)|*.nc"));
    EXPECT_EQ(NcJobValues.NcFileName, Folder.filePath(QStringLiteral("part.nc")).toStdString());
    EXPECT_TRUE(Frm.sbtNextB1->isEnabled());
    EXPECT_TRUE(ChainList.Chains.empty()) << "New starts without chains";
    ChainList.Chains = {{MakeElement({0, 0}, {10, 0}), MakeElement({10, 0}, {10, 10}),
                         MakeElement({10, 10}, {0, 10}), MakeElement({0, 10}, {0, 0})}};

    // A rapid height at the top, a zero step or a depth above the top: refused, nothing written.
    const struct {
        const char* rapid;
        const char* depth;
        const char* increment;
        int message;
    } refused[] = {{"0", "-1", "1", 702}, {"2", "-1", "0", 703}, {"2", "-1", "-0.5", 703}, {"2", "1", "1", 707}};
    for (const auto& r : refused) {
        Boxes.clear();
        Frm.txtConZRapid->setText(QString::fromLatin1(r.rapid));
        Frm.txtConZDepthTot->setText(QString::fromLatin1(r.depth));
        Frm.txtConIncPassZ->setText(QString::fromLatin1(r.increment));
        EXPECT_EQ(Frm.lblConNumFCuts->text(), GetLangString(r.message));
        Frm.sbtConCalculate->setEnabled(true);
        Frm.sbtConCalculate->click();
        ASSERT_EQ(Boxes.size(), 1u) << r.message;
        EXPECT_EQ(Boxes[0].Text, GetLangString(r.message));
        EXPECT_TRUE(Frm.ricIso->toPlainText().isEmpty());
        EXPECT_FALSE(QFile::exists(Folder.filePath(QStringLiteral("part.nc"))));
    }

    // The page's defaults write the square and save it as CR LF lines.
    Boxes.clear();
    Frm.txtConZRapid->setText(QStringLiteral("2"));
    Frm.txtConZDepthTot->setText(QStringLiteral("-2.5"));
    Frm.txtConIncPassZ->setText(QStringLiteral("1"));
    EXPECT_EQ(Frm.lblConNumDCuts->text(), QStringLiteral("2 ") + GetLangString(704) + QStringLiteral(" 1.000"));
    EXPECT_EQ(Frm.lblConNumFCuts->text(), GetLangString(706) + QStringLiteral(" 0.500"));
    Frm.txtConZDepthTot->setText(QStringLiteral("-1"));
    NcJobValues.FeedRate = "1000";
    NcJobValues.PlungeRate = "1000";
    Frm.VistaGrafica->Core2D().ZoomWindow(MakeRect2D(-5, -5, 15, 15));
    Frm.sbtConCalculate->setEnabled(true);
    Frm.sbtConCalculate->click();
    EXPECT_TRUE(Boxes.empty());
    // The square is drawn as it is cut.
    const QImage shot = Frm.VistaGrafica->Core2D().WindowImage();
    const std::filesystem::path folder = std::filesystem::path(KESTRO_TEST_OUTPUT_DIR) / "cam";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(shot.save(QString::fromStdString((folder / "nc-job-square.png").string())));
    EXPECT_EQ(Saved(), QByteArray("G0 Z2.000\r\nG0 X0.000 Y0.000\r\nG1 Z-1.000 F1000\r\nG1 X10.000 Y0.000\r\n"
                                  "G1 X10.000 Y10.000\r\nG1 X0.000 Y10.000\r\nG1 X0.000 Y0.000\r\nG0 Z2.000\r\n"));
    EXPECT_EQ(Frm.ricIso->document()->blockCount(), 8);
    EXPECT_EQ(Frm.ActivePage(), 46);
    EXPECT_FALSE(Frm.sbtConCalculate->isEnabled());
    EXPECT_TRUE(Frm.sbtNextB4C->isEnabled());
    EXPECT_GT(NcSimulation.TotalSeconds(), 0.0);

    // Undo asks, takes the program out of the editor (not off the disk), and only once.
    Answer = kIdYes;
    Frm.sbtDelLastOpClick();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Flags, kMbYesNo + kMbIconQuestion);
    EXPECT_TRUE(Frm.ricIso->toPlainText().isEmpty());
    EXPECT_TRUE(NcJobState.FirstProgram);
    EXPECT_FALSE(Frm.sbtDelLastOp->isEnabled());
    EXPECT_FALSE(Saved().isEmpty());
    Frm.sbtDelLastOpClick();
    EXPECT_EQ(Boxes.size(), 1u);

    // Open loads a program, of which nothing can be taken back; the next one
    // is appended, with every word written again.
    Boxes.clear();
    ChainList.Chains = {{MakeElement({0, 0}, {10, 0}), MakeElement({10, 0}, {10, 10}),
                         MakeElement({10, 10}, {0, 10}), MakeElement({0, 10}, {0, 0})}};
    Frm.sbtAppendNc->click();
    EXPECT_EQ(Frm.ricIso->document()->blockCount(), 8);
    Frm.sbtDelLastOpClick();
    EXPECT_TRUE(Boxes.empty());
    Frm.sbtConCalculate->setEnabled(true);
    Frm.sbtConCalculate->click();
    EXPECT_EQ(Frm.ricIso->document()->blockCount(), 16);
    EXPECT_EQ(Saved().count("G1 Z-1.000 F1000\r\n"), 2);

    // Failures of the toolpath show their messages.
    Boxes.clear();
    Frm.txtPocStepOverPer->setText(QStringLiteral("0"));
    Frm.sbtPocCalculate->click();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, GetLangString(456));
    EXPECT_EQ(Boxes[0].Flags, kMbOk + kMbIconError);
    Boxes.clear();
    ChainList.Chains.clear();
    Frm.sbtConCalculate->setEnabled(true);
    Frm.sbtConCalculate->click();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, GetLangString(459));
}

TEST_F(NcJobWindow, TheNcPageAfterACalculationAndAfterOpen)
{
    Frm.sbtNewNc->click();
    ChainList.Chains = {{MakeElement({0, 0}, {10, 0}), MakeElement({10, 0}, {10, 10}),
                         MakeElement({10, 10}, {0, 10}), MakeElement({0, 10}, {0, 0})}};
    Frm.sbtConCalculate->click();
    const double calculated = NcSimulation.TotalSeconds();
    ASSERT_GT(calculated, 0.0);

    // Stepping through the program just written counts its time once.
    const int lines = Frm.ricIso->document()->blockCount();
    for (int k = 0; k < lines; ++k)
        Frm.sbtIsoStep->click();
    EXPECT_NEAR(NcSimulation.TotalSeconds(), calculated, 1e-9);

    // A program appended adds its time to the file's; a new file starts from nothing.
    Frm.sbtConCalculate->setEnabled(true);
    Frm.sbtConCalculate->click();
    EXPECT_NEAR(NcSimulation.TotalSeconds(), 2 * calculated, 1e-9);
    Frm.sbtNewNc->click();
    ChainList.Chains = {{MakeElement({0, 0}, {10, 0}), MakeElement({10, 0}, {10, 10}),
                         MakeElement({10, 10}, {0, 10}), MakeElement({0, 10}, {0, 0})}};
    Frm.sbtConCalculate->setEnabled(true);
    Frm.sbtConCalculate->click();
    EXPECT_NEAR(NcSimulation.TotalSeconds(), calculated, 1e-9);

    // An opened program can be scrolled to its last line.
    QFile file(Folder.filePath(QStringLiteral("part.nc")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("G0 Z5.000\r\nG0 X1.000 Y2.000\r\nG1 Z-2.000 F300\r\n");
    file.close();
    Frm.sbtAppendNc->click();
    EXPECT_EQ(Frm.sbrNcSimul->maximum(), 2);
    Frm.sbrNcSimul->setValue(2);
    EXPECT_EQ(Frm.ricIso->textCursor().selectedText(), QStringLiteral("G1 Z-2.000 F300"));
}

TEST_F(NcJobWindow, PickedHolesArePeckedAndShownAsTheyAreWritten)
{
    const TColor savedContrast = LayerContrastColor;
    LayerContrastColor = 0x808080;
    TCADViewport2DCore& view = Frm.VistaGrafica->Core2D();
    view.SetBackGroundColor(0x404040);
    view.ZoomWindow(MakeRect2D(-5, -5, 35, 35));
    Frm.sbtNewNc->click();
    Frm.rdbDrill->click();
    // A click on each circle takes its centre.
    for (const TPoint2D centre : {MakePoint2D(5, 5), MakePoint2D(25, 15)}) {
        Frm.LocalCad().AddObject(-1, std::make_unique<TCerchio2D>(0, centre, MakePoint2D(centre.X + 2, centre.Y)));
        Frm.sbtChainPt->click();
        const TPoint2D at = view.WorldToScreen(MakePoint2D(centre.X + 2, centre.Y));
        Click(Frm.VistaGrafica, QPoint(static_cast<int>(at.X), static_cast<int>(at.Y)));
        QApplication::processEvents();
    }
    ASSERT_EQ(ChainList.DrillPoints.size(), 2u);
    view.Repaint();
    Frm.cboCycle->setCurrentIndex(1);
    Frm.txtDriZDepthTot->setText(QStringLiteral("-3"));
    Frm.sbtDriCalculate->click();
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(Saved().count("G1 Z"), 6) << "three pecks a hole";

    // Each hole shows as the 5 mm tool's disc, where the program plunges.
    const QImage shot = view.WindowImage();
    const std::filesystem::path folder = std::filesystem::path(KESTRO_TEST_OUTPUT_DIR) / "cam";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(shot.save(QString::fromStdString((folder / "nc-drill-peck.png").string())));
    const double pixelsPerMm = shot.width() / 40.0;
    const int discPixels = CountColour(shot, ToQColor(LayerContrastColor));
    EXPECT_GT(discPixels, 2 * 0.5 * 3.14 * 2.5 * 2.5 * pixelsPerMm * pixelsPerMm);
    LayerContrastColor = savedContrast;
}

TEST_F(NcJobWindow, NcFilesTakeThePostsExtension)
{
    PostSettings.FileExtension = "tap";
    // Accepted as proposed, and typed without an extension: both end in the post's.
    const struct {
        const char* typed;  // null: the proposed name is accepted
        const char* expected;
    } cases[] = {{nullptr, "t.tap"}, {"job", "job.tap"}, {"job.cnc", "job.cnc"}};
    for (const auto& c : cases) {
        SetSaveDialogHook([&](TSaveDialog& dialog) {
            Filter = dialog.Filter;
            if (c.typed != nullptr)
                dialog.FileName = Folder.filePath(QString::fromLatin1(c.typed));
            return true;
        });
        Frm.sbtNewNc->click();
        EXPECT_EQ(NcJobValues.NcFileName, Folder.filePath(QString::fromLatin1(c.expected)).toStdString());
        EXPECT_EQ(Filter, GetLangString(701) + QStringLiteral(" (*.tap)|*.tap")) << "what Open lists";
    }
}

TEST_F(NcJobWindow, ANumberFieldRefusesLettersAndCalculateNamesTheOneThatIsNoNumber)
{
    // Letters typed into any field of the CNC pages never arrive.
    for (const int page : {41, 42, 43, 44, 45})
        for (QLineEdit* field : Frm.Page(page)->findChildren<QLineEdit*>()) {
            const QString before = field->text();
            field->setCursorPosition(static_cast<int>(before.size()));
            PressKey(field, Qt::Key_X, QStringLiteral("x"));
            EXPECT_EQ(field->text(), before) << field->objectName().toStdString();
            if (field->isEnabled()) {
                PressKey(field, Qt::Key_5, QStringLiteral("5"));
                EXPECT_EQ(field->text(), before + QLatin1Char('5')) << field->objectName().toStdString();
            }
            field->setText(before);
        }

    Frm.sbtNewNc->click();
    ChainList.Chains = {{MakeElement({0, 0}, {10, 0}), MakeElement({10, 0}, {10, 10}),
                         MakeElement({10, 10}, {0, 10}), MakeElement({0, 10}, {0, 0})}};
    Frm.sbtConCalculate->click();
    ASSERT_TRUE(Boxes.empty());
    const QString program = Frm.ricIso->toPlainText();
    const QByteArray file = Saved();
    ASSERT_FALSE(file.isEmpty());

    // Text pasted in is refused by its caption; the last program stays in
    // the editor and in the file.
    const struct {
        QLineEdit* field;
        QToolButton* calculate;
        const char* caption;
    } cases[] = {{Frm.txtConZDepthTot, Frm.sbtConCalculate, "Depth"},
                 {Frm.txtConStockXY, Frm.sbtConCalculate, "Stock to leave"},
                 {Frm.txtRapidFeedrate, Frm.sbtConCalculate, "Rapid feed rate"},
                 {Frm.txtPocStepOverPer, Frm.sbtPocCalculate, "Step-over (%)"},
                 {Frm.dri_txtPasso, Frm.sbtDriCalculate, "Pitch"}};
    ChainList.DrillPoints = {TVect{5, 5}};
    for (const auto& c : cases) {
        Boxes.clear();
        const QString before = c.field->text();
        c.field->setText(QStringLiteral("-3x"));
        c.calculate->setEnabled(true);
        c.calculate->click();
        ASSERT_EQ(Boxes.size(), 1u) << c.caption;
        EXPECT_EQ(Boxes[0].Text, GetLangString(725) + QStringLiteral("\r\n") + QString::fromLatin1(c.caption));
        EXPECT_EQ(Frm.ricIso->toPlainText(), program) << c.caption;
        EXPECT_EQ(Saved(), file) << c.caption;
        c.field->setText(before);
    }
}
