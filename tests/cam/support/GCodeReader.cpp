#include "support/GCodeReader.h"

#include <charconv>
#include <cmath>
#include <map>
#include <sstream>

namespace {

// A number as controls write it: an optional sign, digits and a point.
bool ParseNumber(std::string_view text, double& value)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || text.find_first_not_of("-.0123456789") != std::string_view::npos)
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    if (!text.empty() && text.back() == separator)
        parts.emplace_back();
    return parts;
}

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The tolerance of arc ends and radius words, in program units.
constexpr double kArcTolerance = 0.002;

class TReader {
public:
    explicit TReader(const TGCodeSetup& setup) : setup_(setup) {}

    void Read(int line, const std::string& raw)
    {
        line_ = line;
        const std::string text = Trimmed(raw);
        switch (setup_.Dialect) {
        case TGCodeDialect::Iso:
            Iso(text);
            break;
        case TGCodeDialect::Hei:
            Hei(text);
            break;
        case TGCodeDialect::Xil:
            Xil(text);
            break;
        case TGCodeDialect::Sbo:
            Sbo(text);
            break;
        }
    }

    TGCodeRead Result;

private:
    void Fault(const std::string& why) { Result.Faults.push_back("line " + std::to_string(line_) + ": " + why); }

    void Block(double number)
    {
        const int n = static_cast<int>(number);
        if (n != number || (last_ >= 0 && n <= last_ && n != setup_.SeqStart) || n > setup_.SeqMax)
            Fault("block number " + std::to_string(n) + " after " + std::to_string(last_));
        last_ = n;
    }

    void Straight(TToolMoveKind kind, TVect to, double z)
    {
        TToolMove move{kind, at_, to, z_, z, {}, false, feed_, line_};
        Result.Moves.push_back(move);
        at_ = to;
        z_ = z;
    }

    void Arc(TVect to, double z, TVect centre, bool clockwise)
    {
        const double r1 = std::hypot(at_.X - centre.X, at_.Y - centre.Y);
        const double r2 = std::hypot(to.X - centre.X, to.Y - centre.Y);
        if (std::fabs(r1 - r2) > kArcTolerance)
            Fault("arc radii " + std::to_string(r1) + " and " + std::to_string(r2) + " differ");
        if (z != z_)
            Fault("helical arc");
        Result.Moves.push_back({TToolMoveKind::Arc, at_, to, z_, z, centre, clockwise, feed_, line_});
        at_ = to;
        z_ = z;
    }

    // The centre of an arc of radius r: a positive r the arc of at most half a turn.
    TVect CentreOfRadius(TVect to, double r, bool clockwise)
    {
        const double dx = to.X - at_.X;
        const double dy = to.Y - at_.Y;
        const double chord = std::hypot(dx, dy);
        if (chord > 2.0 * std::fabs(r) + kArcTolerance || chord == 0.0) {
            Fault("radius word " + std::to_string(r) + " on a chord of " + std::to_string(chord));
            return at_;
        }
        const double h = std::sqrt(std::max(r * r - chord * chord / 4.0, 0.0));
        const double side = (r > 0.0) == clockwise ? -1.0 : 1.0;
        return {(at_.X + to.X) / 2.0 - side * h * dy / chord, (at_.Y + to.Y) / 2.0 + side * h * dx / chord};
    }

    TVect CentreOfWords(double i, double j) const
    {
        return setup_.CentreFromStart ? TVect{at_.X + i, at_.Y + j} : TVect{i, j};
    }

    void Iso(std::string text)
    {
        for (std::size_t open = text.find('('); open != std::string::npos; open = text.find('(')) {
            const std::size_t close = text.find(')', open);
            if (close == std::string::npos) {
                Fault("comment without end");
                return;
            }
            text.erase(open, close - open + 1);
        }
        text = Trimmed(text);
        if (text.empty() || text == "%")
            return;
        std::multimap<char, double> words;
        for (std::size_t at = 0; at < text.size();) {
            if (text[at] == ' ') {
                ++at;
                continue;
            }
            const char letter = text[at];
            const std::size_t end = text.find_first_not_of("+-.0123456789", at + 1);
            double value = 0.0;
            if (letter < 'A' || letter > 'Z' ||
                !ParseNumber(std::string_view(text).substr(at + 1, end == std::string::npos ? end : end - at - 1), value)) {
                Fault("no word: " + text.substr(at));
                return;
            }
            words.emplace(letter, value);
            at = end == std::string::npos ? text.size() : end;
        }
        const auto one = [&](char letter, double& value) {
            const auto found = words.find(letter);
            if (found == words.end())
                return false;
            value = found->second;
            return true;
        };
        double v = 0.0;
        if (one('N', v))
            Block(v);
        if (one('F', v))
            feed_ = v;
        bool home = false;
        for (auto [g, end] = words.equal_range('G'); g != end; ++g) {
            const int code = static_cast<int>(g->second);
            if (code != g->second)
                Fault("G" + std::to_string(g->second));
            else if (code <= 3)
                motion_ = code, cycle_ = 80; // a motion ends a canned cycle
            else if (code == 80 || code == 81 || code == 83 || code == 84)
                cycle_ = code;
            else if (code == 90 || code == 91)
                incremental_ = code == 91;
            else if (code == 28)
                home = true;
            else if (code == 98 || code == 99)
                returnToStart_ = code == 98;
            else if (code != 17 && code != 20 && code != 21 && code != 40 && code != 43 && code != 49)
                Fault("G" + std::to_string(code) + " unknown");
        }
        for (const auto& [letter, value] : words)
            if (std::string("NGXYZIJRQFSTMHOP").find(letter) == std::string::npos)
                Fault(std::string("word ") + letter + " unknown");
        if (home) {
            // A return to the machine's home through the named axes.
            z_ = GCODE_Z_HOME;
            return;
        }
        double x = incremental_ ? 0.0 : at_.X, y = incremental_ ? 0.0 : at_.Y, z = incremental_ ? 0.0 : z_;
        const bool hasX = one('X', x), hasY = one('Y', y), hasZ = one('Z', z);
        if (incremental_) {
            x += at_.X;
            y += at_.Y;
            z += z_;
        }
        if (!hasX && !hasY && !hasZ)
            return;
        if (cycle_ != 80) {
            double r = cycleR_;
            one('R', r);
            cycleR_ = r;
            if (hasZ)
                cycleZ_ = z;
            const double start = z_;
            Straight(TToolMoveKind::Rapid, {x, y}, start);
            Straight(TToolMoveKind::Rapid, {x, y}, cycleR_);
            Result.Moves.push_back({TToolMoveKind::Hole, {x, y}, {x, y}, cycleR_, cycleZ_, {}, false, feed_, line_});
            z_ = returnToStart_ ? start : cycleR_;
            return;
        }
        if (motion_ <= 1) {
            Straight(motion_ == 0 ? TToolMoveKind::Rapid : TToolMoveKind::Feed, {x, y}, z);
            return;
        }
        double i = 0.0, j = 0.0, r = 0.0;
        const bool clockwise = motion_ == 2;
        if (one('R', r))
            Arc({x, y}, z, CentreOfRadius({x, y}, r, clockwise), clockwise);
        else if (one('I', i) && one('J', j))
            Arc({x, y}, z, CentreOfWords(i, j), clockwise);
        else
            Fault("arc without centre");
    }

    // "X5", "X+5" and "X=5" alike: the letter and its number.
    bool Word(const std::string& token, const std::string& letter, double& value)
    {
        if (!token.starts_with(letter))
            return false;
        std::string_view number = std::string_view(token).substr(letter.size());
        if (!number.empty() && number.front() == '=')
            number.remove_prefix(1);
        if (!ParseNumber(number, value))
            Fault("no number in " + token);
        return true;
    }

    void Hei(const std::string& text)
    {
        std::vector<std::string> tokens;
        for (const std::string& token : Split(text, ' '))
            if (!token.empty())
                tokens.push_back(token);
        if (tokens.empty())
            return;
        double number = 0.0;
        if (!ParseNumber(tokens.front(), number)) {
            Fault("no block number");
            return;
        }
        Block(number);
        if (tokens.size() < 2 || tokens[1].starts_with(';') || tokens[1] == "BEGIN" || tokens[1] == "END" ||
            tokens[1] == "TOOL")
            return;
        const std::string& command = tokens[1];
        double x = at_.X, y = at_.Y, z = z_;
        bool rapid = false;
        bool clockwise = false;
        bool direction = false;
        for (std::size_t k = 2; k < tokens.size(); ++k) {
            const std::string& t = tokens[k];
            double v = 0.0;
            if (Word(t, "X", x) || Word(t, "Y", y) || Word(t, "Z", z) || Word(t, "M", v))
                continue;
            if (t == "FMAX")
                rapid = true;
            else if (t == "R0" || t == "RL" || t == "RR")
                continue;
            else if (t == "DR-" || t == "DR+")
                direction = true, clockwise = t == "DR-";
            else if (Word(t, "F", v))
                feed_ = v;
            else
                Fault("token " + t);
        }
        if (command == "L")
            Straight(rapid ? TToolMoveKind::Rapid : TToolMoveKind::Feed, {x, y}, z);
        else if (command == "CC")
            centre_ = {x, y};
        else if (command == "C" && direction)
            Arc({x, y}, z, centre_, clockwise);
        else
            Fault("command " + command);
    }

    void Xil(const std::string& text)
    {
        if (text.empty() || text.starts_with(';') || text.starts_with("H "))
            return;
        const std::vector<std::string> tokens = Split(text, ' ');
        const std::string& command = tokens.front();
        double x = at_.X, y = at_.Y, z = z_, i = 0.0, j = 0.0, g = 0.0;
        for (std::size_t k = 1; k < tokens.size(); ++k) {
            double v = 0.0;
            const std::string& t = tokens[k];
            if (t.empty() || Word(t, "X", x) || Word(t, "Y", y) || Word(t, "Z", z) || Word(t, "I", i) ||
                Word(t, "J", j) || Word(t, "G", g))
                continue;
            if (Word(t, "F", v))
                feed_ = v;
            else
                Fault("token " + t);
        }
        if (command == "XG0" || command == "XL2P")
            Straight(command == "XG0" ? TToolMoveKind::Rapid : TToolMoveKind::Feed, {x, y}, z);
        else if (command == "XA2P" && (g == 2 || g == 3))
            Arc({x, y}, z, CentreOfWords(i, j), g == 2);
        else
            Fault("command " + command);
    }

    void Sbo(std::string text)
    {
        if (const std::size_t comment = text.find('\''); comment != std::string::npos)
            text = Trimmed(text.substr(0, comment));
        if (text.empty() || text == "SA" || text == "END")
            return;
        const std::vector<std::string> f = Split(text, ',');
        std::vector<double> v(f.size(), 0.0);
        for (std::size_t k = 1; k < f.size(); ++k)
            if (!f[k].empty() && !ParseNumber(f[k], v[k]))
                Fault("field " + f[k]);
        const std::string& command = f.front();
        const TToolMoveKind kind = command.starts_with('J') ? TToolMoveKind::Rapid : TToolMoveKind::Feed;
        const std::string axes = command.size() == 2 ? command.substr(1) : std::string();
        if (axes == "X" && f.size() == 2)
            Straight(kind, {v[1], at_.Y}, z_);
        else if (axes == "Y" && f.size() == 2)
            Straight(kind, {at_.X, v[1]}, z_);
        else if (axes == "Z" && f.size() == 2)
            Straight(kind, at_, v[1]);
        else if (axes == "2" && f.size() == 3)
            Straight(kind, {v[1], v[2]}, z_);
        else if (axes == "3" && f.size() == 4)
            Straight(kind, {v[1], v[2]}, v[3]);
        else if (command == "CG" && f.size() == 8 && (v[7] == 1.0 || v[7] == -1.0))
            Arc({v[2], v[3]}, z_, CentreOfWords(v[4], v[5]), v[7] == 1.0);
        else
            Fault("command " + text);
    }

    const TGCodeSetup& setup_;
    int line_ = 0;
    int last_ = -1;
    TVect at_{};
    double z_ = GCODE_Z_HOME;
    double feed_ = -1.0;
    // The motion group and, apart from it, the canned cycle (80: none).
    int motion_ = 0;
    int cycle_ = 80;
    bool incremental_ = false;
    bool returnToStart_ = true;
    double cycleR_ = 0.0;
    double cycleZ_ = 0.0;
    TVect centre_{};
};

} // namespace

TGCodeRead ReadGCode(const std::string& program, const TGCodeSetup& setup)
{
    TReader reader(setup);
    std::istringstream lines(program);
    int n = 0;
    for (std::string line; std::getline(lines, line);)
        reader.Read(++n, line);
    reader.Result.Lines = n;
    return reader.Result;
}
