#include "cad/fonts/VectFont.h"

#include "cad/base/CADExceptions.h"
#include "cad/stream/CADStream.h"

TVectFont::TVectFont(TCADStreamReader& stream, std::string_view version) : Glyphs(GlyphSlots)
{
    constexpr std::int32_t EndOfGlyphs = -1;
    for (std::int32_t code = stream.ReadInt32(); code != EndOfGlyphs; code = stream.ReadInt32()) {
        // Checked before the glyph is read, so a bad code costs no allocation.
        if (code < 0 || code >= GlyphSlots)
            throw ECADOutOfBound("TIndexedObjectList.SetObject: Index out of bounds.");
        Glyphs.SetObject(code, std::make_unique<TVectChar>(stream, version));
    }
}
