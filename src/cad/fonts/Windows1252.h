#pragma once

// Texts of drawings are kept as the 8-bit bytes they were read as; on screen
// they are the Windows Western code page.

#include <string>

class QString;

QString DecodeWindows1252(const std::string& bytes);
