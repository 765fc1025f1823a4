// The editing road: a small scene of lines, a circle, an arc, a polyline, a
// rectangle, a point and an ellipse, drawn with the tool bar or read from a
// DXF file through the Open road, then one editing command on it as the user
// gives it: picks in the view, the page's fields and buttons, Enter. Each
// command must change what it was given and nothing else.

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "RoadSupport.h"
#include "cad/shapes/Primitive2D.h"

namespace {

struct TSceneObject {
    const char* Name;
    // How it is drawn: the command and its clicks.
    std::int32_t Code;
    std::vector<TWorldPoint> Clicks;
    bool AcceptWithEnter;
    // Where it lies, and a point on it that picks it alone.
    TRect2D Box;
    TWorldPoint Pick;
    // The same object as a DXF entity.
    const char* Dxf;
};

// Apart from B, the lines F and G that meet end to end for the join, and
// the line H across the polyline E for the break.
const std::vector<TSceneObject>& Scene()
{
    static const std::vector<TSceneObject> scene{
        {"A", 2, {{10, 10}, {40, 10}}, false, MakeRect2D(10, 10, 40, 10), {25, 10},
         "0\nLINE\n8\n0\n10\n10\n20\n10\n11\n40\n21\n10\n"},
        {"B", 2, {{45, 15}, {45, 40}}, false, MakeRect2D(45, 15, 45, 40), {45, 30},
         "0\nLINE\n8\n0\n10\n45\n20\n15\n11\n45\n21\n40\n"},
        {"C", 4, {{70, 25}, {80, 25}}, false, MakeRect2D(60, 15, 80, 35), {80, 25},
         "0\nCIRCLE\n8\n0\n10\n70\n20\n25\n40\n10\n"},
        {"D", 6, {{70, 70}, {80, 70}, {80, 70}, {60, 70}}, false, MakeRect2D(60, 60, 80, 80), {70, 80},
         "0\nARC\n8\n0\n10\n70\n20\n70\n40\n10\n50\n0\n51\n180\n"},
        {"E", 10, {{10, 50}, {25, 65}, {40, 50}}, true, MakeRect2D(10, 50, 40, 65), {15, 55},
         "0\nLWPOLYLINE\n8\n0\n90\n3\n70\n0\n10\n10\n20\n50\n10\n25\n20\n65\n10\n40\n20\n50\n"},
        {"F", 2, {{10, 85}, {30, 85}}, false, MakeRect2D(10, 85, 30, 85), {20, 85},
         "0\nLINE\n8\n0\n10\n10\n20\n85\n11\n30\n21\n85\n"},
        {"G", 2, {{30, 85}, {50, 85}}, false, MakeRect2D(30, 85, 50, 85), {40, 85},
         "0\nLINE\n8\n0\n10\n30\n20\n85\n11\n50\n21\n85\n"},
        {"H", 2, {{20, 45}, {20, 75}}, false, MakeRect2D(20, 45, 20, 75), {20, 72},
         "0\nLINE\n8\n0\n10\n20\n20\n45\n11\n20\n21\n75\n"},
        {"R", 3, {{85, 40}, {95, 55}}, false, MakeRect2D(85, 40, 95, 55), {95, 47},
         "0\nLWPOLYLINE\n8\n0\n90\n4\n70\n1\n10\n85\n20\n40\n10\n95\n20\n40\n10\n95\n20\n55\n10\n85\n20\n55\n"},
        {"P", 1, {{90, 10}}, false, MakeRect2D(90, 10, 90, 10), {90, 10}, "0\nPOINT\n8\n0\n10\n90\n20\n10\n"},
        {"S", 8, {{55, 88}, {85, 96}}, false, MakeRect2D(55, 88, 85, 96), {55, 92},
         "0\nELLIPSE\n8\n0\n10\n70\n20\n92\n11\n15\n21\n0\n40\n0.2666667\n41\n0\n42\n6.2831853\n"},
    };
    return scene;
}

enum class TSource { Drawn, Imported };

std::string SceneDxf()
{
    std::string text = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    for (const TSceneObject& object : Scene())
        text += object.Dxf;
    return text + "0\nENDSEC\n0\nEOF\n";
}

// The scene's objects by name, found by their boxes.
using TSceneIDs = std::map<std::string, std::int32_t>;

TSceneIDs FindScene(TCADCmp2D& cad)
{
    TSceneIDs ids;
    for (const auto& [id, object] : ShownObjects(cad))
        for (const TSceneObject& wanted : Scene())
            if (SameBox(object.Box, wanted.Box, 0.3f) && !ids.contains(wanted.Name)) {
                ids[wanted.Name] = id;
                break;
            }
    return ids;
}

void Pick(TfrmMain& frm, const char* name)
{
    for (const TSceneObject& object : Scene())
        if (std::string(object.Name) == name) {
            ClickWorld(frm, object.Pick.X, object.Pick.Y);
            return;
        }
    FAIL() << "no scene object " << name;
}

template <class T>
T* Control(TfrmMain& frm, const char* name)
{
    T* control = frm.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

struct TEditRoad {
    const char* Name;
    std::function<void(TfrmMain&)> Walk;
    // Scene objects that must be gone, and ones that must be gone or changed.
    std::vector<const char*> Removed;
    std::vector<const char*> Touched;
    // The classes of the added objects, sorted; the box around what was added and changed.
    const char* Added;
    TRect2D Box;
};

const std::vector<TEditRoad>& EditRoads()
{
    static const std::vector<TEditRoad> roads{
        {"fillet", [](TfrmMain& frm) {
             ChooseFromToolBar(frm, 13);
             ClickWorld(frm, 35, 10);
             ClickWorld(frm, 45, 35);
         },
         {}, {"A", "B"}, "TArco2D", MakeRect2D(10, 10, 45, 40)},
        {"trim", [](TfrmMain& frm) {
             ChooseFromToolBar(frm, 15);
             ClickWorld(frm, 35, 10);
             ClickWorld(frm, 45, 35);
         },
         {}, {"A", "B"}, "", MakeRect2D(10, 10, 45, 40)},
        {"extend", [](TfrmMain& frm) {
             ChooseFromToolBar(frm, 17);
             ClickWorld(frm, 38, 10);
         },
         {}, {"A"}, "", MakeRect2D(10, 10, 41, 10)},
        {"break", [](TfrmMain& frm) {
             ChooseFromToolBar(frm, 16);
             Pick(frm, "E");
             Pick(frm, "H");
         },
         {"E", "H"}, {}, "TPolyline2D TPolyline2D TPolyline2D TPolyline2D", MakeRect2D(10, 45, 40, 75)},
        {"join", [](TfrmMain& frm) {
             ChooseFromToolBar(frm, 20);
             Pick(frm, "F");
             Pick(frm, "G");
         },
         {}, {"F", "G"}, "", MakeRect2D(10, 85, 50, 85)},
        {"offset", [](TfrmMain& frm) {
             ChooseFromToolBar(frm, 29);
             TypeInto(Control<QLineEdit>(frm, "txtOffsetDist"), QStringLiteral("2"));
             Pick(frm, "C");
             Control<QToolButton>(frm, "sbtOffsetOk")->click();
         },
         {}, {}, "TCerchio2D", MakeRect2D(58, 13, 82, 37)},
        {"delete", [](TfrmMain& frm) {
             ChooseFromToolBar(frm, 21);
             Pick(frm, "C");
             Pick(frm, "D");
             frm.FormKeyPress('\r');
         },
         {"C", "D"}, {}, "", TRect2D{}},
        {"divide", [](TfrmMain& frm) {
             ChooseFromToolBar(frm, 14);
             Pick(frm, "A");
         },
         {}, {"A"}, "TLine2D", MakeRect2D(10, 10, 40, 10)},
        {"move node", [](TfrmMain& frm) {
             ChooseFromToolBar(frm, 18);
             Pick(frm, "A");
             DragWorld(frm, {40, 10}, {40, 20});
             frm.FormKeyPress('\r');
         },
         {}, {"A"}, "", MakeRect2D(10, 10, 40, 20)},
        {"explode", [](TfrmMain& frm) {
             ChooseFromToolBar(frm, 48);
             Pick(frm, "E");
             frm.FormKeyPress('\r');
         },
         {"E"}, {}, "TLine2D TLine2D", MakeRect2D(10, 50, 40, 65)},
        {"change layer", [](TfrmMain& frm) {
             ChooseFromToolBar(frm, 19);
             Control<QComboBox>(frm, "cboLayerTo")->setCurrentIndex(3);
             Pick(frm, "A");
             frm.FormKeyPress('\r');
         },
         {}, {"A"}, "", MakeRect2D(10, 10, 40, 10)},
    };
    return roads;
}

struct TTransformRoad {
    const char* Name;
    std::int32_t Code;
    const char* ModeButton;
    bool Copy;
    // After the pick: the base point and what fixes the transform.
    std::function<void(TfrmMain&)> Walk;
    TWorldPoint (*Map)(TWorldPoint);
};

TWorldPoint Translated(TWorldPoint p)
{
    return {p.X + 5, p.Y - 5};
}
// A quarter turn about (50, 50).
TWorldPoint Rotated(TWorldPoint p)
{
    return {100 - p.Y, p.X};
}
// About the line y = 50.
TWorldPoint Mirrored(TWorldPoint p)
{
    return {p.X, 100 - p.Y};
}
// Half size about (50, 50).
TWorldPoint Scaled(TWorldPoint p)
{
    return {50 + (p.X - 50) / 2, 50 + (p.Y - 50) / 2};
}

void ClicksAt(TfrmMain& frm, TWorldPoint a, TWorldPoint b)
{
    ClickWorld(frm, a.X, a.Y);
    ClickWorld(frm, b.X, b.Y);
}

std::vector<TTransformRoad> TransformRoads()
{
    const auto translate = [](TfrmMain& frm) { ClicksAt(frm, {10, 10}, {15, 5}); };
    const auto rotate = [](TfrmMain& frm) { ClicksAt(frm, {50, 50}, {50, 60}); };
    const auto mirror = [](TfrmMain& frm) { ClicksAt(frm, {0, 50}, {100, 50}); };
    const auto scale = [](TfrmMain& frm) {
        ClickWorld(frm, 50, 50);
        // The pointer goes to the page: typed factors count from then on.
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(frm.VistaGrafica, &leave);
        TypeInto(Control<QLineEdit>(frm, "txtScaleX"), QStringLiteral("0.5"));
        Control<QToolButton>(frm, "SpeedButton3")->click();
    };
    std::vector<TTransformRoad> roads;
    for (const bool copy : {true, false}) {
        roads.push_back({"translate", 25, copy ? "rbtTransCopy" : "rbtTransMove", copy, translate, Translated});
        roads.push_back({"rotate", 26, copy ? "rbtRotateCopy" : "rbtRotateMove", copy, rotate, Rotated});
        roads.push_back({"mirror", 27, copy ? "rbtMirrorCopy" : "rbtMirrorMove", copy, mirror, Mirrored});
        roads.push_back({"scale", 28, copy ? "rbtScaleCopy" : "rbtScaleMove", copy, scale, Scaled});
    }
    return roads;
}

TRect2D MappedBox(const TRect2D& box, TWorldPoint (*map)(TWorldPoint))
{
    const TWorldPoint a = map({box.FirstEdge.X, box.FirstEdge.Y});
    const TWorldPoint b = map({box.SecondEdge.X, box.SecondEdge.Y});
    return MakeRect2D(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y));
}

class EditRoad : public MainWindowRoad {
protected:
    // A new drawing holding the scene, drawn or opened; its objects by name.
    TSceneIDs NewScene(TfrmMain& frm, TSource source)
    {
        Answer = kIdYes;
        frm.sbtNew->click();
        Settle();
        if (source == TSource::Drawn) {
            for (const TSceneObject& object : Scene()) {
                ChooseFromToolBar(frm, object.Code);
                ClickAndEnd(frm, object.Clicks, object.AcceptWithEnter);
            }
        } else {
            WriteFile(QStringLiteral("scene.dxf"), QByteArray::fromStdString(SceneDxf()));
            EXPECT_TRUE(frm.OpenFile(Path(QStringLiteral("scene.dxf"))));
            frm.sbtOpenDone->click();
            ShowWorld(frm);
        }
        const TSceneIDs ids = FindScene(frm.LocalCad());
        EXPECT_EQ(ids.size(), Scene().size()) << "the scene is not all there";
        EXPECT_EQ(ShownObjects(frm.LocalCad()).size(), Scene().size());
        return ids;
    }

    void WalkEditRoads(TSource source)
    {
        TfrmMain& frm = StartWithView();
        TCADCmp2D& cad = frm.LocalCad();
        for (const TEditRoad& road : EditRoads()) {
            SCOPED_TRACE(road.Name);
            const TSceneIDs ids = NewScene(frm, source);
            if (HasFailure())
                return;
            const auto before = ShownObjects(cad);
            road.Walk(frm);
            frm.FormKeyPress('\x1b');
            Settle();
            const auto after = ShownObjects(cad);
            const TDrawingChange change = ChangeBetween(before, after);

            std::set<std::int32_t> mayChange;
            for (const char* name : road.Removed) {
                EXPECT_FALSE(after.contains(ids.at(name))) << name << " is still there";
                mayChange.insert(ids.at(name));
            }
            for (const char* name : road.Touched) {
                const std::int32_t id = ids.at(name);
                EXPECT_TRUE(!after.contains(id) || std::ranges::count(change.Changed, id) == 1)
                    << name << " was left as it was";
                mayChange.insert(id);
            }
            for (const std::int32_t id : change.Removed)
                EXPECT_TRUE(mayChange.contains(id)) << before.at(id).ClassName << " " << id << " was removed";
            for (const std::int32_t id : change.Changed)
                EXPECT_TRUE(mayChange.contains(id)) << before.at(id).ClassName << " " << id << " was changed";
            EXPECT_EQ(ClassesOf(after, change.Added), road.Added);
            std::vector<std::int32_t> result = change.Added;
            result.insert(result.end(), change.Changed.begin(), change.Changed.end());
            if (!result.empty()) {
                const TRect2D box = UnionBox(after, result);
                EXPECT_TRUE(SameBox(box, road.Box, 0.3f)) << BoxText(box) << " instead of " << BoxText(road.Box);
            }
            ExpectSoundDrawing(cad);
            EXPECT_FALSE(frm.LocalPrg().IsBusy());
        }
    }

    // Every object of the scene picked, then the transform: a copy adds one
    // of each where the transform takes it; a move takes them all there.
    void WalkTransformRoads(TSource source)
    {
        TfrmMain& frm = StartWithView();
        TCADCmp2D& cad = frm.LocalCad();
        for (const TTransformRoad& road : TransformRoads()) {
            SCOPED_TRACE(std::string(road.Name) + (road.Copy ? " with copy" : " with move"));
            const TSceneIDs ids = NewScene(frm, source);
            if (HasFailure())
                return;
            const auto before = ShownObjects(cad);
            std::vector<std::int32_t> sceneIDs;
            for (const auto& [name, id] : ids)
                sceneIDs.push_back(id);
            const TRect2D sceneBox = UnionBox(before, sceneIDs);

            ChooseFromToolBar(frm, road.Code);
            Control<QRadioButton>(frm, road.ModeButton)->click();
            for (const TSceneObject& object : Scene())
                ClickWorld(frm, object.Pick.X, object.Pick.Y);
            PressKey(frm.VistaGrafica, Qt::Key_Return, QStringLiteral("\r"));
            Settle();
            road.Walk(frm);
            frm.FormKeyPress('\x1b');
            Settle();

            const auto after = ShownObjects(cad);
            const TDrawingChange change = ChangeBetween(before, after);
            const TRect2D expected = MappedBox(sceneBox, road.Map);
            if (road.Copy) {
                EXPECT_TRUE(change.Removed.empty());
                EXPECT_TRUE(change.Changed.empty());
                ASSERT_EQ(change.Added.size(), sceneIDs.size()) << ClassesOf(after, change.Added);
                const TRect2D box = UnionBox(after, change.Added);
                EXPECT_TRUE(SameBox(box, expected, 0.3f)) << BoxText(box) << " instead of " << BoxText(expected);
            } else {
                EXPECT_EQ(after.size(), before.size()) << ClassesOf(after, change.Added);
                const TRect2D box = UnionBox(after, IDsOf(after));
                EXPECT_TRUE(SameBox(box, expected, 0.3f)) << BoxText(box) << " instead of " << BoxText(expected);
                EXPECT_EQ(change.Changed.size() + change.Added.size(), sceneIDs.size()) << "not all were moved";
            }
            ExpectSoundDrawing(cad);
            EXPECT_FALSE(frm.LocalPrg().IsBusy());
        }
    }
};

} // namespace

TEST_F(EditRoad, EveryEditOnDrawnObjectsChangesWhatItWasGiven)
{
    WalkEditRoads(TSource::Drawn);
}

TEST_F(EditRoad, EveryEditOnImportedObjectsChangesWhatItWasGiven)
{
    WalkEditRoads(TSource::Imported);
}

TEST_F(EditRoad, EveryTransformOfDrawnObjectsCopiesOrMovesThemAll)
{
    WalkTransformRoads(TSource::Drawn);
}

TEST_F(EditRoad, EveryTransformOfImportedObjectsCopiesOrMovesThemAll)
{
    WalkTransformRoads(TSource::Imported);
}

namespace {

// A point of each shown object where a pick finds it: its first point.
std::map<std::int32_t, TWorldPoint> PickPoints(TCADCmp2D& cad)
{
    std::map<std::int32_t, TWorldPoint> points;
    auto it = cad.ObjectsIterator();
    for (TGraphicObject* object = it->First(); object; object = it->Next()) {
        auto* primitive = dynamic_cast<TPrimitive2D*>(object);
        if (primitive != nullptr && primitive->Visible && primitive->PointCount() > 0) {
            const TPoint2D p = ApplyTransform2D((*primitive->Points())[0], primitive->GetTransform());
            points[object->ID] = {p.X, p.Y};
        }
    }
    return points;
}

} // namespace

// Shapes from an SVG file, opened through the Open road, take the same edits:
// move, offset and delete, each on a freshly opened file.
TEST_F(EditRoad, ShapesOpenedFromSvgAreEdited)
{
    WriteFile(QStringLiteral("shapes.svg"),
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\">"
              "<rect x=\"10\" y=\"10\" width=\"20\" height=\"10\"/>"
              "<polygon points=\"50,25 70,25 70,35 50,35\"/>"
              "<path d=\"M 10 60 L 30 80 L 40 60 Z\"/></svg>");
    TfrmMain& frm = StartWithView();
    TCADCmp2D& cad = frm.LocalCad();
    const auto open = [&] {
        EXPECT_TRUE(frm.OpenFile(Path(QStringLiteral("shapes.svg"))));
        frm.sbtOpenDone->click();
        const auto shown = ShownObjects(cad);
        EXPECT_EQ(ClassesOf(shown, IDsOf(shown)), "TPolygon2D TPolygon2D TPolygon2D");
        frm.VistaGrafica->Core2D().ZoomWindow(MakeRect2D(0, -100, 100, 0));
        Settle();
        return shown;
    };
    // The file's y grows downwards, the drawing's upwards.
    const auto objectAt = [](const std::map<std::int32_t, TShownObject>& shown, float x, float y) {
        for (const auto& [id, object] : shown)
            if (object.Box.FirstEdge.X <= x && x <= object.Box.SecondEdge.X && object.Box.FirstEdge.Y <= -y
                && -y <= object.Box.SecondEdge.Y)
                return id;
        return -1;
    };

    {
        SCOPED_TRACE("move them all");
        const auto before = open();
        ChooseFromToolBar(frm, 25);
        Control<QRadioButton>(frm, "rbtTransMove")->click();
        for (const auto& [id, at] : PickPoints(cad))
            ClickWorld(frm, at.X, at.Y);
        PressKey(frm.VistaGrafica, Qt::Key_Return, QStringLiteral("\r"));
        ClicksAt(frm, {50, -50}, {55, -45});
        frm.FormKeyPress('\x1b');
        Settle();
        const auto after = ShownObjects(cad);
        const TDrawingChange change = ChangeBetween(before, after);
        EXPECT_EQ(change.Changed.size(), before.size());
        const auto shifted = [](TWorldPoint p) { return TWorldPoint{p.X + 5, p.Y + 5}; };
        for (const auto& [id, object] : after) {
            if (before.contains(id)) {
                const TRect2D expected = MappedBox(before.at(id).Box, shifted);
                EXPECT_TRUE(SameBox(object.Box, expected, 0.3f)) << BoxText(object.Box) << " instead of " << BoxText(expected);
            }
        }
        ExpectSoundDrawing(cad);
    }
    {
        SCOPED_TRACE("offset the square");
        const auto before = open();
        const std::int32_t square = objectAt(before, 60, 30);
        ASSERT_GE(square, 0);
        ChooseFromToolBar(frm, 29);
        TypeInto(Control<QLineEdit>(frm, "txtOffsetDist"), QStringLiteral("2"));
        const TWorldPoint at = PickPoints(cad).at(square);
        ClickWorld(frm, at.X, at.Y);
        Control<QToolButton>(frm, "sbtOffsetOk")->click();
        frm.FormKeyPress('\x1b');
        Settle();
        const auto after = ShownObjects(cad);
        const TDrawingChange change = ChangeBetween(before, after);
        EXPECT_TRUE(change.Removed.empty());
        ASSERT_EQ(change.Added.size(), 1u);
        const TRect2D& box = after.at(change.Added.front()).Box;
        const TRect2D& old = before.at(square).Box;
        EXPECT_NEAR(std::fabs(box.SecondEdge.X - box.FirstEdge.X - (old.SecondEdge.X - old.FirstEdge.X)), 4.0f, 0.3f)
            << BoxText(box) << " from " << BoxText(old);
        ExpectSoundDrawing(cad);
    }
    {
        SCOPED_TRACE("delete the triangle");
        const auto before = open();
        const std::int32_t triangle = objectAt(before, 30, 75);
        ASSERT_GE(triangle, 0);
        ChooseFromToolBar(frm, 21);
        const TWorldPoint at = PickPoints(cad).at(triangle);
        ClickWorld(frm, at.X, at.Y);
        frm.FormKeyPress('\r');
        frm.FormKeyPress('\x1b');
        Settle();
        const TDrawingChange change = ChangeBetween(before, ShownObjects(cad));
        EXPECT_EQ(change.Removed, std::vector<std::int32_t>{triangle});
        EXPECT_TRUE(change.Added.empty());
        EXPECT_TRUE(change.Changed.empty());
        ExpectSoundDrawing(cad);
    }
}
