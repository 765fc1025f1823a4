#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "support/ArchiveBytes.h"

#include "view3d/persistence/BinaryReader.h"
#include "view3d/persistence/BinaryWriter.h"
#include "view3d/persistence/ExtendedFloat.h"
#include "view3d/persistence/PersistenceErrors.h"

namespace {

using namespace archive_bytes;

std::string Written(const std::function<void(TBinaryWriter&)>& write)
{
    std::string output;
    TBinaryWriter writer(output);
    write(writer);
    return output;
}

// Integers take the smallest tag that holds them: 2 (8 bits), 3 (16), 4 (32).
TEST(BinaryArchive, IntegersAreWrittenWithTheSmallestTag)
{
    const struct {
        std::int32_t Value;
        std::string Archive;
    } cases[] = {
        {0, Bytes({2, 0})},
        {127, Bytes({2, 0x7F})},
        {-128, Bytes({2, 0x80})},
        {128, Bytes({3, 0x80, 0})},
        {-129, Bytes({3, 0x7F, 0xFF})},
        {32767, Bytes({3, 0xFF, 0x7F})},
        {40000, Bytes({4, 0x40, 0x9C, 0, 0})},
        {-32769, Bytes({4, 0xFF, 0x7F, 0xFF, 0xFF})},
        {std::numeric_limits<std::int32_t>::min(), Bytes({4, 0, 0, 0, 0x80})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Written([&](TBinaryWriter& w) { w.WriteInteger(c.Value); }), c.Archive) << c.Value;
        TBinaryReader reader(c.Archive);
        EXPECT_EQ(reader.ReadInteger(), c.Value);
        EXPECT_EQ(reader.RemainingBytes(), 0u);
    }
}

TEST(BinaryArchive, StringsBooleansAndListMarksHaveTheirTags)
{
    const std::string long255(255, 'x');
    const std::string long256(256, 'y');
    EXPECT_EQ(Written([](TBinaryWriter& w) { w.WriteString(""); }), Bytes({6, 0}));
    EXPECT_EQ(Written([](TBinaryWriter& w) { w.WriteString("ab"); }), Bytes({6, 2, 'a', 'b'}));
    EXPECT_EQ(Written([&](TBinaryWriter& w) { w.WriteString(long255); }), Bytes({6, 255}) + long255);
    EXPECT_EQ(Written([&](TBinaryWriter& w) { w.WriteString(long256); }), Bytes({12, 0, 1, 0, 0}) + long256);
    EXPECT_EQ(Written([](TBinaryWriter& w) {
                  w.WriteListBegin();
                  w.WriteBoolean(false);
                  w.WriteBoolean(true);
                  w.WriteListEnd();
                  w.WriteRaw("KS", 2);
              }),
              Bytes({1, 8, 9, 0, 'K', 'S'}));

    const std::string archive = Bytes({1, 8, 9, 6, 2, 'a', 'b', 12, 3, 0, 0, 0, 'x', 'y', 'z', 18, 2, 0, 0, 0, 'A',
                                       0, 0xE9, 0, 20, 5, 0, 0, 0, 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 20, 4, 0, 0, 0,
                                       0xF0, 0x9F, 0x98, 0x80, 0});
    TBinaryReader reader(archive);
    reader.ReadListBegin();
    EXPECT_FALSE(reader.EndOfList());
    EXPECT_FALSE(reader.ReadBoolean());
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_EQ(reader.NextTag(), TArchiveTag::ShortString);
    EXPECT_EQ(reader.ReadString(), "ab");
    EXPECT_EQ(reader.ReadString(), "xyz");
    // Wide and UTF-8 strings arrive as the program's Western code-page bytes.
    EXPECT_EQ(reader.ReadString(), "A\xE9");
    EXPECT_EQ(reader.ReadString(), "\xE9\x80");
    EXPECT_EQ(reader.ReadString(), "?");
    EXPECT_TRUE(reader.EndOfList());
    reader.ReadListEnd();
    EXPECT_EQ(reader.RemainingBytes(), 0u);
}

TEST(BinaryArchive, ExtendedFloatsHaveTheirBytes)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double Value;
        std::string Bytes;
    } cases[] = {
        {1.0, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
        {-2.0, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0})},
        {0.0, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {-0.0, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80})},
        {inf, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F})},
        {-inf, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF})},
        {0.1, Bytes({0, 0xD0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F})},
        {std::numeric_limits<double>::denorm_min(), Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xCD, 0x3B})},
    };
    for (const auto& c : cases) {
        const std::string archive = Written([&](TBinaryWriter& w) { w.WriteFloat(c.Value); });
        EXPECT_EQ(archive, Bytes({5}) + c.Bytes) << c.Value;
        TBinaryReader reader(archive);
        const double read = reader.ReadFloat();
        EXPECT_EQ(read, c.Value);
        EXPECT_EQ(std::signbit(read), std::signbit(c.Value));
    }
    // What a processor with true extended precision writes for 0.1 rounds to the double 0.1.
    EXPECT_EQ(DecodeExtended({0xCD, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F}), 0.1);
    EXPECT_TRUE(std::isnan(DecodeExtended(EncodeExtended(std::nan("")))));
    EXPECT_EQ(DecodeExtended({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x7F}), inf);
    EXPECT_EQ(DecodeExtended({0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x00}), 0.0);
}

// Damaged or cut-short archives raise the read error and read nothing past
// the end, however large a length they claim.
TEST(BinaryArchive, DamagedArchivesRaiseTheReadError)
{
    const struct {
        const char* What;
        std::string Archive;
        std::function<void(TBinaryReader&)> Read;
    } cases[] = {
        {"empty integer", "", [](TBinaryReader& r) { r.ReadInteger(); }},
        {"short integer", Bytes({3, 1}), [](TBinaryReader& r) { r.ReadInteger(); }},
        {"string as integer", Bytes({6, 0}), [](TBinaryReader& r) { r.ReadInteger(); }},
        {"integer as string", Bytes({2, 0}), [](TBinaryReader& r) { r.ReadString(); }},
        {"short string", Bytes({6, 5, 'a'}), [](TBinaryReader& r) { r.ReadString(); }},
        {"huge string", Bytes({12, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}), [](TBinaryReader& r) { r.ReadString(); }},
        {"huge wide string", Bytes({18, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0}), [](TBinaryReader& r) { r.ReadString(); }},
        {"odd wide string", Bytes({18, 2, 0, 0, 0, 'a', 0, 'b'}), [](TBinaryReader& r) { r.ReadString(); }},
        {"huge UTF-8 string", Bytes({20, 0, 0, 0, 0x80}), [](TBinaryReader& r) { r.ReadString(); }},
        {"short float", Bytes({5, 0, 0, 0}), [](TBinaryReader& r) { r.ReadFloat(); }},
        {"boolean tag 7", Bytes({7}), [](TBinaryReader& r) { r.ReadBoolean(); }},
        {"list end as begin", Bytes({0}), [](TBinaryReader& r) { r.ReadListBegin(); }},
        {"no list end", "", [](TBinaryReader& r) { r.EndOfList(); }},
        {"raw past the end", "abc", [](TBinaryReader& r) {
             char buffer[4];
             r.ReadRaw(buffer, 4);
         }},
    };
    for (const auto& c : cases) {
        TBinaryReader reader(c.Archive);
        ExpectRefused(c.What, [&] { c.Read(reader); }, "TBinaryReader, read type error");
    }
}

} // namespace
