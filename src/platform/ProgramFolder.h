#pragma once

// The program folder: where the executable lies, and with it the settings
// file, the language and post-processor folders, the block library and the font.

#include <QString>

// Without a trailing separator. The executable's folder unless a test has set another.
QString ProgramFolder();

// Makes ProgramFolder() answer folder; an empty folder brings back the executable's.
void SetProgramFolder(const QString& folder);
