#pragma once

// A picture stretched into the window rectangle of two opposite corners.

#include <cstdint>

#include <QImage>
#include <QPainter>

#include "cad/shapes/Primitive2D.h"

// The platform raster operations the stream stores as CopyMode.
inline constexpr std::int32_t cmBlackness = 0x00000042;
inline constexpr std::int32_t cmDstInvert = 0x00550009;
inline constexpr std::int32_t cmMergeCopy = 0x00C000CA;
inline constexpr std::int32_t cmMergePaint = 0x00BB0226;
inline constexpr std::int32_t cmNotSrcCopy = 0x00330008;
inline constexpr std::int32_t cmNotSrcErase = 0x001100A6;
inline constexpr std::int32_t cmPatCopy = 0x00F00021;
inline constexpr std::int32_t cmPatInvert = 0x005A0049;
inline constexpr std::int32_t cmPatPaint = 0x00FB0A09;
inline constexpr std::int32_t cmSrcAnd = 0x008800C6;
inline constexpr std::int32_t cmSrcCopy = 0x00CC0020;
inline constexpr std::int32_t cmSrcErase = 0x00440328;
inline constexpr std::int32_t cmSrcInvert = 0x00660046;
inline constexpr std::int32_t cmSrcPaint = 0x00EE0086;
inline constexpr std::int32_t cmWhiteness = 0x00FF0062;

// The plain copy is ordinary painting; the other operations are raster ops,
// which only raster paint devices (images) carry out. The pattern operations
// have no brush to combine with here and copy plainly.
QPainter::CompositionMode CopyModeToComposition(std::int32_t copyMode);

class TBitmap2D : public TPrimitive2D {
public:
    // Two control points (not growable), as the stream reader fills them.
    TBitmap2D();
    // Keeps its own copy of the picture.
    TBitmap2D(std::int32_t id, TPoint2D firstCorner, TPoint2D secondCorner, const QImage& bitmap);

    std::string ClassName() const override { return "TBitmap2D"; }
    // From a picture: the stream values, CopyMode, the picture and points
    // 0-1; from a frame: points 0-1.
    void Assign(const TGraphicObject& other) override;
    void Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
              int drawMode) override;
    int MinimumPointCount() const override { return 2; }
    // The picture as a BMP file image, then (from "CAD422" on) the two kept
    // values and CopyMode. A picture that does not decode is refused
    // (ECADRecordRejected) once the record is read.
    void LoadFromStream(TCADStreamReader& stream, std::string_view version) override;
    void SaveToStream(TCADStreamWriter& stream) override;

    // The stream record's fields.
    QImage Bitmap;
    // Kept and streamed only.
    std::int32_t StreamValue1 = 0;
    std::int32_t StreamValue2 = 0;
    std::int32_t CopyMode = cmSrcCopy;
};
