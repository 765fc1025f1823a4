// How a change travels up the owner chain: a colour inside a property object
// inside a component, coordinates owned by a component that follows them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "view3d/notification/Color.h"
#include "view3d/notification/Coordinates.h"

namespace {

// A component that writes down what reached it.
class TListeningComponent : public TGLCoordinatesUpdateAbleComponent {
public:
    void NotifyChange(TGLNotifyObject* sender) override
    {
        Heard.push_back(sender == Expected ? "change" : "change from another sender");
    }
    void StructureChanged() override { Heard.push_back("structure"); }
    void CoordinateChanged(TGLCoordinates& coordinates) override
    {
        Heard.push_back("coordinates W=" + std::to_string(int(coordinates.W())));
    }

    TGLNotifyObject* Expected = nullptr;
    std::vector<std::string> Heard;
};

} // namespace

TEST(NotificationChain, AColourInsideAPropertyObjectReachesTheComponentOnlyWhenItChanges)
{
    TListeningComponent component;
    TGLUpdateAbleObject face(&component);
    TGLColor colour(&face, {0.2f, 0.2f, 0.2f, 1.0f});
    int faceHeard = 0;
    face.OnNotifyChange = [&](TGLNotifyObject& sender) {
        EXPECT_EQ(&sender, &face);
        ++faceHeard;
    };
    component.Expected = &face;

    colour.SetRed(0.2f);
    EXPECT_TRUE(component.Heard.empty());
    colour.SetRed(0.5f);
    colour.SetComponent(7, 1.0f);
    EXPECT_EQ(component.Heard, (std::vector<std::string>{"change"}));
    EXPECT_EQ(faceHeard, 1);

    colour.Initialize({1, 1, 1, 1});
    EXPECT_EQ(component.Heard.size(), 1u);
    EXPECT_EQ(colour.Red(), 1.0f);
}

TEST(NotificationChain, AColourOwnedByAComponentRebuildsItsDrawingBeforePassingTheChangeOn)
{
    TListeningComponent component;
    TGLColor colour(&component);
    component.Expected = &colour;
    colour.SetColor({0, 0, 1, 1});
    EXPECT_EQ(component.Heard, (std::vector<std::string>{"structure", "change"}));
    EXPECT_EQ(colour.Color().W, 1.0f);
}

TEST(NotificationChain, ObjectsWithoutAnOwnerChangeSilently)
{
    int heard = 0;
    TGLColor colour(nullptr, TGLColor::kOpaqueBlack, [&](TGLNotifyObject&) { ++heard; });
    colour.SetGreen(1.0f);
    TGLCoordinates coordinates(nullptr, TGLCoordinatesStyle::csPoint);
    coordinates.OnNotifyChange = [&](TGLNotifyObject&) { ++heard; };
    coordinates.SetPoint(1, 2, 3);
    EXPECT_EQ(heard, 0);
    EXPECT_EQ(coordinates.AsVector().Z, 3.0f);
}

TEST(NotificationChain, CoordinatesTellTheirComponentAndKeepTheFourthComponentByStyle)
{
    TListeningComponent component;
    TGLCoordinates position(&component, TGLCoordinatesStyle::csPoint, {0, 0, 0, 1});
    TGLCoordinates direction(&component, TGLCoordinatesStyle::csVector, {0, 0, 1, 0});
    TGLCoordinates4 plane(&component, TGLCoordinatesStyle::csUnknown);

    position.SetAsVector({1, 2, 3, 7});
    direction.SetAsVector({1, 2, 3, 7});
    plane.SetAsVector({1, 2, 3, 7});
    EXPECT_EQ(position.W(), 1.0f);
    EXPECT_EQ(direction.W(), 0.0f);
    EXPECT_EQ(plane.W(), 7.0f);

    plane.SetFromVector({4, 5, 6});
    EXPECT_EQ(plane.W(), 0.0f);
    direction.SetVector(1, 0, 0, 5);
    EXPECT_EQ(direction.W(), 5.0f);
    EXPECT_EQ(component.Heard, (std::vector<std::string>{"coordinates W=1", "coordinates W=0", "coordinates W=7",
                                                         "coordinates W=0", "coordinates W=5"}));

    // Copying and initialising are silent.
    position.Assign(direction);
    position.Initialize({9, 9, 9, 9});
    EXPECT_EQ(component.Heard.size(), 5u);

    position.Initialize({2, 4, 0, 1});
    position.TranslateBy(1, 0, 0);
    position.Scale(2.0f);
    EXPECT_EQ(position.ToAffineVector().X, 6.0f);
    EXPECT_EQ(position.W(), 1.0f);
    EXPECT_FLOAT_EQ(position.VectorLength(), 10.0f);
    EXPECT_EQ(component.Heard.size(), 7u);
}
