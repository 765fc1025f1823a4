#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QSlider>
#include <QSpinBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>

#include "app/CommandCode.h"
#include "app/ui/controls/RealSpinEdit.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADClassRegistration.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/PositionObject.h"
#include "cad/model/ClassRegistry.h"
#include "cad/shapes/Line2D.h"
#include "edit/entities/EntityInfo.h"
#include "edit/ui/FontPreview.h"
#include "support/ImageTestSupport.h"

namespace {

class DrawingPages : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterCADClasses();
        Frm = std::make_unique<TfrmMain>();
        Frm->show();
        Frm->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Frm.get()));
    }
    void TearDown() override
    {
        Frm.reset();
        InfoOutput() = {};
        CADCoreClearRegistry();
    }
    bool Placing() const
    {
        return Frm->LocalPrg().IsBusy() && dynamic_cast<TCAD2DPositionObject*>(Frm->LocalPrg().CurrentState());
    }
    std::unique_ptr<TfrmMain> Frm;
};

} // namespace

// Typing into a parameter field restarts the command with the new size; the
// field keeps the focus, and its caret where it was (or at the end for the
// grid and bolt-circle fields).
TEST_F(DrawingPages, FieldsRestartTheirCommandKeepingFocusAndCaret)
{
    Frm->MyCircleCtDiaClick();
    EXPECT_EQ(CommandCode, 5);
    EXPECT_EQ(Frm->PageControl1->currentWidget()->objectName(), QStringLiteral("tabCircleCtDia"));
    ASSERT_TRUE(Placing());
    TCADState* before = Frm->LocalPrg().CurrentState();

    QLineEdit* diameter = Frm->txtDiamArco;
    diameter->setFocus();
    diameter->setCursorPosition(0);
    QTest::keyClick(diameter, Qt::Key_2);
    EXPECT_EQ(diameter->text(), QStringLiteral("21"));
    EXPECT_TRUE(diameter->hasFocus());
    EXPECT_EQ(diameter->cursorPosition(), 1);
    ASSERT_TRUE(Placing());
    EXPECT_NE(Frm->LocalPrg().CurrentState(), before);
    const auto& param = static_cast<TCAD2DPositionObjectParam&>(*Frm->LocalPrg().CurrentState()->Param());
    EXPECT_NEAR(param.Object->Box.SecondEdge.X - param.Object->Box.FirstEdge.X, 21, 1e-3);
    // A letter is refused by the field and changes nothing.
    QTest::keyClick(diameter, Qt::Key_A);
    EXPECT_EQ(diameter->text(), QStringLiteral("21"));

    Frm->MyPointGridClick();
    QLineEdit* columns = Frm->txtPtGridNx;
    columns->setFocus();
    columns->setCursorPosition(0);
    QTest::keyClick(columns, Qt::Key_1);
    EXPECT_EQ(columns->text(), QStringLiteral("15"));
    EXPECT_TRUE(columns->hasFocus());
    EXPECT_EQ(columns->cursorPosition(), 2);
    EXPECT_EQ(CommandCode, 55);
    EXPECT_TRUE(Placing());
    // Too large a grid is refused with a message and nothing to place.
    columns->selectAll();
    QTest::keyClicks(columns, QStringLiteral("100000"));
    EXPECT_FALSE(Frm->LocalPrg().IsBusy());
    EXPECT_FALSE(Frm->StatusText().isEmpty());

    // The spin edit's arrow restarts the polar line with the new angle.
    Frm->MyLinePolarClick();
    Frm->txtLinePolAngle->UpClick();
    ASSERT_TRUE(Placing());
    const auto& polar = static_cast<TCAD2DPositionObjectParam&>(*Frm->LocalPrg().CurrentState()->Param());
    EXPECT_NEAR(polar.Object->Box.SecondEdge.Y - polar.Object->Box.FirstEdge.Y, 0.5, 1e-4);

    // "Create hole" enables the hole diameter.
    Frm->MyBoltPointClick();
    EXPECT_FALSE(Frm->txtBoltCirDiaHole->isEnabled());
    Frm->chkBoltCircHC->click();
    EXPECT_TRUE(Frm->txtBoltCirDiaHole->isEnabled());
    EXPECT_TRUE(Placing());
}

// The text page engraves the typed text in the chosen font, previews the
// character before the caret, and the information page shows the tree.
TEST_F(DrawingPages, TextPagePreviewAndInformation)
{
    TTrueTypeFont font;
    font.FileName = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    Frm->TTF2Vector->SetFont(font);
    Frm->sbtTTFConvClick();
    EXPECT_EQ(CommandCode, 54);
    EXPECT_EQ(Frm->PageControl1->currentWidget()->objectName(), QStringLiteral("tabFont"));
    Frm->txtDaInserire->setFocus();
    QTest::keyClicks(Frm->txtDaInserire, QStringLiteral("Kg"));
    EXPECT_EQ(Frm->pbxFont->PreviewChar(), static_cast<std::uint32_t>('g'));
    ASSERT_TRUE(Placing());
    QTest::keyClick(Frm->txtDaInserire, Qt::Key_Space);
    EXPECT_EQ(Frm->pbxFont->PreviewChar(), static_cast<std::uint32_t>(' '));
    Frm->txtDaInserire->setCursorPosition(2);
    Frm->txtDaInserireChange();
    Frm->sedApprFont->setValue(6);
    EXPECT_EQ(Frm->tbrApprFont->value(), 6);
    EXPECT_EQ(Frm->TTF2Vector->Precision(), 6);
    QApplication::processEvents();
    const QImage page = Frm->PageControl1->currentWidget()->grab().toImage();
    EXPECT_TRUE(imagetest::SaveTestImage(page, "edit/text-page.png"));
    const QImage preview = Frm->pbxFont->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(preview.width() * preview.height() -
                  imagetest::CountPixels(preview, preview.rect(), qRgb(255, 255, 255)),
              100);

    Frm->LocalCad().AddObject(-1, std::make_unique<TLine2D>(0, MakePoint2D(0, 0), MakePoint2D(1, 1)));
    Frm->MyInfoClick();
    EXPECT_EQ(Frm->PageControl1->currentWidget()->objectName(), QStringLiteral("tabInfo"));
    ASSERT_EQ(Frm->treInfoEnt->topLevelItemCount(), 1);
    EXPECT_GE(Frm->treInfoEnt->topLevelItem(0)->childCount(), 7);
    EXPECT_TRUE(Frm->treInfoEnt->topLevelItem(0)->isExpanded());
}
