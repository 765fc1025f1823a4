#include <functional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "../../platform/CommaLocale.h"
#include "support/NcRig.h"
#include "cad/base/Settings.h"
#include "cam/nc/NcNumber.h"

namespace {

struct TWordCase {
    const char* name;
    const char* post;
    // Returns the words it asked for, joined by '|', or the writer's text.
    std::function<std::string(TNcWriter&, TNcJobValues&)> script;
    std::string expected;
};

// Test lists show the case by its name.
void PrintTo(const TWordCase& c, std::ostream* os)
{
    *os << c.name;
}

std::string Joined(std::initializer_list<std::string> words)
{
    std::string text;
    for (const std::string& word : words) {
        if (&word != words.begin())
            text += '|';
        text += word;
    }
    return text;
}

const TWordCase WORD_CASES[] = {
    {"block numbers restart after SeqMax", "[Block Numbering]\nOutputSeq=1\nSeqStart=10\nSeqInc=10\nSeqMax=30\n",
     [](TNcWriter& w, TNcJobValues&) {
         return Joined({w.FormatBlockNumber(), w.FormatBlockNumber(), w.FormatBlockNumber(), w.FormatBlockNumber()});
     },
     "N10|N20|N30|N10"},
    {"block numbers restart instead of overflowing",
     "[Block Numbering]\nOutputSeq=1\nPref=\nSeqStart=2147483000\nSeqInc=1000\nSeqMax=2147483647\n",
     [](TNcWriter& w, TNcJobValues&) { return Joined({w.FormatBlockNumber(), w.FormatBlockNumber()}); },
     "2147483000|2147483000"},
    {"modal G writes G1 once", "[Default]\nGModal=1\n",
     [](TNcWriter& w, TNcJobValues&) {
         w.WriteMoveLine(1, "1000", 1, 0);
         w.WriteMoveLine(1, "1000", 2, 0);
         w.WriteMoveLine(0, "-2", 2, 5);
         return w.Text();
     },
     "G1 X1.000 Y0.000 F1000\r\nX2.000 Y0.000\r\nG0 X2.000 Y5.000\r\n"},
    {"modal feed: the rapid marker leaves the last feed alone", "",
     [](TNcWriter& w, TNcJobValues&) {
         return Joined({w.FormatFeedWord("1000"), w.FormatFeedWord("1000"), w.FormatFeedWord("-2"),
                        w.FormatFeedWord("1000"), w.FormatFeedWord("2000")});
     },
     " F1000|||| F2000"},
    {"a rapid feed word makes the next feed word reappear", "[Feed]\nRapid=F9999\n",
     [](TNcWriter& w, TNcJobValues&) {
         return Joined({w.FormatFeedWord("1000"), w.FormatFeedWord("-2"), w.FormatFeedWord("1000"), w.FormatFeedWord("1000")});
     },
     " F1000| F9999| F1000|"},
    {"feed words every time without FModal", "[Default]\nFModal=0\n",
     [](TNcWriter& w, TNcJobValues&) { return Joined({w.FormatFeedWord("800"), w.FormatFeedWord("800")}); },
     " F800| F800"},
    {"DelZero trims after the point only", "[Default]\nDelZero=1\n[Z Axis]\nFormat=1.0\n",
     [](TNcWriter& w, TNcJobValues&) {
         return Joined({w.FormatXWord(12.5), w.FormatXWord(3), w.FormatYWord(0), w.FormatZWord(10), w.FormatZWord(0),
                        w.FormatIWord(2.25), w.FormatRWord(4)});
     },
     " X12.5| X3.| Y0.| Z10| Z0| I2.25| R4."},
    {"spaces off with block numbers", "[Block Numbering]\nOutputSeq=1\n[Default]\nSpaces=0\n",
     [](TNcWriter& w, TNcJobValues&) {
         w.WriteMoveLine(1, "1000", 10, 5);
         return w.Text();
     },
     "N1G1X10.000Y5.000F1000\r\n"},
    {"a value that rounds to zero has no sign", "[Default]\nXYZModal=1\n",
     [](TNcWriter& w, TNcJobValues&) {
         return Joined({w.FormatXWord(0), w.FormatXWord(-0.0001), w.FormatYWord(-0.0004), w.FormatIWord(-0.0002),
                        w.FormatZWord(-0.0006)});
     },
     " X0.000|| Y0.000| I0.000| Z-0.001"},
    {"incremental: zero steps vanish, other steps are always written",
     "[Default]\nXYZModal=1\nIncremental_mode=1\n",
     [](TNcWriter& w, TNcJobValues&) {
         const float a = w.IncrementX(10);
         const float b = w.IncrementX(15);
         const float c = w.IncrementX(15);
         return Joined({w.FormatXWord(a), w.FormatXWord(b), w.FormatXWord(b), w.FormatXWord(c),
                        w.FormatCycleWord("Q", 0), w.FormatCycleWord("Q", 1)});
     },
     " X10.000| X5.000| X5.000||| Q1.000"},
    {"scales reach coordinates, centres, radii and cycle words",
     "[X Axis]\nScale=2\n[Y Axis]\nScale=3\n[Z Axis]\nScale=-1\n",
     [](TNcWriter& w, TNcJobValues&) {
         return Joined({w.FormatXWord(1.5), w.FormatYWord(1.5), w.FormatZWord(1.5), w.FormatIWord(1.5),
                        w.FormatJWord(1.5), w.FormatRWord(1.5), w.FormatCycleWord("R", 2), w.FormatXNumber(1.5),
                        w.FormatYNumber(1.5)});
     },
     " X3.000| Y4.500| Z-1.500| I3.000| J4.500| R3.000| R-2.000| 3.000| 4.500"},
    {"SBO numbers take their own axis's scale and format",
     "[Default]\nDialect=SBO\nSpaces=0\n[ShopBot]\nSBO_XYPref=M2,\n[X Axis]\nScale=2\n[Y Axis]\nFormat=1.1\n",
     [](TNcWriter& w, TNcJobValues&) {
         w.WriteMoveLine(MOTION_LINEAR, "100", 1.5, 2.5);
         return w.TakeText();
     },
     "M2,3.000,2.5\r\n"},
    {"formats: widths, zero padding and whole tool numbers",
     "[X Axis]\nFormat=8.2\n[Y Axis]\nFormat=08.2\n[Tool]\nFormat=1.3\n[ArcDef]\nFormat=.1\n",
     [](TNcWriter& w, TNcJobValues&) {
         return Joined({w.FormatXWord(-1.5), w.FormatYWord(-1.5), w.FormatToolWord(7), w.FormatIWord(2.26)});
     },
     " X   -1.50| Y-0001.50| T007| I2.3"},
    {"display numbers follow the units", "",
     [](TNcWriter&, TNcJobValues&) {
         const TPostSettings post = ReadPostSettingsFromText("[Default]\nDelZero=1\n");
         const std::int32_t saved = UnitsMode;
         const std::string mm = FormatSepNumber(2.5, post) + "|" + FormatPrefixedNumber("L=", 1.23456, post);
         UnitsMode = 1;
         const std::string inch = FormatSepNumber(1.23456, post);
         UnitsMode = saved;
         return mm + "|" + inch;
     },
     " 2.5| L=1.235| 1.2346"},
};

class NcWordsTest : public testing::TestWithParam<TWordCase> {};

} // namespace

TEST_P(NcWordsTest, WritesTheWordsThePostAsksFor)
{
    const TWordCase& c = GetParam();
    TNcRig rig(c.post);
    EXPECT_EQ(c.script(rig.Writer, rig.Job), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, NcWordsTest, testing::ValuesIn(WORD_CASES));

namespace {

struct TTemplateCase {
    const char* name;
    const char* post;
    std::string templ;
    std::string expected;
};

// Test lists show the case by its name.
void PrintTo(const TTemplateCase& c, std::ostream* os)
{
    *os << c.name;
}

const TTemplateCase TEMPLATE_CASES[] = {
    {"tool diameter comment", "", "[tool_info]", "(TLDIA=6)"},
    {"unknown keys give their own name", "", "G90 [unknown] [Tool] M6", "G90 unknown Tool M6"},
    {"brackets that do not pair stay text", "", "A]B[x]C[y", "A]B X12.000C[y"},
    {"the name's delimiters are blanked", "", "[toolname]", "(END  MILL )"},
    // A word at the very start of a template loses its separator too, where the
    // rule read literally keeps it: the shipped canned cycles' "[x][y]" hole
    // lines would otherwise all begin with a blank.
    {"drilling words", "", "[depth][ref_height][peck_increment][pitch]", "Z-3.000 R2.000 Q0.500 F1.250"},
    {"coolant off", "", "[coolant_on]|[spindle_and_coolant_on]|[coolant_off]|[spindle_off]", "|M3|M9|M5"},
    {"block numbers keep the blank after them", "[Block Numbering]\nOutputSeq=1\n", "[n][tool] M6\r\n[n] M30\r\n",
     "N1 T1 M6\r\nN2 M30\r\n"},
    {"a one-character value keeps its place", "[MCode]\nSpindleCW=\" \"\n", "[spindle_on]X", " X"},
    {"modal rapids and forced rapids", "[Default]\nXYZModal=1\n", "[x] [xrapid] [f_xrapid][zrapid][zrapid][f_zrapid]",
     "X12.000   X12.000 Z2.000 Z2.000"},
};

class NcTemplateTest : public testing::TestWithParam<TTemplateCase> {};

} // namespace

TEST_P(NcTemplateTest, ExpandsTheTemplateAtThePoint)
{
    const TTemplateCase& c = GetParam();
    TNcRig rig(c.post);
    rig.Job.NcFileName = "/home/user/jobs/part.nc";
    rig.Job.ToolDiameter = "6";
    rig.Job.ToolName = "end (mill)";
    rig.Job.PlungeRate = "300";
    rig.Job.CurrentDepth = -3.0f;
    rig.Job.PeckIncrement = 0.5;
    rig.Job.Pitch = 1.25;
    EXPECT_EQ(rig.Writer.ExpandTemplate(c.templ, 12.0, -4.0), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, NcTemplateTest, testing::ValuesIn(TEMPLATE_CASES));

TEST(NcTemplate, RapidKeysSetTheIncrementalOrigin)
{
    TNcRig rig("[Default]\nIncremental_mode=1\n");
    rig.Writer.ExpandTemplate("[xrapid][yrapid][zrapid]", 7.0, 8.0);
    EXPECT_EQ(rig.Writer.IncrementX(10.0), 3.0f);
    EXPECT_EQ(rig.Writer.IncrementY(10.0), 2.0f);
    EXPECT_EQ(rig.Writer.IncrementZ(-1.0), -3.0f);

    // In an incremental post the rapid words are steps from where the tool stands, like every coordinate word.
    EXPECT_EQ(rig.Writer.ExpandTemplate("[xrapid][yrapid][zrapid]", 4.0, 10.0), "X-6.000 Y0.000 Z3.000");
    EXPECT_EQ(rig.Writer.ExpandTemplate("[f_xrapid][f_zrapid]", 5.0, 0.0), "X1.000 Z0.000");
}

// A word a template writes leaves the modal memory as the control holds it:
// after a tap's pitch (an F word) and a cycle's depth (a Z word) the next
// feed and Z words are written, and after a motion of the template the next
// motion word.
TEST(NcTemplate, TemplateWordsKeepTheModalMemoryTrue)
{
    TNcRig rig("[Default]\nXYZModal=1\nGModal=1\n");
    rig.Writer.WriteNcLine(MOTION_LINEAR, rig.Writer.FormatZWord(-2.0) + rig.Writer.FormatFeedWord("1000"));
    rig.Writer.WriteTemplate("G98 G84[x][y][depth][ref_height][pitch]\r\n", 1.0, 1.0);
    rig.Writer.WriteTemplate("G80\r\n", 1.0, 1.0);
    rig.Writer.WriteNcLine(MOTION_LINEAR, rig.Writer.FormatZWord(-2.0) + rig.Writer.FormatFeedWord("1000"));
    EXPECT_EQ(rig.Writer.Text(),
              "G1 Z-2.000 F1000\r\nG98 G84 X1.000 Y1.000 Z0.000 R2.000 F1.000\r\nG80\r\nG1 Z-2.000 F1000\r\n");
}

TEST(NcNumbers, AreWrittenWithAPointUnderACommaLocale)
{
    const CommaLocale german;
    ASSERT_TRUE(CommaLocale::Active());
    TNcRig rig("[Default]\nDelZero=1\n");
    EXPECT_EQ(rig.Writer.FormatXWord(1234.5) + FormatSepNumber(0.25, rig.Post), " X1234.5 0.25");
    EXPECT_EQ(DelZero("10"), "10");
    EXPECT_EQ(DelZero("0"), "0");
    EXPECT_EQ(DelZero("2.000"), "2.");
}
