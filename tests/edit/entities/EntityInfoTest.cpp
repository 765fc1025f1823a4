#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "cad/engine/SelectObject.h"
#include "cad/engine/SelectObjectsParam.h"
#include "cad/shapes/ShapeDrawHooks.h"
#include "edit/commands/CommandStates.h"
#include "edit/entities/EntityInfo.h"
#include "support/EditTestShapes.h"
#include "support/StateTestSupport.h"

using namespace edittest;

namespace {

// The program's own English texts, by number.
std::string EnglishMessage(int message)
{
    static const std::map<int, std::string> texts = [] {
        std::map<int, std::string> found;
        std::istringstream file(ReadFile(std::string(KESTRO_SOURCE_DIR) + "/data/language/english.lng"));
        bool inStrings = false;
        for (std::string line; std::getline(file, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!line.empty() && line[0] == '[')
                inStrings = line == "[String]";
            else if (const auto eq = line.find('='); inStrings && eq != std::string::npos)
                found[std::stoi(line.substr(0, eq))] = line.substr(eq + 1);
        }
        return found;
    }();
    const auto found = texts.find(message);
    return found == texts.end() ? "?" + std::to_string(message) : found->second;
}

void Print(std::ostream& out, const TInfoNode& node, int depth)
{
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << node.Text << '\n';
    for (const TInfoNode& child : node.Children)
        Print(out, child, depth + 1);
}

std::string Printed(const TInfoNode& node)
{
    std::ostringstream out;
    Print(out, node, 0);
    return out.str();
}

class EntityInfo : public statetest::StateTest {
protected:
    void SetUp() override
    {
        StateTest::SetUp();
        EngineHooks().PromptText = EnglishMessage;
        SavedUnits = UnitsMode;
        UnitsMode = 0;
    }
    void TearDown() override
    {
        InfoOutput() = {};
        ShapeDrawHooks() = {};
        UnitsMode = SavedUnits;
        StateTest::TearDown();
    }
    std::int32_t SavedUnits = 0;
};

} // namespace

// The information of one entity of every class, each turned a quarter and
// moved by (10, 20), and the summary of that drawing with one layer hidden.
TEST_F(EntityInfo, TreesOfEveryClassAndTheDrawingSummary)
{
    const std::vector<TObject2D*> objects = AddOneOfEach(Drawing);
    std::ostringstream out;
    for (TObject2D* object : objects) {
        out << "== " << object->ClassName() << '\n';
        if (const auto tree = EntityInfoTree(*object))
            out << Printed(*tree);
    }
    // The point and the line go to layer 3, which is hidden; an invisible
    // object is not counted at all.
    objects[0]->Layer = 3;
    objects[1]->Layer = 3;
    Drawing.Layers().GetLayer(3).Visible = false;
    objects[2]->Visible = false;
    out << "== summary\n" << Printed(DrawingSummaryTree(Drawing));

    const std::string actual = out.str();
    if (std::getenv("KESTRO_UPDATE_GOLDEN") != nullptr)
        std::ofstream(GoldenPath("entity-info.txt"), std::ios::binary) << actual;
    EXPECT_EQ(actual, ReadFile(GoldenPath("entity-info.txt")));
}

TEST_F(EntityInfo, ReadoutsOfLinesAndDistances)
{
    std::array<std::string, 4> line;
    std::array<std::string, 8> distance;
    InfoOutput().ShowLine = [&](const std::array<std::string, 4>& texts) { line = texts; };
    InfoOutput().ShowDistance = [&](const std::array<std::string, 8>& texts) { distance = texts; };
    InstallInfoReadouts();

    // A line drawn straight down reads 270, not -90.
    ShapeDrawHooks().InfoLinea(P(1, 5), P(1, 2));
    EXPECT_EQ(line, (std::array<std::string, 4>{"0.000", "-3.000", "3.000", "270.000"}));
    ShapeDrawHooks().InfoLinea(P(0, 0), P(-1, 0));
    EXPECT_EQ(line[3], "180.000");
    ShapeDrawHooks().InfoLinea(P(2, 2), P(2, 2));
    EXPECT_EQ(line[3], "0.000");

    UnitsMode = 1;
    EngineHooks().InfoDistanza(P(1, 1), P(4, 5));
    EXPECT_EQ(distance, (std::array<std::string, 8>{"1.0000", "1.0000", "4.0000", "5.0000", "3.0000", "4.0000",
                                                    "5.0000", "53.1301"}));
}

// The information command's pick shows the tree of the picked container
// (its count, not its children) and ends the operation.
TEST_F(EntityInfo, PickingAnEntityShowsItsTreeAndEnds)
{
    std::vector<TInfoNode> shown;
    InfoOutput().ShowTree = [&](const TInfoNode& tree) { shown.push_back(tree); };
    std::vector<std::unique_ptr<TObject2D>> children;
    children.push_back(std::make_unique<TLine2D>(0, P(10, 10), P(60, 10)));
    children.push_back(std::make_unique<TLine2D>(0, P(10, 10), P(10, 60)));
    children.push_back(std::make_unique<TPunto2D>(0, P(30, 30)));
    Add(std::make_unique<TContainer2D>(0, std::move(children)));

    const TCADStateClass after = CommandStateClass("TMySelInfo");
    ASSERT_TRUE(after == TCADStateClass::Of<TMySelInfo>());
    ASSERT_TRUE(Engine->StartOperation(TCADStateClass::Of<TCAD2DSelectObject>(),
                                       std::make_unique<TCAD2DSelectObjectsParam>(5, after)));
    Click(35, 10);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(Printed(shown[0]), "Group\n"
                                 "  Bounding box\n"
                                 "    Min X:10.000, Y:10.000\n"
                                 "    Max X:60.000, Y:60.000\n"
                                 "  Layer 0\n"
                                 "  Objects 3\n");
    EXPECT_TRUE(Idle());
}
