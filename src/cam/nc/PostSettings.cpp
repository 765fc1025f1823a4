#include "cam/nc/PostSettings.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include <QFileInfo>

#include "cad/base/CADMessageSink.h"
#include "cad/base/Settings.h"
#include "cam/nc/NcWords.h"
#include "platform/FileNoCase.h"
#include "platform/IniFile.h"

TPostSettings PostSettings;

namespace {


// One pair of enclosing quotes is taken off, as the profile routines of the
// platform the post files come from do; it lets a value keep outer blanks.
std::string Unquoted(std::string value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string AsciiLower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// A digit run of at most four characters: enough for any sane width or precision.
std::optional<int> SmallNumber(std::string_view digits)
{
    if (digits.size() > 4)
        return std::nullopt;
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<bool> ParseBool(const std::string& text)
{
    const std::string word = AsciiLower(text);
    if (word == "true" || word == "yes")
        return true;
    if (word == "false" || word == "no")
        return false;
    if (const std::optional<std::int32_t> number = ParseIniInteger(text))
        return *number != 0;
    return std::nullopt;
}

// Reads the keys of one file; every value falls back to the default already
// in the record it fills. A value that is there but cannot be read is noted,
// so that the user learns why the machine gets the default instead.
class TPostReader {
public:
    TPostReader(const IniFile& file, std::vector<std::string>& problems) : file_(file), problems_(problems) {}

    void Text(const char* section, const char* key, std::string& value) const
    {
        if (const std::optional<std::string> found = file_.Find(section, key))
            value = Unquoted(*found);
    }
    void Integer(const char* section, const char* key, int& value) const
    {
        Value(section, key, value, [](const std::string& text) { return ParseIniInteger(text); });
    }
    void Bool(const char* section, const char* key, bool& value) const
    {
        Value(section, key, value, ParseBool);
    }
    void Real(const char* section, const char* key, double& value) const
    {
        Value(section, key, value, [](const std::string& text) { return ParseIniFloat(text); });
    }
    void Format(const char* section, const char* key, TNumberFormat& value) const
    {
        Value(section, key, value, [](const std::string& text) {
            TNumberFormat parsed;
            return ParseNumberFormat(text, parsed) ? std::optional<TNumberFormat>(parsed) : std::nullopt;
        });
    }
    void Axis(const char* section, TAxisFormat& axis) const
    {
        Text(section, "Pref", axis.Pref);
        Format(section, "Format", axis.Format);
        Real(section, "Scale", axis.Scale);
    }
    // Keys "1" to lastKey; each non-empty value is one line ending in CR LF.
    // Returns whether any line was found.
    bool Template(const char* section, int lastKey, std::string& text) const
    {
        text.clear();
        for (int key = 1; key <= lastKey; ++key) {
            std::string line;
            Text(section, std::to_string(key).c_str(), line);
            if (!line.empty())
                text += line + "\r\n";
        }
        return !text.empty();
    }

private:
    // An empty value counts as a missing key.
    template <typename T, typename Parse>
    void Value(const char* section, const char* key, T& value, Parse parse) const
    {
        const std::optional<std::string> found = file_.Find(section, key);
        if (!found || found->empty())
            return;
        if (const auto parsed = parse(*found))
            value = static_cast<T>(*parsed);
        else
            problems_.push_back("[" + std::string(section) + "] " + key + "=" + *found);
    }

    const IniFile& file_;
    std::vector<std::string>& problems_;
};

bool ScaleDiffersFromOne(double scale)
{
    // Compared as the single-precision value it is stored as elsewhere.
    return std::fabs(static_cast<float>(scale) - 1.0f) > 0.00005f;
}

} // namespace

bool ParseNumberFormat(std::string_view text, TNumberFormat& format)
{
    const std::size_t point = text.find('.');
    const std::string_view widthText = text.substr(0, point);
    const std::string_view precisionText = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (widthText.empty() && precisionText.empty())
        return false;
    const std::optional<int> width = SmallNumber(widthText);
    const std::optional<int> precision = SmallNumber(precisionText);
    if (!width || !precision || *width > MAX_FORMAT_WIDTH || *precision > MAX_FORMAT_PRECISION)
        return false;
    format.Width = *width;
    // "%3f" has the default precision of six decimals; "%3.f" has none.
    format.Precision = point == std::string_view::npos ? 6 : *precision;
    format.ZeroPad = widthText.size() > 1 && widthText.front() == '0';
    return true;
}

TNcDialect DialectOf(std::string_view name)
{
    if (name == "ISO")
        return DIALECT_ISO;
    if (name == "HEI")
        return DIALECT_HEI;
    if (name == "XIL")
        return DIALECT_XIL;
    if (name == "SBO")
        return DIALECT_SBO;
    return DIALECT_OTHER;
}

TPostSettings ReadPostSettings(const IniFile& file, std::vector<std::string>* problems)
{
    std::vector<std::string> found;
    const TPostReader read(file, found);
    TPostSettings post;

    read.Bool("Block Numbering", "OutputSeq", post.OutputSeq);
    read.Text("Block Numbering", "Pref", post.SeqPref);
    read.Integer("Block Numbering", "SeqStart", post.SeqStart);
    read.Integer("Block Numbering", "SeqInc", post.SeqInc);
    read.Integer("Block Numbering", "SeqMax", post.SeqMax);

    read.Axis("X Axis", post.XAxis);
    read.Axis("Y Axis", post.YAxis);
    read.Axis("Z Axis", post.ZAxis);

    read.Text("ArcDef", "IPref", post.IPref);
    read.Text("ArcDef", "JPref", post.JPref);
    read.Text("ArcDef", "RPref", post.RPref);
    read.Format("ArcDef", "Format", post.ArcFormat);
    read.Bool("ArcDef", "XYModal", post.XYModal);
    read.Integer("ArcDef", "ArcOutput", post.ArcOutput);
    read.Integer("ArcDef", "ArcCenter", post.ArcCenter);

    read.Text("Tool", "Pref", post.ToolPref);
    read.Format("Tool", "Format", post.ToolFormat);
    read.Text("Tool", "Tofflen", post.Tofflen);

    read.Text("Feed", "Pref", post.FeedPref);
    read.Format("Feed", "Format", post.FeedFormat);
    read.Text("Feed", "Rapid", post.FeedRapid);
    post.HasFeedRapid = !post.FeedRapid.empty();

    read.Text("MCode", "SpindleCW", post.SpindleCW);
    read.Text("MCode", "SpindleCCW", post.SpindleCCW);
    read.Text("MCode", "SpindleOff", post.SpindleOff);
    read.Text("MCode", "CoolantOn", post.CoolantOn);
    read.Text("MCode", "CoolantOff", post.CoolantOff);
    read.Text("MCode", "SpindleCWCoolOn", post.SpindleCWCoolOn);
    read.Text("MCode", "SpindleCCWCoolOn", post.SpindleCCWCoolOn);

    read.Text("GCode", "Rapid", post.MotionWords[MOTION_RAPID]);
    read.Text("GCode", "Linear", post.MotionWords[MOTION_LINEAR]);
    read.Text("GCode", "Circular_CW", post.MotionWords[MOTION_CW]);
    read.Text("GCode", "Circular_CCW", post.MotionWords[MOTION_CCW]);
    read.Text("GCode", "XILSuffix_CW", post.XILSuffixCW);
    read.Text("GCode", "XILSuffix_CCW", post.XILSuffixCCW);

    read.Text("ShopBot", "SBO_XYPref", post.SBO_XYPref);
    read.Text("ShopBot", "SBO_XYZPref", post.SBO_XYZPref);

    read.Bool("Default", "XYZModal", post.XYZModal);
    read.Bool("Default", "GModal", post.GModal);
    read.Bool("Default", "FModal", post.FModal);
    read.Bool("Default", "DelZero", post.DelZero);
    read.Bool("Default", "Incremental_mode", post.IncrementalMode);
    read.Bool("Default", "Omit_Z", post.OmitZ);
    read.Bool("Default", "LYarv_Post", post.LYarvPost);
    read.Bool("Default", "Spaces", post.Spaces);
    std::string extension = "NC";
    read.Text("Default", "File_extension", extension);
    post.FileExtension = AsciiLower(extension);
    read.Text("Default", "StartComment", post.StartComment);
    read.Text("Default", "EndComment", post.EndComment);
    std::string dialect = "ISO";
    read.Text("Default", "Dialect", dialect);
    post.Dialect = DialectOf(dialect);

    read.Format("Cycle", "Format", post.CycleFormat);
    read.Text("Cycle", "DepthPrefix", post.DepthPrefix);
    read.Text("Cycle", "Ref_heightPrefix", post.RefHeightPrefix);
    read.Text("Cycle", "Peck_incrementPrefix", post.PeckIncrementPrefix);
    read.Text("Cycle", "PitchPrefix", post.PitchPrefix);

    read.Template("Post Comment", 10, post.PostComment);
    read.Template("Start_of_file", 20, post.StartOfFile);
    read.Template("Tool_change", 20, post.ToolChange);
    read.Template("End_of_file", 20, post.EndOfFile);
    post.HasBeforeFirstFeedMove = read.Template("BeforeFirstFeedMove", 20, post.BeforeFirstFeedMove);
    post.HasAfterFirstFeedMove = read.Template("AfterFirstFeedMove", 20, post.AfterFirstFeedMove);
    post.HasBeforeLastFeedMove = read.Template("BeforeLastFeedMove", 20, post.BeforeLastFeedMove);
    post.HasAfterLastFeedMove = read.Template("AfterLastFeedMove", 20, post.AfterLastFeedMove);

    const char* const cycleSections[] = {"Cycle_1", "Cycle_2", "Cycle_3"};
    for (std::size_t c = 0; c < post.Cycles.size(); ++c) {
        TCycleTemplates& cycle = post.Cycles[c];
        read.Bool(cycleSections[c], "Exploded", cycle.Exploded);
        read.Text(cycleSections[c], "Cycle_def", cycle.CycleDef);
        read.Text(cycleSections[c], "Cycle_move", cycle.CycleMove);
        read.Text(cycleSections[c], "Cycle_cancel", cycle.CycleCancel);
    }

    post.Scaling = ScaleDiffersFromOne(post.XAxis.Scale) || ScaleDiffersFromOne(post.YAxis.Scale) ||
                   ScaleDiffersFromOne(post.ZAxis.Scale);
    // The record starts with the blank separator.
    if (!post.Spaces)
        post.Separator.clear();
    if (problems)
        *problems = std::move(found);
    return post;
}

TPostSettings ReadPostSettingsFromText(std::string_view text)
{
    return ReadPostSettings(IniFile::FromText(text));
}

TPostSettings ReadPostSettingsFromFile(const QString& path, std::vector<std::string>* unreadable)
{
    if (!QFileInfo(path).isFile())
        return TPostSettings();
    const std::optional<IniFile> file = IniFile::FromFile(path);
    if (!file)
        throw EPostError(POST_NOT_FOUND);
    std::vector<std::string> problems;
    TPostSettings post = ReadPostSettings(*file, &problems);
    const std::string fileName = path.toStdString();
    for (std::string& problem : problems)
        problem = fileName + ": " + UNREADABLE_POST_VALUE + " " + problem;
    if (unreadable)
        *unreadable = std::move(problems);
    if (const std::string tooLong = OversizedTemplate(post); !tooLong.empty())
        throw EPostError(std::string(POST_NOT_FOUND) + "\r\n" + fileName + ": " + TEMPLATE_TOO_LONG + " [" +
                         tooLong + "]");
    return post;
}

QString PostFilePath(const QString& programFolder)
{
    return FindFileNoCase(programFolder, QStringLiteral("pst/") + QString::fromStdString(PostName) + QStringLiteral(".pst"));
}

void LoadPostProcessor(const QString& programFolder)
{
    const QString path = PostFilePath(programFolder);
    std::vector<std::string> unreadable;
    try {
        PostSettings = path.isEmpty() ? TPostSettings() : ReadPostSettingsFromFile(path, &unreadable);
    } catch (const EPostError& error) {
        ShowCADMessage(error.what());
        throw;
    }
    if (!unreadable.empty()) {
        std::string message;
        for (const std::string& line : unreadable)
            message += (message.empty() ? "" : "\r\n") + line;
        ShowCADMessage(message);
    }
    NcModal.BlockNumber = PostSettings.SeqStart;
}
