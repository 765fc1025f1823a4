#pragma once

// The base of objects that write themselves to and read themselves from an
// archive, through a stream, a file or a string.

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "view3d/persistence/VirtualFiler.h"

class TPersistentObject {
public:
    TPersistentObject() = default;
    virtual ~TPersistentObject() = default;
    TPersistentObject(const TPersistentObject&) = delete;
    TPersistentObject& operator=(const TPersistentObject&) = delete;

    // The name the class is registered and archived under.
    virtual std::string ClassName() const;
    // Bytes written in front of the archive and checked when it is loaded.
    virtual std::string FileSignature() const;
    // The writer and reader for a file of this name.
    virtual std::unique_ptr<TVirtualWriter> CreateWriter(std::string& output, const std::string& fileName) const;
    virtual std::unique_ptr<TVirtualReader> CreateReader(std::string_view input, const std::string& fileName) const;

    // Each class writes and reads its own data after its base's.
    virtual void WriteToFiler(TVirtualWriter& writer) const;
    virtual void ReadFromFiler(TVirtualReader& reader);

    void SaveToStream(std::ostream& stream) const;
    // Reads the rest of the stream.
    void LoadFromStream(std::istream& stream);
    void SaveToFile(const std::string& fileName) const;
    void LoadFromFile(const std::string& fileName);
    std::string SaveToString() const;
    void LoadFromString(std::string_view archive);

    // Takes the value of an object of exactly this class, through an archive;
    // any other source raises EConvertError.
    virtual void Assign(const TPersistentObject& source);

private:
    void SaveTo(std::string& output, const std::string& fileName) const;
    void LoadFrom(std::string_view archive, const std::string& fileName);
};
