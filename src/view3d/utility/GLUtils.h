#pragma once

// Number and file helpers of the 3D view, and the texture filter kinds.

#include <array>
#include <cstdint>
#include <string>

enum class TGLMinFilter {
    miNearest,
    miLinear,
    miNearestMipmapNearest,
    miLinearMipmapNearest,
    miNearestMipmapLinear,
    miLinearMipmapLinear,
};

enum class TGLMagFilter { maNearest, maLinear };

// The smallest power of two that is at least n; 1 for n <= 1.
int RoundUpToPowerOf2(int n);

// Creates the file and writes the text's bytes.
void SaveStringToFile(const std::string& fileName, const std::string& text);
// The whole file, or the empty string when it does not exist.
std::string LoadStringFromFile(const std::string& fileName);
// 0 when the file does not exist.
std::int64_t SizeOfFile(const std::string& fileName);

// Entry i is the nearest integer to 255 * sqrt(i / 255).
const std::array<std::uint8_t, 256>& SqrtAlphaTable();
