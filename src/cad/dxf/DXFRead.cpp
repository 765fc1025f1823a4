#include "cad/dxf/DXFRead.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>

namespace {

std::string_view Trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Numbers are short: a longer text is no number this reader takes.
constexpr std::size_t MaxNumberLength = 64;

// Trimmed, without a leading '+', and with a comma decimal turned into a
// point; false when the text is too long to be a number.
bool NumberText(std::string_view text, char (&buffer)[MaxNumberLength], std::string_view& out)
{
    text = Trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.size() > MaxNumberLength)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        buffer[i] = text[i] == ',' ? '.' : text[i];
    out = std::string_view(buffer, text.size());
    return true;
}

const TDXFValue EmptyValue;
const std::string EmptyText;

} // namespace

double DXFTextToReal(std::string_view text)
{
    char buffer[MaxNumberLength];
    std::string_view number;
    if (!NumberText(text, buffer, number) || number.empty())
        return 0.0;
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    // from_chars also takes "inf" and "nan": no coordinate of a drawing.
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return 0.0;
    return value;
}

std::int32_t DXFTextToInteger(std::string_view text)
{
    char buffer[MaxNumberLength];
    std::string_view number;
    if (!NumberText(text, buffer, number) || number.empty())
        return 0;
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size())
        return 0;
    return value;
}

float DXFToFloat(double value)
{
    constexpr double largest = std::numeric_limits<float>::max();
    if (value > largest)
        return std::numeric_limits<float>::infinity();
    if (value < -largest)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

TDXFValue::TKind DXFValueKindOf(int code)
{
    if ((code >= 10 && code <= 59) || (code >= 140 && code <= 147) || (code >= 210 && code <= 239) ||
        (code >= 1010 && code <= 1059))
        return TDXFValue::TKind::Real;
    if ((code >= 60 && code <= 79) || (code >= 170 && code <= 175) || (code >= 1060 && code <= 1079))
        return TDXFValue::TKind::Integer;
    return TDXFValue::TKind::Text;
}

double TDXFValue::AsReal() const
{
    switch (Kind) {
    case TKind::Real:
        return Real;
    case TKind::Integer:
        return Integer;
    case TKind::Text:
        return DXFTextToReal(Text);
    case TKind::Empty:
        break;
    }
    return 0.0;
}

std::int32_t TDXFValue::AsInteger() const
{
    switch (Kind) {
    case TKind::Integer:
        return Integer;
    case TKind::Real:
        return std::fabs(Real) < 2147483647.0 ? static_cast<std::int32_t>(Real) : 0;
    case TKind::Text:
        return DXFTextToInteger(Text);
    case TKind::Empty:
        break;
    }
    return 0;
}

void TDXFValue::Clear()
{
    Kind = TKind::Empty;
    Text.clear();
    Real = 0.0;
    Integer = 0;
}

int TDXFRecord::SlotOf(int code)
{
    if (code >= 0 && code <= 255)
        return code;
    if (code >= 1000 && code <= 1256)
        return code - 744;
    return -1;
}

bool TDXFRecord::Has(int code) const
{
    const int slot = SlotOf(code);
    return slot >= 0 && !Slots[static_cast<std::size_t>(slot)].IsEmpty();
}

const TDXFValue& TDXFRecord::Get(int code) const
{
    const int slot = SlotOf(code);
    return slot >= 0 ? Slots[static_cast<std::size_t>(slot)] : EmptyValue;
}

double TDXFRecord::Real(int code, double absent) const
{
    const TDXFValue& value = Get(code);
    return value.IsEmpty() ? absent : value.AsReal();
}

std::int32_t TDXFRecord::Integer(int code, std::int32_t absent) const
{
    const TDXFValue& value = Get(code);
    return value.IsEmpty() ? absent : value.AsInteger();
}

const std::string& TDXFRecord::Text(int code) const
{
    const TDXFValue& value = Get(code);
    return value.Kind == TDXFValue::TKind::Text ? value.Text : EmptyText;
}

void TDXFRecord::Store(int code, const TDXFValue& value)
{
    const int slot = SlotOf(code);
    if (slot < 0)
        return;
    TDXFValue& target = Slots[static_cast<std::size_t>(slot)];
    if (target.IsEmpty())
        Used.push_back(static_cast<std::uint16_t>(slot));
    // Only the field of the value's kind: the others may hold what an earlier pair left.
    target.Kind = value.Kind;
    switch (value.Kind) {
    case TDXFValue::TKind::Text:
        target.Text = value.Text;
        break;
    case TDXFValue::TKind::Real:
        target.Real = value.Real;
        break;
    case TDXFValue::TKind::Integer:
        target.Integer = value.Integer;
        break;
    case TDXFValue::TKind::Empty:
        break;
    }
}

void TDXFRecord::Clear()
{
    for (std::uint16_t slot : Used)
        Slots[slot].Clear();
    Used.clear();
}

TDXFRead::TDXFRead(const std::filesystem::path& fileName) : Path(fileName)
{
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        FailedValue = OpenFailedValue = true;
        return;
    }
    Bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        FailedValue = OpenFailedValue = true;
        Bytes.clear();
        return;
    }
    Start();
}

TDXFRead TDXFRead::FromBytes(std::string bytes)
{
    TDXFRead reader;
    reader.Bytes = std::move(bytes);
    reader.Start();
    return reader;
}

void TDXFRead::Start()
{
    Rewind();
    if (AtEnd())
        FailedValue = true;
}

void TDXFRead::Rewind()
{
    Next = 0;
    DamagedValue = false;
    InSection = false;
    Section = TDXFSection::None;
    if (ReadPair())
        FindSection();
}

bool TDXFRead::NextLine(std::string_view& line)
{
    if (Next >= Bytes.size())
        return false;
    const std::size_t end = Bytes.find('\n', Next);
    const std::size_t stop = end == std::string::npos ? Bytes.size() : end;
    line = std::string_view(Bytes).substr(Next, stop - Next);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    Next = end == std::string::npos ? Bytes.size() : end + 1;
    return true;
}

bool TDXFRead::ReadPair()
{
    std::string_view codeLine;
    std::string_view valueLine;
    if (!NextLine(codeLine) || !NextLine(valueLine)) {
        Code = -1;
        Value.Clear();
        return false;
    }
    const std::string_view digits = Trim(codeLine);
    int code = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || code < 0) {
        // Nothing after a line that is not a code can be trusted to pair up.
        DamagedValue = true;
        Next = Bytes.size();
        Code = -1;
        Value.Clear();
        return false;
    }
    Code = code;
    Value.Kind = DXFValueKindOf(code);
    switch (Value.Kind) {
    case TDXFValue::TKind::Real:
        Value.Real = DXFTextToReal(valueLine);
        break;
    case TDXFValue::TKind::Integer:
        Value.Integer = DXFTextToInteger(valueLine);
        break;
    default:
        if (code <= 9 || (code >= 999 && code <= 1009))
            Value.Text.assign(Trim(valueLine));
        else
            Value.Text.assign(valueLine);
        break;
    }
    if (code == 0)
        InSection = Value.Text == "SECTION" || (InSection && Value.Text != "ENDSEC" && Value.Text != "EOF");
    return true;
}

bool TDXFRead::ReadPairQuiet()
{
    return ReadPair() && Code != 0;
}

TDXFSection TDXFRead::FindSection()
{
    Section = TDXFSection::None;
    while (!(Code == 0 && Value.Text == "SECTION"))
        if (!ReadPair())
            return Section;
    if (!ReadPair())
        return Section;
    const std::string name = Value.Kind == TDXFValue::TKind::Text ? Value.Text : std::string();
    if (name == "HEADER")
        Section = TDXFSection::Header;
    else if (name == "TABLES")
        Section = TDXFSection::Tables;
    else if (name == "BLOCKS")
        Section = TDXFSection::Blocks;
    else if (name == "ENTITIES")
        Section = TDXFSection::Entities;
    else if (name == "CLASSES")
        Section = TDXFSection::Classes;
    ReadPair();
    return Section;
}

int TDXFRead::ReadRecord(int stopCode, TDXFRecord& record)
{
    record.Clear();
    while (Code != stopCode && Code != 0)
        if (!ReadPair())
            return -1;
    if (Code != stopCode)
        return 0;
    do
        record.Store(Code, Value);
    while (ReadPair() && Code != stopCode && Code != 0);
    return stopCode;
}

void TDXFRead::SkipToCodeZero()
{
    while (ReadPair() && Code != 0) {
    }
}
