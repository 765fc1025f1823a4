// Tracing through the real tracer of the program folder: what a picture
// becomes in the drawing, and that a failed or stopped tracer adds nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include "../platform/CommaLocale.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/GraphicObject.h"
#include "cad/shapes/Polyline2D.h"
#include "import/LoadedFile.h"
#include "import/MonoRaster.h"
#include "import/TracerRun.h"
#include "platform/ProcessRunner.h"

namespace {

const QString kTracer = QStringLiteral(KESTRO_PROGRAM_DIR "/kovra");

// A black-and-white picture; ink(x, y) with y counted up from the bottom row.
QImage Picture(int width, int height, const std::function<bool(int, int)>& ink)
{
    QImage mono = MakeMonoRaster(QSize(width, height));
    for (int y = 0; y < height; ++y) {
        uchar* row = mono.scanLine(height - 1 - y);
        for (int x = 0; x < width; ++x)
            row[x] = ink(x, y) ? 0 : 255;
    }
    return mono;
}

struct TBox {
    float Left = 1e9f;
    float Bottom = 1e9f;
    float Right = -1e9f;
    float Top = -1e9f;
};

struct TLine {
    std::vector<TPoint2D> Points;
    bool Closed = false;
    TBox Box() const
    {
        TBox box;
        for (const TPoint2D& p : Points) {
            box.Left = std::min(box.Left, p.X);
            box.Bottom = std::min(box.Bottom, p.Y);
            box.Right = std::max(box.Right, p.X);
            box.Top = std::max(box.Top, p.Y);
        }
        return box;
    }
};

std::vector<TLine> Lines(TCADCmp2D& drawing)
{
    std::vector<TLine> lines;
    auto objects = drawing.ObjectsIterator();
    for (TGraphicObject* object = objects->First(); object; object = objects->Next()) {
        const auto* polyline = dynamic_cast<const TPolyline2D*>(object);
        if (!polyline)
            continue;
        TLine line;
        // The import places an entity by its transform, not by moving its points.
        const TTransform2D placed = polyline->GetTransform();
        for (int i = 0; i < polyline->PointCount(); ++i)
            line.Points.push_back(ApplyTransform2D((*polyline->Points())[i], placed));
        line.Closed = line.Points.size() > 2 && line.Points.front().X == line.Points.back().X &&
                      line.Points.front().Y == line.Points.back().Y;
        lines.push_back(line);
    }
    return lines;
}

class TracerRunTest : public testing::Test {
protected:
    TTraceRunResult Trace(const QImage& picture, const TTracerParameters& parameters = {},
                          const TRasterMapping& mapping = {}, const QString& tracer = kTracer)
    {
        return RunTracer(tracer, picture, parameters, mapping, Temp.path(), Runner, Drawing);
    }
    // A tracer of a few shell lines, for the ways a tracer may fail.
    QString FakeTracer(const char* script)
    {
        const QString path = Temp.filePath(QStringLiteral("fake-tracer-%1").arg(++FakeTracers));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("#!/bin/sh\n") + script + "\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    // Nothing of a run may stay behind in the temporary folder.
    void ExpectTempEmpty()
    {
        const QStringList left = QDir(Temp.path()).entryList({QStringLiteral("kestro-trace-*")}, QDir::AllEntries);
        EXPECT_TRUE(left.isEmpty()) << left.join(QLatin1Char(' ')).toStdString();
    }

    QTemporaryDir Temp;
    TProcessRunner Runner;
    TCADCmp2D Drawing;
    int FakeTracers = 0;
};

TEST(TracerCommandLine, ArgumentsAreExactWhateverTheLocale)
{
    CommaLocale german;
    TTracerParameters parameters;
    EXPECT_EQ(TracerArguments(parameters, QStringLiteral("/t/csq.tmp"), QStringLiteral("/t/csq.bmp")),
              QStringList({"-et", "2.000", "-fi", "4", "-ct", "90", "-outfile", "/t/csq.tmp", "/t/csq.bmp"}));
    parameters = {0.0125, 10, 135, true};
    EXPECT_EQ(TracerArguments(parameters, QStringLiteral("/t/csq.tmp"), QStringLiteral("/t/csq.bmp")),
              QStringList({"-et", "0.013", "-fi", "10", "-ct", "135", "-outfile", "/t/csq.tmp", "-cline", "/t/csq.bmp"}));
    EXPECT_TRUE(TracerProgramPath().endsWith(QStringLiteral("/kovra")));
}

TEST(TracerProgress, CountsUpByTenThenWrapsToZero)
{
    TProgressSequence progress;
    std::vector<int> seen;
    for (int i = 0; i < 13; ++i) {
        seen.push_back(progress.Current());
        progress.Advance();
    }
    EXPECT_EQ(seen, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 0, 10, 20}));
}

TEST(TracerBitmap, OneBitFileHoldsThePictureBlackAsEntryZero)
{
    QTemporaryDir temp;
    // Odd width: the rows are padded to whole 32-bit words.
    const QImage picture = Picture(37, 5, [](int x, int y) { return (x + 2 * y) % 3 == 0; });
    const QString file = temp.filePath(QStringLiteral("csq.bmp"));
    ASSERT_TRUE(WriteMonoBmp(picture, file));
    const QImage back(file);
    ASSERT_EQ(back.depth(), 1);
    ASSERT_EQ(back.size(), picture.size());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(back.pixel(x, y), picture.pixelIndex(x, y) == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255))
                << x << "," << y;
    QFile raw(file);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    // 62 bytes of headers and colour table, then 5 rows of 8 bytes, the bottom row first.
    ASSERT_EQ(bytes.size(), 62 + 5 * 8);
    EXPECT_EQ(bytes.mid(54, 8), QByteArray("\0\0\0\0\xff\xff\xff\0", 8));
    // Bottom row, y = 0: ink at x = 0, 3, 6, ...: bits 0 (black) there.
    EXPECT_EQ(bytes.mid(62, 2), QByteArray("\x6d\xb6", 2));
}

TEST_F(TracerRunTest, PixelsLandOnThePictureScaledFirstThenMoved)
{
    // A picture of 1000 x 500 pixels shown 100 x 50 mm with its corner at (5, 7).
    TLoadedFile file;
    file.RasterPixelWidth = 1000;
    file.RasterPixelHeight = 500;
    file.RasterWorldWidth = 100.0f;
    file.RasterWorldHeight = 50.0f;
    file.RasterOriginX = 5.0f;
    file.RasterOriginY = 7.0f;
    const QString dxf = Temp.filePath(QStringLiteral("result.dxf"));
    QFile out(dxf);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n8\n0\n66\n1\n70\n0\n0\nVERTEX\n8\n0\n10\n0.0\n20\n0.0\n"
              "0\nVERTEX\n8\n0\n10\n1000.0\n20\n500.0\n0\nSEQEND\n0\nENDSEC\n0\nEOF\n");
    out.close();
    ASSERT_EQ(ImportTraceResult(dxf, RasterMapping(file), Drawing).Added, 1);
    const std::vector<TLine> lines = Lines(Drawing);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_FLOAT_EQ(lines[0].Points[0].X, 5.0f);
    EXPECT_FLOAT_EQ(lines[0].Points[0].Y, 7.0f);
    EXPECT_FLOAT_EQ(lines[0].Points[1].X, 105.0f);
    EXPECT_FLOAT_EQ(lines[0].Points[1].Y, 57.0f);

    // A result damaged inside (no SEQEND) adds nothing at all.
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write("0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n0\nPOLYLINE\n8\n0\n66\n1\n70\n0\n"
              "0\nVERTEX\n8\n0\n10\n0.0\n20\n0.0\n0\nENDSEC\n0\nEOF\n");
    out.close();
    EXPECT_EQ(ImportTraceResult(dxf, RasterMapping(file), Drawing).Outcome, TTraceRunResult::TOutcome::ResultUnreadable);
    EXPECT_EQ(Drawing.ObjectsCount(), 1);
}

TEST_F(TracerRunTest, OutlinesOfSquareAndRingLieWhereTheInkIs)
{
    // 0.5 mm per pixel, the picture's corner at (5, 7).
    const TRasterMapping mapping{0.5f, 0.5f, 5.0f, 7.0f};
    TTraceRunResult result = Trace(Picture(40, 40, [](int x, int y) { return x >= 10 && x < 30 && y >= 10 && y < 30; }),
                                   {}, mapping);
    ASSERT_EQ(result.Outcome, TTraceRunResult::TOutcome::Imported) << result.Detail.toStdString();
    std::vector<TLine> lines = Lines(Drawing);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].Closed);
    const TBox box = lines[0].Box();
    EXPECT_NEAR(box.Left, 10.0, 1e-4);
    EXPECT_NEAR(box.Bottom, 12.0, 1e-4);
    EXPECT_NEAR(box.Right, 20.0, 1e-4);
    EXPECT_NEAR(box.Top, 22.0, 1e-4);

    Drawing.DeleteAllObjects();
    result = Trace(Picture(60, 60, [](int x, int y) {
        const int d = (x - 30) * (x - 30) + (y - 30) * (y - 30);
        return d >= 100 && d <= 400;
    }));
    ASSERT_EQ(result.Outcome, TTraceRunResult::TOutcome::Imported);
    lines = Lines(Drawing);
    ASSERT_EQ(lines.size(), 2u);
    // The outer outline and the hole, both round about the centre.
    std::vector<double> radii;
    for (const TLine& line : lines) {
        EXPECT_TRUE(line.Closed);
        double sum = 0;
        for (const TPoint2D& p : line.Points)
            sum += std::hypot(p.X - 30.5, p.Y - 30.5);
        radii.push_back(sum / static_cast<double>(line.Points.size()));
    }
    std::sort(radii.begin(), radii.end());
    EXPECT_NEAR(radii[0], 9.8, 0.8);
    EXPECT_NEAR(radii[1], 20.3, 0.8);
    ExpectTempEmpty();
}

TEST_F(TracerRunTest, CentreLinesFollowTheStrokes)
{
    TTracerParameters parameters;
    parameters.CenterLine = true;
    // A bar three pixels thick: one open line along its middle row.
    TTraceRunResult result =
        Trace(Picture(60, 20, [](int x, int y) { return x >= 10 && x < 50 && y >= 8 && y < 11; }), parameters);
    ASSERT_EQ(result.Outcome, TTraceRunResult::TOutcome::Imported) << result.Detail.toStdString();
    std::vector<TLine> lines = Lines(Drawing);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_FALSE(lines[0].Closed);
    TBox box = lines[0].Box();
    EXPECT_NEAR(box.Bottom, 9.5, 1e-4);
    EXPECT_NEAR(box.Top, 9.5, 1e-4);
    EXPECT_NEAR(box.Left, 10.5, 1.5);
    EXPECT_NEAR(box.Right, 49.5, 2.5);

    // A "T": the bar's two halves and the stem meet in one point.
    Drawing.DeleteAllObjects();
    result = Trace(Picture(60, 60, [](int x, int y) {
                       return (x >= 10 && x < 50 && y >= 44 && y < 47) || (x >= 29 && x < 32 && y >= 10 && y < 47);
                   }),
                   parameters);
    ASSERT_EQ(result.Outcome, TTraceRunResult::TOutcome::Imported);
    lines = Lines(Drawing);
    ASSERT_EQ(lines.size(), 3u);
    for (const TLine& line : lines) {
        EXPECT_FALSE(line.Closed);
        const bool meets = (std::abs(line.Points.front().X - 30.5f) < 1e-3f && std::abs(line.Points.front().Y - 45.5f) < 1e-3f) ||
                           (std::abs(line.Points.back().X - 30.5f) < 1e-3f && std::abs(line.Points.back().Y - 45.5f) < 1e-3f);
        EXPECT_TRUE(meets);
    }

    // A ring: one closed line round its middle.
    Drawing.DeleteAllObjects();
    result = Trace(Picture(60, 60, [](int x, int y) {
                       const int d = (x - 30) * (x - 30) + (y - 30) * (y - 30);
                       return d >= 144 && d <= 256;
                   }),
                   parameters);
    lines = Lines(Drawing);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].Closed);
    for (const TPoint2D& p : lines[0].Points)
        EXPECT_NEAR(std::hypot(p.X - 30.5, p.Y - 30.5), 14.0, 1.5);
}

TEST_F(TracerRunTest, EveryFailureIsNamedAndImportsNothing)
{
    using TOutcome = TTraceRunResult::TOutcome;
    const QImage square = Picture(20, 20, [](int x, int y) { return x > 5 && x < 15 && y > 5 && y < 15; });
    // Two whole outlines, as the tracer writes them; $8 is the result file.
    const char* const twoLines = "0\\nSECTION\\n2\\nENTITIES\\n"
                                 "0\\nPOLYLINE\\n8\\n0\\n66\\n1\\n70\\n1\\n0\\nVERTEX\\n8\\n0\\n10\\n0\\n20\\n0\\n"
                                 "0\\nVERTEX\\n8\\n0\\n10\\n5\\n20\\n0\\n0\\nVERTEX\\n8\\n0\\n10\\n5\\n20\\n5\\n0\\nSEQEND\\n"
                                 "0\\nPOLYLINE\\n8\\n0\\n66\\n1\\n70\\n1\\n0\\nVERTEX\\n8\\n0\\n10\\n9\\n20\\n9\\n"
                                 "0\\nVERTEX\\n8\\n0\\n10\\n12\\n20\\n9\\n0\\nVERTEX\\n8\\n0\\n10\\n12\\n20\\n12\\n0\\nSEQEND\\n";
    const auto writes = [&](const char* text) { return FakeTracer((std::string("printf '") + text + "' > \"$8\"").c_str()); };
    struct TCase {
        const char* Name;
        QString Tracer;
        TOutcome Outcome;
        int Added;
    };
    const TCase cases[] = {
        {"whole result", writes((std::string(twoLines) + "0\\nENDSEC\\n0\\nEOF\\n").c_str()), TOutcome::Imported, 2},
        {"missing", Temp.filePath(QStringLiteral("no-such-tracer")), TOutcome::TracerMissing, 0},
        {"writes nothing", FakeTracer("exit 0"), TOutcome::ResultUnreadable, 0},
        // A failure code counts even when a result is there.
        {"fails after writing", FakeTracer("printf '0\\nSECTION\\n2\\nENTITIES\\n0\\nENDSEC\\n0\\nEOF\\n' > \"$8\"; "
                                           "echo 'kovra: bad picture' >&2; exit 3"),
         TOutcome::TracerFailed, 0},
        {"crashes", FakeTracer("kill -SEGV $$"), TOutcome::TracerCrashed, 0},
        // Cut off between the two outlines: the first alone must not pass for the result.
        {"result cut between entities", writes(twoLines), TOutcome::ResultCut, 0},
        {"result cut inside an entity", writes("0\\nSECTION\\n2\\nENTITIES\\n0\\nPOLYLINE\\n8\\n0\\n66\\n1\\n0\\nVER"),
         TOutcome::ResultCut, 0},
        {"result not a drawing", writes("123456789\\n0\\nEOF\\n"), TOutcome::ResultUnreadable, 0},
        // A result that cannot be read at all is a failure, not an exception.
        {"result a folder", FakeTracer("mkdir \"$8\""), TOutcome::ResultUnreadable, 0},
    };
    for (const TCase& c : cases) {
        Drawing.DeleteAllObjects();
        TTraceRunResult result;
        EXPECT_NO_THROW(result = Trace(square, {}, {}, c.Tracer)) << c.Name;
        EXPECT_EQ(result.Outcome, c.Outcome) << c.Name << ": " << result.Detail.toStdString();
        EXPECT_EQ(result.Added, c.Added) << c.Name;
        EXPECT_EQ(Drawing.ObjectsCount(), c.Added) << c.Name;
    }
    EXPECT_EQ(Trace(square, {}, {}, FakeTracer("echo 'kovra: bad picture' >&2; exit 3")).Detail,
              QStringLiteral("kovra: bad picture"));
    ExpectTempEmpty();
}

TEST_F(TracerRunTest, EscOrStopEndsATracerThatHangsWhileTheLoopRuns)
{
    const QImage square = Picture(20, 20, [](int x, int) { return x > 5 && x < 15; });
    const QString hanging = FakeTracer("exec sleep 60");
    Runner.BeatMilliseconds = 10;

    // The stop comes from inside the wait, once the beat has come round past
    // 100: the loop kept running all along, however loaded the machine.
    QObject stop;
    Runner.StopControls = {&stop};
    std::vector<int> progress;
    Runner.OnProgress = [&](int p) {
        progress.push_back(p);
        if (progress.size() == 12) {
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(&stop, &press);
        }
    };
    QElapsedTimer clock;
    clock.start();
    TTraceRunResult result = Trace(square, {}, {}, hanging);
    EXPECT_EQ(result.Outcome, TTraceRunResult::TOutcome::Cancelled);
    EXPECT_LT(clock.elapsed(), 30000);
    ASSERT_GE(progress.size(), 12u);
    EXPECT_EQ(progress[0], 10);
    EXPECT_EQ(progress[9], 100);
    EXPECT_EQ(progress[10], 0);

    // Other keys and clicks wait; Esc stops.
    QObject other;
    progress.clear();
    Runner.OnProgress = [&](int p) {
        progress.push_back(p);
        if (progress.size() == 3) {
            QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QCoreApplication::sendEvent(&other, &a);
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(&other, &press);
        }
        if (progress.size() == 5) {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(&other, &esc);
        }
    };
    clock.restart();
    result = Trace(square, {}, {}, hanging);
    EXPECT_EQ(result.Outcome, TTraceRunResult::TOutcome::Cancelled);
    EXPECT_LT(clock.elapsed(), 30000);
    EXPECT_GE(progress.size(), 5u);
    EXPECT_EQ(Drawing.ObjectsCount(), 0);
}

// Shortest distance from p to any segment of lines.
double DistanceTo(const TPoint2D& p, const std::vector<TLine>& lines)
{
    double best = 1e30;
    for (const TLine& line : lines)
        for (std::size_t i = 1; i < line.Points.size(); ++i) {
            const TPoint2D a = line.Points[i - 1], b = line.Points[i];
            const double dx = b.X - a.X, dy = b.Y - a.Y, length2 = dx * dx + dy * dy;
            const double t = length2 > 0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / length2, 0.0, 1.0) : 0.0;
            best = std::min(best, std::hypot(p.X - a.X - t * dx, p.Y - a.Y - t * dy));
        }
    return best;
}

double FarthestFrom(const std::vector<TLine>& from, const std::vector<TLine>& to)
{
    double farthest = 0.0;
    for (const TLine& line : from)
        for (const TPoint2D& p : line.Points)
            farthest = std::max(farthest, DistanceTo(p, to));
    return farthest;
}

TEST_F(TracerRunTest, OutlinesMatchThePotraceProgramWithinOnePixel)
{
    const QString potrace = QStringLiteral("/usr/bin/potrace");
    if (!QFile::exists(potrace))
        GTEST_FAIL() << "the potrace program is missing (tools/install-deps.sh installs it)";
    // Text, round and slanted shapes, and specks that the filter drops.
    QImage colour(320, 200, QImage::Format_RGB32);
    colour.fill(Qt::white);
    {
        QPainter painter(&colour);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawEllipse(QPointF(60, 60), 40, 25);
        painter.translate(200, 60);
        painter.rotate(30);
        painter.drawRect(-50, -15, 100, 30);
        painter.resetTransform();
        painter.setPen(Qt::black);
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 48, QFont::Bold));
        painter.drawText(QRect(10, 100, 300, 90), Qt::AlignCenter, QStringLiteral("Kag&8"));
        for (int i = 0; i < 40; ++i)
            colour.setPixel((i * 37) % 320, (i * 53) % 200, qRgb(0, 0, 0));
    }
    QImage mono = MakeMonoRaster(colour.size());
    for (int y = 0; y < colour.height(); ++y)
        for (int x = 0; x < colour.width(); ++x)
            mono.scanLine(y)[x] = qGray(colour.pixel(x, y)) < 128 ? 0 : 255;
    const QString bitmap = Temp.filePath(QStringLiteral("picture.bmp"));
    ASSERT_TRUE(WriteMonoBmp(mono, bitmap));

    // The same parameters in both programs' terms: turdsize 4, alphamax 0.8, opttolerance 0.2.
    const QString ours = Temp.filePath(QStringLiteral("kovra.dxf"));
    const QString theirs = Temp.filePath(QStringLiteral("potrace.dxf"));
    ASSERT_EQ(QProcess::execute(kTracer, TracerArguments({}, ours, bitmap)), 0);
    ASSERT_EQ(QProcess::execute(potrace, {"-b", "dxf", "-t", "4", "-a", "0.8", "-O", "0.2", "-o", theirs, bitmap}), 0);
    TCADCmp2D theirDrawing;
    ASSERT_GT(ImportTraceResult(ours, {}, Drawing).Added, 0);
    ASSERT_GT(ImportTraceResult(theirs, {}, theirDrawing).Added, 0);
    const std::vector<TLine> ourLines = Lines(Drawing), theirLines = Lines(theirDrawing);
    EXPECT_EQ(ourLines.size(), theirLines.size());
    EXPECT_LE(FarthestFrom(ourLines, theirLines), 1.0);
    EXPECT_LE(FarthestFrom(theirLines, ourLines), 1.0);
}

} // namespace
