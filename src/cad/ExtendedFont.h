#pragma once

// The platform logical font a text object keeps: the 60-byte record of the
// drawing stream, turned into a QFont only when the text is painted.

#include <array>
#include <cstdint>
#include <string>

class QFont;

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

    void SetHeight(std::int32_t height) { LogFont.Height = height; }
    void Assign(const TExtendedFont& other) { LogFont = other.LogFont; }
    // At most 31 bytes are kept, then the terminator.
    void SetFaceName(const std::string& face);
    std::string FaceName() const;

    // Escapement, orientation, precisions, quality and pitch have no Qt
    // counterpart and stay data only. A face the system lacks (such as the
    // default "Small Font") falls back to the system's general font.
    QFont ToQFont() const;

    TLogFont LogFont;
};
