#pragma once

// Reads the tagged little-endian archive. A value of another kind than the
// one asked for, or one cut short by the end of the archive, raises
// "TBinaryReader, read type error"; nothing is read past the end.

#include <string>
#include <string_view>

#include "view3d/persistence/VirtualFiler.h"

class TBinaryReader : public TVirtualReader {
public:
    // Reads `input`, which must outlive the reader.
    explicit TBinaryReader(std::string_view input);
    // A temporary string would be gone before the first read.
    explicit TBinaryReader(std::string&& input) = delete;

    std::string ClassName() const override;
    void ReadRaw(void* data, std::size_t size) override;
    TArchiveTag NextTag() override;
    std::int32_t ReadInteger() override;
    bool ReadBoolean() override;
    std::string ReadString() override;
    double ReadFloat() override;
    void ReadListBegin() override;
    void ReadListEnd() override;
    bool EndOfList() override;
    std::size_t RemainingBytes() const override;

private:
    std::uint8_t ReadByte();
    std::uint32_t ReadLittleEndian(int bytes);
    std::string_view ReadBytes(std::size_t size);
    void ExpectTag(TArchiveTag tag);

    std::string_view Input;
    std::size_t Position = 0;
};
