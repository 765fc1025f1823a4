#include "view3d/persistence/ApplicationFileIO.h"

#include <filesystem>
#include <fstream>

#include "view3d/persistence/PersistenceErrors.h"

namespace {

TFileStreamHook& StreamHook()
{
    static TFileStreamHook hook;
    return hook;
}

TFileExistsHook& ExistsHook()
{
    static TFileExistsHook hook;
    return hook;
}

std::string Quoted(const std::string& fileName)
{
    return "\"" + fileName + "\"";
}

} // namespace

void SetApplicationFileIOHooks(TFileStreamHook createStream, TFileExistsHook exists)
{
    StreamHook() = std::move(createStream);
    ExistsHook() = std::move(exists);
}

bool ApplicationFileIOAvailable()
{
    return static_cast<bool>(StreamHook()) || static_cast<bool>(ExistsHook());
}

std::unique_ptr<std::iostream> CreateFileStream(const std::string& fileName, TFileStreamMode mode)
{
    if (StreamHook())
        if (auto stream = StreamHook()(fileName, mode))
            return stream;
    if (mode == TFileStreamMode::OpenRead && !FileStreamExists(fileName))
        throw EFOpenError("File not found: " + Quoted(fileName));
    const auto openMode = mode == TFileStreamMode::Create
                              ? std::ios::out | std::ios::binary | std::ios::trunc
                              : std::ios::in | std::ios::binary;
    auto stream = std::make_unique<std::fstream>(fileName, openMode);
    if (!*stream)
        throw EFOpenError("Cannot open file " + Quoted(fileName));
    return stream;
}

bool FileStreamExists(const std::string& fileName)
{
    if (ExistsHook())
        return ExistsHook()(fileName);
    std::error_code error;
    return std::filesystem::is_regular_file(fileName, error);
}
