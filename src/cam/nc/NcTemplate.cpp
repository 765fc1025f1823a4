// Expansion of the post's text templates: "[key]" becomes a word or a value of the job.

#include "cam/nc/NcWords.h"

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
    if (key == "zrapid" || key == "f_zrapid") {
        modal_.LastIncZ = job_.ZRapid;
        return AxisWord(TAxis::Z, job_.ZRapid, key == "f_zrapid");
    }
    if (key == "xrapid" || key == "f_xrapid") {
        modal_.LastIncX = static_cast<float>(x);
        return AxisWord(TAxis::X, x, key == "f_xrapid");
    }
    if (key == "yrapid" || key == "f_yrapid") {
        modal_.LastIncY = static_cast<float>(y);
        return AxisWord(TAxis::Y, y, key == "f_yrapid");
    }
    if (key == "depth")
        return FormatCycleWord(p.DepthPrefix, job_.CurrentDepth);
    if (key == "ref_height")
        return FormatCycleWord(p.RefHeightPrefix, job_.ZRapid);
    if (key == "peck_increment")
        return FormatCycleWord(p.PeckIncrementPrefix, job_.PeckIncrement);
    if (key == "pitch")
        return FormatCycleWord(p.PitchPrefix, job_.Pitch);
    if (key == "x")
        return FormatXWord(x);
    if (key == "y")
        return FormatYWord(y);
    if (key == "n")
        return FormatBlockNumber();
    return key;
}

std::string TNcWriter::ExpandTemplate(std::string_view templ, double x, double y)
{
    std::string out;
    std::string_view rest = templ;
    for (;;) {
        const std::size_t open = rest.find('[');
        // The closing bracket that follows the opening one; a stray "]" before it is text.
        const std::size_t close = open == std::string_view::npos ? open : rest.find(']', open + 1);
        if (close == std::string_view::npos) {
            out += rest;
            return out;
        }
        out += rest.substr(0, open);
        const std::string key(rest.substr(open + 1, close - open - 1));
        rest.remove_prefix(close + 1);
        std::string value = TemplateValue(key, x, y);
        // A line that starts with a word does not start with its separator;
        // the block number, when there is one, stands before it.
        const bool lineStart = out.empty() || out.back() == '\n';
        if (!post_.OutputSeq && lineStart && value.size() > 1 && value.front() == ' ')
            value.erase(0, 1);
        out += value;
    }
}
