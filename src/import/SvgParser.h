#pragma once

// Reads an SVG document into a path renderer: the elements title, g, path,
// rect, line, polyline and polygon with their style, fill, stroke and
// transform attributes. Everything else is passed over. Any fault ends the
// reading with an svg_exception whose text names it.

#include <exception>
#include <span>
#include <string>
#include <string_view>

#include <agg_color_rgba.h>

#include "import/SvgPathTokenizer.h"

namespace svg {

class path_renderer;

// "#rrggbb", "#rgb" or one of SVG's colour keywords (case-sensitive).
agg::rgba8 parse_color(std::string_view text);

class parser {
public:
    explicit parser(path_renderer& path) : m_path(path) {}

    // The file, read in chunks.
    void parse(const std::string& fileName);
    // A document held in memory, read as the file would be.
    void parse_bytes(std::span<const char> bytes);

    // The document's title, at most 255 characters, control characters blanked.
    const std::string& title() const { return m_title; }
    // The bytes the XML parser scanned in the last reading, counting again
    // those of an unfinished element that it took up anew with a later chunk.
    std::size_t scanned_bytes() const { return m_scanned_bytes; }

    // Callbacks of the XML parser.
    void begin_element(const char* el, const char** attr);
    void end_element(const char* el);
    void content(const char* s, int len);

private:
    template <typename ReadChunk>
    void parse_chunks(ReadChunk read);

    void parse_attr(const char** attr);
    void parse_path(const char** attr);
    void parse_poly(const char** attr);
    void parse_rect(const char** attr);
    void parse_line(const char** attr);
    // The numbers of the named attributes into values; the other attributes
    // through the single-attribute reader.
    void parse_numbers(const char** attr, std::span<const char* const> names, std::span<double> values);
    void parse_style(std::string_view str);
    void parse_transform(std::string_view str);
    bool parse_attr(std::string_view name, std::string_view value);

    path_renderer& m_path;
    path_tokenizer m_tokenizer;
    std::string m_title;
    bool m_title_flag = false;
    bool m_path_flag = false;
    std::size_t m_scanned_bytes = 0;
    // A fault raised inside a callback, carried past the C parser.
    std::exception_ptr m_fault;
};

} // namespace svg
