#pragma once

// The main window: the 2D view on the left, the four tool bar groups above
// the stack of option pages on the right, and the status row at the bottom.
// Every control carries its designed name as objectName, because the
// language files translate the window control by control and later code
// finds controls by those names. The window owns the drawing and the task
// runner that works on it through the 2D view.
//
// Commands show their option pages by index through VisPagine; tabs are
// never shown, so a command moves between its pages itself.

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include <QWidget>

#include "app/MruList.h"
#include "app/PageSet.h"
#include "app/SettingsFile.h"
#include "app/ui/controls/MenuSpeedButtons.h"
#include "cad/base/Settings.h"
#include "cad/engine/EngineHooks.h"
#include "edit/commands/CommandFramework.h"
#include "cad/fonts/TrueTypeStrokes.h"
#include "cad/view/CADInputTypes.h"
#include "cam/chains/ChainElement.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QRadioButton;
class QScrollBar;
class QSlider;
class QSpinBox;
class QStackedWidget;
class QToolButton;
class QTreeWidget;
class TCAD2DSelectObjectsParam;
class TCADCmp2D;
class TCADPrg2D;
class TCADViewport2D;
class TColorBox;
class TFontPreview;
struct TInfoNode;
class TMruBar;
class TNcFindDialog;
class TNcScene3D;
enum class TNcReadMode;
class TObject2D;
class TOpenDialog;
class TProcessRunner;
class TRealSpinEdit;
class TSaveDialog;
struct TTracerParameters;
class TXPMenu;

class TfrmMain : public QWidget {
    Q_OBJECT

public:
    // The designed client size; it is also the smallest the window may become.
    static constexpr int kDesignedClientWidth = 792;
    static constexpr int kDesignedClientHeight = 566;

    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Start-up and shutdown ------------------------------------------------

    // The creation steps that follow the controls: the block library, the
    // cursors, the settings file, the language, the view and engine
    // defaults, the caption, the temporary folder and the undelete stack.
    void FormCreate();

    enum class TCloseAction { None, Free };
    // Asks whether to close. On Yes writes the settings back (a failed write
    // is reported and the window closes all the same) and lets go of what
    // the program holds; on No the window stays as it was.
    TCloseAction FormClose();
    // "Close application": closes the window, which asks first.
    void sbtExitClick();

    // The colour of the window and of its panels.
    void ColoraForm(TColor color);
    TColor WindowColor() const { return WindowColorValue; }
    // The program's file version, cut to its first n characters.
    static QString ReduceFv(int n);
    // The CNC pages' combos back to their first items; re-translating combo
    // items loses their selection.
    void InizializzaCbo();
    // The values of the settings file as the window holds them now.
    TSettingsWindowValues SettingsWindowValues() const;

    // Settings page --------------------------------------------------------

    void sbtSettingClick();
    void ColorBoxFormChange();
    void ColorBoxBackgroundChange();
    void ColorBoxDefLayersChange();
    void ColorBoxGridChange();
    void cboUnitsChange();
    void sbtResetClick();
    // A text that is no number leaves the tolerance as it was.
    void txtChainTolChange();
    void txtSystemTolChange();
    void txtCornerRoundChange();
    void chkMRUvisibleClick();
    // Lists the language files in the language combo and selects LanguageName.
    void DirLng();
    // Switches to the language chosen in the combo.
    void nol_cboLangChange();
    // The close button of an option page: hides the pages, enables the tool
    // bars and cancels the running task.
    void SpeedButton6Click();

    // File tool bar (import/ui/frmMainFiles.cpp) ------------------------------

    // "Save vector": asks for a name and type, then writes the drawing as
    // points (.txt) or HPGL (.hgl, .plt); DXF is refused.
    void sbtSaveClick();
    // The visible drawing as an HPGL plot file / a list of point coordinates.
    void ScriveHpgl(const QString& fileName);
    void ScriveTxt(const QString& fileName);
    // The SVG loader of the Open command: the file replaces the drawing.

    // Starters of the split buttons' own commands.
    void MyCircleCtPtClick();
    void MyDeleteClick();
    void MyFilletClick();
    void MyTraslaClick();
    void MyInfoClick();

    // Option pages ---------------------------------------------------------

    // Shows a set of pages (see TPageSet::Show): clears FillingControls,
    // ends the 3D mode, sets LastKey to Esc so that a running computation
    // stops, brings back the recently-used bar, then shows the pages, the
    // first one active, with its status text. A list without a page changes nothing.
    void VisPagine(std::span<const int> pages);
    void VisPagine(std::initializer_list<int> pages) { VisPagine(std::span<const int>(pages.begin(), pages.size())); }
    // One page, or 999 for none, without remembering it as the page set.
    void VisPagina(int page);
    // Makes a shown page the active one, as a command's Next and Previous
    // buttons do, and runs PageControl1Change.
    void SetActivePage(int page);
    // The active page changed: its status text, and what the CNC pages need.
    void PageControl1Change();

    int ActivePage() const;
    QWidget* Page(int index) const;
    // The pages of the last shown set, in list order (empty while hidden).
    const std::vector<int>& ShownPages() const { return ShownPageList; }
    std::span<const int> SavedPages() const { return PageSet.Saved(); }
    bool PagesVisible() const;

    // Status line ----------------------------------------------------------

    // Puts the text on the status line (none clears it) and paints it at
    // once, since long computations keep the message loop from running.
    void Messaggio(const QString& text = {});
    QString StatusText() const;
    // An overlay message centred at the bottom of the 2D view.
    void TestoGrafico(const QString& text);

    // Puts a command that starts on top of the recently-used bar.
    void MRUadd(std::int32_t key, const QString& hint, TMruHandler handler);

    // Tool bar groups: file, view, draw and modify.
    void AbilitaPnl(bool file, bool view, bool draw, bool modify);
    // Enables the Calculate buttons of the CNC pages after a parameter changed.
    void TogliAssoc();

    // Current layer: its number after message 309, and its pen colour in the swatch.
    void CurrLayerInfo();
    void CurrLayerCol(TColor color);

    // The snap button's picture from SnapMode and grid snap.
    void ImpostaGlyph();

    // Esc cancels the running command and stops long computations; Enter
    // accepts and repeats the last command. Every key passes on unchanged.
    void FormKeyPress(char key);

    void sbtRedrawClick();
    void sbtAxisOnOffClick();
    // The pointer enters or leaves the 2D view, or moves over the tool bars.
    void VistaGraficaMouseEnter();
    void VistaGraficaMouseLeave();
    void pnlCmdMouseMove();

    // Set while the program writes into page controls itself, so that their
    // change handlers do nothing; cleared whenever the page set changes.
    bool FillingControls = false;

    // Set while the pointer is over the 2D view; the transform tasks take
    // typed values only while it is clear.
    bool MouseInView = false;

    // The drawing, and the task runner that works on it through the view.
    TCADCmp2D& LocalCad() { return *LocalCadValue; }
    TCADPrg2D& LocalPrg() { return *LocalPrgValue; }

    // Controls; the window owns them.
    QFrame* pnlVistaGrafica = nullptr;
    TCADViewport2D* VistaGrafica = nullptr;
    // The 3D viewer over the 2D view, hidden until the 3D mode is on; a plain
    // widget where this machine has no OpenGL (frmMainView3D.cpp).
    QWidget* GLVistaGrafica = nullptr;
    QFrame* pnlCmd = nullptr;
    QFrame* pnlTbr1 = nullptr;
    QFrame* pnlTbr2 = nullptr;
    QFrame* pnlTbr3 = nullptr;
    QFrame* pnlTbr4 = nullptr;
    QToolButton* sbtNew = nullptr;
    QToolButton* sbtOpen = nullptr;
    QToolButton* sbtSave = nullptr;
    QToolButton* sbtVect = nullptr;
    QToolButton* sbtCnc = nullptr;
    QToolButton* sbtSetting = nullptr;
    TYarvMenuSpeedButton* sbtAbout = nullptr;
    QToolButton* sbtExit = nullptr;
    QToolButton* sbtAutozoom = nullptr;
    QToolButton* sbtZoomBack = nullptr;
    QToolButton* sbtZoomIn = nullptr;
    QToolButton* sbtZoomWin = nullptr;
    QToolButton* sbtPan = nullptr;
    QToolButton* sbtRedraw = nullptr;
    QToolButton* sbtRectangle = nullptr;
    QToolButton* sbtPoly = nullptr;
    QToolButton* sbtSpline = nullptr;
    QToolButton* sbtTTFConv = nullptr;
    TYarvLinkedSpeedButton* lsbArc = nullptr;
    TYarvLinkedSpeedButton* lsbLine = nullptr;
    TYarvLinkedSpeedButton* lsbPoint = nullptr;
    TYarvLinkedSpeedButton* lsbModify = nullptr;
    TYarvLinkedSpeedButton* lsbXform = nullptr;
    TYarvLinkedSpeedButton* lsbDelete = nullptr;
    TYarvLinkedSpeedButton* lsbAnalyze = nullptr;
    // The arrow halves of the split buttons; the command framework gives them their menus.
    TYarvLinkedMenuSpeedButton* lnkMenuArc = nullptr;
    TYarvLinkedMenuSpeedButton* lnkMenuLinea = nullptr;
    TYarvLinkedMenuSpeedButton* lnkMenuPunto = nullptr;
    TYarvLinkedMenuSpeedButton* lnkMenuModify = nullptr;
    TYarvLinkedMenuSpeedButton* lnkMenuXform = nullptr;
    TYarvLinkedMenuSpeedButton* lnkMenuDelete = nullptr;
    TYarvLinkedMenuSpeedButton* lnkMenuAnalisi = nullptr;
    QStackedWidget* PageControl1 = nullptr;
    QLabel* nol_pnlStatus1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* pnlStatus2 = nullptr;
    QFrame* pnlStatus3 = nullptr;
    TYarvMenuSpeedButton* sbmSnap = nullptr;
    QToolButton* sbtUseOrtho = nullptr;
    QToolButton* sbtAxisOnOff = nullptr;
    QToolButton* sbtWinSel = nullptr;
    QToolButton* sbtGridOnOff = nullptr;
    QToolButton* sbtCancel = nullptr;
    QToolButton* sbtDone = nullptr;
    QFrame* pnlStatus4 = nullptr;
    QToolButton* sbtLayer = nullptr;
    QLabel* imgLayerCol = nullptr;
    // The recently-used bar floats above the view.
    TMruBar* pnlMRU = nullptr;
    // Made by the first command that saves; keeps its name between uses.
    TSaveDialog* SaveDialog = nullptr;

    // The settings page.
    TColorBox* ColorBoxForm = nullptr;
    TColorBox* ColorBoxBackground = nullptr;
    TColorBox* ColorBoxDefLayers = nullptr;
    TColorBox* ColorBoxGrid = nullptr;
    QComboBox* cboUnits = nullptr;
    QToolButton* sbtReset = nullptr;
    QLabel* lblChainTol = nullptr;
    QLineEdit* txtChainTol = nullptr;
    QLabel* lblSystemTol = nullptr;
    QLineEdit* txtSystemTol = nullptr;
    QLineEdit* txtCornerRound = nullptr;
    QCheckBox* chkMRUvisible = nullptr;
    QComboBox* nol_cboLang = nullptr;
    QToolButton* sbtSettingsClose = nullptr;

    // The snap menu of the snap button and its twin in the view's context menu.
    QMenu* PopupSnap = nullptr;
    QAction* mnuEndpoint = nullptr;
    QAction* mnuMidpoint = nullptr;
    QAction* mnuCenter = nullptr;
    QAction* mnuPoint = nullptr;
    QAction* mnuAuto = nullptr;
    QAction* sbmSnap2Grid = nullptr;
    QMenu* PopupDestro = nullptr;
    QMenu* mnuSnapTo = nullptr;
    QAction* mnuEndpoint2 = nullptr;
    QAction* mnuMidpoint2 = nullptr;
    QAction* mnuCenter2 = nullptr;
    QAction* mnuPoint2 = nullptr;
    QAction* mnuAuto2 = nullptr;
    QAction* mnuSnap2Grid2 = nullptr;

    // The flat look of every menu of the window.
    TXPMenu* XPMenu1 = nullptr;
    // The help menu of the About button.
    QMenu* mnuAbout = nullptr;
    QAction* mnuHelp = nullptr;
    QMenu* mnuTutorials = nullptr;
    QAction* mnuAbout1 = nullptr;
    QAction* mnuWeb = nullptr;

    // Help menu ------------------------------------------------------------

    // The table of contents of the help.
    void mnuHelpClick();
    // Shows the About window, not modal.
    void mnuAbout1Click();
    // Opens the maker's web page.
    void mnuWebClick();
    // Opens tutorial document 1 to 4.
    void mnuTutorClick(int tutorial);
    // F1: the window's help topic.
    void HelpKeyPress();
    // Fills the grid dialog from the view and the engine and shows it modally.
    void ShowGridDialog();

    // Placement of a loaded file (import/ui/frmMainPlacement.cpp) and the
    // selection commands' pages (edit/ui/frmMainSelectionPages.cpp) ----------

    // Page 13 and the size group of page 5.
    void CreatePlacementPages();
    void rbtOrigine1Click();
    void rbtOriginDxfClick();
    void sbtRotCCWClick();
    void sbtRotCWClick();
    // Enter in a reference field.
    void txtOriginEnter();
    void txtOriginChange();
    void sbtSelectPtClick();
    // A point picked in the view becomes the drawing's origin.
    void OrigineRast(TPoint2D point);
    void txtVecLargChange();
    void txtVecAltChange();
    // Enter in, or leaving, a size field.
    void SizeFieldDone();
    void chkRatioClick();
    void sbtOpenDoneClick();
    void sbtOpenPrevClick();
    // Set by "Select Pt.": the next left click in the view picks the origin.
    bool PickOriginArmed = false;
    QGroupBox* grpOrigin = nullptr;
    QRadioButton* rbtOrigine1 = nullptr;
    QRadioButton* rbtOrigine2 = nullptr;
    QRadioButton* rbtOrigine3 = nullptr;
    QRadioButton* rbtOrigine4 = nullptr;
    QRadioButton* rbtOrigine0 = nullptr;
    QRadioButton* rbtOriginDxf = nullptr;
    QLineEdit* txtOriginX = nullptr;
    QLineEdit* txtOriginY = nullptr;
    QToolButton* sbtSelectPt = nullptr;
    QGroupBox* grpDxfRotate = nullptr;
    QToolButton* sbtRotCCW = nullptr;
    QToolButton* sbtRotCW = nullptr;
    QToolButton* sbtOpenDone = nullptr;
    QToolButton* sbtOpenPrev = nullptr;
    QGroupBox* grpScaleTo = nullptr;
    QLineEdit* txtVecLarg = nullptr;
    QLineEdit* txtVecAlt = nullptr;
    QLabel* nol_lblUnita1 = nullptr;
    QLabel* nol_lblUnita2 = nullptr;
    QCheckBox* chkRatio = nullptr;

    // Pages 14, 17, 22 and 29.
    void CreateSelectionPages();
    // Fills the layer list and preselects the current layer.
    void FillLayerTo();
    void MyUndeleteClick();
    void sbtDelSmallClick();
    void sbtIdentSmallEntClick();
    void sbtMirrorAllClick(int axisChoice);
    void sbtScaleAllClick(float sx, float sy);
    QComboBox* cboLayerTo = nullptr;
    QLineEdit* txtFiltroPoly = nullptr;
    QLabel* lblFiltro = nullptr;
    QLineEdit* txtSmallX = nullptr;
    QToolButton* sbtDelSmall = nullptr;
    QToolButton* sbtIdentSmallEnt = nullptr;
    QLabel* stxReportSmall = nullptr;
    QLabel* stxInfoEsplode = nullptr;

    // Commands (edit/ui/frmMainCommands.cpp) ----------------------------------

    // The starter sequence, repeat, Esc/Enter and the end of every drawing
    // and editing command, by the codes of the command table.
    TCommandFramework& Commands() { return *CommandsValue; }
    // As the command's starter, and as its menu item (which re-binds the split button first).
    void StartCommand(std::int32_t code);
    void ChooseCommand(std::int32_t code);
    // What a command does in place of the task the table names: a drawing
    // command builds its primitive from its page, an at-once command acts.
    // A command without an action and whose state is not built does nothing.
    std::map<std::int32_t, std::function<void()>> CommandActions;
    // The action under this key explodes the container a placement just ended with.
    static constexpr std::int32_t kExplodePlacedAction = -1;
    // The selection tasks' callback: the object just picked drawn with the rubber pen.
    void OnSelectedObj(TCAD2DSelectObjectsParam& param, TObject2D* object, bool selected, int code);
    // The check mark and the button show the framework's window select.
    void ShowWindowSelect();
    void sbtDoneClick();
    void sbtClosePolyClick();
    void btnCancelClick();
    void sbtCancelClick();
    void mnuOrthoClick();
    void sbtWinSelClick();
    void mnuWinSelectClick();
    void sbmSnap2GridClick();
    void mnuSnap2Grid2Click();
    // Typed point entry: the dialog's point becomes a click of the running
    // task; nothing is sent on Cancel or for a text that is no number.
    void mnuCoordClick();
    // A vector text under the pointer gets a new string.
    void VistaGraficaDblClick();
    // The fields and buttons of other commands' pages that talk to the
    // running task: the transform values, accept, close the figure, close the page.
    // Sends the task runner a user event when the user types a number into the field.
    void SendEventWhenTyped(QLineEdit* field, int event, std::function<void()> before = {});
    void rbtScaleUniformClick();
    void rbtScaleXyClick();
    // The drop-down menus of the split buttons, by button.
    std::map<QString, QMenu*> SplitMenus;
    QAction* mnuOrtho = nullptr;
    QAction* mnuWinSelect = nullptr;
    QAction* mnuCoord = nullptr;
    QAction* mnuDone = nullptr;
    QAction* mnuCancel = nullptr;
    // The offset page (edit/ui/frmMainOffsetPage.cpp).
    QLineEdit* txtOffsetDist = nullptr;
    QRadioButton* rbtOffsetCopy = nullptr;
    QRadioButton* rbtOffsetMove = nullptr;
    QToolButton* sbtOffsetOk = nullptr;
    QToolButton* sbtFlipOffset = nullptr;
    void sbtOffsetOkClick();
    void sbtFlipOffsetClick();
    void txtOffsetDistChange();
    void CreateCommands();
    void CreateOffsetPage();
    std::unique_ptr<TCommandShell> CommandShellValue;
    std::unique_ptr<TCommandFramework> CommandsValue;

    // Drawing commands, engraved text, information (edit/ui/frmMainDraw*.cpp) ----

    // Fills the drawing, text, information and distance pages and connects
    // their fields; installs the copier and the read-outs.
    void CreateDrawingPages();
    void CreateTextAndInfoPages();
    // The starters of the drawing commands: each shows its page and starts
    // drawing or placing a new entity.
    void MyPuntoClick();
    void MyLineEndPtClick();
    void sbtRectangleClick();
    void MyCircleCtDiaClick();
    void MyArcCtPtSaEaClick();
    void MyArcPolarClick();
    void mnuEllipseCloseClick();
    void mnuEllipseOpenClick();
    void MyLinePolarClick();
    void sbtPolyClick();
    void sbtSplineClick();
    void MyPointGridClick();
    void MyBoltPointClick();
    // A drawing command's action: its task with the object built from the
    // page's fields (the framework has shown the page and noted the command).
    void DrawFromPage(std::int32_t code);
    // Ends the placement of a container by exploding it.
    void ExplodeLastPlaced();
    // Field handlers: a field that holds a number restarts the command; the
    // field keeps the focus and its caret.
    void DrawingFieldChange(std::int32_t code, QLineEdit* field, bool caretAtEnd);
    void chkBoltCircHCClick();
    // Engraved text.
    void sbtTTFConvClick();
    void PlaceTextFromPage();
    void MyTTFConvClick();
    void txtDaInserireChange();
    void sedApprFontChange();
    void tbrApprFontChange();
    void sbtFontClick();
    // Information and distance.
    void sbtInfoSelectClick();
    void ShowInfoTree(const TInfoNode& tree);

    QLineEdit* txtDiamArco = nullptr;
    QLineEdit* txtDiamArcoPolare = nullptr;
    TRealSpinEdit* rseArcoPolareSa = nullptr;
    TRealSpinEdit* rseArcoPolareEa = nullptr;
    QLineEdit* txtLinePolLen = nullptr;
    TRealSpinEdit* txtLinePolAngle = nullptr;
    QLineEdit* txtPtGridDx = nullptr;
    QLineEdit* txtPtGridDy = nullptr;
    QLineEdit* txtPtGridNx = nullptr;
    QLineEdit* txtPtGridNy = nullptr;
    QLineEdit* txtPtGridAngle = nullptr;
    QLineEdit* txtBoltCirRadius = nullptr;
    QLineEdit* txtBoltCirSa = nullptr;
    QLineEdit* txtBoltCircAngleBet = nullptr;
    QLineEdit* txtBoltCircNPt = nullptr;
    QLabel* lblBoltCirDiaHole = nullptr;
    QLineEdit* txtBoltCirDiaHole = nullptr;
    QCheckBox* chkBoltCircPC = nullptr;
    QCheckBox* chkBoltCircHC = nullptr;
    QLineEdit* txtDaInserire = nullptr;
    QLineEdit* txtAltFont = nullptr;
    QLineEdit* txtSpaFont = nullptr;
    QSpinBox* sedApprFont = nullptr;
    QSlider* tbrApprFont = nullptr;
    QToolButton* sbtFont = nullptr;
    TFontPreview* pbxFont = nullptr;
    QTreeWidget* treInfoEnt = nullptr;
    QToolButton* sbtInfoSelect = nullptr;
    // The font the text command engraves with, as the user picked it.
    std::unique_ptr<TTTFToVectorConverter> TTF2Vector;

    // Opening files and the vectorize pages (import/ui/frmMainOpen.cpp, frmMainVectorize.cpp) ----

    // "New": asks before clearing a drawing that holds objects.
    void sbtNewClick();
    // Asks whether to clear everything; Yes frees the pictures, resets the
    // 256 layers, deletes every object and clears the loaded file's kind.
    // Empties the drawing, once every task that could hold its objects has stopped.
    void ClearDrawing();
    bool CancellatoTutto();
    // "Open raster or vector": asks for a file and loads it by its extension.
    // A file that cannot be read is reported and nothing of the drawing or of
    // what was loaded before changes.
    void sbtOpenClick();
    // Opens the file as the dialog would give it; false when it was refused
    // or could not be read.
    bool OpenFile(const QString& fileName);
    void LoadBmpFile(const QString& fileName);
    void LoadJpegFile(const QString& fileName);
    void LoadDxfFile(const QString& fileName);
    void LoadSvgFile(const QString& fileName);
    // The drawing becomes the source (or black-and-white) picture alone, at
    // the picture's place and size.
    void ShowRaster(bool mono, bool zoom);
    // Keeps the grid as it is and shows a grid of 10 mm (1 inch) with axes.
    void PresetGridForOpen();
    // "Vectorize": the threshold and spot pages for the loaded picture.
    void sbtVectClick();
    // The three colour thresholds (true) or the red one alone as grey threshold.
    void MostraTBar(bool rgb);
    // The black-and-white picture from the source and the thresholds, shown.
    void CreaBmpMono();
    void tbrThresholdChange();
    void chkViewOriginalClick();
    void sbtVec2aClick();
    void sbtVec2bClick();

    // Pages 0, 1 and 5 of opening and vectorizing.
    void CreateOpenPages();
    void CreateVectorizePages();
    // What the loaders of pictures and drawings share.
    void LoadRasterFile(const QString& fileName, bool jpeg);
    void ShowOpenPages(int groupCaption);

    QGroupBox* grpInfoFile = nullptr;
    QTreeWidget* treInfoRas = nullptr;
    TOpenDialog* OpenDialog = nullptr;
    QSlider* tbrRosso = nullptr;
    QSlider* tbrVerde = nullptr;
    QSlider* tbrBlu = nullptr;
    QSpinBox* sedRosso = nullptr;
    QSpinBox* sedVerde = nullptr;
    QSpinBox* sedBlu = nullptr;
    QLabel* imgRed = nullptr;
    QLabel* imgVerde = nullptr;
    QLabel* imgBlu = nullptr;
    QLabel* imgNero = nullptr;
    QCheckBox* chkViewOriginal = nullptr;
    QSpinBox* sedSpotsNeri = nullptr;
    QSpinBox* sedSpotsBianchi = nullptr;
    QToolButton* sbtVec2a = nullptr;
    QToolButton* sbtVec2b = nullptr;
    QToolButton* sbtVectPrev2 = nullptr;

    // Tracing, vectorize page 2 (import/ui/frmMainVectTrace.cpp) ----------

    // Traces the black-and-white picture with the page's parameters and shows
    // the result over a grey copy of it; Esc or the page's cancel button stops
    // the tracer. A failed run imports nothing and says so.
    void sbtPreviewVectClick();
    // Keeps the traced result; Cancel drops it and shows the loaded picture again.
    void sbtVectDoneClick();
    void sbtCancelVectClick();
    // Back to the spot page.
    void sbtVectPrev3Click();
    TTracerParameters TracerParameters() const;
    TRealSpinEdit* sedError_threshold = nullptr;
    QSpinBox* sedFilter_iterations = nullptr;
    QSpinBox* sedCorner_threshold = nullptr;
    QCheckBox* chkCenterLine = nullptr;
    QToolButton* sbtPreviewVect = nullptr;
    QToolButton* sbtVectDone = nullptr;
    QToolButton* sbtVectPrev3 = nullptr;
    QToolButton* sbtCancelVect = nullptr;
    TProcessRunner* TracerRunner = nullptr;
    void CreateVectTracePage();

    // View navigation and the grid button (edit/ui/frmMainNavigation.cpp) ----

    // Zoom + and Zoom -: the 2D view's steps, or the 3D camera's in the 3D mode.
    void sbtZoomInClick();
    void sbtZoomBackClick();
    // One notch of the wheel at a window point of the view; that point keeps its place.
    void MouseRuotaSu(int x, int y);
    void MouseRuotaGiu(int x, int y);
    void sbtAutozoomClick();
    // Zoom window and pan run on top of the running command, which goes on after them.
    void sbtZoomWinClick();
    void sbtPanClick();
    // The pointer's point on the status line, Shift-drag pan and Ctrl-drag zoom.
    void VistaGraficaMouseMove2D(TShiftState shift, int x, int y);
    void VistaGraficaMouseDown2D(TMouseButton button, TShiftState shift, int x, int y);
    void VistaGraficaMouseUp2D(TMouseButton button, TShiftState shift, int x, int y);
    // The view's context menu is opening: its items enabled by what runs.
    void LocalPopUpPopup();
    void sbtGridOnOffClick();
    // The right button on the grid button: the grid dialog.
    void sbtGridOnOffMouseDown();
    // The ends of the pan and the zoom window: their buttons up, the pan flags cleared.
    void EndPanMode();
    void ZoomWindowUp();
    void CreateNavigation();
    // Set by the Z-depth window while the 3D view is shown.
    bool View3DMode = false;
    // The 3D mode, switched through the Z-depth window (which enables its
    // view buttons with it) while the window exists.
    void ZDepthMode3D(bool on);
    // The viewer shown over the 2D view, or hidden again; true when it is now
    // shown. Where there is no OpenGL the mode stays off and the status line
    // says so.
    bool ShowView3D(bool on);
    // The scene the 3D viewer shows: the NC toolpath and its camera.
    std::unique_ptr<TNcScene3D> Scene3D;
    // The mouse over the 3D viewer: a press keeps its place, a move orbits,
    // pans (with Shift, or during the pan command) or zooms (with Ctrl).
    void GLVistaGraficaMouseDown(int x, int y);
    void GLVistaGraficaMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers keys, int x, int y);
    // The viewer lets the scene go before the scene goes.
    void ReleaseView3D();
    // Shift with the left button in the view / the pan command.
    bool PanDragActive = false;
    bool PanButtonActive = false;
    QAction* mnuZoomWindow = nullptr;
    QAction* mnuZoomIn = nullptr;
    QAction* mnuZoomOut = nullptr;
    QAction* mnuAutozoom = nullptr;
    QAction* mnuPan = nullptr;

    // Layers (edit/ui/frmMainLayers.cpp) ----

    // "Current layer:": the layer table, modally.
    void sbtLayerClick();
    // The drawing's current layer, shown on the current-layer button.
    void SetCurrentLayer(int layer);

    // Chains and drill points (cam/ui/frmMainChains.cpp) ----
    // Page 42: its controls and the chain list's handlers.
    void CreateChainPage();
    void sbtChainClick();
    void sbtChainPtClick();
    void sbtChainSelClick();
    void sbtDelLastChainClick();
    void sbtDelAllChainsClick();
    void sbtChainRevClick();
    // Moves the last chain's start by the scroll bar's change.
    void ScrollBar1Change(int position);
    void sbtChainDelPtClick();
    // Button 1 to 4; sorts while down, puts the order back when released.
    void sbtDrilSortClick(int button);
    void SetScrollCatena(const TChain& chain);
    // Repaints the view and draws the chains, or the drill points, over it.
    void RedrawChains();
    void ClearChains();
    void ClearDrillPoints();
    // -1 "Left", +1 "Right", 0 "Off".
    int CompensationSide() const;
    QGroupBox* grpChain = nullptr;
    QToolButton* sbtChain = nullptr;
    QToolButton* sbtDelLastChain = nullptr;
    QToolButton* sbtDelAllChains = nullptr;
    QToolButton* sbtChainRev = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    QLabel* lblChainInfo = nullptr;
    QGroupBox* grpCutterComp = nullptr;
    QComboBox* cboCCDir = nullptr;
    QComboBox* cboLeadIn = nullptr;
    QComboBox* cboLeadOut = nullptr;
    QLineEdit* txtLInSize = nullptr;
    QLineEdit* txtLoutSize = nullptr;
    QLineEdit* txtCCoffset = nullptr;
    QGroupBox* grpDrillPoints = nullptr;
    QToolButton* sbtChainPt = nullptr;
    QToolButton* sbtChainSel = nullptr;
    QToolButton* sbtChainDelPt = nullptr;
    QToolButton* sbtDrilSort[4] = {};
    QToolButton* sbtNextB3 = nullptr;

    // NC program (cam/ui/frmMainNcJob.cpp) ----
    // New, Open, the three Calculate buttons and Undo, once their pages exist.
    void ConnectNcJob();
    // "New": names the NC file the next programs start; nothing is written yet.
    void sbtNewNcClick();
    // "Open": names an NC file and loads it; later programs are appended to it.
    void sbtAppendNcClick();
    // The NC file's name from the save (or open) dialog; false when cancelled.
    bool NameNcFile(bool opening);
    void sbtConCalculateClick();
    void sbtPocCalculateClick();
    void sbtDriCalculateClick();
    // Takes the last calculation's lines off the NC editor, when the user agrees.
    void sbtDelLastOpClick();
    QToolButton* sbtDelLastOp = nullptr;

    // NC page and simulation (cam/ui/frmMainNcPage.cpp) ----
    // Page 46: the NC editor, the simulation controls and the limits.
    void CreateNcPage();
    void sbtIsoStepClick();
    void sbrNcSimulChange(int position);
    // Reads one editor line back: the move goes into the 3D toolpath while
    // the 3D view is shown, over the drawing otherwise.
    void ReadBackLine(int line, TNcReadMode mode);
    void sbtIsoSaveClick();
    void sbtIsoExitClick();
    void sbtIsoFindClick();
    // Searches the find dialog's text from the selection on.
    void FindDialog1Find();
    void sbtIsoLimitsMouseDown();
    void sbtIsoLimitsMouseUp();
    // Page and arrow keys in the editor: the line counter follows the caret.
    void ricIsoKeyDown(int key);
    // Rewind, Simulate, End, Step, Open, Save, Find and Close together.
    void SimulOnOff(bool enabled);
    // Set by a new program: the next step shows the Z-depth window.
    bool NcShowZDepth = false;
    QFrame* pnlIso = nullptr;
    QFrame* pnlTbr1Iso = nullptr;
    QPlainTextEdit* ricIso = nullptr;
    QScrollBar* sbrNcSimul = nullptr;
    QToolButton* sbtIsoRewind = nullptr;
    QToolButton* sbtIsoSimul = nullptr;
    QToolButton* sbtIsoEnd = nullptr;
    QToolButton* sbtIsoStop = nullptr;
    QToolButton* sbtIsoStep = nullptr;
    QToolButton* sbtIsoOpen = nullptr;
    QToolButton* sbtIsoSave = nullptr;
    QToolButton* sbtIsoFind = nullptr;
    QToolButton* sbtIsoExit = nullptr;
    QToolButton* sbtIsoLimits = nullptr;
    QToolButton* sbtWireSimul = nullptr;
    QToolButton* sbtPrevB5 = nullptr;
    QFrame* pnlLimits = nullptr;
    QLabel* stxLimXmax = nullptr;
    QLabel* stxLimXmin = nullptr;
    QLabel* stxLimYmax = nullptr;
    QLabel* stxLimYmin = nullptr;
    QLabel* nol_IsoStatus1 = nullptr;
    TNcFindDialog* FindDialog1 = nullptr;

    // CNC pages, operation, machining parameters and the tool (cam/ui/frmMainCncPages.cpp) ----
    // Pages 40, 41, 43, 44 and 45: their controls with their defaults, and the
    // tool dialog's way in.
    void CreateCncPages();
    void ConnectCncPages();
    // "Create Nc program": the first CNC page.
    void sbtCncClick();
    // Navigation between the CNC pages.
    void sbtNextB1Click();
    void sbtPrevB2Click();
    void sbtNextB2Click();
    void sbtPrevB3Click();
    void sbtNextB3Click();
    // Back to the chain page and on to the NC page; both stop a running calculation.
    void sbtPrevB4CClick();
    void sbtNextB4CClick();
    // From the NC page back to the machining page of the operation.
    void sbtPrevB5Click();
    void rdbContourClick();
    void rdbDrillClick();
    void rdbPocketClick();
    void cboLeadInChange();
    void cboLeadOutChange();
    void speConNRoughCutsChange();
    void speConNFinishCutsChange();
    void spePocNFinishCutsChange();
    void txtCCoffsetChange();
    void cboPostNameChange();
    // The post files of the program folder's "pst" folder, by name.
    void FillPostNames();
    // Loads the post the settings name; a missing one is reported and leaves the defaults.
    void LoadNamedPost();
    // The contour page's Z labels; off for a post that writes no Z.
    void EnableZControl(bool on);
    // A Z field of a machining page changed: the pass plan again, Calculate again.
    void ZFieldChange(int page);
    void txtPocZRapidClick();
    // Shows picture k of the hints on the machining page.
    void ShowHint(int page, int k);
    // "Select ..." and "Edit ...": the tool dialog for the one current tool.
    void sbtToolSelectClick();
    // The dialog's values become the job's tool words and the offset radius.
    void ApplyToolValues();
    // txtCCoffset shows the tool's radius, which the offsets use.
    void ShowToolOffset();
    // Chains and compensation for contour and pocket, drill points for drilling.
    void ShowChainGroups(bool drilling);
    // The NC job: the pass plan of a machining page and taking back the last
    // operation.
    void ShowPassPlan(int page);
    void OfferUndoLastOperation();
    // The side cboCCDir had before the pocket forced "Right" (0 none).
    int SideBeforePocket = 0;
    QToolButton* sbtNewNc = nullptr;
    QToolButton* sbtAppendNc = nullptr;
    QComboBox* cboPostName = nullptr;
    QLabel* stxPstCommento = nullptr;
    QLabel* stxNcFileName = nullptr;
    QToolButton* sbtNextB1 = nullptr;
    QRadioButton* rdbContour = nullptr;
    QRadioButton* rdbDrill = nullptr;
    QRadioButton* rdbPocket = nullptr;
    QLineEdit* txtRapidFeedrate = nullptr;
    QLabel* imgTool = nullptr;
    QToolButton* sbtToolSelect = nullptr;
    QToolButton* sbtToolEdit = nullptr;
    QToolButton* sbtPrevB2 = nullptr;
    QToolButton* sbtNextB2 = nullptr;
    QToolButton* sbtPrevB3 = nullptr;
    QLabel* lblInLead = nullptr;
    QLabel* lblOutLead = nullptr;
    QLabel* lblConZRapid = nullptr;
    QLabel* lblConTopStock = nullptr;
    QLabel* lblConZDepthTot = nullptr;
    QLabel* lblConIncPassZ = nullptr;
    QLineEdit* txtConZRapid = nullptr;
    QLineEdit* txtConTopStock = nullptr;
    QLineEdit* txtConZDepthTot = nullptr;
    QLineEdit* txtConIncPassZ = nullptr;
    QLineEdit* txtConStockXY = nullptr;
    QSpinBox* speConNRoughCuts = nullptr;
    QSpinBox* speConNFinishCuts = nullptr;
    QLineEdit* txtConRoughSize = nullptr;
    QLineEdit* txtConFinishSize = nullptr;
    QCheckBox* chkConWriteEof = nullptr;
    QLabel* lblConNumDCuts = nullptr;
    QLabel* lblConNumFCuts = nullptr;
    QLabel* imgContour = nullptr;
    QToolButton* sbtConCalculate = nullptr;
    QToolButton* sbtPrevB4C = nullptr;
    QToolButton* sbtNextB4C = nullptr;
    QLineEdit* txtDriZRapid = nullptr;
    QLineEdit* txtDriTopStock = nullptr;
    QLineEdit* txtDriZDepthTot = nullptr;
    QLineEdit* txtDriIncPassZ = nullptr;
    QComboBox* cboCycle = nullptr;
    QLineEdit* dri_txtPasso = nullptr;
    QCheckBox* Dri_chkWriteEof = nullptr;
    QLabel* lblDriNumDCuts = nullptr;
    QLabel* lblDriNumFCuts = nullptr;
    QLabel* imgDrill = nullptr;
    QToolButton* sbtDriCalculate = nullptr;
    QToolButton* sbtPrevB4D = nullptr;
    QToolButton* sbtNextB4D = nullptr;
    QLineEdit* txtPocZRapid = nullptr;
    QLineEdit* txtPocTopStock = nullptr;
    QLineEdit* txtPocZDepthTot = nullptr;
    QLineEdit* txtPocIncPassZ = nullptr;
    QLineEdit* txtPocStockXY = nullptr;
    QLineEdit* txtPocStepOverPer = nullptr;
    QSpinBox* spePocNFinishCuts = nullptr;
    QLineEdit* txtPocFinishSize = nullptr;
    QCheckBox* chkPocSpiralInOut = nullptr;
    QCheckBox* chkPocWriteEof = nullptr;
    QLabel* lblPocNumDCuts = nullptr;
    QLabel* lblPocNumFCuts = nullptr;
    QLabel* imgPocket = nullptr;
    QToolButton* sbtPocCalculate = nullptr;
    QToolButton* sbtPrevB4P = nullptr;
    QToolButton* sbtNextB4P = nullptr;

    // Transform pages, end-point markers (edit/ui/frmMainTransformPages.cpp,
    // edit/ui/frmMainTextInfo.cpp) ----
    // Pages 9, 10, 33 and 34.
    void CreateTransformPages();
    // The scale page's "All entities": the page's factors, refused unless both are above 0.
    void ScaleAllFromPage();
    // Marks the end points of every shown object on the view until its next repaint.
    void MyShowEndPtClick();
    QGroupBox* gprMirrorAxis = nullptr;
    QToolButton* sbtMirrorAll = nullptr;
    QLineEdit* txtScaleX = nullptr;
    QLineEdit* txtScaleY = nullptr;
    QRadioButton* rbtScaleUniform = nullptr;
    QRadioButton* rbtScaleXy = nullptr;
    QToolButton* sbtScaleAll = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Starts the pan (51) or zoom window (52) on top of the running command.
    void StartViewTask(std::int32_t code);
    // Where the last press or drag step left the pointer in the view.
    int LastPointerX = 0;
    int LastPointerY = 0;

    struct TSnapItem {
        QAction* First;
        QAction* Second;
        int Mode;
    };

    void CreateToolBars();
    void CreatePages();
    void CreateStatusRow();
    void CreateSnapMenus();
    // The help menu, the menus' flat look and F1 (frmMainMenus.cpp).
    void CreateMenus();
    void CreateView();
    void CreateSettingsPage();
    void LayoutControls();
    // Puts the values read from the settings file into the view, the engine and the controls.
    void ApplySettings(const TSettingsWindowValues& values);
    void ShowTolerances();
    // The five split buttons with their own glyph and command.
    void ResetSplitButtons();
    void ApplyPageView(const TPageSetView& view);
    void SnapItemClick(const TSnapItem& item);
    void SnapItem2Click(const TSnapItem& item);
    bool IsFirstKeyReceiver(const QObject* receiver) const;

    bool GridSnapOn() const;

    void RepeatLastCommand();
    // The pan command keeps its own cursor while it runs.
    bool PanCommandActive() const;
    // Hides the Z-depth window.
    void CloseZDepth();
    // Shows the Z-depth window; the 3D mode follows its check box.
    void ShowZDepth();
    void CreateView3D();
    void txtConZRapidClick();
    void txtDriZRapidClick();
    // The same from start-up and shutdown: the cutter-compensation combo, the
    // 3D view's background, the rasters and the chains or drill points.
    void cboCCDirChange();
    void SetView3DBackground(TColor color);
    void FreeRasters();
    void ClearChainsOrDrillPoints();
    // Chains: the scroll bar and Next after a removal; message 464 for an
    // open chain picked for a pocket.
    void AfterChainRemoval();
    void ShowOpenChainWarning(const TChain& chain);
    bool ChainScrollGuard = false;

    // What the settings file gave at start that no control holds yet.
    TSettingsWindowValues StartSettings;
    TColor WindowColorValue = kClWindow;

    std::unique_ptr<TCADCmp2D> LocalCadValue;
    std::unique_ptr<TCADPrg2D> LocalPrgValue;
    // The transform input fields as the transform tasks read them.
    std::unique_ptr<TTransformPanel> TransformPanelValue;
    TPageSet PageSet;
    std::vector<int> ShownPageList;
    std::vector<TSnapItem> SnapItems;
};

// The program's main window while it exists (created at start-up, ProgramStartup.h).
extern TfrmMain* frmMain;
