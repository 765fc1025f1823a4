#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include <QImage>

#include "cad/fonts/FontRegistry.h"
#include "cad/fonts/VectFont.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Ellipse2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/JustifiedVectText2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"
#include "cad/shapes/Text2D.h"
#include "support/BlockTestSupport.h"
#include "support/ExceptionMessage.h"

using namespace blocktest;
using cadtest::MessageOf;

namespace {

// Expected bytes, spelled out without the stream writer.
class TBytes {
public:
    TBytes& Byte(int v)
    {
        Data.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    TBytes& Word(int v) { return Byte(v & 0xFF).Byte((v >> 8) & 0xFF); }
    TBytes& Int32(std::int32_t v)
    {
        const auto u = static_cast<std::uint32_t>(v);
        return Byte(u & 0xFF).Byte((u >> 8) & 0xFF).Byte((u >> 16) & 0xFF).Byte(u >> 24);
    }
    TBytes& Single(float v) { return Int32(std::bit_cast<std::int32_t>(v)); }
    TBytes& Point(float x, float y) { return Single(x).Single(y).Single(1.0f); }
    TBytes& Identity()
    {
        for (int i = 0; i < 9; ++i)
            Single(i % 4 == 0 ? 1.0f : 0.0f);
        return *this;
    }
    std::vector<std::uint8_t> Data;
};

// A stroke font of two glyphs, registered under the index for one test.
class TRegisteredFont {
public:
    explicit TRegisteredFont(int index)
    {
        CADCoreClearFontRegistry();
        const std::string file = vectfont_test::WriteTestFile(
            "stream-test.fnt", vectfont_test::FontFileBytes({vectfont_test::Stroke('A', 0.6f),
                                                             vectfont_test::Stroke('B', 0.7f)}));
        CADCoreRegisterFontFromFile(index, file);
        Font = CADCoreFindFontByIndex(index);
    }
    ~TRegisteredFont() { CADCoreClearFontRegistry(); }
    TRegisteredFont(const TRegisteredFont&) = delete;
    TRegisteredFont& operator=(const TRegisteredFont&) = delete;

    TVectFont* Font = nullptr;
};

QImage TestPicture()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    image.setPixel(2, 1, qRgb(200, 0, 100));
    return image;
}

// Texts are only made by the stream reader: two corners, set by hand here.
std::unique_ptr<TText2D> MakeText(const std::string& content)
{
    auto text = std::make_unique<TText2D>();
    text->Points()->Put(0, MakePoint2D(0, 0));
    text->Points()->Put(1, MakePoint2D(20, 5));
    text->Text = content;
    text->UpdateExtension();
    return text;
}

std::unique_ptr<TObject2D> ReadBack(const std::vector<std::uint8_t>& record, const std::string& className,
                                    std::string_view version = CADCurrentVersion)
{
    TCADStreamReader in = ReaderOf(record);
    std::unique_ptr<TGraphicObject> object = CreateObjectFromStream(CADCoreFindClassIndex(className), in, version);
    EXPECT_TRUE(in.AtEnd()) << className << " left " << in.Remaining() << " bytes";
    return std::unique_ptr<TObject2D>(dynamic_cast<TObject2D*>(object.release()));
}

class ShapeStreamTest : public TRegisteredClassesTest {};

} // namespace

TEST_F(ShapeStreamTest, LineRecordByteForByte)
{
    TLine2D line(7, MakePoint2D(1, 2), MakePoint2D(3, 4));
    line.Layer = 3;
    const std::vector<std::uint8_t> expected =
        TBytes().Int32(7).Byte(3).Byte(0x03).Identity().Word(2).Point(1, 2).Point(3, 4).Byte(0).Data;
    ASSERT_EQ(expected.size(), 69u);
    EXPECT_EQ(RecordOf(line), expected);

    line.Visible = false;
    line.ToBeSaved = false;
    EXPECT_EQ(RecordOf(line)[5], 0x06) << "bit 1 enabled, bit 2 not to be saved";
    const std::unique_ptr<TObject2D> back = ReadBack(RecordOf(line), "TLine2D");
    EXPECT_EQ(back->ID, 7);
    EXPECT_EQ(back->Layer, 3);
    EXPECT_FALSE(back->Visible);
    EXPECT_TRUE(back->Enabled);
    EXPECT_FALSE(back->ToBeSaved);
    EXPECT_FALSE(dynamic_cast<TPrimitive2D&>(*back).Points()->GrowingEnabled);
    EXPECT_TRUE(BoxIsEmpty(back->Box)) << "reading leaves the extension to whoever adds the object";
}

TEST_F(ShapeStreamTest, EveryClassWritesTheRecordSizeItsFieldsImplyAndReadsBack)
{
    const TRegisteredFont font(3);
    const TPoint2D a = MakePoint2D(1, 2);
    const TPoint2D b = MakePoint2D(11, 7);
    const TPoint2D three[] = {MakePoint2D(0, 0), MakePoint2D(5, 5), MakePoint2D(10, 0)};
    const TPoint2D four[] = {MakePoint2D(0, 0), MakePoint2D(5, 5), MakePoint2D(10, 0), MakePoint2D(15, 5)};
    const float quarter = static_cast<float>(std::numbers::pi / 2);
    TCADCmp2D cad;
    TSourceBlock2D* bar = cad.AddSourceBlock(LineBlock("Bar", 0, 0, 10, 0));

    struct TCase {
        std::function<std::unique_ptr<TObject2D>()> Make;
        std::size_t Size;
    };
    const std::vector<TCase> cases = {
        {[&] { return std::make_unique<TPunto2D>(1, a); }, 57},
        {[&] { return std::make_unique<TLine2D>(1, a, b); }, 69},
        {[&] { return std::make_unique<TPolyline2D>(1, three); }, 81},
        {[&] { return std::make_unique<TPolygon2D>(1, three); }, 81},
        {[&] { return std::make_unique<TFrame2D>(1, a, b); }, 72},
        {[&] { return std::make_unique<TRectangle2D>(1, a, b); }, 72},
        {[&] { return std::make_unique<TCerchio2D>(1, a, b); }, 72},
        {[&] { return std::make_unique<TFilledCerchio2D>(1, a, b); }, 72},
        {[&] { return std::make_unique<TEllipse2D>(1, a, b); }, 72},
        {[&] { return std::make_unique<TFilledEllipse2D>(1, a, b); }, 72},
        {[&] { return std::make_unique<TArc2D>(1, a, b, 0.0f, quarter); }, 97},
        {[&] { return std::make_unique<TArco2D>(1, a, b, 0.0f, quarter); }, 97},
        {[&] { return std::make_unique<TBSpline2D>(1, four); }, 97},
        {[&] { return MakeText("Hi"); }, 69 + 4 + 2 + 60 + 4 + 1 + 4},
        {[&] {
             return std::make_unique<TJustifiedVectText2D>(1, font.Font, MakeRect2D(0, 0, 50, 10), 5.0f, "AB");
         },
         69 + 4 + 2 + 4 + 3 + 12},
        {[&] { return std::make_unique<TContainer2D>(1, Children(Line(2, 0, 0, 1, 1))); }, 42 + 4 + 2 + 69},
        {[&] { return std::make_unique<TSourceBlock2D>(1, Children(Line(2, 0, 0, 1, 1)), BlockNameFromText("S")); },
         42 + 4 + 2 + 69 + 2 + 13},
        {[&] { return std::make_unique<TBlock2D>(1, bar); }, 42 + 13 + 12},
    };
    std::vector<std::string> seen;
    for (const TCase& c : cases) {
        const std::unique_ptr<TObject2D> object = c.Make();
        const std::string name = object->ClassName();
        seen.push_back(name);
        const std::vector<std::uint8_t> record = RecordOf(*object);
        EXPECT_EQ(record.size(), c.Size) << name;
        const std::unique_ptr<TObject2D> back = ReadBack(record, name);
        ASSERT_TRUE(back) << name;
        EXPECT_EQ(back->ClassName(), name);
        EXPECT_EQ(RecordOf(*back), record) << name << " reads back to the same record";
    }
    // The picture's record holds a whole BMP file image.
    TBitmap2D bitmap(1, a, b, TestPicture());
    const std::vector<std::uint8_t> record = RecordOf(bitmap);
    ASSERT_GT(record.size(), 69u + 14u);
    EXPECT_EQ(record[69], 'B');
    EXPECT_EQ(record[70], 'M');
    const std::uint32_t bmpSize = record[71] | (record[72] << 8) | (record[73] << 16) | (record[74] << 24);
    EXPECT_EQ(record.size(), 69u + bmpSize + 12u);
    seen.push_back(ReadBack(record, "TBitmap2D")->ClassName());
    EXPECT_EQ(seen.size(), 19u) << "every persistent class";
}

TEST_F(ShapeStreamTest, SavingBakesTheCurrentTransform)
{
    TLine2D line(1, MakePoint2D(0, 0), MakePoint2D(1, 0));
    line.SetModelTransform(MakeScale2D(2, 2));
    line.SetCurrentTransform(MakeTranslation2D(10, 5));
    const std::vector<std::uint8_t> record = RecordOf(line);
    EXPECT_FALSE(line.CurrentTransform().has_value());
    ASSERT_TRUE(line.ModelTransform().has_value());
    EXPECT_TRUE(SameTransform2D(*line.ModelTransform(),
                                MultiplyTransforms2D(MakeScale2D(2, 2), MakeTranslation2D(10, 5))));
    const std::unique_ptr<TObject2D> back = ReadBack(record, "TLine2D");
    back->UpdateExtension();
    EXPECT_EQ(BoxText(back->Box), BoxText(MakeRect2D(10, 5, 12, 5)));
}

TEST_F(ShapeStreamTest, ArcsTakeTheirAnglesBackFromTheirPoints)
{
    TArco2D arc(1, MakePoint2D(0, 0), MakePoint2D(10, 0), 0.5f, 2.0f);
    arc.Direction = 0;
    arc.SetCurvePrecision(20);
    const std::vector<std::uint8_t> record = RecordOf(arc);
    EXPECT_EQ(record.back(), 0) << "the direction closes the record";
    const std::unique_ptr<TObject2D> back = ReadBack(record, "TArco2D");
    auto& read = dynamic_cast<TArco2D&>(*back);
    EXPECT_EQ(read.Direction, 0);
    EXPECT_EQ(read.CurvePrecision, 20);
    EXPECT_EQ(read.SavingType, 1);
    read.Direction = 1; // the points were placed counter-clockwise
    read.UpdateExtension();
    EXPECT_NEAR(read.StartAngle(), 0.5f, 1e-5f);
    EXPECT_NEAR(read.EndAngle(), 2.0f, 1e-5f);
    EXPECT_EQ(read.ProfilePointCount(), 21);
}

TEST_F(ShapeStreamTest, TextKeepsItsEightBitBytesAndFont)
{
    const std::unique_ptr<TText2D> owner = MakeText("Caf\xE9 \x80 \xFF");
    TText2D& text = *owner;
    text.Height = 2.5f;
    text.DrawBox = true;
    text.DrawTextFlags = DT_CENTER | DT_SINGLELINE;
    text.Font.SetFaceName("Courier New");
    text.Font.LogFont.Weight = 700;
    text.Font.LogFont.Italic = 1;
    text.Font.LogFont.Height = -13;
    const std::vector<std::uint8_t> record = RecordOf(text);
    EXPECT_EQ(record[69], 8) << "the text's length in bytes";
    EXPECT_EQ(std::string(record.begin() + 73, record.begin() + 81), text.Text);
    const std::unique_ptr<TObject2D> back = ReadBack(record, "TText2D");
    const auto& read = dynamic_cast<const TText2D&>(*back);
    EXPECT_EQ(read.Text, text.Text);
    EXPECT_EQ(read.Font.LogFont, text.Font.LogFont);
    EXPECT_EQ(read.Font.FaceName(), "Courier New");
    EXPECT_FLOAT_EQ(read.Height, 2.5f);
    EXPECT_TRUE(read.DrawBox);
    EXPECT_EQ(read.DrawTextFlags, DT_CENTER | DT_SINGLELINE);
}

TEST_F(ShapeStreamTest, PicturesAndTheirOlderLayout)
{
    TBitmap2D bitmap(1, MakePoint2D(0, 0), MakePoint2D(3, 2), TestPicture());
    bitmap.StreamValue1 = 11;
    bitmap.StreamValue2 = -12;
    bitmap.CopyMode = cmSrcInvert;
    std::vector<std::uint8_t> record = RecordOf(bitmap);
    {
        const std::unique_ptr<TObject2D> back = ReadBack(record, "TBitmap2D");
        const auto& read = dynamic_cast<const TBitmap2D&>(*back);
        EXPECT_EQ(read.Bitmap.size(), QSize(3, 2));
        EXPECT_EQ(read.Bitmap.pixel(0, 0), qRgb(10, 20, 30));
        EXPECT_EQ(read.Bitmap.pixel(2, 1), qRgb(200, 0, 100));
        EXPECT_EQ(read.StreamValue1, 11);
        EXPECT_EQ(read.StreamValue2, -12);
        EXPECT_EQ(read.CopyMode, cmSrcInvert);
    }
    // Before "CAD422" the record ends after the picture.
    record.resize(record.size() - 12);
    {
        const std::unique_ptr<TObject2D> back = ReadBack(record, "TBitmap2D", "CAD41 ");
        const auto& read = dynamic_cast<const TBitmap2D&>(*back);
        EXPECT_EQ(read.Bitmap.pixel(2, 1), qRgb(200, 0, 100));
        EXPECT_EQ(read.StreamValue1, 0);
        EXPECT_EQ(read.StreamValue2, 0);
        EXPECT_EQ(read.CopyMode, 0) << "not the plain copy a new picture starts with";
        EXPECT_EQ(CopyModeToComposition(read.CopyMode), QPainter::CompositionMode_SourceOver) << "still painted";
    }
    TBitmap2D empty(1, MakePoint2D(0, 0), MakePoint2D(3, 2), QImage());
    const std::unique_ptr<TObject2D> back = ReadBack(RecordOf(empty), "TBitmap2D");
    EXPECT_TRUE(dynamic_cast<const TBitmap2D&>(*back).Bitmap.isNull()) << "an empty picture stays empty";
}

TEST_F(ShapeStreamTest, VectorTextNamesItsFontByRegistryIndex)
{
    const TRegisteredFont font(5);
    TJustifiedVectText2D text(1, font.Font, MakeRect2D(0, 0, 50, 10), 5.0f, "AB\rBA");
    text.HJustification = 2;
    text.VJustification = 1;
    text.DrawBox = true;
    text.LineSpacing = 0.25f;
    text.CharSpacing = 0.125f;
    std::vector<std::uint8_t> record = RecordOf(text);
    const std::size_t fontAt = 69 + 4 + 5;
    EXPECT_EQ(record[fontAt], 5) << "the font's index";
    EXPECT_EQ(std::vector<std::uint8_t>(record.end() - 8, record.end()),
              TBytes().Single(0.25f).Single(0.125f).Data) << "line spacing, then character spacing";
    {
        const std::unique_ptr<TObject2D> back = ReadBack(record, "TJustifiedVectText2D");
        const auto& read = dynamic_cast<const TJustifiedVectText2D&>(*back);
        EXPECT_EQ(read.Font, font.Font);
        EXPECT_EQ(read.Text, "AB\rBA");
        EXPECT_EQ(read.HJustification, 2);
        EXPECT_EQ(read.VJustification, 1);
        EXPECT_TRUE(read.DrawBox);
    }
    // An index with no font, or a negative one: the text stays, without font.
    for (const std::int32_t index : {6, -1, 100000}) {
        const std::vector<std::uint8_t> bytes = TBytes().Int32(index).Data;
        std::copy(bytes.begin(), bytes.end(), record.begin() + static_cast<std::ptrdiff_t>(fontAt));
        TMessageRecorder messages;
        const std::unique_ptr<TObject2D> back = ReadBack(record, "TJustifiedVectText2D");
        EXPECT_EQ(dynamic_cast<const TJustifiedVectText2D&>(*back).Font, nullptr) << index;
        EXPECT_EQ(messages.Texts, std::vector<std::string>{"Font class not found. Font not assigned"}) << index;
    }
    TJustifiedVectText2D fontless(1, nullptr, MakeRect2D(0, 0, 50, 10), 5.0f, "AB");
    TCADStreamWriter out;
    EXPECT_EQ(MessageOf<ECADObjClassNotFound>([&] { WriteObjectRecord(out, fontless); }),
              "CADCoreFindFontIndex: Font not found") << "a text without font has no index to write";
    EXPECT_EQ(out.Data().size(), 0u) << "nothing of the refused record is written";
}

TEST_F(ShapeStreamTest, PolylinesBeyondTheSixteenBitCountAreRefused)
{
    std::vector<TPoint2D> points(65535);
    for (std::size_t i = 0; i < points.size(); ++i)
        points[i] = MakePoint2D(static_cast<float>(i), 0);
    TPolyline2D longest(1, points);
    EXPECT_EQ(RecordOf(longest).size(), 45u + 12u * 65535u);

    points.push_back(MakePoint2D(-1, -1));
    TPolyline2D tooLong(2, points);
    TCADStreamWriter out;
    out.WriteInt32(1);
    try {
        WriteObjectRecord(out, tooLong);
        FAIL() << "65536 points do not fit a Word";
    } catch (const ECADOutOfBound& e) {
        EXPECT_STREQ(e.what(), "TPolyline2D.SaveToStream: 65536 control points do not fit the stream, which holds "
                               "at most 65535");
    }
    EXPECT_EQ(out.Data().size(), 4u);
}
