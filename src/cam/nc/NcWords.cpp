#include "cam/nc/NcWords.h"

#include <cstdint>

#include "cad/base/Settings.h"
#include "cam/nc/NcNumber.h"

TNcModalMemory NcModal;
TNcJobValues NcJobValues;

void TNcModalMemory::ClearWords()
{
    LastX.clear();
    LastY.clear();
    LastZ.clear();
    LastMotion.clear();
    LastFeed.clear();
}

void TNcModalMemory::ClearIncremental()
{
    LastIncX = 0.0f;
    LastIncY = 0.0f;
    LastIncZ = 0.0f;
}

namespace {

// The units' display format: "%0.3f" in millimetres, "%0.4f" in inches.
TNumberFormat DisplayNumberFormat()
{
    return {0, UnitsMode == 1 ? 4 : 3, false};
}

std::string PostTrimmed(std::string text, const TPostSettings& post)
{
    return post.DelZero ? DelZero(std::move(text)) : text;
}

// The step from the last value, in the single precision the last values are kept in.
float Increment(float& last, double value)
{
    const float current = static_cast<float>(value);
    const float step = current - last;
    last = current;
    return step;
}

} // namespace

std::string FormatSepNumber(double value, const TPostSettings& post)
{
    return post.Separator + PostTrimmed(FormatNcReal(value, DisplayNumberFormat()), post);
}

std::string FormatPrefixedNumber(std::string_view prefix, double value, const TPostSettings& post)
{
    return post.Separator + std::string(prefix) + PostTrimmed(FormatNcReal(value, DisplayNumberFormat()), post);
}

TNcWriter::TNcWriter(const TPostSettings& post, TNcModalMemory& modal, const TNcJobValues& job)
    : post_(post), modal_(modal), job_(job)
{
}

std::string TNcWriter::TakeText()
{
    std::string text;
    text.swap(text_);
    return text;
}

std::string TNcWriter::TrimmedNumber(double v, const TNumberFormat& format) const
{
    return PostTrimmed(FormatNcReal(v, format), post_);
}

std::string TNcWriter::FormatBlockNumber()
{
    if (!post_.OutputSeq)
        return {};
    std::string word = post_.SeqPref + std::to_string(modal_.BlockNumber);
    // Counted wide, so that an increment near the top of the range restarts instead of overflowing.
    const std::int64_t next = static_cast<std::int64_t>(modal_.BlockNumber) + post_.SeqInc;
    modal_.BlockNumber = next > post_.SeqMax ? post_.SeqStart : static_cast<int>(next);
    return word;
}

std::string TNcWriter::FormatGWord(int motion)
{
    if (motion < MOTION_RAPID || motion > MOTION_CCW)
        return {};
    const std::string& word = post_.MotionWords[static_cast<std::size_t>(motion)];
    if (post_.GModal && word == modal_.LastMotion)
        return {};
    modal_.LastMotion = word;
    // A post without a word for this motion writes no separator for it either.
    if (word.empty())
        return {};
    return (post_.OutputSeq ? post_.Separator : std::string()) + word;
}

std::string TNcWriter::AxisWord(TAxis axis, double value, bool forced)
{
    const TAxisFormat& format = axis == TAxis::X ? post_.XAxis : axis == TAxis::Y ? post_.YAxis : post_.ZAxis;
    std::string& last = axis == TAxis::X ? modal_.LastX : axis == TAxis::Y ? modal_.LastY : modal_.LastZ;
    const bool modal = post_.XYZModal && !forced;
    // In incremental output a zero step is no move at all.
    if (post_.IncrementalMode && modal && value == 0.0)
        return {};
    const std::string number = TrimmedNumber(post_.Scaling ? value * format.Scale : value, format.Format);
    if (number == last && modal && !post_.IncrementalMode)
        return {};
    last = number;
    return post_.Separator + format.Pref + number;
}

std::string TNcWriter::FormatXWord(double x)
{
    return AxisWord(TAxis::X, x, false);
}

std::string TNcWriter::FormatYWord(double y)
{
    return AxisWord(TAxis::Y, y, false);
}

std::string TNcWriter::FormatZWord(double z)
{
    return AxisWord(TAxis::Z, z, false);
}

std::string TNcWriter::ArcNumber(double v, const TAxisFormat& axis) const
{
    return TrimmedNumber(post_.Scaling ? v * axis.Scale : v, post_.ArcFormat);
}

std::string TNcWriter::FormatIWord(double v) const
{
    return post_.Separator + post_.IPref + ArcNumber(v, post_.XAxis);
}

std::string TNcWriter::FormatJWord(double v) const
{
    return post_.Separator + post_.JPref + ArcNumber(v, post_.YAxis);
}

std::string TNcWriter::FormatRWord(double v) const
{
    return post_.Separator + post_.RPref + ArcNumber(v, post_.XAxis);
}

std::string TNcWriter::FormatCycleWord(std::string_view prefix, double v) const
{
    if (post_.IncrementalMode && post_.XYZModal && v == 0.0)
        return {};
    const double scaled = post_.Scaling ? v * post_.ZAxis.Scale : v;
    return post_.Separator + std::string(prefix) + TrimmedNumber(scaled, post_.CycleFormat);
}

std::string TNcWriter::FormatFeedWord(const std::string& feedText)
{
    if (feedText == RAPID_FEED) {
        if (post_.FeedRapid.empty())
            return {};
        // A rapid word such as F9999 changes the control's modal feed, so the
        // next feed move must state its feed again.
        modal_.LastFeed.clear();
        return post_.Separator + post_.FeedRapid;
    }
    if (post_.FModal && feedText == modal_.LastFeed)
        return {};
    modal_.LastFeed = feedText;
    return post_.Separator + post_.FeedPref + feedText;
}

std::string TNcWriter::FormatToolWord(int n) const
{
    return post_.Separator + post_.ToolPref + FormatNcInteger(n, post_.ToolFormat);
}

std::string TNcWriter::FormatXNumber(double v) const
{
    return post_.Separator + TrimmedNumber(post_.Scaling ? v * post_.XAxis.Scale : v, post_.XAxis.Format);
}

std::string TNcWriter::FormatYNumber(double v) const
{
    return post_.Separator + TrimmedNumber(post_.Scaling ? v * post_.YAxis.Scale : v, post_.YAxis.Format);
}

float TNcWriter::IncrementX(double x)
{
    return Increment(modal_.LastIncX, x);
}

float TNcWriter::IncrementY(double y)
{
    return Increment(modal_.LastIncY, y);
}

float TNcWriter::IncrementZ(double z)
{
    return Increment(modal_.LastIncZ, z);
}
