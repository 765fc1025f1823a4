#pragma once

// The post-processor: what one machine control expects of an NC program
// (block numbers, word prefixes, number formats, modal rules, arc forms and
// text templates), read from an ini file "pst/<name>.pst" in the program
// folder. Every value has a default, so a missing key or a missing file
// still gives a usable post.

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

class IniFile;

// What the user is told when a post cannot be had.
inline constexpr char POST_NOT_FOUND[] = "Pst non trovato";
// Before "[Section] Key=value" of a value the post's reader could not use.
inline constexpr char UNREADABLE_POST_VALUE[] = "unreadable value, the default is used:";
// Before the name of a template whose text would grow beyond any program's need.
inline constexpr char TEMPLATE_TOO_LONG[] = "the post is refused: its template expands beyond the limit:";

// Raised when a post file exists but cannot be read; the text is shown to the user.

class EPostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A number format written "W.P" in the file: at least Width characters
// (padded with blanks, or with zeros when W starts with "0"), and Precision
// decimals for reals or at least Precision digits for whole numbers.
struct TNumberFormat {
    int Width = 1;
    int Precision = 3;
    bool ZeroPad = false;

    bool operator==(const TNumberFormat&) const = default;
};

// Upper limits of a readable format; anything wider is a typing error, not a machine's need.
inline constexpr int MAX_FORMAT_WIDTH = 40;
inline constexpr int MAX_FORMAT_PRECISION = 15;

// "W.P", "W", ".P" or "W." made of digits only; nothing else is a format.
// The text never reaches a printf-style routine, so a file cannot inject one.
bool ParseNumberFormat(std::string_view text, TNumberFormat& format);

// The dialect of the NC words; a name the program does not know is OTHER and
// is written as ISO.
enum TNcDialect : int {
    DIALECT_ISO = 0,
    DIALECT_HEI = 1,
    DIALECT_XIL = 2,
    DIALECT_SBO = 3,
    DIALECT_OTHER = 99,
};

// "ISO", "HEI", "XIL" or "SBO", compared with case.
TNcDialect DialectOf(std::string_view name);

// How the arc centre words are given.
enum TArcCenterMode : int {
    ARC_CENTER_ABSOLUTE = 1,         // the centre
    ARC_CENTER_FROM_START = 2,       // centre minus start point
    ARC_CENTER_TO_START = 3,         // start point minus centre
    ARC_CENTER_ABSOLUTE_VALUES = 4,  // |centre.x|, |centre.y|
};

// What an arc block says about its shape.
enum TArcOutputMode : int {
    ARC_OUTPUT_CENTER = 0,        // I and J
    ARC_OUTPUT_RADIUS = 1,        // R
    ARC_OUTPUT_SIGNED_RADIUS = 2, // R, negative above a half circle
};

struct TAxisFormat {
    std::string Pref;
    TNumberFormat Format;
    double Scale = 1.0;

    bool operator==(const TAxisFormat&) const = default;
};

struct TCycleTemplates {
    // True: the holes are drilled with single moves, not with the cycle call.
    bool Exploded = true;
    std::string CycleDef;
    std::string CycleMove;
    std::string CycleCancel;

    bool operator==(const TCycleTemplates&) const = default;
};

// Motion codes, the index of TPostSettings::MotionWords.
inline constexpr int MOTION_RAPID = 0;
inline constexpr int MOTION_LINEAR = 1;
inline constexpr int MOTION_CW = 2;
inline constexpr int MOTION_CCW = 3;

struct TPostSettings {
    // [Block Numbering]
    bool OutputSeq = false;
    std::string SeqPref = "N";
    int SeqStart = 1;
    int SeqInc = 1;
    int SeqMax = 999999;

    // [X Axis], [Y Axis], [Z Axis]
    TAxisFormat XAxis{"X", {}, 1.0};
    TAxisFormat YAxis{"Y", {}, 1.0};
    TAxisFormat ZAxis{"Z", {}, 1.0};

    // [ArcDef]
    std::string IPref = "I";
    std::string JPref = "J";
    std::string RPref = "R";
    TNumberFormat ArcFormat;
    bool XYModal = true;
    int ArcOutput = ARC_OUTPUT_CENTER;
    int ArcCenter = ARC_CENTER_ABSOLUTE;

    // [Tool]
    std::string ToolPref = "T";
    TNumberFormat ToolFormat{1, 1, false};
    std::string Tofflen = "H";

    // [Feed]; feed rates are written as the user typed them, so FeedFormat is only kept.
    std::string FeedPref = "F";
    TNumberFormat FeedFormat{1, 1, false};
    std::string FeedRapid;
    bool HasFeedRapid = false;

    // [MCode]
    std::string SpindleCW = "M3";
    std::string SpindleCCW = "M4";
    std::string SpindleOff = "M5";
    std::string CoolantOn = "M8";
    std::string CoolantOff = "M9";
    std::string SpindleCWCoolOn = "M13";
    std::string SpindleCCWCoolOn = "M14";

    // [GCode]: the words of motions 0 to 3.
    std::array<std::string, 4> MotionWords{"G0", "G1", "G2", "G3"};
    std::string XILSuffixCW;
    std::string XILSuffixCCW;

    // [ShopBot]; no output uses the three-axis word, it is only kept.
    std::string SBO_XYPref;
    std::string SBO_XYZPref;

    // [Default]
    bool XYZModal = false;
    bool GModal = false;
    bool FModal = true;
    bool DelZero = false;
    bool IncrementalMode = false;
    bool OmitZ = false;
    bool LYarvPost = false;
    bool Spaces = true;
    std::string FileExtension = "nc";
    std::string StartComment = "(";
    std::string EndComment = ")";
    TNcDialect Dialect = DIALECT_ISO;

    // [Cycle]
    TNumberFormat CycleFormat;
    std::string DepthPrefix = "Z";
    std::string RefHeightPrefix = "R";
    std::string PeckIncrementPrefix = "Q";
    std::string PitchPrefix = "F";
    // [Cycle_1] drill, [Cycle_2] peck drill, [Cycle_3] tap.
    std::array<TCycleTemplates, 3> Cycles;

    // Templates: one line per non-empty key, each ending in CR LF.
    std::string PostComment;
    std::string StartOfFile;
    std::string ToolChange;
    std::string EndOfFile;
    std::string BeforeFirstFeedMove;
    std::string AfterFirstFeedMove;
    std::string BeforeLastFeedMove;
    std::string AfterLastFeedMove;
    bool HasBeforeFirstFeedMove = false;
    bool HasAfterFirstFeedMove = false;
    bool HasBeforeLastFeedMove = false;
    bool HasAfterLastFeedMove = false;

    // Derived: some Scale is not 1, and the word separator (" " or nothing).
    bool Scaling = false;
    std::string Separator = " ";

    bool operator==(const TPostSettings&) const = default;
};

// The post of the program: its defaults until a file is loaded.
extern TPostSettings PostSettings;

// Every key of the file, with its default where the key is missing or its
// value unreadable; each unreadable value is listed in problems as
// "[Section] Key=value". Booleans are numbers (0 false) or true/false/yes/no.
// The separate entry points let a caller (or a fuzzer) read a post from
// memory or from any path.
TPostSettings ReadPostSettings(const IniFile& file, std::vector<std::string>* problems = nullptr);
TPostSettings ReadPostSettingsFromText(std::string_view text);
// Defaults when the file does not exist. EPostError when it exists but cannot
// be read, or when a template could expand beyond MAX_EXPANDED_TEMPLATE
// (NcWords.h). The
// unreadable values are listed, each after the file's name.
TPostSettings ReadPostSettingsFromFile(const QString& path, std::vector<std::string>* unreadable = nullptr);


// The path of the post named PostName in the program folder's "pst" folder,
// found without regard to case; empty when there is none.
QString PostFilePath(const QString& programFolder);

// Loads the post named PostName into PostSettings and restarts the block
// numbers at its SeqStart. A missing file gives the defaults. A file that
// cannot be read or is refused is reported ("Pst non trovato") through the
// message sink and raised as EPostError, with PostSettings left as it was.
// Unreadable values are reported, with the key and the file, and take their defaults.
void LoadPostProcessor(const QString& programFolder);
