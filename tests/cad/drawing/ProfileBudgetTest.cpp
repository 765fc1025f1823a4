// Curves whose records ask for outlines of tens of thousands of points: a
// file pays for the points beyond each class's usual precision from one
// budget, and files of usual curves load exactly as they were written.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cad/model/GraphicObjectStream.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Ellipse2D.h"
#include "support/BlockTestSupport.h"

using namespace blocktest;

namespace {

using TBytes = std::vector<std::uint8_t>;

// One curve of each class whose profile follows its precision, numbered from `id`.
std::vector<std::unique_ptr<TCurve2D>> OneOfEachCurve(std::int32_t id)
{
    const float x = static_cast<float>(id % 100);
    std::vector<std::unique_ptr<TCurve2D>> curves;
    curves.push_back(std::make_unique<TCerchio2D>(id, MakePoint2D(x, 0), MakePoint2D(x + 1, 0)));
    curves.push_back(std::make_unique<TEllipse2D>(id + 1, MakePoint2D(x, 0), MakePoint2D(x + 2, 1)));
    curves.push_back(std::make_unique<TArc2D>(id + 2, MakePoint2D(x, 0), MakePoint2D(x + 2, 1), 0.5f, 2.0f));
    curves.push_back(std::make_unique<TArco2D>(id + 3, MakePoint2D(x, 0), MakePoint2D(x + 1, 0), 0.5f, 2.0f));
    const TPoint2D control[] = {MakePoint2D(x, 0), MakePoint2D(x + 1, 2), MakePoint2D(x + 2, -1),
                                MakePoint2D(x + 3, 0)};
    curves.push_back(std::make_unique<TBSpline2D>(id + 4, control));
    return curves;
}

// A drawing's sections, no blocks, then `high` rounds of curves at the given
// precision and `usual` rounds at each class's own; every other curve keeps
// its profile. The records are written straight, so that the test does not
// build the outlines it asks the reader to refuse.
TBytes DrawingOfCurves(int high, std::int16_t precision, int usual)
{
    TCADStreamWriter out;
    out.WriteInt32(0);
    out.WriteInt32((high + usual) * 5);
    for (int round = 0; round < high + usual; ++round)
        for (auto& curve : OneOfEachCurve(round * 5)) {
            if (round < high)
                curve->CurvePrecision = precision;
            curve->SavingType = static_cast<std::uint8_t>(round % 2);
            WriteObjectRecord(out, *curve);
        }
    return out.Data();
}

} // namespace

class ProfileBudgetTest : public TRegisteredClassesTest {};

TEST_F(ProfileBudgetTest, CurvesPastTheFilesBudgetAreDrawnAtTheirUsualPrecision)
{
    struct TCase {
        const char* Name;
        TBytes File;
        std::uint64_t Budget;
        int Curves;
        int KeptHigh; // curves left at the high precision
        std::vector<std::string> Notices;
    };
    const std::string cut = "The curves of test stream ask for more outline points than one file may take: the "
                            "curves past that are drawn with their usual precision";
    const std::vector<TCase> cases = {
        // About 66 KB asking for 900 outlines of 32768 points (350 MB): the
        // budget pays for 32 of them, the usual curves after them are untouched.
        {"amplifying", DrawingOfCurves(180, 32767, 2), MaxProfilePointsPerFile, 910, 32, {cut}},
        // Curves at their usual precision never draw on the budget, however
        // many: here they hold 20 times what it has.
        {"usual", DrawingOfCurves(0, 0, 200), 4000, 1000, 0, {}},
        // Some detail above the usual is paid for and kept.
        {"detailed", DrawingOfCurves(20, 1000, 20), MaxProfilePointsPerFile, 200, 100, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TCADCmp2D cad;
        TMessageRecorder messages;
        TCADStreamReader in = ReaderOf(c.File);
        in.SetBudgets(MaxPictureBytesPerFile, MaxExpandedObjectsPerFile, c.Budget);
        cad.LoadBlocks(in, TCADCmp::Version);
        cad.LoadObjects(in, TCADCmp::Version);
        EXPECT_TRUE(in.AtEnd());
        ASSERT_EQ(cad.ObjectsCount(), c.Curves);
        EXPECT_EQ(messages.Texts, c.Notices);

        // The points every profile holds when it is used, kept or built anew.
        std::uint64_t points = 0;
        int keptHigh = 0;
        auto objects = cad.ObjectsIterator();
        for (TGraphicObject* object = objects->First(); object; object = objects->Next()) {
            auto& curve = dynamic_cast<TCurve2D&>(*object);
            curve.BeginUseProfilePoints();
            points += static_cast<std::uint64_t>(curve.ProfilePointCount());
            curve.ReleaseProfilePoints();
            const std::int16_t usual =
                dynamic_cast<TBSpline2D*>(object) ? TBSpline2D::DefaultSplinePrecision : TCurve2D::DefaultPrecision;
            keptHigh += curve.CurvePrecision > usual;
        }
        EXPECT_EQ(keptHigh, c.KeptHigh);
        EXPECT_LE(points, c.Budget + static_cast<std::uint64_t>(c.Curves) * 201);

        // A file nothing was cut from is written back byte for byte.
        if (c.Notices.empty()) {
            TCADStreamWriter out;
            cad.SaveBlocks(out, false);
            cad.SaveObjects(out);
            EXPECT_EQ(out.Data(), c.File);
        }
    }
}
