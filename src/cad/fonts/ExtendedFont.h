#pragma once

// The platform logical font a text object keeps: the 60-byte record of the
// drawing stream, turned into a QFont only when the text is painted.

#include <array>
#include <cstdint>
#include <string>

#include <QFont>

class QPainter;
class TDecorativeCanvas;

// Field for field the platform's ANSI logical-font record, in stream order.
struct TLogFont {
    std::int32_t Height = 0; // < 0: character height in pixels; > 0: cell height
    std::int32_t Width = 0;
    std::int32_t Escapement = 0;
    std::int32_t Orientation = 0;
    std::int32_t Weight = 0; // 0 any, 400 normal, 700 bold
    std::uint8_t Italic = 0;
    std::uint8_t Underline = 0;
    std::uint8_t StrikeOut = 0;
    std::uint8_t CharSet = 0;
    std::uint8_t OutPrecision = 0;
    std::uint8_t ClipPrecision = 0;
    std::uint8_t Quality = 0;
    std::uint8_t PitchAndFamily = 0;
    std::array<char, 32> FaceName{}; // NUL-terminated

    bool operator==(const TLogFont&) const = default;
};
static_assert(sizeof(TLogFont) == 60, "the stream stores the record as 60 bytes");

class TExtendedFont {
public:
    // The default GUI font of the platform, with the face "Small Font".
    TExtendedFont();
    // A canvas still holding this font gets its own font back.
    ~TExtendedFont();
    TExtendedFont(const TExtendedFont&) = delete;
    TExtendedFont& operator=(const TExtendedFont&) = delete;

    // The record's height; a canvas holding the font gets it at the new height.
    void SetHeight(std::int32_t height);
    // The previous canvas gets its own font back, the new one (if any) this font.
    void SetCanvas(TDecorativeCanvas* canvas);
    TDecorativeCanvas* Canvas() const { return CanvasValue; }
    // Copies the record; a canvas holding the font gets the copy.
    void Assign(const TExtendedFont& other);
    // At most 31 bytes are kept, then the terminator.
    void SetFaceName(const std::string& face);
    std::string FaceName() const;

    // Escapement, orientation, precisions, quality and pitch have no Qt
    // counterpart and stay data only. A face the system lacks (such as the
    // default "Small Font") falls back to the system's general font.
    QFont ToQFont() const;

    TLogFont LogFont;

private:
    // Hands the font built from the record to the canvas's painter.
    void SelectIntoCanvas() const;

    TDecorativeCanvas* CanvasValue = nullptr;
    // The painter that was given this font and the font it had before.
    QPainter* SelectedPainter = nullptr;
    QFont PainterOwnFont;
};
