#pragma once

// The program's message boxes: a text, a caption, the buttons and the icon
// chosen by flags, and the answer the user gave. Every box of the program
// goes through here, so that tests answer in the user's place.

#include <functional>

#include <QString>

// Buttons (one of) plus an icon (one of), added together: a confirmation is
// kMbYesNo + kMbIconWarning (52), a notice kMbOk + kMbIconInformation (64).
inline constexpr int kMbOk = 0;
inline constexpr int kMbYesNo = 4;
inline constexpr int kMbIconError = 16;
inline constexpr int kMbIconQuestion = 32;
inline constexpr int kMbIconWarning = 48;
inline constexpr int kMbIconInformation = 64;

// Answers.
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Shows the box and waits for the answer. CR LF line breaks in the text are kept as breaks.
int ApplicationMessageBox(const QString& text, const QString& caption, int flags);

// Answers every box in place of the user; an empty hook brings back the real
// boxes. Gives back the hook it replaces.
using TMessageBoxHook = std::function<int(const QString& text, const QString& caption, int flags)>;
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook);
