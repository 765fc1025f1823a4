#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "cad/fonts/TrueTypeStrokes.h"
#include "cad/shapes/Container2D.h"
#include "cad/shapes/Polyline2D.h"
#include "edit/geometry/TextToPolylines.h"
#include "support/ImageTestSupport.h"

namespace {

TStrokeSource DejaVuStrokes(int precision = 4)
{
    auto converter = std::make_shared<TTTFToVectorConverter>();
    TTrueTypeFont font;
    font.FileName = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    converter->SetFont(font);
    converter->SetPrecision(precision);
    converter->UNICODE = true;
    return [converter](std::uint32_t code) { return converter->GetCharStrokes(code); };
}

std::vector<const TPolyline2D*> Polylines(const TContainer2D& container)
{
    std::vector<const TPolyline2D*> result;
    auto iterator = const_cast<TContainer2D&>(container).Objects().GetIterator();
    for (TGraphicObject* child = iterator->First(); child; child = iterator->Next())
        result.push_back(dynamic_cast<const TPolyline2D*>(child));
    return result;
}

// The container drawn as engraved lines on a white picture, Y up.
QImage Engrave(const TContainer2D& container, double pixelsPerUnit, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(160, 0, 0), 1.5));
    for (const TPolyline2D* polyline : Polylines(container)) {
        QPainterPath path;
        for (int i = 0; i < polyline->PointCount(); ++i) {
            const TPoint2D p = (*polyline->Points())[i];
            const QPointF at(10 + p.X * pixelsPerUnit, height - 20 - p.Y * pixelsPerUnit);
            i == 0 ? path.moveTo(at) : path.lineTo(at);
        }
        painter.drawPath(path);
    }
    return image;
}

} // namespace

TEST(TextToPolylines, EngravesARealFontAtTheCapitalHeight)
{
    const TTextBuild build = BuildTextContainer(U"Kestro 4 mm", 10, 1, DejaVuStrokes());
    ASSERT_NE(build.Container, nullptr);
    const TContainer2D& text = *build.Container;
    // "K", "e", "s", "t", "r", "o", "4", "m", "m": one polyline per contour.
    EXPECT_EQ(text.Objects().Count(), 1 + 2 + 1 + 1 + 1 + 2 + 2 + 1 + 1);
    // Capitals stand on the baseline and are exactly as high as asked;
    // each contour is closed.
    EXPECT_NEAR(text.Box.FirstEdge.Y, -0.3, 0.3);
    for (const TPolyline2D* polyline : Polylines(text)) {
        ASSERT_NE(polyline, nullptr);
        EXPECT_TRUE(polyline->IsClosed());
    }
    const TTextBuild capital = BuildTextContainer(U"A", 10, 1, DejaVuStrokes());
    EXPECT_NEAR(capital.Container->Box.SecondEdge.Y - capital.Container->Box.FirstEdge.Y, 10, 1e-4);
    EXPECT_GE(capital.Container->Box.FirstEdge.X, 0);

    const QImage picture = Engrave(text, 7, 760, 130);
    EXPECT_TRUE(imagetest::SaveTestImage(picture, "edit/engraved-text.png"));
    // Ink in the letters, none left of the text or below its descent.
    EXPECT_GT(imagetest::CountPixels(picture, QRect(10, 20, 740, 100), qRgb(255, 255, 255)), 0);
    EXPECT_LT(imagetest::CountPixels(picture, QRect(10, 20, 740, 100), qRgb(255, 255, 255)), 740 * 100);
    EXPECT_EQ(imagetest::CountPixels(picture, QRect(0, 0, 6, 130), qRgb(255, 255, 255)), 6 * 130);
    // The whole text fits: the right margin stays blank.
    EXPECT_EQ(imagetest::CountPixels(picture, QRect(740, 0, 20, 130), qRgb(255, 255, 255)), 20 * 130);
}

TEST(TextToPolylines, HeightSpacingBlanksAndMissingCharacters)
{
    const TStrokeSource strokes = DejaVuStrokes();
    // Doubling the height doubles every coordinate when there is no spacing.
    const auto small = BuildTextContainer(U"Hi!", 10, 0, strokes);
    const auto large = BuildTextContainer(U"Hi!", 20, 0, strokes);
    const auto smallLines = Polylines(*small.Container);
    const auto largeLines = Polylines(*large.Container);
    ASSERT_EQ(smallLines.size(), largeLines.size());
    for (std::size_t i = 0; i < smallLines.size(); ++i) {
        ASSERT_EQ(smallLines[i]->PointCount(), largeLines[i]->PointCount());
        for (int k = 0; k < smallLines[i]->PointCount(); ++k) {
            EXPECT_NEAR((*largeLines[i]->Points())[k].X, 2 * (*smallLines[i]->Points())[k].X, 1e-4);
            EXPECT_NEAR((*largeLines[i]->Points())[k].Y, 2 * (*smallLines[i]->Points())[k].Y, 1e-4);
        }
    }

    // A blank advances like "0" and draws nothing: spacing G after each.
    const auto blanks = BuildTextContainer(U"   ", 10, 5, strokes);
    ASSERT_NE(blanks.Container, nullptr);
    EXPECT_EQ(blanks.Container->Objects().Count(), 0);
    const auto zeroThenI = BuildTextContainer(U"0I", 10, 5, strokes);
    const auto blankThenI = BuildTextContainer(U" I", 10, 5, strokes);
    EXPECT_FLOAT_EQ(blankThenI.Container->Box.FirstEdge.X, Polylines(*zeroThenI.Container).back()->Box.FirstEdge.X);

    EXPECT_EQ(BuildTextContainer(U"", 10, 5, strokes).Container, nullptr);

    // A character the font lacks stops the whole text quietly.
    const auto missing = BuildTextContainer(U"A\u4E2D", 10, 5, strokes);
    EXPECT_EQ(missing.Container, nullptr);
    EXPECT_TRUE(missing.Error.empty());

    // Without a capital A there is no scale: the build stops and says why.
    const TStrokeSource noCapital = [&](std::uint32_t code) {
        return code == 'A' ? nullptr : strokes(code);
    };
    const auto refused = BuildTextContainer(U"abc", 10, 5, noCapital);
    EXPECT_EQ(refused.Container, nullptr);
    EXPECT_FALSE(refused.Error.empty());
    const TStrokeSource flatCapital = [](std::uint32_t) {
        auto flat = std::make_unique<TStrokeCollection>();
        flat->Add({0, 0, 0, 100, 0});
        return flat;
    };
    EXPECT_FALSE(BuildTextContainer(U"abc", 10, 5, flatCapital).Error.empty());
}
