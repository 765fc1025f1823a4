#pragma once

// One character of an installed TrueType (or OpenType) font as a list of
// straight strokes, for engraving text. The outline comes unhinted from
// FreeType at the size a 1024-point font has on a 96 dpi screen; quadratic
// segments and cubic ones are flattened into Precision steps each.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

// Coordinates in outline units, Y up; Contour counts the glyph's closed
// contours from 0.
struct TStroke {
    std::int32_t Contour = 0;
    std::int32_t X1 = 0;
    std::int32_t Y1 = 0;
    std::int32_t X2 = 0;
    std::int32_t Y2 = 0;

    bool operator==(const TStroke&) const = default;
};

struct TStrokeBounds {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    bool operator==(const TStrokeBounds&) const = default;
};

class TStrokeCollection {
public:
    void Add(const TStroke& stroke) { Strokes.push_back(stroke); }
    void Clear() { Strokes.clear(); }
    int Count() const { return static_cast<int>(Strokes.size()); }
    // An index outside the collection leaves the record as it was.
    void GetStroke(int index, TStroke& stroke) const;
    // Top/Bottom are the smallest/largest Y (Y grows upwards, so Top is the
    // lower edge); (0, 0, 0, 0) when empty.
    TStrokeBounds GetBounds() const;
    std::span<const TStroke> All() const { return Strokes; }

private:
    std::vector<TStroke> Strokes;
};

struct TOutlinePoint {
    double X = 0.0;
    double Y = 0.0;

    bool operator==(const TOutlinePoint&) const = default;
};

// Builds the strokes of one glyph from its contours in the form the outline
// query gives them: a start point, then runs of lines and quadratic B-spline
// control points whose implied on-curve points are the midpoints.
class TStrokeBuilder {
public:
    TStrokeBuilder(TStrokeCollection& target, int precision) : Target(target), Precision(precision) {}

    // Closes the contour in progress, then starts the next one.
    void StartContour(TOutlinePoint start);
    void Line(TOutlinePoint to);
    // p0 ... pn-1 (n >= 2): control points; the last one is on the curve.
    void QSpline(std::span<const TOutlinePoint> points);
    void Cubic(TOutlinePoint control1, TOutlinePoint control2, TOutlinePoint to);
    // The closing stroke back to the contour's start.
    void CloseContour();

private:
    void Emit(TOutlinePoint to);
    template <class Curve>
    void Flatten(const Curve& curve);

    TStrokeCollection& Target;
    int Precision;
    int Contour = -1;
    bool Open = false;
    TOutlinePoint Start;
    TOutlinePoint Current;
};

// A font as the user picked it: a family and style resolved through
// fontconfig, or a font file named directly.
struct TTrueTypeFont {
    std::string Family = "Arial";
    bool Bold = false;
    bool Italic = false;
    // Points; the converter asks for its outlines at 1024 whatever this says.
    int Size = 28;
    // Used instead of the family when set.
    std::string FileName;
};

class TTTFToVectorConverter {
public:
    TTTFToVectorConverter();
    ~TTTFToVectorConverter();
    TTTFToVectorConverter(const TTTFToVectorConverter&) = delete;
    TTTFToVectorConverter& operator=(const TTTFToVectorConverter&) = delete;

    const TTrueTypeFont& Font() const { return FontValue; }
    // Copies the font's properties; the face is found again at the next query.
    void SetFont(const TTrueTypeFont& font);
    int Precision() const { return PrecisionValue; }
    // 1 to 100; any other value is ignored.
    void SetPrecision(int precision);
    // Character codes are Unicode code points when set, Windows-1252 bytes otherwise.
    bool UNICODE = false;

    // None for a font that cannot be found or loaded, a character the font
    // does not have, or one without outline (a space).
    std::unique_ptr<TStrokeCollection> GetCharStrokes(std::uint32_t code);

    // The file the font resolves to; empty when none is installed.
    std::string ResolvedFile();

private:
    struct TFace;
    bool LoadFace();

    TTrueTypeFont FontValue;
    int PrecisionValue = 8;
    std::unique_ptr<TFace> Face;
};

// The file of the installed scalable font that fontconfig matches best to the
// family and style; "Arial" falls back on a sans font. Empty when none.
std::string ResolveFontFile(const std::string& family, bool bold, bool italic);
