#pragma once

// The NC job around the programs: how a page's depth is split into passes,
// what the job remembers between two calculations (the first-program flag,
// the last tool, the undo record), the machining-time text, the naming of
// the NC file and the text of the editor as it is saved.

#include <functional>
#include <string>
#include <string_view>

#include "cam/nc/NcWords.h"
#include "cam/nc/PostSettings.h"

// The Z fields of a machining page.
struct TDepthFields {
    double ZRapid = 2.0;
    double TopOfStock = 0.0;
    double Depth = -1.0;
    double Increment = 1.0;
};

enum class TPassPlanStatus {
    Ok,
    // The post writes no Z (or its tool makes one pass): one pass.
    OnePass,
    // Rapid moves at the rapid height would run through the stock.
    RapidNotAbove,
    // An increment of 0 or below would never reach the depth.
    BadIncrement,
    // The depth lies above the top of the stock: there is nothing to cut.
    DepthAboveTop,
};

// Passes full passes of Step1, then one of Step2 when ExtraPass is set.
struct TDepthPassPlan {
    TPassPlanStatus Status = TPassPlanStatus::Ok;
    int Passes = 1;
    double Step1 = 0.0;
    double Step2 = 0.0;
    bool ExtraPass = false;

    int PassCount() const { return Passes + (ExtraPass ? 1 : 0); }
    // A program may be written from this plan.
    bool Usable() const { return Status == TPassPlanStatus::Ok || Status == TPassPlanStatus::OnePass; }
};

TDepthPassPlan ComputeDepthPassPlan(const TDepthFields& fields, const TPostSettings& post = PostSettings);

// Lowers the depth by the step of pass i (1 for the first).
void StepTopOfStock(float& depth, const TDepthPassPlan& plan, int i);

// What the job takes at the start of each calculation, so that its program
// can be taken back.
struct TNcUndoRecord {
    int LineCount = 0;
    // What the control had been told when the operation began, block number
    // included: the next program must not leave out a word that only the
    // taken-back lines gave.
    TNcModalMemory Modal;
    int LastTool = 1;
    // Taken back already, or nothing to take back.
    bool Used = true;
};

struct TNcJobState {
    // The next program starts the file: its start template, and a clean modal memory.
    bool FirstProgram = true;
    // The tool the program ends with; another tool in the job writes the tool change.
    int LastTool = 1;
    TNcUndoRecord Undo;
};

extern TNcJobState NcJobState;

// A new NC file: the next program starts it, at the post's first block number.
void StartNcFile(TNcJobState& state, TNcModalMemory& modal, const TPostSettings& post = PostSettings);
// Before a calculation appends its program to the editor's lines.
void BeginNcOperation(TNcJobState& state, const TNcModalMemory& modal, int editorLines);
// Takes the last operation's lines off the editor text. False, and nothing
// changed, when there is nothing to take back.
bool TakeBackNcOperation(std::string& editorText, TNcJobState& state, TNcModalMemory& modal,
                         const TPostSettings& post = PostSettings);

// Editor text: lines separated by LF (a CR before it is part of the break);
// a break at the very end opens no line.
int CountTextLines(std::string_view text);
// The first n lines.
std::string KeepTextLines(std::string_view text, int n);
// The text with each line ended by CR LF, as NC files are saved.
std::string ToCrLfText(std::string_view text);
// Writes the editor's lines as CR LF text; false when the file cannot be written.
bool SaveNcText(const std::string& path, std::string_view text);

// " 1h, 02m, 05s": hours as they come, minutes and seconds in two digits.
std::string FormatDuration(long long seconds);

// Cuts the text in its middle until it fits the width less 5 pixels, 5
// characters from the tenth replaced by "..." each time; stops when the text
// does not get any shorter.
std::string ShortenPathForWidth(std::string text, int width, const std::function<int(const std::string&)>& textWidth);

// The name the NC file dialogs propose: the file part of the dialog's last
// name without its extension, "t" when there is none.
std::string ProposedNcFileName(std::string_view dialogName);

// Appends the program's lines (CR LF or LF ended) to the editor's text.
void AppendTextLines(std::string& editorText, std::string_view program);
