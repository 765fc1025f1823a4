#include <clocale>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "cad/base/Settings.h"
#include "cad/geometry/FormatCoordinate.h"

namespace {

// Runs a test under a comma-decimal locale and the given display format,
// restoring both afterwards.
class FormatCoordinateTest : public testing::Test {
protected:
    void SetUp() override
    {
        SavedFormat = DisplayFormat;
        SavedLocale = std::setlocale(LC_ALL, nullptr);
        ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
            << "the de_DE.UTF-8 locale is missing; run tools/install-deps.sh";
        // Proves the locale is in effect, so that a printf-based formatter would fail here.
        char probe[16];
        std::snprintf(probe, sizeof probe, "%0.1f", 1.5);
        ASSERT_EQ(std::string(probe), "1,5");
    }

    void TearDown() override
    {
        std::setlocale(LC_ALL, SavedLocale.c_str());
        DisplayFormat = SavedFormat;
    }

    std::string SavedFormat;
    std::string SavedLocale;
};

} // namespace

TEST_F(FormatCoordinateTest, BothUnitFormatsUnderACommaLocale)
{
    struct Case {
        const char* Format;
        float Value;
        const char* Text;
    };
    for (const Case c : {
             Case{"%0.3f", 12.5f, "12.5"},
             {"%0.3f", 3.0f, "3"},
             {"%0.3f", 1.23456f, "1.235"},
             {"%0.3f", -2.5f, "-2.5"},
             {"%0.3f", 0.0f, "0"},
             {"%0.3f", 1234567.0f, "1234567"},
             {"%0.3f", 0.0625f, "0.062"},  // halves go to even, like printf
             {"%0.3f", -0.0001f, "0"},
             {"%0.4f", 1.23456f, "1.2346"},
             {"%0.4f", 0.0001f, "0.0001"},
             {"%0.4f", 10.1f, "10.1"},
             {"%0.4f", 100.0f, "100"},
             {"%0.0f", 100.0f, "100"},
             {"%0.0f", 2.5f, "2"},
             {"%f", 0.5f, "0.5"},
         }) {
        DisplayFormat = c.Format;
        EXPECT_EQ(FormatCoordinate(c.Value), c.Text) << c.Format << " " << c.Value;
    }
}

TEST_F(FormatCoordinateTest, EmptyFormatGivesEmptyText)
{
    DisplayFormat.clear();
    EXPECT_EQ(FormatCoordinate(12.5f), "");
}
