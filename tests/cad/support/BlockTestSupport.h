#pragma once

// Helpers for the block and stream tests: the engine's classes registered
// for one test, blocks of a few lines, and records read back.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "VectFontTestSupport.h"
#include "cad/drawing/CADClassRegistration.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/ClassRegistry.h"
#include "cad/model/GraphicObjectStream.h"
#include "cad/shapes/Block2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/stream/CADStream.h"

namespace blocktest {

using vectfont_test::TMessageRecorder;

// Every test here needs the stream codes; the registry is left empty after.
class TRegisteredClassesTest : public testing::Test {
protected:
    void SetUp() override { RegisterCADClasses(); }
    void TearDown() override { CADCoreClearRegistry(); }
};

inline std::unique_ptr<TObject2D> Line(std::int32_t id, float x1, float y1, float x2, float y2)
{
    return std::make_unique<TLine2D>(id, MakePoint2D(x1, y1), MakePoint2D(x2, y2));
}

inline std::vector<std::unique_ptr<TObject2D>> Children(std::unique_ptr<TObject2D> a,
                                                        std::unique_ptr<TObject2D> b = nullptr)
{
    std::vector<std::unique_ptr<TObject2D>> children;
    children.push_back(std::move(a));
    children.push_back(std::move(b));
    return children;
}

inline std::unique_ptr<TSourceBlock2D> LineBlock(const std::string& name, float x1, float y1, float x2, float y2)
{
    return std::make_unique<TSourceBlock2D>(0, Children(Line(5, x1, y1, x2, y2)), BlockNameFromText(name));
}

// A line block, from the library or the drawing's own, to be saved or not,
// added to the drawing.
inline TSourceBlock2D* AddLineBlock(TCADCmp2D& cad, const std::string& name, bool library, bool toBeSaved)
{
    auto block = LineBlock(name, 0, 0, 1, 1);
    block->IsLibraryBlock = library;
    block->ToBeSaved = toBeSaved;
    return cad.AddSourceBlock(std::move(block));
}

// The names of the drawing's source blocks, in list order.
inline std::vector<std::string> SourceBlockNames(TCADCmp2D& cad)
{
    std::vector<std::string> names;
    auto blocks = cad.SourceBlocksIterator();
    for (TGraphicObject* o = blocks->First(); o; o = blocks->Next())
        names.push_back(BlockNameToText(static_cast<TSourceBlock2D*>(o)->Name));
    return names;
}

inline std::vector<std::uint8_t> RecordOf(TGraphicObject& object)
{
    TCADStreamWriter out;
    object.SaveToStream(out);
    return out.Data();
}

inline TCADStreamReader ReaderOf(const std::vector<std::uint8_t>& bytes)
{
    return TCADStreamReader(bytes, "test stream");
}

// A file under the build tree for the block tests (the folder is made).
inline std::string TestFilePath(const std::string& name)
{
    const std::filesystem::path dir = std::filesystem::path(KESTRO_TEST_OUTPUT_DIR) / "blocks";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

inline std::string WriteTestFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    return testfiles::WriteWholeFile(TestFilePath(name), bytes);
}

inline std::string BoxText(const TRect2D& b)
{
    return "(" + std::to_string(b.FirstEdge.X) + ", " + std::to_string(b.FirstEdge.Y) + ")-(" +
           std::to_string(b.SecondEdge.X) + ", " + std::to_string(b.SecondEdge.Y) + ")";
}

inline bool BoxIsEmpty(const TRect2D& b)
{
    return b.FirstEdge.X == b.SecondEdge.X || b.FirstEdge.Y == b.SecondEdge.Y;
}

} // namespace blocktest
