#pragma once

// A stroke font: up to 256 glyphs indexed by the 8-bit character code.
//
// Font file (".fnt"), no header, repeated entries of
//   code Int32 (-1 ends the list) | polyline count Int32 |
//   per polyline: point count Word, then X, Y, W Single per point (W = 1);
// a later entry for the same code replaces the earlier glyph.

#include <string_view>

#include "cad/fonts/VectChar.h"
#include "cad/model/IndexedObjectList.h"

class TCADStreamReader;

class TVectFont {
public:
    static constexpr int GlyphSlots = 256;

    TVectFont() : Glyphs(GlyphSlots) {}
    // A code outside 0-255 raises ECADOutOfBound; a short or damaged file
    // raises ECADFileNotValid.
    TVectFont(TCADStreamReader& stream, std::string_view version);

    // The glyph for a character code, or none when the font lacks it.
    TVectChar* GetChar(int code) const { return Glyphs.GetObject(code); }

private:
    TIndexedObjectList<TVectChar> Glyphs;
};
