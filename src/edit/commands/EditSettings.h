#pragma once

// What the editing commands read from their option pages and the boxes they
// show. The pages keep the values current; tests set them directly.

#include <functional>
#include <vector>

// A message box: the language file's messages, one per line, under a caption
// (0: the program's title). A warning shows the warning icon.
struct TEditBox {
    std::vector<int> Messages;
    int Caption = 0;
    bool Warning = false;
};

struct TEditSettings {
    // Fillet (true) or trim (false), set by the command's starter.
    bool FilletMode = true;
    double FilletRadius = 10.0;
    double ArcTanRadius = 1.0;
    bool ArcTanTrim = false;
    double TanLineLength = 1.0;
    // Degrees.
    double TanLineAngle = 0.0;
    double ExtendLength = 1.0;
    // The tangent arc between two entities (true) or about a picked centre.
    bool ArcTanTwoEntities = false;
    // Nothing is shown without a shell.
    std::function<void(const TEditBox& box)> ShowBox;
};

TEditSettings& EditSettings();

void ShowEditBox(const TEditBox& box);
