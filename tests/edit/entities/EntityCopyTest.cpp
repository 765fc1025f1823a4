#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "cad/drawing/CADClassRegistration.h"
#include "cad/engine/EngineHooks.h"
#include "cad/model/ClassRegistry.h"
#include "edit/entities/EntityCopy.h"
#include "support/EditTestShapes.h"

using namespace edittest;

namespace {

class EntityCopy : public testing::Test {
protected:
    void SetUp() override { RegisterCADClasses(); }
    void TearDown() override
    {
        EngineHooks() = {};
        CADCoreClearRegistry();
    }
};

void ExpectSameBox(const TRect2D& a, const TRect2D& b)
{
    EXPECT_NEAR(a.FirstEdge.X, b.FirstEdge.X, 1e-2);
    EXPECT_NEAR(a.FirstEdge.Y, b.FirstEdge.Y, 1e-2);
    EXPECT_NEAR(a.SecondEdge.X, b.SecondEdge.X, 1e-2);
    EXPECT_NEAR(a.SecondEdge.Y, b.SecondEdge.Y, 1e-2);
}

} // namespace

// Every class is copied, where the original shows it, under a new ID; the
// classes that can hold it get the transform in their points.
TEST_F(EntityCopy, EveryClassCopiesInPlaceWithTheTransformBakedWhereItFits)
{
    TCADCmp2D drawing;
    const std::vector<TObject2D*> originals = AddOneOfEach(drawing);
    const std::set<std::string> baked{"TPunto2D", "TLine2D", "TFrame2D", "TCerchio2D", "TPolyline2D", "TPolygon2D",
                                      "TBSpline2D"};
    InstallEntityCopy(drawing);
    for (TObject2D* original : originals) {
        SCOPED_TRACE(original->ClassName());
        const int before = drawing.ObjectsCount();
        EngineHooks().CopiaOggetto(*original);
        ASSERT_EQ(drawing.ObjectsCount(), before + 1);
        TObject2D* copy = drawing.GetObject(drawing.NextObjectID - 1);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->ClassName(), original->ClassName());
        EXPECT_NE(copy->ID, original->ID);
        EXPECT_EQ(copy->HasTransform(), baked.count(original->ClassName()) == 0);
        if (original->ClassName() != "TFrame2D")
            ExpectSameBox(copy->Box, original->Box);
    }
}

TEST_F(EntityCopy, RotatedFrameStaysAFrameOnItsTurnedCorners)
{
    TCADCmp2D drawing;
    auto frame = std::make_unique<TFrame2D>(0, P(1, 0), P(4, 2));
    frame->SetModelTransform(MakeRotation2D(static_cast<float>(M_PI / 4)));
    TObject2D& original = *drawing.AddObject(-1, std::move(frame));
    auto& copy = static_cast<TFrame2D&>(*CopiaOggetto(drawing, original));
    EXPECT_FALSE(copy.HasTransform());
    const float h = static_cast<float>(std::sqrt(0.5));
    // Corner (1, 0) turns to (h, h), corner (4, 2) to (2h, 6h).
    EXPECT_NEAR((*copy.Points())[0].X, h, 1e-5);
    EXPECT_NEAR((*copy.Points())[0].Y, h, 1e-5);
    EXPECT_NEAR((*copy.Points())[1].X, 2 * h, 1e-5);
    EXPECT_NEAR((*copy.Points())[1].Y, 6 * h, 1e-5);
    ExpectSameBox(copy.Box, MakeRect2D(h, h, 2 * h, 6 * h));
    // The original is left as it was.
    EXPECT_TRUE(original.HasTransform());
}
