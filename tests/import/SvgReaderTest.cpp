#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "import/SvgException.h"
#include "import/SvgParser.h"
#include "support/ExceptionMessage.h"
#include "SvgTestSupport.h"

using svgtest::PathDocument;
using svgtest::Read;
using svgtest::Vertices;

namespace {

std::string ReadError(const std::string& document)
{
    return cadtest::MessageOf<svg::svg_exception>([&] { Read(document); });
}

std::string Rgba(const agg::rgba8& c)
{
    return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + "," + std::to_string(c.a);
}

TEST(SvgReader, PathDataAsDrawingProgramsWriteIt)
{
    const struct {
        const char* data;
        const char* vertices;
    } cases[] = {
        // Pairs after a move draw lines; signs and points separate numbers.
        {"M 10 20 30 40", "M10,20 L30,40"},
        {"M10-5", "M10,-5"},
        {"M0 0L1-2.5.5.5", "M0,0 L1,-2.5 L0.5,0.5"},
        {"M1e1+5 2E-1,.5e1", "M10,5 L0.2,5"},
        {"M0,0h10v10H0z", "M0,0 L10,0 L10,10 L0,10 Z"},
        // A relative path starts from the origin; after a close, from the subpath's start.
        {"m10 10 5 5", "M10,10 L15,15"},
        {"M10 10 l5 0 z m2 2 l1 0", "M10,10 L15,10 Z M12,12 L13,12"},
        // A drawing command straight after a close starts a new subpath there.
        {"M0 0 L10 0 L10 10 Z L0 10 L5 5 Z", "M0,0 L10,0 L10,10 Z M0,0 L0,10 L5,5 Z"},
        {"M10 10 l5 0 z l0 5 q1 1 2 2", "M10,10 L15,10 Z M10,10 L10,15 Q11,16 Q12,17"},
        {"M1 1 L2 2 Z Z C3 3 4 4 5 5 z h1", "M1,1 L2,2 Z M1,1 C3,3 C4,4 C5,5 Z M1,1 L2,1"},
        // Horizontal and vertical lines need a point to start from.
        {"H5 V5 M1 1", "M1,1"},
        // Curves keep their control points; relative curves count from the point before them.
        {"M0 0 C 10 0 10 10 0 10", "M0,0 C10,0 C10,10 C0,10"},
        {"M0 0 c1 0 1 1 0 1 s-1 1 0 1", "M0,0 C1,0 C1,1 C0,1 C-1,1 C-1,2 C0,2"},
        {"M0 0 L5 5 S 10 10 20 20", "M0,0 L5,5 C5,5 C10,10 C20,20"},
        {"M0 0 Q5 5 10 0 T20 0", "M0,0 Q5,5 Q10,0 Q15,-5 Q20,0"},
        {"M0 0 q5 5 10 0 t10 0", "M0,0 Q5,5 Q10,0 Q15,-5 Q20,0"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Vertices(Read(PathDocument(c.data))->Paths), c.vertices) << c.data;
}

TEST(SvgReader, FaultsEndTheReadingWithTheirText)
{
    const struct {
        std::string document;
        const char* message;
    } cases[] = {
        {PathDocument("M0 0 L10 x"), "path_tokenizer::next : Invalid Character x"},
        {PathDocument("M0 0 L10 Z"), "parse_path: Command L: bad or missing parameters"},
        {PathDocument("M0 0 L10"), "parse_path: Unexpected end of path"},
        {PathDocument("M0 0 A5 5 0 0 1 10 10"), "parse_path: Command A: NOT IMPLEMENTED YET"},
        {PathDocument("M0 0a5 5 0 1010 10"), "parse_path: Command A: NOT IMPLEMENTED YET"},
        {PathDocument("M0 0 F1 1"), "parse_path: Invalid Command F"},
        {PathDocument("10 10"), "parse_path: Invalid Command "},
        {"<svg><path d='M0 0'><path d='M1 1'/></path></svg>", "start_element: Nested path"},
        {"<svg><polyline points='1'/></svg>", "parse_poly: Too few coordinates"},
        {"<svg><polygon points='1 2 3'/></svg>", "parse_poly: Odd number of coordinates"},
        {"<svg><rect width='-1' height='5'/></svg>", "parse_rect: Invalid width: "},
        {"<svg><rect width='1' height='-5'/></svg>", "parse_rect: Invalid height: "},
        {"<svg><rect style='fill:Blue' width='1' height='1'/></svg>", "parse_color: Invalid color name Blue"},
        {"<svg><g fill='url(#gradient)'/></svg>", "parse_color: Invalid color name url(#gradient)"},
        {"<svg><path style='fill:currentColor' d='M0 0'/></svg>", "parse_color: Invalid color name currentColor"},
        {"<svg><g transform='matrix(1 2 3)'/></svg>", "parse_matrix: Invalid number of arguments"},
        {"<svg><g transform='rotate(1 2)'/></svg>", "parse_rotate: Invalid number of arguments"},
        {"<svg><g transform='translate(1 2'/></svg>", "parse_transform_args: Invalid syntax"},
        {"<svg><g transform='scale(1 2 3)'/></svg>", "parse_transform_args: Too many arguments"},
        {"<svg>\n<g>\n<path d='M0 0'></g>\n</svg>", "mismatched tag at line 3"},
        {"", "no element found at line 1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadError(c.document), c.message) << c.document;

    svg::path_renderer paths;
    svg::parser reader(paths);
    EXPECT_EQ(cadtest::MessageOf<svg::svg_exception>([&] { reader.parse("/no/such/drawing.svg"); }),
              "Couldn't open file /no/such/drawing.svg");
    EXPECT_EQ(cadtest::MessageOf<svg::svg_exception>([&] { paths.pop_attr(); }), "pop_attr : Attribute stack is empty");
    EXPECT_EQ(cadtest::MessageOf<svg::svg_exception>([&] { paths.cur_attr(); }), "cur_attr : Attribute stack is empty");
    EXPECT_EQ(cadtest::MessageOf<svg::svg_exception>([&] { paths.end_path(); }), "end_path : The path was not begin");
}

// A path's attributes in short: fill, stroke, width, cap, join, miter limit.
std::string Describe(const svg::path_attributes& a)
{
    return (a.fill_flag ? Rgba(a.fill_color) : "none") + " " + (a.stroke_flag ? Rgba(a.stroke_color) : "none") +
           " " + svgtest::Number(a.stroke_width) + " " + std::to_string(a.line_cap) + std::to_string(a.line_join) +
           " " + svgtest::Number(a.miter_limit);
}

TEST(SvgReader, ColoursStylesAndStrokes)
{
    const struct {
        const char* attributes;
        const char* described;
    } cases[] = {
        {"", "0,0,0,255 none 1 00 4"},
        {"style='fill:#0000ff'", "0,0,255,255 none 1 00 4"},
        {"fill='#f00'", "255,0,0,255 none 1 00 4"},
        {"fill='#102030'", "16,32,48,255 none 1 00 4"},
        {"fill=' #A0b0C0 '", "160,176,192,255 none 1 00 4"},
        {"fill='#12345G'", "0,0,0,255 none 1 00 4"},
        {"fill='lightgoldenrodyellow'", "250,250,210,255 none 1 00 4"},
        {"fill='zzzzzzzzzzz'", "0,0,0,0 none 1 00 4"},
        {"style=' fill : teal ;; fill-opacity:0.5; junk'", "0,128,128,128 none 1 00 4"},
        {"fill='red' fill-opacity='2'", "255,0,0,255 none 1 00 4"},
        {"fill='none' stroke='blue' stroke-linecap='wide' stroke-linejoin='round'", "none 0,0,255,255 1 02 4"},
        {"style='stroke:#00ff00;stroke-width:2.5;stroke-opacity:0.2;stroke-linecap:round;"
         "stroke-linejoin:bevel;stroke-miterlimit:7'",
         "0,0,0,255 0,255,0,51 2.5 23 7"},
        {"style='stroke:red;stroke-linecap:square;stroke:none'", "0,0,0,255 none 1 10 4"},
    };
    for (const auto& c : cases) {
        const auto read = Read(std::string("<svg><path d='M0 0' ") + c.attributes + "/></svg>");
        EXPECT_EQ(Describe(read->Paths.attributes().at(0)), c.described) << c.attributes;
    }
}

TEST(SvgReader, GroupsStackTheirAttributes)
{
    const auto read = Read(R"svg(<svg>
        <g fill="red" transform="translate(100)">
          <g stroke="blue"><rect width="1" height="1" fill="lime"/></g>
          <path d="M0 0" transform="scale(2)"/>
        </g>
        <path d="M0 0"/>
    </svg>)svg");
    std::string described;
    for (const svg::path_attributes& path : read->Paths.attributes())
        described += Describe(path) + "\n";
    EXPECT_EQ(described, "0,255,0,255 0,0,255,255 1 00 4\n255,0,0,255 none 1 00 4\n0,0,0,255 none 1 00 4\n");
    // The path's own transform acts first, then its group's.
    double x = 1.0, y = 1.0;
    read->Paths.attributes()[1].transform.transform(&x, &y);
    EXPECT_DOUBLE_EQ(x, 102.0);
    EXPECT_DOUBLE_EQ(y, 2.0);
    EXPECT_TRUE(read->Paths.attributes()[2].transform.is_identity());
}

TEST(SvgReader, TransformsMapPoints)
{
    const struct {
        const char* transform;
        double x, y;   // a point
        double tx, ty; // where it goes
    } cases[] = {
        {"rotate(90 10 10)", 20, 10, 10, 20},
        {"rotate(90)", 1, 0, 0, 1},
        {"translate(5)", 1, 1, 6, 1},
        {"translate(5,-3)", 1, 1, 6, -2},
        {"scale(2)", 1, 3, 2, 6},
        {"scale(2 -1)", 1, 3, 2, -3},
        {"matrix(1 0 0 1 7 8)", 1, 1, 8, 9},
        {"translate(10) scale(2)", 1, 1, 12, 2},
        {"skewX(45)", 0, 1, 1, 1},
        {"skewY(45)", 1, 0, 1, 1},
        {"unknown(3) translate(+1e1 .5)", 0, 0, 10, 0.5},
    };
    for (const auto& c : cases) {
        const auto read = Read(std::string("<svg><path d='M0 0' transform='") + c.transform + "'/></svg>");
        double x = c.x, y = c.y;
        read->Paths.attributes().at(0).transform.transform(&x, &y);
        EXPECT_NEAR(x, c.tx, 1e-9) << c.transform;
        EXPECT_NEAR(y, c.ty, 1e-9) << c.transform;
    }
}

// One path of many commands, as generated drawings hold: the XML parser
// takes up an unfinished element anew with every chunk it is given, so the
// chunks must grow with what was read, or the work grows with the square of
// the path's length.
TEST(SvgReader, ALongPathIsScannedInLinearWork)
{
    constexpr int kLines = 200'000;
    std::string data = "M0 0";
    for (int i = 1; i <= kLines; ++i)
        data += " L" + std::to_string(i) + ' ' + std::to_string(i % 7);
    const std::string document = PathDocument(data);
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "kestro-long-path.svg";
    std::ofstream(file, std::ios::binary) << document;

    for (const bool fromFile : {false, true}) {
        svg::path_renderer paths;
        svg::parser reader(paths);
        if (fromFile)
            reader.parse(file.string());
        else
            reader.parse_bytes(document);
        EXPECT_EQ(paths.storage().total_vertices(), kLines + 1u);
        EXPECT_GE(reader.scanned_bytes(), document.size());
        EXPECT_LE(reader.scanned_bytes(), 3 * document.size()) << "from a file: " << fromFile;
        std::printf("%zu bytes, %zu scanned\n", document.size(), reader.scanned_bytes());
    }
    std::filesystem::remove(file);
}

TEST(SvgReader, TitleIsCutAndBlanked)
{
    EXPECT_EQ(Read("<svg><title>a\tb\nc</title></svg>")->Title, "a b c");
    const std::string title = Read("<svg><title>" + std::string(300, 'x') + "</title></svg>")->Title;
    EXPECT_EQ(title, std::string(255, 'x'));
}

} // namespace
