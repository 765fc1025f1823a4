#include <functional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "support/Golden.h"
#include "support/NcRig.h"

namespace {

// Both arcs run from (0, -5) to (-5, 0) around the centre (-5, -5): a quarter
// circle counter-clockwise, and three quarters clockwise.
const TChainElement MINOR_CCW = ArcOfSweep({0, -5}, {-5, 0}, 90);
const TChainElement MAJOR_CW = ArcOfSweep({0, -5}, {-5, 0}, -270);

std::string ArcPost(int arcCenter, int arcOutput)
{
    return "[ArcDef]\nArcCenter=" + std::to_string(arcCenter) + "\nArcOutput=" + std::to_string(arcOutput) + "\n";
}

struct TDialectArcCase {
    const char* name;
    const char* post;
    // Runs before the arc, with the tool standing at the arc's start.
    std::function<void(TNcWriter&)> before;
    std::function<void(TNcWriter&)> after;
    std::string expected;
};

// Test lists show the case by its name.
void PrintTo(const TDialectArcCase& c, std::ostream* os)
{
    *os << c.name;
}

void Nothing(TNcWriter&) {}

const TDialectArcCase DIALECT_ARC_CASES[] = {
    {"forms the file should not hold read as the first ones", "[ArcDef]\nArcCenter=7\nArcOutput=9\n", Nothing,
     Nothing, "G3 X-5.000 Y0.000 I-5.000 J-5.000 F1000\r\n"},
    {"ISO incremental", "[ArcDef]\nArcCenter=2\n[Default]\nIncremental_mode=1\n",
     [](TNcWriter& w) {
         w.IncrementX(0);
         w.IncrementY(-5);
     },
     [](TNcWriter& w) { w.WriteMoveLine(1, "1000", w.IncrementX(-5), w.IncrementY(5)); },
     "G3 X-5.000 Y5.000 I-5.000 J0.000 F1000\r\nG1 X0.000 Y5.000\r\n"},
    {"XYModal on leaves out an unchanged end coordinate", "[Default]\nXYZModal=1\n",
     [](TNcWriter& w) { w.FormatXWord(-5); }, Nothing, "G3 Y0.000 I-5.000 J-5.000 F1000\r\n"},
    {"XYModal off writes both end coordinates", "[ArcDef]\nXYModal=0\n[Default]\nXYZModal=1\n",
     [](TNcWriter& w) { w.FormatXWord(-5); }, [](TNcWriter& w) { w.WriteMoveLine(1, "1000", -5, 3); },
     "G3 X-5.000 Y0.000 I-5.000 J-5.000 F1000\r\nG1 Y3.000\r\n"},
    {"HEI with block numbers",
     "[Block Numbering]\nOutputSeq=1\nPref=\n[ArcDef]\nIPref=X\nJPref=Y\n[Feed]\nRapid=FMAX\n"
     "[GCode]\nRapid=L\nLinear=L\nCircular_CW=DR-\nCircular_CCW=DR+\n[Default]\nDialect=HEI\nXYZModal=1\n",
     [](TNcWriter& w) {
         w.FormatXWord(-5);
         w.FormatYWord(0);
     },
     [](TNcWriter& w) { w.WriteMoveLine(0, "-2", -5, 3); },
     "1 CC X-5.000 Y-5.000 F1000\r\n2 C X-5.000 Y0.000 DR+\r\n3 L Y3.000 FMAX\r\n"},
    {"HEI without block numbers", "[ArcDef]\nIPref=X\nJPref=Y\n[GCode]\nCircular_CW=DR-\nCircular_CCW=DR+\n[Default]\nDialect=HEI\n",
     Nothing, Nothing, " CC X-5.000 Y-5.000 F1000\r\n C X-5.000 Y0.000DR+\r\n"},
    {"SBO",
     "[X Axis]\nPref=MX,\n[Y Axis]\nPref=MY,\n[ArcDef]\nIPref=,\nJPref=,\nArcCenter=2\n[ShopBot]\nSBO_XYPref=M2,\n"
     "[GCode]\nRapid=\nLinear=\nCircular_CW=,,1\nCircular_CCW=,,-1\n[Default]\nDialect=SBO\nSpaces=0\nXYZModal=1\nGModal=1\n",
     Nothing,
     [](TNcWriter& w) {
         w.WriteMoveLine(1, "1000", -5, 0);
         w.WriteMoveLine(1, "1000", -5, 3);
         w.WriteArcBlock(MINOR_CCW);
     },
     "CG,,-5.000,0.000,-5.000,0.000,,-1\r\nMY,3.000\r\nCG,,-5.000,0.000,-5.000,0.000,,-1\r\n"},
    {"a straight element is a feed move", "", [](TNcWriter& w) { w.WriteArcBlock(MakeElement({0, 0}, {3, 4})); },
     Nothing, "G1 X3.000 Y4.000 F1000\r\nG3 X-5.000 Y0.000 I-5.000 J-5.000\r\n"},
};

class NcDialectArcTest : public testing::TestWithParam<TDialectArcCase> {};

} // namespace

TEST_P(NcDialectArcTest, WritesTheArcBlockOfTheDialect)
{
    const TDialectArcCase& c = GetParam();
    TNcRig rig(c.post);
    c.before(rig.Writer);
    rig.Writer.WriteArcBlock(MINOR_CCW);
    c.after(rig.Writer);
    EXPECT_EQ(rig.Writer.Text(), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, NcDialectArcTest, testing::ValuesIn(DIALECT_ARC_CASES));

// Every arc form in every dialect, for a minor and a major arc, in one reviewed text.
TEST(NcArcGolden, EveryFormInEveryDialect)
{
    struct TDialect {
        const char* name;
        const char* arcPrefixes;
        const char* sections;
        const char* defaults;
    };
    const TDialect dialects[] = {
        {"ISO", "", "", ""},
        {"ISO", "", "", "Incremental_mode=1\n"},
        {"iso", "", "", ""},
        {"HEI", "IPref=X\nJPref=Y\n", "[Block Numbering]\nOutputSeq=1\nPref=\n[GCode]\nCircular_CW=DR-\nCircular_CCW=DR+\n", ""},
        {"XIL", "", "[GCode]\nXILSuffix_CW=G=2\nXILSuffix_CCW=G=3\n", ""},
        {"SBO", "IPref=,\nJPref=,\n", "[GCode]\nCircular_CW=,,1\nCircular_CCW=,,-1\n", "Spaces=0\n"},
    };
    std::string text;
    for (const TDialect& d : dialects)
        for (int arcCenter = 1; arcCenter <= 4; ++arcCenter)
            for (int arcOutput = 0; arcOutput <= 2; ++arcOutput) {
                TNcRig rig(ArcPost(arcCenter, arcOutput) + d.arcPrefixes + d.sections + "[Default]\nDialect=" + d.name +
                           "\n" + d.defaults);
                text += std::string("; ") + d.name + (rig.Post.IncrementalMode ? " incremental" : "") +
                        " ArcCenter=" + std::to_string(arcCenter) + " ArcOutput=" + std::to_string(arcOutput) + "\r\n";
                // Each arc starts where the tool stands.
                for (const TChainElement& arc : {MINOR_CCW, MAJOR_CW}) {
                    rig.Writer.IncrementX(arc.X1);
                    rig.Writer.IncrementY(arc.Y1);
                    rig.Writer.WriteArcBlock(arc);
                }
                text += rig.Writer.TakeText();
            }
    ExpectGolden("arc_forms.nc", text);
}
