#include "cam/nc/NcJob.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

TNcJobState NcJobState;

namespace {

double RoundTo4(double v)
{
    return std::round(v * 10000.0) / 10000.0;
}

// A remainder below this is rounding noise, not a pass of its own.
constexpr double kRemainderTolerance = 0.00005;

} // namespace

TDepthPassPlan ComputeDepthPassPlan(const TDepthFields& fields, const TPostSettings& post)
{
    TDepthPassPlan plan;
    const double total = std::fabs(fields.TopOfStock - fields.Depth);
    if (post.OmitZ) {
        plan.Status = TPassPlanStatus::OnePass;
        return plan;
    }
    // A rapid height below the top would drive rapids through the stock, and
    // a depth above it would be cut downward by the difference.
    if (!(fields.ZRapid > fields.TopOfStock)) {
        plan.Status = TPassPlanStatus::RapidNotAbove;
        return plan;
    }
    if (fields.Depth > fields.TopOfStock) {
        plan.Status = TPassPlanStatus::DepthAboveTop;
        return plan;
    }
    if (post.LYarvPost) {
        plan.Status = TPassPlanStatus::OnePass;
        plan.Step1 = total;
        return plan;
    }
    double increment = RoundTo4(fields.Increment);
    if (!(increment > 0.0) || !std::isfinite(increment)) {
        plan.Status = TPassPlanStatus::BadIncrement;
        return plan;
    }
    increment = std::min(increment, total);
    plan.Passes = total > 0.0 ? static_cast<int>(RoundTo4(total / increment)) : 1;
    plan.Passes = std::max(plan.Passes, 1);
    plan.Step2 = total - plan.Passes * increment;
    if (plan.Step2 <= kRemainderTolerance)
        plan.Step2 = 0.0;
    plan.Step1 = (total - plan.Step2) / plan.Passes;
    plan.ExtraPass = plan.Step2 > 0.0;
    return plan;
}

void StepTopOfStock(float& depth, const TDepthPassPlan& plan, int i)
{
    depth -= static_cast<float>(plan.ExtraPass && i > plan.Passes ? plan.Step2 : plan.Step1);
}

void StartNcFile(TNcJobState& state, TNcModalMemory& modal, const TPostSettings& post)
{
    state.FirstProgram = true;
    state.Undo.Used = true;
    modal.BlockNumber = post.SeqStart;
}

void BeginNcOperation(TNcJobState& state, const TNcModalMemory& modal, int editorLines)
{
    state.Undo = {editorLines, modal, state.LastTool, false};
}

bool TakeBackNcOperation(std::string& editorText, TNcJobState& state, TNcModalMemory& modal,
                         const TPostSettings& post)
{
    if (state.Undo.Used)
        return false;
    editorText = KeepTextLines(editorText, state.Undo.LineCount);
    if (CountTextLines(editorText) > 0) {
        modal = state.Undo.Modal;
    } else {
        state.FirstProgram = true;
        modal.BlockNumber = post.SeqStart;
    }
    state.LastTool = state.Undo.LastTool;
    state.Undo.Used = true;
    return true;
}

int CountTextLines(std::string_view text)
{
    if (text.empty())
        return 0;
    int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    if (text.back() != '\n')
        ++lines;
    return lines;
}

std::string KeepTextLines(std::string_view text, int n)
{
    std::size_t end = 0;
    for (int line = 0; line < n && end < text.size(); ++line) {
        const std::size_t lf = text.find('\n', end);
        end = lf == std::string_view::npos ? text.size() : lf + 1;
    }
    std::string kept(text.substr(0, end));
    // The kept lines keep no break after the last, as an editor holds them.
    while (!kept.empty() && (kept.back() == '\n' || kept.back() == '\r'))
        kept.pop_back();
    return kept;
}

std::string ToCrLfText(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t lf = text.find('\n', start);
        const std::size_t next = lf == std::string_view::npos ? text.size() : lf + 1;
        if (lf == std::string_view::npos)
            lf = text.size();
        std::size_t end = lf;
        if (end > start && text[end - 1] == '\r')
            --end;
        out.append(text.substr(start, end - start));
        out += "\r\n";
        start = next;
    }
    return out;
}

bool SaveNcText(const std::string& path, std::string_view text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    const std::string out = ToCrLfText(text);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    file.close();
    return !file.fail();
}

std::string FormatDuration(long long seconds)
{
    seconds = std::max(seconds, 0LL);
    char text[64];
    std::snprintf(text, sizeof text, " %lldh, %02lldm, %02llds", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

std::string ShortenPathForWidth(std::string text, int width, const std::function<int(const std::string&)>& textWidth)
{
    constexpr std::size_t kCutAt = 9;
    while (textWidth(text) > width - 5) {
        const std::size_t before = text.size();
        if (before <= kCutAt)
            break;
        text.replace(kCutAt, 5, "...");
        if (text.size() >= before)
            break;
    }
    return text;
}

std::string ProposedNcFileName(std::string_view dialogName)
{
    std::string_view name = dialogName;
    if (const std::size_t slash = name.find_last_of("/\\"); slash != std::string_view::npos)
        name.remove_prefix(slash + 1);
    if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos)
        name = name.substr(0, dot);
    if (name.empty() || name == "*")
        return "t";
    return std::string(name);
}

void AppendTextLines(std::string& editorText, std::string_view program)
{
    std::string lines;
    lines.reserve(program.size());
    for (const char c : program)
        if (c != '\r')
            lines += c;
    while (!lines.empty() && lines.back() == '\n')
        lines.pop_back();
    if (lines.empty())
        return;
    if (!editorText.empty())
        editorText += '\n';
    editorText += lines;
}
