// How faithful the tracer is on pictures drawn by an outside program
// (ImageMagick, with fonts rendered at 300 dpi): the outlines must miss no
// more pixels than the potrace program's at the same settings, and the
// centre lines must give every piece of ink above the speck size a line or
// a point. Both results are read here by a small DXF reader of the test's
// own, which draws potrace's arcs as arcs, so that neither side is judged
// through the program's importer.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QTemporaryDir>

#include "import/MonoRaster.h"
#include "import/TracerRun.h"

namespace {

const QString kTracer = QStringLiteral(KESTRO_PROGRAM_DIR "/kovra");
const QString kPotrace = QStringLiteral("/usr/bin/potrace");
// The speck size of the default parameters: pieces up to 4 pixels are dropped.
constexpr int kSpeckSize = 4;

struct TVertex {
    double X = 0.0;
    double Y = 0.0;
    double Bulge = 0.0;
};

// A POLYLINE of the result, or a POINT (one vertex, not closed).
struct TEntity {
    std::vector<TVertex> Vertices;
    bool Closed = false;
};

std::vector<TEntity> ReadDxfEntities(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = file.readAll().split('\n');
    std::vector<TEntity> entities;
    bool inPolyline = false;
    for (qsizetype i = 0; i + 1 < lines.size(); i += 2) {
        const int code = lines[i].trimmed().toInt();
        const QByteArray value = lines[i + 1].trimmed();
        if (code == 0) {
            if (value == "POLYLINE" || value == "POINT") {
                entities.emplace_back();
                inPolyline = value == "POLYLINE";
                if (!inPolyline)
                    entities.back().Vertices.emplace_back();
            } else if (value == "VERTEX" && inPolyline) {
                entities.back().Vertices.emplace_back();
            } else if (value != "VERTEX") {
                inPolyline = false;
            }
            continue;
        }
        if (entities.empty())
            continue;
        TEntity& entity = entities.back();
        if (code == 70 && entity.Vertices.empty())
            entity.Closed = (value.toInt() & 1) != 0;
        if (entity.Vertices.empty())
            continue;
        if (code == 10)
            entity.Vertices.back().X = value.toDouble();
        else if (code == 20)
            entity.Vertices.back().Y = value.toDouble();
        else if (code == 42)
            entity.Vertices.back().Bulge = value.toDouble();
    }
    return entities;
}

// The entity's outline as points in the tracer's frame, arcs cut fine enough
// (a thousandth of a pixel) to stand for the arcs themselves.
std::vector<QPointF> Outline(const TEntity& entity)
{
    std::vector<QPointF> points;
    const std::size_t n = entity.Vertices.size();
    const std::size_t segments = entity.Closed ? n : n - 1;
    if (n == 0)
        return points;
    points.emplace_back(entity.Vertices[0].X, entity.Vertices[0].Y);
    for (std::size_t i = 0; i < segments; ++i) {
        const TVertex& a = entity.Vertices[i];
        const TVertex& b = entity.Vertices[(i + 1) % n];
        if (a.Bulge == 0.0) {
            points.emplace_back(b.X, b.Y);
            continue;
        }
        const double k = (1.0 - a.Bulge * a.Bulge) / (4.0 * a.Bulge);
        const double cx = (a.X + b.X) / 2.0 - k * (b.Y - a.Y), cy = (a.Y + b.Y) / 2.0 + k * (b.X - a.X);
        const double radius = std::hypot(a.X - cx, a.Y - cy), start = std::atan2(a.Y - cy, a.X - cx);
        const double sweep = 4.0 * std::atan(a.Bulge);
        const int steps = std::max(4, static_cast<int>(std::ceil(std::abs(sweep) * std::sqrt(radius / 0.008))));
        for (int s = 1; s <= steps; ++s) {
            const double angle = start + sweep * s / steps;
            points.emplace_back(cx + radius * std::cos(angle), cy + radius * std::sin(angle));
        }
    }
    return points;
}

bool Ink(const QImage& mono, int x, int row)
{
    return mono.constScanLine(row)[x] == 0;
}

// Pixels where the filled outlines (even-odd) and the picture disagree, as a
// share of the picture's ink.
double PixelError(const QImage& mono, const std::vector<TEntity>& entities)
{
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    const double height = mono.height();
    for (const TEntity& entity : entities) {
        if (!entity.Closed)
            continue;
        const std::vector<QPointF> points = Outline(entity);
        QPolygonF polygon;
        for (const QPointF& p : points)
            polygon << QPointF(p.x(), height - p.y());
        path.addPolygon(polygon);
        path.closeSubpath();
    }
    QImage drawn(mono.size(), QImage::Format_Grayscale8);
    drawn.fill(255);
    {
        QPainter painter(&drawn);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawPath(path);
    }
    long wrong = 0, ink = 0;
    for (int row = 0; row < mono.height(); ++row)
        for (int x = 0; x < mono.width(); ++x) {
            ink += Ink(mono, x, row);
            wrong += Ink(mono, x, row) != (drawn.constScanLine(row)[x] < 128);
        }
    return ink > 0 ? static_cast<double>(wrong) / static_cast<double>(ink) : 0.0;
}

// The 8-connected pieces of ink: a piece number per pixel (-1 for none) and each piece's size.
struct TPieces {
    std::vector<int> Number;
    std::vector<int> Size;
};

TPieces Pieces(const QImage& mono)
{
    const int width = mono.width(), height = mono.height();
    TPieces pieces{std::vector<int>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), -1), {}};
    std::vector<std::pair<int, int>> pending;
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x) {
            if (!Ink(mono, x, row) || pieces.Number[static_cast<std::size_t>(row) * width + x] >= 0)
                continue;
            const int number = static_cast<int>(pieces.Size.size());
            pieces.Size.push_back(0);
            pending = {{x, row}};
            pieces.Number[static_cast<std::size_t>(row) * width + x] = number;
            while (!pending.empty()) {
                const auto [px, pr] = pending.back();
                pending.pop_back();
                ++pieces.Size.back();
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = px + dx, nr = pr + dy;
                        if (nx < 0 || nr < 0 || nx >= width || nr >= height || !Ink(mono, nx, nr))
                            continue;
                        int& at = pieces.Number[static_cast<std::size_t>(nr) * width + nx];
                        if (at < 0) {
                            at = number;
                            pending.push_back({nx, nr});
                        }
                    }
            }
        }
    return pieces;
}

// Pieces above the speck size that no centre line or point touches.
int UncoveredPieces(const QImage& mono, const std::vector<TEntity>& entities, int* bigPieces)
{
    const TPieces pieces = Pieces(mono);
    std::vector<bool> covered(pieces.Size.size(), false);
    const auto touch = [&](double x, double y) {
        const int px = static_cast<int>(std::floor(x)), row = mono.height() - 1 - static_cast<int>(std::floor(y));
        if (px >= 0 && row >= 0 && px < mono.width() && row < mono.height())
            if (const int number = pieces.Number[static_cast<std::size_t>(row) * mono.width() + px]; number >= 0)
                covered[static_cast<std::size_t>(number)] = true;
    };
    for (const TEntity& entity : entities) {
        const std::vector<QPointF> points = Outline(entity);
        touch(points[0].x(), points[0].y());
        for (std::size_t i = 1; i < points.size(); ++i) {
            const QPointF a = points[i - 1], b = points[i];
            const int steps = static_cast<int>(std::ceil(std::hypot(b.x() - a.x(), b.y() - a.y()) * 4.0)) + 1;
            for (int s = 1; s <= steps; ++s)
                touch(a.x() + (b.x() - a.x()) * s / steps, a.y() + (b.y() - a.y()) * s / steps);
        }
    }
    int uncovered = 0;
    *bigPieces = 0;
    for (std::size_t i = 0; i < pieces.Size.size(); ++i)
        if (pieces.Size[i] > kSpeckSize) {
            ++*bigPieces;
            uncovered += !covered[i];
        }
    return uncovered;
}

struct TPictureCase {
    const char* Name;
    // ImageMagick's arguments up to the output file.
    QStringList Draw;
};

const QString kPage = QStringLiteral(
    "Kestro turns pictures into NC programs: it is quick, isn't it?\n"
    "i-dots, full stops... j; k: l! 0.5 mm, 1.25 in.\n"
    "Pocket (3 x 4) = 12; a_b = c/d; \"quoted\" & 'single'.");

std::vector<TPictureCase> PictureCases()
{
    return {
        {"sans page, 300 dpi",
         {"-density", "300", "-font", "DejaVu-Sans", "-pointsize", "9", QStringLiteral("label:") + kPage}},
        {"serif bold page, 300 dpi",
         {"-density", "300", "-font", "DejaVu-Serif-Bold", "-pointsize", "10", QStringLiteral("label:") + kPage}},
        {"inverted page, 300 dpi",
         {"-density", "300", "-font", "DejaVu-Sans", "-pointsize", "9", QStringLiteral("label:") + kPage, "-negate"}},
        {"dashed diagram",
         {"-size", "700x500", "xc:white", "-fill", "none", "-stroke", "black", "-strokewidth", "3",
          "-draw", "stroke-dasharray 12 8 line 20,20 680,40", "-draw", "stroke-dasharray 6 6 line 20,100 680,380",
          "-draw", "stroke-dasharray 10 10 circle 350,280 350,440", "-strokewidth", "2",
          "-draw", "stroke-dasharray 5 7 line 20,480 520,160", "-draw", "stroke-dasharray 4 9 line 600,480 690,60"}},
        {"shapes",
         {"-size", "600x450", "xc:white", "-fill", "black", "-draw", "circle 150,150 150,260",
          "-draw", "rotate 20 rectangle 330,-40 560,120", "-draw", "ellipse 380,340 180,70 0,360",
          "-draw", "roundrectangle 40,320 200,430 30,30", "-fill", "white", "-draw", "circle 150,150 150,200"}},
    };
}

// The picture drawn by ImageMagick, thresholded as the vectorize pages do.
QImage DrawPicture(const TPictureCase& picture, const QString& folder)
{
    const QString file = folder + QStringLiteral("/drawn.png");
    QProcess convert;
    convert.start(QStringLiteral("convert"), QStringList(picture.Draw) << QStringLiteral("-colorspace")
                                                                     << QStringLiteral("Gray") << file);
    if (!convert.waitForFinished(60000) || convert.exitCode() != 0)
        return {};
    const QImage grey = QImage(file).convertToFormat(QImage::Format_Grayscale8);
    if (grey.isNull())
        return {};
    QImage mono = MakeMonoRaster(grey.size());
    for (int row = 0; row < grey.height(); ++row)
        for (int x = 0; x < grey.width(); ++x)
            mono.scanLine(row)[x] = grey.constScanLine(row)[x] < 128 ? 0 : 255;
    return mono;
}

TEST(TracerFaithfulness, OutlinesMissNoMoreThanPotraceAndCentreLinesCoverEveryPiece)
{
    ASSERT_TRUE(QFile::exists(kPotrace)) << "the potrace program is missing (tools/install-deps.sh installs it)";
    QTemporaryDir temp;
    std::printf("%-26s %9s %12s %12s %10s\n", "picture", "pieces", "kovra error", "potrace err", "uncovered");
    for (const TPictureCase& picture : PictureCases()) {
        SCOPED_TRACE(picture.Name);
        const QImage mono = DrawPicture(picture, temp.path());
        ASSERT_FALSE(mono.isNull()) << "ImageMagick's convert could not draw the picture";
        const QString bitmap = temp.filePath(QStringLiteral("csq.bmp"));
        ASSERT_TRUE(WriteMonoBmp(mono, bitmap));

        // The same settings in both programs' terms: speck size 4, alphamax 0.8, opttolerance 0.2.
        const QString ours = temp.filePath(QStringLiteral("kovra.dxf")), theirs = temp.filePath(QStringLiteral("potrace.dxf"));
        ASSERT_EQ(QProcess::execute(kTracer, TracerArguments({}, ours, bitmap)), 0);
        ASSERT_EQ(QProcess::execute(kPotrace, {"-b", "dxf", "-t", "4", "-a", "0.8", "-O", "0.2", "-o", theirs, bitmap}), 0);
        const double ourError = PixelError(mono, ReadDxfEntities(ours));
        const double theirError = PixelError(mono, ReadDxfEntities(theirs));
        EXPECT_LE(ourError, theirError);

        TTracerParameters centreLine;
        centreLine.CenterLine = true;
        const QString lines = temp.filePath(QStringLiteral("centre.dxf"));
        ASSERT_EQ(QProcess::execute(kTracer, TracerArguments(centreLine, lines, bitmap)), 0);
        int bigPieces = 0;
        const int uncovered = UncoveredPieces(mono, ReadDxfEntities(lines), &bigPieces);
        EXPECT_EQ(uncovered, 0);
        std::printf("%-26s %9d %11.3f%% %11.3f%% %10d\n", picture.Name, bigPieces, 100 * ourError, 100 * theirError,
                    uncovered);
    }
}

} // namespace
