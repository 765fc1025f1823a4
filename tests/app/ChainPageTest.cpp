// The chain page driven as the user drives it: a click on the view picks a
// chain, which is drawn with its arrows; the scroll bar moves its start;
// Unselect takes it away; in drilling mode clicks pick drill points.

#include <filesystem>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include "WidgetInput.h"
#include "app/Language.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/geometry/VectorHelpers.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/ui/CADViewport.h"
#include "cam/chains/Chains.h"

namespace {

// Leaves the chain list and the machining type as the test found them.
class TChainListGuard {
public:
    ~TChainListGuard()
    {
        ChainList = TChainList();
        MachiningType = TMachiningType::Contour;
    }
};

void ClickWorld(TfrmMain& frm, float x, float y)
{
    const TPoint2D at = frm.VistaGrafica->Core2D().WorldToScreen(MakePoint2D(x, y));
    Click(frm.VistaGrafica, QPoint(static_cast<int>(at.X), static_cast<int>(at.Y)));
    QApplication::processEvents();
}

} // namespace

TEST(ChainPage, PickDrawScrollAndUnselect)
{
    const TChainListGuard guard;
    TfrmMain frm;
    TCADViewport2DCore& view = frm.VistaGrafica->Core2D();
    view.SetBackGroundColor(0x808080);
    frm.resize(1000, 700);
    frm.show();
    QApplication::processEvents();
    view.ZoomWindow(MakeRect2D(-20, -20, 120, 120));
    TCADCmp2D& drawing = frm.LocalCad();
    const float sides[][4] = {{0, 0, 100, 0}, {100, 60, 100, 0}, {0, 60, 100, 60}, {0, 0, 0, 60}};
    for (const auto& s : sides)
        drawing.AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(s[0], s[1]), MakePoint2D(s[2], s[3])));
    frm.VisPagine({42});
    frm.cboCCDir->setCurrentIndex(2);

    frm.sbtChain->click();
    ClickWorld(frm, 50, 60);
    ASSERT_EQ(ChainList.Chains.size(), 1u);
    const TChain& chain = ChainList.Chains.front();
    ASSERT_EQ(chain.size(), 4u);
    EXPECT_GT(ChainSignedArea(chain), 0.0);
    EXPECT_TRUE(frm.sbtNextB3->isEnabled());
    EXPECT_TRUE(frm.ScrollBar1->isEnabled());
    EXPECT_EQ(frm.ScrollBar1->maximum(), 3);
    EXPECT_EQ(frm.lblChainInfo->text(), QStringLiteral("1 ") + GetLangString(718));

    // Blue sides and two yellow arrows over the grey view.
    const QImage shot = view.WindowImage();
    const std::filesystem::path folder = std::filesystem::path(KESTRO_TEST_OUTPUT_DIR) / "cam";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(shot.save(QString::fromStdString((folder / "chain-page.png").string())));
    EXPECT_GT(CountColour(shot, QColor(0, 0, 255)), 1500);
    EXPECT_GT(CountColour(shot, QColor(255, 255, 0)), 100);

    // Two steps on make the third element the first.
    const TVect third = StartPoint(chain[2]);
    frm.ScrollBar1->setValue(2);
    EXPECT_TRUE(EqualPoints(StartPoint(ChainList.Chains.front().front()), third));

    frm.sbtDelLastChain->click();
    EXPECT_TRUE(ChainList.Chains.empty());
    EXPECT_FALSE(frm.sbtNextB3->isEnabled());
    EXPECT_FALSE(frm.ScrollBar1->isEnabled());

    // Drilling: a click on a circle takes its centre, once.
    MachiningType = TMachiningType::Drill;
    drawing.AddObject(-1, std::make_unique<TCerchio2D>(0, MakePoint2D(30, 30), MakePoint2D(40, 30)));
    for (int k = 0; k < 2; ++k) {
        frm.sbtChainPt->click();
        ClickWorld(frm, 40, 30);
    }
    ASSERT_EQ(ChainList.DrillPoints.size(), 1u);
    EXPECT_NEAR(ChainList.DrillPoints.front().X, 30.0, 1e-4);
    frm.sbtChainDelPt->click();
    EXPECT_TRUE(ChainList.DrillPoints.empty());
}
