#include <filesystem>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <QToolButton>

#include "ProgramTestFolder.h"
#include "WidgetInput.h"
#include "app/ui/controls/ColorBox.h"
#include "app/ui/controls/MruBar.h"
#include "app/ui/glyphs/Glyphs.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/ui/CADViewport.h"

namespace {

class SettingsPage : public ProgramTestFolder {
protected:
    // Start-up in millimetres with a light grey view, then the settings page open.
    TfrmMain& OpenSettings()
    {
        WriteSettings("[Color]\nBackGround=12632256\n[Default]\nCornerRound=2.5\nGridX=5\n");
        TfrmMain& frm = Start();
        frm.sbtSetting->click();
        return frm;
    }
};

// Chooses a colour in the box as the user does.
void Choose(TColorBox& box, TColor color)
{
    const int index = box.findData(QVariant::fromValue<qint32>(color));
    ASSERT_GE(index, 0);
    box.setCurrentIndex(index);
    emit box.activated(index);
}

} // namespace

TEST_F(SettingsPage, OpensAloneWithTheColoursInUse)
{
    TfrmMain& frm = OpenSettings();
    CommandCode = 7;
    frm.sbtSetting->click();
    EXPECT_EQ(CommandCode, kCommandNone);
    EXPECT_TRUE(frm.PagesVisible());
    EXPECT_EQ(frm.ShownPages(), std::vector<int>{12});
    EXPECT_EQ(frm.StatusText(), PageTexts[12]);
    EXPECT_EQ(frm.ColorBoxForm->Selected(), kClWindow);
    EXPECT_EQ(frm.ColorBoxBackground->Selected(), 0xC0C0C0);
    EXPECT_EQ(frm.ColorBoxDefLayers->Selected(), 0x00FF00);
    EXPECT_EQ(frm.ColorBoxGrid->Selected(), 0x800000);
    EXPECT_EQ(frm.nol_cboLang->currentText(), QStringLiteral("english"));

    frm.sbtSettingsClose->click();
    EXPECT_FALSE(frm.PagesVisible());
}

TEST_F(SettingsPage, ColoursGoWhereTheyBelong)
{
    TfrmMain& frm = OpenSettings();
    const TCADViewportCore& view = frm.VistaGrafica->Core();
    EXPECT_EQ(LayerContrastColor, 0xA4A0A0);

    // Light grey chosen here gets the darker grey, any other colour light grey.
    Choose(*frm.ColorBoxBackground, 0xC0C0C0);
    EXPECT_EQ(LayerContrastColor, 0x808080);
    Choose(*frm.ColorBoxBackground, 0x000000);
    EXPECT_EQ(view.BackGroundColor(), 0x000000);
    EXPECT_EQ(LayerContrastColor, 0xC0C0C0);

    Choose(*frm.ColorBoxForm, 0x00FFFF);
    EXPECT_EQ(FormColor, 0x00FFFF);
    EXPECT_EQ(frm.WindowColor(), 0x00FFFF);
    EXPECT_EQ(frm.pnlCmd->palette().color(QPalette::Window), QColor(255, 255, 0));
    EXPECT_EQ(frm.ShownPages(), std::vector<int>{12});

    Choose(*frm.ColorBoxDefLayers, 0x0000FF);
    EXPECT_EQ(DefaultLayerColor, 0x0000FF);
    EXPECT_EQ(frm.LocalCad().Layers().GetLayer(200).Pen().Color, 0x0000FF);

    Choose(*frm.ColorBoxGrid, 0x008000);
    EXPECT_EQ(view.GridColor(), 0x008000);

    // A colour not in the list is added so that the box can show it.
    frm.ColorBoxForm->SetSelected(0x123456);
    EXPECT_EQ(frm.ColorBoxForm->Selected(), 0x123456);
    EXPECT_EQ(frm.ColorBoxForm->currentText(), QStringLiteral("#563412"));
}

TEST_F(SettingsPage, UnitsChangeFormatAndTolerancesOnly)
{
    TfrmMain& frm = OpenSettings();
    frm.cboUnits->setCurrentIndex(1);
    emit frm.cboUnits->activated(1);
    EXPECT_EQ(UnitsMode, 1);
    EXPECT_EQ(DisplayFormat, "%0.4f");
    EXPECT_DOUBLE_EQ(ChainTol, 0.0001);
    EXPECT_DOUBLE_EQ(SystemTol, 0.000005);
    EXPECT_EQ(frm.txtChainTol->text(), QStringLiteral("0.00010"));
    EXPECT_EQ(frm.txtSystemTol->text(), QStringLiteral("0.000005"));
    EXPECT_DOUBLE_EQ(CornerRound, 2.5);
    EXPECT_EQ(frm.txtCornerRound->text(), QStringLiteral("2.5"));
    EXPECT_FLOAT_EQ(frm.VistaGrafica->Core().GridDeltaX(), 5.0f);
    EXPECT_FLOAT_EQ(frm.LocalPrg().XSnap, 10.0f);
}

TEST_F(SettingsPage, TypedTolerancesThatAreNoNumberChangeNothing)
{
    TfrmMain& frm = OpenSettings();
    const struct {
        QLineEdit* edit;
        double* global;
    } fields[] = {{frm.txtChainTol, &ChainTol}, {frm.txtSystemTol, &SystemTol}, {frm.txtCornerRound, &CornerRound}};
    for (const auto& field : fields) {
        SCOPED_TRACE(field.edit->objectName().toStdString());
        field.edit->clear();
        field.edit->insert(QStringLiteral("0.25"));
        EXPECT_DOUBLE_EQ(*field.global, 0.25);
        for (const char* text : {"", ".", "1.2.3"}) {
            field.edit->selectAll();
            field.edit->del();
            field.edit->insert(QString::fromLatin1(text));
            EXPECT_DOUBLE_EQ(*field.global, 0.25) << '"' << text << '"';
        }
    }
}

TEST_F(SettingsPage, ResetPutsBackTheDesignedColoursAndTheUnitsDefaults)
{
    TfrmMain& frm = OpenSettings();
    Choose(*frm.ColorBoxForm, 0x00FFFF);
    frm.cboUnits->setCurrentIndex(1);
    frm.cboUnitsChange();
    ChainTol = 0.5;
    SystemTol = 0.5;
    frm.VistaGrafica->Core().SetGridColor(0x000000);

    frm.sbtReset->click();
    const TCADViewportCore& view = frm.VistaGrafica->Core();
    EXPECT_EQ(frm.WindowColor(), 0xFFC0C0);
    EXPECT_EQ(frm.ColorBoxForm->Selected(), 0xFFC0C0);
    EXPECT_EQ(FormColor, 0x00FFFF) << "the reset leaves the window colour global";
    EXPECT_EQ(LayerContrastColor, 0xA4A0A0) << "and the contrast colour";
    EXPECT_EQ(view.BackGroundColor(), 0x808080);
    EXPECT_EQ(view.GridColor(), 0x800000);
    EXPECT_EQ(DefaultLayerColor, 0x00FF00);
    EXPECT_EQ(frm.ColorBoxDefLayers->Selected(), 0x00FF00);
    EXPECT_EQ(frm.LocalCad().DefaultLayersColor(), 0x00FF00);
    EXPECT_DOUBLE_EQ(ChainTol, 0.0001);
    EXPECT_DOUBLE_EQ(SystemTol, 0.000005);
    EXPECT_DOUBLE_EQ(CornerRound, 1.0);
    EXPECT_EQ(frm.txtCornerRound->text(), QStringLiteral("1.000"));
    EXPECT_EQ(frm.txtChainTol->text(), QStringLiteral("0.00010"));
}

TEST_F(SettingsPage, TheRecentlyUsedBarFollowsItsCheckBox)
{
    TfrmMain& frm = OpenSettings();
    frm.chkMRUvisible->click();
    EXPECT_TRUE(frm.pnlMRU->isHidden());
    EXPECT_FALSE(MruBarEnabled);
    frm.VisPagine({12});
    EXPECT_TRUE(frm.pnlMRU->isHidden()) << "page changes no longer bring it back";
    frm.chkMRUvisible->click();
    EXPECT_FALSE(frm.pnlMRU->isHidden());
    EXPECT_TRUE(MruBarEnabled);
}

TEST_F(SettingsPage, ALanguageChangeTranslatesReloadsAndResetsTheSplitButtons)
{
    WriteFile(QStringLiteral("language/Italiano.lng"),
        "[String]\n"
        "422=Impostazioni\n"
        "451=Chiudere Kestro?\n"
        "[frmMain]\n"
        "chkMRUvisible.Caption=Comandi recenti\n"
        "lsbLine.Hint=Linea\n");
    TfrmMain& frm = OpenSettings();
    ASSERT_EQ(frm.nol_cboLang->count(), 2);
    frm.lsbArc->setIcon(CommandGlyphIcon(5));
    frm.lsbDelete->setIcon(CommandGlyphIcon(21));

    const int italian = frm.nol_cboLang->findText(QStringLiteral("Italiano"));
    ASSERT_GE(italian, 0);
    frm.nol_cboLang->setCurrentIndex(italian);
    emit frm.nol_cboLang->activated(italian);

    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(LanguageName, "Italiano");
    EXPECT_EQ(frm.chkMRUvisible->text(), QStringLiteral("Comandi recenti"));
    EXPECT_EQ(frm.lsbLine->toolTip(), QStringLiteral("Linea"));
    EXPECT_EQ(PageTexts[12], QStringLiteral("Impostazioni"));
    EXPECT_TRUE(PageTexts[0].isEmpty()) << "texts the new file lacks are empty";
    EXPECT_EQ(IconImage(frm.lsbArc->icon()), IconImage(CommandGlyphIcon(0)));
    EXPECT_EQ(IconImage(frm.lsbDelete->icon()), IconImage(CommandGlyphIcon(19)));

    // The choice is kept at close.
    frm.sbtExitClick();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, QStringLiteral("Chiudere Kestro?"));
    EXPECT_TRUE(ReadFile(QStringLiteral("kestro.ini")).contains("\nLanguage=Italiano\n"));
}

TEST_F(SettingsPage, ALanguageChangeKeepsTheCaptionAndTheCurrentLayer)
{
    TfrmMain& frm = OpenSettings();
    frm.LocalCad().CurrentLayer = 4;
    frm.CurrLayerInfo();
    const QString layer = frm.sbtLayer->text();
    ASSERT_TRUE(layer.endsWith(QStringLiteral(" 4")));
    const QString caption = frm.windowTitle();
    ASSERT_EQ(caption.toStdString(), BaseTitle);

    const int english = frm.nol_cboLang->findText(QStringLiteral("english"));
    ASSERT_GE(english, 0);
    frm.nol_cboLang->setCurrentIndex(english);
    emit frm.nol_cboLang->activated(english);
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(frm.windowTitle().toStdString(), caption.toStdString()) << "the caption shows the version";
    EXPECT_EQ(frm.sbtLayer->text().toStdString(), layer.toStdString()) << "the current layer keeps its number";
}

TEST_F(SettingsPage, ALanguageWhoseFileIsGoneIsReportedAndLeavesTheTexts)
{
    TfrmMain& frm = OpenSettings();
    frm.nol_cboLang->addItem(QStringLiteral("gone"));
    const int gone = frm.nol_cboLang->count() - 1;
    frm.nol_cboLang->setCurrentIndex(gone);
    emit frm.nol_cboLang->activated(gone);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_TRUE(Boxes[0].Text.startsWith(QStringLiteral("Language file not found!")));
    EXPECT_EQ(frm.lsbLine->toolTip(), QStringLiteral("Line by end points")) << "the English texts stay";
    EXPECT_FALSE(PageTexts[12].isEmpty()) << "the built-in English messages serve";
}

TEST_F(SettingsPage, EveryDesignedControlFitsOnThePage)
{
    // The designed texts: no language file to replace them.
    WriteSettings("[Default]\nLanguage=none\n");
    TfrmMain& frm = Start();
    frm.sbtSetting->click();
    frm.resize(TfrmMain::kDesignedClientWidth, TfrmMain::kDesignedClientHeight);
    frm.show();
    QApplication::processEvents();
    QWidget* page = frm.Page(12);
    const QRect inside = page->rect();
    int shown = 0;
    for (QWidget* control : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control->isHidden())
            continue;
        ++shown;
        const QRect area(control->mapTo(page, QPoint(0, 0)), control->size());
        EXPECT_TRUE(inside.contains(area)) << control->objectName().toStdString();
        EXPECT_GE(control->width(), control->minimumSizeHint().width()) << control->objectName().toStdString();
    }
    EXPECT_GE(shown, 15);

    const std::filesystem::path folder(KESTRO_TEST_OUTPUT_DIR);
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(frm.grab().save(QString::fromStdString((folder / "SettingsPage.png").string())));
}
