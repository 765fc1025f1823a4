// The line writers and the arc block of each dialect.

#include <cmath>
#include <utility>

#include "cam/nc/NcWords.h"

namespace {

// A bulge of magnitude 1 is a half circle; the bulge decides the side of pi
// exactly, where a sweep computed from angles could fall either way.
bool AtMostHalfCircle(const TChainElement& e)
{
    return std::fabs(e.Bulge) <= 1.0 + 1e-12;
}

} // namespace

void TNcWriter::WriteLine(const std::string& line)
{
    text_ += line;
    text_ += "\r\n";
}

void TNcWriter::WriteNcLine(int motion, const std::string& text)
{
    if (text.empty())
        return;
    const std::string block = FormatBlockNumber();
    const std::string word = FormatGWord(motion);
    // A line that starts with a coordinate word does not start with its separator.
    const bool dropBlank = block.empty() && word.empty() && text.front() == ' ';
    WriteLine(block + word + (dropBlank ? text.substr(1) : text));
}

void TNcWriter::WriteMoveLine(int motion, const std::string& feedText, double x, double y)
{
    if (post_.Dialect == DIALECT_SBO) {
        const std::string xNumber = FormatXNumber(x).substr(post_.Separator.size());
        const std::string yNumber = FormatYNumber(y).substr(post_.Separator.size());
        if (xNumber != modal_.LastX && yNumber != modal_.LastY) {
            modal_.LastX = xNumber;
            modal_.LastY = yNumber;
            WriteLine(post_.SBO_XYPref + post_.Separator + xNumber + "," + post_.Separator + yNumber);
            return;
        }
        std::string words = FormatXWord(x);
        words += FormatYWord(y);
        WriteNcLine(motion, words);
        return;
    }
    std::string words = FormatXWord(x);
    words += FormatYWord(y);
    words += FormatFeedWord(feedText);
    WriteNcLine(motion, words);
}

void TNcWriter::WriteTemplateLine(int motion, const std::string& text)
{
    if (text.empty())
        return;
    std::string line = FormatBlockNumber() + post_.Separator + text;
    if (motion >= 0)
        line += FormatGWord(motion);
    WriteLine(line);
}

void TNcWriter::WriteTemplate(std::string_view templ, double x, double y)
{
    const std::string text = ExpandTemplate(templ, x, y);
    // A template may set a motion of its own ("G0", a drilling cycle, its
    // cancel): the next move states its motion word again.
    bool motion = text.find('G') != std::string::npos;
    for (const std::string& word : post_.MotionWords)
        motion = motion || (!word.empty() && text.find(word) != std::string::npos);
    if (motion)
        modal_.LastMotion.clear();
    text_ += text;
}

std::optional<double> TNcWriter::TakeTemplateZ()
{
    return std::exchange(templateZ_, std::nullopt);
}

std::string TNcWriter::ArcText(const TChainElement& element, const TBulgeArc& arc) const
{
    const TVect start = StartPoint(element);
    double i = arc.Centre.X;
    double j = arc.Centre.Y;
    switch (post_.ArcCenter) {
    case ARC_CENTER_FROM_START:
        i -= start.X;
        j -= start.Y;
        break;
    case ARC_CENTER_TO_START:
        i = start.X - i;
        j = start.Y - j;
        break;
    case ARC_CENTER_ABSOLUTE_VALUES:
        i = std::fabs(i);
        j = std::fabs(j);
        break;
    default:
        // ARC_CENTER_ABSOLUTE, and any value the file should not hold.
        break;
    }
    switch (post_.ArcOutput) {
    case ARC_OUTPUT_RADIUS:
        return FormatRWord(arc.Radius);
    case ARC_OUTPUT_SIGNED_RADIUS:
        return FormatRWord(AtMostHalfCircle(element) ? arc.Radius : -arc.Radius);
    default:
        return FormatIWord(i) + FormatJWord(j);
    }
}

void TNcWriter::WriteArcBlock(const TChainElement& element)
{
    TBulgeArc arc;
    if (!BulgeArcParams(element, arc)) {
        WriteMoveLine(MOTION_LINEAR, job_.FeedRate, element.X2, element.Y2);
        return;
    }
    const std::string arcText = ArcText(element, arc);
    if (!post_.XYModal) {
        modal_.LastX = FORCE_XY_AFTER_ARC;
        modal_.LastY = FORCE_XY_AFTER_ARC;
    }
    const int direction = arc.Direction;
    std::string words;
    switch (post_.Dialect) {
    case DIALECT_HEI:
        WriteTemplateLine(-1, "CC" + arcText + FormatFeedWord(job_.FeedRate));
        modal_.LastX = FORCE_XY_AFTER_CENTRE;
        modal_.LastY = FORCE_XY_AFTER_CENTRE;
        words = "C" + FormatXWord(element.X2);
        words += FormatYWord(element.Y2);
        WriteTemplateLine(direction, words);
        return;
    case DIALECT_XIL:
        words = FormatXWord(element.X2);
        words += FormatYWord(element.Y2);
        words += arcText + " " + (direction == MOTION_CW ? post_.XILSuffixCW : post_.XILSuffixCCW);
        // The feed of the arc, as on the arc lines of the other dialects: an
        // arc right after the plunge would otherwise run at the plunge rate.
        words += FormatFeedWord(job_.FeedRate);
        WriteNcLine(direction, words);
        return;
    case DIALECT_SBO: {
        const std::string xNumber = FormatXNumber(element.X2);
        const std::string yNumber = FormatYNumber(element.Y2);
        modal_.LastX = xNumber.substr(post_.Separator.size());
        modal_.LastY = yNumber.substr(post_.Separator.size());
        // The direction is a field of the arc command, so it is written even
        // where a modal post would leave an unchanged motion word out.
        WriteLine("CG,," + xNumber + "," + yNumber + arcText + post_.MotionWords[static_cast<std::size_t>(direction)]);
        return;
    }
    default:
        // ISO, and dialects the program does not know.
        if (post_.IncrementalMode) {
            const float dx = IncrementX(element.X2);
            const float dy = IncrementY(element.Y2);
            words = FormatXWord(dx);
            words += FormatYWord(dy);
        } else {
            words = FormatXWord(element.X2);
            words += FormatYWord(element.Y2);
        }
        words += arcText;
        words += FormatFeedWord(job_.FeedRate);
        WriteNcLine(direction, words);
        return;
    }
}
