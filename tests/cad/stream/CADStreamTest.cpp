#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "cad/base/CADExceptions.h"
#include "cad/stream/CADStream.h"
#include "support/ExceptionMessage.h"

using cadtest::MessageOf;

namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<std::uint8_t> bytes;
    for (int v : values)
        bytes.push_back(static_cast<std::uint8_t>(v));
    return bytes;
}

} // namespace

TEST(CADStream, WritesLittleEndianUnpaddedFields)
{
    TCADStreamWriter out;
    out.WriteInt32(-1);
    out.WriteInt16(-2);
    out.WriteUInt16(0xABCD);
    out.WriteByte(7);
    out.WriteBoolean(true);
    out.WriteSingle(1.0f);
    out.WriteString("Hi");
    out.WriteFixedString("Lib", 5);
    out.WriteFixedString("TooLong", 3);
    EXPECT_EQ(out.Data(), Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xCD, 0xAB, 7, 1, 0x00, 0x00, 0x80, 0x3F, 2, 0,
                                 0, 0, 'H', 'i', 'L', 'i', 'b', 0, 0, 'T', 'o', 'o'}));
}

TEST(CADStream, ReadsBackWhatWasWritten)
{
    TTransform2D t;
    for (int i = 0; i < 9; ++i)
        t.M[i / 3][i % 3] = static_cast<float>(i) - 4.5f;
    TCADStreamWriter out;
    out.WriteInt32(std::numeric_limits<std::int32_t>::min());
    out.WriteInt16(-32768);
    out.WriteUInt16(65535);
    out.WriteByte(255);
    out.WriteBoolean(false);
    out.WriteSingle(-0.1f);
    out.WritePoint2D(TPoint2D{1.5f, -2.25f, 1.0f});
    out.WriteTransform2D(t);
    out.WriteString(std::string("a\0b\xE9", 4));
    out.WriteFixedString("Block", 13);

    TCADStreamReader in(out.Data());
    EXPECT_EQ(in.ReadInt32(), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(in.ReadInt16(), -32768);
    EXPECT_EQ(in.ReadUInt16(), 65535);
    EXPECT_EQ(in.ReadByte(), 255);
    EXPECT_FALSE(in.ReadBoolean());
    EXPECT_EQ(in.ReadSingle(), -0.1f);
    const TPoint2D p = in.ReadPoint2D();
    EXPECT_EQ(p.X, 1.5f);
    EXPECT_EQ(p.Y, -2.25f);
    EXPECT_EQ(p.W, 1.0f);
    const TTransform2D back = in.ReadTransform2D();
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(back.M[i / 3][i % 3], t.M[i / 3][i % 3]);
    EXPECT_EQ(in.ReadString(100), std::string("a\0b\xE9", 4)) << "strings are kept as bytes";
    EXPECT_EQ(in.ReadFixedString(13), std::string("Block\0\0\0\0\0\0\0\0", 13));
    EXPECT_TRUE(in.AtEnd());
}

TEST(CADStream, ATruncatedInputRaisesAndNamesWhereItEnded)
{
    TCADStreamReader in(Bytes({1, 2, 3, 4, 5, 6}), "Library.blk");
    in.ReadInt32();
    const std::string message = MessageOf<ECADFileNotValid>([&] { in.ReadInt32(); });
    EXPECT_NE(message.find("Library.blk"), std::string::npos) << message;
    EXPECT_NE(message.find("byte 4"), std::string::npos) << message;
    EXPECT_EQ(in.Position(), 4u) << "a refused read consumes nothing";
    EXPECT_EQ(in.ReadInt16(), 0x0605);

    const auto shortBy = [](std::vector<std::uint8_t> bytes, auto read) {
        TCADStreamReader r(std::move(bytes));
        return MessageOf<ECADFileNotValid>([&] { read(r); });
    };
    EXPECT_NE(shortBy({}, [](auto& r) { r.ReadByte(); }), "no exception");
    EXPECT_NE(shortBy(Bytes({1}), [](auto& r) { r.ReadUInt16(); }), "no exception");
    EXPECT_NE(shortBy(Bytes({1, 2, 3}), [](auto& r) { r.ReadSingle(); }), "no exception");
    EXPECT_NE(shortBy(std::vector<std::uint8_t>(11), [](auto& r) { r.ReadPoint2D(); }), "no exception");
    EXPECT_NE(shortBy(std::vector<std::uint8_t>(35), [](auto& r) { r.ReadTransform2D(); }), "no exception");
    EXPECT_NE(shortBy(std::vector<std::uint8_t>(12), [](auto& r) { r.ReadFixedString(13); }), "no exception");
}

TEST(CADStream, StringLengthsAreCheckedBeforeUse)
{
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::size_t maxLength;
        bool valid;
    };
    const std::vector<Case> cases = {
        {"fits", Bytes({3, 0, 0, 0, 'a', 'b', 'c'}), 3, true},
        {"empty", Bytes({0, 0, 0, 0}), 0, true},
        {"above the maximum", Bytes({3, 0, 0, 0, 'a', 'b', 'c'}), 2, false},
        {"negative", Bytes({0xFF, 0xFF, 0xFF, 0xFF}), 100, false},
        {"past the end", Bytes({4, 0, 0, 0, 'a', 'b', 'c'}), 100, false},
        {"huge", Bytes({0xFF, 0xFF, 0xFF, 0x7F}), std::numeric_limits<std::size_t>::max(), false},
    };
    for (const Case& c : cases) {
        TCADStreamReader in(c.bytes);
        const std::string message = MessageOf<ECADFileNotValid>([&] { in.ReadString(c.maxLength); });
        EXPECT_EQ(message == "no exception", c.valid) << c.name << ": " << message;
    }
}

TEST(CADStream, CountsAreCheckedAgainstTheBytesLeft)
{
    TCADStreamReader in(std::vector<std::uint8_t>(24));
    EXPECT_NO_THROW(in.RequireItems(2, 12, "point count"));
    EXPECT_NO_THROW(in.RequireItems(0, 12, "point count"));
    EXPECT_NE(MessageOf<ECADFileNotValid>([&] { in.RequireItems(3, 12, "point count"); }).find("point count 3"),
              std::string::npos);
    EXPECT_NE(MessageOf<ECADFileNotValid>([&] { in.RequireItems(-1, 12, "child count"); }).find("negative child count"),
              std::string::npos);
    EXPECT_NE(MessageOf<ECADFileNotValid>([&] { in.RequireItems(std::numeric_limits<std::int32_t>::max(), 1, "n"); }),
              "no exception");
}

TEST(CADStream, APlaceholderCountIsPatchedAfterTheRecords)
{
    TCADStreamWriter out;
    out.WriteFixedString("CAD422", 6);
    const std::size_t countAt = out.Position();
    out.WriteInt32(99);
    out.WriteInt16(1);
    out.WriteInt16(2);
    out.Seek(countAt);
    out.WriteInt32(2);
    out.SeekToEnd();
    out.WriteByte(0xEE);
    EXPECT_EQ(out.Data(), Bytes({'C', 'A', 'D', '4', '2', '2', 2, 0, 0, 0, 1, 0, 2, 0, 0xEE}));
    EXPECT_THROW(out.Seek(out.Data().size() + 1), ECADOutOfBound);
}

TEST(CADStream, VersionsCompareAsText)
{
    const char* ascending[] = {"CAD3  ", "CAD33", "CAD4  ", "CAD41", "CAD422"};
    for (std::size_t i = 0; i < std::size(ascending); ++i)
        for (std::size_t j = 0; j < std::size(ascending); ++j)
            EXPECT_EQ(CADVersionBefore(ascending[i], ascending[j]), i < j) << ascending[i] << " / " << ascending[j];
    EXPECT_TRUE(CADVersionBefore("CAD4", "CAD4  ")) << "a prefix is smaller";
}

TEST(CADStream, FilesAreReadWhole)
{
    TCADStreamWriter out;
    out.WriteString("whole");
    const std::string path = std::string(KESTRO_TEST_OUTPUT_DIR) + "/cadstream-whole.bin";
    std::filesystem::create_directories(KESTRO_TEST_OUTPUT_DIR);
    ASSERT_TRUE(out.SaveToFile(path));
    const auto bytes = ReadWholeFile(path);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, out.Data());
    EXPECT_FALSE(ReadWholeFile(path + ".missing").has_value());
    EXPECT_FALSE(ReadWholeFile(KESTRO_TEST_OUTPUT_DIR).has_value()) << "a folder is no file";
}
