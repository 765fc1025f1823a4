#pragma once

// What every road test looks at once the user is done: the drawing's
// objects (their kinds, unique IDs, finite boxes on a layer of the drawing),
// and the clicks in the view at drawing coordinates.

#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include <QApplication>
#include <QPoint>
#include <gtest/gtest.h>

#include "../WidgetInput.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/drawing/Layers.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/GraphicObjList.h"
#include "cad/ui/CADViewport.h"
#include "cad/view/CADViewport2DCore.h"

// How many objects of each class the drawing holds.
inline std::map<std::string, int> ObjectKinds(TCADCmp2D& drawing)
{
    std::map<std::string, int> kinds;
    const std::unique_ptr<TGraphicObjIterator> objects = drawing.ObjectsIterator();
    for (TGraphicObject* object = objects->First(); object != nullptr; object = objects->Next())
        ++kinds[object->ClassName()];
    return kinds;
}

// Every object has an ID of its own, a finite box, and a layer the drawing has.
inline void ExpectSoundDrawing(TCADCmp2D& drawing)
{
    std::set<std::int32_t> ids;
    const std::unique_ptr<TGraphicObjIterator> objects = drawing.ObjectsIterator();
    for (TGraphicObject* object = objects->First(); object != nullptr; object = objects->Next()) {
        EXPECT_TRUE(ids.insert(object->ID).second) << object->ClassName() << " repeats ID " << object->ID;
        EXPECT_LT(object->Layer, TLayers::Count) << object->ClassName();
        if (const auto* shape = dynamic_cast<const TObject2D*>(object)) {
            const TRect2D& box = shape->Box;
            EXPECT_TRUE(std::isfinite(box.FirstEdge.X) && std::isfinite(box.FirstEdge.Y) &&
                        std::isfinite(box.SecondEdge.X) && std::isfinite(box.SecondEdge.Y))
                << object->ClassName() << " " << object->ID;
        }
    }
    TRect2D extent{};
    if (drawing.ObjectsCount() > 0 && drawing.GetExtension(extent)) {
        EXPECT_TRUE(std::isfinite(extent.FirstEdge.X) && std::isfinite(extent.FirstEdge.Y) &&
                    std::isfinite(extent.SecondEdge.X) && std::isfinite(extent.SecondEdge.Y));
    }
}

// A left click in the view at a point of the drawing.
inline void ClickAt(TfrmMain& frm, double x, double y)
{
    const TPoint2D at = frm.VistaGrafica->Core2D().WorldToScreen(MakePoint2D(static_cast<float>(x), static_cast<float>(y)));
    Click(frm.VistaGrafica, QPoint(static_cast<int>(std::lround(at.X)), static_cast<int>(std::lround(at.Y))));
    QApplication::processEvents();
}

// The window as the user sees it, kept in the test output's "road" folder for review.
inline void SaveRoadPicture(QWidget& window, const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::path(KESTRO_TEST_OUTPUT_DIR) / "road";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(window.grab().save(QString::fromStdString((folder / name).string())));
}

// Types the text into the field as keys, over what it held.
inline void TypeInto(QWidget& field, const QString& text)
{
    PressKey(&field, Qt::Key_A, QStringLiteral("a"), Qt::ControlModifier);
    PressKey(&field, Qt::Key_Backspace);
    for (const QChar c : text)
        PressKey(&field, c.unicode(), QString(c));
}
