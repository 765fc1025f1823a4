#pragma once

// The errors of the archives and of the persistent objects.

#include <stdexcept>
#include <string>

// An archive this program cannot take: an unknown version, a wrong signature.
class EFilerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An archive whose bytes are damaged or cut short.
class EReadError : public EFilerError {
public:
    using EFilerError::EFilerError;
};

class EListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that could not be opened or created.
class EFOpenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An object that cannot take the value of another.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline const char* const InvalidFileSignatureText = "Invalid file signature";
inline const char* const BrokenObjectListArchiveText = "Broken ObjectList archive";
inline const char* const InvalidListIndexText = "Invalid list index";

// "<class> : unknown archive version <n>".
[[noreturn]] void RaiseUnknownArchiveVersion(const std::string& className, int version);
