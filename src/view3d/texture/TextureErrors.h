#pragma once

#include <stdexcept>

// A texture's picture could not be had.
class ETexture : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
