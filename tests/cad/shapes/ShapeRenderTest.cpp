#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <numbers>
#include <vector>

#include <QFont>
#include <QImage>
#include <QPainter>

#include "cad/shapes/Arc2D.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Ellipse2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"
#include "cad/shapes/Text2D.h"
#include "support/ImageTestSupport.h"
#include "support/ShapeTestSupport.h"

using namespace imagetest;
using namespace shapetest;

namespace {

constexpr int Cell = 100;
constexpr int Columns = 4;
constexpr int Rows = 4;
constexpr int Width = Cell * Columns;
constexpr int Height = Cell * Rows;

constexpr TColor PenColor = 0x0000C0;   // dark red
constexpr TColor BrushColor = 0xC06000; // blue
const QRgb Background = qRgb(255, 255, 255);

// The world origin of cell (column, row), rows counted from the top of the picture.
TPoint2D CellPoint(int column, int row, float x, float y)
{
    return MakePoint2D(static_cast<float>(column * Cell) + x, static_cast<float>((Rows - 1 - row) * Cell) + y);
}

// Screen pixel of a world point (Y flipped).
QPoint Pixel(TPoint2D world)
{
    return QPoint(static_cast<int>(world.X), Height - static_cast<int>(world.Y));
}

struct TSample {
    std::unique_ptr<TObject2D> Shape;
    // Pixels that must show the pen, the brush or the background.
    std::vector<QPoint> PenPixels;
    std::vector<QPoint> BrushPixels;
    std::vector<QPoint> BackgroundPixels;
};

std::vector<TSample> Samples()
{
    std::vector<TSample> samples;
    const auto add = [&](std::unique_ptr<TObject2D> shape, std::vector<TPoint2D> pen, std::vector<TPoint2D> brush,
                         std::vector<TPoint2D> background) {
        TSample sample{std::move(shape), {}, {}, {}};
        for (const TPoint2D p : pen)
            sample.PenPixels.push_back(Pixel(p));
        for (const TPoint2D p : brush)
            sample.BrushPixels.push_back(Pixel(p));
        for (const TPoint2D p : background)
            sample.BackgroundPixels.push_back(Pixel(p));
        samples.push_back(std::move(sample));
    };
    const auto at = CellPoint;

    add(std::make_unique<TPunto2D>(1, at(0, 0, 50, 50)), {at(0, 0, 50, 50), at(0, 0, 42, 50), at(0, 0, 50, 58)}, {},
        {at(0, 0, 45, 45)});
    add(std::make_unique<TLine2D>(2, at(1, 0, 10, 50), at(1, 0, 90, 50)), {at(1, 0, 50, 50), at(1, 0, 11, 50)}, {},
        {at(1, 0, 50, 60)});
    {
        const TPoint2D v[] = {at(2, 0, 10, 10), at(2, 0, 10, 90), at(2, 0, 90, 90), at(2, 0, 90, 10)};
        add(std::make_unique<TPolyline2D>(3, v), {at(2, 0, 10, 50), at(2, 0, 50, 90)}, {},
            {at(2, 0, 50, 50), at(2, 0, 50, 10)});
    }
    {
        const TPoint2D v[] = {at(3, 0, 10, 10), at(3, 0, 50, 90), at(3, 0, 90, 10)};
        add(std::make_unique<TPolygon2D>(4, v), {at(3, 0, 50, 10)}, {at(3, 0, 50, 40)}, {at(3, 0, 15, 80)});
    }
    add(std::make_unique<TFrame2D>(5, at(0, 1, 10, 20), at(0, 1, 90, 80)), {at(0, 1, 10, 50), at(0, 1, 50, 80)}, {},
        {at(0, 1, 50, 50)});
    add(std::make_unique<TRectangle2D>(6, at(1, 1, 10, 20), at(1, 1, 90, 80)), {at(1, 1, 10, 50)},
        {at(1, 1, 50, 50)}, {at(1, 1, 50, 90)});
    add(std::make_unique<TCerchio2D>(7, at(2, 1, 50, 50), at(2, 1, 90, 50)), {at(2, 1, 90, 50)}, {},
        {at(2, 1, 50, 50), at(2, 1, 5, 5)});
    add(std::make_unique<TFilledCerchio2D>(8, at(3, 1, 50, 50), at(3, 1, 90, 50)), {at(3, 1, 90, 50)},
        {at(3, 1, 50, 50)}, {at(3, 1, 5, 5)});
    add(std::make_unique<TEllipse2D>(9, at(0, 2, 10, 30), at(0, 2, 90, 70)), {at(0, 2, 90, 50)}, {},
        {at(0, 2, 50, 50)});
    add(std::make_unique<TFilledEllipse2D>(10, at(1, 2, 10, 30), at(1, 2, 90, 70)), {at(1, 2, 90, 50)},
        {at(1, 2, 50, 50)}, {at(1, 2, 50, 90)});
    // Upper half of an ellipse, then of a circle: the lower half stays empty.
    add(std::make_unique<TArc2D>(11, at(2, 2, 10, 20), at(2, 2, 90, 80), 0.0f, static_cast<float>(std::numbers::pi)),
        {at(2, 2, 90, 50), at(2, 2, 50, 80)}, {}, {at(2, 2, 50, 20)});
    add(std::make_unique<TArco2D>(12, at(3, 2, 50, 50), at(3, 2, 90, 50), 0.0f, static_cast<float>(std::numbers::pi)),
        {at(3, 2, 90, 50), at(3, 2, 50, 90)}, {}, {at(3, 2, 50, 10)});
    {
        const TPoint2D v[] = {at(0, 3, 10, 10), at(0, 3, 50, 90), at(0, 3, 90, 10)};
        add(std::make_unique<TBSpline2D>(13, v), {at(0, 3, 10, 10), at(0, 3, 50, 50)}, {}, {at(0, 3, 50, 80)});
    }
    {
        auto text = std::make_unique<TText2D>();
        text->Points()->Put(0, at(1, 3, 5, 20));
        text->Points()->Put(1, at(1, 3, 95, 80));
        text->Text = "MW\xC9";
        text->Height = 40.0f;
        text->DrawBox = true;
        text->DrawTextFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
        text->UpdateExtension();
        add(std::move(text), {at(1, 3, 5, 50), at(1, 3, 50, 80)}, {}, {at(1, 3, 50, 95)});
    }
    add(std::make_unique<TBitmap2D>(15, at(2, 3, 10, 10), at(2, 3, 90, 90), Checkerboard()), {}, {},
        {at(2, 3, 5, 5)});
    return samples;
}

} // namespace

TEST(ShapeRender, EveryShapeClassOnAnOffscreenImage)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Background);
    auto samples = Samples();
    {
        QPainter painter(&image);
        QFont own = painter.font();
        own.setPixelSize(9);
        painter.setFont(own);
        TDecorativeCanvas canvas(&painter);
        for (TSample& sample : samples) {
            canvas.Pen = TPenState{PenColor, TPenStyle::Solid, TPenMode::Copy, 1};
            canvas.Brush = TBrushState{BrushColor, TBrushStyle::Solid};
            canvas.FontColor = PenColor;
            sample.Shape->Draw(FlipView(Height), canvas, ScreenClip(Width, Height), 0);
            EXPECT_EQ(painter.font(), own) << sample.Shape->ClassName() << " leaves the canvas its own font";
        }
    }
    ASSERT_TRUE(SaveTestImage(image, "shapes.png"));

    for (const TSample& sample : samples) {
        SCOPED_TRACE(sample.Shape->ClassName());
        for (const QPoint& p : sample.PenPixels)
            EXPECT_EQ(image.pixel(p), Rgb(PenColor)) << "pen at " << p.x() << "," << p.y();
        for (const QPoint& p : sample.BrushPixels)
            EXPECT_EQ(image.pixel(p), Rgb(BrushColor)) << "brush at " << p.x() << "," << p.y();
        for (const QPoint& p : sample.BackgroundPixels)
            EXPECT_EQ(image.pixel(p), Background) << "background at " << p.x() << "," << p.y();
    }

    // The picture: each source pixel becomes a 40 x 40 block.
    const QPoint picture = Pixel(CellPoint(2, 3, 10, 90));
    EXPECT_EQ(image.pixel(picture + QPoint(20, 20)), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(picture + QPoint(60, 20)), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(picture + QPoint(20, 60)), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(picture + QPoint(60, 60)), qRgb(0, 0, 0));

    // The text left ink inside its box, in the font colour.
    const QPoint textTopLeft = Pixel(CellPoint(1, 3, 6, 79));
    EXPECT_GT(CountPixels(image, QRect(textTopLeft, QSize(88, 58)), Rgb(PenColor)), 100);

    // The last cell is empty: nothing strayed there.
    for (int y = 0; y < Cell; y += 7)
        for (int x = 0; x < Cell; x += 7)
            ASSERT_EQ(image.pixel(3 * Cell + x, 3 * Cell + y), Background);
}

TEST(ShapeRender, BitmapCopyModeCombinesWithTheBackground)
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(qRgb(0x0F, 0xF0, 0x33));
    QImage white(1, 1, QImage::Format_RGB32);
    white.fill(qRgb(255, 255, 255));
    TBitmap2D bitmap(1, MakePoint2D(0, 0), MakePoint2D(10, 20), white);
    bitmap.CopyMode = cmSrcInvert;
    {
        QPainter painter(&image);
        TDecorativeCanvas canvas(&painter);
        bitmap.Draw(FlipView(20), canvas, ScreenClip(20, 20), 0);
    }
    EXPECT_EQ(image.pixel(5, 10), qRgb(0xF0, 0x0F, 0xCC)) << "xor with white inverts";
    EXPECT_EQ(image.pixel(15, 10), qRgb(0x0F, 0xF0, 0x33)) << "outside the picture untouched";
}

TEST(ShapeRender, ZoomedPictureCopiesOnlyItsVisiblePart)
{
    // A picture stretched far beyond the image still lands where it should.
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Background);
    TBitmap2D bitmap(1, MakePoint2D(-1000, -1000), MakePoint2D(1010, 1010), Checkerboard());
    {
        QPainter painter(&image);
        TDecorativeCanvas canvas(&painter);
        bitmap.Draw(FlipView(10), canvas, ScreenClip(10, 10), 0);
    }
    // The picture's centre falls on pixel (5, 5); pixel (2, 2) shows its upper-left source pixel.
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 0, 0));
}

TEST(ShapeRender, PictureCornersFarOffOrNotFiniteAreSafe)
{
    // Corners past the int range still place the picture over the whole
    // image; a corner that is no number places nothing.
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        TPoint2D First;
        TPoint2D Second;
        bool Covers;
    } cases[] = {
        {MakePoint2D(-3e9f, -3e9f), MakePoint2D(3e9f, 3e9f), true},
        {MakePoint2D(-1e38f, -1e38f), MakePoint2D(1e38f, 1e38f), true},
        {MakePoint2D(-inf, 0), MakePoint2D(5, 5), false},
        {TPoint2D{1, 1, 0}, MakePoint2D(5, 5), false},
        {MakePoint2D(std::numeric_limits<float>::quiet_NaN(), 0), MakePoint2D(5, 5), false},
    };
    QImage solid(4, 4, QImage::Format_RGB32);
    solid.fill(qRgb(0, 0, 255));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.First.X);
        QImage image(10, 10, QImage::Format_RGB32);
        image.fill(Background);
        TBitmap2D bitmap(1, c.First, c.Second, solid);
        {
            QPainter painter(&image);
            TDecorativeCanvas canvas(&painter);
            bitmap.Draw(FlipView(10), canvas, ScreenClip(10, 10), 0);
        }
        const QRgb expected = c.Covers ? qRgb(0, 0, 255) : Background;
        EXPECT_EQ(image.pixel(0, 0), expected);
        EXPECT_EQ(image.pixel(9, 9), expected);
    }
}

TEST(ShapeRender, TextBelowHalfAPixelIsNotDrawn)
{
    // Half a pixel rounds to even, that is to 0.
    const struct {
        float Height;
        bool Drawn;
    } cases[] = {{0.4f, false}, {0.5f, false}, {20.0f, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Height);
        QImage image(50, 50, QImage::Format_RGB32);
        image.fill(Background);
        TText2D text;
        text.Points()->Put(0, MakePoint2D(0, 0));
        text.Points()->Put(1, MakePoint2D(50, 50));
        text.Text = "MMMM";
        text.Height = c.Height;
        text.UpdateExtension();
        {
            QPainter painter(&image);
            TDecorativeCanvas canvas(&painter);
            text.Draw(FlipView(50), canvas, ScreenClip(50, 50), 0);
        }
        QImage blank(50, 50, QImage::Format_RGB32);
        blank.fill(Background);
        EXPECT_EQ(image != blank, c.Drawn);
    }
}

TEST(ShapeRender, RecalculatedTextBoxFitsTheText)
{
    // The same text on screen, once placed directly and once moved there by
    // its object transform: the measured box goes back through both.
    for (const float shift : {0.0f, 100.0f}) {
        SCOPED_TRACE(shift);
        QImage image(300, 100, QImage::Format_RGB32);
        image.fill(Background);
        TText2D text;
        text.Points()->Put(0, MakePoint2D(10 - shift, 10));
        text.Points()->Put(1, MakePoint2D(12 - shift, 90));
        text.SetModelTransform(MakeTranslation2D(shift, 0));
        text.Text = "Measured text";
        text.Height = 30.0f;
        text.RecalcBox = true;
        text.UpdateExtension();
        {
            QPainter painter(&image);
            TDecorativeCanvas canvas(&painter);
            text.Draw(FlipView(100), canvas, ScreenClip(300, 100), 0);
        }
        // Left and top stay; right and bottom fit the text.
        EXPECT_NEAR(text.Box.FirstEdge.X, 10.0f, 0.01f);
        EXPECT_NEAR(text.Box.SecondEdge.Y, 90.0f, 0.01f);
        EXPECT_GT(text.Box.SecondEdge.X, 60.0f);
        EXPECT_LT(text.Box.SecondEdge.X, 290.0f);
        EXPECT_GT(text.Box.FirstEdge.Y, 40.0f);
        EXPECT_LT(text.Box.FirstEdge.Y, 85.0f);
        // The control points hold the box in the object's own coordinates.
        EXPECT_NEAR((*text.Points())[0].X, 10.0f - shift, 0.01f);
        EXPECT_NEAR((*text.Points())[1].Y, 90.0f, 0.01f);
    }
}

TEST(ShapeRender, XorPenDrawsOnlyTheTextBox)
{
    TText2D text;
    text.Points()->Put(0, MakePoint2D(10, 10));
    text.Points()->Put(1, MakePoint2D(50, 30));
    text.Text = "x";
    text.Height = 10.0f;
    text.UpdateExtension();
    TShapeRecordingCanvas canvas;
    text.Draw(FlipView(100), canvas, ScreenClip(100, 100), 0);
    EXPECT_EQ(canvas.Calls(), 0);
    canvas.Pen.Mode = TPenMode::Xor;
    text.Draw(FlipView(100), canvas, ScreenClip(100, 100), 0);
    ASSERT_EQ(canvas.Polylines.size(), 1u);
    EXPECT_EQ(canvas.Polylines[0].size(), 5u);
}
