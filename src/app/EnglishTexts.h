#pragma once

// The program's own English message texts, used when no language file can be
// opened, so that message boxes, status lines and prompts still say something.
// The windows keep their designed English captions in that case.

#include <string_view>

class IniFile;

// The texts as an ini file holding one section, [String].
const IniFile& BuiltInEnglishTexts();
// The same section as text, as it stands in the shipped "english.lng".
std::string_view BuiltInEnglishStrings();
