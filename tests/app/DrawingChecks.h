#pragma once

// What every road checks of the drawing it leaves: each object under an ID
// of its own, with a box of finite numbers.

#include <cmath>
#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "cad/drawing/CADCmp2D.h"
#include "cad/model/GraphicObject.h"

// The objects the user sees, by ID, as class names: what a step added,
// removed or kept. Deleted objects stay in the drawing, hidden, for undelete.
inline std::map<std::int32_t, std::string> ShownObjectsByID(TCADCmp2D& cad)
{
    std::map<std::int32_t, std::string> objects;
    auto it = cad.ObjectsIterator();
    for (TGraphicObject* object = it->First(); object; object = it->Next())
        if (static_cast<TObject2D*>(object)->Visible)
            objects.emplace(object->ID, object->ClassName());
    return objects;
}

inline void ExpectSoundDrawing(TCADCmp2D& cad)
{
    std::set<std::int32_t> ids;
    auto it = cad.ObjectsIterator();
    for (TGraphicObject* object = it->First(); object; object = it->Next()) {
        EXPECT_TRUE(ids.insert(object->ID).second) << "ID " << object->ID << " is used twice";
        const auto* object2D = dynamic_cast<TObject2D*>(object);
        ASSERT_NE(object2D, nullptr) << object->ClassName();
        const TRect2D& box = object2D->Box;
        for (const float v : {box.FirstEdge.X, box.FirstEdge.Y, box.SecondEdge.X, box.SecondEdge.Y})
            EXPECT_TRUE(std::isfinite(v)) << object->ClassName() << " " << object->ID << " has a box that is not finite";
    }
}
