#pragma once

// NC words and lines as a post-processor wants them: the block number, the
// motion word, coordinates, arc words, feed and tool words, each left out
// when the post's modal rules say the control still knows it; the line
// writers, the arc block of each dialect and the expansion of the post's
// text templates. Everything is written into a string; CR LF ends each line.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "cam/chains/ChainElement.h"
#include "cam/nc/PostSettings.h"

// What the control was last told. The program resets it when it starts a new
// NC program; LoadPostProcessor restarts the block numbers.
struct TNcModalMemory {
    std::string LastX;
    std::string LastY;
    std::string LastZ;
    std::string LastMotion;
    std::string LastFeed;
    // The last points of incremental output, in single precision.
    float LastIncX = 0.0f;
    float LastIncY = 0.0f;
    float LastIncZ = 0.0f;
    int BlockNumber = 1;

    // The word texts, so that the next words are all written.
    void ClearWords();
    void ClearIncremental();
};

// Texts put into the last X and Y texts so that the next coordinate words
// are written whatever their value: after an arc when the post's XYModal is
// off, and after the centre line of the HEI dialect.
inline constexpr char FORCE_XY_AFTER_ARC[] = "9999.12345";
inline constexpr char FORCE_XY_AFTER_CENTRE[] = "99999.123";

// The feed text that stands for a rapid move.
inline constexpr char RAPID_FEED[] = "-2";

extern TNcModalMemory NcModal;

// Values of the tool and the job that the templates name. Texts are written
// as the user typed them.
struct TNcJobValues {
    int ToolNumber = 1;
    std::string ToolName;
    std::string ToolDiameter = "5";
    std::string SpindleSpeed = "1000";
    std::string FeedRate = "1000";
    std::string PlungeRate = "1000";
    bool Coolant = false;
    // The NC file, with or without its folder.
    std::string NcFileName;
    float ZRapid = 2.0f;
    float CurrentDepth = 0.0f;
    double PeckIncrement = 1.0;
    double Pitch = 1.0;
};

// The program's one job: the tool dialog fills the tool's values, the machining
// pages the depths, and every program is written with them.
extern TNcJobValues NcJobValues;

// A number in the units' display format ("%0.3f" in millimetres, "%0.4f" in
// inches), trimmed when the post trims zeros, after the post's separator.
// These also serve numbers shown outside the NC text.
std::string FormatSepNumber(double value, const TPostSettings& post = PostSettings);
std::string FormatPrefixedNumber(std::string_view prefix, double value, const TPostSettings& post = PostSettings);

// The most text one expansion of a template may give: far beyond any
// control's need, far below what would exhaust memory.
inline constexpr std::size_t MAX_EXPANDED_TEMPLATE = std::size_t{1} << 16;
// The typed texts a template may name (tool name, file name, feed rate)
// counted at this length when a post's templates are judged.
inline constexpr std::size_t TYPED_TEXT_ALLOWANCE = 256;

// The most characters the template can expand to through the post, typed
// texts counted at TYPED_TEXT_ALLOWANCE; found without expanding it.
std::size_t TemplateExpansionBound(std::string_view templ, const TPostSettings& post);
// The section of the first template of the post whose expansion could pass
// MAX_EXPANDED_TEMPLATE; empty when there is none.
std::string OversizedTemplate(const TPostSettings& post);

// Writes one NC program's text through a post. It borrows the post, the modal
// memory and the job values; the program keeps one of each.
class TNcWriter {
public:
    TNcWriter(const TPostSettings& post, TNcModalMemory& modal, const TNcJobValues& job);

    // The text written so far.
    const std::string& Text() const { return text_; }
    std::string TakeText();

    // Words; an empty text means no word.
    std::string FormatBlockNumber();
    std::string FormatGWord(int motion);
    std::string FormatXWord(double x);
    std::string FormatYWord(double y);
    std::string FormatZWord(double z);
    std::string FormatIWord(double v) const;
    std::string FormatJWord(double v) const;
    std::string FormatRWord(double v) const;
    std::string FormatCycleWord(std::string_view prefix, double v) const;
    // RAPID_FEED gives the post's rapid feed word.
    std::string FormatFeedWord(const std::string& feedText);
    std::string FormatToolWord(int n) const;
    // The bare numbers of SBO commands, each scaled and formatted by its own axis
    // like the X and Y words, so that both kinds of line speak the same units.
    std::string FormatXNumber(double v) const;
    std::string FormatYNumber(double v) const;

    // The value minus the last one; the value becomes the last one.
    float IncrementX(double x);
    float IncrementY(double y);
    float IncrementZ(double z);

    // Lines, each ended with CR LF; an empty text writes nothing.
    void WriteNcLine(int motion, const std::string& text);
    void WriteMoveLine(int motion, const std::string& feedText, double x, double y);
    // A negative motion writes no motion word; otherwise it ends the line.
    void WriteTemplateLine(int motion, const std::string& text);
    // An arc element in the post's dialect, at the job's feed rate; a straight
    // element is written as a feed move.
    void WriteArcBlock(const TChainElement& element);
    // The template with its bracketed keys replaced, at the point (x, y), written as it stands.
    void WriteTemplate(std::string_view templ, double x, double y);
    // The Z (in drawing units) that the templates expanded since the last
    // call sent the tool to with a rapid Z word; none when they sent none.
    std::optional<double> TakeTemplateZ();

    // The template with its bracketed keys replaced; an unknown key gives its
    // own name. An expansion that would pass MAX_EXPANDED_TEMPLATE gives an
    // empty text, as any failed expansion does.
    std::string ExpandTemplate(std::string_view templ, double x, double y);

private:
    enum class TAxis { X, Y, Z };
    // The coordinate word of one axis; always written when forced.
    std::string AxisWord(TAxis axis, double value, bool forced);
    // The number of an arc word, scaled by the axis.
    std::string ArcNumber(double v, const TAxisFormat& axis) const;
    std::string TrimmedNumber(double v, const TNumberFormat& format) const;
    std::string TemplateValue(const std::string& key, double x, double y);
    // A cycle word of a template; the letter's modal memory is forgotten.
    std::string CycleWordOfTemplate(const std::string& prefix, double v);
    std::string ArcText(const TChainElement& element, const TBulgeArc& arc) const;
    void WriteLine(const std::string& line);

    const TPostSettings& post_;
    TNcModalMemory& modal_;
    const TNcJobValues& job_;
    std::string text_;
    std::optional<double> templateZ_;
};
