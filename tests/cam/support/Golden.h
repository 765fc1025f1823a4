#pragma once

// Checked-in expected texts under tests/cam/golden/. After a deliberate change
// of output, rewrite them and review the difference before committing:
//
//   KESTRO_UPDATE_GOLDEN=1 build/release/tests/cam/kestro_cam_tests --gtest_filter='*Golden*'

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

inline std::string GoldenPath(const std::string& name)
{
    return std::string(KESTRO_CAM_TEST_DIR) + "/golden/" + name;
}

inline void ExpectGolden(const std::string& name, const std::string& actual)
{
    const std::string path = GoldenPath(name);
    if (std::getenv("KESTRO_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << "missing golden file " << path;
    const std::string expected{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_EQ(actual, expected) << "differs from " << path;
}
