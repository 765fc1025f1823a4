#include "import/SvgParser.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include <QColor>
#include <QStringList>
#include <expat.h>

#include "import/SvgException.h"
#include "import/SvgPathRenderer.h"

namespace svg {

namespace {

// The first chunk handed to the XML parser, and the largest (expat counts
// a buffer's length in an int).
constexpr std::size_t kFirstChunk = 64 * 1024;
constexpr std::size_t kLargestChunk = 256 * 1024 * 1024;
constexpr std::size_t kMaxTitle = 255;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

struct TNamedColor {
    std::string Name;
    agg::rgba8 Color;
};

// SVG's 147 colour keywords, which Qt knows by the same names and values,
// then the name that stands for a transparent black.
const std::vector<TNamedColor>& ColorTable()
{
    static const std::vector<TNamedColor> table = [] {
        std::vector<TNamedColor> colors;
        for (const QString& name : QColor::colorNames()) {
            if (name == QLatin1String("transparent"))
                continue;
            const QColor color = QColor::fromString(name);
            colors.push_back({name.toStdString(), agg::rgba8(static_cast<unsigned>(color.red()),
                                                             static_cast<unsigned>(color.green()),
                                                             static_cast<unsigned>(color.blue()), 255)});
        }
        colors.push_back({"zzzzzzzzzzz", agg::rgba8(0, 0, 0, 0)});
        return colors;
    }();
    return table;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper >= 'A' && upper <= 'F' ? upper - 'A' + 10 : -1;
}

agg::rgba8 HexColor(std::string_view digits)
{
    // "#rgb" is the short form of "#rrggbb".
    std::string expanded(digits);
    if (digits.size() == 3)
        expanded = {digits[0], digits[0], digits[1], digits[1], digits[2], digits[2]};
    std::uint32_t value = 0;
    // Read from the right; digits beyond the eighth fall out of 32 bits.
    for (std::size_t i = 0; i < expanded.size(); ++i) {
        const int digit = HexDigit(expanded[expanded.size() - 1 - i]);
        if (digit < 0) {
            value = 0;
            break;
        }
        if (i < 8)
            value |= static_cast<std::uint32_t>(digit) << (4 * i);
    }
    return agg::rgba8((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF, 255);
}

// Numbers between "(" and ")" after a transform's name; the count read and
// the position of the ")".
std::size_t parse_transform_args(std::string_view str, std::size_t pos, double* args, std::size_t max_na,
                                 std::size_t& na)
{
    na = 0;
    const std::size_t open = str.find('(', pos);
    const std::size_t close = open == std::string_view::npos ? open : str.find(')', open);
    if (close == std::string_view::npos)
        throw svg_exception("parse_transform_args: Invalid syntax");
    std::size_t i = open + 1;
    while (i < close) {
        const std::size_t end = scan_number(str.substr(0, close), i);
        if (end == i) {
            ++i;
            continue;
        }
        if (na >= max_na)
            throw svg_exception("parse_transform_args: Too many arguments");
        args[na++] = number_value(str.substr(i, end - i));
        i = end;
    }
    return close;
}

double Radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

// One transform of a list: its matrix and the position of its ")".
std::size_t ParseOneTransform(std::string_view str, std::size_t pos, std::string_view word, agg::trans_affine& t)
{
    std::array<double, 6> args{};
    std::size_t na = 0;
    if (word == "matrix") {
        const std::size_t end = parse_transform_args(str, pos, args.data(), 6, na);
        if (na != 6)
            throw svg_exception("parse_matrix: Invalid number of arguments");
        t = agg::trans_affine(args[0], args[1], args[2], args[3], args[4], args[5]);
        return end;
    }
    if (word == "translate") {
        const std::size_t end = parse_transform_args(str, pos, args.data(), 2, na);
        t = agg::trans_affine_translation(args[0], na == 1 ? 0.0 : args[1]);
        return end;
    }
    if (word == "rotate") {
        const std::size_t end = parse_transform_args(str, pos, args.data(), 3, na);
        if (na == 1) {
            t = agg::trans_affine_rotation(Radians(args[0]));
        } else if (na == 3) {
            t = agg::trans_affine_translation(-args[1], -args[2]);
            t *= agg::trans_affine_rotation(Radians(args[0]));
            t *= agg::trans_affine_translation(args[1], args[2]);
        } else {
            throw svg_exception("parse_rotate: Invalid number of arguments");
        }
        return end;
    }
    if (word == "scale") {
        const std::size_t end = parse_transform_args(str, pos, args.data(), 2, na);
        t = agg::trans_affine_scaling(args[0], na == 2 ? args[1] : args[0]);
        return end;
    }
    const std::size_t end = parse_transform_args(str, pos, args.data(), 1, na);
    t = word == "skewX" ? agg::trans_affine_skewing(Radians(args[0]), 0.0)
                        : agg::trans_affine_skewing(0.0, Radians(args[0]));
    return end;
}

void XMLCALL StartElement(void* data, const char* el, const char** attr);
void XMLCALL EndElement(void* data, const char* el);
void XMLCALL Content(void* data, const char* s, int len);

struct TExpatFree {
    void operator()(XML_ParserStruct* p) const { XML_ParserFree(p); }
};

// The parser object and the C parser it runs, so that a callback can stop it.
struct TContext {
    parser* Owner;
    XML_Parser Expat;
    std::exception_ptr* Fault;
};

template <typename Call>
void Guarded(void* data, Call call)
{
    auto* context = static_cast<TContext*>(data);
    if (*context->Fault)
        return;
    try {
        call(*context->Owner);
    } catch (...) {
        // Exceptions must not unwind through the C parser.
        *context->Fault = std::current_exception();
        XML_StopParser(context->Expat, XML_FALSE);
    }
}

void XMLCALL StartElement(void* data, const char* el, const char** attr)
{
    Guarded(data, [&](parser& p) { p.begin_element(el, attr); });
}

void XMLCALL EndElement(void* data, const char* el)
{
    Guarded(data, [&](parser& p) { p.end_element(el); });
}

void XMLCALL Content(void* data, const char* s, int len)
{
    Guarded(data, [&](parser& p) { p.content(s, len); });
}

} // namespace

agg::rgba8 parse_color(std::string_view text)
{
    text = Trim(text);
    if (!text.empty() && text.front() == '#')
        return HexColor(text.substr(1));
    for (const TNamedColor& named : ColorTable())
        if (named.Name == text)
            return named.Color;
    throw svg_exception("parse_color: Invalid color name " + std::string(text));
}

template <typename ReadChunk>
void parser::parse_chunks(ReadChunk read)
{
    m_title.clear();
    m_title_flag = false;
    m_path_flag = false;
    m_fault = nullptr;

    std::unique_ptr<XML_ParserStruct, TExpatFree> expat(XML_ParserCreate(nullptr));
    if (!expat)
        throw svg_exception("Couldn't allocate memory for parser");
    TContext context{this, expat.get(), &m_fault};
    XML_SetUserData(expat.get(), &context);
    XML_SetElementHandler(expat.get(), StartElement, EndElement);
    XML_SetCharacterDataHandler(expat.get(), Content);

    // Expat scans an unfinished element again with every chunk, from its
    // start: fed in small chunks, one long path would cost the square of its
    // length. Each chunk is as large as all before it together (up to the
    // largest), so the bytes scanned again are at most twice the file's size.
    m_scanned_bytes = 0;
    std::size_t handed = 0;
    bool done = false;
    do {
        const std::size_t size = std::clamp(handed, kFirstChunk, kLargestChunk);
        void* buffer = XML_GetBuffer(expat.get(), static_cast<int>(size));
        if (!buffer)
            throw svg_exception("Couldn't allocate memory for parser");
        const std::size_t len = read(static_cast<char*>(buffer), size);
        done = len < size;
        // Where expat stopped: the start of the element it has not finished.
        const XML_Index parsed = std::clamp<XML_Index>(XML_GetCurrentByteIndex(expat.get()), 0,
                                                       static_cast<XML_Index>(handed));
        m_scanned_bytes += handed - static_cast<std::size_t>(parsed) + len;
        handed += len;
        const XML_Status status = XML_ParseBuffer(expat.get(), static_cast<int>(len), done ? 1 : 0);
        if (m_fault)
            std::rethrow_exception(m_fault);
        if (status == XML_STATUS_ERROR)
            throw svg_exception(std::string(XML_ErrorString(XML_GetErrorCode(expat.get()))) + " at line " +
                                std::to_string(XML_GetCurrentLineNumber(expat.get())));
    } while (!done);

    for (char& c : m_title)
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
}

void parser::parse(const std::string& fileName)
{
    std::ifstream file(fileName, std::ios::binary);
    if (!file)
        throw svg_exception("Couldn't open file " + fileName);
    parse_chunks([&](char* data, std::size_t size) {
        file.read(data, static_cast<std::streamsize>(size));
        return static_cast<std::size_t>(file.gcount());
    });
}

void parser::parse_bytes(std::span<const char> bytes)
{
    std::size_t offset = 0;
    parse_chunks([&](char* data, std::size_t size) {
        const std::size_t len = std::min(size, bytes.size() - offset);
        std::copy_n(bytes.data() + offset, len, data);
        offset += len;
        return len;
    });
}

void parser::begin_element(const char* el, const char** attr)
{
    const std::string_view name(el);
    if (name == "title") {
        m_title_flag = true;
    } else if (name == "g") {
        m_path.push_attr();
        parse_attr(attr);
    } else if (name == "path") {
        if (m_path_flag)
            throw svg_exception("start_element: Nested path");
        m_path.begin_path();
        parse_path(attr);
        m_path.end_path();
        m_path_flag = true;
    } else if (name == "rect") {
        parse_rect(attr);
    } else if (name == "line") {
        parse_line(attr);
    } else if (name == "polyline" || name == "polygon") {
        parse_poly(attr);
    }
}

void parser::end_element(const char* el)
{
    const std::string_view name(el);
    if (name == "title")
        m_title_flag = false;
    else if (name == "g")
        m_path.pop_attr();
    else if (name == "path")
        m_path_flag = false;
}

void parser::content(const char* s, int len)
{
    if (!m_title_flag)
        return;
    const std::size_t room = kMaxTitle - m_title.size();
    m_title.append(s, std::min(room, static_cast<std::size_t>(len)));
}

void parser::parse_attr(const char** attr)
{
    for (int i = 0; attr[i]; i += 2) {
        if (std::string_view(attr[i]) == "style")
            parse_style(attr[i + 1]);
        else
            parse_attr(attr[i], attr[i + 1]);
    }
}

void parser::parse_path(const char** attr)
{
    for (int i = 0; attr[i]; i += 2) {
        if (std::string_view(attr[i]) == "d") {
            m_tokenizer.set_path_str(attr[i + 1]);
            m_path.parse_path(m_tokenizer);
        } else {
            parse_attr(attr[i], attr[i + 1]);
        }
    }
}

void parser::parse_poly(const char** attr)
{
    m_path.begin_path();
    for (int i = 0; attr[i]; i += 2) {
        if (std::string_view(attr[i]) != "points") {
            parse_attr(attr[i], attr[i + 1]);
            continue;
        }
        m_tokenizer.set_path_str(attr[i + 1]);
        const auto next = [&](double& value) {
            if (!m_tokenizer.skip_separators())
                return false;
            value = m_tokenizer.take_number();
            return true;
        };
        double x = 0.0;
        double y = 0.0;
        if (!next(x) || !next(y))
            throw svg_exception("parse_poly: Too few coordinates");
        m_path.move_to(x, y);
        while (next(x)) {
            if (!next(y))
                throw svg_exception("parse_poly: Odd number of coordinates");
            m_path.line_to(x, y);
        }
    }
    m_path.end_path();
}

void parser::parse_numbers(const char** attr, std::span<const char* const> names, std::span<double> values)
{
    for (int i = 0; attr[i]; i += 2) {
        const auto named = std::find_if(names.begin(), names.end(),
                                        [&](const char* name) { return std::string_view(attr[i]) == name; });
        if (named != names.end())
            values[static_cast<std::size_t>(named - names.begin())] = attribute_number(attr[i + 1]);
        else
            parse_attr(attr[i], attr[i + 1]);
    }
}

void parser::parse_rect(const char** attr)
{
    static constexpr const char* kNames[] = {"x", "y", "width", "height"};
    m_path.begin_path();
    std::array<double, 4> v{};
    parse_numbers(attr, kNames, v);
    const auto [x, y, w, h] = v;
    if (w != 0.0 && h != 0.0) {
        if (w < 0.0)
            throw svg_exception("parse_rect: Invalid width: ");
        if (h < 0.0)
            throw svg_exception("parse_rect: Invalid height: ");
        m_path.move_to(x, y);
        m_path.line_to(x + w, y);
        m_path.line_to(x + w, y + h);
        m_path.line_to(x, y + h);
        m_path.close_subpath();
    }
    m_path.end_path();
}

void parser::parse_line(const char** attr)
{
    static constexpr const char* kNames[] = {"x1", "y1", "x2", "y2"};
    m_path.begin_path();
    std::array<double, 4> v{};
    parse_numbers(attr, kNames, v);
    m_path.move_to(v[0], v[1]);
    m_path.line_to(v[2], v[3]);
    m_path.end_path();
}

void parser::parse_style(std::string_view str)
{
    while (!str.empty()) {
        const std::size_t cut = str.find(';');
        const std::string_view piece = str.substr(0, cut);
        str = cut == std::string_view::npos ? std::string_view() : str.substr(cut + 1);
        const std::size_t colon = piece.find(':');
        if (colon == std::string_view::npos)
            continue;
        std::string_view name = Trim(piece.substr(0, colon));
        std::string_view value = piece.substr(colon);
        while (!value.empty() && (value.front() == ':' || IsBlank(value.front())))
            value.remove_prefix(1);
        parse_attr(name, Trim(value));
    }
}

bool parser::parse_attr(std::string_view name, std::string_view value)
{
    if (name == "style") {
        parse_style(value);
    } else if (name == "fill") {
        if (Trim(value) == "none")
            m_path.fill_none();
        else
            m_path.fill(parse_color(value));
    } else if (name == "fill-opacity") {
        m_path.fill_opacity(attribute_number(value));
    } else if (name == "stroke") {
        if (Trim(value) == "none")
            m_path.stroke_none();
        else
            m_path.stroke(parse_color(value));
    } else if (name == "stroke-width") {
        m_path.stroke_width(attribute_number(value));
    } else if (name == "stroke-linecap") {
        if (value == "butt")
            m_path.line_cap(agg::butt_cap);
        else if (value == "square")
            m_path.line_cap(agg::square_cap);
        else if (value == "round")
            m_path.line_cap(agg::round_cap);
    } else if (name == "stroke-linejoin") {
        if (value == "miter")
            m_path.line_join(agg::miter_join);
        else if (value == "round")
            m_path.line_join(agg::round_join);
        else if (value == "bevel")
            m_path.line_join(agg::bevel_join);
    } else if (name == "stroke-miterlimit") {
        m_path.miter_limit(attribute_number(value));
    } else if (name == "stroke-opacity") {
        m_path.stroke_opacity(attribute_number(value));
    } else if (name == "transform") {
        parse_transform(value);
    } else {
        return false;
    }
    return true;
}

void parser::parse_transform(std::string_view str)
{
    static constexpr std::array<std::string_view, 6> kWords{"matrix", "translate", "rotate",
                                                            "scale",  "skewX",     "skewY"};
    std::size_t i = 0;
    while (i < str.size()) {
        if (!std::islower(static_cast<unsigned char>(str[i]))) {
            ++i;
            continue;
        }
        const std::string_view rest = str.substr(i);
        std::string_view word;
        for (std::string_view candidate : kWords)
            if (rest.starts_with(candidate)) {
                word = candidate;
                break;
            }
        if (word.empty()) {
            ++i;
            continue;
        }
        agg::trans_affine t;
        i = ParseOneTransform(str, i + word.size(), word, t) + 1;
        m_path.transform().premultiply(t);
    }
}

} // namespace svg
