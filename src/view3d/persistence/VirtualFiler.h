#pragma once

// The abstract archive writer and reader that persistent objects write
// themselves to and read themselves from.

#include <cstddef>
#include <cstdint>
#include <string>

// The tag byte in front of every archive value.
enum class TArchiveTag : std::uint8_t {
    EndOfList = 0,
    BeginOfList = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,
    ShortString = 6,
    False = 8,
    True = 9,
    LongString = 12,
    WideString = 18,
    Utf8String = 20,
};

class TVirtualWriter {
public:
    virtual ~TVirtualWriter() = default;
    virtual void WriteRaw(const void* data, std::size_t size) = 0;
    virtual void WriteInteger(std::int32_t value) = 0;
    virtual void WriteBoolean(bool value) = 0;
    virtual void WriteString(const std::string& value) = 0;
    virtual void WriteFloat(double value) = 0;
    virtual void WriteListBegin() = 0;
    virtual void WriteListEnd() = 0;
};

class TVirtualReader {
public:
    virtual ~TVirtualReader() = default;
    // The name the read errors carry.
    virtual std::string ClassName() const = 0;
    virtual void ReadRaw(void* data, std::size_t size) = 0;
    // The tag of the next value, without moving past it.
    virtual TArchiveTag NextTag() = 0;
    virtual std::int32_t ReadInteger() = 0;
    virtual bool ReadBoolean() = 0;
    virtual std::string ReadString() = 0;
    virtual double ReadFloat() = 0;
    virtual void ReadListBegin() = 0;
    virtual void ReadListEnd() = 0;
    // Whether the next value ends a list.
    virtual bool EndOfList() = 0;
    // What is left to read: nothing read from an archive may claim more.
    virtual std::size_t RemainingBytes() const = 0;
    // Raises the read error of a damaged archive.
    [[noreturn]] void RaiseReadError() const;

    // Objects nested in objects are read recursively; a damaged archive must
    // not be able to nest them deeper than the stack can hold.
    class TNesting {
    public:
        explicit TNesting(TVirtualReader& reader);
        ~TNesting();
        TNesting(const TNesting&) = delete;
        TNesting& operator=(const TNesting&) = delete;

    private:
        TVirtualReader& Reader;
    };

private:
    int Depth = 0;
};
