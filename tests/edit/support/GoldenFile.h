#pragma once

// Comparing a test's text with its golden file under golden/; with
// KESTRO_UPDATE_GOLDEN set the file is written instead.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace edittest {

inline std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void ExpectGolden(const std::string& name, const std::string& actual)
{
    const std::string path = std::string(KESTRO_EDIT_TEST_DIR) + "/golden/" + name;
    if (std::getenv("KESTRO_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    EXPECT_EQ(actual, ReadFile(path)) << "differs from " << path;
}

} // namespace edittest
