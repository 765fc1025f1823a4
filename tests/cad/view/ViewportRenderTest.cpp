#include <gtest/gtest.h>

#include <memory>
#include <numbers>
#include <optional>
#include <set>
#include <tuple>
#include <string>
#include <vector>

#include <QImage>
#include <QPainter>

#include "cad/drawing/CADCmp2D.h"
#include "cad/fonts/VectFont.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Ellipse2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/JustifiedVectText2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"
#include "cad/shapes/Text2D.h"
#include "cad/view/ViewportDecorations.h"
#include "support/ImageTestSupport.h"
#include "support/VectFontTestSupport.h"
#include "support/ViewportTestSupport.h"

using imagetest::Checkerboard;
using imagetest::CountPixels;
using imagetest::Rgb;
using imagetest::SaveTestImage;
using viewtest::MakeView;

namespace {

// A 400 x 300 window on (-20, -20)-(380, 280): one world unit a pixel, so the
// world point (x, y) lies on pixel (x + 20, 280 - y) (half-pixel centres
// round to the even neighbour).
constexpr int Width = 400;
constexpr int Height = 300;
constexpr TColor PenColor = 0x0000C0;   // dark red
constexpr TColor BrushColor = 0xC06000; // blue
constexpr TColor GridColor = clGray;
constexpr float GridStep = 20.0f;
constexpr float Cell = 45.0f;

// Shapes fill the 4 x 4 cells of 45 units from the origin; the world above
// and to the right of them shows only the grid.
TPoint2D At(int column, int row, float x, float y)
{
    return MakePoint2D(column * Cell + x, row * Cell + y);
}

std::unique_ptr<TVectFont> StrokeFont()
{
    using namespace vectfont_test;
    TCADStreamReader stream(FontFileBytes({Stroke('K', 0.8f), Stroke('S', 0.8f)}));
    return std::make_unique<TVectFont>(stream, "CAD422");
}

struct TShapeCheck {
    const char* Name;
    std::optional<TPoint2D> Pen;  // a world point that must show the pen
    std::optional<TPoint2D> Fill; // one that must show the brush
};

class ViewportRender : public testing::Test {
protected:
    void SetUp() override
    {
        Font = StrokeFont();
        TLayer& layer = Drawing.Layers().GetLayer(0);
        layer.SetPen({PenColor, TPenStyle::Solid, TPenMode::Copy, 1});
        layer.SetBrush({BrushColor, TBrushStyle::Solid});
        View = MakeView(Width, Height, MakeRect2D(-20, -20, 380, 280), 1.0f);
        View->SetCADCmp2D(&Drawing);
        View->SetGridDeltaX(GridStep);
        View->SetGridDeltaY(GridStep);
        // Sub-steps of 5 pixels are too dense: that level is left out.
        View->SetGridSubX(4);
        View->SetGridSubY(4);
        View->SetShowGrid(true);
        View->SetShowAssi(true);
    }

    void Add(std::unique_ptr<TObject2D> shape, TShapeCheck check)
    {
        Drawing.AddObject(-1, std::move(shape));
        Checks.push_back(check);
    }

    QPoint Pixel(TPoint2D world) const
    {
        const TWindowPoint p = Point2DToWindowPoint(View->WorldToScreen(world));
        return {p.X, p.Y};
    }

    void AddEveryShape();

    std::unique_ptr<TVectFont> Font;
    TCADCmp2D Drawing;
    std::unique_ptr<TCADViewport2DCore> View;
    std::vector<TShapeCheck> Checks;
};

void ViewportRender::AddEveryShape()
{
    const float pi = std::numbers::pi_v<float>;
    Add(std::make_unique<TPunto2D>(0, At(0, 0, 22, 22)), {"TPunto2D", At(0, 0, 22, 27), {}});
    Add(std::make_unique<TLine2D>(0, At(1, 0, 5, 20), At(1, 0, 40, 20)), {"TLine2D", At(1, 0, 30, 20), {}});
    {
        const TPoint2D v[] = {At(2, 0, 5, 5), At(2, 0, 5, 40), At(2, 0, 40, 40)};
        Add(std::make_unique<TPolyline2D>(0, v), {"TPolyline2D", At(2, 0, 5, 22), {}});
    }
    {
        const TPoint2D v[] = {At(3, 0, 5, 5), At(3, 0, 22, 40), At(3, 0, 40, 5)};
        Add(std::make_unique<TPolygon2D>(0, v), {"TPolygon2D", At(3, 0, 22, 5), At(3, 0, 22, 15)});
    }
    Add(std::make_unique<TFrame2D>(0, At(0, 1, 5, 5), At(0, 1, 40, 40)), {"TFrame2D", At(0, 1, 5, 22), {}});
    Add(std::make_unique<TRectangle2D>(0, At(1, 1, 5, 5), At(1, 1, 40, 40)),
        {"TRectangle2D", At(1, 1, 5, 22), At(1, 1, 22, 22)});
    Add(std::make_unique<TCerchio2D>(0, At(2, 1, 22, 22), At(2, 1, 40, 22)), {"TCerchio2D", At(2, 1, 40, 22), {}});
    Add(std::make_unique<TFilledCerchio2D>(0, At(3, 1, 22, 22), At(3, 1, 40, 22)),
        {"TFilledCerchio2D", At(3, 1, 40, 22), At(3, 1, 22, 22)});
    Add(std::make_unique<TEllipse2D>(0, At(0, 2, 5, 12), At(0, 2, 40, 32)), {"TEllipse2D", At(0, 2, 40, 22), {}});
    Add(std::make_unique<TFilledEllipse2D>(0, At(1, 2, 5, 12), At(1, 2, 40, 32)),
        {"TFilledEllipse2D", At(1, 2, 40, 22), At(1, 2, 22, 22)});
    Add(std::make_unique<TArc2D>(0, At(2, 2, 5, 5), At(2, 2, 40, 40), 0.0f, pi), {"TArc2D", At(2, 2, 40, 22.5f), {}});
    Add(std::make_unique<TArco2D>(0, At(3, 2, 22, 10), At(3, 2, 40, 10), 0.0f, pi),
        {"TArco2D", At(3, 2, 40, 10), {}});
    {
        const TPoint2D v[] = {At(0, 3, 5, 5), At(0, 3, 22, 40), At(0, 3, 40, 5)};
        Add(std::make_unique<TBSpline2D>(0, v), {"TBSpline2D", At(0, 3, 5, 5), {}});
    }
    {
        auto text = std::make_unique<TText2D>();
        text->Points()->Put(0, At(1, 3, 5, 5));
        text->Points()->Put(1, At(1, 3, 40, 40));
        text->Text = "Ab";
        text->Height = 20.0f;
        text->DrawBox = true;
        text->DrawTextFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        text->UpdateExtension();
        Add(std::move(text), {"TText2D", At(1, 3, 5, 22), {}});
    }
    Add(std::make_unique<TBitmap2D>(0, At(2, 3, 5, 5), At(2, 3, 40, 40), Checkerboard()), {"TBitmap2D", {}, {}});
    {
        auto text = std::make_unique<TJustifiedVectText2D>(0, Font.get(), MakeRect2D(3 * Cell + 5, 3 * Cell + 5,
                                                                                  3 * Cell + 40, 3 * Cell + 40),
                                                           10.0f, "KS");
        text->DrawBox = true;
        text->UpdateExtension();
        Add(std::move(text), {"TJustifiedVectText2D", {}, {}});
    }
}

} // namespace

TEST_F(ViewportRender, DrawsEveryShapeWithGridAxesAndScaleBar)
{
    AddEveryShape();
    View->Repaint();
    const QImage& picture = View->WindowImage();
    ASSERT_TRUE(SaveTestImage(picture, "viewport/drawing.png"));

    // Each shape where it must be.
    for (const TShapeCheck& check : Checks) {
        if (check.Pen) {
            EXPECT_EQ(picture.pixel(Pixel(*check.Pen)), Rgb(PenColor)) << check.Name;
        }
        if (check.Fill) {
            EXPECT_EQ(picture.pixel(Pixel(*check.Fill)), Rgb(BrushColor)) << check.Name << " fill";
        }
    }
    EXPECT_EQ(picture.pixel(Pixel(At(2, 3, 10, 35))), Checkerboard().pixel(0, 0)) << "bitmap's top-left quarter";
    const QPoint textTopLeft = Pixel(At(3, 3, 0, Cell));
    const QSize cell(static_cast<int>(Cell), static_cast<int>(Cell));
    EXPECT_GT(CountPixels(picture, QRect(textTopLeft, cell), Rgb(PenColor)), 20) << "vector text";
    // A whole line where it must be: (45 + 5 .. 45 + 40, 20) is row 260, columns 70..105.
    for (int x = 71; x < 105; ++x)
        EXPECT_EQ(picture.pixel(x, 260), Rgb(PenColor)) << "line at column " << x;

    // The grid alone above and right of the shapes: dots every third pixel on
    // rows and columns every 20 pixels, nothing else (the sub-grid is too dense).
    for (int y = 20; y < 100; ++y)
        for (int x = 220; x < 390; ++x) {
            const bool onGrid = (y % 20 == 0 && x % 3 == 0) || (x % 20 == 0 && y % 3 == 0);
            ASSERT_EQ(picture.pixel(x, y), onGrid ? Rgb(GridColor) : Rgb(clSilver)) << x << ", " << y;
        }

    // The axes are solid lines of the grid colour through the world origin.
    for (int x = 200; x < 330; ++x)
        EXPECT_EQ(picture.pixel(x, 280), Rgb(GridColor)) << "X axis at " << x;
    for (int y = 20; y < 80; ++y)
        EXPECT_EQ(picture.pixel(20, y), Rgb(GridColor)) << "Y axis at " << y;
    // The scale bar spans a tenth of the view: (320, -11) to (360, -11) is row 290, columns 340..380.
    for (int x = 340; x <= 380; ++x)
        EXPECT_EQ(picture.pixel(x, 291) == Rgb(clYellow) || picture.pixel(x, 290) == Rgb(clYellow), true)
            << "scale bar at " << x;
    EXPECT_GT(CountPixels(picture, QRect(330, 270, 60, 20), Rgb(clYellow)), 20) << "the length above the bar";
}

TEST_F(ViewportRender, DrawsNothingOutsideTheScreenRectangleOfAWorldDrawing)
{
    AddEveryShape();
    QImage picture(Width, Height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        TDecorativeCanvas canvas(&painter);
        // Half of the shapes' world squeezed into the middle of the picture.
        View->DrawWorldRect(MakeRect2D(0, 0, 90, 180), {150, 100, 250, 200}, 0, canvas);
    }
    int inside = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const bool inClip = x >= 150 && x < 250 && y >= 100 && y < 200;
            if (!inClip)
                ASSERT_EQ(picture.pixel(x, y), qRgb(255, 255, 255)) << x << ", " << y;
            else
                inside += picture.pixel(x, y) != qRgb(255, 255, 255);
        }
    EXPECT_GT(inside, 100);
}

TEST(ViewportDecorations, AGridLevelDenserThanTenPixelsIsLeftOut)
{
    struct TCase {
        float PixelsPerUnit;
        bool Drawn;
    };
    // A 10-unit grid: 10 pixels apart at 1 pixel a unit, 11 at 1.1.
    for (const TCase c : {TCase{1.0f, false}, TCase{1.1f, true}, TCase{0.5f, false}, TCase{3.0f, true}}) {
        QImage picture(100, 100, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        TDecorativeCanvas canvas(&painter);
        canvas.DecorativePen.SetPattern("100");
        const TTransform2D toScreen = MakeScale2D(c.PixelsPerUnit, -c.PixelsPerUnit);
        const TRect2D world = MakeRect2D(0, -90 / c.PixelsPerUnit, 90 / c.PixelsPerUnit, 0);
        EXPECT_EQ(DrawGridLevel(canvas, toScreen, world, 10.0f, 10.0f), c.Drawn) << c.PixelsPerUnit;
        painter.end();
        EXPECT_EQ(picture.pixel(0, 0) != qRgb(255, 255, 255), c.Drawn) << c.PixelsPerUnit;
    }
}

TEST(ViewportDecorations, TheScaleBarReadsItsLengthInTheUnits)
{
    EXPECT_EQ(ScaleBarNumber(40.0, 0), "40.000");
    EXPECT_EQ(ScaleBarNumber(1.23456, 1), "1.2346");
    EXPECT_EQ(ScaleBarNumber(0.0005, 0), "0.001");
    EXPECT_STREQ(ScaleBarUnit(0), "mm");
    EXPECT_STREQ(ScaleBarUnit(1), "Inch");

    // Drawn: a tenth of the visible width, in the text the canvas gets.
    class TTextRecorder : public TDecorativeCanvas {
    public:
        void TextOut(int, int, const std::string& text) override { Texts.push_back(text); }
        std::vector<std::string> Texts;
    };
    struct TCase {
        int Units;
        std::vector<std::string> Expected;
    };
    for (const TCase& c : {TCase{0, {"mm", "40.000"}}, TCase{1, {"Inch", "40.0000"}}}) {
        QImage picture(400, 300, QImage::Format_RGB32);
        QPainter painter(&picture);
        TTextRecorder canvas;
        canvas.SetPainter(&painter);
        TRect2D world = MakeRect2D(0, 0, 400, 300);
        const TTransform2D toScreen = ViewMapping2D(world, 0, 0, 400, 300, 0.0f);
        DrawViewAxesAndScale(canvas, toScreen, world, clGray, clSilver, c.Units);
        EXPECT_EQ(canvas.Texts, c.Expected);
    }
}

TEST(ViewportDecorations, AxesArrowsLettersAndScaleBarAreDrawnWhereAndHowTheyMust)
{
    struct TSegment {
        TWindowPoint From;
        TWindowPoint To;
        TColor Color;
        int Width;
        bool operator<(const TSegment& o) const
        {
            return std::tie(From.X, From.Y, To.X, To.Y, Color, Width) <
                   std::tie(o.From.X, o.From.Y, o.To.X, o.To.Y, o.Color, o.Width);
        }
    };
    class TSegmentRecorder : public TDecorativeCanvas {
    public:
        void MoveTo(int x, int y) override { At = {x, y}; }
        void LineTo(int x, int y) override
        {
            Segments.insert({At, {x, y}, Pen.Color, Pen.Width});
            At = {x, y};
        }
        void TextOut(int, int, const std::string&) override {}
        TWindowPoint At;
        std::set<TSegment> Segments;
    };
    QImage picture(400, 300, QImage::Format_RGB32);
    QPainter painter(&picture);
    TSegmentRecorder canvas;
    canvas.SetPainter(&painter);
    // One unit a pixel: world (x, y) is pixel (x - 0.5, 299.5 - y), halves to even.
    // a = 3 % of the width = 12, b = 3 % of the height = 9: the arrows start at
    // (12, 9), pixel (12, 290); the X arrow ends at (4b, 9), the Y arrow at (12, 4b).
    TRect2D world = MakeRect2D(0, 0, 400, 300);
    const TTransform2D toScreen = ViewMapping2D(world, 0, 0, 400, 300, 0.0f);
    DrawViewAxesAndScale(canvas, toScreen, world, clGray, clSilver, 0);
    const TSegment expected[] = {
        // Axes through the origin, grid colour, two pixels wide.
        {{0, 300}, {400, 300}, clGray, 2},
        {{0, 300}, {0, 0}, clGray, 2},
        // X arrow, its head and its letter.
        {{12, 290}, {36, 290}, clYellow, 1},
        {{36, 290}, {21, 285}, clYellow, 1},
        {{21, 285}, {21, 294}, clYellow, 1},
        {{21, 294}, {36, 290}, clYellow, 1},
        {{46, 280}, {56, 300}, clYellow, 1},
        {{46, 299}, {56, 280}, clYellow, 1},
        // Y arrow, its head and its letter.
        {{12, 290}, {12, 264}, clYellow, 1},
        {{12, 264}, {7, 281}, clYellow, 1},
        {{7, 281}, {17, 281}, clYellow, 1},
        {{17, 281}, {12, 264}, clYellow, 1},
        {{12, 254}, {12, 245}, clYellow, 1},
        {{12, 245}, {7, 236}, clYellow, 1},
        {{12, 245}, {17, 236}, clYellow, 1},
        // The scale bar from 85 % to 95 % of the width, with its ticks.
        {{340, 290}, {380, 290}, clYellow, 1},
        {{340, 294}, {340, 286}, clYellow, 1},
        {{380, 294}, {380, 286}, clYellow, 1},
    };
    for (const TSegment& segment : expected)
        EXPECT_EQ(canvas.Segments.count(segment), 1u)
            << segment.From.X << "," << segment.From.Y << " - " << segment.To.X << "," << segment.To.Y;
    EXPECT_EQ(canvas.Segments.size(), std::size(expected)) << "nothing else is drawn";
}
