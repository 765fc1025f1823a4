// Drawings whose blocks refer to blocks before them, over and over: the import
// holds them to the bounds every reader of block references holds, and the
// work it does stays bounded by them.

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DXFTestSupport.h"
#include "cad/drawing/SourceBlockIndex.h"
#include "cad/stream/CADStream.h"
#include "support/VectFontTestSupport.h"

using namespace dxftest;

namespace {

std::string HostileFile(const std::string& name)
{
    return std::string(KESTRO_TEST_DATA_DIR) + "/hostile/" + name;
}

// A chain of blocks, each inserting the one before it once, and the last one
// inserted in the drawing.
std::string InsertChain(int blocks)
{
    std::string text = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB0\n70\n0\n10\n0\n20\n0\n"
                       "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDBLK\n";
    for (int i = 1; i < blocks; ++i)
        text += "0\nBLOCK\n2\nB" + std::to_string(i) + "\n70\n0\n10\n0\n20\n0\n0\nINSERT\n2\nB" +
                std::to_string(i - 1) + "\n10\n0\n20\n0\n0\nENDBLK\n";
    return text + "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nINSERT\n2\nB" + std::to_string(blocks - 1) +
           "\n10\n0\n20\n0\n0\nENDSEC\n0\nEOF\n";
}

// What drawing the whole result would take: the deepest chain of references
// and the objects drawn, over every object of the drawing.
TBlockExpansion Expansion(TCADCmp2D& drawing)
{
    TSourceBlockIndex index;
    TBlockExpansion all;
    for (TObject2D* object : Objects(drawing)) {
        const TBlockExpansion one = index.Measure(*object);
        all.Depth = std::max(all.Depth, one.Depth);
        all.Objects += one.Objects;
    }
    return all;
}

} // namespace

TEST(DXFHostileFiles, NestedBlocksAreHeldToTheBoundsOfBlockReferences)
{
    struct TCase {
        std::string Name;
        std::string Text;
        int BlocksKept;
        int Refused;
        int InsertsLeftOut;
    };
    // Each block inserts the one before it twice: B<n> expands to 5 x 2^n - 3
    // objects, and B14 is the first past 65536. Both INSERTs of every later
    // block name a block left out, and so does the drawing's.
    const std::vector<TCase> cases = {
        {"dxf-nested-inserts-n20-k2.dxf", "", 14, 1, 2 * 6 + 1},
        {"dxf-nested-inserts-n40-k2.dxf", "", 14, 1, 2 * 26 + 1},
        // A chain 20,000 blocks long: each reference found at once by its
        // name, until the depth limit leaves the 34th out.
        {"a chain of 20000 inserts", InsertChain(20000), MaxReferenceDepth + 1, 1, 20000 - MaxReferenceDepth - 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        vectfont_test::TMessageRecorder messages;
        TImported imported = c.Text.empty() ? ImportFile(HostileFile(c.Name)) : ImportText(c.Text);
        EXPECT_EQ(imported.Drawing->SourceBlocksCount(), c.BlocksKept);
        EXPECT_EQ(imported.Result.RefusedBlocks, c.Refused);
        EXPECT_EQ(imported.Result.LeftOut, (std::map<std::string, int>{{"INSERT", c.InsertsLeftOut}}));
        EXPECT_EQ(imported.Drawing->ObjectsCount(), 0) << "the drawing's INSERT names a block left out";
        EXPECT_TRUE(messages.Texts.empty()) << "one notice for the file, not one per block";
        const std::string notice = DXFImportNotice(imported.Result);
        EXPECT_NE(notice.find(std::to_string(c.InsertsLeftOut) + " INSERT"), std::string::npos) << notice;
        EXPECT_NE(notice.find("Some blocks cannot be read (block references nested deeper than 32 levels or "
                              "expanding to more than 65536 objects): 1."),
                  std::string::npos)
            << notice;
        // The work the result asks of every later draw, pick and box.
        auto blocks = imported.Drawing->SourceBlocksIterator();
        TSourceBlockIndex index;
        for (TGraphicObject* block = blocks->First(); block; block = blocks->Next()) {
            const TBlockExpansion expansion = index.Measure(*dynamic_cast<TObject2D*>(block));
            EXPECT_LE(expansion.Depth, MaxReferenceDepth);
            EXPECT_LE(expansion.Objects, MaxExpandedObjects);
        }
        EXPECT_LE(Expansion(*imported.Drawing).Objects, MaxExpandedObjectsPerFile);
    }
}

// References of the drawing are paid from one budget per file: many INSERTs,
// each of a block within the bounds, cannot ask for too much together.
TEST(DXFHostileFiles, InsertsOfTheDrawingShareOneBudget)
{
    std::string text = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB0\n70\n0\n10\n0\n20\n0\n"
                       "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDBLK\n";
    for (int i = 1; i <= 12; ++i)
        text += "0\nBLOCK\n2\nB" + std::to_string(i) + "\n70\n0\n10\n0\n20\n0\n" +
                "0\nINSERT\n2\nB" + std::to_string(i - 1) + "\n10\n0\n20\n0\n" + "0\nINSERT\n2\nB" +
                std::to_string(i - 1) + "\n10\n1\n20\n0\n0\nENDBLK\n";
    text += "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    // An INSERT of B12 expands to 5 x 2^12 - 2 objects: 51 of them fit 2^20, 60 do not.
    for (int i = 0; i < 60; ++i)
        text += "0\nINSERT\n2\nB12\n10\n0\n20\n0\n";
    text += "0\nENDSEC\n0\nEOF\n";
    TImported imported = ImportText(text);
    EXPECT_EQ(imported.Drawing->ObjectsCount(), 51);
    EXPECT_EQ(imported.Result.RefusedBlocks, 9);
    EXPECT_LE(Expansion(*imported.Drawing).Objects, MaxExpandedObjectsPerFile);
}
