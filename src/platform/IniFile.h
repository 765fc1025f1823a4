#pragma once

// An ini file held wholly in memory: "[Section]" headers and "key=value"
// lines, as the Windows profile routines read them; a line ends at LF, CR LF
// or a CR alone, and the CRs before a line's end are dropped. Section and key names
// match without regard to ASCII case, names and values are trimmed of blanks
// and tabs, and the first of a repeated section or key is the one that
// counts. A line whose first non-blank character is ';' is a comment; a ';'
// later in a line belongs to the value, since templates and texts use it.
//
// Writing changes a value in place or appends the key after the last key of
// its section (a new section goes at the end), so a file written back keeps
// its order, its comments and the keys the program does not know about.
//
// Numbers are read and written without regard to the C or Qt locale.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

// Raised when an ini file cannot be written; the text names the file and the reason.
class EIniFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class IniFile {
public:
    IniFile();

    static IniFile FromText(std::string_view text);
    // None when the file does not exist or cannot be read.
    static std::optional<IniFile> FromFile(const QString& path);

    // The whole file as text, with the line ends it was read with ("\n" for a new file),
    // after one byte-order mark when it was read with any.
    std::string ToText() const;
    // Writes a temporary file beside the target and renames it over the target,
    // so the old file stays whole when writing fails. Raises EIniFileError.
    void SaveToFile(const QString& path) const;

    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    // Each Read returns the default when the key is missing; ReadInteger,
    // ReadFloat and ReadBool also when the text is not a number of their kind.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    // Decimal, or hexadecimal after "0x" or "$" (up to 8 digits, taken as a
    // 32-bit pattern, so "0xFF000005" reads as the signed colour -16777211).
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const;
    // '.' as decimal separator, an optional exponent; infinities and NaN are refused.
    double ReadFloat(std::string_view section, std::string_view key, double def) const;
    // An integer as ReadInteger reads it: 0 is false, any other number true;
    // words such as "true" or "yes" are not numbers and give the default.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    // Line breaks in the value become blanks.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    // The shortest text that reads back as the same double, without exponent.
    void WriteFloat(std::string_view section, std::string_view key, double value);
    // "1" or "0".
    void WriteBool(std::string_view section, std::string_view key, bool value);

private:
    struct Line {
        std::string text;  // the line as read, or as last written
        std::string key;   // empty for blank lines, comments and other text
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;  // the lines after the header
    };

    // One line as read, without its line break: a header, an entry or other text.
    void AddLine(std::string_view line);
    // The index of the first section of that name; 0 when there is none.
    std::size_t FindSection(std::string_view name) const;
    Section& SectionForWriting(std::string_view name);

    // sections_[0] holds the lines before the first header; it has no name and is never searched.
    std::vector<Section> sections_;
    std::string lineEnd_ = "\n";
    bool byteOrderMark_ = false;
};

// Locale-free number texts as the ini file reads and writes them; exposed for
// the callers that take numbers from other texts of the same files.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);
std::optional<double> ParseIniFloat(std::string_view text);
std::string FormatIniFloat(double value);
