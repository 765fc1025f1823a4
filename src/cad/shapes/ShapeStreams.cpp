// The stream records of the shape classes: each class reads and writes its
// parent's part first, then its own fields.

#include <cstdlib>
#include <cstring>
#include <string>

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include "cad/base/CADMessageSink.h"
#include "cad/canvas/BmpPicture.h"
#include "cad/fonts/FontRegistry.h"
#include "cad/model/GraphicObjectStream.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Curve2D.h"
#include "cad/shapes/JustifiedVectText2D.h"
#include "cad/shapes/Primitive2D.h"
#include "cad/shapes/Text2D.h"
#include "cad/stream/CADStream.h"

namespace {

// A spline's precision x order^2: order 3 takes any precision, order 255 up to 64.
constexpr std::int64_t MaxSplineProfileWork = std::int64_t{1} << 22;

// The point count is a Word in the record.
constexpr int MaxStreamPoints = 0xFFFF;

// The BMP file header: "BM", the file's size, two reserved words, the offset
// of the pixels; an information header follows.
constexpr std::size_t BmpFileHeaderSize = 14;
constexpr std::size_t BmpInfoHeaderSize = 40;
// The smallest information header (the core one) holds 12 bytes.
constexpr std::size_t BmpSmallestImage = BmpFileHeaderSize + 12;

std::uint32_t LittleEndian32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

// A picture of no pixels has no BMP image of Qt's: the headers alone, 0 x 0.
void WriteEmptyBmp(TCADStreamWriter& stream)
{
    constexpr std::uint32_t size = BmpFileHeaderSize + BmpInfoHeaderSize;
    stream.WriteBytes("BM");
    stream.WriteInt32(static_cast<std::int32_t>(size));
    stream.WriteInt32(0);
    stream.WriteInt32(static_cast<std::int32_t>(size));
    stream.WriteInt32(static_cast<std::int32_t>(BmpInfoHeaderSize));
    stream.WriteInt32(0); // width
    stream.WriteInt32(0); // height
    stream.WriteUInt16(1); // planes
    stream.WriteUInt16(24); // bits per pixel
    for (int i = 0; i < 6; ++i) // compression, image size, resolution, colours
        stream.WriteInt32(0);
}

// The BMP file image, as long as its header says; its pixels are decoded
// apart, so a picture that does not decode still leaves the stream in step.
std::string ReadBmpImage(TCADStreamReader& stream)
{
    const std::size_t start = stream.Position();
    const std::string signature = stream.ReadFixedString(2);
    const auto fileSize = static_cast<std::uint32_t>(stream.ReadInt32());
    if (signature != "BM" || fileSize < BmpSmallestImage)
        throw ECADFileNotValid(stream.SourceName() + ": no BMP picture at byte " + std::to_string(start));
    stream.Seek(start);
    stream.RequireItems(fileSize, 1, "BMP picture size");
    return stream.ReadFixedString(fileSize);
}

// A picture decoded from the stream may take at most this many bytes of memory.
constexpr std::uint64_t MaxPictureBytes = std::uint64_t{256} << 20;

constexpr std::uint32_t BmpRle8 = 1;
constexpr std::uint32_t BmpRle4 = 2;

// What a BMP image asks of the decoder before it is decoded: the bytes its
// bitmap takes in memory, or the reason it is refused. The decoder would
// reserve the whole bitmap the header claims, however little data follows.
std::uint64_t PictureBytesAsked(const std::string& bmp, std::string& refusal)
{
    if (bmp.size() < BmpFileHeaderSize + BmpInfoHeaderSize ||
        LittleEndian32(bmp, BmpFileHeaderSize) < BmpInfoHeaderSize)
        return 0; // the core header's small sizes ask for little; the decoder judges the rest
    const auto width = static_cast<std::int32_t>(LittleEndian32(bmp, BmpFileHeaderSize + 4));
    const auto height = static_cast<std::int32_t>(LittleEndian32(bmp, BmpFileHeaderSize + 8));
    const std::uint32_t bitsPerPixel = LittleEndian32(bmp, BmpFileHeaderSize + 14) & 0xFFFF;
    const std::uint32_t compression = LittleEndian32(bmp, BmpFileHeaderSize + 16);
    const std::uint32_t pixelOffset = LittleEndian32(bmp, 10);
    const std::uint64_t w = width < 0 ? 0 : static_cast<std::uint64_t>(width);
    // A negative height stores the rows top-down.
    const auto h = static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(height)));
    const std::uint64_t pixels = w * h;
    // Up to 8 bits a pixel decode to one byte each, deeper pictures to four.
    const std::uint64_t bytes = pixels * (bitsPerPixel <= 8 ? 1 : 4);
    const std::uint64_t data = pixelOffset < bmp.size() ? bmp.size() - pixelOffset : 0;
    const std::string size = std::to_string(w) + " x " + std::to_string(h);
    if (bytes > MaxPictureBytes) {
        refusal = "a picture of " + size + " pixels is larger than " + std::to_string(MaxPictureBytes >> 20) + " MB";
    } else if (compression == BmpRle8 || compression == BmpRle4) {
        if (pixels > data * MaxRunLengthPixelsPerByte)
            refusal = "a picture of " + size + " pixels cannot be filled from " + std::to_string(data) +
                      " bytes of run-length data";
    } else if (compression == 0 && bitsPerPixel > 0) {
        const std::uint64_t rowBytes = (w * bitsPerPixel + 31) / 32 * 4;
        if (rowBytes * h > data)
            refusal = "the picture cannot be read";
    }
    return bytes;
}

bool BmpHasNoPixels(const std::string& bmp)
{
    if (bmp.size() < BmpFileHeaderSize + BmpInfoHeaderSize ||
        LittleEndian32(bmp, BmpFileHeaderSize) < BmpInfoHeaderSize)
        return false;
    return LittleEndian32(bmp, BmpFileHeaderSize + 4) == 0 || LittleEndian32(bmp, BmpFileHeaderSize + 8) == 0;
}

void ReadLogFont(TCADStreamReader& stream, TLogFont& font)
{
    font.Height = stream.ReadInt32();
    font.Width = stream.ReadInt32();
    font.Escapement = stream.ReadInt32();
    font.Orientation = stream.ReadInt32();
    font.Weight = stream.ReadInt32();
    font.Italic = stream.ReadByte();
    font.Underline = stream.ReadByte();
    font.StrikeOut = stream.ReadByte();
    font.CharSet = stream.ReadByte();
    font.OutPrecision = stream.ReadByte();
    font.ClipPrecision = stream.ReadByte();
    font.Quality = stream.ReadByte();
    font.PitchAndFamily = stream.ReadByte();
    const std::string face = stream.ReadFixedString(font.FaceName.size());
    std::memcpy(font.FaceName.data(), face.data(), font.FaceName.size());
}

void WriteLogFont(TCADStreamWriter& stream, const TLogFont& font)
{
    stream.WriteInt32(font.Height);
    stream.WriteInt32(font.Width);
    stream.WriteInt32(font.Escapement);
    stream.WriteInt32(font.Orientation);
    stream.WriteInt32(font.Weight);
    stream.WriteByte(font.Italic);
    stream.WriteByte(font.Underline);
    stream.WriteByte(font.StrikeOut);
    stream.WriteByte(font.CharSet);
    stream.WriteByte(font.OutPrecision);
    stream.WriteByte(font.ClipPrecision);
    stream.WriteByte(font.Quality);
    stream.WriteByte(font.PitchAndFamily);
    stream.WriteBytes(std::string_view(font.FaceName.data(), font.FaceName.size()));
}

} // namespace

void TPrimitive2D::LoadFromStream(TCADStreamReader& stream, std::string_view version)
{
    TObject2D::LoadFromStream(stream, version);
    const std::uint16_t count = stream.ReadUInt16();
    stream.RequireItems(count, 12, "control point count");
    NewPointsSet(count);
    for (int i = 0; i < count; ++i)
        PointsSet->Put(i, stream.ReadPoint2D());
    PointsSet->GrowingEnabled = stream.ReadBoolean();
}

void TPrimitive2D::SaveToStream(TCADStreamWriter& stream)
{
    const int count = PointCount();
    if (count > MaxStreamPoints)
        throw ECADOutOfBound(ClassName() + ".SaveToStream: " + std::to_string(count) +
                             " control points do not fit the stream, which holds at most 65535");
    TObject2D::SaveToStream(stream);
    stream.WriteUInt16(static_cast<std::uint16_t>(count));
    for (int i = 0; i < count; ++i)
        stream.WritePoint2D(PointsSet->Get(i));
    stream.WriteBoolean(PointsSet ? PointsSet->GrowingEnabled : true);
}

void TCurve2D::LoadFromStream(TCADStreamReader& stream, std::string_view version)
{
    TOutline2D::LoadFromStream(stream, version);
    CurvePrecision = stream.ReadInt16();
    SavingType = stream.ReadByte();
}

void TCurve2D::TakeFromFileBudgets(TCADStreamReader& stream)
{
    // Each curve's profile holds precision + 1 points, built when it is
    // loaded and kept or rebuilt at every redraw: a record of a few dozen
    // bytes could ask for hundreds of kilobytes. The usual precision is
    // never cut, so files this program writes always load as they were.
    const std::int16_t usual = UsualPrecision();
    if (CurvePrecision <= usual || stream.TakeProfilePoints(static_cast<std::uint64_t>(CurvePrecision) + 1))
        return;
    if (stream.FirstProfileCut())
        ShowCADMessage("The curves of " + stream.SourceName() +
                       " ask for more outline points than one file may take: the curves past that are drawn "
                       "with their usual precision");
    CurvePrecision = usual;
}

void TCurve2D::SaveToStream(TCADStreamWriter& stream)
{
    TOutline2D::SaveToStream(stream);
    stream.WriteInt16(CurvePrecision);
    stream.WriteByte(SavingType);
}

void TArcCurve2D::LoadFromStream(TCADStreamReader& stream, std::string_view version)
{
    TCurve2D::LoadFromStream(stream, version);
    Direction = stream.ReadByte();
}

void TArcCurve2D::SaveToStream(TCADStreamWriter& stream)
{
    TCurve2D::SaveToStream(stream);
    stream.WriteByte(Direction);
}

void TBSpline2D::LoadFromStream(TCADStreamReader& stream, std::string_view version)
{
    TCurve2D::LoadFromStream(stream, version);
    Order = stream.ReadByte();
    if (Order == 0)
        throw ECADRecordRejected("TBSpline2D: spline of order 0 read. Object discarded.");
    // Building the outline costs about precision x order^2 steps, and it is
    // built as soon as the spline is loaded: a few bytes must not ask for
    // minutes of work.
    const std::int64_t work = std::int64_t{CurvePrecision} * Order * Order;
    if (Order <= PointCount() && work > MaxSplineProfileWork)
        throw ECADRecordRejected("TBSpline2D: spline of order " + std::to_string(Order) + " with curve precision " +
                                 std::to_string(CurvePrecision) + " read, more work than " +
                                 std::to_string(MaxSplineProfileWork) + " steps to draw. Object discarded.");
}

void TBSpline2D::SaveToStream(TCADStreamWriter& stream)
{
    TCurve2D::SaveToStream(stream);
    stream.WriteByte(Order);
}

void TText2D::LoadFromStream(TCADStreamReader& stream, std::string_view version)
{
    TPrimitive2D::LoadFromStream(stream, version);
    Text = stream.ReadString(stream.Remaining());
    ReadLogFont(stream, Font.LogFont);
    DrawTextFlags = stream.ReadInt32();
    DrawBox = stream.ReadBoolean();
    Height = stream.ReadSingle();
}

void TText2D::SaveToStream(TCADStreamWriter& stream)
{
    TPrimitive2D::SaveToStream(stream);
    stream.WriteString(Text);
    WriteLogFont(stream, Font.LogFont);
    stream.WriteInt32(DrawTextFlags);
    stream.WriteBoolean(DrawBox);
    stream.WriteSingle(Height);
}

void TBitmap2D::LoadFromStream(TCADStreamReader& stream, std::string_view version)
{
    TPrimitive2D::LoadFromStream(stream, version);
    const std::string bmp = ReadBmpImage(stream);
    if (CADVersionBefore(version, "CAD422")) {
        // Older records end after the picture: the values they lack are 0
        // (a copy mode of 0 paints as the plain copy).
        StreamValue1 = 0;
        StreamValue2 = 0;
        CopyMode = 0;
    } else {
        StreamValue1 = stream.ReadInt32();
        StreamValue2 = stream.ReadInt32();
        CopyMode = stream.ReadInt32();
    }
    Bitmap = QImage();
    if (BmpHasNoPixels(bmp))
        return;
    std::string refusal;
    const std::uint64_t bytes = PictureBytesAsked(bmp, refusal);
    if (refusal.empty() && !stream.TakePictureBytes(bytes))
        refusal = "the pictures of this file would need more memory than one file may take";
    if (!refusal.empty())
        throw ECADRecordRejected("TBitmap2D: " + refusal + ". Object discarded.");
    Bitmap = DecodeBmpPicture(QByteArray::fromRawData(bmp.data(), static_cast<qsizetype>(bmp.size())));
    if (Bitmap.isNull())
        throw ECADRecordRejected("TBitmap2D: the picture cannot be read. Object discarded.");
}

void TBitmap2D::SaveToStream(TCADStreamWriter& stream)
{
    TPrimitive2D::SaveToStream(stream);
    QByteArray bmp;
    if (!Bitmap.isNull()) {
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        if (!Bitmap.save(&buffer, "BMP"))
            bmp.clear();
    }
    if (bmp.isEmpty())
        WriteEmptyBmp(stream);
    else
        stream.WriteBytes(std::string_view(bmp.constData(), static_cast<std::size_t>(bmp.size())));
    stream.WriteInt32(StreamValue1);
    stream.WriteInt32(StreamValue2);
    stream.WriteInt32(CopyMode);
}

void TJustifiedVectText2D::LoadFromStream(TCADStreamReader& stream, std::string_view version)
{
    TPrimitive2D::LoadFromStream(stream, version);
    Text = stream.ReadString(stream.Remaining());
    const std::int32_t fontIndex = stream.ReadInt32();
    HJustification = stream.ReadByte();
    VJustification = stream.ReadByte();
    DrawBox = stream.ReadBoolean();
    Height = stream.ReadSingle();
    LineSpacing = stream.ReadSingle();
    CharSpacing = stream.ReadSingle();
    try {
        Font = CADCoreFindFontByIndex(fontIndex);
    } catch (const ECADObjClassNotFound&) {
        Font = nullptr;
        ShowCADMessage("Font class not found. Font not assigned");
    }
}

void TJustifiedVectText2D::SaveToStream(TCADStreamWriter& stream)
{
    const int fontIndex = CADCoreFindFontIndex(Font);
    TPrimitive2D::SaveToStream(stream);
    stream.WriteString(Text);
    stream.WriteInt32(fontIndex);
    stream.WriteByte(HJustification);
    stream.WriteByte(VJustification);
    stream.WriteBoolean(DrawBox);
    stream.WriteSingle(Height);
    stream.WriteSingle(LineSpacing);
    stream.WriteSingle(CharSpacing);
}
