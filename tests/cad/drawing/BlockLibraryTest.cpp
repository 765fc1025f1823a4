#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <QImage>
#include <QPainter>

#include "cad/canvas/DecorativeCanvas.h"
#include "cad/drawing/BlockLibrary.h"
#include "support/BlockTestSupport.h"
#include "support/ImageTestSupport.h"

using namespace blocktest;

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes Concat(const std::vector<TBytes>& parts)
{
    TBytes all;
    for (const TBytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TBytes Text(const std::string& text)
{
    return TBytes(text.begin(), text.end());
}

// "CAD422", the byte 2 and the source-block section of two line blocks.
TBytes TwoBlockLibrary()
{
    TCADCmp2D cad;
    for (const char* name : {"First", "Second"})
        AddLineBlock(cad, name, true, true);
    TCADStreamWriter out;
    SaveBlockLibrary(cad, out);
    return out.Data();
}

std::string ProgramFile(const char* name)
{
    return std::string(KESTRO_PROGRAM_DIR) + "/" + name;
}

class BlockLibraryTest : public TRegisteredClassesTest {};

} // namespace

TEST_F(BlockLibraryTest, StreamFramingAndItsRefusals)
{
    const TBytes library = TwoBlockLibrary();
    ASSERT_EQ(Text("CAD422\x02"), TBytes(library.begin(), library.begin() + 7));
    {
        TCADCmp2D cad;
        TCADStreamReader in = ReaderOf(Concat({Text("CAD422\x02"), {0, 0, 0, 0}}));
        cad.LoadLibrary(in);
        EXPECT_EQ(cad.SourceBlocksCount(), 0) << "an empty section loads nothing and raises nothing";
    }
    struct TCase {
        const char* Name;
        TBytes Bytes;
        std::string Message;
    };
    TBytes markerOne = library;
    markerOne[6] = 1;
    const std::vector<TCase> cases = {
        {"marker byte 1", markerOne, "TCADCmp.LoadLibrary: no blocks found"},
        {"older version", Concat({Text("CAD41 "), TBytes(library.begin() + 6, library.end())}),
         "TCADCmp.LoadLibrary: Invalid stream version."},
        {"not a library", Text("GIF89a"), "TCADCmp.LoadLibrary: Invalid stream version."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TCADCmp2D cad;
        TCADStreamReader in = ReaderOf(c.Bytes);
        try {
            cad.LoadLibrary(in);
            FAIL() << "refused";
        } catch (const ECADFileNotValid& e) {
            EXPECT_EQ(e.what(), c.Message);
        }
        EXPECT_EQ(cad.SourceBlocksCount(), 0);
    }
    // A handler may accept another version; the section is then read in it.
    TCADCmp2D cad;
    std::string seenType;
    cad.OnInvalidFileVersion = [&](TCADCmp&, TStreamType type, TCADStreamReader&, bool& resume) {
        seenType = type == TStreamType::Library ? "library" : "drawing";
        resume = true;
    };
    TCADStreamReader in = ReaderOf(cases[1].Bytes);
    cad.LoadLibrary(in);
    EXPECT_EQ(seenType, "library");
    EXPECT_EQ(SourceBlockNames(cad), (std::vector<std::string>{"First", "Second"}));
}

TEST_F(BlockLibraryTest, LibraryFilesThatCannotBeLoadedAreReported)
{
    const TBytes library = TwoBlockLibrary();
    TBytes truncated = library;
    truncated.resize(library.size() - 20);
    // The second block's class code is unknown: its record cannot be skipped.
    TBytes unknownClass = library;
    const std::size_t secondBlock = 7 + 4 + (library.size() - 11) / 2;
    ASSERT_EQ(unknownClass[secondBlock], CADCoreFindClassIndex("TSourceBlock2D"));
    unknownClass[secondBlock] = 200;

    struct TCase {
        const char* Name;
        std::optional<TBytes> Bytes; // none: no file at all
        std::string Message;
        bool Loaded;
        std::vector<std::string> Blocks;
    };
    const std::string missing = TestFilePath("Missing.blk");
    const std::vector<TCase> cases = {
        {"missing file", std::nullopt, "File not found!\r\n" + missing, false, {}},
        {"wrong signature", Concat({Text("KESTRO"), TBytes(library.begin() + 6, library.end())}),
         "TCADCmp.LoadLibrary: Invalid stream version.", false, {}},
        {"truncated file", truncated, "truncated file.blk: ", false, {"First"}},
        {"unknown class code", unknownClass, "Object class not found. Object not load", true, {"First"}},
    };
    std::filesystem::remove(missing);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string file =
            c.Bytes ? WriteTestFile(std::string(c.Name) + ".blk", *c.Bytes) : missing;
        TCADCmp2D cad;
        TMessageRecorder messages;
        EXPECT_EQ(LoadBlockLibraryFile(cad, file), c.Loaded);
        ASSERT_EQ(messages.Texts.size(), 1u);
        EXPECT_NE(messages.Texts[0].find(c.Message), std::string::npos) << messages.Texts[0];
        if (std::string(c.Name) == "truncated file") {
            EXPECT_NE(messages.Texts[0].find("past the end"), std::string::npos) << messages.Texts[0];
        }
        EXPECT_EQ(SourceBlockNames(cad), c.Blocks) << "blocks read before the failure stay";
    }
}

TEST_F(BlockLibraryTest, TheShippedLibraryLoadsAndItsBlocksDraw)
{
    TCADCmp2D cad;
    TMessageRecorder messages;
    ASSERT_TRUE(LoadBlockLibraryFile(cad, ProgramFile(BlockLibraryFileName)));
    EXPECT_TRUE(messages.Texts.empty()) << messages.Texts[0];
    EXPECT_EQ(SourceBlockNames(cad), (std::vector<std::string>{"CentreMark", "Arrow", "Hole", "DatumTarget"}));
    EXPECT_EQ(cad.FindSourceBlock(BlockNameFromText("CentreMark")).References(), 1u) << "the hole shows the mark";

    // One reference to every block, side by side, drawn into a picture a reviewer can open.
    constexpr int Cell = 120;
    constexpr float Scale = 5.0f;
    const std::vector<std::string> names = SourceBlockNames(cad);
    QImage image(Cell * static_cast<int>(names.size()), Cell, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        TDecorativeCanvas canvas(&painter);
        canvas.Brush.Color = clNavy;
        for (std::size_t i = 0; i < names.size(); ++i) {
            TSourceBlock2D& block = cad.FindSourceBlock(BlockNameFromText(names[i]));
            EXPECT_FALSE(BoxIsEmpty(block.Box)) << names[i] << " " << BoxText(block.Box);
            TBlock2D reference(static_cast<std::int32_t>(i), &block);
            TTransform2D view = MakeScale2D(Scale, -Scale);
            view.M[2][0] = static_cast<float>(Cell * static_cast<int>(i) + Cell / 2);
            view.M[2][1] = Cell / 2.0f;
            reference.Draw(view, canvas, MakeRect2D(0, 0, static_cast<float>(image.width()), Cell), 0);
        }
    }
    EXPECT_TRUE(imagetest::SaveTestImage(image, "library-blocks.png"));
    for (std::size_t i = 0; i < names.size(); ++i) {
        int ink = 0;
        for (int y = 0; y < Cell; ++y)
            for (int x = Cell * static_cast<int>(i); x < Cell * static_cast<int>(i + 1); ++x)
                ink += image.pixel(x, y) != qRgb(255, 255, 255);
        EXPECT_GT(ink, 40) << names[i] << " draws in its own cell";
    }
    // The centre of the hole: the mark's two strokes cross there.
    EXPECT_NE(image.pixel(2 * Cell + Cell / 2, Cell / 2), qRgb(255, 255, 255));
}

TEST_F(BlockLibraryTest, NoSingleDamagedByteMakesTheLoaderMisbehave)
{
    const std::optional<TBytes> shipped = ReadWholeFile(ProgramFile(BlockLibraryFileName));
    ASSERT_TRUE(shipped);
    TMessageRecorder messages;
    int refused = 0;
    for (std::size_t at = 0; at < shipped->size(); ++at) {
        for (const int value : {0x00, 0x7F, 0xFF}) {
            TBytes damaged = *shipped;
            damaged[at] = static_cast<std::uint8_t>(value);
            TCADCmp2D cad;
            TCADStreamReader in = ReaderOf(damaged);
            try {
                cad.LoadLibrary(in);
            } catch (const ECADCoreException&) {
                ++refused;
            }
        }
    }
    EXPECT_GT(refused, 0);
    EXPECT_FALSE(messages.Texts.empty()) << "skipped records are reported";
}
