#include "cad/fonts/TrueTypeStrokes.h"

#include <algorithm>
#include <cmath>

#include <QString>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include "cad/fonts/Windows1252.h"

namespace {

// A 1024-point font on a 96 dpi screen is 1365 pixels to the em, the size the
// strokes' units are counted in.
constexpr FT_UInt kOutlinePixels = 1024 * 96 / 72;

std::int32_t RoundHalfEven(double value)
{
    return static_cast<std::int32_t>(std::nearbyint(value));
}

struct TQuadratic {
    TOutlinePoint A, B, C;
    TOutlinePoint At(double t) const
    {
        return {A.X + t * t * (A.X - 2 * B.X + C.X) + t * (2 * B.X - 2 * A.X),
                A.Y + t * t * (A.Y - 2 * B.Y + C.Y) + t * (2 * B.Y - 2 * A.Y)};
    }
};

struct TCubic {
    TOutlinePoint A, B, C, D;
    TOutlinePoint At(double t) const
    {
        const double u = 1.0 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        return {a * A.X + b * B.X + c * C.X + d * D.X, a * A.Y + b * B.Y + c * C.Y + d * D.Y};
    }
};

TOutlinePoint Midpoint(TOutlinePoint a, TOutlinePoint b)
{
    return {(a.X + b.X) / 2, (a.Y + b.Y) / 2};
}

} // namespace

void TStrokeCollection::GetStroke(int index, TStroke& stroke) const
{
    if (index >= 0 && index < Count())
        stroke = Strokes[static_cast<std::size_t>(index)];
}

TStrokeBounds TStrokeCollection::GetBounds() const
{
    if (Strokes.empty())
        return {};
    TStrokeBounds box{Strokes[0].X1, Strokes[0].Y1, Strokes[0].X1, Strokes[0].Y1};
    for (const TStroke& s : Strokes) {
        box.Left = std::min({box.Left, s.X1, s.X2});
        box.Right = std::max({box.Right, s.X1, s.X2});
        box.Top = std::min({box.Top, s.Y1, s.Y2});
        box.Bottom = std::max({box.Bottom, s.Y1, s.Y2});
    }
    return box;
}

void TStrokeBuilder::StartContour(TOutlinePoint start)
{
    CloseContour();
    ++Contour;
    Open = true;
    Start = start;
    Current = start;
}

void TStrokeBuilder::Emit(TOutlinePoint to)
{
    if (!(to == Current))
        Target.Add({Contour, RoundHalfEven(Current.X), RoundHalfEven(Current.Y), RoundHalfEven(to.X),
                    RoundHalfEven(to.Y)});
    Current = to;
}

void TStrokeBuilder::Line(TOutlinePoint to)
{
    Emit(to);
}

template <class Curve>
void TStrokeBuilder::Flatten(const Curve& curve)
{
    const double step = 1.0 / Precision;
    for (int i = 1; i <= Precision; ++i) {
        double t = i * step;
        if (std::abs(1.0 - t) < step / 2)
            t = 1.0;
        Emit(curve.At(t));
    }
}

void TStrokeBuilder::QSpline(std::span<const TOutlinePoint> points)
{
    const std::size_t n = points.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const TOutlinePoint end = i + 2 == n ? points[n - 1] : Midpoint(points[i], points[i + 1]);
        Flatten(TQuadratic{Current, points[i], end});
    }
}

void TStrokeBuilder::Cubic(TOutlinePoint control1, TOutlinePoint control2, TOutlinePoint to)
{
    Flatten(TCubic{Current, control1, control2, to});
}

void TStrokeBuilder::CloseContour()
{
    if (!Open)
        return;
    Emit(Start);
    Open = false;
}

std::string ResolveFontFile(const std::string& family, bool bold, bool italic)
{
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr)
        return {};
    FcPattern* pattern = FcPatternCreate();
    // "Arial" is the program's default face; where it is not installed the
    // configuration's own sans alias stands in for it.
    const std::string name = family.empty() ? "sans-serif" : family;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    if (name == "Arial")
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    std::string file;
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
        FcChar8* path = nullptr;
        FcBool scalable = FcFalse;
        FcPatternGetBool(match, FC_SCALABLE, 0, &scalable);
        if (scalable && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
            file = reinterpret_cast<const char*>(path);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    FcConfigDestroy(config);
    return file;
}

struct TTTFToVectorConverter::TFace {
    FT_Library Library = nullptr;
    FT_Face Face = nullptr;
    ~TFace()
    {
        if (Face != nullptr)
            FT_Done_Face(Face);
        if (Library != nullptr)
            FT_Done_FreeType(Library);
    }
};

TTTFToVectorConverter::TTTFToVectorConverter() = default;
TTTFToVectorConverter::~TTTFToVectorConverter() = default;

void TTTFToVectorConverter::SetFont(const TTrueTypeFont& font)
{
    FontValue = font;
    Face.reset();
}

void TTTFToVectorConverter::SetPrecision(int precision)
{
    if (precision >= 1 && precision <= 100)
        PrecisionValue = precision;
}

std::string TTTFToVectorConverter::ResolvedFile()
{
    return FontValue.FileName.empty() ? ResolveFontFile(FontValue.Family, FontValue.Bold, FontValue.Italic)
                                      : FontValue.FileName;
}

bool TTTFToVectorConverter::LoadFace()
{
    if (Face)
        return true;
    const std::string file = ResolvedFile();
    if (file.empty())
        return false;
    auto face = std::make_unique<TFace>();
    if (FT_Init_FreeType(&face->Library) != 0 || FT_New_Face(face->Library, file.c_str(), 0, &face->Face) != 0 ||
        !FT_IS_SCALABLE(face->Face) || FT_Set_Pixel_Sizes(face->Face, 0, kOutlinePixels) != 0)
        return false;
    Face = std::move(face);
    return true;
}

namespace {

TOutlinePoint FromFixed(const FT_Vector* v)
{
    return {static_cast<double>(v->x) / 64.0, static_cast<double>(v->y) / 64.0};
}

int MoveTo(const FT_Vector* to, void* user)
{
    static_cast<TStrokeBuilder*>(user)->StartContour(FromFixed(to));
    return 0;
}

int LineTo(const FT_Vector* to, void* user)
{
    static_cast<TStrokeBuilder*>(user)->Line(FromFixed(to));
    return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user)
{
    const TOutlinePoint points[] = {FromFixed(control), FromFixed(to)};
    static_cast<TStrokeBuilder*>(user)->QSpline(points);
    return 0;
}

int CubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user)
{
    static_cast<TStrokeBuilder*>(user)->Cubic(FromFixed(control1), FromFixed(control2), FromFixed(to));
    return 0;
}

std::uint32_t CodePoint(std::uint32_t code, bool unicode)
{
    if (unicode || code > 0xFF)
        return code;
    const QString text = DecodeWindows1252(std::string(1, static_cast<char>(code)));
    return text.isEmpty() ? code : text.at(0).unicode();
}

} // namespace

std::unique_ptr<TStrokeCollection> TTTFToVectorConverter::GetCharStrokes(std::uint32_t code)
{
    if (!LoadFace())
        return nullptr;
    FT_Face face = Face->Face;
    const FT_UInt glyph = FT_Get_Char_Index(face, CodePoint(code, UNICODE));
    if (glyph == 0 || FT_Load_Glyph(face, glyph, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE || face->glyph->outline.n_contours <= 0)
        return nullptr;
    auto strokes = std::make_unique<TStrokeCollection>();
    TStrokeBuilder builder(*strokes, PrecisionValue);
    const FT_Outline_Funcs funcs{MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
    if (FT_Outline_Decompose(&face->glyph->outline, &funcs, &builder) != 0)
        return nullptr;
    builder.CloseContour();
    if (strokes->Count() == 0)
        return nullptr;
    return strokes;
}
