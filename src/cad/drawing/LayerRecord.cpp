// The layer record of streams. Current layout: pen colour Int32, pen style
// Byte, pen mode Byte, pen width Int32, brush colour Int32, brush style Byte,
// pattern length Int32 and one Byte per pattern element, Active, Visible,
// Opaque and Streamable Bytes, and the name in 32 bytes (a length byte, then
// up to 31 characters, zero-filled). Older versions lack some of these.

#include <algorithm>

#include "cad/base/CADMessageSink.h"
#include "cad/drawing/Layers.h"
#include "cad/stream/CADStream.h"

namespace {

constexpr std::size_t NameFieldSize = 32;
// A dash pattern is a few dozen elements; the longest kept is the longest
// that older readers, counting its phase in 16 bits, could walk.
constexpr std::int32_t MaxPatternLength = 32767;

// Styles outside the platform's ranges would have no meaning: they become
// the defaults.
TPenStyle PenStyleFromByte(std::uint8_t value)
{
    return value <= static_cast<std::uint8_t>(TPenStyle::InsideFrame) ? static_cast<TPenStyle>(value)
                                                                      : TPenStyle::Solid;
}

TPenMode PenModeFromByte(std::uint8_t value)
{
    return value <= static_cast<std::uint8_t>(TPenMode::NotXor) ? static_cast<TPenMode>(value) : TPenMode::Copy;
}

TBrushStyle BrushStyleFromByte(std::uint8_t value)
{
    return value <= static_cast<std::uint8_t>(TBrushStyle::DiagCross) ? static_cast<TBrushStyle>(value)
                                                                       : TBrushStyle::Solid;
}

} // namespace

void TLayer::SaveToStream(TCADStreamWriter& stream) const
{
    stream.WriteInt32(PenValue.Color);
    stream.WriteByte(static_cast<std::uint8_t>(PenValue.Style));
    stream.WriteByte(static_cast<std::uint8_t>(PenValue.Mode));
    stream.WriteInt32(PenValue.Width);
    stream.WriteInt32(BrushValue.Color);
    stream.WriteByte(static_cast<std::uint8_t>(BrushValue.Style));
    const int patternLength = DecorativePen.PatternLength();
    stream.WriteInt32(patternLength);
    for (int i = 0; i < patternLength; ++i)
        stream.WriteBoolean(DecorativePen.GetBit(i));
    stream.WriteBoolean(Active);
    stream.WriteBoolean(Visible);
    stream.WriteBoolean(Opaque);
    stream.WriteBoolean(Streamable);
    const std::size_t nameLength = std::min(NameValue.size(), MaxNameLength);
    stream.WriteByte(static_cast<std::uint8_t>(nameLength));
    stream.WriteFixedString(NameValue.substr(0, nameLength), NameFieldSize - 1);
}

void TLayer::LoadFromStream(TCADStreamReader& stream, std::string_view version)
{
    TPenState pen;
    pen.Color = stream.ReadInt32();
    pen.Style = PenStyleFromByte(stream.ReadByte());
    pen.Mode = PenModeFromByte(stream.ReadByte());
    pen.Width = stream.ReadInt32();
    TBrushState brush;
    brush.Color = stream.ReadInt32();
    brush.Style = BrushStyleFromByte(stream.ReadByte());
    SetPen(pen);
    SetBrush(brush);
    if (CADVersionBefore(version, "CAD422"))
        static_cast<void>(stream.ReadInt32());
    if (!CADVersionBefore(version, "CAD41")) {
        const std::int32_t patternLength = stream.ReadInt32();
        stream.RequireItems(patternLength, 1, "pattern length");
        DecorativePen.SetPattern("");
        const std::int32_t kept = std::min(patternLength, MaxPatternLength);
        for (std::int32_t i = 0; i < patternLength; ++i) {
            const bool on = stream.ReadBoolean();
            if (i < kept)
                DecorativePen.SetBit(i, on);
        }
        if (kept < patternLength)
            ShowCADMessage("Layer " + std::to_string(IndexValue) + ": dash pattern of " + std::to_string(patternLength) +
                           " elements cut to " + std::to_string(MaxPatternLength));
    }
    Active = stream.ReadBoolean();
    Visible = CADVersionBefore(version, "CAD4  ") ? true : stream.ReadBoolean();
    Opaque = stream.ReadBoolean();
    const std::string oldName = "Layer " + std::to_string(IndexValue);
    if (version == "CAD3  ") {
        Streamable = stream.ReadBoolean();
        SetName(oldName);
    } else if (CADVersionBefore(version, "CAD33")) {
        Streamable = true;
        SetName(oldName);
    } else {
        Streamable = stream.ReadBoolean();
        const std::string field = stream.ReadFixedString(NameFieldSize);
        const std::size_t length = std::min<std::size_t>(static_cast<unsigned char>(field[0]), MaxNameLength);
        SetName(field.substr(1, length));
    }
    Modified = true;
}
