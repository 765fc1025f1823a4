#include "import/SvgPathTokenizer.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <limits>
#include <string>

#include "import/SvgException.h"

namespace svg {

namespace {

constexpr std::string_view kCommands = "+-MmZzLlHhVvCcSsQqTtAaFfPp";
constexpr std::string_view kNumeric = ".Ee0123456789";
constexpr std::string_view kSeparators = " ,\t\n\r";

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool In(std::string_view set, char c)
{
    return set.find(c) != std::string_view::npos;
}

std::size_t SkipDigits(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    return pos;
}

// Whether a number that overflowed or underflowed a double was large: its
// first significant digit's decimal position plus its exponent.
bool IsHuge(std::string_view number)
{
    long long order = 0;
    bool seenDigit = false;
    bool afterPoint = false;
    std::size_t i = 0;
    for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
        const char c = number[i];
        if (c == '.') {
            afterPoint = true;
        } else if (IsDigit(c)) {
            if (c != '0')
                seenDigit = true;
            if (seenDigit && !afterPoint)
                ++order;
            else if (!seenDigit && afterPoint)
                --order;
        }
    }
    long long exponent = 0;
    if (i < number.size()) {
        ++i;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '-' || number[i] == '+'))
            ++i;
        for (; i < number.size(); ++i)
            exponent = std::min<long long>(exponent * 10 + (number[i] - '0'), INT_MAX);
        if (negative)
            exponent = -exponent;
    }
    return order + exponent > 0;
}

} // namespace

std::size_t scan_number(std::string_view text, std::size_t pos)
{
    std::size_t i = pos;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t integerEnd = SkipDigits(text, i);
    bool digits = integerEnd > i;
    i = integerEnd;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, i + 1);
        digits = digits || fractionEnd > i + 1;
        i = fractionEnd;
    }
    if (!digits)
        return pos;
    // An exponent counts only when digits follow it: "2em" is 2 and a word.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-'))
            ++e;
        const std::size_t exponentEnd = SkipDigits(text, e);
        if (exponentEnd > e)
            i = exponentEnd;
    }
    return i;
}

double number_value(std::string_view number)
{
    // from_chars takes no '+', and is independent of the locale.
    if (!number.empty() && number.front() == '+')
        number.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        value = IsHuge(number) ? std::numeric_limits<double>::max() : 0.0;
        if (number.front() == '-')
            value = -value;
    }
    return value;
}

double attribute_number(std::string_view value)
{
    std::size_t start = 0;
    while (start < value.size() && (value[start] == ' ' || value[start] == '\t' || value[start] == '\n' ||
                                    value[start] == '\r'))
        ++start;
    const std::size_t end = scan_number(value, start);
    return end == start ? 0.0 : number_value(value.substr(start, end - start));
}

void path_tokenizer::set_path_str(std::string_view text)
{
    Text = text;
    Pos = 0;
}

void path_tokenizer::invalid_character() const
{
    throw svg_exception(std::string("path_tokenizer::next : Invalid Character ") + Text[Pos]);
}

bool path_tokenizer::skip_separators()
{
    while (Pos < Text.size() && In(kSeparators, Text[Pos]))
        ++Pos;
    if (Pos >= Text.size())
        return false;
    const char c = Text[Pos];
    if (!In(kCommands, c) && !In(kNumeric, c))
        invalid_character();
    return true;
}

bool path_tokenizer::next_is_number() const
{
    const char c = Text[Pos];
    return c == '+' || c == '-' || c == '.' || IsDigit(c);
}

char path_tokenizer::take_command()
{
    const char c = Text[Pos];
    if (!In(kCommands, c))
        invalid_character();
    ++Pos;
    return c;
}

double path_tokenizer::take_number()
{
    const std::size_t end = scan_number(Text, Pos);
    if (end == Pos)
        invalid_character();
    const double value = number_value(Text.substr(Pos, end - Pos));
    Pos = end;
    return value;
}

} // namespace svg
