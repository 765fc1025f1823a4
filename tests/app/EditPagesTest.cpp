#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include "app/ui/frmMain.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/SelectObject.h"
#include "cad/engine/SelectTwoObjects.h"
#include "edit/commands/EditSettings.h"

// What is typed into the editing commands' pages reaches the commands; text
// that is no number leaves the value; the tangent arc's modes show their
// fields and start their selections.
TEST(EditPages, FieldsFeedTheCommandsAndTheArcModesStartTheirSelections)
{
    const TEditSettings saved = EditSettings();
    {
        TfrmMain frm;
        auto* radius = frm.findChild<QLineEdit*>(QStringLiteral("txtRaccordo"));
        auto* length = frm.findChild<QLineEdit*>(QStringLiteral("txtExtLungh"));
        auto* angle = frm.findChild<QSpinBox*>(QStringLiteral("txtLinTanAngle"));
        auto* group = frm.findChild<QGroupBox*>(QStringLiteral("grpArcTan"));
        auto* two = frm.findChild<QRadioButton*>(QStringLiteral("rbtTanTo2"));
        auto* one = frm.findChild<QRadioButton*>(QStringLiteral("rbtTanTo1"));
        ASSERT_TRUE(radius && length && angle && group && two && one);
        ASSERT_TRUE(frm.findChild<QLineEdit*>(QStringLiteral("txtLenTanAng")));
        ASSERT_TRUE(frm.findChild<QLineEdit*>(QStringLiteral("txtArcTanRadius")));
        ASSERT_TRUE(frm.findChild<QCheckBox*>(QStringLiteral("chkArcTanTrim")));
        EXPECT_EQ(radius->text(), QStringLiteral("10"));
        EXPECT_EQ(length->text(), QStringLiteral("1"));

        radius->setText(QStringLiteral("2.5"));
        EXPECT_DOUBLE_EQ(EditSettings().FilletRadius, 2.5);
        radius->setText(QStringLiteral("2,5x"));
        EXPECT_DOUBLE_EQ(EditSettings().FilletRadius, 2.5);
        length->setText(QStringLiteral("-3"));
        EXPECT_DOUBLE_EQ(EditSettings().ExtendLength, -3.0);
        EXPECT_EQ(angle->minimum(), -360);
        EXPECT_EQ(angle->singleStep(), 30);
        angle->stepUp();
        EXPECT_DOUBLE_EQ(EditSettings().TanLineAngle, 30.0);

        EXPECT_TRUE(group->isHidden());
        two->click();
        EXPECT_FALSE(group->isHidden());
        EXPECT_TRUE(EditSettings().ArcTanTwoEntities);
        EXPECT_TRUE(dynamic_cast<TCAD2DSeleziona2Ogg*>(frm.LocalPrg().CurrentState()));
        one->click();
        EXPECT_TRUE(group->isHidden());
        EXPECT_TRUE(dynamic_cast<TCAD2DSelectObject*>(frm.LocalPrg().CurrentState()));
        frm.LocalPrg().StopOperation();
    }
    EditSettings() = saved;
}
