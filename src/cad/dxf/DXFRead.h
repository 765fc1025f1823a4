#pragma once

// Reads an ASCII DXF drawing as a stream of group-code/value pairs. The whole
// file is held as bytes; a reader works the same on a file or on a buffer
// handed to it. Numbers are read without the locale (a comma decimal reads as
// a point), code lines may be padded, lines may end in CR LF, and text stays
// as the file's 8-bit bytes.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// A value typed by its group code.
struct TDXFValue {
    enum class TKind : std::uint8_t { Empty, Text, Real, Integer };

    TKind Kind = TKind::Empty;
    std::string Text;
    double Real = 0.0;
    std::int32_t Integer = 0;

    bool IsEmpty() const { return Kind == TKind::Empty; }
    // Any kind as a number: text is converted as a real would be, 0 when it does not convert.
    double AsReal() const;
    std::int32_t AsInteger() const;
    void Clear();
};

// How a group code types its value.
TDXFValue::TKind DXFValueKindOf(int code);
// Locale-free conversions of a value's text; text that does not convert
// (or a number out of range, or not finite) gives 0.
double DXFTextToReal(std::string_view text);
std::int32_t DXFTextToInteger(std::string_view text);

// The drawing's single precision: a value beyond its range becomes an
// infinity (which the importer refuses) rather than an undefined conversion.
float DXFToFloat(double value);

// One entity or header variable: the values of codes 0-255 and 1000-1256,
// the last pair of each code winning. Other codes are not kept.
class TDXFRecord {
public:
    static constexpr int SlotCount = 513;

    // The slot of a code, or -1 when the record does not keep it.
    static int SlotOf(int code);

    bool Has(int code) const;
    const TDXFValue& Get(int code) const;
    double Real(int code, double absent = 0.0) const;
    std::int32_t Integer(int code, std::int32_t absent = 0) const;
    // Empty when absent or not text.
    const std::string& Text(int code) const;

    void Store(int code, const TDXFValue& value);
    // Empties only the slots the last record filled.
    void Clear();

private:
    std::array<TDXFValue, SlotCount> Slots;
    std::vector<std::uint16_t> Used;
};

enum class TDXFSection : std::uint8_t { Header = 0, Tables = 1, Blocks = 2, Entities = 3, Classes = 4, None = 5 };

class TDXFRead {
public:
    // Reads the file; one that cannot be opened leaves the reader failed.
    explicit TDXFRead(const std::filesystem::path& fileName);
    // Reads a drawing already in memory (a fuzzer, a test, a pipe).
    static TDXFRead FromBytes(std::string bytes);

    // Opening failed, or no pair and section could be read.
    bool Failed() const { return FailedValue; }
    // The file could not be opened or read at all.
    bool OpenFailed() const { return OpenFailedValue; }
    // A code line that is no number stopped the reading where it stood.
    bool Damaged() const { return DamagedValue; }
    // The file ended inside a section, before its ENDSEC: a drawing cut
    // short. One that closes its last section needs no EOF.
    bool EndedEarly() const { return AtEnd() && !DamagedValue && InSection; }
    const std::filesystem::path& FileName() const { return Path; }
    std::size_t Size() const { return Bytes.size(); }
    std::size_t Position() const { return Next; }

    // Back to the start: the first pair, then the first section.
    void Rewind();
    // False at the end of the file; the code is then -1 and the value empty.
    bool ReadPair();
    // True when a pair was read and its code is not 0.
    bool ReadPairQuiet();
    // Reads on (from the current pair) to the next (0, "SECTION") and takes
    // the following value as the section's name; then one more pair is read.
    TDXFSection FindSection();
    // Skips pairs to the stop code or code 0 (0 is returned when code 0 comes
    // first and the stop code is not 0), then stores pairs into the record
    // until the stop code or code 0 comes again and returns the stop code.
    // -1 when the file ended before the record began.
    int ReadRecord(int stopCode, TDXFRecord& record);
    // Reads on to the next pair with code 0 (or the end).
    void SkipToCodeZero();

    bool AtEnd() const { return Code < 0; }
    int Code = -1;
    TDXFValue Value;
    TDXFSection Section = TDXFSection::None;

private:
    TDXFRead() = default;
    void Start();
    bool NextLine(std::string_view& line);

    std::filesystem::path Path;
    std::string Bytes;
    std::size_t Next = 0;
    bool FailedValue = false;
    bool OpenFailedValue = false;
    bool DamagedValue = false;
    bool InSection = false;
};
