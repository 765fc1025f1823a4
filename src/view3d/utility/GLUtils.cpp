#include "view3d/utility/GLUtils.h"

#include <climits>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <istream>
#include <ostream>

#include "view3d/persistence/ApplicationFileIO.h"

int RoundUpToPowerOf2(int n)
{
    int result = 1;
    // Past the largest int power of two there is none to give: it is the answer.
    while (result < n && result <= INT_MAX / 2)
        result *= 2;
    return result;
}

void SaveStringToFile(const std::string& fileName, const std::string& text)
{
    const auto stream = CreateFileStream(fileName, TFileStreamMode::Create);
    stream->write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string LoadStringFromFile(const std::string& fileName)
{
    if (!FileStreamExists(fileName))
        return {};
    const auto stream = CreateFileStream(fileName, TFileStreamMode::OpenRead);
    return std::string(std::istreambuf_iterator<char>(*stream), std::istreambuf_iterator<char>());
}

std::int64_t SizeOfFile(const std::string& fileName)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(fileName, error);
    return error ? 0 : static_cast<std::int64_t>(size);
}

const std::array<std::uint8_t, 256>& SqrtAlphaTable()
{
    static const std::array<std::uint8_t, 256> table = [] {
        std::array<std::uint8_t, 256> entries{};
        for (int i = 0; i < 256; ++i)
            entries[static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(std::lround(255.0 * std::sqrt(i / 255.0)));
        return entries;
    }();
    return table;
}
