#pragma once

// The store the SVG reader fills: every drawn element becomes one path of
// vertices in an AGG path storage, with a record of the attributes it was
// drawn with. Groups stack their attributes; an element takes a copy of the
// top and changes only its own.

#include <vector>

#include <agg_color_rgba.h>
#include <agg_math_stroke.h>
#include <agg_path_storage.h>
#include <agg_trans_affine.h>

namespace svg {

class path_tokenizer;

struct path_attributes {
    unsigned index = 0; // first vertex of the path in the storage
    agg::rgba8 fill_color{0, 0, 0, 255};
    agg::rgba8 stroke_color{0, 0, 0, 255};
    bool fill_flag = true;
    bool stroke_flag = false;
    bool even_odd_flag = false;
    agg::line_join_e line_join = agg::miter_join;
    agg::line_cap_e line_cap = agg::butt_cap;
    double miter_limit = 4.0;
    double stroke_width = 1.0;
    agg::trans_affine transform;
};

class path_renderer {
public:
    // A new path record with the current attributes; its vertices follow.
    void begin_path();
    // The path takes the attributes as they are now (the element's own
    // attributes are read between the two calls).
    void end_path();

    void push_attr();
    void pop_attr();
    path_attributes& cur_attr();

    // Path data (the "d" attribute) from the tokenizer's text.
    void parse_path(path_tokenizer& tok);

    // Absolute drawing operations, for the elements other than path.
    void move_to(double x, double y);
    void line_to(double x, double y);
    void close_subpath();

    void fill(const agg::rgba8& color);
    void stroke(const agg::rgba8& color);
    void fill_none();
    void stroke_none();
    void fill_opacity(double opacity);
    void stroke_opacity(double opacity);
    void stroke_width(double width);
    void line_join(agg::line_join_e join);
    void line_cap(agg::line_cap_e cap);
    void miter_limit(double limit);
    agg::trans_affine& transform();

    agg::path_storage& storage() { return m_storage; }
    const agg::path_storage& storage() const { return m_storage; }
    // One record per path, in document order.
    const std::vector<path_attributes>& attributes() const { return m_attr_storage; }
    // One past the last vertex that path i may have. A path without vertices
    // shares its start with the next path, so its own start is not enough.
    unsigned path_end(std::size_t i) const;

private:
    // One command of path data with its arguments (already absolute).
    void path_command(char command, path_tokenizer& tok);
    void curve3(double x1, double y1, double x, double y);
    void curve4(double x1, double y1, double x2, double y2, double x, double y);
    void reopen_after_close();

    agg::path_storage m_storage;
    std::vector<path_attributes> m_attr_storage;
    std::vector<path_attributes> m_attr_stack;

    // Where the current path stands. Relative commands count from here, not
    // from the storage's last vertex, which may belong to the previous path
    // or be a close marker.
    bool m_has_point = false;
    bool m_closed = false; // the last command closed the subpath
    double m_cur_x = 0.0, m_cur_y = 0.0;
    double m_start_x = 0.0, m_start_y = 0.0;
    // The last curve's second control point, reflected by the smooth forms.
    char m_last_curve = 0; // 'C' after C or S, 'Q' after Q or T, 0 otherwise
    double m_ctrl_x = 0.0, m_ctrl_y = 0.0;
};

} // namespace svg
