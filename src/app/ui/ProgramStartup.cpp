#include "app/ui/ProgramStartup.h"

#include <QApplication>
#include <QDir>

#include "app/CommandCode.h"
#include "app/HelpViewer.h"
#include "app/LibraryGlobals.h"
#include "app/Language.h"
#include "app/LanguageMessages.h"
#include "app/TranslateForms.h"
#include "app/ui/ApplicationMessageBox.h"
#include "app/ui/HelpWindow.h"
#include "app/ui/frmAbout.h"
#include "app/ui/frmCoord.h"
#include "app/ui/frmGrid.h"
#include "app/ui/frmMain.h"
#include "cam/ui/frmTool.h"
#include "edit/ui/frmLayer.h"
#include "edit/ui/frmLayerAttr.h"
#include "cad/base/CADMessageSink.h"
#include "cad/drawing/CADClassRegistration.h"
#include "cad/fonts/FontRegistry.h"
#include "cad/model/ClassRegistry.h"
#include "cad/view/ScreenCursor.h"
#include "platform/ProgramFolder.h"
#include "view3d/opengl/FloatingPointMode.h"
#include "view3d/ui/GLSceneViewer.h"
#include "view3d/ui/NcScene3D.h"
#include "view3d/ui/frmZDepth.h"
#include "cam/simulation/NcSimulation.h"

TfrmMain* frmMain = nullptr;

namespace {

void InitializeMainUnit()
{
    CommandCode = kCommandNone;
    // The chain lists and the raster origin start empty once their parts exist.
    CADCoreRegisterFontFromFile(0, (ProgramFolder() + QStringLiteral("/RomanC.fnt")).toStdString());
}

void FinalizeMainUnit()
{
    for (QString& text : PageTexts)
        text.clear();
}

// The drawing engine lets go of its fonts (text objects are gone with the
// windows' drawings) and of its classes.
void FinalizeCADEngine()
{
    CADCoreClearFontRegistry();
    CADCoreClearRegistry();
}

void InitializeLeakChecker()
{
    InitializeMemCheck(QCoreApplication::applicationFilePath().toStdString());
}

void InitializeNetworkGlobals()
{
    InitializeIdGlobal(QDir::tempPath().toStdString());
}

struct TModuleStep {
    void (*Initialize)();
    void (*Finalize)();
};

// In dependency order. Modules whose parts are not built yet have no steps:
// the 3D view's scene classes and the DXF
// colour-index table.
constexpr TModuleStep kModules[] = {
    {InitializeLeakChecker, FinalizeMemCheck},     // the leak checker, never switched on
    {InitializeNetworkGlobals, FinalizeIdGlobal},  // the network library's globals
    {InitializeFloatingPointMode, nullptr},   // floating-point mode (3D view)
    {nullptr, nullptr},                       // scene classes for streaming (3D view)
    {RegisterCADClasses, FinalizeCADEngine},  // the 19 persistent classes
    {nullptr, nullptr},                       // DXF colour-index table
    {InitializeHelpViewer, FinalizeHelpViewer},  // HTML help viewer
    {InitializeMainUnit, FinalizeMainUnit},   // main window's unit, the vector font
};

// The windows after the main one. Each has one global instance; the
// dialogs belong to the main window, so that they open over it.
std::unique_ptr<QWidget> MakeCoord(TfrmMain& main)
{
    auto window = std::make_unique<TfrmCoord>(&main);
    frmCoord = window.get();
    return window;
}

std::unique_ptr<QWidget> MakeAbout(TfrmMain& main)
{
    auto window = std::make_unique<TfrmAbout>(&main);
    frmAbout = window.get();
    return window;
}

std::unique_ptr<QWidget> MakeTool(TfrmMain& main)
{
    auto window = std::make_unique<TfrmTool>(&main);
    frmTool = window.get();
    return window;
}

// The Z-depth window floats over the main window and switches its 3D view.
std::unique_ptr<QWidget> MakeZDepth(TfrmMain& main)
{
    auto window = std::make_unique<TfrmZDepth>(NcSimulation, &main);
    window->SwitchView3D = [&main](bool on) { return main.ShowView3D(on); };
    window->PresetChosen = [&main](TViewPreset preset) { main.Scene3D->Preset(preset); };
    frmZDepth = window.get();
    return window;
}

std::unique_ptr<QWidget> MakeGrid(TfrmMain& main)
{
    auto window = std::make_unique<TfrmGrid>(main, &main);
    frmGrid = window.get();
    return window;
}

std::unique_ptr<QWidget> MakeLayer(TfrmMain& main)
{
    auto window = std::make_unique<TfrmLayer>(main, &main);
    frmLayer = window.get();
    return window;
}

// The attribute dialog edits the row the layer table has selected.
std::unique_ptr<QWidget> MakeLayerAttr(TfrmMain& main)
{
    auto window = std::make_unique<TfrmLayerAttr>(*frmLayer, main, &main);
    frmLayerAttr = window.get();
    return window;
}

// Makers of the windows after the main one, in creation order: frmCoord,
// frmAbout, frmTool, frmZDepth, frmGrid, frmLayer, frmLayerAttr.
using TWindowMaker = std::unique_ptr<QWidget> (*)(TfrmMain& main);
constexpr TWindowMaker kOtherWindows[] = {MakeCoord, MakeAbout, MakeTool, MakeZDepth, MakeGrid, MakeLayer, MakeLayerAttr};

} // namespace

void InitializeModules()
{
    SetCADMessageSink([](const std::string& text) {
        ApplicationMessageBox(QString::fromStdString(text), GetLangString(kMsgBoxCaption), kMbOk);
    });
    SetLanguageMessageSink([](const QString& text) {
        ApplicationMessageBox(text, QString::fromLatin1(kApplicationTitle), kMbOk + kMbIconError);
    });
    for (const TModuleStep& module : kModules)
        if (module.Initialize != nullptr)
            module.Initialize();
}

void FinalizeModules()
{
    for (auto module = std::rbegin(kModules); module != std::rend(kModules); ++module)
        if (module->Finalize != nullptr)
            module->Finalize();
    SetScreenCursorSink(nullptr);
    SetLanguageMessageSink(nullptr);
    SetCADMessageSink(nullptr);
}

void ConfigureApplication()
{
    QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    ApplicationHelpFile = QString::fromLatin1(kApplicationHelpFile);
}

TProgramWindows::TProgramWindows()
    : MainWindow(std::make_unique<TfrmMain>())
{
    frmMain = MainWindow.get();
    MainWindow->FormCreate();
    for (const TWindowMaker make : kOtherWindows)
        OtherWindows.push_back(make(*MainWindow));
    HelpWindow = std::make_unique<THelpWindow>(MainWindow.get());
    HelpOpener = std::make_unique<THelpWindowOpener>(*HelpWindow);
}

TProgramWindows::~TProgramWindows()
{
    HelpOpener.reset();
    HelpWindow.reset();
    while (!OtherWindows.empty())
        OtherWindows.pop_back();
    frmLayerAttr = nullptr;
    frmLayer = nullptr;
    frmGrid = nullptr;
    frmZDepth = nullptr;
    frmTool = nullptr;
    frmAbout = nullptr;
    frmCoord = nullptr;
    frmMain = nullptr;
    MainWindow.reset();
}

int RunProgram(int argc, char* argv[])
{
    UseSceneViewerFormatByDefault();
    QApplication application(argc, argv);
    InitializeModules();
    ConfigureApplication();
    int exitCode = 0;
    {
        TProgramWindows windows;
        windows.Main().show();
        exitCode = QApplication::exec();
    }
    FinalizeModules();
    return exitCode;
}
