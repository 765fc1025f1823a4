// A font file of any bytes, picked as the engraving font: its glyph outlines
// turned into strokes as the text command asks for them, a text built of
// them, then seen whole and picked in.

#include <memory>
#include <string>

#include "FuzzInputFile.h"
#include "FuzzSupport.h"
#include "cad/fonts/TrueTypeStrokes.h"
#include "cad/shapes/Container2D.h"
#include "edit/geometry/TextToPolylines.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return fuzz::StartDrawingEngine();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TTrueTypeFont font;
    font.FileName = fuzz::InputFile(data, size, ".ttf");
    TTTFToVectorConverter converter;
    converter.SetFont(font);
    converter.UNICODE = true;
    converter.SetPrecision(8);
    // Capitals, curves, digits, signs and a few letters beyond ASCII.
    const std::u32string text = U"AOg 0@&%? \u00e9\u00df\u20ac\u4e2d";
    TTextBuild build = BuildTextContainer(text, 10.0, 1.0, [&converter](std::uint32_t code) {
        return converter.GetCharStrokes(code);
    });
    TCADCmp2D drawing;
    if (build.Container)
        drawing.AddObject(-1, std::move(build.Container));
    fuzz::RedrawAndPick(drawing);
    return 0;
}
