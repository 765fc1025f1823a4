#pragma once

// The one error of the SVG reader: its text says what was wrong and where.

#include <stdexcept>
#include <string>

namespace svg {

class svg_exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace svg
