// Outlines by libpotrace: its curves are cut into short lines, since the
// importer takes polylines and the machine follows lines and arcs.

#include <algorithm>
#include <cmath>
#include <memory>

#include <potracelib.h>

#include "Trace.h"

namespace {

static_assert(sizeof(potrace_word) == sizeof(std::uint64_t), "the bitmap's words are potrace's words");

struct TStateFree {
    void operator()(potrace_state_t* state) const { potrace_state_free(state); }
};
struct TParamFree {
    void operator()(potrace_param_t* param) const { potrace_param_free(param); }
};

TTracePoint Point(const potrace_dpoint_t& p)
{
    return {p.x, p.y};
}

// A closed outline being cut into chords. Each chord cuts across the curve
// on the inner side of its bend; Bend[k] is how far (as a vector from the
// chord's middle to the curve's) for the chord that ends at Points[k].
struct TChordedOutline {
    std::vector<TTracePoint> Points;
    std::vector<TTracePoint> Bend;
    std::vector<bool> Corner;

    void Add(TTracePoint p, TTracePoint bend, bool corner)
    {
        Points.push_back(p);
        Bend.push_back(bend);
        Corner.push_back(corner);
    }

    // Chords through points on the curve all lie inside its bends, which
    // shrinks every rounded shape. Each point other than a corner moves out
    // by the mean bend of its two chords, so that a chord touches the curve
    // at its middle instead of cutting across: the outline then runs round
    // the curve, no farther from it than before. (Moving only far enough to
    // keep the curve's area still misses more pixels than potrace does,
    // since its curves themselves run a little inside the ink.)
    TTraceLine Straddled() const
    {
        TTraceLine line;
        line.Closed = true;
        const std::size_t n = Points.size();
        line.Points.reserve(n);
        for (std::size_t k = 0; k < n; ++k) {
            const TTracePoint& after = Bend[(k + 1) % n];
            const double shift = Corner[k] ? 0.0 : 0.5;
            line.Points.push_back({Points[k].X + shift * (Bend[k].X + after.X), Points[k].Y + shift * (Bend[k].Y + after.Y)});
        }
        return line;
    }
};

TTracePoint Bezier(TTracePoint p0, TTracePoint p1, TTracePoint p2, TTracePoint p3, double t)
{
    const double u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return {a * p0.X + b * p1.X + c * p2.X + d * p3.X, a * p0.Y + b * p1.Y + c * p2.Y + d * p3.Y};
}

// A cubic Bézier cut into n equal steps of t strays from its chords by at most
// 3/4 of its larger second difference over n^2; n keeps that within tolerance.
void AddBezier(TChordedOutline& out, TTracePoint p0, TTracePoint p1, TTracePoint p2, TTracePoint p3, double tolerance)
{
    const double ax = p0.X - 2 * p1.X + p2.X, ay = p0.Y - 2 * p1.Y + p2.Y;
    const double bx = p1.X - 2 * p2.X + p3.X, by = p1.Y - 2 * p2.Y + p3.Y;
    const double bend = std::sqrt(std::max(ax * ax + ay * ay, bx * bx + by * by));
    const int n = std::clamp(static_cast<int>(std::ceil(std::sqrt(0.75 * bend / tolerance))), 1, 1000);
    TTracePoint from = p0;
    for (int i = 1; i <= n; ++i) {
        const TTracePoint to = Bezier(p0, p1, p2, p3, static_cast<double>(i) / n);
        const TTracePoint middle = Bezier(p0, p1, p2, p3, (i - 0.5) / n);
        out.Add(to, {middle.X - (from.X + to.X) / 2, middle.Y - (from.Y + to.Y) / 2}, false);
        from = to;
    }
}

} // namespace

std::vector<TTraceLine> TraceOutlines(const TInkBitmap& bitmap, const TTraceOptions& options)
{
    std::unique_ptr<potrace_param_t, TParamFree> param(potrace_param_default());
    if (!param)
        throw TTraceError(kExitTraceFailed, "out of memory");
    param->turdsize = std::max(0, options.FilterIterations);
    // 90 degrees gives potrace's usual 0.8 less a little; 135 and over keep every corner.
    param->alphamax = std::clamp((4.0 / 3.0) * (135.0 - options.CornerThreshold) / 75.0, 0.0, 4.0 / 3.0);
    param->opticurve = 1;
    param->opttolerance = options.ErrorThreshold / 10.0;
    const double flatness = std::max(options.ErrorThreshold / 20.0, 0.001);

    potrace_bitmap_t input{bitmap.Width, bitmap.Height, bitmap.WordsPerRow,
                           reinterpret_cast<potrace_word*>(const_cast<std::uint64_t*>(bitmap.Words.data()))};
    std::unique_ptr<potrace_state_t, TStateFree> state(potrace_trace(param.get(), &input));
    if (!state || state->status != POTRACE_STATUS_OK)
        throw TTraceError(kExitTraceFailed, "tracing failed (out of memory?)");

    std::vector<TTraceLine> lines;
    for (const potrace_path_t* path = state->plist; path; path = path->next) {
        const potrace_curve_t& curve = path->curve;
        if (curve.n <= 0)
            continue;
        TChordedOutline outline;
        TTracePoint at = Point(curve.c[curve.n - 1][2]);
        outline.Add(at, {}, false);
        for (int i = 0; i < curve.n; ++i) {
            const potrace_dpoint_t* c = curve.c[i];
            if (curve.tag[i] == POTRACE_CORNER) {
                outline.Add(Point(c[1]), {}, true);
                outline.Add(Point(c[2]), {}, false);
            } else {
                AddBezier(outline, at, Point(c[0]), Point(c[1]), Point(c[2]), flatness);
            }
            at = Point(c[2]);
        }
        // The last point repeats the first, which takes over the bend of its
        // chord; a closed polyline closes itself.
        outline.Bend.front() = outline.Bend.back();
        outline.Corner.front() = outline.Corner.back();
        outline.Points.pop_back();
        outline.Bend.pop_back();
        outline.Corner.pop_back();
        lines.push_back(outline.Straddled());
    }
    return lines;
}
