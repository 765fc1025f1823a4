#include "edit/commands/CommandFramework.h"

#include <cstring>

#include "cad/engine/CADState.h"
#include "edit/commands/EditSettings.h"
#include "edit/commands/SelectionState.h"

namespace {

constexpr std::int32_t CODE_CANCELLED = 12;
constexpr std::int32_t CODE_NONE = 999;
constexpr std::int32_t CODE_PAN = 51;
constexpr std::int32_t CODE_ZOOM_WINDOW = 52;
constexpr std::int32_t CODE_WINDOW_DELETE = 53;
constexpr std::int32_t CODE_MIRROR = 27;

bool IsSuspending(const TCommandRow& row)
{
    return row.Task == TCommandTask::SuspendPan || row.Task == TCommandTask::SuspendZoom;
}

} // namespace

TCommandFramework::TCommandFramework(TCommandShell& shell, std::int32_t& commandCode)
    : Shell(shell), CommandCode(commandCode)
{
    CommandCode = CODE_NONE;
}

void TCommandFramework::Start(std::int32_t code)
{
    const TCommandRow* row = FindCommand(code);
    if (row == nullptr)
        return;
    if (IsSuspending(*row)) {
        // The outer command keeps running underneath; its code comes back
        // when the pan or zoom ends, so its pages, snap and repeat stay right.
        if (SuspendedCode == 0)
            SuspendedCode = CommandCode;
        CommandCode = code;
        Shell.StartTask(*row, WindowSelect);
        return;
    }
    SuspendedCode = 0;
    CommandCode = code;
    if (row->Page != PAGE_UNCHANGED)
        Shell.ShowPage(row->Page);
    if (row->Key >= 0)
        Shell.AddRecent(*row);
    if (row->Snap != SNAP_UNCHANGED)
        ObjectSnapActive = row->Snap != 0;
    if (code == 13 || code == 15)
        EditSettings().FilletMode = FilletMode = code == 13;
    if (row->SelectionMode != 0) {
        SelectionMode = row->SelectionMode;
        StartSelectionCommand(code, SelectionMode);
    }
    if (code == CODE_MIRROR)
        TransformRepeat = 1;
    if (code >= 25 && code <= 28)
        StartTransformCommand(code, TransformRepeat);
    if (code == CODE_WINDOW_DELETE)
        WindowSelect = true;
    if (code == 54)
        TextPlacementCancelled = false;
    if (row->Task == TCommandTask::None) {
        Shell.RunAtOnce(*row);
        return;
    }
    if (Shell.Busy())
        Shell.StopOperation();
    Shell.StartTask(*row, WindowSelect);
}

void TCommandFramework::Choose(std::int32_t code)
{
    const TCommandRow* row = FindCommand(code);
    if (row == nullptr)
        return;
    if (row->LinkedButton != nullptr)
        Shell.BindLinkedButton(*row);
    Start(code);
}

void TCommandFramework::RepeatLastCommand()
{
    const TCommandRow* row = FindCommand(CommandCode);
    if (row == nullptr || row->Repeat == nullptr)
        return;
    if (row->MenuHandler != nullptr && std::strcmp(row->Repeat, row->MenuHandler) == 0)
        Choose(row->Code);
    else
        Start(row->Code);
}

void TCommandFramework::MiddleButton()
{
    if (!Shell.Busy())
        RepeatLastCommand();
}

void TCommandFramework::Escape()
{
    CommandCode = CODE_CANCELLED;
    Shell.SendUserEvent(CADPRG_CANCEL);
    Shell.StopOperation();
    Shell.AbortComputation();
}

void TCommandFramework::Enter()
{
    Shell.SendUserEvent(CADPRG_ACCEPT);
    if (!Shell.Busy())
        RepeatLastCommand();
}

void TCommandFramework::Cancel()
{
    if (CommandCode == CODE_PAN) {
        Shell.DefaultCursor();
        Shell.EndPanMode();
    }
    CommandCode = CODE_CANCELLED;
    Shell.SendUserEvent(CADPRG_CANCEL);
    Shell.StopOperation();
}

void TCommandFramework::Stop()
{
    TextPlacementCancelled = true;
    Shell.SendUserEvent(CADPRG_CANCEL);
    Shell.StopOperation();
    Shell.AbortComputation();
}

void TCommandFramework::ClosePage()
{
    Shell.ShowPage(PAGE_NONE);
    Shell.EnableToolbars();
    ToolbarsEnabled = true;
    Shell.SendUserEvent(CADPRG_CANCEL);
}

void TCommandFramework::CloseDistancePage()
{
    ObjectSnapActive = false;
    ClosePage();
}

void TCommandFramework::CloseTextPage()
{
    TextPlacementCancelled = true;
    Shell.SendUserEvent(CADPRG_CANCEL);
    Shell.ShowPage(PAGE_NONE);
    Shell.EnableToolbars();
    ToolbarsEnabled = true;
}

void TCommandFramework::EndOperation()
{
    const std::int32_t code = CommandCode;
    if (code >= 0 && code <= 40) {
        Shell.ShowPage(PAGE_NONE);
        if (!ToolbarsEnabled) {
            Shell.EnableToolbars();
            ToolbarsEnabled = true;
        }
        ObjectSnapActive = false;
        Shell.DefaultCursor();
    } else if (code == CODE_PAN) {
        Shell.DefaultCursor();
        Shell.EndPanMode();
        EndSuspended();
    } else if (code == CODE_ZOOM_WINDOW) {
        Shell.ZoomWindowUp();
        EndSuspended();
    } else if (code == CODE_WINDOW_DELETE) {
        Shell.ShowPage(PAGE_NONE);
        WindowSelect = false;
    } else if (code >= 54 && code <= 56) {
        Shell.ShowPage(PAGE_NONE);
        Shell.EnableToolbars();
        ToolbarsEnabled = true;
        ObjectSnapActive = false;
        if (!TextPlacementCancelled)
            Shell.ExplodePlaced();
    }
}

void TCommandFramework::EndSuspended()
{
    CommandCode = SuspendedCode != 0 ? SuspendedCode : CODE_NONE;
    SuspendedCode = 0;
}
