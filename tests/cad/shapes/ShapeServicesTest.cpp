#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QString>

#include "cad/base/CADExceptions.h"
#include "cad/fonts/ExtendedFont.h"
#include "cad/fonts/Windows1252.h"
#include "cad/model/ClassRegistry.h"
#include "cad/model/GraphicObject.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Ellipse2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Primitive2D.h"
#include "cad/shapes/PrimitiveHandler.h"
#include "cad/shapes/ShapeRegistration.h"
#include "cad/shapes/Text2D.h"
#include "support/ShapeTestSupport.h"

using namespace shapetest;

TEST(ShapeRegistration, ClassesUnderTheirStreamCodes)
{
    CADCoreClearRegistry();
    RegisterShapeClasses();
    const std::pair<int, const char*> codes[] = {
        {3, "TLine2D"},    {4, "TPolyline2D"}, {5, "TPolygon2D"},        {6, "TRectangle2D"}, {7, "TArc2D"},
        {8, "TEllipse2D"}, {9, "TFilledEllipse2D"}, {10, "TText2D"},     {11, "TFrame2D"},    {12, "TBitmap2D"},
        {13, "TBSpline2D"}, {15, "TPunto2D"},  {16, "TCerchio2D"},       {17, "TArco2D"},     {18, "TFilledCerchio2D"},
    };
    for (const auto& [code, name] : codes) {
        SCOPED_TRACE(name);
        const TGraphicObjectClass& graphicClass = CADCoreFindClassByIndex(code);
        EXPECT_EQ(graphicClass.Name, name);
        const auto object = graphicClass.Create();
        EXPECT_EQ(object->ClassName(), name);
        const auto* primitive = dynamic_cast<const TPrimitive2D*>(object.get());
        ASSERT_NE(primitive, nullptr);
        EXPECT_NE(primitive->Points(), nullptr) << "ready for the stream reader";
        EXPECT_NE(primitive->GetHandler(), nullptr);
        EXPECT_EQ(CADCoreFindClassIndex(name), code);
    }
    // The containers, blocks and vector text register their own codes.
    for (const int code : {0, 1, 2, 14})
        EXPECT_THROW(CADCoreFindClassByIndex(code), ECADObjClassNotFound);
    EXPECT_THROW(RegisterShapeClasses(), ECADObjClassNotFound);
    CADCoreClearRegistry();
}

TEST(ShapeHooks, CurvesReportTheirDimensionsAndLinesTheirData)
{
    THookRecorder hooks;
    TCerchio2D circle(1, MakePoint2D(0, 0), MakePoint2D(3, 4));
    EXPECT_EQ(hooks.Labels["nol_stxRaggio"], "5.0000");
    TFrame2D frame(2, MakePoint2D(10, 1), MakePoint2D(2.5f, 3));
    EXPECT_EQ(hooks.Labels["nol_stxRettangoloW"], "7.5000");
    EXPECT_EQ(hooks.Labels["nol_stxRettangoloH"], "2.0000");
    TEllipse2D ellipse(3, MakePoint2D(0, 0), MakePoint2D(8, 6));
    EXPECT_EQ(hooks.Labels["nol_stxEllisseW"], "8.0000");
    EXPECT_EQ(hooks.Labels["nol_stxEllisseH"], "6.0000");
    TArco2D arco(4, MakePoint2D(0, 0), MakePoint2D(2, 0), 0.0f, 1.5f);
    EXPECT_EQ(hooks.Labels["nol_stxArcctptsaeaRaggio"], "2.0000");
    EXPECT_EQ(hooks.Labels["nol_stxArcctptsaea_Ea"], "85.9437");
    arco.SetStartAngle(0.5f);
    EXPECT_EQ(hooks.Labels["nol_stxArcctptsaea_sa"], "28.6479");

    TLine2D line(5, MakePoint2D(1, 2), MakePoint2D(3, 4));
    line.SetModelTransform(MakeTranslation2D(100, 100));
    TShapeRecordingCanvas canvas;
    line.Draw(FlipView(100), canvas, ScreenClip(100, 100), 0);
    ASSERT_EQ(hooks.Lines.size(), 1u);
    EXPECT_EQ(hooks.Lines[0][0].X, 1.0f) << "the untransformed control points";
    EXPECT_EQ(hooks.Lines[0][1].Y, 4.0f);
}

TEST(ShapeHooks, ArcsReportOnEveryAngleChange)
{
    THookRecorder hooks;
    TArc2D arc(1, MakePoint2D(0, 0), MakePoint2D(8, 6), 0.0f, 1.0f);
    TArco2D arco(2, MakePoint2D(0, 0), MakePoint2D(0, 3), 0.0f, 1.0f);
    // Without a profile to build, what is shown comes from the setters alone.
    arc.SetCurvePrecision(0);
    arco.SetCurvePrecision(0);
    hooks.Labels.clear();
    arc.SetEndAngle(1.5f);
    EXPECT_EQ(hooks.Labels["nol_stxEllisseW"], "8.0000");
    EXPECT_EQ(hooks.Labels["nol_stxEllisseH"], "6.0000");
    hooks.Labels.clear();
    arco.SetStartAngle(0.5f);
    EXPECT_EQ(hooks.Labels["nol_stxArcctptsaeaRaggio"], "3.0000");
    EXPECT_EQ(hooks.Labels["nol_stxArcctptsaea_sa"], "28.6479");
    EXPECT_EQ(hooks.Labels["nol_stxArcctptsaea_Ea"], "57.2958");
    EXPECT_EQ(hooks.Labels.count("nol_stxEllisseW"), 0u) << "a circular arc has no ellipse size";

    // With only the two curve points an elliptic arc shows nothing, a
    // circular one only its radius.
    TArc2D flatArc;
    TArco2D flatArco;
    for (TArcCurve2D* shape : std::initializer_list<TArcCurve2D*>{&flatArc, &flatArco}) {
        shape->NewPointsSet(2);
        shape->Points()->Put(0, MakePoint2D(0, 0));
        shape->Points()->Put(1, MakePoint2D(4, 0));
    }
    hooks.Labels.clear();
    flatArc.UpdateExtension();
    flatArc.SetStartAngle(0.25f);
    EXPECT_TRUE(hooks.Labels.empty());
    flatArco.UpdateExtension();
    flatArco.SetStartAngle(0.25f);
    EXPECT_EQ(hooks.Labels["nol_stxArcctptsaeaRaggio"], "4.0000");
    EXPECT_EQ(hooks.Labels.size(), 1u);
}

TEST(ShapeHandler, MarksEveryControlPointThroughTransformAndView)
{
    const TPoint2D points[] = {MakePoint2D(1, 2), MakePoint2D(10.4f, 20.6f), MakePoint2D(30, 5)};
    TPolyline2D polyline(1, points);
    polyline.SetModelTransform(MakeTranslation2D(5, 5));
    TShapeRecordingCanvas canvas;
    polyline.PaintControlPoints(FlipView(100), canvas, 6, ScreenClip(100, 100));
    // Markers are centred on the rounded pixel: the recorded corner is 3 up and left.
    const std::vector<TWindowPoint> expected = {{3, 90}, {12, 71}, {32, 87}};
    ASSERT_EQ(canvas.Markers.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(canvas.Markers[i].X, expected[i].X) << i;
        EXPECT_EQ(canvas.Markers[i].Y, expected[i].Y) << i;
    }

    // Only primitives have control points to mark.
    class TNotAPrimitive : public TObject2D {
    public:
        std::string ClassName() const override { return "TNotAPrimitive"; }
        void ComputeExtension() override {}
        void Draw(const TTransform2D&, TDecorativeCanvas&, const TRect2D&, int) override {}
    } other;
    TShapeRecordingCanvas otherCanvas;
    PrimitiveHandler()->DrawControlPoints(other, FlipView(100), otherCanvas, 6);
    float distance = 1.0f;
    EXPECT_EQ(PrimitiveHandler()->OnMe(other, MakePoint2D(0, 0), 1.0f, distance), PICK_NOOBJECT);
    EXPECT_EQ(otherCanvas.Calls(), 0);
}

TEST(TextFlags, PlatformFlagsBecomeQtFlags)
{
    const struct {
        std::int32_t Flags;
        int Expected;
    } cases[] = {
        {DT_LEFT | DT_NOPREFIX, Qt::AlignLeft | Qt::AlignTop},
        {DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine},
        {DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX, Qt::AlignRight | Qt::AlignBottom | Qt::TextSingleLine},
        // Vertical placement needs a single line.
        {DT_VCENTER | DT_WORDBREAK | DT_NOPREFIX, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap},
        {DT_EXPANDTABS | DT_NOCLIP, Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs | Qt::TextDontClip |
                                        Qt::TextShowMnemonic},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DrawTextFlagsToQt(c.Flags), c.Expected) << c.Flags;
}

TEST(TextEncoding, BytesAreTheWesternCodePage)
{
    EXPECT_EQ(DecodeWindows1252("A\x80\x8A\x93\x9F\xE9\xFF"), QString::fromUtf8("A\u20AC\u0160\u201C\u0178\u00E9\u00FF"));
    EXPECT_EQ(DecodeWindows1252(std::string("a\0b", 3)).size(), 3);
}

TEST(ExtendedFont, RecordDefaultsAndQtFont)
{
    TExtendedFont font;
    EXPECT_EQ(font.FaceName(), "Small Font");
    EXPECT_EQ(font.LogFont.Height, -11);
    EXPECT_EQ(font.LogFont.Weight, 400);
    EXPECT_EQ(font.ToQFont().family(), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family())
        << "the placeholder face falls back to the system font";
    EXPECT_EQ(font.ToQFont().pixelSize(), 11);

    font.SetFaceName(std::string(40, 'F'));
    EXPECT_EQ(font.FaceName(), std::string(31, 'F')) << "the record keeps its terminator";
    font.SetFaceName("DejaVu Sans");
    font.LogFont.Weight = 700;
    font.LogFont.Italic = 1;
    font.LogFont.Underline = 1;
    font.SetHeight(-24);
    const QFont qfont = font.ToQFont();
    EXPECT_EQ(qfont.family(), "DejaVu Sans");
    EXPECT_EQ(qfont.weight(), QFont::Bold);
    EXPECT_TRUE(qfont.italic());
    EXPECT_TRUE(qfont.underline());
    EXPECT_FALSE(qfont.strikeOut());
    EXPECT_EQ(qfont.pixelSize(), 24);

    // A positive height is the whole cell: the characters get smaller.
    font.SetHeight(24);
    EXPECT_LE(font.ToQFont().pixelSize(), 24);
    EXPECT_GT(font.ToQFont().pixelSize(), 12);
}

TEST(ExtendedFont, SelectedIntoOneCanvasAtATime)
{
    QImage firstImage(10, 10, QImage::Format_RGB32);
    QImage secondImage(10, 10, QImage::Format_RGB32);
    QPainter firstPainter(&firstImage);
    QPainter secondPainter(&secondImage);
    QFont own = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    own.setPixelSize(7);
    firstPainter.setFont(own);
    secondPainter.setFont(own);
    TDecorativeCanvas first(&firstPainter);
    TDecorativeCanvas second(&secondPainter);
    {
        TExtendedFont font;
        font.SetCanvas(&first);
        EXPECT_EQ(font.Canvas(), &first);
        EXPECT_EQ(firstPainter.font().pixelSize(), 11) << "the canvas draws with the record";

        // A new height or a copied record reaches the canvas at once.
        font.SetHeight(-20);
        EXPECT_EQ(firstPainter.font().pixelSize(), 20);
        TExtendedFont other;
        other.LogFont.Height = -30;
        other.LogFont.Italic = 1;
        font.Assign(other);
        EXPECT_EQ(firstPainter.font().pixelSize(), 30);
        EXPECT_TRUE(firstPainter.font().italic());

        // Moving on gives the previous canvas its own font back.
        font.SetCanvas(&second);
        EXPECT_EQ(firstPainter.font().pixelSize(), 7);
        EXPECT_FALSE(firstPainter.font().italic());
        EXPECT_EQ(secondPainter.font().pixelSize(), 30);
    }
    EXPECT_EQ(secondPainter.font().pixelSize(), 7) << "a font that goes away releases its canvas";
    EXPECT_FALSE(secondPainter.font().italic());

    // Without a painter there is nothing to select into and nothing to give back.
    TDecorativeCanvas recording;
    TExtendedFont font;
    font.SetCanvas(&recording);
    font.SetHeight(-15);
    font.SetCanvas(nullptr);
    EXPECT_EQ(font.Canvas(), nullptr);
}
