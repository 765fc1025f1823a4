#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

#include "cad/engine/CADState.h"
#include "edit/commands/CommandFramework.h"
#include "support/GoldenFile.h"

namespace {

// Records every call as a short word, so that a sequence reads as one line.
class TFakeShell : public TCommandShell {
public:
    void ShowPage(int page) override { Log << " page=" << page; }
    void AddRecent(const TCommandRow& row) override
    {
        Log << " mru=" << row.Key << "/" << (row.Hint != 0 ? std::to_string(row.Hint) : row.HintOf);
    }
    void BindLinkedButton(const TCommandRow& row) override { Log << " bind=" << row.LinkedButton; }
    bool Busy() const override { return Running; }
    void StopOperation() override
    {
        Log << " stop";
        Running = false;
    }
    void StartTask(const TCommandRow& row, bool windowSelect) override
    {
        Log << " start=" << static_cast<int>(row.Task) << (windowSelect ? "w" : "") << ":"
            << (row.Shape ? row.Shape : "-");
        Running = true;
    }
    void SendUserEvent(int event) override { Log << " event=" << event; }
    void EnableToolbars() override { Log << " toolbars"; }
    void DefaultCursor() override { Log << " cursor"; }
    void EndPanMode() override { Log << " panup"; }
    void ZoomWindowUp() override { Log << " zoomup"; }
    void ExplodePlaced() override { Log << " explode"; }
    void AbortComputation() override { Log << " abort"; }

    std::string Take()
    {
        std::string s = Log.str();
        Log.str({});
        return s;
    }

    std::ostringstream Log;
    bool Running = false;
};

} // namespace

using edittest::ExpectGolden;

// Each command chosen from its menu, then its task ended, then Enter: what the
// window sees at each step, and the globals after the start.
TEST(CommandFramework, EveryCommandThroughChooseEndAndRepeat)
{
    std::ostringstream out;
    for (const TCommandRow& row : CommandTable()) {
        TFakeShell shell;
        std::int32_t code = 0;
        TCommandFramework commands(shell, code);
        commands.ToolbarsEnabled = false;
        // The snap flag is the engine's: clear what the row before left.
        ObjectSnapActive = false;
        commands.Choose(row.Code);
        out << row.Code << " choose:" << shell.Take() << " | snap=" << commands.ObjectSnapActive
            << " sel=" << commands.SelectionMode << " fillet=" << commands.FilletMode << " code=" << code << "\n";
        commands.EndOperation();
        out << "   end:" << shell.Take() << " code=" << code << "\n";
        shell.Running = false;
        commands.Enter();
        out << "   enter:" << shell.Take() << "\n";
    }
    ExpectGolden("commands.txt", out.str());
}

TEST(CommandFramework, RepeatAndCancelSequences)
{
    TFakeShell shell;
    std::int32_t code = 0;
    TCommandFramework commands(shell, code);
    EXPECT_EQ(code, 999);

    // Nothing run yet: Enter only accepts.
    commands.Enter();
    EXPECT_EQ(shell.Take(), " event=1");

    // After Esc nothing repeats, by Enter or by the middle button.
    commands.Choose(29);
    shell.Take();
    commands.Escape();
    EXPECT_EQ(shell.Take(), " event=2 stop abort");
    EXPECT_EQ(code, 12);
    commands.Enter();
    commands.MiddleButton();
    EXPECT_EQ(shell.Take(), " event=1");

    // The middle button repeats only while idle; a start while busy stops first.
    commands.Choose(2);
    shell.Take();
    commands.MiddleButton();
    EXPECT_EQ(shell.Take(), "");
    shell.Running = false;
    commands.MiddleButton();
    EXPECT_EQ(shell.Take(), " bind=lsbLine page=23 mru=25/241 start=1:TLine2D");
    commands.Start(49);
    EXPECT_EQ(shell.Take(), " page=17 mru=10/211 stop start=8:TMySelezione");

    // Never repeated: split, join, tangent arc, pan, zoom, grid, bolt circle, distance, end points.
    std::set<int> never;
    for (const TCommandRow& row : CommandTable())
        if (row.Repeat == nullptr)
            never.insert(row.Code);
    EXPECT_EQ(never, (std::set<int>{14, 20, 34, 51, 52, 55, 56, 57, 999}));

    // Cancel during a pan ends the pan mode too; Stop cancels a text placement.
    commands.Start(51);
    shell.Take();
    commands.Cancel();
    EXPECT_EQ(shell.Take(), " cursor panup event=2 stop");
    commands.Stop();
    EXPECT_TRUE(commands.TextPlacementCancelled);
    EXPECT_EQ(shell.Take(), " event=2 stop abort");
}

TEST(CommandFramework, SuspendedPanAndZoomGiveTheOuterCommandBack)
{
    TFakeShell shell;
    std::int32_t code = 0;
    TCommandFramework commands(shell, code);
    commands.Choose(26);
    commands.Start(51);
    EXPECT_EQ(code, 51);
    commands.Start(52); // a zoom inside the pan still returns to rotate
    commands.EndOperation();
    EXPECT_EQ(code, 26);
    shell.Take();
    // The outer command's end still tidies its pages and snap, and Enter repeats it.
    commands.ObjectSnapActive = true;
    commands.EndOperation();
    EXPECT_FALSE(commands.ObjectSnapActive);
    shell.Running = false;
    commands.Enter();
    EXPECT_EQ(shell.Take(), " page=999 cursor event=1 bind=lsbXform page=33 mru=14/214 start=8:TSCRuotaSelectedObjects");

    // A pan with nothing under it ends with no command.
    TCommandFramework idle(shell, code);
    idle.Start(51);
    idle.EndOperation();
    EXPECT_EQ(code, 999);

    // Window delete switches window select on until it ends.
    commands.Choose(53);
    EXPECT_TRUE(commands.WindowSelect);
    commands.Choose(21);
    EXPECT_NE(shell.Take().find("start=8w:"), std::string::npos);
    code = 53;
    commands.EndOperation();
    EXPECT_FALSE(commands.WindowSelect);
}
