#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>

#include "cad/base/CADExceptions.h"
#include "cad/fonts/FontRegistry.h"
#include "cad/fonts/VectFont.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/ClassRegistry.h"
#include "cad/shapes/JustifiedVectText2D.h"
#include "cad/shapes/Text2D.h"
#include "cad/stream/CADStream.h"
#include "support/ImageTestSupport.h"
#include "support/VectFontTestSupport.h"

using namespace vectfont_test;

namespace {

std::unique_ptr<TVectFont> TestFont()
{
    TCADStreamReader stream(FontFileBytes({Stroke('A', 0.6f), Stroke('B', 0.7f), Stroke('W', 3.0f)}));
    return std::make_unique<TVectFont>(stream, "CAD422");
}

TTransform2D TimesTen()
{
    return MakeScale2D(10, 10);
}

struct TBox {
    float X1, Y1, X2, Y2;
};

void ExpectBox(const TRect2D& box, TBox expected, const std::string& label)
{
    EXPECT_NEAR(box.FirstEdge.X, expected.X1, 1e-4) << label;
    EXPECT_NEAR(box.FirstEdge.Y, expected.Y1, 1e-4) << label;
    EXPECT_NEAR(box.SecondEdge.X, expected.X2, 1e-4) << label;
    EXPECT_NEAR(box.SecondEdge.Y, expected.Y2, 1e-4) << label;
}

} // namespace

TEST(JustifiedVectText2D, StartsWithTheDefaultsAndItsBox)
{
    const auto font = TestFont();
    const TJustifiedVectText2D text(4, font.get(), MakeRect2D(0, 0, 100, 50), 10.0f, "AB");
    EXPECT_EQ(text.ID, 4);
    EXPECT_FLOAT_EQ(text.CharSpacing, 0.1f);
    EXPECT_FLOAT_EQ(text.LineSpacing, 0.02f);
    EXPECT_FALSE(text.DrawBox);
    EXPECT_EQ(text.HJustification, 0);
    EXPECT_EQ(text.VJustification, 0);
    ASSERT_EQ(text.PointCount(), 2);
    EXPECT_FALSE(text.Points()->GrowingEnabled);
    ExpectBox(text.Box, {0, 40, 14, 50}, "box = the text box at the top left");
}

TEST(JustifiedVectText2D, JustifiesTheTextInsideItsBox)
{
    const auto font = TestFont();
    // "W" measures (0.1 + 3.0 - 0.1) * 10 = 30 wide and 10 high.
    TJustifiedVectText2D text(0, font.get(), MakeRect2D(100, 50, 0, 0), 10.0f, "W");
    const struct {
        std::uint8_t h, v;
        TBox expected;
    } cases[] = {
        {0, 0, {0, 40, 30, 50}},  {1, 0, {70, 40, 100, 50}}, {2, 0, {35, 40, 65, 50}}, {7, 0, {0, 40, 30, 50}},
        {0, 1, {0, 0, 30, 10}},   {0, 2, {0, 25, 30, 35}},   {0, 9, {0, 40, 30, 50}},
    };
    for (const auto& c : cases) {
        text.HJustification = c.h;
        text.VJustification = c.v;
        text.UpdateExtension();
        const std::string label = "H" + std::to_string(c.h) + " V" + std::to_string(c.v);
        ExpectBox(text.GetTextBox(), c.expected, label);
        ExpectBox(text.Box, c.expected, label);
    }
}

TEST(JustifiedVectText2D, TheBoxFollowsTheTransformAndTheText)
{
    const auto font = TestFont();
    TJustifiedVectText2D text(0, font.get(), MakeRect2D(0, 0, 100, 50), 10.0f, "A");
    text.SetModelTransform(MakeTranslation2D(5, -5));
    text.UpdateExtension();
    ExpectBox(text.Box, {5, 35, 11, 45}, "translated");
    text.SetText("AB");
    ExpectBox(text.Box, {5, 35, 19, 45}, "SetText updates the box");

    TJustifiedVectText2D fontless(0, nullptr, MakeRect2D(0, 0, 100, 50), 10.0f, "AB");
    ExpectBox(fontless.Box, {0, 0, 100, 50}, "without a font the box is the control points'");
    TPolylineRecorder canvas;
    fontless.DrawBox = true;
    fontless.Draw(IdentityTransform2D, canvas, MakeRect2D(0, 0, 1000, 1000), 0);
    EXPECT_TRUE(canvas.Polylines.empty()) << "a text without font draws nothing";
}

TEST(JustifiedVectText2D, EveryLineStartsAtTheSameX)
{
    const auto font = TestFont();
    for (std::uint8_t h : {0, 1}) {
        TJustifiedVectText2D text(0, font.get(), MakeRect2D(0, 0, 100, 50), 10.0f, "AB\r\nA");
        text.HJustification = h;
        text.UpdateExtension();
        TPolylineRecorder canvas;
        text.Draw(TimesTen(), canvas, MakeRect2D(0, 0, 1000, 1000), 0);
        ASSERT_EQ(canvas.Polylines.size(), 3u) << "A, B, A: the line feed is not drawn";
        const int startX = h == 0 ? 0 : 860; // right: 100 - 14 wide
        EXPECT_EQ(canvas.Polylines[0][0].X, startX);
        EXPECT_EQ(canvas.Polylines[0][0].Y, 400) << "first baseline one height below the top";
        EXPECT_EQ(canvas.Polylines[1][0].X, startX + 70);
        EXPECT_EQ(canvas.Polylines[2][0].X, startX) << "second line";
        EXPECT_EQ(canvas.Polylines[2][0].Y, 298) << "lower by the line's height 10 plus 10 * 0.02";
    }
}

TEST(JustifiedVectText2D, DrawsItsBoxWhenAsked)
{
    const auto font = TestFont();
    TJustifiedVectText2D text(0, font.get(), MakeRect2D(0, 0, 100, 50), 10.0f, "AB");
    text.DrawBox = true;
    TPolylineRecorder canvas;
    text.Draw(TimesTen(), canvas, MakeRect2D(0, 0, 1000, 1000), 0);
    ASSERT_EQ(canvas.Polylines.size(), 3u) << "the box, then A and B";
    const std::vector<TWindowPoint>& outline = canvas.Polylines[0];
    ASSERT_EQ(outline.size(), 5u);
    EXPECT_EQ(outline[0].X, 0);
    EXPECT_EQ(outline[0].Y, 400);
    EXPECT_EQ(outline[2].X, 140);
    EXPECT_EQ(outline[2].Y, 500);

    canvas.Polylines.clear();
    text.Draw(TimesTen(), canvas, MakeRect2D(0, 0, 1000, 1000), 0x20);
    EXPECT_EQ(canvas.Polylines.size(), 1u) << "draw mode 0x20: the box only";

    // The box, 140 pixels wide, cut by the clip box it is drawn with.
    canvas.Polylines.clear();
    text.Draw(TimesTen(), canvas, MakeRect2D(0, 0, 100, 1000), 0x20);
    ASSERT_FALSE(canvas.Polylines.empty());
    for (const std::vector<TWindowPoint>& run : canvas.Polylines)
        for (const TWindowPoint& p : run)
            EXPECT_LE(p.X, 100);
}

TEST(JustifiedVectText2D, AClickInsideTheTextBoxHitsTheText)
{
    const auto font = TestFont();
    // Right-justified "W": text box (70, 40)-(100, 50); control points at (0, 0) and (100, 50).
    TJustifiedVectText2D text(0, font.get(), MakeRect2D(0, 0, 100, 50), 10.0f, "W");
    text.HJustification = 1;
    text.UpdateExtension();
    const struct {
        float x, y;
        int code;
        float distance;
    } cases[] = {
        {85, 45, PICK_INOBJECT, 1.0f},
        {70.25f, 45, PICK_ONOBJECT, 0.25f},
        {50, 25, PICK_NOOBJECT, 1e8f},
        {0.5f, 0, 0, 0.5f},
    };
    for (const auto& c : cases) {
        float distance = 0;
        EXPECT_EQ(text.HitTest(MakePoint2D(c.x, c.y), distance, 1.0f), c.code) << c.x << ", " << c.y;
        EXPECT_NEAR(distance, c.distance, 1e-4) << c.x << ", " << c.y;
    }
}

TEST(JustifiedVectText2D, AssignCopiesTheTextItsLayoutAndCorners)
{
    const auto font = TestFont();
    TJustifiedVectText2D source(0, font.get(), MakeRect2D(10, 10, 60, 30), 5.0f, "AB\rA");
    source.HJustification = 2;
    source.VJustification = 1;
    source.DrawBox = true;
    source.CharSpacing = 0.3f;
    source.LineSpacing = 0.5f;
    source.UpdateExtension();

    TJustifiedVectText2D copy;
    copy.Assign(source);
    EXPECT_EQ(copy.Text, "AB\rA");
    EXPECT_EQ(copy.Font, font.get());
    EXPECT_EQ(copy.HJustification, 2);
    EXPECT_EQ(copy.VJustification, 1);
    EXPECT_TRUE(copy.DrawBox);
    EXPECT_FLOAT_EQ(copy.Height, 5.0f);
    EXPECT_FLOAT_EQ(copy.CharSpacing, 0.3f);
    EXPECT_FLOAT_EQ(copy.LineSpacing, 0.5f);
    ASSERT_EQ(copy.PointCount(), 2);
    EXPECT_FALSE(copy.Points()->GrowingEnabled);
    EXPECT_EQ(copy.Points()->Get(1).X, 60.0f);
    const TRect2D expected = source.GetTextBox();
    ExpectBox(copy.Box, {expected.FirstEdge.X, expected.FirstEdge.Y, expected.SecondEdge.X, expected.SecondEdge.Y},
              "the copy's box follows its new corners");
}

TEST(JustifiedVectText2D, LaysOutTextInTheShippedRomanFont)
{
    CADCoreClearFontRegistry();
    TMessageRecorder messages;
    CADCoreRegisterFontFromFile(0, std::string(KESTRO_PROGRAM_DIR) + "/RomanC.fnt");
    ASSERT_TRUE(messages.Texts.empty()) << messages.Texts[0];
    TVectFont* font = CADCoreFindFontByIndex(0);
    for (char c = 'A'; c <= 'Z'; ++c) {
        const TVectChar* glyph = font->GetChar(c);
        ASSERT_NE(glyph, nullptr) << c;
        EXPECT_GT(glyph->PolylineCount(), 0) << c;
        EXPECT_GT(glyph->Extent.SecondEdge.X, 0.3f) << c;
        EXPECT_LT(glyph->Extent.SecondEdge.X, 1.5f) << c;
    }
    for (char c : std::string("az09.,"))
        EXPECT_NE(font->GetChar(c), nullptr) << c;
    EXPECT_EQ(font->GetChar(' '), nullptr) << "the space is the text code's own";

    TJustifiedVectText2D text(0, font, MakeRect2D(0, 0, 100, 40), 10.0f, "KESTRO");
    const TRect2D box = text.GetTextBox();
    EXPECT_NEAR(box.SecondEdge.Y - box.FirstEdge.Y, 10.0f, 0.05f) << "capitals: the box is one height high";
    EXPECT_GT(box.SecondEdge.X - box.FirstEdge.X, 30.0f);
    EXPECT_LT(box.SecondEdge.X - box.FirstEdge.X, 100.0f);

    // Drawn into a picture for a reviewer; the ink must lie in the text box, and fill some of it.
    text.SetText("KESTRO\rcad 2D");
    text.HJustification = 2;
    text.UpdateExtension();
    QImage image(440, 180, QImage::Format_RGB32);
    image.fill(Qt::white);
    TTransform2D view = MakeScale2D(4, -4);
    view.M[2][0] = 20;
    view.M[2][1] = 170;
    {
        QPainter painter(&image);
        TDecorativeCanvas canvas(&painter);
        text.DrawBox = true;
        text.Draw(view, canvas, MakeRect2D(0, 0, 440, 180), 0);
    }
    imagetest::SaveTestImage(image, "vector-text-romanc.png");

    const TRect2D textBox = text.GetTextBox();
    const int left = 20 + static_cast<int>(4 * textBox.FirstEdge.X) - 1;
    const int right = 20 + static_cast<int>(4 * textBox.SecondEdge.X) + 1;
    const int top = 170 - static_cast<int>(4 * textBox.SecondEdge.Y) - 1;
    const int bottom = 170 - static_cast<int>(4 * textBox.FirstEdge.Y) + 1;
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (QColor(image.pixel(x, y)).lightness() < 128)
                ++(x >= left && x <= right && y >= top && y <= bottom ? inside : outside);
    EXPECT_EQ(outside, 0);
    EXPECT_GT(inside, 500);
    CADCoreClearFontRegistry();
}

TEST(JustifiedVectText2D, AssignFromAPlatformTextTakesTextHeightBoxAndCorners)
{
    TText2D source;
    source.Points()->Put(0, MakePoint2D(10, 10));
    source.Points()->Put(1, MakePoint2D(60, 30));
    source.Text = "AB";
    source.Height = 7.0f;
    source.DrawBox = true;

    TJustifiedVectText2D copy;
    copy.Assign(source);
    EXPECT_EQ(copy.Text, "AB");
    EXPECT_FLOAT_EQ(copy.Height, 7.0f);
    EXPECT_TRUE(copy.DrawBox);
    EXPECT_EQ(copy.Font, nullptr) << "a platform text has no vector font";
    EXPECT_FLOAT_EQ(copy.CharSpacing, 0.1f);
    ASSERT_EQ(copy.PointCount(), 2);
    EXPECT_EQ(copy.Points()->Get(1).Y, 30.0f);
    EXPECT_FALSE(copy.Points()->GrowingEnabled);
}

TEST(JustifiedVectText2D, RegistersUnderClassCode14)
{
    CADCoreClearRegistry();
    RegisterJustifiedVectText2DClass();
    EXPECT_EQ(CADCoreFindClassIndex("TJustifiedVectText2D"), 14);
    const std::unique_ptr<TGraphicObject> made = CADCoreFindClassByIndex(14).Create();
    EXPECT_NE(dynamic_cast<TJustifiedVectText2D*>(made.get()), nullptr);
    EXPECT_THROW(RegisterJustifiedVectText2DClass(), ECADObjClassNotFound);
    CADCoreClearRegistry();
}
