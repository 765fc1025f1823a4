#pragma once

// Tracing the black-and-white picture: the picture goes to the tracing
// program "kovra" of the program folder as a 1-bit BMP, and the DXF file it
// writes comes back into the drawing at the picture's place and scale.
// Each run works in a private folder of its own, so that no other run and no
// other user can hand it a stale or foreign result.

#include <functional>
#include <string>

#include <QImage>
#include <QString>
#include <QStringList>

class TCADCmp2D;
class TProcessRunner;
struct TLoadedFile;

struct TTracerParameters {
    // Above 0; the page turns 0 and below into 10.
    double ErrorThreshold = 2.0;
    int FilterIterations = 4;
    int CornerThreshold = 90;
    bool CenterLine = false;
};

// The file names inside a run's folder.
inline constexpr const char* kTraceBitmapName = "csq.bmp";
inline constexpr const char* kTraceResultName = "csq.tmp";

// The tracer beside the executable.
QString TracerProgramPath();

// The tracer's arguments: -et E (three decimals, whatever the locale) -fi F
// -ct C -outfile resultFile [-cline] bitmapFile.
QStringList TracerArguments(const TTracerParameters& parameters, const QString& resultFile, const QString& bitmapFile);

// The mono picture (0 black, anything else white) as a BMP of 1 bit per
// pixel, colour entry 0 black and 1 white; false when it cannot be written.
bool WriteMonoBmp(const QImage& mono, const QString& fileName);

// Tracer pixels (origin at the picture's lower-left corner, y up) to drawing
// units: first scaled by the picture's size over its pixels, then moved to its origin.
struct TRasterMapping {
    float ScaleX = 1.0f;
    float ScaleY = 1.0f;
    float OffsetX = 0.0f;
    float OffsetY = 0.0f;
};
TRasterMapping RasterMapping(const TLoadedFile& file);

struct TTraceRunResult {
    enum class TOutcome {
        Imported,
        // The run's folder or picture could not be made.
        NoTempFile,
        // The tracer could not be started: it is missing or is no program.
        TracerMissing,
        // The tracer crashed or was killed from outside.
        TracerCrashed,
        // The user stopped the tracer (Esc or a stop control).
        Cancelled,
        // The tracer ended with an error code; Detail holds what it said.
        TracerFailed,
        // The tracer left no result, or one that cannot be read as a drawing.
        ResultUnreadable,
        // The result stops before its end: it was cut short.
        ResultCut,
    };
    TOutcome Outcome = TOutcome::TracerFailed;
    // Why, in the tracer's, the importer's or the system's words (may be empty).
    QString Detail;
    // Entities added to the drawing.
    int Added = 0;
};

// Reads the tracer's DXF result into target through mapping: Imported with
// the number of entities added, or ResultUnreadable or ResultCut, which add
// nothing. The importer's notices go into Detail instead of a window.
TTraceRunResult ImportTraceResult(const QString& fileName, const TRasterMapping& mapping, TCADCmp2D& target);

// The whole run: writes the picture, starts the tracer with runner, and on
// success imports its result into target with mapping. Nothing is imported
// unless the tracer ended with code 0 and left a result that reads whole;
// every failure comes back as its outcome, never as an exception.
// tempRoot is the folder the run's private folder is made in.
TTraceRunResult RunTracer(const QString& tracer, const QImage& mono, const TTracerParameters& parameters,
                          const TRasterMapping& mapping, const QString& tempRoot, TProcessRunner& runner,
                          TCADCmp2D& target);
