// kovra: traces a black-and-white picture into a DXF drawing.
//
//   kovra -et E -fi F -ct C -outfile OUT [-cline] IN.bmp
//
// Exit codes: 0 done, 2 wrong command line, 3 unreadable picture, 4 tracing
// failed, 5 the result cannot be written. Every failure says why on stderr.

#include <charconv>
#include <cstring>
#include <iostream>
#include <string_view>

#include "Trace.h"

namespace {

const char* const kUsage = "usage: kovra -et E -fi F -ct C -outfile OUT [-cline] IN.bmp";

[[noreturn]] void Usage(const std::string& why)
{
    throw TTraceError(kExitUsage, why + "\n" + kUsage);
}

template <typename T>
T Number(std::string_view option, std::string_view text)
{
    T value{};
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        Usage(std::string(option) + " needs a number, not \"" + std::string(text) + "\"");
    return value;
}

struct TCommandLine {
    TTraceOptions Options;
    std::string OutFile;
    std::string InFile;
};

TCommandLine Parse(int argc, char** argv)
{
    TCommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto value = [&]() -> std::string_view {
            if (i + 1 >= argc)
                Usage(std::string(arg) + " needs a value");
            return argv[++i];
        };
        if (arg == "-et")
            line.Options.ErrorThreshold = Number<double>(arg, value());
        else if (arg == "-fi")
            line.Options.FilterIterations = Number<int>(arg, value());
        else if (arg == "-ct")
            line.Options.CornerThreshold = Number<int>(arg, value());
        else if (arg == "-outfile")
            line.OutFile = value();
        else if (arg == "-cline")
            line.Options.CentreLine = true;
        else if (arg.size() > 1 && arg[0] == '-')
            Usage("unknown option " + std::string(arg));
        else if (!line.InFile.empty())
            Usage("more than one picture given");
        else
            line.InFile = arg;
    }
    if (line.InFile.empty())
        Usage("no picture given");
    if (line.OutFile.empty())
        Usage("no -outfile given");
    if (!(line.Options.ErrorThreshold > 0.0))
        Usage("-et must be above 0");
    if (line.Options.FilterIterations < 0)
        Usage("-fi must not be negative");
    return line;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const TCommandLine line = Parse(argc, argv);
        const TInkBitmap bitmap = ReadBmpFile(line.InFile);
        const std::vector<TTraceLine> lines = line.Options.CentreLine ? TraceCentreLines(bitmap, line.Options)
                                                                      : TraceOutlines(bitmap, line.Options);
        WriteDxfFile(line.OutFile, lines);
        return 0;
    } catch (const TTraceError& e) {
        std::cerr << "kovra: " << e.what() << '\n';
        return e.ExitCode;
    } catch (const std::bad_alloc&) {
        std::cerr << "kovra: out of memory\n";
        return kExitTraceFailed;
    }
}
