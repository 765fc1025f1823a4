// The settings page of the main window (page 12): the colours of the window,
// the view, the layers and the grid; the units and the CAM tolerances; the
// recently-used bar; the language.

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/CommandCode.h"
#include "app/SettingsFile.h"
#include "app/Language.h"
#include "app/TranslateForms.h"
#include "app/UnitsMode.h"
#include "app/ui/controls/ColorBox.h"
#include "app/ui/controls/MruBar.h"
#include "app/ui/controls/NumericKeyFilter.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/ui/CADViewport.h"
#include "platform/IniFile.h"

namespace {

constexpr int kSettingsPage = 12;
// The view background whose contrast colour is the darker grey.
constexpr TColor kLightGrey = 0xC0C0C0;

QLabel* AddLabel(QWidget* page, const char* name, const QString& text)
{
    auto* label = new QLabel(text, page);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

template <typename TControl>
TControl* Named(TControl* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QToolButton* AddTextButton(QWidget* page, const char* name, const QString& text)
{
    auto* button = Named(new QToolButton(page), name);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// The typed text as a number; none when it is not one.
std::optional<double> TypedNumber(const QLineEdit& edit)
{
    return ParseIniFloat(edit.text().toStdString());
}

} // namespace

void TfrmMain::CreateSettingsPage()
{
    QWidget* page = Page(kSettingsPage);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(6, 6, 6, 6);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    column->addLayout(grid);

    int row = 0;
    const auto addRow = [&](QLabel* label, QWidget* control) {
        grid->addWidget(label, row, 0);
        grid->addWidget(control, row, 1);
        ++row;
    };
    ColorBoxForm = Named(new TColorBox(page), "ColorBoxForm");
    addRow(AddLabel(page, "lblColorForm", QStringLiteral("Window:")), ColorBoxForm);
    ColorBoxBackground = Named(new TColorBox(page), "ColorBoxBackground");
    addRow(AddLabel(page, "lblColorBackground", QStringLiteral("Background:")), ColorBoxBackground);
    ColorBoxDefLayers = Named(new TColorBox(page), "ColorBoxDefLayers");
    addRow(AddLabel(page, "lblColorDefLayers", QStringLiteral("Layers:")), ColorBoxDefLayers);
    ColorBoxGrid = Named(new TColorBox(page), "ColorBoxGrid");
    addRow(AddLabel(page, "lblColorGrid", QStringLiteral("Grid:")), ColorBoxGrid);

    cboUnits = Named(new QComboBox(page), "cboUnits");
    cboUnits->addItems({QStringLiteral("mm"), QStringLiteral("inch")});
    addRow(AddLabel(page, "lblUnits", QStringLiteral("Units:")), cboUnits);
    lblChainTol = AddLabel(page, "lblChainTol", QStringLiteral("Chain tolerance:"));
    txtChainTol = Named(new QLineEdit(page), "txtChainTol");
    addRow(lblChainTol, txtChainTol);
    lblSystemTol = AddLabel(page, "lblSystemTol", QStringLiteral("System tolerance:"));
    txtSystemTol = Named(new QLineEdit(page), "txtSystemTol");
    addRow(lblSystemTol, txtSystemTol);
    txtCornerRound = Named(new QLineEdit(page), "txtCornerRound");
    addRow(AddLabel(page, "lblCornerRound", QStringLiteral("Corner round:")), txtCornerRound);
    for (QLineEdit* edit : {txtChainTol, txtSystemTol, txtCornerRound})
        InstallKeyFilter(*edit, SoloNumeriPos);

    nol_cboLang = Named(new QComboBox(page), "nol_cboLang");
    addRow(AddLabel(page, "lblLanguage", QStringLiteral("Language:")), nol_cboLang);

    chkMRUvisible = Named(new QCheckBox(QStringLiteral("Enable MRU toolbar"), page), "chkMRUvisible");
    chkMRUvisible->setChecked(true);
    column->addWidget(chkMRUvisible);

    auto* buttons = new QHBoxLayout;
    sbtReset = AddTextButton(page, "sbtReset", QStringLiteral("Reset def."));
    sbtSettingsClose = AddTextButton(page, "sbtSettingsClose", QStringLiteral("Close"));
    buttons->addWidget(sbtReset);
    buttons->addStretch();
    buttons->addWidget(sbtSettingsClose);
    column->addLayout(buttons);
    column->addStretch();

    // Only what the user does reports a change; the program fills the
    // controls itself without running their handlers.
    connect(ColorBoxForm, &QComboBox::activated, this, &TfrmMain::ColorBoxFormChange);
    connect(ColorBoxBackground, &QComboBox::activated, this, &TfrmMain::ColorBoxBackgroundChange);
    connect(ColorBoxDefLayers, &QComboBox::activated, this, &TfrmMain::ColorBoxDefLayersChange);
    connect(ColorBoxGrid, &QComboBox::activated, this, &TfrmMain::ColorBoxGridChange);
    connect(cboUnits, &QComboBox::activated, this, &TfrmMain::cboUnitsChange);
    connect(txtChainTol, &QLineEdit::textEdited, this, &TfrmMain::txtChainTolChange);
    connect(txtSystemTol, &QLineEdit::textEdited, this, &TfrmMain::txtSystemTolChange);
    connect(txtCornerRound, &QLineEdit::textEdited, this, &TfrmMain::txtCornerRoundChange);
    connect(chkMRUvisible, &QCheckBox::clicked, this, &TfrmMain::chkMRUvisibleClick);
    connect(nol_cboLang, &QComboBox::activated, this, &TfrmMain::nol_cboLangChange);
    connect(sbtReset, &QToolButton::clicked, this, &TfrmMain::sbtResetClick);
    connect(sbtSettingsClose, &QToolButton::clicked, this, &TfrmMain::SpeedButton6Click);
    connect(sbtSetting, &QToolButton::clicked, this, &TfrmMain::sbtSettingClick);
}

void TfrmMain::sbtSettingClick()
{
    CommandCode = kCommandNone;
    DirLng();
    VisPagine({kSettingsPage});
    const TCADViewportCore& view = VistaGrafica->Core();
    ColorBoxForm->SetSelected(WindowColorValue);
    ColorBoxBackground->SetSelected(view.BackGroundColor());
    ColorBoxDefLayers->SetSelected(LocalCad().DefaultLayersColor());
    ColorBoxGrid->SetSelected(view.GridColor());
}

void TfrmMain::ColorBoxFormChange()
{
    FormColor = ColorBoxForm->Selected();
    ColoraForm(FormColor);
    VisPagine({kSettingsPage});
}

void TfrmMain::ColorBoxBackgroundChange()
{
    const TColor color = ColorBoxBackground->Selected();
    VistaGrafica->Core().SetBackGroundColor(color);
    SetView3DBackground(color);
    // Chosen here, light grey gets the darker grey; at start it gets medium grey.
    LayerContrastColor = color == kLightGrey ? 0x808080 : kLightGrey;
}

void TfrmMain::ColorBoxDefLayersChange()
{
    DefaultLayerColor = ColorBoxDefLayers->Selected();
    LocalCad().SetDefaultLayersColor(DefaultLayerColor);
}

void TfrmMain::ColorBoxGridChange()
{
    VistaGrafica->Core().SetGridColor(ColorBoxGrid->Selected());
}

void TfrmMain::ShowTolerances()
{
    txtSystemTol->setText(QString::number(SystemTol, 'f', 6));
    txtChainTol->setText(QString::number(ChainTol, 'f', 5));
}

void TfrmMain::cboUnitsChange()
{
    // Drawings, the grid, the snap steps and CornerRound stay as they are:
    // only what is shown and the tolerances follow the units.
    ApplyUnitsMode(cboUnits->currentIndex() == 1 ? 1 : 0);
    VistaGrafica->Core().Repaint();
    ShowTolerances();
}

void TfrmMain::sbtResetClick()
{
    constexpr TColor kResetWindowColor = 0xFFC0C0;
    ColoraForm(kResetWindowColor);
    ColorBoxForm->SetSelected(kResetWindowColor);
    VistaGrafica->Core().SetBackGroundColor(0x808080);
    DefaultLayerColor = kResetLayerColor;
    LocalCad().SetDefaultLayersColor(kResetLayerColor);
    ColorBoxDefLayers->SetSelected(kResetLayerColor);
    VistaGrafica->Core().SetGridColor(0x800000);
    const TUnitsModeDefaults& defaults = UnitsModeDefaults(UnitsMode);
    ChainTol = defaults.ChainTol;
    SystemTol = defaults.SystemTol;
    CornerRound = 1.0;
    txtCornerRound->setText(QString::number(CornerRound, 'f', 3));
    ShowTolerances();
}

void TfrmMain::txtChainTolChange()
{
    if (const std::optional<double> value = TypedNumber(*txtChainTol))
        ChainTol = *value;
}

void TfrmMain::txtSystemTolChange()
{
    if (const std::optional<double> value = TypedNumber(*txtSystemTol))
        SystemTol = *value;
}

void TfrmMain::txtCornerRoundChange()
{
    if (const std::optional<double> value = TypedNumber(*txtCornerRound))
        CornerRound = *value;
}

void TfrmMain::chkMRUvisibleClick()
{
    pnlMRU->setVisible(chkMRUvisible->isChecked());
    MruBarEnabled = chkMRUvisible->isChecked();
}

void TfrmMain::DirLng()
{
    nol_cboLang->clear();
    nol_cboLang->addItems(LanguageNames());
    // The settings may spell the name in another case than the file.
    nol_cboLang->setCurrentIndex(nol_cboLang->findText(QString::fromStdString(LanguageName), Qt::MatchFixedString));
}

void TfrmMain::nol_cboLangChange()
{
    const QString language = nol_cboLang->currentText();
    LanguageFile.reset();
    LanguageFile = OpenLanguageFile(QStringLiteral("language/") + language);
    LanguageName = language.toStdString();
    TranslateForms({this}, LanguageFile.get());
    InizializzaCbo();
    LoadMessages();
    // A split button may show the last command chosen from its menu.
    ResetSplitButtons();
}

void TfrmMain::SpeedButton6Click()
{
    VisPagine({kPagesHide});
    AbilitaPnl(true, true, true, true);
    LocalPrg().SendUserEvent(CADPRG_CANCEL);
}
