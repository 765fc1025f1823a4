#pragma once

// Stream records assembled field by field, apart from the stream writer, and
// the cases that pin a class's record: the bytes the writer must produce for
// an object with given fields, and the fields the reader must take back from
// those same bytes. Field values within a record differ from each other, so a
// writer or reader that exchanges two fields of one width shows in the bytes
// or in the fields read back.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <QImage>

#include "cad/fonts/FontRegistry.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/ClassRegistry.h"
#include "cad/model/GraphicObjectStream.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Block2D.h"
#include "cad/shapes/JustifiedVectText2D.h"
#include "cad/shapes/Text2D.h"
#include "cad/stream/CADStream.h"

namespace recordtest {

using TByteVector = std::vector<std::uint8_t>;

// Little-endian, unpadded fields, spelled out without the stream writer.
class TRecordBytes {
public:
    TRecordBytes& Byte(int v)
    {
        Data.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    TRecordBytes& Bool(bool v) { return Byte(v ? 1 : 0); }
    TRecordBytes& Word(int v) { return Byte(v & 0xFF).Byte((v >> 8) & 0xFF); }
    TRecordBytes& Int16(int v) { return Word(v); }
    TRecordBytes& Int32(std::int32_t v)
    {
        const auto u = static_cast<std::uint32_t>(v);
        return Byte(u & 0xFF).Byte((u >> 8) & 0xFF).Byte((u >> 16) & 0xFF).Byte(u >> 24);
    }
    TRecordBytes& Single(float v) { return Int32(std::bit_cast<std::int32_t>(v)); }
    TRecordBytes& Point(const TPoint2D& p) { return Single(p.X).Single(p.Y).Single(p.W); }
    TRecordBytes& Transform(const TTransform2D& t)
    {
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                Single(t.M[row][column]);
        return *this;
    }
    TRecordBytes& Chars(std::string_view text)
    {
        Data.insert(Data.end(), text.begin(), text.end());
        return *this;
    }
    // The text cut or zero-padded to the width.
    TRecordBytes& Fixed(std::string_view text, std::size_t width)
    {
        for (std::size_t i = 0; i < width; ++i)
            Byte(i < text.size() ? static_cast<unsigned char>(text[i]) : 0);
        return *this;
    }
    // An Int32 length, then the characters.
    TRecordBytes& String(std::string_view text)
    {
        return Int32(static_cast<std::int32_t>(text.size())).Chars(text);
    }
    TRecordBytes& Append(const TByteVector& bytes)
    {
        Data.insert(Data.end(), bytes.begin(), bytes.end());
        return *this;
    }
    // A class code (Int16) followed by the record.
    TRecordBytes& Framed(const std::string& className, const TByteVector& record)
    {
        return Int16(CADCoreFindClassIndex(className)).Append(record);
    }

    TByteVector Data;
};

// Names the first byte where two records part, which is what a reader of a
// failed test needs to find the field.
inline ::testing::AssertionResult SameBytes(const TByteVector& actual, const TByteVector& expected)
{
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    if (at == actual.size() && at == expected.size())
        return ::testing::AssertionSuccess();
    std::ostringstream text;
    text << "records part at byte " << at << " (written " << actual.size() << " bytes, expected "
         << expected.size() << ")";
    if (at < actual.size() && at < expected.size())
        text << ": written 0x" << std::hex << int(actual[at]) << ", expected 0x" << int(expected[at]);
    return ::testing::AssertionFailure() << text.str();
}

// A transform whose nine entries all differ, so that no two can trade places
// unseen (for seeds 0 to 6); the last column keeps the W of points near 1.
inline TTransform2D DistinctTransform(float seed)
{
    TTransform2D t;
    t.M[0][0] = 2.0f + seed / 8.0f;
    t.M[0][1] = 0.5f;
    t.M[0][2] = 0.0625f;
    t.M[1][0] = -0.25f;
    t.M[1][1] = 3.0f;
    t.M[1][2] = -0.03125f;
    t.M[2][0] = 7.0f + seed;
    t.M[2][1] = -9.0f;
    t.M[2][2] = 1.0f;
    return t;
}

inline TPoint2D P(float x, float y)
{
    return TPoint2D{x, y, 1.0f};
}

inline std::unique_ptr<TGraphicObject> Blank(const std::string& className)
{
    return CADCoreFindClassByName(className).Create();
}

// The TGraphicObject and TObject2D part of every record.
struct TObjectFields {
    std::int32_t ID = 0;
    std::uint8_t Layer = 0;
    bool Visible = true;
    bool Enabled = true;
    bool ToBeSaved = true;
    std::optional<TTransform2D> Model; // none is stored as the identity
};

inline void AppendObject(TRecordBytes& bytes, const TObjectFields& f)
{
    const int flags = (f.Visible ? 0x01 : 0) | (f.Enabled ? 0x02 : 0) | (f.ToBeSaved ? 0 : 0x04);
    bytes.Int32(f.ID).Byte(f.Layer).Byte(flags).Transform(f.Model.value_or(IdentityTransform2D));
}

inline void ApplyObject(TObject2D& object, const TObjectFields& f)
{
    object.ID = f.ID;
    object.Layer = f.Layer;
    object.Visible = f.Visible;
    object.Enabled = f.Enabled;
    object.ToBeSaved = f.ToBeSaved;
    if (f.Model)
        object.SetModelTransform(*f.Model);
}

inline void ExpectObject(const TObject2D& object, const TObjectFields& f)
{
    EXPECT_EQ(object.ID, f.ID);
    EXPECT_EQ(object.Layer, f.Layer);
    EXPECT_EQ(object.Visible, f.Visible);
    EXPECT_EQ(object.Enabled, f.Enabled);
    EXPECT_EQ(object.ToBeSaved, f.ToBeSaved);
    const TTransform2D read = object.ModelTransform().value_or(IdentityTransform2D);
    const TTransform2D expected = f.Model.value_or(IdentityTransform2D);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(read.M[i / 3][i % 3], expected.M[i / 3][i % 3]) << "transform entry " << i;
}

// The TPrimitive2D part.
struct TPrimitiveFields {
    TObjectFields Object;
    std::vector<TPoint2D> Points;
    bool Growing = false;
};

inline void AppendPrimitive(TRecordBytes& bytes, const TPrimitiveFields& f)
{
    AppendObject(bytes, f.Object);
    bytes.Word(static_cast<int>(f.Points.size()));
    for (const TPoint2D& p : f.Points)
        bytes.Point(p);
    bytes.Bool(f.Growing);
}

inline void ApplyPrimitive(TPrimitive2D& primitive, const TPrimitiveFields& f)
{
    primitive.NewPointsSet(static_cast<int>(f.Points.size()));
    for (std::size_t i = 0; i < f.Points.size(); ++i)
        primitive.Points()->Put(static_cast<int>(i), f.Points[i]);
    primitive.Points()->GrowingEnabled = f.Growing;
    ApplyObject(primitive, f.Object);
}

inline void ExpectPrimitive(const TPrimitive2D& primitive, const TPrimitiveFields& f)
{
    ExpectObject(primitive, f.Object);
    ASSERT_EQ(primitive.PointCount(), static_cast<int>(f.Points.size()));
    for (std::size_t i = 0; i < f.Points.size(); ++i) {
        const TPoint2D p = primitive.Points()->Get(static_cast<int>(i));
        EXPECT_EQ(p.X, f.Points[i].X) << "point " << i;
        EXPECT_EQ(p.Y, f.Points[i].Y) << "point " << i;
        EXPECT_EQ(p.W, f.Points[i].W) << "point " << i;
    }
    EXPECT_EQ(primitive.Points()->GrowingEnabled, f.Growing);
}

// One record pinned: the writer's bytes for Make's object, and the reader's
// fields from those bytes. A case without Make is an older layout, only read.
struct TRecordCase {
    std::string Label;
    std::string ClassName;
    TByteVector Bytes;
    std::function<std::unique_ptr<TGraphicObject>()> Make;
    std::function<void(TGraphicObject&)> Expect;
    std::string Version = std::string(CADCurrentVersion);
};

inline void ExpectRecordPinned(const TRecordCase& c)
{
    SCOPED_TRACE(c.Label + " (" + c.ClassName + ", " + c.Version + ")");
    if (c.Make) {
        const std::unique_ptr<TGraphicObject> object = c.Make();
        TCADStreamWriter out;
        object->SaveToStream(out);
        EXPECT_TRUE(SameBytes(out.Data(), c.Bytes));
    }
    TCADStreamReader in(c.Bytes, c.Label);
    const std::unique_ptr<TGraphicObject> read =
        CreateObjectFromStream(CADCoreFindClassIndex(c.ClassName), in, c.Version);
    EXPECT_TRUE(in.AtEnd()) << in.Remaining() << " bytes left unread";
    ASSERT_EQ(read->ClassName(), c.ClassName);
    c.Expect(*read);
}

// Points, lines, polylines and polygons: the primitive record alone.
inline TRecordCase PrimitiveCase(std::string label, std::string className, TPrimitiveFields f)
{
    TRecordBytes bytes;
    AppendPrimitive(bytes, f);
    return {std::move(label), className, bytes.Data,
            [=] {
                auto object = Blank(className);
                ApplyPrimitive(dynamic_cast<TPrimitive2D&>(*object), f);
                return object;
            },
            [=](TGraphicObject& read) { ExpectPrimitive(dynamic_cast<const TPrimitive2D&>(read), f); }};
}

// Curves: the primitive record, CurvePrecision, SavingType, and the tail
// byte: Direction of an arc, Order of a spline.
inline TRecordCase CurveCase(std::string label, std::string className, TPrimitiveFields primitive,
                             std::int16_t precision, std::uint8_t savingType,
                             std::optional<std::uint8_t> tail = std::nullopt)
{
    TRecordBytes bytes;
    AppendPrimitive(bytes, primitive);
    bytes.Int16(precision).Byte(savingType);
    if (tail)
        bytes.Byte(*tail);
    const auto setTail = [](TCurve2D& curve, std::uint8_t value) {
        if (auto* arc = dynamic_cast<TArcCurve2D*>(&curve))
            arc->Direction = value;
        else if (auto* spline = dynamic_cast<TBSpline2D*>(&curve))
            spline->Order = value;
    };
    const auto tailOf = [](const TCurve2D& curve) -> std::optional<std::uint8_t> {
        if (const auto* arc = dynamic_cast<const TArcCurve2D*>(&curve))
            return arc->Direction;
        if (const auto* spline = dynamic_cast<const TBSpline2D*>(&curve))
            return spline->Order;
        return std::nullopt;
    };
    return {std::move(label), className, bytes.Data,
            [=] {
                auto object = Blank(className);
                auto& curve = dynamic_cast<TCurve2D&>(*object);
                curve.CurvePrecision = precision;
                curve.SavingType = savingType;
                if (tail)
                    setTail(curve, *tail);
                ApplyPrimitive(curve, primitive);
                return object;
            },
            [=](TGraphicObject& read) {
                const auto& curve = dynamic_cast<const TCurve2D&>(read);
                ExpectPrimitive(curve, primitive);
                EXPECT_EQ(curve.CurvePrecision, precision);
                EXPECT_EQ(curve.SavingType, savingType);
                EXPECT_EQ(tailOf(curve), tail);
            }};
}

// The platform text: the primitive record, the text, the 60-byte logical
// font (five Int32, eight Bytes, the 32-byte face), the format flags,
// DrawBox and Height.
struct TTextFields {
    TPrimitiveFields Primitive;
    std::string Text;
    TLogFont Font;
    std::int32_t Flags = 0;
    bool DrawBox = false;
    float Height = 0.0f;
};

inline TLogFont LogFontOf(std::int32_t height, std::int32_t width, std::int32_t escapement, std::int32_t orientation,
                          std::int32_t weight, std::vector<std::uint8_t> bytes, const std::string& face)
{
    TLogFont font;
    font.Height = height;
    font.Width = width;
    font.Escapement = escapement;
    font.Orientation = orientation;
    font.Weight = weight;
    font.Italic = bytes.at(0);
    font.Underline = bytes.at(1);
    font.StrikeOut = bytes.at(2);
    font.CharSet = bytes.at(3);
    font.OutPrecision = bytes.at(4);
    font.ClipPrecision = bytes.at(5);
    font.Quality = bytes.at(6);
    font.PitchAndFamily = bytes.at(7);
    for (std::size_t i = 0; i < face.size() && i + 1 < font.FaceName.size(); ++i)
        font.FaceName[i] = face[i];
    return font;
}

inline TRecordCase TextCase(std::string label, TTextFields f)
{
    const TLogFont& font = f.Font;
    TRecordBytes bytes;
    AppendPrimitive(bytes, f.Primitive);
    bytes.String(f.Text)
        .Int32(font.Height)
        .Int32(font.Width)
        .Int32(font.Escapement)
        .Int32(font.Orientation)
        .Int32(font.Weight)
        .Byte(font.Italic)
        .Byte(font.Underline)
        .Byte(font.StrikeOut)
        .Byte(font.CharSet)
        .Byte(font.OutPrecision)
        .Byte(font.ClipPrecision)
        .Byte(font.Quality)
        .Byte(font.PitchAndFamily)
        .Fixed(std::string_view(font.FaceName.data(), font.FaceName.size()), 32)
        .Int32(f.Flags)
        .Bool(f.DrawBox)
        .Single(f.Height);
    return {std::move(label), "TText2D", bytes.Data,
            [=] {
                auto text = std::make_unique<TText2D>();
                ApplyPrimitive(*text, f.Primitive);
                text->Text = f.Text;
                text->Font.LogFont = f.Font;
                text->DrawTextFlags = f.Flags;
                text->DrawBox = f.DrawBox;
                text->Height = f.Height;
                return std::unique_ptr<TGraphicObject>(std::move(text));
            },
            [=](TGraphicObject& read) {
                const auto& text = dynamic_cast<const TText2D&>(read);
                ExpectPrimitive(text, f.Primitive);
                EXPECT_EQ(text.Text, f.Text);
                EXPECT_EQ(text.Font.LogFont, f.Font) << "the 60-byte font record";
                EXPECT_EQ(text.DrawTextFlags, f.Flags);
                EXPECT_EQ(text.DrawBox, f.DrawBox);
                EXPECT_EQ(text.Height, f.Height);
            }};
}

// The vector text: the primitive record, the text, the font's registry
// index, both justifications, DrawBox, Height, LineSpacing, CharSpacing.
struct TVectTextFields {
    TPrimitiveFields Primitive;
    std::string Text;
    std::int32_t FontIndex = 0; // a registered font
    std::uint8_t HJustification = 0;
    std::uint8_t VJustification = 0;
    bool DrawBox = false;
    float Height = 0.0f;
    float LineSpacing = 0.0f;
    float CharSpacing = 0.0f;
};

inline TRecordCase VectTextCase(std::string label, TVectTextFields f)
{
    TRecordBytes bytes;
    AppendPrimitive(bytes, f.Primitive);
    bytes.String(f.Text)
        .Int32(f.FontIndex)
        .Byte(f.HJustification)
        .Byte(f.VJustification)
        .Bool(f.DrawBox)
        .Single(f.Height)
        .Single(f.LineSpacing)
        .Single(f.CharSpacing);
    return {std::move(label), "TJustifiedVectText2D", bytes.Data,
            [=] {
                auto text = std::make_unique<TJustifiedVectText2D>();
                ApplyPrimitive(*text, f.Primitive);
                text->Text = f.Text;
                text->Font = CADCoreFindFontByIndex(f.FontIndex);
                text->HJustification = f.HJustification;
                text->VJustification = f.VJustification;
                text->DrawBox = f.DrawBox;
                text->Height = f.Height;
                text->LineSpacing = f.LineSpacing;
                text->CharSpacing = f.CharSpacing;
                return std::unique_ptr<TGraphicObject>(std::move(text));
            },
            [=](TGraphicObject& read) {
                const auto& text = dynamic_cast<const TJustifiedVectText2D&>(read);
                ExpectPrimitive(text, f.Primitive);
                EXPECT_EQ(text.Text, f.Text);
                EXPECT_EQ(text.Font, CADCoreFindFontByIndex(f.FontIndex));
                EXPECT_EQ(text.HJustification, f.HJustification);
                EXPECT_EQ(text.VJustification, f.VJustification);
                EXPECT_EQ(text.DrawBox, f.DrawBox);
                EXPECT_EQ(text.Height, f.Height);
                EXPECT_EQ(text.LineSpacing, f.LineSpacing);
                EXPECT_EQ(text.CharSpacing, f.CharSpacing);
            }};
}

// A 24-bit BMP file image, bottom row first, rows padded to four bytes, at
// 2835 pixels per metre; pixels given top row first.
inline TByteVector BmpImage(int width, int height, const std::vector<QRgb>& pixels)
{
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const int pixelBytes = rowBytes * height;
    TRecordBytes bmp;
    bmp.Chars("BM").Int32(54 + pixelBytes).Word(0).Word(0).Int32(54);
    bmp.Int32(40).Int32(width).Int32(height).Word(1).Word(24).Int32(0).Int32(pixelBytes).Int32(2835).Int32(2835);
    bmp.Int32(0).Int32(0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const QRgb c = pixels.at(static_cast<std::size_t>(y * width + x));
            bmp.Byte(qBlue(c)).Byte(qGreen(c)).Byte(qRed(c));
        }
        for (int pad = width * 3; pad < rowBytes; ++pad)
            bmp.Byte(0);
    }
    return bmp.Data;
}

// The picture: the primitive record, the BMP file image, then from "CAD422"
// on the two stream values and CopyMode.
struct TPictureFields {
    TPrimitiveFields Primitive;
    TByteVector Bmp;
    std::int32_t Value1 = 0;
    std::int32_t Value2 = 0;
    std::int32_t CopyMode = 0;
};

inline TRecordCase PictureCase(std::string label, TPictureFields f, std::string version = std::string(CADCurrentVersion))
{
    const bool hasValues = !CADVersionBefore(version, "CAD422");
    TRecordBytes bytes;
    AppendPrimitive(bytes, f.Primitive);
    bytes.Append(f.Bmp);
    if (hasValues)
        bytes.Int32(f.Value1).Int32(f.Value2).Int32(f.CopyMode);
    const QImage image = QImage::fromData(f.Bmp.data(), static_cast<int>(f.Bmp.size()), "BMP");
    TRecordCase c{std::move(label), "TBitmap2D", bytes.Data, nullptr,
                  [=](TGraphicObject& read) {
                      const auto& picture = dynamic_cast<const TBitmap2D&>(read);
                      ExpectPrimitive(picture, f.Primitive);
                      EXPECT_EQ(picture.Bitmap.size(), image.size());
                      for (int y = 0; y < image.height(); ++y)
                          for (int x = 0; x < image.width(); ++x)
                              EXPECT_EQ(picture.Bitmap.pixel(x, y), image.pixel(x, y)) << x << ", " << y;
                      EXPECT_EQ(picture.StreamValue1, hasValues ? f.Value1 : 0);
                      EXPECT_EQ(picture.StreamValue2, hasValues ? f.Value2 : 0);
                      EXPECT_EQ(picture.CopyMode, hasValues ? f.CopyMode : 0);
                  },
                  version};
    if (hasValues)
        c.Make = [=] {
            auto picture = std::make_unique<TBitmap2D>();
            ApplyPrimitive(*picture, f.Primitive);
            picture->Bitmap = image;
            picture->StreamValue1 = f.Value1;
            picture->StreamValue2 = f.Value2;
            picture->CopyMode = f.CopyMode;
            return std::unique_ptr<TGraphicObject>(std::move(picture));
        };
    return c;
}

// Containers and source blocks: the TObject2D record, the child count and
// each child framed by its class code; a source block adds ToBeSaved,
// IsLibraryBlock and its 13-byte name.
struct TSourceBlockFields {
    bool ToBeSaved = true;
    bool IsLibraryBlock = false;
    std::string Name;
};

inline TRecordCase GroupCase(std::string label, TObjectFields f, std::vector<TRecordCase> children,
                             std::optional<TSourceBlockFields> block = std::nullopt)
{
    // The source block's own flag bit and byte carry one value.
    if (block)
        f.ToBeSaved = block->ToBeSaved;
    TRecordBytes bytes;
    AppendObject(bytes, f);
    bytes.Int32(static_cast<std::int32_t>(children.size()));
    for (const TRecordCase& child : children)
        bytes.Framed(child.ClassName, child.Bytes);
    if (block)
        bytes.Bool(block->ToBeSaved).Bool(block->IsLibraryBlock).Fixed(block->Name, BlockNameLength);
    const std::string className = block ? "TSourceBlock2D" : "TContainer2D";
    return {std::move(label), className, bytes.Data,
            [=] {
                auto object = Blank(className);
                auto& group = dynamic_cast<TContainer2D&>(*object);
                for (const TRecordCase& child : children)
                    group.Objects().Add(child.Make());
                ApplyObject(group, f);
                if (auto* source = dynamic_cast<TSourceBlock2D*>(&group)) {
                    source->IsLibraryBlock = block->IsLibraryBlock;
                    source->Name = BlockNameFromText(block->Name);
                }
                return object;
            },
            [=](TGraphicObject& read) {
                auto& group = dynamic_cast<TContainer2D&>(read);
                ExpectObject(group, f);
                auto iterator = group.Objects().GetIterator();
                ASSERT_EQ(iterator->Count(), static_cast<int>(children.size()));
                std::size_t i = 0;
                for (TGraphicObject* child = iterator->First(); child; child = iterator->Next(), ++i) {
                    SCOPED_TRACE("child " + std::to_string(i));
                    EXPECT_EQ(child->ClassName(), children[i].ClassName);
                    children[i].Expect(*child);
                }
                if (block) {
                    const auto& source = dynamic_cast<const TSourceBlock2D&>(group);
                    EXPECT_EQ(source.IsLibraryBlock, block->IsLibraryBlock);
                    EXPECT_EQ(source.Name, BlockNameFromText(block->Name));
                }
            }};
}

// A block reference: the TObject2D record, SourceName (13 bytes), OriginPoint.
inline TRecordCase BlockCase(std::string label, TObjectFields f, std::string sourceName, TPoint2D origin)
{
    TRecordBytes bytes;
    AppendObject(bytes, f);
    bytes.Fixed(sourceName, BlockNameLength).Point(origin);
    return {std::move(label), "TBlock2D", bytes.Data,
            [=] {
                auto reference = std::make_unique<TBlock2D>();
                ApplyObject(*reference, f);
                reference->SourceName = BlockNameFromText(sourceName);
                reference->OriginPoint = origin;
                return std::unique_ptr<TGraphicObject>(std::move(reference));
            },
            [=](TGraphicObject& read) {
                const auto& reference = dynamic_cast<const TBlock2D&>(read);
                ExpectObject(reference, f);
                EXPECT_EQ(reference.SourceName, BlockNameFromText(sourceName));
                EXPECT_EQ(reference.OriginPoint.X, origin.X);
                EXPECT_EQ(reference.OriginPoint.Y, origin.Y);
                EXPECT_EQ(reference.OriginPoint.W, origin.W);
            }};
}

} // namespace recordtest
