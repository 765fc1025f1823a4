#include "import/SvgPathRenderer.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "import/SvgException.h"
#include "import/SvgPathTokenizer.h"

namespace svg {

namespace {

agg::int8u OpacityAlpha(double opacity)
{
    return static_cast<agg::int8u>(std::clamp(std::lround(opacity * 255.0), 0L, 255L));
}

} // namespace

void path_renderer::begin_path()
{
    push_attr();
    const unsigned index = m_storage.start_new_path();
    m_attr_storage.push_back(cur_attr());
    m_attr_storage.back().index = index;
    m_has_point = false;
    m_closed = false;
    m_cur_x = m_cur_y = m_start_x = m_start_y = 0.0;
    m_last_curve = 0;
}

void path_renderer::end_path()
{
    if (m_attr_storage.empty())
        throw svg_exception("end_path : The path was not begin");
    path_attributes& path = m_attr_storage.back();
    const unsigned index = path.index;
    path = cur_attr();
    path.index = index;
    pop_attr();
}

void path_renderer::push_attr()
{
    m_attr_stack.push_back(m_attr_stack.empty() ? path_attributes{} : m_attr_stack.back());
}

void path_renderer::pop_attr()
{
    if (m_attr_stack.empty())
        throw svg_exception("pop_attr : Attribute stack is empty");
    m_attr_stack.pop_back();
}

path_attributes& path_renderer::cur_attr()
{
    if (m_attr_stack.empty())
        throw svg_exception("cur_attr : Attribute stack is empty");
    return m_attr_stack.back();
}

unsigned path_renderer::path_end(std::size_t i) const
{
    return i + 1 < m_attr_storage.size() ? m_attr_storage[i + 1].index : m_storage.total_vertices();
}

void path_renderer::parse_path(path_tokenizer& tok)
{
    char command = 0;
    while (tok.skip_separators()) {
        if (!tok.next_is_number()) {
            command = tok.take_command();
        } else if (command == 'M') {
            // Pairs after a move are lines, as SVG says.
            command = 'L';
        } else if (command == 'm') {
            command = 'l';
        } else if (command == 'Z' || command == 'z') {
            // A number after a close closes again, which changes nothing.
            tok.take_number();
        }
        path_command(command, tok);
    }
}

void path_renderer::path_command(char command, path_tokenizer& tok)
{
    const auto arg = [&] {
        if (!tok.skip_separators())
            throw svg_exception("parse_path: Unexpected end of path");
        if (!tok.next_is_number())
            throw svg_exception(std::string("parse_path: Command ") + command + ": bad or missing parameters");
        return tok.take_number();
    };
    // A relative command at the start of a path counts from the origin, so
    // it reads as absolute.
    const bool relative = command >= 'a' && command <= 'z';
    const double bx = relative ? m_cur_x : 0.0;
    const double by = relative ? m_cur_y : 0.0;

    switch (command) {
    case 'M':
    case 'm': {
        const double x = arg() + bx;
        const double y = arg() + by;
        move_to(x, y);
        break;
    }
    case 'L':
    case 'l': {
        const double x = arg() + bx;
        const double y = arg() + by;
        line_to(x, y);
        break;
    }
    case 'H':
    case 'h': {
        const double x = arg() + bx;
        if (m_has_point)
            line_to(x, m_cur_y);
        break;
    }
    case 'V':
    case 'v': {
        const double y = arg() + by;
        if (m_has_point)
            line_to(m_cur_x, y);
        break;
    }
    case 'C':
    case 'c': {
        const double x1 = arg() + bx, y1 = arg() + by;
        const double x2 = arg() + bx, y2 = arg() + by;
        const double x = arg() + bx, y = arg() + by;
        curve4(x1, y1, x2, y2, x, y);
        break;
    }
    case 'S':
    case 's': {
        const double x2 = arg() + bx, y2 = arg() + by;
        const double x = arg() + bx, y = arg() + by;
        const bool reflect = m_last_curve == 'C';
        curve4(reflect ? 2 * m_cur_x - m_ctrl_x : m_cur_x, reflect ? 2 * m_cur_y - m_ctrl_y : m_cur_y, x2, y2, x, y);
        break;
    }
    case 'Q':
    case 'q': {
        const double x1 = arg() + bx, y1 = arg() + by;
        const double x = arg() + bx, y = arg() + by;
        curve3(x1, y1, x, y);
        break;
    }
    case 'T':
    case 't': {
        const double x = arg() + bx, y = arg() + by;
        const bool reflect = m_last_curve == 'Q';
        curve3(reflect ? 2 * m_cur_x - m_ctrl_x : m_cur_x, reflect ? 2 * m_cur_y - m_ctrl_y : m_cur_y, x, y);
        break;
    }
    case 'Z':
    case 'z':
        close_subpath();
        break;
    case 'A':
    case 'a':
        throw svg_exception("parse_path: Command A: NOT IMPLEMENTED YET");
    default:
        // Path data that starts with a number has no command yet.
        throw svg_exception(command == 0 ? std::string("parse_path: Invalid Command ")
                                         : std::string("parse_path: Invalid Command ") + command);
    }
}

void path_renderer::move_to(double x, double y)
{
    m_closed = false;
    m_storage.move_to(x, y);
    m_cur_x = m_start_x = x;
    m_cur_y = m_start_y = y;
    m_has_point = true;
    m_last_curve = 0;
}

void path_renderer::line_to(double x, double y)
{
    reopen_after_close();
    if (!m_has_point) {
        m_start_x = x;
        m_start_y = y;
    }
    m_storage.line_to(x, y);
    m_cur_x = x;
    m_cur_y = y;
    m_has_point = true;
    m_last_curve = 0;
}

void path_renderer::curve3(double x1, double y1, double x, double y)
{
    reopen_after_close();
    if (!m_has_point) {
        m_start_x = m_cur_x;
        m_start_y = m_cur_y;
    }
    m_storage.curve3(x1, y1, x, y);
    m_ctrl_x = x1;
    m_ctrl_y = y1;
    m_cur_x = x;
    m_cur_y = y;
    m_has_point = true;
    m_last_curve = 'Q';
}

void path_renderer::curve4(double x1, double y1, double x2, double y2, double x, double y)
{
    reopen_after_close();
    if (!m_has_point) {
        m_start_x = m_cur_x;
        m_start_y = m_cur_y;
    }
    m_storage.curve4(x1, y1, x2, y2, x, y);
    m_ctrl_x = x2;
    m_ctrl_y = y2;
    m_cur_x = x;
    m_cur_y = y;
    m_has_point = true;
    m_last_curve = 'C';
}

void path_renderer::close_subpath()
{
    m_storage.close_polygon();
    // The next relative command counts from where the subpath began.
    m_cur_x = m_start_x;
    m_cur_y = m_start_y;
    m_last_curve = 0;
    m_closed = true;
}

void path_renderer::reopen_after_close()
{
    // A drawing command straight after a close starts a new subpath where
    // the closed one began; without the move it would extend the closed one.
    if (m_closed)
        move_to(m_start_x, m_start_y);
}

void path_renderer::fill(const agg::rgba8& color)
{
    path_attributes& attr = cur_attr();
    attr.fill_color = color;
    attr.fill_flag = true;
}

void path_renderer::stroke(const agg::rgba8& color)
{
    path_attributes& attr = cur_attr();
    attr.stroke_color = color;
    attr.stroke_flag = true;
}

void path_renderer::fill_none()
{
    cur_attr().fill_flag = false;
}

void path_renderer::stroke_none()
{
    cur_attr().stroke_flag = false;
}

void path_renderer::fill_opacity(double opacity)
{
    cur_attr().fill_color.a = OpacityAlpha(opacity);
}

void path_renderer::stroke_opacity(double opacity)
{
    cur_attr().stroke_color.a = OpacityAlpha(opacity);
}

void path_renderer::stroke_width(double width)
{
    cur_attr().stroke_width = width;
}

void path_renderer::line_join(agg::line_join_e join)
{
    cur_attr().line_join = join;
}

void path_renderer::line_cap(agg::line_cap_e cap)
{
    cur_attr().line_cap = cap;
}

void path_renderer::miter_limit(double limit)
{
    cur_attr().miter_limit = limit;
}

agg::trans_affine& path_renderer::transform()
{
    return cur_attr().transform;
}

} // namespace svg
