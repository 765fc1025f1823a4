#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include <gtest/gtest.h>

#include "app/Fixed4.h"

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

TFixed4 Raw(std::int64_t raw) { return TFixed4::FromRaw(raw); }

} // namespace

TEST(Fixed4, ParsesTextIntoTenThousandths)
{
    const struct {
        const char* text;
        std::optional<std::int64_t> raw;
    } cases[] = {
        {"0", 0},
        {"12.5", 125000},
        {"-0.0001", -1},
        {"+3", 30000},
        {"  7\t", 70000},
        {".5", 5000},
        {"5.", 50000},
        {"-.25", -2500},
        {"0012.3400", 123400},
        {"1.23456", 12346},      // past the fourth decimal: nearest
        {"1.23454", 12345},
        {"0.00005", 0},          // a tie goes to the even neighbour
        {"0.00015", 2},
        {"0.000051", 1},         // anything after the tie breaks it upward
        {"-1.00005", -10000},
        {"99999999999999999999999", kMax},  // too long for 64 bits: the largest value
        {"-99999999999999999999999", -kMax},
        {"922337203685477.5807", kMax},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"-", std::nullopt},
        {".", std::nullopt},
        {"-.", std::nullopt},
        {"1,5", std::nullopt},   // '.' is the one separator, whatever the locale
        {"1e2", std::nullopt},
        {"1.2.3", std::nullopt},
        {"--1", std::nullopt},
        {"1 2", std::nullopt},
        {"abc", std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<TFixed4> parsed = TFixed4::Parse(c.text);
        ASSERT_EQ(parsed.has_value(), c.raw.has_value()) << '"' << c.text << '"';
        if (parsed) {
            EXPECT_EQ(parsed->Raw(), *c.raw) << '"' << c.text << '"';
        }
    }
}

TEST(Fixed4, WritesTheShortestText)
{
    const struct {
        std::int64_t raw;
        const char* text;
    } cases[] = {
        {0, "0"},
        {3000, "0.3"},
        {-15000, "-1.5"},
        {1, "0.0001"},
        {-1, "-0.0001"},
        {900000, "90"},
        {123450, "12.345"},
        {kMax, "922337203685477.5807"},
        {kMin, "-922337203685477.5808"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Raw(c.raw).ToString(), c.text) << c.raw;
        EXPECT_EQ(TFixed4::Parse(Raw(c.raw).ToString())->Raw(), c.raw == kMin ? -kMax : c.raw)
            << "reads back, " << c.raw;
    }
}

TEST(Fixed4, StepsAddUpExactlyAndSaturate)
{
    const TFixed4 tenth = *TFixed4::Parse("0.1");
    TFixed4 sum;
    for (int i = 0; i < 3; ++i)
        sum = sum + tenth;
    EXPECT_EQ(sum, *TFixed4::Parse("0.3"));
    EXPECT_EQ(sum.Raw(), 3000);
    EXPECT_EQ(sum.ToString(), "0.3");
    EXPECT_EQ((sum - tenth - tenth - tenth).Raw(), 0);

    EXPECT_EQ((Raw(kMax) + Raw(1)).Raw(), kMax);
    EXPECT_EQ((Raw(kMin) - Raw(1)).Raw(), kMin);
    EXPECT_EQ((Raw(kMin) + Raw(-1)).Raw(), kMin);
    EXPECT_EQ((Raw(kMax) - Raw(-1)).Raw(), kMax);
    EXPECT_EQ(TFixed4::FromInt(kMax / 100).Raw(), kMax);
    EXPECT_EQ(TFixed4::FromInt(-90).Raw(), -900000);
}

TEST(Fixed4, ConvertsFromAndToDouble)
{
    EXPECT_EQ(TFixed4::FromDouble(0.1).Raw(), 1000);
    EXPECT_EQ(TFixed4::FromDouble(-2.71828).Raw(), -27183);
    EXPECT_EQ(TFixed4::FromDouble(std::nan("")).Raw(), 0);
    EXPECT_EQ(TFixed4::FromDouble(1e300).Raw(), kMax);
    EXPECT_EQ(TFixed4::FromDouble(-1e300).Raw(), kMin);
    EXPECT_EQ(Raw(3000).ToDouble(), 0.3);
}

TEST(Fixed4, EqualLimitsMeanNoLimits)
{
    const TFixed4 zero;
    const TFixed4 ninety = TFixed4::FromInt(90);
    const struct {
        TFixed4 value, min, max, expected;
    } cases[] = {
        {TFixed4::FromInt(-1000000), zero, zero, TFixed4::FromInt(-1000000)},
        {TFixed4::FromInt(5), ninety, ninety, TFixed4::FromInt(5)},
        {TFixed4::FromInt(120), zero, ninety, ninety},
        {TFixed4::FromInt(-5), zero, ninety, zero},
        {TFixed4::FromInt(45), zero, ninety, TFixed4::FromInt(45)},
        {ninety, zero, ninety, ninety},
        // Crossed limits: the lower one is tested first.
        {TFixed4::FromInt(50), ninety, zero, ninety},
        {TFixed4::FromInt(95), ninety, zero, zero},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampToLimits(c.value, c.min, c.max), c.expected)
            << c.value.ToString() << " in " << c.min.ToString() << ".." << c.max.ToString();
}
