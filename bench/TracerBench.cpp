// Tracing a 3000 x 3000 scanned-style picture (lines of hand-drawn letters,
// shapes and rings, with the ragged edges and specks of a noisy scan): our
// tracer beside the potrace program, both writing DXF with the same
// parameters, each the best of five runs. The ratio is ours over potrace's
// time; a table of them is printed at the end.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>

#include "import/MonoRaster.h"
#include "import/TracerRun.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSide = 3000;

QImage ScannedPicture()
{
    QImage grey(kSide, kSide, QImage::Format_Grayscale8);
    grey.fill(255);
    std::mt19937 random(20261209);
    const auto uniform = [&](double from, double to) { return std::uniform_real_distribution<double>(from, to)(random); };
    {
        QPainter painter(&grey);
        painter.setRenderHint(QPainter::Antialiasing);
        // Lines of letters: each a few strokes of a thick pen.
        for (int line = 0; line < 30; ++line) {
            const double baseline = 120 + line * 60;
            painter.setPen(QPen(Qt::black, uniform(4, 7), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            for (double x = 80; x < 1700; x += uniform(30, 45)) {
                QPainterPath letter;
                letter.moveTo(x + uniform(0, 25), baseline - uniform(0, 40));
                for (int stroke = 0; stroke < 3; ++stroke)
                    letter.quadTo(x + uniform(0, 25), baseline - uniform(0, 40), x + uniform(0, 25), baseline - uniform(0, 40));
                painter.drawPath(letter);
            }
        }
        // Shapes and rings on the right and below.
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        for (int i = 0; i < 60; ++i) {
            const QPointF centre(uniform(1800, 2900), uniform(100, 2900));
            painter.save();
            painter.translate(centre);
            painter.rotate(uniform(0, 90));
            if (i % 3 == 0)
                painter.drawRect(QRectF(-uniform(20, 90), -uniform(20, 90), uniform(40, 180), uniform(40, 180)));
            else if (i % 3 == 1)
                painter.drawEllipse(QPointF(), uniform(20, 100), uniform(20, 100));
            else {
                QPainterPath ring;
                const double r = uniform(40, 100);
                ring.addEllipse(QPointF(), r, r);
                ring.addEllipse(QPointF(), r * 0.6, r * 0.6);
                painter.drawPath(ring);
            }
            painter.restore();
        }
        for (int i = 0; i < 40; ++i) {
            painter.setPen(QPen(Qt::black, uniform(3, 12)));
            painter.drawLine(QPointF(uniform(80, 1700), uniform(1950, 2950)), QPointF(uniform(80, 1700), uniform(1950, 2950)));
        }
    }
    // Scanner noise, then the threshold the vectorize pages would apply.
    QImage mono = MakeMonoRaster(grey.size());
    std::normal_distribution<double> noise(0.0, 35.0);
    for (int y = 0; y < kSide; ++y) {
        const uchar* in = grey.constScanLine(y);
        uchar* out = mono.scanLine(y);
        for (int x = 0; x < kSide; ++x)
            out[x] = in[x] + noise(random) < 128.0 ? 0 : 255;
    }
    return mono;
}

double BestSeconds(const std::string& command)
{
    double best = 1e30;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        if (std::system(command.c_str()) != 0)
            return -1.0;
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

struct TRow {
    std::string Name;
    double Ours = 0.0;
    double Potrace = 0.0;
};

class TRatioTable {
public:
    ~TRatioTable()
    {
        if (Rows.empty())
            return;
        std::printf("\n%-22s %12s %12s %10s\n", "tracing 3000 x 3000", "kovra s", "potrace s", "ratio");
        for (const TRow& row : Rows)
            std::printf("%-22s %12.3f %12.3f %10.3f\n", row.Name.c_str(), row.Ours, row.Potrace, row.Ours / row.Potrace);
    }
    std::vector<TRow> Rows;
};

TRatioTable Table;

void BM_TraceScannedPicture(benchmark::State& state)
{
    QTemporaryDir temp;
    const QString bitmap = temp.filePath(QStringLiteral("csq.bmp"));
    if (!WriteMonoBmp(ScannedPicture(), bitmap)) {
        state.SkipWithError("the picture cannot be written");
        return;
    }
    const std::string quoted = "'" + bitmap.toStdString() + "'";
    const std::string ours = std::string("'" KESTRO_PROGRAM_DIR "/kovra' -et 2.000 -fi 4 -ct 90 -outfile '") +
                             temp.filePath(QStringLiteral("kovra.dxf")).toStdString() + "' " + quoted;
    const std::string theirs = "potrace -b dxf -t 4 -a 0.8 -O 0.2 -o '" +
                               temp.filePath(QStringLiteral("potrace.dxf")).toStdString() + "' " + quoted;
    TRow row{"outlines"};
    for (auto _ : state) {
        row.Ours = BestSeconds(ours);
        row.Potrace = BestSeconds(theirs);
        if (row.Ours < 0 || row.Potrace < 0) {
            state.SkipWithError("a tracer failed (is potrace installed?)");
            return;
        }
        state.SetIterationTime(row.Ours);
    }
    state.counters["kovra_s"] = row.Ours;
    state.counters["potrace_s"] = row.Potrace;
    state.counters["ratio"] = row.Ours / row.Potrace;
    Table.Rows.push_back(row);
}

BENCHMARK(BM_TraceScannedPicture)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
