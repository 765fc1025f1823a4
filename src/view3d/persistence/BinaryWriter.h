#pragma once

// Writes the tagged little-endian archive: integers with the smallest tag
// that holds them, strings with a length byte up to 255 bytes.

#include <string>

#include "view3d/persistence/VirtualFiler.h"

class TBinaryWriter : public TVirtualWriter {
public:
    // The bytes are appended to `output`, which must outlive the writer.
    explicit TBinaryWriter(std::string& output);

    void WriteRaw(const void* data, std::size_t size) override;
    void WriteInteger(std::int32_t value) override;
    void WriteBoolean(bool value) override;
    void WriteString(const std::string& value) override;
    void WriteFloat(double value) override;
    void WriteListBegin() override;
    void WriteListEnd() override;

private:
    void WriteTag(TArchiveTag tag);
    void WriteLittleEndian(std::uint32_t value, int bytes);

    std::string& Output;
};
