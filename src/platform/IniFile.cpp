#include "platform/IniFile.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include <QFile>
#include <QSaveFile>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

std::string EntryText(std::string_view key, std::string_view value)
{
    std::string text(key);
    text += '=';
    text += value;
    return text;
}

std::optional<std::int32_t> ParseHex(std::string_view digits)
{
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t bits = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return static_cast<std::int32_t>(bits);
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text)
{
    if (text.starts_with('$'))
        return ParseHex(text.substr(1));
    if (text.starts_with("0x") || text.starts_with("0X"))
        return ParseHex(text.substr(2));
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-'))
            return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<double> ParseIniFloat(std::string_view text)
{
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-'))
            return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    // from_chars also takes "inf" and "nan"; a tolerance or a grid step of that kind is no number.
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string FormatIniFloat(double value)
{
    // Fixed notation keeps small tolerances readable ("0.000005" rather than "5e-06").
    char buffer[400];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (error != std::errc())
        return "0";
    return std::string(buffer, end);
}

IniFile::IniFile() : sections_(1) {}

IniFile IniFile::FromText(std::string_view text)
{
    IniFile file;
    // Editors add a byte-order mark, some once more on every save: all of
    // them go, and one is written back, so that reading and writing agree.
    while (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
        file.byteOrderMark_ = true;
    }
    const std::size_t firstBreak = text.find('\n');
    if (firstBreak != std::string_view::npos && firstBreak > 0 && text[firstBreak - 1] == '\r')
        file.lineEnd_ = "\r\n";

    while (!text.empty()) {
        const std::size_t lineBreak = text.find('\n');
        std::string_view line = text.substr(0, lineBreak);
        text.remove_prefix(lineBreak == std::string_view::npos ? text.size() : lineBreak + 1);
        // A line may end in more than one CR (a file passed between systems),
        // and a CR alone breaks a line as it does in older files: a CR kept in
        // a value would not survive the next write, which cannot store it.
        while (line.ends_with('\r'))
            line.remove_suffix(1);
        for (std::size_t end = line.find('\r'); end != std::string_view::npos; end = line.find('\r')) {
            file.AddLine(line.substr(0, end));
            line.remove_prefix(end + 1);
        }
        file.AddLine(line);
    }
    return file;
}

void IniFile::AddLine(std::string_view line)
{
    const std::string_view trimmed = Trim(line);
    if (trimmed.starts_with('[')) {
        const std::size_t close = trimmed.find(']');
        sections_.push_back({std::string(Trim(trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1))), {}});
        return;
    }
    Line entry{std::string(line), {}, {}};
    const std::size_t equals = trimmed.find('=');
    if (!trimmed.starts_with(';') && equals != std::string_view::npos && equals > 0) {
        entry.key = Trim(trimmed.substr(0, equals));
        entry.value = Trim(trimmed.substr(equals + 1));
    }
    sections_.back().lines.push_back(std::move(entry));
}

std::optional<IniFile> IniFile::FromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return FromText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

std::string IniFile::ToText() const
{
    std::string text(byteOrderMark_ ? kByteOrderMark : std::string_view());
    for (std::size_t s = 0; s < sections_.size(); ++s) {
        if (s > 0)
            text += "[" + sections_[s].name + "]" + lineEnd_;
        for (const Line& line : sections_[s].lines)
            text += line.text + lineEnd_;
    }
    return text;
}

void IniFile::SaveToFile(const QString& path) const
{
    const std::string text = ToText();
    QSaveFile file(path);
    const auto fail = [&]() {
        throw EIniFileError("Cannot write the file \"" + path.toStdString() + "\": " + file.errorString().toStdString());
    };
    if (!file.open(QIODevice::WriteOnly))
        fail();
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()))
        fail();
    if (!file.commit())
        fail();
}

std::size_t IniFile::FindSection(std::string_view name) const
{
    for (std::size_t s = 1; s < sections_.size(); ++s)
        if (SameName(sections_[s].name, name))
            return s;
    return 0;
}

IniFile::Section& IniFile::SectionForWriting(std::string_view name)
{
    if (const std::size_t found = FindSection(name); found != 0)
        return sections_[found];
    sections_.push_back({std::string(Trim(name)), {}});
    return sections_.back();
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const
{
    const std::size_t found = FindSection(section);
    if (found == 0)
        return std::nullopt;
    for (const Line& line : sections_[found].lines)
        if (!line.key.empty() && SameName(line.key, key))
            return line.value;
    return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const
{
    const std::optional<std::string> value = Find(section, key);
    return value ? *value : std::string(def);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const
{
    const std::optional<std::string> value = Find(section, key);
    const std::optional<std::int32_t> number = value ? ParseIniInteger(*value) : std::nullopt;
    return number.value_or(def);
}

double IniFile::ReadFloat(std::string_view section, std::string_view key, double def) const
{
    const std::optional<std::string> value = Find(section, key);
    const std::optional<double> number = value ? ParseIniFloat(*value) : std::nullopt;
    return number.value_or(def);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view text)
{
    // A line break in a value would end its line and start a key of its own.
    std::string value(text);
    for (char& c : value)
        if (c == '\r' || c == '\n')
            c = ' ';
    Section& target = SectionForWriting(section);
    auto insertAt = target.lines.begin();
    for (auto line = target.lines.begin(); line != target.lines.end(); ++line) {
        if (line->key.empty())
            continue;
        if (SameName(line->key, key)) {
            line->value = Trim(value);
            line->text = EntryText(line->key, line->value);
            return;
        }
        insertAt = line + 1;
    }
    Line entry{{}, std::string(Trim(key)), std::string(Trim(value))};
    entry.text = EntryText(entry.key, entry.value);
    target.lines.insert(insertAt, std::move(entry));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteFloat(std::string_view section, std::string_view key, double value)
{
    WriteString(section, key, FormatIniFloat(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}
