// The main window's start-up and shutdown: the creation steps after the
// controls exist, the values of the settings file, and the question, the
// settings write and the release of what the program holds when it closes.

#include <charconv>
#include <cmath>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QToolButton>

#include "app/DeletedEntities.h"
#include "app/Language.h"
#include "app/LanguageMessages.h"
#include "app/NumericText.h"
#include "app/TranslateForms.h"
#include "app/UnitsMode.h"
#include "app/ui/ApplicationMessageBox.h"
#include "app/ui/controls/MruBar.h"
#include "app/ui/controls/XPMenu.h"
#include "app/ui/frmMain.h"
#include "app/ui/glyphs/Glyphs.h"
#include "cad/drawing/BlockLibrary.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/ui/CADViewport.h"
#include "cad/ui/ScreenCursors.h"
#include "cam/nc/PostSettings.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/VersionInfo.h"

namespace {

// The designed place of the window on the screen.
constexpr int kDesignedLeft = 191;
constexpr int kDesignedTop = 113;

// A single-precision value of the view or the engine as the double that
// reads the same, so that 0.1 is written back as "0.1" and not as the
// float's binary expansion.
double AsWrittenDouble(float value)
{
    if (!std::isfinite(value))
        return value;
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double result = value;
    std::from_chars(text, written.ptr, result);
    return result;
}

template <typename TControl>
TControl* FindNamed(const QObject& owner, const char* name)
{
    return owner.findChild<TControl*>(QString::fromLatin1(name));
}

// The help menu, a menu of its own or the submenu of a menu item.
QMenu* HelpMenu(const QObject& owner)
{
    if (auto* menu = FindNamed<QMenu>(owner, "mnuAbout"))
        return menu;
    const auto* item = FindNamed<QAction>(owner, "mnuAbout");
    return item != nullptr ? item->menu() : nullptr;
}

} // namespace

void TfrmMain::FormCreate()
{
    // Numbers in files and edits are read and written without the locale
    // everywhere in the program, so there is no decimal separator to set.

    // The block library; a damaged one is reported and start-up goes on.
    const QString library = ProgramFolder() + QLatin1Char('/') + QString::fromLatin1(BlockLibraryFileName);
    if (QFileInfo::exists(library))
        LoadBlockLibraryFile(LocalCad(), library.toStdString());

    // The designed place; the size and key preview are the frame's.
    move(kDesignedLeft, kDesignedTop);

    // The program's own cursors.
    InstallScreenCursors();

    // Where diagnostics would be written.
    LogPath = (ProgramFolder() + QStringLiteral("/kestro_log.log")).toStdString();

    // The settings file.
    StartSettings = ReadSettingsFile(SettingsFilePath());
    ApplySettings(StartSettings);

    // The language.
    OpenLanguage(LanguageName);
    LoadMessages();
    TranslateForms({this}, LanguageFile.get());
    InizializzaCbo();

    // The post the settings name, so that no NC word comes from a post that
    // was never loaded; a missing or unreadable one is reported and leaves the defaults.
    FillPostNames();
    LoadNamedPost();

    // The view: painted on this thread, square units, the first window of the units.
    TCADViewportCore& view = VistaGrafica->Core();
    view.SetUsePaintingThread(false);
    view.SetAspectRatio(1.0f);
    const TUnitsModeDefaults& units = UnitsModeDefaults(UnitsMode);
    view.ZoomWindow(MakeRect2D(static_cast<float>(units.ViewLeft), static_cast<float>(units.ViewBottom),
        static_cast<float>(units.ViewRight), static_cast<float>(units.ViewTop)));

    // The engine: no cross-hair, no grid snap, no ortho mode.
    LocalPrg().SetShowCursorCross(false);
    LocalPrg().UseSnap = false;
    LocalPrg().UseOrto = false;
    if (auto* ortho = FindNamed<QAction>(*this, "mnuOrtho"))
        ortho->setChecked(false);
    sbtUseOrtho->setChecked(false);
    // The placement page shows the raster origin, which starts at 0.
    for (const char* name : {"txtOriginX", "txtOriginY"})
        if (auto* origin = FindNamed<QLineEdit>(*this, name))
            origin->setText(formatta(0.0f));
    LocalCad().CurrentLayer = 0;
    CurrLayerInfo();

    // No page until a command opens one.
    PageControl1->hide();

    // The caption, which opening a file extends.
    setWindowTitle(VersionInfoValue(QStringLiteral("ProductName")) + QStringLiteral(" v") + ReduceFv(6));
    BaseTitle = windowTitle().toStdString();

    // The temporary folder keeps its separator, since file names are
    // appended to it.
    TempDir = (QDir::tempPath() + QLatin1Char('/')).toStdString();
    DeletedEntities = std::make_unique<std::vector<TDeletedEntityRec>>();

    // The tolerances are changed only through the units, the reset and the
    // settings file.
    for (QWidget* control : std::initializer_list<QWidget*>{txtChainTol, txtSystemTol, lblChainTol, lblSystemTol})
        control->hide();

    // The tutorial documents are not shipped, so their submenu, the help
    // menu's second item, stays out of sight.
    if (QMenu* help = HelpMenu(*this); help != nullptr && help->actions().size() > 1)
        help->actions().at(1)->setVisible(false);
}

void TfrmMain::ApplySettings(const TSettingsWindowValues& values)
{
    TCADViewportCore& view = VistaGrafica->Core();
    ColoraForm(values.WindowColor);
    view.SetBackGroundColor(values.BackgroundColor);
    SetView3DBackground(values.BackgroundColor);
    LocalCad().SetDefaultLayersColor(DefaultLayerColor);
    view.SetGridColor(values.GridColor);

    cboUnits->setCurrentIndex(UnitsMode);
    ShowTolerances();
    if (auto* rapid = FindNamed<QLineEdit>(*this, "txtRapidFeedrate"))
        rapid->setText(QString::fromStdString(values.RapidFeedrate));
    txtCornerRound->setText(QString::number(CornerRound, 'f', 1));
    view.SetShowGrid(values.ShowGrid);
    sbtGridOnOff->setChecked(values.ShowGrid);
    view.SetShowAssi(values.ShowAxes);
    sbtAxisOnOff->setChecked(values.ShowAxes);
    cboCCDirChange();
    view.SetGridDeltaX(static_cast<float>(values.GridDeltaX));
    view.SetGridDeltaY(static_cast<float>(values.GridDeltaY));
    LocalPrg().XSnap = static_cast<float>(values.SnapX);
    LocalPrg().YSnap = static_cast<float>(values.SnapY);
    pnlMRU->setVisible(values.MruVisible);
    chkMRUvisible->setChecked(values.MruVisible);
    pnlMRU->move(values.MruLeft, values.MruTop);
}

TSettingsWindowValues TfrmMain::SettingsWindowValues() const
{
    const TCADViewportCore& view = VistaGrafica->Core();
    TSettingsWindowValues values = StartSettings;
    values.WindowColor = WindowColorValue;
    values.BackgroundColor = view.BackGroundColor();
    values.GridColor = view.GridColor();
    values.ShowGrid = view.ShowGrid();
    values.ShowAxes = view.ShowAssi();
    values.GridDeltaX = AsWrittenDouble(view.GridDeltaX());
    values.GridDeltaY = AsWrittenDouble(view.GridDeltaY());
    values.SnapX = AsWrittenDouble(LocalPrgValue->XSnap);
    values.SnapY = AsWrittenDouble(LocalPrgValue->YSnap);
    if (const auto* rapid = FindNamed<QLineEdit>(*this, "txtRapidFeedrate"))
        values.RapidFeedrate = rapid->text().toStdString();
    values.MruVisible = !pnlMRU->isHidden();
    values.MruLeft = pnlMRU->x();
    values.MruTop = pnlMRU->y();
    return values;
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (FormClose() == TCloseAction::Free)
        event->accept();
    else
        event->ignore();
}

TfrmMain::TCloseAction TfrmMain::FormClose()
{
    const QString caption = GetLangString(kMsgBoxCaption);
    if (ApplicationMessageBox(GetLangString(kMsgConfirmClose), caption, kMbYesNo + kMbIconWarning) != kIdYes)
        return TCloseAction::None;
    FreeRasters();
    // The user's answer stands even when the settings cannot be kept.
    if (const std::optional<QString> failure = WriteSettingsFile(SettingsFilePath(), SettingsWindowValues()))
        ApplicationMessageBox(*failure, caption, kMbOk + kMbIconWarning);
    DeletedEntities.reset();
    ClearChainsOrDrillPoints();
    LanguageFile.reset();
    return TCloseAction::Free;
}

void TfrmMain::sbtExitClick()
{
    close();
}

void TfrmMain::ColoraForm(TColor color)
{
    WindowColorValue = color;
    const QColor qtColor = ToQColor(color);
    std::vector<QWidget*> panels{this, pnlCmd, pnlTbr1, pnlTbr2, pnlTbr3, pnlTbr4, nol_pnlStatus1, pnlStatus2,
        pnlStatus3, pnlStatus4, pnlMRU};
    // Panels of the 3D view and the CNC pages, once they exist.
    for (const char* name : {"pnlTbr1Iso", "pnlIso", "pnlTbrIsoView", "pnlLimits", "pnlMRUb"})
        if (auto* panel = FindNamed<QWidget>(*this, name))
            panels.push_back(panel);
    for (QWidget* panel : panels) {
        QPalette colours = panel->palette();
        colours.setColor(QPalette::Window, qtColor);
        panel->setPalette(colours);
        panel->setAutoFillBackground(true);
    }
    XPMenu1->Colors.IconBackColor = color;
}

QString TfrmMain::ReduceFv(int n)
{
    return VersionInfoValue(QStringLiteral("FileVersion")).left(n);
}

void TfrmMain::InizializzaCbo()
{
    // The CNC pages' combos, once those pages exist.
    const std::pair<const char*, int> defaults[] = {{"cboLeadIn", 0}, {"cboLeadOut", 0}, {"cboCycle", 0}, {"cboPocType", 1}};
    for (const auto& [name, index] : defaults)
        if (auto* combo = FindNamed<QComboBox>(*this, name))
            combo->setCurrentIndex(index);
}

void TfrmMain::ResetSplitButtons()
{
    const std::tuple<QToolButton*, int, void (TfrmMain::*)()> buttons[] = {
        {lsbArc, 0, &TfrmMain::MyCircleCtPtClick},
        {lsbDelete, 19, &TfrmMain::MyDeleteClick},
        {lsbModify, 6, &TfrmMain::MyFilletClick},
        {lsbXform, 13, &TfrmMain::MyTraslaClick},
        {lsbAnalyze, 22, &TfrmMain::MyInfoClick},
    };
    for (const auto& [button, glyph, handler] : buttons) {
        button->setIcon(CommandGlyphIcon(glyph));
        disconnect(button, &QToolButton::clicked, nullptr, nullptr);
        connect(button, &QToolButton::clicked, this, handler);
    }
}
