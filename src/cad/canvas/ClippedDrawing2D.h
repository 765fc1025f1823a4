#pragma once

// Drawing of point runs on the decorative canvas, clipped to a pixel box.
// The transforms passed here already include the view mapping.

#include "cad/geometry/CADBaseTypes.h"

class TDecorativeCanvas;

void DrawPolylineClipped2D(const TPoint2D* points, int capacity, TDecorativeCanvas& canvas, bool closed,
                           int lastIndex, int firstIndex, const TTransform2D& t, const TRect2D& objectBox,
                           const TRect2D& clipBox);
void DrawPolygonClipped2D(const TPoint2D* points, int capacity, TDecorativeCanvas& canvas, int lastIndex,
                          int firstIndex, const TTransform2D& t, const TRect2D& objectBox, const TRect2D& clipBox);
void DrawControlPointMarker2D(TDecorativeCanvas& canvas, int x, int y, int size);
void DrawBoxOutline2D(TDecorativeCanvas& canvas, const TRect2D& box, const TRect2D& clipBox,
                      const TTransform2D& viewTransform, const TTransform2D& modelTransform);
void DrawBox2D(TDecorativeCanvas& canvas, const TRect2D& box, const TRect2D& clipBox,
               const TTransform2D& viewTransform);
bool DrawPointMarker2D(TDecorativeCanvas& canvas, TPoint2D point, const TRect2D& clipBox, const TTransform2D& t);
bool DrawSegment2D(TDecorativeCanvas& canvas, TPoint2D a, TPoint2D b, const TTransform2D& t, const TRect2D& clipBox);
