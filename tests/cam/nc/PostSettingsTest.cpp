#include <cctype>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/NcRig.h"
#include "cad/base/CADMessageSink.h"
#include "cad/base/Settings.h"
#include "platform/IniFile.h"

namespace {

const QString TEST_FOLDER = QStringLiteral(KESTRO_CAM_TEST_DIR);
const QString DATA_FOLDER = QStringLiteral(KESTRO_DATA_DIR);

// Loads through the program's globals and puts them back afterwards.
class PostSettingsTest : public testing::Test {
protected:
    void TearDown() override
    {
        PostName = savedName_;
        PostSettings = savedPost_;
        NcModal = savedModal_;
    }
    static TPostSettings Loaded(const QString& folder, const std::string& name)
    {
        PostName = name;
        LoadPostProcessor(folder);
        return PostSettings;
    }

private:
    std::string savedName_ = PostName;
    TPostSettings savedPost_ = PostSettings;
    TNcModalMemory savedModal_ = NcModal;
};

} // namespace

TEST_F(PostSettingsTest, MissingEmptyAndBrokenPostsGiveTheDefaults)
{
    const TPostSettings defaults;
    for (const char* name : {"No_such_post", "Empty"})
        EXPECT_EQ(Loaded(TEST_FOLDER, name), defaults) << name;

    // A value that cannot be read keeps its default and is reported with its key and the file.
    std::vector<std::string> shown;
    const TCADMessageSink previous = SetCADMessageSink([&](const std::string& text) { shown.push_back(text); });
    const TPostSettings broken = Loaded(TEST_FOLDER, "Broken_values");
    SetCADMessageSink(previous);
    TPostSettings expected;
    expected.OutputSeq = true;
    EXPECT_EQ(broken, expected);
    ASSERT_EQ(shown.size(), 1u);
    for (const char* entry : {"[Block Numbering] SeqStart=ten", "[X Axis] Format=%s", "[X Axis] Scale=abc",
                              "[Y Axis] Scale=nan", "[Z Axis] Format=99.3", "[ArcDef] ArcCenter=2.5",
                              "[Tool] Format=%n%n%n", "[Cycle] Format=1..3"})
        EXPECT_NE(shown[0].find(std::string("Broken_values.pst: ") + UNREADABLE_POST_VALUE + " " + entry),
                  std::string::npos)
            << entry << " in " << shown[0];
    EXPECT_EQ(shown[0].find("Spaces"), std::string::npos) << "yes is a Boolean";

    // The defaults that no golden NC text shows.
    EXPECT_EQ(defaults.SeqMax, 999999);
    EXPECT_EQ(defaults.ToolFormat, (TNumberFormat{1, 1, false}));
    EXPECT_EQ(defaults.FileExtension, "nc");
    EXPECT_EQ(defaults.SpindleCCW + defaults.SpindleCCWCoolOn + defaults.CoolantOn, "M4M14M8");
    EXPECT_EQ(defaults.DepthPrefix + defaults.RefHeightPrefix + defaults.PeckIncrementPrefix + defaults.PitchPrefix, "ZRQF");
    EXPECT_TRUE(defaults.FModal && defaults.XYModal && defaults.Spaces && defaults.Cycles[2].Exploded);
    EXPECT_FALSE(defaults.OmitZ || defaults.LYarvPost || defaults.HasFeedRapid || defaults.Scaling);
}

TEST_F(PostSettingsTest, UnknownKeysAreIgnoredAndUnpairedBracketsStayText)
{
    const TPostSettings post = Loaded(TEST_FOLDER, "unknown_KEYS");
    EXPECT_EQ(post.Dialect, DIALECT_OTHER);
    EXPECT_EQ(post.PostComment, "test only\r\n");
    TNcModalMemory modal;
    const TNcJobValues job;
    TNcWriter writer(post, modal, job);
    EXPECT_EQ(writer.ExpandTemplate(post.StartOfFile, 1, 2), "program_number T1\r\nG90 x\r\n  Y2.000\r\n");
}

TEST_F(PostSettingsTest, LoadingFindsTheNameWithoutCaseAndRestartsTheBlockNumbers)
{
    NcModal.BlockNumber = 500;
    EXPECT_EQ(Loaded(DATA_FOLDER, "iso_COMPACT_inch").SeqStart, 10);
    EXPECT_EQ(NcModal.BlockNumber, 10);
    // The settings' own default name differs in case from the shipped file.
    EXPECT_EQ(Loaded(DATA_FOLDER, "fanuc_mm").ArcCenter, ARC_CENTER_FROM_START);
}

namespace {

struct TReadCase {
    const char* name;
    const char* text;
    std::function<void(const TPostSettings&)> check;
};

// Test lists show the case by its name.
void PrintTo(const TReadCase& c, std::ostream* os)
{
    *os << c.name;
}

const TReadCase READ_CASES[] = {
    {"only the dialect", "[Default]\nDialect=HEI\n",
     [](const TPostSettings& p) {
         TPostSettings expected;
         expected.Dialect = DIALECT_HEI;
         EXPECT_EQ(p, expected);
     }},
    {"dialect names keep their case", "[default]\ndialect=iso\n", [](const TPostSettings& p) { EXPECT_EQ(p.Dialect, 99); }},
    {"the extension is lower-cased", "[Default]\nFile_extension=TAP\n",
     [](const TPostSettings& p) { EXPECT_EQ(p.FileExtension, "tap"); }},
    {"template keys may skip numbers", "[Start_of_file]\n1=first\n3=third\n21=too far\n[Tool_change]\n2=\n",
     [](const TPostSettings& p) {
         EXPECT_EQ(p.StartOfFile, "first\r\nthird\r\n");
         EXPECT_EQ(p.ToolChange, "");
     }},
    {"the post comment has ten lines", "[Post Comment]\n10=ten\n11=eleven\n",
     [](const TPostSettings& p) { EXPECT_EQ(p.PostComment, "ten\r\n"); }},
    {"feed-move templates are flagged", "[AfterFirstFeedMove]\n2=M7\n[BeforeLastFeedMove]\n1=\n",
     [](const TPostSettings& p) {
         EXPECT_TRUE(p.HasAfterFirstFeedMove);
         EXPECT_FALSE(p.HasBeforeFirstFeedMove || p.HasBeforeLastFeedMove || p.HasAfterLastFeedMove);
         EXPECT_EQ(p.AfterFirstFeedMove, "M7\r\n");
     }},
    {"one axis format", "[Z Axis]\nFormat=1.4\n",
     [](const TPostSettings& p) {
         EXPECT_EQ(p.ZAxis.Format, (TNumberFormat{1, 4, false}));
         EXPECT_EQ(p.XAxis.Format, (TNumberFormat{1, 3, false}));
         TNcModalMemory modal;
         const TNcJobValues job;
         TNcWriter w(p, modal, job);
         EXPECT_EQ(w.FormatXWord(1) + w.FormatYWord(1) + w.FormatZWord(1), " X1.000 Y1.000 Z1.0000");
     }},
    {"quotes keep outer blanks", "[Default]\nStartComment=\" ;\"\nEndComment='\n[Feed]\nRapid='FMAX'\n",
     [](const TPostSettings& p) {
         EXPECT_EQ(p.StartComment, " ;");
         EXPECT_EQ(p.EndComment, "'");
         EXPECT_EQ(p.FeedRapid, "FMAX");
         EXPECT_TRUE(p.HasFeedRapid);
     }},
    {"a scale beyond the tolerance of 1 scales", "[X Axis]\nScale=1.00001\n[Z Axis]\nScale=0.9999\n",
     [](const TPostSettings& p) { EXPECT_TRUE(p.Scaling); }},
    {"a scale within the tolerance of 1", "[Y Axis]\nScale=1.00004\n",
     [](const TPostSettings& p) { EXPECT_FALSE(p.Scaling); }},
    {"booleans are numbers", "[Block Numbering]\nOutputSeq=2\n[Default]\nSpaces=0\nFModal=0\n",
     [](const TPostSettings& p) {
         EXPECT_TRUE(p.OutputSeq);
         EXPECT_FALSE(p.FModal);
         EXPECT_EQ(p.Separator, "");
     }},
    {"booleans are words too",
     "[Block Numbering]\nOutputSeq=true\n[ArcDef]\nXYModal=No\n[Default]\nSpaces=FALSE\nOmit_Z=yes\n",
     [](const TPostSettings& p) {
         EXPECT_TRUE(p.OutputSeq && p.OmitZ);
         EXPECT_FALSE(p.XYModal || p.Spaces);
     }},
};

class PostReadTest : public testing::TestWithParam<TReadCase> {};

} // namespace

TEST_P(PostReadTest, ReadsTheKey)
{
    const TReadCase& c = GetParam();
    SCOPED_TRACE(c.name);
    c.check(ReadPostSettingsFromText(c.text));
}

INSTANTIATE_TEST_SUITE_P(Cases, PostReadTest, testing::ValuesIn(READ_CASES));

TEST(NumberFormat, TakesDigitsOnly)
{
    const std::pair<const char*, TNumberFormat> good[] = {
        {"1.3", {1, 3, false}}, {"08.3", {8, 3, true}}, {".2", {0, 2, false}}, {"5", {5, 6, false}},
        {"3.", {3, 0, false}},  {"0.4", {0, 4, false}}, {"40.15", {40, 15, false}},
    };
    for (const auto& [text, expected] : good) {
        TNumberFormat format;
        EXPECT_TRUE(ParseNumberFormat(text, format)) << text;
        EXPECT_EQ(format, expected) << text;
    }
    for (const char* text : {"", ".", "%s", "1.3f", "-1.3", "+1.3", "1.2.3", "41.3", "1.16", "1 .3", "00001.3"}) {
        TNumberFormat format;
        EXPECT_FALSE(ParseNumberFormat(text, format)) << text;
    }
}

namespace {

// What each shipped post's comment promises.
const std::map<std::string, std::function<bool(const TPostSettings&)>> SHIPPED_PROMISES = {
    {"Fanuc_mm.pst",
     [](const TPostSettings& p) {
         return p.Dialect == DIALECT_ISO && p.XAxis.Format == TNumberFormat{1, 3, false} &&
                p.ArcCenter == ARC_CENTER_FROM_START && p.ArcOutput == ARC_OUTPUT_CENTER &&
                p.StartOfFile.find("G21") != std::string::npos && p.Cycles[1].CycleDef.find("G83") != std::string::npos;
     }},
    {"Fanuc_inch.pst",
     [](const TPostSettings& p) {
         const TNumberFormat inch{1, 4, false};
         return p.XAxis.Format == inch && p.YAxis.Format == inch && p.ZAxis.Format == inch && p.ArcFormat == inch &&
                p.CycleFormat == inch && p.StartOfFile.find("G20") != std::string::npos;
     }},
    {"ISO_compact_inch.pst",
     [](const TPostSettings& p) {
         return p.OutputSeq && p.SeqStart == 10 && p.SeqInc == 10 && p.GModal && p.XYZModal && p.DelZero &&
                !p.Spaces && p.ArcOutput == ARC_OUTPUT_SIGNED_RADIUS && p.Scaling &&
                std::fabs(p.YAxis.Scale * 25.4 - 1.0) < 1e-8;
     }},
    {"ISO_incremental.pst",
     [](const TPostSettings& p) {
         return p.IncrementalMode && p.ArcCenter == ARC_CENTER_FROM_START && p.StartOfFile.find("G91") != std::string::npos;
     }},
    {"ISO_cycles.pst",
     [](const TPostSettings& p) {
         const char* codes[] = {"G81", "G83", "G84"};
         for (std::size_t c = 0; c < 3; ++c)
             if (p.Cycles[c].Exploded || p.Cycles[c].CycleDef.find(codes[c]) == std::string::npos || p.Cycles[c].CycleCancel != "G80")
                 return false;
         return true;
     }},
    {"HEI_conversational.pst",
     [](const TPostSettings& p) {
         return p.Dialect == DIALECT_HEI && p.OutputSeq && p.SeqPref.empty() && p.FeedRapid == "FMAX" &&
                p.MotionWords == std::array<std::string, 4>{"L", "L", "DR-", "DR+"} && p.IPref + p.JPref == "XY";
     }},
    {"XIL_router.pst",
     [](const TPostSettings& p) {
         return p.Dialect == DIALECT_XIL && p.XAxis.Pref + p.IPref == "X=I=" && p.XILSuffixCW + p.XILSuffixCCW == "G=2G=3";
     }},
    {"SBO_router.pst",
     [](const TPostSettings& p) {
         return p.Dialect == DIALECT_SBO && !p.Spaces && p.SBO_XYPref == "M2," &&
                p.XAxis.Pref + p.YAxis.Pref + p.ZAxis.Pref == "MX,MY,MZ," &&
                p.MotionWords == std::array<std::string, 4>{"", "", ",,1", ",,-1"} &&
                p.ArcCenter == ARC_CENTER_FROM_START && p.FeedPref == "'F";
     }},
    {"Pen_Laser_Plasma.pst",
     [](const TPostSettings& p) {
         return p.OmitZ && p.BeforeFirstFeedMove + p.AfterLastFeedMove == "[spindle_on]\r\n[spindle_off]\r\n";
     }},
    {"LYarv_Engraver.pst", [](const TPostSettings& p) { return p.LYarvPost; }},
};

// The keys a post may hold, by section; template sections take the numbers 1 to 20 (10 for the comment).
const std::map<std::string, std::string> KNOWN_KEYS = {
    {"block numbering", " outputseq pref seqstart seqinc seqmax "},
    {"x axis", " pref format scale "},
    {"y axis", " pref format scale "},
    {"z axis", " pref format scale "},
    {"arcdef", " ipref jpref rpref format xymodal arcoutput arccenter "},
    {"tool", " pref format tofflen "},
    {"feed", " pref format rapid "},
    {"mcode", " spindlecw spindleccw spindleoff coolanton coolantoff spindlecwcoolon spindleccwcoolon "},
    {"gcode", " rapid linear circular_cw circular_ccw xilsuffix_cw xilsuffix_ccw "},
    {"shopbot", " sbo_xypref sbo_xyzpref "},
    {"default", " xyzmodal gmodal fmodal delzero incremental_mode omit_z lyarv_post spaces file_extension "
                "startcomment endcomment dialect "},
    {"cycle", " format depthprefix ref_heightprefix peck_incrementprefix pitchprefix "},
    {"cycle_1", " exploded cycle_def cycle_move cycle_cancel "},
    {"cycle_2", " exploded cycle_def cycle_move cycle_cancel "},
    {"cycle_3", " exploded cycle_def cycle_move cycle_cancel "},
    {"post comment", " 1 2 3 4 5 6 7 8 9 10 "},
};

bool IsKnownKey(const std::string& section, const std::string& key)
{
    static const std::string templateKeys = " 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 ";
    const std::string templates = " start_of_file tool_change end_of_file beforefirstfeedmove afterfirstfeedmove "
                                  "beforelastfeedmove afterlastfeedmove ";
    const auto known = KNOWN_KEYS.find(section);
    const std::string& keys = known != KNOWN_KEYS.end() ? known->second
                              : templates.find(" " + section + " ") != std::string::npos ? templateKeys
                                                                                         : std::string();
    return keys.find(" " + key + " ") != std::string::npos;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Every "key=value" line outside a comment names a known key of its section.
void ExpectOnlyKnownKeys(const std::string& text)
{
    std::string section;
    for (std::size_t start = 0, end = 0; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end - start);
        if (line.starts_with('[')) {
            section = Lower(line.substr(1, line.find(']') - 1));
        } else if (!line.empty() && !line.starts_with(';')) {
            EXPECT_TRUE(IsKnownKey(section, Lower(line.substr(0, line.find('='))))) << "[" << section << "] " << line;
        }
    }
}

} // namespace

TEST_F(PostSettingsTest, ShippedPostsHoldKnownKeysAndLoadWithWhatTheirCommentPromises)
{
    const QStringList files = QDir(DATA_FOLDER + QStringLiteral("/pst")).entryList({QStringLiteral("*.pst")}, QDir::Files);
    ASSERT_EQ(static_cast<std::size_t>(files.size()), SHIPPED_PROMISES.size());
    for (const QString& file : files) {
        const std::string name = file.toStdString();
        SCOPED_TRACE(name);
        QFile source(DATA_FOLDER + QStringLiteral("/pst/") + file);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        const std::string text = source.readAll().toStdString();
        // The first line says which machines the post suits.
        EXPECT_TRUE(text.starts_with("; ") && text.find('\n') > 40);
        ExpectOnlyKnownKeys(text);

        const auto promise = SHIPPED_PROMISES.find(name);
        ASSERT_NE(promise, SHIPPED_PROMISES.end());
        const TPostSettings post = Loaded(DATA_FOLDER, name.substr(0, name.size() - 4));
        EXPECT_FALSE(post.PostComment.empty());
        EXPECT_TRUE(promise->second(post));

        // The program folder holds the same file.
        QFile shipped(QStringLiteral(KESTRO_PROGRAM_DIR "/pst/") + file);
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
        EXPECT_EQ(shipped.readAll().toStdString(), text);
    }
}

// A post whose block-number prefix is 99,000 characters and whose start
// template names [n] 33,333 times would expand to 3.3 GB: it is refused when
// read, from its key counts, and an expansion of it anyway stops at the bound.
TEST_F(PostSettingsTest, AnAmplifyingTemplateIsRefusedWithAMessage)
{
    const std::string prefix(99002, 'N');
    std::string templ;
    for (int k = 0; k < 33333; ++k)
        templ += "[n]";
    const std::string text =
        "[Default]\nDialect=ISO\n[Block Numbering]\nOutputSeq=1\nPref=" + prefix + "\n[Start_of_file]\n1=" + templ + "\n";
    const TPostSettings post = ReadPostSettingsFromText(text);
    EXPECT_GT(TemplateExpansionBound(post.StartOfFile, post), MAX_EXPANDED_TEMPLATE);
    EXPECT_EQ(OversizedTemplate(post), "Start_of_file");
    TNcModalMemory modal;
    const TNcJobValues job;
    TNcWriter writer(post, modal, job);
    EXPECT_EQ(writer.ExpandTemplate(post.StartOfFile, 0, 0), "");
    // At most one value more than the bound was ever built: 11 block numbers.
    EXPECT_LE(modal.BlockNumber, 1 + static_cast<int>(MAX_EXPANDED_TEMPLATE / prefix.size()) + 1);

    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("pst")));
    QFile file(folder.path() + QStringLiteral("/pst/Amplified.pst"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
    file.close();
    std::vector<std::string> shown;
    const TCADMessageSink previous = SetCADMessageSink([&](const std::string& t) { shown.push_back(t); });
    PostSettings = TPostSettings();
    PostName = "Amplified";
    EXPECT_THROW(LoadPostProcessor(folder.path()), EPostError);
    SetCADMessageSink(previous);
    EXPECT_EQ(PostSettings, TPostSettings()) << "the post in use stays";
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(std::string(TEMPLATE_TOO_LONG) + " [Start_of_file]"), std::string::npos) << shown[0];
    EXPECT_NE(shown[0].find("Amplified.pst"), std::string::npos);

    // Every shipped post stays far within the bound.
    for (const QString& name : QDir(DATA_FOLDER + QStringLiteral("/pst")).entryList({QStringLiteral("*.pst")}))
        EXPECT_EQ(OversizedTemplate(ReadPostSettingsFromFile(DATA_FOLDER + QStringLiteral("/pst/") + name)), "")
            << name.toStdString();
}
