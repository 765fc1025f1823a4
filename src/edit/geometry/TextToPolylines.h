#pragma once

// Engraved text: a typed text turned, character by character, into closed
// polylines of a TrueType font's outlines, grouped in one container that the
// user places.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TContainer2D;
class TStrokeCollection;

// The strokes of one character code; none when the font has none.
using TStrokeSource = std::function<std::unique_ptr<TStrokeCollection>(std::uint32_t code)>;

struct TTextBuild {
    // None when nothing is to be placed.
    std::unique_ptr<TContainer2D> Container;
    // Why the build stopped; empty for an empty text or a character the
    // font lacks, which stop it silently.
    std::string Error;
};

// Every character is scaled so that the font's capital A is height high and
// followed by spacing; blanks and control characters take the width of "0"
// and draw nothing. The baseline is Y 0, the text starts at X 0.
TTextBuild BuildTextContainer(const std::u32string& text, double height, double spacing,
                              const TStrokeSource& strokes);
