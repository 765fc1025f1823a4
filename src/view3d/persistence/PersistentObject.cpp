#include "view3d/persistence/PersistentObject.h"

#include <istream>
#include <iterator>
#include <ostream>
#include <typeinfo>

#include "view3d/persistence/ApplicationFileIO.h"
#include "view3d/persistence/BinaryReader.h"
#include "view3d/persistence/BinaryWriter.h"
#include "view3d/persistence/PersistenceErrors.h"

std::string TPersistentObject::ClassName() const
{
    return "TPersistentObject";
}

std::string TPersistentObject::FileSignature() const
{
    return {};
}

std::unique_ptr<TVirtualWriter> TPersistentObject::CreateWriter(std::string& output, const std::string&) const
{
    return std::make_unique<TBinaryWriter>(output);
}

std::unique_ptr<TVirtualReader> TPersistentObject::CreateReader(std::string_view input, const std::string&) const
{
    return std::make_unique<TBinaryReader>(input);
}

void TPersistentObject::WriteToFiler(TVirtualWriter&) const {}

void TPersistentObject::ReadFromFiler(TVirtualReader&) {}

void TPersistentObject::SaveToStream(std::ostream& stream) const
{
    std::string archive;
    SaveTo(archive, {});
    stream.write(archive.data(), static_cast<std::streamsize>(archive.size()));
}

void TPersistentObject::LoadFromStream(std::istream& stream)
{
    const std::string archive{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    LoadFrom(archive, {});
}

void TPersistentObject::SaveToFile(const std::string& fileName) const
{
    std::string archive;
    SaveTo(archive, fileName);
    const auto stream = CreateFileStream(fileName, TFileStreamMode::Create);
    stream->write(archive.data(), static_cast<std::streamsize>(archive.size()));
    stream->flush();
    if (!*stream)
        throw EFOpenError("Cannot write file \"" + fileName + "\"");
}

void TPersistentObject::LoadFromFile(const std::string& fileName)
{
    const auto stream = CreateFileStream(fileName, TFileStreamMode::OpenRead);
    const std::string archive{std::istreambuf_iterator<char>(*stream), std::istreambuf_iterator<char>()};
    LoadFrom(archive, fileName);
}

std::string TPersistentObject::SaveToString() const
{
    std::string archive;
    SaveTo(archive, {});
    return archive;
}

void TPersistentObject::LoadFromString(std::string_view archive)
{
    LoadFrom(archive, {});
}

void TPersistentObject::Assign(const TPersistentObject& source)
{
    if (typeid(source) != typeid(*this))
        throw EConvertError("Cannot assign a " + source.ClassName() + " to a " + ClassName());
    if (&source != this)
        LoadFromString(source.SaveToString());
}

void TPersistentObject::SaveTo(std::string& output, const std::string& fileName) const
{
    output += FileSignature();
    const auto writer = CreateWriter(output, fileName);
    WriteToFiler(*writer);
}

void TPersistentObject::LoadFrom(std::string_view archive, const std::string& fileName)
{
    const std::string signature = FileSignature();
    if (archive.substr(0, signature.size()) != signature)
        throw EFilerError(InvalidFileSignatureText);
    archive.remove_prefix(signature.size());
    const auto reader = CreateReader(archive, fileName);
    ReadFromFiler(*reader);
}
