// Tracing scanned-style pictures (lines of hand-drawn letters, shapes and
// rings, with the ragged edges and specks of a noisy scan) of 0.25 to 9
// megapixels: our tracer's outlines beside the potrace program, both writing
// DXF with the same parameters; and our centre lines beside our outlines of
// the same picture, on the 9-megapixel page and on an all-black picture of
// the same size. Each time is the best of five runs of the program, in
// processor seconds; the ratios are printed in tables at the end.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>

#include "import/MonoRaster.h"
#include "import/TracerRun.h"

namespace {

constexpr int kSide = 3000;

// The picture is drawn at 3000 x 3000 and scaled to side.
QImage ScannedPicture(int side)
{
    QImage grey(side, side, QImage::Format_Grayscale8);
    grey.fill(255);
    std::mt19937 random(20261209);
    const auto uniform = [&](double from, double to) { return std::uniform_real_distribution<double>(from, to)(random); };
    {
        QPainter painter(&grey);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(side / static_cast<double>(kSide), side / static_cast<double>(kSide));
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
    for (int y = 0; y < side; ++y) {
        const uchar* in = grey.constScanLine(y);
        uchar* out = mono.scanLine(y);
        for (int x = 0; x < side; ++x)
            out[x] = in[x] + noise(random) < 128.0 ? 0 : 255;
    }
    return mono;
}

QImage BlackPicture(int side)
{
    QImage mono = MakeMonoRaster(QSize(side, side));
    mono.fill(0);
    return mono;
}

// The processor time (user and system) of the children that have ended.
double ChildrenSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The best of five runs, in processor time: both programs run on one
// thread, and the machine may be shared, which would stretch wall time.
double BestSeconds(const std::string& command)
{
    double best = 1e30;
    for (int run = 0; run < 5; ++run) {
        const double start = ChildrenSeconds();
        if (std::system(command.c_str()) != 0)
            return -1.0;
        best = std::min(best, ChildrenSeconds() - start);
    }
    return best;
}

std::string Quoted(const QString& path)
{
    return "'" + path.toStdString() + "'";
}

std::string KovraCommand(const QString& bitmap, const QString& result, bool centreLine)
{
    return std::string("'" KESTRO_PROGRAM_DIR "/kovra' -et 2.000 -fi 4 -ct 90 -outfile ") + Quoted(result) +
           (centreLine ? " -cline " : " ") + Quoted(bitmap);
}

std::string PotraceCommand(const QString& bitmap, const QString& result)
{
    return "potrace -b dxf -t 4 -a 0.8 -O 0.2 -o " + Quoted(result) + " " + Quoted(bitmap);
}

struct TRow {
    std::string Name;
    double Ours = 0.0;
    double Peer = 0.0;
};

class TRatioTable {
public:
    TRatioTable(const char* title, const char* ours, const char* peer) : Title(title), Ours(ours), Peer(peer) {}
    ~TRatioTable()
    {
        if (Rows.empty())
            return;
        std::printf("\n%-26s %14s %14s %8s\n", Title, Ours, Peer, "ratio");
        for (const TRow& row : Rows)
            std::printf("%-26s %14.3f %14.3f %8.2f\n", row.Name.c_str(), row.Ours, row.Peer, row.Ours / row.Peer);
    }
    std::vector<TRow> Rows;

private:
    const char* Title;
    const char* Ours;
    const char* Peer;
};

TRatioTable OutlineTable("outlines", "kovra s", "potrace s");
TRatioTable CentreLineTable("centre lines", "-cline s", "outlines s");

// Times ours and the peer's command on the picture and adds the row to table.
void TimeBeside(benchmark::State& state, const QImage& picture, const std::string& name, TRatioTable& table,
                bool centreLine)
{
    QTemporaryDir temp;
    const QString bitmap = temp.filePath(QStringLiteral("csq.bmp"));
    if (!WriteMonoBmp(picture, bitmap)) {
        state.SkipWithError("the picture cannot be written");
        return;
    }
    const QString ourResult = temp.filePath(QStringLiteral("ours.dxf")), peerResult = temp.filePath(QStringLiteral("peer.dxf"));
    const std::string ours = KovraCommand(bitmap, ourResult, centreLine);
    const std::string peer = centreLine ? KovraCommand(bitmap, peerResult, false) : PotraceCommand(bitmap, peerResult);
    TRow row{name};
    for (auto _ : state) {
        row.Ours = BestSeconds(ours);
        row.Peer = BestSeconds(peer);
        if (row.Ours < 0 || row.Peer < 0) {
            state.SkipWithError("a tracer failed (is potrace installed?)");
            return;
        }
        state.SetIterationTime(row.Ours);
    }
    state.counters["ours_s"] = row.Ours;
    state.counters["peer_s"] = row.Peer;
    state.counters["ratio"] = row.Ours / row.Peer;
    table.Rows.push_back(row);
}

// Outlines of the scanned picture with the given side, beside potrace.
void BM_OutlinesBesidePotrace(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    char name[64];
    std::snprintf(name, sizeof name, "%d x %d (%.2f MP)", side, side, side * static_cast<double>(side) / 1e6);
    TimeBeside(state, ScannedPicture(side), name, OutlineTable, false);
}

// Centre lines beside outlines: the 9-megapixel page (0) and the all-black picture (1).
void BM_CentreLinesBesideOutlines(benchmark::State& state)
{
    const bool black = state.range(0) != 0;
    TimeBeside(state, black ? BlackPicture(kSide) : ScannedPicture(kSide), black ? "all black 3000 x 3000" : "page 3000 x 3000",
               CentreLineTable, true);
}

BENCHMARK(BM_OutlinesBesidePotrace)->Arg(500)->Arg(1000)->Arg(2000)->Arg(kSide)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CentreLinesBesideOutlines)->Arg(0)->Arg(1)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
