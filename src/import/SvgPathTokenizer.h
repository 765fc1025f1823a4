#pragma once

// Splits SVG path data and point lists into command letters and numbers.
// Numbers follow SVG's grammar, so that the compact forms drawing programs
// write ("1-2.5.5" is three numbers, "1e3" is a thousand, "+5" is five) read
// as those programs meant them.

#include <cstddef>
#include <string_view>

namespace svg {

// The end of the longest SVG number that starts at pos; pos itself when none does.
std::size_t scan_number(std::string_view text, std::size_t pos);
// The number scanned by scan_number; beyond a double's range it becomes the
// largest double (or 0 for a tiny one), so a coordinate is always finite.
double number_value(std::string_view number);
// The number at the start of an attribute value after its blanks ("10px"
// gives 10); 0 when the value does not start with one.
double attribute_number(std::string_view value);

class path_tokenizer {
public:
    void set_path_str(std::string_view text);

    // Moves past separators; false at the end of the text. A character that
    // is neither a command, a number nor a separator raises.
    bool skip_separators();
    // What comes next (call after skip_separators gave true).
    bool next_is_number() const;
    char take_command();
    double take_number();

    // A number, or a command letter that the caller treats as an error.
    char peek() const { return Text[Pos]; }

private:
    [[noreturn]] void invalid_character() const;

    std::string_view Text;
    std::size_t Pos = 0;
};

} // namespace svg
