#pragma once

// What the road tests share: the program started on screen with a known
// world in its view, clicks at world points, commands chosen from the tool
// bar's own buttons and menus, and the drawing's shown objects before and
// after a step, to say what the step added, removed and changed.

#include <algorithm>
#include <filesystem>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "ProgramTestFolder.h"
#include "WidgetInput.h"
#include "app/ui/controls/MenuSpeedButtons.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/model/GraphicObjList.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/ui/CADViewport.h"
#include "edit/commands/CommandTable.h"

inline void Settle()
{
    QApplication::processEvents();
}

inline QPoint OnScreen(TfrmMain& frm, float x, float y)
{
    const TPoint2D at = frm.VistaGrafica->Core2D().WorldToScreen(MakePoint2D(x, y));
    return {static_cast<int>(std::lround(at.X)), static_cast<int>(std::lround(at.Y))};
}

// Moves the pointer to a world point and clicks there, as the mouse would.
inline void ClickWorld(TfrmMain& frm, float x, float y)
{
    const QPoint at = OnScreen(frm, x, y);
    QTest::mouseMove(frm.VistaGrafica, at);
    Settle();
    Click(frm.VistaGrafica, at);
    Settle();
}

struct TWorldPoint {
    float X;
    float Y;
};

// Clicks the points, ends a figure of any number of points with Enter when
// asked, and stops the command's repeat with Esc.
inline void ClickAndEnd(TfrmMain& frm, const std::vector<TWorldPoint>& clicks, bool acceptWithEnter)
{
    for (const TWorldPoint& at : clicks)
        ClickWorld(frm, at.X, at.Y);
    if (acceptWithEnter)
        frm.FormKeyPress('\r');
    frm.FormKeyPress('\x1b');
    Settle();
}

// Presses the left button at one world point and lets it go at another.
inline void DragWorld(TfrmMain& frm, TWorldPoint from, TWorldPoint to)
{
    const QPoint a = OnScreen(frm, from.X, from.Y);
    const QPoint b = OnScreen(frm, to.X, to.Y);
    QTest::mouseMove(frm.VistaGrafica, a);
    QTest::mousePress(frm.VistaGrafica, Qt::LeftButton, Qt::NoModifier, a);
    QTest::mouseMove(frm.VistaGrafica, (a + b) / 2);
    QTest::mouseMove(frm.VistaGrafica, b);
    QTest::mouseRelease(frm.VistaGrafica, Qt::LeftButton, Qt::NoModifier, b);
    Settle();
}

// Starts a command the way the user does: its own tool button, or the item
// of the split button's menu that lists it.
inline void ChooseFromToolBar(TfrmMain& frm, std::int32_t code)
{
    const TCommandRow* row = FindCommand(code);
    ASSERT_NE(row, nullptr) << code;
    if (row->MenuHandler == nullptr) {
        // A button of its own, named as its handler.
        const QString name = QString::fromLatin1(row->Starter).chopped(5);
        auto* button = frm.findChild<QToolButton*>(name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        button->click();
        Settle();
        return;
    }
    ASSERT_NE(row->LinkedButton, nullptr) << code;
    auto* button = frm.findChild<TYarvLinkedSpeedButton*>(QString::fromLatin1(row->LinkedButton));
    ASSERT_TRUE(button != nullptr && button->MenuButton() != nullptr && button->MenuButton()->ActiveMenu() != nullptr)
        << row->LinkedButton;
    const QString item = QString::fromLatin1(row->MenuHandler).chopped(5);
    for (QAction* action : button->MenuButton()->ActiveMenu()->actions())
        if (action->objectName() == item) {
            action->trigger();
            Settle();
            return;
        }
    FAIL() << row->LinkedButton << " has no menu item " << item.toStdString();
}

// Replaces a page field's text as typed keys would.
inline void TypeInto(QLineEdit* field, const QString& text)
{
    ASSERT_NE(field, nullptr);
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
    Settle();
}

struct TShownObject {
    std::string ClassName;
    TRect2D Box;
    std::uint8_t Layer;
};

// The visible objects by ID, with their boxes.
inline std::map<std::int32_t, TShownObject> ShownObjects(TCADCmp2D& cad)
{
    std::map<std::int32_t, TShownObject> objects;
    auto it = cad.ObjectsIterator();
    for (TGraphicObject* object = it->First(); object; object = it->Next()) {
        const auto* object2D = static_cast<TObject2D*>(object);
        if (object2D->Visible)
            objects.emplace(object->ID, TShownObject{object->ClassName(), object2D->Box, object2D->Layer});
    }
    return objects;
}

inline bool SameBox(const TRect2D& a, const TRect2D& b, float tolerance = 0.01f)
{
    return std::fabs(a.FirstEdge.X - b.FirstEdge.X) <= tolerance && std::fabs(a.FirstEdge.Y - b.FirstEdge.Y) <= tolerance
           && std::fabs(a.SecondEdge.X - b.SecondEdge.X) <= tolerance
           && std::fabs(a.SecondEdge.Y - b.SecondEdge.Y) <= tolerance;
}

// What a step did to the shown objects: the IDs it added, removed, and kept
// with another box, class or layer.
struct TDrawingChange {
    std::vector<std::int32_t> Added;
    std::vector<std::int32_t> Removed;
    std::vector<std::int32_t> Changed;
};

inline TDrawingChange ChangeBetween(const std::map<std::int32_t, TShownObject>& before,
                                    const std::map<std::int32_t, TShownObject>& after)
{
    TDrawingChange change;
    for (const auto& [id, object] : after) {
        const auto old = before.find(id);
        if (old == before.end())
            change.Added.push_back(id);
        else if (old->second.ClassName != object.ClassName || !SameBox(old->second.Box, object.Box)
                 || old->second.Layer != object.Layer)
            change.Changed.push_back(id);
    }
    for (const auto& [id, object] : before)
        if (!after.contains(id))
            change.Removed.push_back(id);
    return change;
}

// The visible objects' classes by ID.
inline std::map<std::int32_t, std::string> ShownClassesByID(TCADCmp2D& cad)
{
    std::map<std::int32_t, std::string> classes;
    for (const auto& [id, object] : ShownObjects(cad))
        classes.emplace(id, object.ClassName);
    return classes;
}

// How many objects of each class the drawing holds, hidden ones included.
inline std::map<std::string, int> ObjectKinds(TCADCmp2D& drawing)
{
    std::map<std::string, int> kinds;
    const std::unique_ptr<TGraphicObjIterator> objects = drawing.ObjectsIterator();
    for (TGraphicObject* object = objects->First(); object != nullptr; object = objects->Next())
        ++kinds[object->ClassName()];
    return kinds;
}

// What is wrong with the drawing: an ID used twice, a box or an extent that
// is not finite. Empty for a sound drawing.
inline std::string DrawingProblems(TCADCmp2D& drawing)
{
    const auto finite = [](const TRect2D& box) {
        return std::isfinite(box.FirstEdge.X) && std::isfinite(box.FirstEdge.Y) && std::isfinite(box.SecondEdge.X)
               && std::isfinite(box.SecondEdge.Y);
    };
    std::ostringstream problems;
    std::set<std::int32_t> ids;
    const std::unique_ptr<TGraphicObjIterator> objects = drawing.ObjectsIterator();
    for (TGraphicObject* object = objects->First(); object != nullptr; object = objects->Next()) {
        if (!ids.insert(object->ID).second)
            problems << object->ClassName() << " repeats ID " << object->ID << "; ";
        if (!finite(static_cast<const TObject2D*>(object)->Box))
            problems << object->ClassName() << " " << object->ID << " has a box that is not finite; ";
    }
    TRect2D extent{};
    if (drawing.ObjectsCount() > 0 && drawing.GetExtension(extent) && !finite(extent))
        problems << "the extent is not finite; ";
    return problems.str();
}

inline void ExpectSoundDrawing(TCADCmp2D& drawing)
{
    EXPECT_EQ(DrawingProblems(drawing), "");
}

// The window as the user sees it, kept in the test output's "road" folder for review.
inline void SaveRoadPicture(QWidget& window, const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::path(KESTRO_TEST_OUTPUT_DIR) / "road";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(window.grab().save(QString::fromStdString((folder / name).string())));
}

// The classes of the objects, sorted, as one text: "TArco2D TLine2D".
inline std::string ClassesOf(const std::map<std::int32_t, TShownObject>& objects, const std::vector<std::int32_t>& ids)
{
    std::vector<std::string> names;
    for (const std::int32_t id : ids)
        names.push_back(objects.at(id).ClassName);
    std::sort(names.begin(), names.end());
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : " ") + name;
    return text;
}

inline std::vector<std::int32_t> IDsOf(const std::map<std::int32_t, TShownObject>& objects)
{
    std::vector<std::int32_t> ids;
    for (const auto& [id, object] : objects)
        ids.push_back(id);
    return ids;
}

// The box around the objects with the IDs.
inline TRect2D UnionBox(const std::map<std::int32_t, TShownObject>& objects, const std::vector<std::int32_t>& ids)
{
    TRect2D box = objects.at(ids.front()).Box;
    for (const std::int32_t id : ids) {
        const TRect2D& b = objects.at(id).Box;
        box.FirstEdge.X = std::min(box.FirstEdge.X, b.FirstEdge.X);
        box.FirstEdge.Y = std::min(box.FirstEdge.Y, b.FirstEdge.Y);
        box.SecondEdge.X = std::max(box.SecondEdge.X, b.SecondEdge.X);
        box.SecondEdge.Y = std::max(box.SecondEdge.Y, b.SecondEdge.Y);
    }
    return box;
}

inline std::string BoxText(const TRect2D& box)
{
    return "(" + std::to_string(box.FirstEdge.X) + ", " + std::to_string(box.FirstEdge.Y) + ")-("
           + std::to_string(box.SecondEdge.X) + ", " + std::to_string(box.SecondEdge.Y) + ")";
}

// The program as main() starts it, on screen with the world (0, 0)-(100, 100) in its view.
class MainWindowRoad : public ProgramTestFolder {
protected:
    TfrmMain& StartWithView()
    {
        TfrmMain& frm = Start();
        frm.resize(1000, 700);
        frm.show();
        Settle();
        ShowWorld(frm);
        return frm;
    }

    static void ShowWorld(TfrmMain& frm)
    {
        frm.VistaGrafica->Core2D().ZoomWindow(MakeRect2D(0, 0, 100, 100));
        Settle();
    }
};
