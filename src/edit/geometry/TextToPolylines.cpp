#include "edit/geometry/TextToPolylines.h"

#include <vector>

#include "cad/fonts/TrueTypeStrokes.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Container2D.h"
#include "cad/shapes/Polyline2D.h"

namespace {

constexpr std::uint32_t kCapitalA = 65;
constexpr std::uint32_t kDigitZero = 48;

// One polyline per contour, in stroke order.
void AddCharacter(TContainer2D& container, const TStrokeCollection& strokes, double scale, double penX)
{
    auto at = [&](std::int32_t x, std::int32_t y) {
        return MakePoint2D(static_cast<float>(x * scale + penX), static_cast<float>(y * scale));
    };
    std::vector<TPoint2D> run;
    std::int32_t contour = 0;
    auto flush = [&] {
        if (run.size() >= 2)
            container.Objects().Add(std::make_unique<TPolyline2D>(0, run));
        run.clear();
    };
    for (const TStroke& s : strokes.All()) {
        if (run.empty() || s.Contour != contour) {
            flush();
            run.push_back(at(s.X1, s.Y1));
            contour = s.Contour;
        }
        run.push_back(at(s.X2, s.Y2));
    }
    flush();
}

} // namespace

TTextBuild BuildTextContainer(const std::u32string& text, double height, double spacing, const TStrokeSource& strokes)
{
    TTextBuild build;
    if (text.empty())
        return build;
    const std::unique_ptr<TStrokeCollection> capital = strokes(kCapitalA);
    const TStrokeBounds capitalBox = capital ? capital->GetBounds() : TStrokeBounds{};
    if (capitalBox.Bottom - capitalBox.Top <= 0) {
        // The capital A sets the scale of every character.
        build.Error = "The font has no capital A to measure the text height by.";
        return build;
    }
    const double scale = height / (capitalBox.Bottom - capitalBox.Top);

    auto container = std::make_unique<TContainer2D>();
    double penX = 0;
    for (char32_t c : text) {
        const bool drawn = c > 32;
        const std::unique_ptr<TStrokeCollection> glyph = strokes(drawn ? static_cast<std::uint32_t>(c) : kDigitZero);
        if (!glyph)
            return build;
        const TStrokeBounds box = glyph->GetBounds();
        if (drawn)
            AddCharacter(*container, *glyph, scale, penX);
        penX += (box.Right - box.Left) * scale + spacing;
    }
    container->UpdateExtension();
    build.Container = std::move(container);
    return build;
}
