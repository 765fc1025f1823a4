#pragma once

// CTest runs every test of a fixture in its own process at once, and each
// SetUp may write the same input file. Writing under a private name and
// renaming it into place means a reader sees either the old whole file or the
// new whole file, never one cut short by a writer in another process.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "cad/stream/CADStream.h"

namespace testfiles {

inline std::string WriteWholeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    const std::filesystem::path privateName = path.string() + "." + std::to_string(getpid()) + ".part";
    TCADStreamWriter out;
    out.WriteBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!out.SaveToFile(privateName.string()))
        throw std::runtime_error("cannot write " + privateName.string());
    std::filesystem::rename(privateName, path);
    return path.string();
}

} // namespace testfiles
