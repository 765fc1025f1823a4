// Expansion of the post's text templates: "[key]" becomes a word or a value of the job.

#include "cam/nc/NcWords.h"

#include <algorithm>
#include <utility>

namespace {

std::string AsciiUpper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// Blanks out the first character of every occurrence of the delimiter, so
// that a name cannot end its own comment early. An empty delimiter occurs nowhere.
void BlankOutDelimiter(std::string& text, const std::string& delimiter)
{
    if (delimiter.empty())
        return;
    for (std::size_t at = text.find(delimiter); at != std::string::npos; at = text.find(delimiter, at + 1))
        text[at] = ' ';
}

std::string WithoutFolder(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::string TNcWriter::TemplateValue(const std::string& key, double x, double y)
{
    const TPostSettings& p = post_;
    if (key == "tool")
        return FormatToolWord(job_.ToolNumber);
    if (key == "toolname") {
        std::string name = job_.ToolName;
        BlankOutDelimiter(name, p.StartComment);
        BlankOutDelimiter(name, p.EndComment);
        return AsciiUpper(p.StartComment + name + p.EndComment);
    }
    if (key == "tool_info")
        return p.StartComment + "TLDIA=" + job_.ToolDiameter + p.EndComment;
    if (key == "speed")
        return "S" + job_.SpindleSpeed;
    if (key == "spindle_on")
        return p.SpindleCW;
    if (key == "spindle_off")
        return p.SpindleOff;
    if (key == "feed")
        return FormatFeedWord(job_.FeedRate);
    if (key == "feedplunge")
        return FormatFeedWord(job_.PlungeRate);
    if (key == "offlen")
        return p.Tofflen + std::to_string(job_.ToolNumber);
    if (key == "progname")
        return AsciiUpper(p.StartComment + WithoutFolder(job_.NcFileName) + p.EndComment);
    if (key == "progn")
        return "O0001";
    if (key == "coolant_on")
        return job_.Coolant ? p.CoolantOn : std::string();
    if (key == "coolant_off")
        return p.CoolantOff;
    if (key == "spindle_and_coolant_on")
        return job_.Coolant ? p.SpindleCWCoolOn : p.SpindleCW;
    // The rapid words step from the last point in an incremental post, as
    // every other coordinate word of it does.
    if (key == "zrapid" || key == "f_zrapid") {
        templateZ_ = job_.ZRapid;
        const float dz = IncrementZ(job_.ZRapid);
        return AxisWord(TAxis::Z, p.IncrementalMode ? dz : job_.ZRapid, key == "f_zrapid");
    }
    if (key == "xrapid" || key == "f_xrapid") {
        const float dx = IncrementX(x);
        return AxisWord(TAxis::X, p.IncrementalMode ? dx : x, key == "f_xrapid");
    }
    if (key == "yrapid" || key == "f_yrapid") {
        const float dy = IncrementY(y);
        return AxisWord(TAxis::Y, p.IncrementalMode ? dy : y, key == "f_yrapid");
    }
    if (key == "depth")
        return CycleWordOfTemplate(p.DepthPrefix, job_.CurrentDepth);
    if (key == "ref_height")
        return CycleWordOfTemplate(p.RefHeightPrefix, job_.ZRapid);
    if (key == "peck_increment")
        return CycleWordOfTemplate(p.PeckIncrementPrefix, job_.PeckIncrement);
    if (key == "pitch")
        return CycleWordOfTemplate(p.PitchPrefix, job_.Pitch);
    if (key == "x")
        return FormatXWord(x);
    if (key == "y")
        return FormatYWord(y);
    if (key == "n")
        return FormatBlockNumber();
    return key;
}

std::string TNcWriter::CycleWordOfTemplate(const std::string& prefix, double v)
{
    // A cycle gives its own meaning to a letter that is modal elsewhere (the
    // tap's pitch is an F word, the hole's depth a Z word): what the control
    // holds for it is no longer what the last move word said, so the next
    // move word of that letter is written again.
    if (!prefix.empty()) {
        if (prefix == post_.FeedPref)
            modal_.LastFeed.clear();
        if (prefix == post_.XAxis.Pref)
            modal_.LastX.clear();
        if (prefix == post_.YAxis.Pref)
            modal_.LastY.clear();
        if (prefix == post_.ZAxis.Pref)
            modal_.LastZ.clear();
    }
    return FormatCycleWord(prefix, v);
}

namespace {

// The keys of one template in order, with the text before each; a "["
// without a later "]" leaves the rest as text.
template <typename OnText, typename OnKey>
void ForEachTemplatePart(std::string_view templ, OnText onText, OnKey onKey)
{
    std::string_view rest = templ;
    for (;;) {
        const std::size_t open = rest.find('[');
        // The closing bracket that follows the opening one; a stray "]" before it is text.
        const std::size_t close = open == std::string_view::npos ? open : rest.find(']', open + 1);
        if (close == std::string_view::npos) {
            onText(rest);
            return;
        }
        onText(rest.substr(0, open));
        const std::string_view key = rest.substr(open + 1, close - open - 1);
        rest.remove_prefix(close + 1);
        if (!onKey(key))
            return;
    }
}

// The longest number text a word can hold: 309 integer digits of the
// largest double, sign, point and 15 decimals, or a width of 40.
constexpr std::size_t kLongestNumber = 340;
// Block numbers and tool numbers are whole numbers of at most 11 characters, padded to 40 at most.
constexpr std::size_t kLongestWhole = 40;

std::size_t KeyBound(std::string_view key, const TPostSettings& p)
{
    const std::size_t sep = p.Separator.size();
    const std::size_t comment = p.StartComment.size() + p.EndComment.size();
    if (key == "tool")
        return sep + p.ToolPref.size() + kLongestWhole;
    if (key == "toolname" || key == "progname")
        return comment + TYPED_TEXT_ALLOWANCE;
    if (key == "tool_info")
        return comment + 6 + TYPED_TEXT_ALLOWANCE;
    if (key == "speed")
        return 1 + TYPED_TEXT_ALLOWANCE;
    if (key == "spindle_on" || key == "spindle_and_coolant_on")
        return std::max(p.SpindleCW.size(), p.SpindleCWCoolOn.size());
    if (key == "spindle_off")
        return p.SpindleOff.size();
    if (key == "feed" || key == "feedplunge")
        return sep + std::max(p.FeedPref.size() + TYPED_TEXT_ALLOWANCE, p.FeedRapid.size());
    if (key == "offlen")
        return p.Tofflen.size() + kLongestWhole;
    if (key == "progn")
        return 5;
    if (key == "coolant_on")
        return p.CoolantOn.size();
    if (key == "coolant_off")
        return p.CoolantOff.size();
    if (key == "zrapid" || key == "f_zrapid")
        return sep + p.ZAxis.Pref.size() + kLongestNumber;
    if (key == "xrapid" || key == "f_xrapid" || key == "x")
        return sep + p.XAxis.Pref.size() + kLongestNumber;
    if (key == "yrapid" || key == "f_yrapid" || key == "y")
        return sep + p.YAxis.Pref.size() + kLongestNumber;
    if (key == "depth")
        return sep + p.DepthPrefix.size() + kLongestNumber;
    if (key == "ref_height")
        return sep + p.RefHeightPrefix.size() + kLongestNumber;
    if (key == "peck_increment")
        return sep + p.PeckIncrementPrefix.size() + kLongestNumber;
    if (key == "pitch")
        return sep + p.PitchPrefix.size() + kLongestNumber;
    if (key == "n")
        return p.SeqPref.size() + kLongestWhole;
    return key.size();
}

} // namespace

std::size_t TemplateExpansionBound(std::string_view templ, const TPostSettings& post)
{
    std::size_t bound = 0;
    ForEachTemplatePart(
        templ, [&](std::string_view text) { bound += text.size(); },
        [&](std::string_view key) {
            bound += KeyBound(key, post);
            // Past the limit the sum need not be exact, and it cannot wrap.
            return bound <= MAX_EXPANDED_TEMPLATE;
        });
    return bound;
}

std::string OversizedTemplate(const TPostSettings& post)
{
    const std::pair<const char*, const std::string*> templates[] = {
        {"Post Comment", &post.PostComment},
        {"Start_of_file", &post.StartOfFile},
        {"Tool_change", &post.ToolChange},
        {"End_of_file", &post.EndOfFile},
        {"BeforeFirstFeedMove", &post.BeforeFirstFeedMove},
        {"AfterFirstFeedMove", &post.AfterFirstFeedMove},
        {"BeforeLastFeedMove", &post.BeforeLastFeedMove},
        {"AfterLastFeedMove", &post.AfterLastFeedMove},
        {"Cycle_1", &post.Cycles[0].CycleDef},
        {"Cycle_1", &post.Cycles[0].CycleMove},
        {"Cycle_1", &post.Cycles[0].CycleCancel},
        {"Cycle_2", &post.Cycles[1].CycleDef},
        {"Cycle_2", &post.Cycles[1].CycleMove},
        {"Cycle_2", &post.Cycles[1].CycleCancel},
        {"Cycle_3", &post.Cycles[2].CycleDef},
        {"Cycle_3", &post.Cycles[2].CycleMove},
        {"Cycle_3", &post.Cycles[2].CycleCancel},
    };
    for (const auto& [section, text] : templates)
        if (TemplateExpansionBound(*text, post) > MAX_EXPANDED_TEMPLATE)
            return section;
    return {};
}

std::string TNcWriter::ExpandTemplate(std::string_view templ, double x, double y)
{
    std::string out;
    bool tooLong = false;
    const auto append = [&](std::string_view text) {
        tooLong = tooLong || out.size() + text.size() > MAX_EXPANDED_TEMPLATE;
        if (!tooLong)
            out += text;
        return !tooLong;
    };
    ForEachTemplatePart(templ, append, [&](std::string_view keyText) {
        const std::string key(keyText);
        std::string value = TemplateValue(key, x, y);
        // A line that starts with a word does not start with its separator;
        // the block number, when there is one, stands before it.
        const bool lineStart = out.empty() || out.back() == '\n';
        if (!post_.OutputSeq && lineStart && value.size() > 1 && value.front() == ' ')
            value.erase(0, 1);
        return append(value);
    });
    // A failed expansion gives nothing, never part of a line.
    if (tooLong)
        out.clear();
    return out;
}
