#pragma once

// For readers that take a file name, as File > Open gives them: the input is
// written to one file of this process, rewritten for every input.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace fuzz {

inline std::string InputFile(const std::uint8_t* data, std::size_t size, const std::string& extension)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("kestro-fuzz-" + std::to_string(getpid()) + extension);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path.string();
}

} // namespace fuzz
