#pragma once

// Archives written out by hand, byte by byte, and the check that a damaged
// one is refused with the expected text.

#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "view3d/persistence/PersistenceErrors.h"

namespace archive_bytes {

inline std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (const int value : values)
        bytes += static_cast<char>(value);
    return bytes;
}

// Tag 6, the length byte, the text.
inline std::string ShortString(const std::string& text)
{
    return Bytes({6, static_cast<int>(text.size())}) + text;
}

inline std::string FloatBytes(float value)
{
    std::string bytes(sizeof value, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

// `read` must raise an archive error with exactly `text`.
inline void ExpectRefused(const char* what, const std::function<void()>& read, const std::string& text)
{
    try {
        read();
        ADD_FAILURE() << what << " was read";
    } catch (const EFilerError& error) {
        EXPECT_EQ(error.what(), text) << what;
    }
}

} // namespace archive_bytes
