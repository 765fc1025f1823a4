#pragma once

// The common life of every drawing and editing command: the starter
// sequence, repeat, Esc, Enter, Cancel, Stop, the page close buttons and the
// tidying when a task ends. The main window supplies the shell; tests give a
// fake one.

#include <cstdint>

#include "cad/engine/EngineGlobals.h"
#include "edit/commands/CommandTable.h"

// What the framework asks of the main window and its task runner.
class TCommandShell {
public:
    virtual ~TCommandShell() = default;
    // A page index, or PAGE_NONE to hide all pages.
    virtual void ShowPage(int page) = 0;
    // Puts the command on the recently-used bar.
    virtual void AddRecent(const TCommandRow& row) = 0;
    // Gives the linked button the command's glyph, hint and action.
    virtual void BindLinkedButton(const TCommandRow& row) = 0;
    virtual bool Busy() const = 0;
    virtual void StopOperation() = 0;
    // Starts the row's task; windowSelect chooses the area selection.
    virtual void StartTask(const TCommandRow& row, bool windowSelect) = 0;
    // A command without a task acts at once, or leaves the acting to its page.
    virtual void RunAtOnce(const TCommandRow& /*row*/) {}
    virtual void SendUserEvent(int event) = 0;
    virtual void EnableToolbars() = 0;
    virtual void DefaultCursor() = 0;
    // Ends the pan mode: pan button up, both pan flags cleared.
    virtual void EndPanMode() = 0;
    virtual void ZoomWindowUp() = 0;
    // Explodes the container just placed into separate entities.
    virtual void ExplodePlaced() = 0;
    // Asks the long computations to stop.
    virtual void AbortComputation() = 0;
};

class TCommandFramework {
public:
    // The code variable is the program's; it is set to "none" here.
    TCommandFramework(TCommandShell& shell, std::int32_t& commandCode);

    // The starter sequence of a command.
    void Start(std::int32_t code);
    // The menu handler: re-binds the linked button, then starts.
    void Choose(std::int32_t code);
    // Re-runs the last started command when it may be repeated.
    void RepeatLastCommand();
    // The middle button in the view; nothing while a task runs.
    void MiddleButton();

    void Escape();
    // Accepts the running task, then repeats the last command unless the
    // accept left a task running: a selection ended by Enter hands its
    // objects to the transform that waits for its points.
    void Enter();
    void Cancel();
    void Stop();
    // Close buttons of the pages: the common one, the distance and the text page's.
    void ClosePage();
    void CloseDistancePage();
    void CloseTextPage();

    // The runner ended its task.
    void EndOperation();
    // A suspending task (pan, zoom window) that ended gives the outer code back.
    void EndSuspended();

    std::int32_t Code() const { return CommandCode; }

    // The globals of the commands.
    // The engine's own flag, which the drawing tasks read.
    bool& ObjectSnapActive = ::ObjectSnapActive;
    bool FilletMode = false;
    int SelectionMode = 0;
    // The engine's own, which the transform tasks read.
    bool& TransformCopyMode = ::TransformCopyMode;
    std::int32_t& TransformRepeat = ::TransformRepeat;
    bool TextPlacementCancelled = false;
    bool WindowSelect = false;
    bool ToolbarsEnabled = true;

private:
    TCommandShell& Shell;
    std::int32_t& CommandCode;
    // The code of the command a pan or zoom window suspended; 0: none.
    std::int32_t SuspendedCode = 0;
};
