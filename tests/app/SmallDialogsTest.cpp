#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "ProgramTestFolder.h"
#include "WidgetInput.h"
#include "app/ui/frmCoord.h"
#include "app/ui/frmGrid.h"
#include "app/ui/glyphs/Glyphs.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/ui/CADViewport.h"

namespace {

using SmallDialogs = ProgramTestFolder;

// The grid dialog as the user opens it: a right click on the snap button,
// which fills it and shows it modally; act runs while it is open.
void OpenGridDialog(TfrmMain& frm, const std::function<void(TfrmGrid&)>& act)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(frmGrid->isVisible());
        act(*frmGrid);
        ran = true;
        if (frmGrid->isVisible())
            frmGrid->btnCancel->click();
    });
    Click(frm.sbmSnap, {5, 5}, Qt::RightButton);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(frmGrid->isVisible());
}

QImage SnapButtonImage(const TfrmMain& frm)
{
    return IconImage(frm.sbmSnap->icon());
}

} // namespace

TEST_F(SmallDialogs, GridDialogAppliesAtOnceAndCancelPutsEverythingBack)
{
    TfrmMain& frm = Start();
    frm.show();
    TCADViewportCore& view = frm.VistaGrafica->Core();
    TCADPrg2D& engine = frm.LocalPrg();
    view.SetGridSubX(2.0f);
    view.SetGridSubY(2.0f);
    const QImage snapButton = SnapButtonImage(frm);

    OpenGridDialog(frm, [&](TfrmGrid& grid) {
        EXPECT_EQ(frm.StatusText(), PageTexts[11]);
        EXPECT_EQ(grid.nol_cboGridX->currentText(), QStringLiteral("10.000"));
        EXPECT_EQ(grid.nol_cboGridSubY->currentText(), QStringLiteral(" 2.000"));
        EXPECT_EQ(grid.nol_cboXSnap->currentText(), QStringLiteral("10.000"));
        EXPECT_EQ(grid.lblGridX->text(), QStringLiteral("Grid step X:")) << "translated when shown";

        // Linked pairs apply to both axes at once.
        grid.nol_cboGridX->setCurrentIndex(grid.nol_cboGridX->findText(QStringLiteral("2.5")));
        EXPECT_EQ(view.GridDeltaX(), 2.5f);
        EXPECT_EQ(view.GridDeltaY(), 2.5f);
        EXPECT_EQ(grid.nol_cboGridY->currentText(), QStringLiteral("2.5"));
        grid.nol_cboGridSubX->setCurrentText(QStringLiteral("4"));
        EXPECT_EQ(view.GridSubY(), 4.0f);
        grid.chkUnisceSnap->setChecked(false);
        grid.nol_cboXSnap->setCurrentText(QStringLiteral("0.5"));
        EXPECT_EQ(engine.XSnap, 0.5f);
        EXPECT_EQ(engine.YSnap, 10.0f) << "unlinked";

        // Free text that is no number keeps the value applied last.
        grid.nol_cboGridY->setEditText(QStringLiteral("2,5x"));
        EXPECT_EQ(view.GridDeltaX(), 2.5f);
        EXPECT_EQ(view.GridDeltaY(), 2.5f);

        grid.chkShowGrid->click();
        EXPECT_FALSE(view.ShowGrid());
        EXPECT_FALSE(frm.sbtGridOnOff->isChecked());
        grid.chkSnap2Grid->click();
        EXPECT_TRUE(engine.UseSnap);
        EXPECT_TRUE(frm.mnuSnap2Grid2->isChecked());
        EXPECT_NE(SnapButtonImage(frm), snapButton);
        grid.btnCancel->click();
    });
    EXPECT_EQ(view.GridDeltaX(), 10.0f);
    EXPECT_EQ(view.GridDeltaY(), 10.0f);
    EXPECT_EQ(view.GridSubX(), 2.0f);
    EXPECT_EQ(view.GridSubY(), 2.0f);
    EXPECT_EQ(engine.XSnap, 10.0f);
    EXPECT_EQ(engine.YSnap, 10.0f);
    EXPECT_TRUE(view.ShowGrid());
    EXPECT_TRUE(frm.sbtGridOnOff->isChecked()) << "the grid button comes back too";
    EXPECT_FALSE(engine.UseSnap);
    EXPECT_FALSE(frm.mnuSnap2Grid2->isChecked());
    EXPECT_EQ(SnapButtonImage(frm), snapButton);

    // Closed by its frame it puts back as well; OK keeps.
    OpenGridDialog(frm, [&](TfrmGrid& grid) {
        grid.nol_cboGridX->setCurrentText(QStringLiteral("50"));
        grid.close();
    });
    EXPECT_EQ(view.GridDeltaX(), 10.0f);
    OpenGridDialog(frm, [&](TfrmGrid& grid) {
        grid.chkUnisceSnap->setChecked(true);
        grid.nol_cboYSnap->setCurrentText(QStringLiteral("2.5"));
        grid.btnOk->click();
    });
    EXPECT_EQ(engine.XSnap, 2.5f);
    EXPECT_EQ(engine.YSnap, 2.5f);
}

TEST_F(SmallDialogs, CoordinateFieldTakesOneSignInFrontAndOnePoint)
{
    Start();
    ASSERT_NE(frmCoord, nullptr);
    frmCoord->txtCoordX->clear();
    frmCoord->show();
    EXPECT_EQ(frmCoord->windowTitle(), QStringLiteral("Enter coordinate...."));
    EXPECT_TRUE(frmCoord->txtCoordX->hasFocus() || !frmCoord->isActiveWindow());

    const auto type = [](QLineEdit* field, const char* keys) {
        for (const char* key = keys; *key != '\0'; ++key)
            PressKey(field, *key, QString(QLatin1Char(*key)));
    };
    type(frmCoord->txtCoordX, "1-2.3.4x-");
    EXPECT_EQ(frmCoord->txtCoordX->text(), QStringLiteral("12.34"));
    frmCoord->txtCoordX->setCursorPosition(0);
    type(frmCoord->txtCoordX, "-");
    frmCoord->txtCoordX->setCursorPosition(0);
    type(frmCoord->txtCoordX, "5.");
    EXPECT_EQ(frmCoord->txtCoordX->text(), QStringLiteral("-12.34")) << "no digit before the sign";
    type(frmCoord->txtCoordY, "x-");
    EXPECT_EQ(frmCoord->txtCoordY->text(), QStringLiteral("x-")) << "the Y field takes anything";
    frmCoord->btnCancel->click();
    EXPECT_FALSE(frmCoord->isVisible());
}
