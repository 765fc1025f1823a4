#pragma once

// Where a point snaps on a picked object, by the object's class and the
// program's snap mode, and which cursor shows it.

#include "cad/geometry/CADBaseTypes.h"

class TObject2D;

struct TObjectSnap {
    // The cursor slot to show, or KeepCursor.
    int Cursor = KeepCursor;
    bool Moved = false;
    TPoint2D Point;

    static constexpr int KeepCursor = -1;
};

// The picked object (or none) with its pick code; control points and centres
// are taken through the object's transform. Among candidates the nearest to
// the point wins, the first listed on a tie.
TObjectSnap SnapToObject(const TObject2D* picked, int code, TPoint2D point, int snapMode);
