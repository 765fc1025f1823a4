#pragma once

// Start-up and shutdown of the whole program, in three stages: every
// module's initialisation in dependency order, the application object, then
// the windows, the main window first. main() runs them around the message
// loop; tests run them with a program folder of their own (SetProgramFolder).

#include <memory>
#include <vector>

#include <QString>

class QWidget;
class TfrmMain;
class THelpWindow;
class THelpWindowOpener;

inline constexpr const char* kApplicationTitle = "Kestro";
// The application object's help file (ApplicationHelpFile, HelpViewer.h).
inline constexpr const char* kApplicationHelpFile = "Kestro.chm";

// The modules' initialisations in dependency order: the engine's notices
// and the language file's complaint go to message boxes from here on, the
// persistent classes are registered, and the main window's unit sets its
// globals and loads the vector font "RomanC.fnt" into font slot 0. Needs
// the QApplication, which knows the program folder.
void InitializeModules();
// The finalisations in reverse order, once the windows are gone.
void FinalizeModules();

// The application object's title and help file.
void ConfigureApplication();

// The program's windows, created in this order: the main window (whose
// creation steps run before any other window exists), the coordinate
// dialog, the about box, the tool dialog, the Z-depth window, the grid
// dialog, the layer dialog and the layer attribute dialog. They are freed in
// reverse order.
// The help pages open in a help window of the program's own.
class TProgramWindows {
public:
    TProgramWindows();
    ~TProgramWindows();
    TProgramWindows(const TProgramWindows&) = delete;
    TProgramWindows& operator=(const TProgramWindows&) = delete;

    TfrmMain& Main() { return *MainWindow; }

private:
    std::unique_ptr<TfrmMain> MainWindow;
    std::vector<std::unique_ptr<QWidget>> OtherWindows;
    std::unique_ptr<THelpWindow> HelpWindow;
    std::unique_ptr<THelpWindowOpener> HelpOpener;
};

// The whole program: start-up, the message loop until the main window
// closes, shutdown. Gives the process's exit code.
int RunProgram(int argc, char* argv[]);
