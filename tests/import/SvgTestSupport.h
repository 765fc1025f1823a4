#pragma once

// Helpers for the SVG tests: documents read from text, and a path's vertices
// written as short text ("M10,20 L30,40 Z").

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "import/SvgParser.h"
#include "import/SvgPathRenderer.h"

namespace svgtest {

struct TReadDocument {
    svg::path_renderer Paths;
    std::string Title;
};

inline std::unique_ptr<TReadDocument> Read(std::string_view document)
{
    auto read = std::make_unique<TReadDocument>();
    svg::parser reader(read->Paths);
    reader.parse_bytes(document);
    read->Title = reader.title();
    return read;
}

inline std::string PathDocument(std::string_view data)
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\"><path d=\"" + std::string(data) + "\"/></svg>";
}

inline std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// The vertices of one path: M move, L line, Q and C the points of quadratic
// and cubic curves, Z a close marker.
inline std::string Vertices(const svg::path_renderer& paths, std::size_t path = 0)
{
    const agg::path_storage& storage = paths.storage();
    std::string text;
    for (unsigned i = paths.attributes().at(path).index; i < paths.path_end(path); ++i) {
        double x = 0.0;
        double y = 0.0;
        const unsigned command = storage.vertex(i, &x, &y);
        if (agg::is_stop(command))
            break;
        if (!text.empty())
            text += ' ';
        if (agg::is_end_poly(command)) {
            text += 'Z';
            continue;
        }
        text += agg::is_move_to(command) ? "M" : agg::is_line_to(command) ? "L" : command == agg::path_cmd_curve3 ? "Q" : "C";
        text += Number(x) + ',' + Number(y);
    }
    return text;
}

} // namespace svgtest
