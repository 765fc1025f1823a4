// The Z-depth window: its loaded controls, the depth gauge as the simulation
// moves it and the sliders rescale it, the 3D switch with its view buttons,
// and the window as the program creates, shows and hides it.

#include <cmath>
#include <limits>
#include <vector>

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <QtTest/QTest>

#include "ProgramTestFolder.h"
#include "app/TranslateForms.h"
#include "app/ui/controls/VertRuler.h"
#include "cam/simulation/NcSimulation.h"
#include "view3d/ui/frmZDepth.h"

namespace {

QColor Fill(const QWidget* panel)
{
    return panel->palette().color(QPalette::Window);
}

} // namespace

TEST(ZDepthWindow, LoadsItsControls)
{
    TNcSimulation sim;
    TfrmZDepth window(sim);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Z Depth"));
    EXPECT_EQ(window.size(), QSize(115, 563));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(window.pnlZGauge->size(), QSize(58, 400));
    EXPECT_EQ(window.grpZDepth->title(), QStringLiteral("Z Depth:"));
    EXPECT_EQ(window.grp3DSimulation->title(), QStringLiteral("3D simulation:"));

    EXPECT_EQ(window.TrackBarOffset->orientation(), Qt::Vertical);
    EXPECT_EQ(window.TrackBarOffset->maximum(), 400);
    EXPECT_EQ(window.TrackBarOffset->value(), 200);
    EXPECT_EQ(window.TrackBarSca->maximum(), 10);
    EXPECT_EQ(window.TrackBarSca->value(), 2);
    EXPECT_EQ(window.VertRuler1->ScalaOffset(), 200);
    EXPECT_EQ(window.VertRuler1->ScalaTextIncrement(), -5.0);
    EXPECT_FALSE(window.VertRuler1->ShowUnit());

    const std::pair<QToolButton*, const char*> buttons[] = {{window.sbtTopView, "Top view"},
                                                            {window.sbtFrontView, "Front view"},
                                                            {window.sbtSideView, "Side view"},
                                                            {window.sbtIsoView, "Iso view"}};
    for (const auto& [button, hint] : buttons) {
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(hint));
        EXPECT_EQ(button->size(), QSize(22, 22));
        EXPECT_TRUE(button->isEnabled());
    }
    EXPECT_EQ(window.chk3dview->text(), QStringLiteral("3Dview"));
    EXPECT_EQ(window.chk3dview->toolTip(), QStringLiteral("Enable / disable 3d view"));
    EXPECT_FALSE(window.chk3dview->isChecked());
    // Every control fits inside the window.
    for (const QWidget* child : window.findChildren<QWidget*>())
        EXPECT_TRUE(window.rect().contains(QRect(child->mapTo(&window, QPoint(0, 0)), child->size())) ||
                    child->parentWidget() == window.pnlZGauge)
            << child->objectName().toStdString();
}

// The bar reaches down to the current Z in the colour of the move, the marks
// sit at the lowest rapid and work Z; the sliders move the zero row and the
// scale, and the bars follow. No depth, however far, breaks a row.
TEST(ZDepthWindow, TheGaugeFollowsTheDepths)
{
    TNcSimulation sim;
    TfrmZDepth window(sim);
    const QColor aqua(0, 255, 255);
    const QColor yellow(255, 255, 0);

    ShowZDepth(sim, false, 5.0f);
    EXPECT_EQ(window.pnlZAttiva->height(), 180); // 2 x 5 x 10 / -5 + 200
    EXPECT_EQ(Fill(window.pnlZAttiva), yellow);
    EXPECT_EQ(window.pnlZMinRap->y(), 179);
    ShowZDepth(sim, true, -10.0f);
    EXPECT_EQ(window.pnlZAttiva->height(), 240);
    EXPECT_EQ(Fill(window.pnlZAttiva), aqua);
    EXPECT_EQ(window.pnlZMinLav->y(), 239);
    ShowZDepth(sim, true, -4.0f);
    EXPECT_EQ(window.pnlZAttiva->height(), 216);
    EXPECT_EQ(window.pnlZMinLav->y(), 239) << "the lowest work Z stays";
    EXPECT_EQ(Fill(window.pnlZMinRap), yellow);
    EXPECT_EQ(Fill(window.pnlZMinLav), aqua);

    struct TScale {
        int Factor;
        double Increment;
    };
    const TScale scales[] = {{1, -10}, {2, -5}, {3, -2}, {4, -1}, {10, -1}};
    for (const TScale& s : scales) {
        window.TrackBarSca->setValue(s.Factor);
        EXPECT_EQ(window.VertRuler1->ScalaFactor(), s.Factor);
        EXPECT_EQ(window.VertRuler1->ScalaTextIncrement(), s.Increment);
    }
    window.TrackBarSca->setValue(1);
    window.TrackBarOffset->setValue(100);
    EXPECT_EQ(window.VertRuler1->ScalaOffset(), 100);
    EXPECT_EQ(window.pnlZAttiva->height(), 104); // 1 x -4 x 10 / -10 + 100
    EXPECT_EQ(window.pnlZMinRap->y(), 94);
    EXPECT_EQ(window.pnlZMinLav->y(), 109);

    // Far depths hold to the gauge's edges; none overflows a row.
    window.TrackBarSca->setValue(10);
    EXPECT_EQ(window.GaugeRow(9999.0), 10 * 9999 * 10 / -1 + 100);
    EXPECT_EQ(window.GaugeRow(-std::numeric_limits<float>::max()), 1000000);
    EXPECT_EQ(window.GaugeRow(std::numeric_limits<float>::max()), -1000000);
    EXPECT_EQ(window.GaugeRow(std::nan("")), -1000000);
    ShowZDepth(sim, false, 9999.0f);
    EXPECT_EQ(window.pnlZAttiva->height(), 0);
    ShowZDepth(sim, true, -std::numeric_limits<float>::max());
    EXPECT_EQ(window.pnlZAttiva->height(), 400);
    EXPECT_EQ(window.pnlZMinLav->y(), 401);

    ResetSimulation(sim);
    EXPECT_EQ(window.pnlZAttiva->height(), 0);
    EXPECT_EQ(window.pnlZMinRap->y(), -1);
    EXPECT_EQ(window.pnlZMinLav->y(), -1);
}

// The check box switches the 3D view through the main window; the view
// buttons work only while it is shown, and each names its view.
TEST(ZDepthWindow, TheSwitchAndTheViewButtons)
{
    TNcSimulation sim;
    TfrmZDepth window(sim);
    std::vector<bool> asked;
    bool available = true;
    window.SwitchView3D = [&](bool on) {
        asked.push_back(on);
        return on && available;
    };
    std::vector<TViewPreset> chosen;
    window.PresetChosen = [&](TViewPreset preset) { chosen.push_back(preset); };
    // No language file here: showing the window says so to no one.
    SetLanguageMessageSink([](const QString&) {});
    window.show();
    SetLanguageMessageSink(nullptr);

    QTest::mouseClick(window.chk3dview, Qt::LeftButton, {}, QPoint(4, window.chk3dview->height() / 2));
    EXPECT_TRUE(window.chk3dview->isChecked());
    EXPECT_EQ(asked, std::vector<bool>{true});
    for (QToolButton* button : {window.sbtTopView, window.sbtFrontView, window.sbtSideView, window.sbtIsoView}) {
        EXPECT_TRUE(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
    }
    const std::vector<TViewPreset> all{TViewPreset::Top, TViewPreset::Front, TViewPreset::Side, TViewPreset::Iso};
    EXPECT_EQ(chosen, all);

    window.modo3d(false);
    EXPECT_FALSE(window.sbtIsoView->isEnabled());
    QTest::mouseClick(window.sbtIsoView, Qt::LeftButton);
    EXPECT_EQ(chosen.size(), 4u);

    // Where the view cannot be shown, the box does not stay checked.
    QTest::mouseClick(window.chk3dview, Qt::LeftButton, {}, QPoint(4, window.chk3dview->height() / 2));
    EXPECT_FALSE(window.chk3dview->isChecked());
    available = false;
    QTest::mouseClick(window.chk3dview, Qt::LeftButton, {}, QPoint(4, window.chk3dview->height() / 2));
    EXPECT_FALSE(window.chk3dview->isChecked());
    EXPECT_FALSE(window.sbtTopView->isEnabled());
    const std::vector<bool> calls{true, false, false, true};
    EXPECT_EQ(asked, calls);
}

using ZDepthWindowInTheProgram = ProgramTestFolder;

// The program creates the window after the tool dialog; the NC page shows it
// and follows its check box; leaving the CNC pages hides it and ends the 3D
// mode. This platform has no OpenGL: the switch says so and stays off.
TEST_F(ZDepthWindowInTheProgram, ShownWithTheNcPageAndHiddenAfter)
{
    TfrmMain& frm = Start();
    frm.show();
    ASSERT_NE(frmZDepth, nullptr);
    EXPECT_EQ(frmZDepth->parentWidget(), &frm);
    EXPECT_FALSE(frmZDepth->isVisible());

    frm.VisPagine({46});
    frm.SetActivePage(46);
    EXPECT_TRUE(frmZDepth->isVisible());
    EXPECT_EQ(frmZDepth->windowTitle(), QStringLiteral("Z Depth")) << "translated from the language file";
    EXPECT_EQ(frmZDepth->chk3dview->text(), QStringLiteral("3D view"));
    EXPECT_FALSE(frm.View3DMode);
    EXPECT_FALSE(frmZDepth->sbtIsoView->isEnabled()) << "the 3D mode is off";

    QTest::mouseClick(frmZDepth->chk3dview, Qt::LeftButton, {}, QPoint(4, frmZDepth->chk3dview->height() / 2));
    EXPECT_FALSE(frm.View3DMode);
    EXPECT_FALSE(frmZDepth->chk3dview->isChecked());
    EXPECT_TRUE(frm.StatusText().contains(QStringLiteral("not available"))) << frm.StatusText().toStdString();

    frm.VisPagine({41});
    EXPECT_FALSE(frmZDepth->isVisible());
    Stop();
    EXPECT_EQ(frmZDepth, nullptr);
}
