#pragma once

// The loaded vector fonts under the indices that text records in streams
// name them by. The registry owns its fonts from registration until it is
// cleared at shutdown; text objects only refer to them.

#include <string>

class TVectFont;

inline constexpr int CADCoreFontRegistrySize = 513;

// Reads a font file into the slot. A missing or damaged file is not an
// exception: the user is told through ShowCADMessage and the slot stays empty.
void CADCoreRegisterFontFromFile(int index, const std::string& fileName);
// The first slot holding the font; raises when none does (also for no font).
int CADCoreFindFontIndex(const TVectFont* font);
// The font in the slot; an empty slot or an index outside 0-512 raises.
TVectFont* CADCoreFindFontByIndex(int index);
// Frees every registered font. Only for start-up and shutdown (and tests):
// text objects still pointing at the fonts must be gone.
void CADCoreClearFontRegistry();
