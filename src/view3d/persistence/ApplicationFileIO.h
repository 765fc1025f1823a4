#pragma once

// The one place where the 3D view opens files. A hook may supply the streams
// (an archive inside another file, a test's memory); without one they are
// plain files.

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

enum class TFileStreamMode { Create, OpenRead };

using TFileStreamHook = std::function<std::unique_ptr<std::iostream>(const std::string& fileName, TFileStreamMode)>;
using TFileExistsHook = std::function<bool(const std::string& fileName)>;

// Empty hooks restore plain files.
void SetApplicationFileIOHooks(TFileStreamHook createStream, TFileExistsHook exists);
bool ApplicationFileIOAvailable();

// A missing file raises EFOpenError 'File not found: "name"'.
std::unique_ptr<std::iostream> CreateFileStream(const std::string& fileName, TFileStreamMode mode);
bool FileStreamExists(const std::string& fileName);
