#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../../platform/CommaLocale.h"
#include "cad/dxf/DXFColorTable.h"
#include "cad/dxf/DXFRead.h"

namespace {

struct TPairCase {
    int Code;
    TDXFValue::TKind Kind;
    std::string Text;
    double Number;
};

} // namespace

// Pairs as other programs write them: CR LF, padded codes, comma decimals,
// a leading '+', blanks around values, and text in a Western code page.
TEST(DXFRead, TypesEachValueByItsCodeWithoutTheLocale)
{
    CommaLocale comma;
    ASSERT_TRUE(CommaLocale::Active()) << "the de_DE.UTF-8 locale is missing (tools/install-deps.sh)";
    const std::string bytes = "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n"
                              " 10\r\n1,5\r\n"
                              "20\r\n -2.25 \r\n"
                              "40\r\n+3e2\r\n"
                              "41\r\nnan\r\n"
                              "42\r\n1,2,3\r\n"
                              " 62\r\n 7 \r\n"
                              "70\r\nx\r\n"
                              "  1\r\n  caf\xe9 \r\n"
                              "100\r\n  keep  \r\n"
                              "1071\r\n12\r\n"
                              "90\r\n 8\r\n"
                              "  0\r\nEOF\r\n";
    TDXFRead reader = TDXFRead::FromBytes(bytes);
    ASSERT_FALSE(reader.Failed());
    ASSERT_EQ(reader.Section, TDXFSection::Entities);
    using K = TDXFValue::TKind;
    const TPairCase cases[] = {
        {10, K::Real, "", 1.5},        {20, K::Real, "", -2.25},     {40, K::Real, "", 300.0},
        {41, K::Real, "", 0.0},        {42, K::Real, "", 0.0},       {62, K::Integer, "", 7},
        {70, K::Integer, "", 0},       {1, K::Text, "caf\xe9", 0.0}, {100, K::Text, "  keep  ", 0.0},
        {1071, K::Integer, "", 12},    {90, K::Text, " 8", 8.0},     {0, K::Text, "EOF", 0.0},
    };
    for (const TPairCase& c : cases) {
        SCOPED_TRACE(c.Code);
        ASSERT_EQ(reader.Code, c.Code);
        EXPECT_EQ(reader.Value.Kind, c.Kind);
        if (c.Kind == K::Text) {
            EXPECT_EQ(reader.Value.Text, c.Text);
        }
        EXPECT_DOUBLE_EQ(reader.Value.AsReal(), c.Number);
        reader.ReadPair();
    }
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_FALSE(reader.ReadPair());
    EXPECT_FALSE(reader.Damaged());
}

TEST(DXFRead, RecordsKeepCodesUpTo1256AndStopAtTheNextRecord)
{
    EXPECT_EQ(TDXFRecord::SlotOf(255), 255);
    EXPECT_EQ(TDXFRecord::SlotOf(256), -1);
    EXPECT_EQ(TDXFRecord::SlotOf(1000), 256);
    EXPECT_EQ(TDXFRecord::SlotOf(1256), 512);
    EXPECT_EQ(TDXFRecord::SlotOf(1257), -1);

    TDXFRead reader = TDXFRead::FromBytes("0\nSECTION\n2\nHEADER\n9\n$A\n70\n1\n9\n$B\n10\n2\n300\nx\n"
                                          "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n1\n1256\nz\n0\nLINE\n");
    TDXFRecord record;
    ASSERT_EQ(reader.ReadRecord(9, record), 9);
    EXPECT_EQ(record.Text(9), "$A");
    EXPECT_EQ(record.Integer(70), 1);
    ASSERT_EQ(reader.ReadRecord(9, record), 9);
    EXPECT_EQ(record.Text(9), "$B");
    EXPECT_FALSE(record.Has(70)) << "each record starts empty";
    EXPECT_FALSE(record.Has(300));
    EXPECT_EQ(reader.ReadRecord(9, record), 0) << "a record of the stop code cannot start after code 0";
    ASSERT_EQ(reader.FindSection(), TDXFSection::Entities);
    ASSERT_EQ(reader.ReadRecord(0, record), 0);
    EXPECT_EQ(record.Text(0), "LINE");
    EXPECT_EQ(record.Text(1256), "z");
    EXPECT_EQ(reader.ReadRecord(0, record), 0);
    EXPECT_TRUE(reader.AtEnd()) << "the last record ends with the file";
    EXPECT_EQ(reader.ReadRecord(0, record), -1);

    TDXFRead damaged = TDXFRead::FromBytes("0\nSECTION\n2\nENTITIES\n0\nLINE\n1O\n5\n0\nLINE\n");
    damaged.SkipToCodeZero();
    EXPECT_TRUE(damaged.AtEnd());
    EXPECT_TRUE(damaged.Damaged()) << "a code line that is no number ends the reading";
    EXPECT_TRUE(TDXFRead::FromBytes("no drawing").Failed());
}

TEST(DXFColorTable, FixedEntriesTintsAndGreys)
{
    const auto rgb = [](int r, int g, int b) { return static_cast<TColor>(r | g << 8 | b << 16); };
    const std::pair<double, TColor> cases[] = {
        {0, rgb(255, 255, 255)}, {1, rgb(255, 0, 0)},     {7, rgb(0, 0, 0)},       {9, rgb(187, 187, 187)},
        {10, rgb(255, 0, 0)},    {11, rgb(255, 127, 127)}, {12, rgb(0, 0, 0)},     {21, rgb(255, 159, 127)},
        {31, rgb(255, 191, 127)}, {41, rgb(255, 223, 127)}, {200, rgb(191, 0, 255)}, {250, rgb(0, 0, 0)},
        {251, rgb(45, 45, 45)},  {255, rgb(179, 179, 179)}, {-1, rgb(255, 0, 0)},  {-2.4, rgb(255, 255, 0)},
        {256, rgb(0, 0, 0)},     {1e300, rgb(0, 0, 0)},
    };
    for (const auto& [number, colour] : cases)
        EXPECT_EQ(DxfLayerColor(number), colour) << number;
}
