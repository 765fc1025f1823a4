#include <string>
#include <vector>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "cad/canvas/ClippedDrawing2D.h"
#include "cad/canvas/DecorativeCanvas.h"
#include "cad/geometry/Geometry2D.h"

namespace {

// Writes every primitive it receives as a line of text.
class TRecordingCanvas : public TDecorativeCanvas {
public:
    void MoveTo(int x, int y) override { Calls.push_back("MoveTo " + Pixel(x, y)); }
    void LineTo(int x, int y) override { Calls.push_back("LineTo " + Pixel(x, y)); }
    void Polyline(const TWindowPoint* points, int count) override { Calls.push_back("Polyline" + List(points, count)); }
    void Polygon(const TWindowPoint* points, int count) override { Calls.push_back("Polygon" + List(points, count)); }
    void Rectangle(int left, int top, int right, int bottom) override
    {
        Calls.push_back("Rectangle " + Pixel(left, top) + " " + Pixel(right, bottom));
    }

    std::vector<std::string> Calls;

private:
    static std::string Pixel(int x, int y) { return "(" + std::to_string(x) + "," + std::to_string(y) + ")"; }
    static std::string List(const TWindowPoint* points, int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += " " + Pixel(points[i].X, points[i].Y);
        return text;
    }
};

using TCalls = std::vector<std::string>;

const TRect2D ClipBox = MakeRect2D(0, 0, 100, 100);

TRect2D BoxOf(const std::vector<TPoint2D>& points)
{
    TRect2D box = {points.front(), points.front()};
    for (const TPoint2D& p : points)
        box = UnionBox2D(box, {p, p});
    return box;
}

void DrawPolyline(TRecordingCanvas& canvas, const std::vector<TPoint2D>& points, bool closed,
                  const TTransform2D& t = IdentityTransform2D)
{
    const int count = static_cast<int>(points.size());
    DrawPolylineClipped2D(points.data(), count, canvas, closed, count - 1, 0, t, BoxOf(points), ClipBox);
}

void DrawPolygon(TRecordingCanvas& canvas, const std::vector<TPoint2D>& points)
{
    const int count = static_cast<int>(points.size());
    DrawPolygonClipped2D(points.data(), count, canvas, count - 1, 0, IdentityTransform2D, BoxOf(points), ClipBox);
}

} // namespace

TEST(ClippedDrawing2D, PolylineInsideIsOneRun)
{
    const std::vector<TPoint2D> points = {MakePoint2D(10, 10), MakePoint2D(20, 10), MakePoint2D(20, 20)};
    TRecordingCanvas open;
    DrawPolyline(open, points, false);
    EXPECT_EQ(open.Calls, TCalls{"Polyline (10,10) (20,10) (20,20)"});

    TRecordingCanvas closed;
    DrawPolyline(closed, points, true);
    EXPECT_EQ(closed.Calls, TCalls{"Polyline (10,10) (20,10) (20,20) (10,10)"});

    // Through a view mapping: world 0..100 onto a 200-pixel square, Y up,
    // half-pixel offsets rounded to even.
    TRect2D world = MakeRect2D(0, 0, 100, 100);
    const TTransform2D view = ViewMapping2D(world, 0, 0, 200, 200, 1.0f);
    const std::vector<TPoint2D> worldPoints = {MakePoint2D(10, 10), MakePoint2D(10.5f, 40)};
    TRecordingCanvas mapped;
    DrawPolylineClipped2D(worldPoints.data(), 2, mapped, false, 1, 0, view, BoxOf(worldPoints),
                          MakeRect2D(0, 0, 200, 200));
    EXPECT_EQ(mapped.Calls, TCalls{"Polyline (20,180) (20,120)"});
}

TEST(ClippedDrawing2D, PolylineCrossingTheBoxIsDrawnInClippedRuns)
{
    // In from the left, out through the top, back in from the top.
    const std::vector<TPoint2D> points = {MakePoint2D(-50, 50), MakePoint2D(50, 50), MakePoint2D(50, 150),
                                          MakePoint2D(80, 150), MakePoint2D(80, 50)};
    TRecordingCanvas canvas;
    DrawPolyline(canvas, points, false);
    EXPECT_EQ(canvas.Calls, (TCalls{"Polyline (0,50) (50,50) (50,100)", "Polyline (80,100) (80,50)"}));

    // The closing segment of a closed run is clipped like the others.
    const std::vector<TPoint2D> triangle = {MakePoint2D(20, 20), MakePoint2D(150, 50), MakePoint2D(20, 80)};
    TRecordingCanvas closed;
    DrawPolyline(closed, triangle, true);
    EXPECT_EQ(closed.Calls, (TCalls{"Polyline (20,20) (100,38)", "Polyline (100,62) (20,80) (20,20)"}));

    // Ending outside: the run stops at the box.
    const std::vector<TPoint2D> leaving = {MakePoint2D(10, 10), MakePoint2D(20, 10), MakePoint2D(200, 10)};
    TRecordingCanvas out;
    DrawPolyline(out, leaving, false);
    EXPECT_EQ(out.Calls, TCalls{"Polyline (10,10) (20,10) (100,10)"});
}

TEST(ClippedDrawing2D, NothingDrawnOutsideOrForABadRange)
{
    const std::vector<TPoint2D> points = {MakePoint2D(-50, -50), MakePoint2D(-10, -50), MakePoint2D(-10, 500)};
    TRecordingCanvas outside;
    DrawPolyline(outside, points, true);
    EXPECT_TRUE(outside.Calls.empty());

    const std::vector<TPoint2D> inside = {MakePoint2D(10, 10), MakePoint2D(20, 10), MakePoint2D(20, 20)};
    const TRect2D box = BoxOf(inside);
    TRecordingCanvas canvas;
    DrawPolylineClipped2D(inside.data(), 0, canvas, false, 0, 0, IdentityTransform2D, box, ClipBox);
    DrawPolylineClipped2D(inside.data(), 3, canvas, false, 1, 2, IdentityTransform2D, box, ClipBox);
    DrawPolylineClipped2D(inside.data(), 3, canvas, false, 3, 0, IdentityTransform2D, box, ClipBox);
    DrawPolygonClipped2D(inside.data(), 3, canvas, 3, 0, IdentityTransform2D, box, ClipBox);
    DrawPolygonClipped2D(inside.data(), 3, canvas, 0, 1, IdentityTransform2D, box, ClipBox);
    EXPECT_TRUE(canvas.Calls.empty());

    // A part of the point list: first..last only.
    DrawPolylineClipped2D(inside.data(), 3, canvas, false, 2, 1, IdentityTransform2D, box, ClipBox);
    EXPECT_EQ(canvas.Calls, TCalls{"Polyline (20,10) (20,20)"});
}

TEST(ClippedDrawing2D, PolygonIsClippedSideBySide)
{
    TRecordingCanvas inside;
    DrawPolygon(inside, {MakePoint2D(10, 10), MakePoint2D(90, 10), MakePoint2D(50, 90)});
    EXPECT_EQ(inside.Calls, TCalls{"Polygon (10,10) (90,10) (50,90)"});

    TRecordingCanvas left;
    DrawPolygon(left, {MakePoint2D(-50, 20), MakePoint2D(50, 20), MakePoint2D(50, 80), MakePoint2D(-50, 80)});
    EXPECT_EQ(left.Calls, TCalls{"Polygon (0,20) (50,20) (50,80) (0,80)"});

    TRecordingCanvas top;
    DrawPolygon(top, {MakePoint2D(20, 20), MakePoint2D(80, 20), MakePoint2D(50, 150)});
    EXPECT_EQ(top.Calls, TCalls{"Polygon (20,20) (80,20) (62,100) (38,100)"});

    // Over a corner: both passes cut.
    TRecordingCanvas corner;
    DrawPolygon(corner, {MakePoint2D(50, 50), MakePoint2D(150, 50), MakePoint2D(150, 150), MakePoint2D(50, 150)});
    EXPECT_EQ(corner.Calls, TCalls{"Polygon (50,50) (100,50) (100,100) (50,100)"});

    TRecordingCanvas outside;
    DrawPolygon(outside, {MakePoint2D(150, 50), MakePoint2D(250, 50), MakePoint2D(200, 90)});
    EXPECT_TRUE(outside.Calls.empty());
}

TEST(ClippedDrawing2D, MarkersBoxesAndSegments)
{
    TRecordingCanvas canvas;
    DrawControlPointMarker2D(canvas, 50, 60, 5);
    EXPECT_EQ(canvas.Calls, TCalls{"Rectangle (48,58) (52,62)"});
    EXPECT_EQ(canvas.Brush.Color, 0xC0C0C0);
    EXPECT_EQ(canvas.Brush.Style, TBrushStyle::Solid);
    EXPECT_EQ(canvas.Pen.Style, TPenStyle::Solid);
    // At the edge of the pixel range, where far points are held, the square stays inside it.
    canvas.Calls.clear();
    DrawControlPointMarker2D(canvas, 2147483647, -2147483647 - 1, 6);
    EXPECT_EQ(canvas.Calls, TCalls{"Rectangle (2147483644,-2147483648) (2147483647,-2147483645)"});

    canvas.Calls.clear();
    EXPECT_TRUE(DrawPointMarker2D(canvas, MakePoint2D(40, 50), ClipBox, MakeTranslation2D(10, 0)));
    EXPECT_EQ(canvas.Calls, (TCalls{"MoveTo (40,50)", "LineTo (60,50)", "MoveTo (50,40)", "LineTo (50,60)"}));
    canvas.Calls.clear();
    EXPECT_FALSE(DrawPointMarker2D(canvas, MakePoint2D(95, 50), ClipBox, MakeTranslation2D(10, 0)));
    EXPECT_TRUE(canvas.Calls.empty());

    EXPECT_TRUE(DrawSegment2D(canvas, MakePoint2D(50, 50), MakePoint2D(50, 300), IdentityTransform2D, ClipBox));
    EXPECT_EQ(canvas.Calls, (TCalls{"MoveTo (50,50)", "LineTo (50,100)"}));
    canvas.Calls.clear();
    EXPECT_FALSE(DrawSegment2D(canvas, MakePoint2D(150, 50), MakePoint2D(150, 300), IdentityTransform2D, ClipBox));
    EXPECT_TRUE(canvas.Calls.empty());

    DrawBoxOutline2D(canvas, MakeRect2D(10, 10, 30, 20), ClipBox, IdentityTransform2D, MakeTranslation2D(5, 5));
    EXPECT_EQ(canvas.Calls, TCalls{"Polyline (15,15) (15,25) (35,25) (35,15) (15,15)"});
    canvas.Calls.clear();
    DrawBox2D(canvas, MakeRect2D(90, 10, 120, 20), ClipBox, IdentityTransform2D);
    EXPECT_EQ(canvas.Calls, (TCalls{"Polyline (90,10) (90,20) (100,20)", "Polyline (100,10) (90,10)"}));
}

TEST(ClippedDrawing2D, PaintsOnlyInsideTheClipBox)
{
    QImage image(120, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        TDecorativeCanvas canvas(&painter);
        const std::vector<TPoint2D> points = {MakePoint2D(-50, 50), MakePoint2D(300, 50)};
        DrawPolylineClipped2D(points.data(), 2, canvas, false, 1, 0, IdentityTransform2D, BoxOf(points),
                              MakeRect2D(10, 10, 100, 100));
    }
    EXPECT_EQ(image.pixel(10, 50), QColor(Qt::black).rgb());
    EXPECT_EQ(image.pixel(60, 50), QColor(Qt::black).rgb());
    EXPECT_EQ(image.pixel(100, 50), QColor(Qt::black).rgb());
    EXPECT_EQ(image.pixel(5, 50), QColor(Qt::white).rgb());
    EXPECT_EQ(image.pixel(110, 50), QColor(Qt::white).rgb());
}
