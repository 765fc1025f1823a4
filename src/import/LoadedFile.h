#pragma once

// What the last Open loaded: the picture and its black-and-white copy, the
// size and place of the picture or drawing in the drawing, and the kind of
// file. Opening fills it, thresholding and tracing read the pictures, and
// placement moves and scales through it. One instance lives as long as the
// program (LoadedFile below).

#include <cstdint>
#include <string>

#include <QImage>

struct TLoadedFile {
    // The loaded picture: 8-bit indexed, 24- or 32-bit; null when none.
    QImage SourceRaster;
    // The thresholded picture: 8-bit, 0 and 255 only; null when none.
    QImage MonoRaster;
    std::int32_t RasterPixelWidth = 0;
    std::int32_t RasterPixelHeight = 0;
    // 0 for 1- and 4-bit pictures, 1 for 8-bit, 3 for deeper ones.
    std::int32_t RasterDepthClass = 0;
    // Drawing units (mm or inch, by the unit setting).
    float RasterWorldWidth = 0.0f;
    float RasterWorldHeight = 0.0f;
    // The picture's lower-left corner; for a drawing, the placement's bookkeeping.
    float RasterOriginX = 0.0f;
    float RasterOriginY = 0.0f;
    // A drawing's extent as imported.
    float DrawingOrigWidth = 0.0f;
    float DrawingOrigHeight = 0.0f;
    float DrawingOrigMinX = 0.0f;
    float DrawingOrigMinY = 0.0f;
    // The placement's last move, turn (0, 90, 180, 270) and reference corners.
    float PlacementViewShiftX = 0.0f;
    float PlacementViewShiftY = 0.0f;
    std::int32_t PlacementRotation = 0;
    std::int32_t PlacementShownCorner = 0;
    std::int32_t PlacementCorner = 0;
    std::string LoadedFileName;
    // The kind of the loaded file: at most one is set.
    bool IsBmpLoaded = false;
    bool IsDxfLoaded = false;
    bool IsJpegLoaded = false;
    bool IsSvgLoaded = false;
    // The grid as it was before the open pages changed it.
    float SavedGridDeltaX = 0.0f;
    float SavedGridDeltaY = 0.0f;
    bool SavedGridDown = false;
    bool SavedAxisDown = false;

    bool IsRasterLoaded() const { return IsBmpLoaded || IsJpegLoaded; }
    void ClearKinds() { IsBmpLoaded = IsDxfLoaded = IsJpegLoaded = IsSvgLoaded = false; }
    void FreeRasters()
    {
        SourceRaster = QImage();
        MonoRaster = QImage();
    }
};

extern TLoadedFile LoadedFile;
