#pragma once

// Reading a texture's picture from a file: the reader is chosen by the file's
// extension, first in the texture's own registry, then among the picture
// formats the image library knows.

#include <cstdint>
#include <string>

#include <QImage>

// The largest picture read, in pixels (a quarter of a gigabyte of RGBA): the
// size a file declares is checked against it before anything is allocated.
constexpr std::int64_t kMaxPicturePixels = std::int64_t(1) << 26;

// Extension ("bmp" or ".bmp", any case) to the format that reads it (as the
// image reader names it). ".bmp" is registered from the start.
void RegisterPictureExtension(const std::string& extension, const std::string& format);
// Empty when neither registry knows the extension.
std::string PictureFormatForFile(const std::string& fileName);

struct TPictureReadResult {
    // Null when nothing was read.
    QImage Picture;
    // Empty on success, else "Could not open file: <name>".
    std::string Error;
    // Why, for the log: no reader for the extension, no such file, a declared
    // size over the limit, or the reader's own complaint.
    std::string Reason;
};

// A missing file, an unknown extension, a file the reader cannot decode and a
// declared size over the limit all give a null picture and the error.
TPictureReadResult ReadPictureFile(const std::string& fileName);
