// Writing the traced lines (and the points of dots) as a small R12 DXF file. It holds no tables: the
// importer would otherwise take the file's layers over the drawing's own.

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "Trace.h"

namespace {

// Numbers in the C locale's form, whatever the user's locale, to a thousandth of a pixel.
void Number(std::string& out, double value)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3);
    out.append(text, result.ptr);
}

void Pair(std::string& out, const char* code, const char* value)
{
    out += code;
    out += '\n';
    out += value;
    out += '\n';
}

void Coordinates(std::string& out, TTracePoint p)
{
    out += "10\n";
    Number(out, p.X);
    out += "\n20\n";
    Number(out, p.Y);
    out += '\n';
}

} // namespace

void WriteDxfFile(const std::string& fileName, const std::vector<TTraceLine>& lines)
{
    std::string out;
    out.reserve(64 * 1024);
    Pair(out, "0", "SECTION");
    Pair(out, "2", "HEADER");
    Pair(out, "9", "$ACADVER");
    Pair(out, "1", "AC1009");
    Pair(out, "0", "ENDSEC");
    Pair(out, "0", "SECTION");
    Pair(out, "2", "ENTITIES");
    for (const TTraceLine& line : lines) {
        if (line.Points.size() == 1) {
            Pair(out, "0", "POINT");
            Pair(out, "8", "0");
            Coordinates(out, line.Points[0]);
            continue;
        }
        if (line.Points.empty())
            continue;
        Pair(out, "0", "POLYLINE");
        Pair(out, "8", "0");
        Pair(out, "66", "1");
        Pair(out, "70", line.Closed ? "1" : "0");
        for (const TTracePoint& p : line.Points) {
            Pair(out, "0", "VERTEX");
            Pair(out, "8", "0");
            Coordinates(out, p);
        }
        Pair(out, "0", "SEQEND");
    }
    Pair(out, "0", "ENDSEC");
    Pair(out, "0", "EOF");

    // A reader never sees half a file: the whole text goes to a sibling first.
    const std::string part = fileName + ".part";
    {
        std::ofstream file(part, std::ios::binary | std::ios::trunc);
        if (file)
            file.write(out.data(), static_cast<std::streamsize>(out.size()));
        file.close();
        if (!file) {
            std::remove(part.c_str());
            throw TTraceError(kExitWriteFailed, fileName + ": cannot be written");
        }
    }
    std::error_code error;
    std::filesystem::rename(part, fileName, error);
    if (error) {
        std::remove(part.c_str());
        throw TTraceError(kExitWriteFailed, fileName + ": cannot be written (" + error.message() + ")");
    }
}
