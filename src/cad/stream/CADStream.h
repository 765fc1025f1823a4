#pragma once

// The binary layout shared by the drawing streams, the block library and the
// vector font files: little-endian, no padding, Int16/Int32 two's complement,
// Word unsigned, Single IEEE 754, strings as the 8-bit bytes they were written as.
//
// A reader works over a whole file held in memory, so every read is checked
// against the bytes that are left and a short input never reads past the buffer.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cad/geometry/CADBaseTypes.h"

// The stream version written by this program; older versions are still read.
inline constexpr std::string_view CADCurrentVersion = "CAD422";

// Versions compare as text, byte by byte; a prefix of the other is smaller.
bool CADVersionBefore(std::string_view version, std::string_view other);

// What one file may decode into pictures, in bytes, how many objects its
// block references may expand to in the drawing, and how many outline points
// its curves may ask for beyond their classes' usual precision, over all its
// records.
inline constexpr std::uint64_t MaxPictureBytesPerFile = std::uint64_t{512} << 20;
inline constexpr std::uint64_t MaxExpandedObjectsPerFile = std::uint64_t{1} << 20;
inline constexpr std::uint64_t MaxProfilePointsPerFile = std::uint64_t{1} << 20;

class TCADStreamReader {
public:
    // sourceName only labels the error messages (a file name, "Library.blk", ...).
    explicit TCADStreamReader(std::vector<std::uint8_t> bytes, std::string sourceName = "stream");

    std::uint8_t ReadByte();
    bool ReadBoolean();
    std::int16_t ReadInt16();
    std::uint16_t ReadUInt16();
    std::int32_t ReadInt32();
    float ReadSingle();
    TPoint2D ReadPoint2D();
    TTransform2D ReadTransform2D();
    // Exactly `count` bytes, zeros included.
    std::string ReadFixedString(std::size_t count);
    // An Int32 length, then that many bytes; a negative length or one above
    // maxLength is refused.
    std::string ReadString(std::size_t maxLength);

    // Raises ECADFileNotValid unless `count` items of `itemSize` bytes are left;
    // used to refuse a damaged count before anything is allocated for it.
    void RequireItems(std::int64_t count, std::size_t itemSize, std::string_view what) const;

    std::size_t Position() const { return Pos; }
    std::size_t Size() const { return Bytes.size(); }
    std::size_t Remaining() const { return Bytes.size() - Pos; }
    bool AtEnd() const { return Pos == Bytes.size(); }
    void Seek(std::size_t position);
    const std::string& SourceName() const { return Name; }

    // Work that records can ask for beyond their own bytes (a small picture
    // record that decodes to a huge bitmap, a few block references that
    // expand to millions of objects) is paid from budgets kept for the whole
    // file. A record takes its share before doing the work; false, with
    // nothing taken, when the budget cannot pay it, and the record is refused
    // (a curve is only drawn coarser).
    bool TakePictureBytes(std::uint64_t bytes) { return TakeFrom(PictureBytesLeft, bytes); }
    bool TakeExpandedObjects(std::uint64_t count) { return TakeFrom(ExpandedObjectsLeft, count); }
    bool TakeProfilePoints(std::uint64_t count) { return TakeFrom(ProfilePointsLeft, count); }
    // The budgets start at the per-file maxima; a reader of a part of a file may give it less.
    void SetBudgets(std::uint64_t pictureBytes, std::uint64_t expandedObjects,
                    std::uint64_t profilePoints = MaxProfilePointsPerFile)
    {
        PictureBytesLeft = pictureBytes;
        ExpandedObjectsLeft = expandedObjects;
        ProfilePointsLeft = profilePoints;
    }
    // True the first time only: a file whose curves overdraw their budget
    // gets one notice, not one for each curve.
    bool FirstProfileCut() { return !std::exchange(ProfileCutSeen, true); }

private:
    const std::uint8_t* Take(std::size_t count, std::string_view what);
    static bool TakeFrom(std::uint64_t& left, std::uint64_t amount);

    std::vector<std::uint8_t> Bytes;
    std::size_t Pos = 0;
    std::string Name;
    std::uint64_t PictureBytesLeft = MaxPictureBytesPerFile;
    std::uint64_t ExpandedObjectsLeft = MaxExpandedObjectsPerFile;
    std::uint64_t ProfilePointsLeft = MaxProfilePointsPerFile;
    bool ProfileCutSeen = false;
};

class TCADStreamWriter {
public:
    void WriteByte(std::uint8_t value);
    void WriteBoolean(bool value);
    void WriteInt16(std::int16_t value);
    void WriteUInt16(std::uint16_t value);
    void WriteInt32(std::int32_t value);
    void WriteSingle(float value);
    void WritePoint2D(TPoint2D point);
    void WriteTransform2D(const TTransform2D& t);
    void WriteBytes(std::string_view bytes);
    // `text` cut or zero-padded to exactly `width` bytes.
    void WriteFixedString(std::string_view text, std::size_t width);
    // An Int32 length, then the bytes.
    void WriteString(std::string_view text);

    // Writes go to the position: before the end they overwrite, so a count
    // written as a placeholder can be patched after the records that follow it.
    std::size_t Position() const { return Pos; }
    void Seek(std::size_t position);
    void SeekToEnd() { Pos = Bytes.size(); }

    const std::vector<std::uint8_t>& Data() const { return Bytes; }
    // Writes every byte to the file, replacing it; false when that failed.
    bool SaveToFile(const std::string& fileName) const;

private:
    void Put(const void* data, std::size_t count);

    std::vector<std::uint8_t> Bytes;
    std::size_t Pos = 0;
};

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& fileName);
