#include "edit/geometry/BreakGeometry.h"

#include <algorithm>

#include "cad/geometry/VectorHelpers.h"

namespace {

struct TCutRecord {
    std::size_t Segment;
    float Distance;
    TVect Point;
};

std::vector<std::vector<TVect>> Rebuild(const std::vector<TVect>& run, std::vector<TCutRecord> records)
{
    std::stable_sort(records.begin(), records.end(), [](const TCutRecord& x, const TCutRecord& y) {
        return x.Segment != y.Segment ? x.Segment < y.Segment : x.Distance < y.Distance;
    });
    std::vector<std::vector<TVect>> pieces;
    std::vector<TVect> piece{run.front()};
    // A crossing at a vertex is found on both segments that meet there, and
    // a run may repeat a point: neither makes a zero-length piece or a
    // repeated point.
    const auto cutAt = [&](TVect point) {
        if (EqualPoints(point, piece.back()))
            return;
        piece.push_back(point);
        pieces.push_back(std::move(piece));
        piece = {point};
    };
    bool cutAtStart = false;
    auto next = records.begin();
    for (std::size_t k = 1; k < run.size(); ++k) {
        for (; next != records.end() && next->Segment == k - 1; ++next) {
            if (next->Distance > 0.001f)
                cutAt(next->Point);
            else if (k == 1)
                cutAtStart = true;
        }
        if (!EqualPoints(run[k], piece.back()))
            piece.push_back(run[k]);
    }
    const bool cutAtEnd = piece.size() < 2;
    if (!cutAtEnd)
        pieces.push_back(std::move(piece));
    // A closed run is cut only where something crosses it: unless a crossing
    // lies on its closing vertex, the last piece goes on into the first.
    const bool closed = run.size() > 2 && EqualPoints(run.front(), run.back());
    if (closed && !cutAtStart && !cutAtEnd && pieces.size() > 1) {
        std::vector<TVect>& last = pieces.back();
        last.insert(last.end(), pieces.front().begin() + 1, pieces.front().end());
        pieces.front() = std::move(last);
        pieces.pop_back();
    }
    return pieces;
}

} // namespace

TRunBreak BreakRuns(const std::vector<TVect>& a, const std::vector<TVect>& b)
{
    TRunBreak result;
    if (a.size() < 2 || b.size() < 2)
        return result;
    std::vector<TCutRecord> inA;
    std::vector<TCutRecord> inB;
    for (std::size_t i = 0; i + 1 < a.size(); ++i)
        for (std::size_t j = 0; j + 1 < b.size(); ++j) {
            TVect s;
            if (!SegmentIntersection(a[i], a[i + 1], b[j], b[j + 1], s))
                continue;
            inA.push_back({i, static_cast<float>(PointDistance(s, a[i])), s});
            inB.push_back({j, static_cast<float>(PointDistance(s, b[j])), s});
            result.Cuts.push_back(s);
        }
    if (result.Cuts.empty())
        return result;
    result.PiecesA = Rebuild(a, std::move(inA));
    result.PiecesB = Rebuild(b, std::move(inB));
    return result;
}

std::vector<std::pair<TVect, TVect>> CutSegment(TVect p, TVect q, const std::vector<TVect>& cuts, double minimum)
{
    std::vector<std::pair<TVect, TVect>> pieces;
    TVect from = p;
    for (TVect cut : cuts) {
        if (PointDistance(from, cut) > minimum)
            pieces.emplace_back(from, cut);
        from = cut;
    }
    if (PointDistance(from, q) > minimum)
        pieces.emplace_back(from, q);
    return pieces;
}
