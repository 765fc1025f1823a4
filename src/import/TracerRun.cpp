#include "import/TracerRun.h"

#include <algorithm>
#include <charconv>
#include <exception>

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include "cad/base/CADMessageSink.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/dxf/DXF2DImport.h"
#include "cad/dxf/DXFRead.h"
#include "cad/model/GraphicObject.h"
#include "import/LoadedFile.h"
#include "platform/ProcessRunner.h"
#include "platform/ProgramFolder.h"

namespace {

void PutLe16(QByteArray& out, int at, std::uint16_t value)
{
    out[at] = static_cast<char>(value & 0xff);
    out[at + 1] = static_cast<char>(value >> 8);
}

void PutLe32(QByteArray& out, int at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<char>((value >> (8 * i)) & 0xff);
}

std::vector<std::int32_t> ObjectIds(TCADCmp2D& drawing)
{
    std::vector<std::int32_t> ids;
    auto objects = drawing.ObjectsIterator();
    for (TGraphicObject* object = objects->First(); object; object = objects->Next())
        ids.push_back(object->ID);
    return ids;
}

// The tracer ends its result with the EOF record; a result without it was cut short.
bool EndsWithEof(const QByteArray& bytes)
{
    const QByteArray tail = bytes.right(64).trimmed();
    const qsizetype lastLine = tail.lastIndexOf('\n');
    if (lastLine < 0 || tail.mid(lastLine + 1).trimmed() != "EOF")
        return false;
    const QByteArray before = tail.left(lastLine);
    return before.mid(before.lastIndexOf('\n') + 1).trimmed() == "0";
}

// The importer's notices while it reads a result, kept for the run's own
// message instead of each opening a window of its own.
class TCapturedNotices {
public:
    TCapturedNotices()
        : Previous(SetCADMessageSink([this](const std::string& text) {
              if (!Text.isEmpty())
                  Text += QLatin1Char('\n');
              Text += QString::fromStdString(text).trimmed();
          }))
    {
    }
    ~TCapturedNotices() { SetCADMessageSink(Previous); }
    TCapturedNotices(const TCapturedNotices&) = delete;
    TCapturedNotices& operator=(const TCapturedNotices&) = delete;

    QString Text;

private:
    TCADMessageSink Previous;
};

} // namespace

QString TracerProgramPath()
{
    return ProgramFolder() + QStringLiteral("/kovra");
}

QStringList TracerArguments(const TTracerParameters& parameters, const QString& resultFile, const QString& bitmapFile)
{
    char error[32];
    const auto end = std::to_chars(error, error + sizeof error, parameters.ErrorThreshold, std::chars_format::fixed, 3);
    QStringList arguments{QStringLiteral("-et"), QString::fromLatin1(error, static_cast<int>(end.ptr - error)),
                          QStringLiteral("-fi"), QString::number(parameters.FilterIterations),
                          QStringLiteral("-ct"), QString::number(parameters.CornerThreshold),
                          QStringLiteral("-outfile"), resultFile};
    if (parameters.CenterLine)
        arguments << QStringLiteral("-cline");
    arguments << bitmapFile;
    return arguments;
}

bool WriteMonoBmp(const QImage& mono, const QString& fileName)
{
    if (mono.isNull() || mono.format() != QImage::Format_Indexed8)
        return false;
    const int width = mono.width(), height = mono.height();
    const int stride = ((width + 31) / 32) * 4;
    constexpr int headerSize = 14 + 40 + 8;
    const qint64 imageSize = static_cast<qint64>(stride) * height;
    if (imageSize + headerSize > 0x7fffffff)
        return false;
    QByteArray out(static_cast<int>(headerSize + imageSize), '\0');
    out[0] = 'B';
    out[1] = 'M';
    PutLe32(out, 2, static_cast<std::uint32_t>(out.size()));
    PutLe32(out, 10, headerSize);
    PutLe32(out, 14, 40);
    PutLe32(out, 18, static_cast<std::uint32_t>(width));
    PutLe32(out, 22, static_cast<std::uint32_t>(height));
    PutLe16(out, 26, 1);
    PutLe16(out, 28, 1);
    PutLe32(out, 34, static_cast<std::uint32_t>(imageSize));
    PutLe32(out, 46, 2);
    // Entry 0 black (all zero already), entry 1 white.
    for (int i = 58; i < 61; ++i)
        out[i] = static_cast<char>(0xff);
    // Rows bottom-up; a set bit is white.
    for (int y = 0; y < height; ++y) {
        const uchar* source = mono.constScanLine(height - 1 - y);
        char* row = out.data() + headerSize + static_cast<qint64>(y) * stride;
        for (int x = 0; x < width; ++x)
            if (source[x] != 0)
                row[x / 8] = static_cast<char>(static_cast<uchar>(row[x / 8]) | (0x80u >> (x % 8)));
    }
    QSaveFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size() && file.commit();
}

TRasterMapping RasterMapping(const TLoadedFile& file)
{
    TRasterMapping mapping;
    // A picture without pixels has no scale to give; its world size stands for itself.
    if (file.RasterPixelWidth > 0)
        mapping.ScaleX = file.RasterWorldWidth / static_cast<float>(file.RasterPixelWidth);
    if (file.RasterPixelHeight > 0)
        mapping.ScaleY = file.RasterWorldHeight / static_cast<float>(file.RasterPixelHeight);
    mapping.OffsetX = file.RasterOriginX;
    mapping.OffsetY = file.RasterOriginY;
    return mapping;
}

TTraceRunResult RunTracer(const QString& tracer, const QImage& mono, const TTracerParameters& parameters,
                          const TRasterMapping& mapping, const QString& tempRoot, TProcessRunner& runner,
                          TCADCmp2D& target)
{
    using TOutcome = TTraceRunResult::TOutcome;
    TTraceRunResult result;
    QTemporaryDir folder(QDir(tempRoot).filePath(QStringLiteral("kestro-trace-XXXXXX")));
    if (!folder.isValid()) {
        result.Outcome = TOutcome::NoTempFile;
        result.Detail = folder.errorString();
        return result;
    }
    const QString bitmapFile = folder.filePath(QString::fromLatin1(kTraceBitmapName));
    const QString resultFile = folder.filePath(QString::fromLatin1(kTraceResultName));
    // The folder is new, but a result that is there before the run must never pass for its outcome.
    if ((QFile::exists(resultFile) && !QFile::remove(resultFile)) || !WriteMonoBmp(mono, bitmapFile)) {
        result.Outcome = TOutcome::NoTempFile;
        return result;
    }

    const TProcessResult run = runner.Run(tracer, TracerArguments(parameters, resultFile, bitmapFile));
    result.Detail = run.ErrorText;
    switch (run.Outcome) {
    case TProcessResult::TOutcome::NotStarted:
        result.Outcome = TOutcome::TracerMissing;
        return result;
    case TProcessResult::TOutcome::Crashed:
        result.Outcome = TOutcome::TracerCrashed;
        return result;
    case TProcessResult::TOutcome::Stopped:
        result.Outcome = TOutcome::Cancelled;
        return result;
    case TProcessResult::TOutcome::Exited:
        break;
    }
    if (run.ExitCode != 0) {
        result.Outcome = TOutcome::TracerFailed;
        return result;
    }
    return ImportTraceResult(resultFile, mapping, target);
}

TTraceRunResult ImportTraceResult(const QString& fileName, const TRasterMapping& mapping, TCADCmp2D& target)
{
    using TOutcome = TTraceRunResult::TOutcome;
    TTraceRunResult result;
    result.Outcome = TOutcome::ResultUnreadable;
    QFile file(fileName);
    if (!file.exists()) {
        result.Detail = QStringLiteral("The tracing program wrote no result.");
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.Detail = file.errorString();
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.Detail = file.errorString();
        return result;
    }
    if (!EndsWithEof(bytes)) {
        result.Outcome = TOutcome::ResultCut;
        return result;
    }

    const int before = target.ObjectsCount();
    const std::vector<std::int32_t> kept = ObjectIds(target);
    try {
        TCapturedNotices notices;
        TDXF2DImport import(TDXFRead::FromBytes(bytes.toStdString()), &target);
        import.SetLayerColors = false;
        import.ScaleX = mapping.ScaleX;
        import.ScaleY = mapping.ScaleY;
        import.OffsetX = mapping.OffsetX;
        import.OffsetY = mapping.OffsetY;
        const bool failed = import.Import().Failed;
        result.Detail = notices.Text;
        if (!failed) {
            result.Outcome = TOutcome::Imported;
            result.Added = target.ObjectsCount() - before;
            return result;
        }
    } catch (const std::exception& e) {
        result.Detail = QString::fromStdString(e.what());
    }
    // A result that does not read whole adds nothing, not a part of it.
    for (std::int32_t id : ObjectIds(target))
        if (std::find(kept.begin(), kept.end(), id) == kept.end())
            target.DeleteObject(id);
    return result;
}
