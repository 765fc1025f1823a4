// An NC program of any bytes, read back line by line as the NC page steps
// through it: parsed, drawn as swept areas and timed, under each dialect and
// arc form the read-back knows. The first byte chooses the post.

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "cam/simulation/NcSimulation.h"

namespace {

// Checks every drawn point: the simulation must never hand out a point it could not compute.
struct TFiniteDrawing final : TNcDrawing {
    static void Check(const std::vector<TVect>& points)
    {
        for (const TVect& p : points)
            fuzz::Require(std::isfinite(p.X) && std::isfinite(p.Y), "a drawn point is not finite");
    }
    void Polyline(const std::vector<TVect>& points, TColor) override { Check(points); }
    void Polygon(const std::vector<TVect>& points, TColor, TColor) override { Check(points); }
    void Disc(TVect centre, double radius, TColor, TColor) override
    {
        Check({centre});
        fuzz::Require(std::isfinite(radius), "a disc radius is not finite");
    }
    void Dot(TVect point, TColor) override { Check({point}); }
};

TPostSettings PostOf(std::uint8_t choice)
{
    TPostSettings post;
    post.Dialect = (choice & 1) != 0 ? DIALECT_HEI : DIALECT_ISO;
    post.IncrementalMode = (choice & 2) != 0;
    post.ArcCenter = 1 + (choice >> 2) % 4;
    if ((choice & 16) != 0) {
        post.FeedRapid = "F9999";
        post.HasFeedRapid = true;
    }
    if ((choice & 32) != 0)
        post.StartComment = ";";
    return post;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const TPostSettings post = PostOf(data[0]);
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    TFiniteDrawing drawing;
    TNcSimulation sim;
    sim.Drawing = &drawing;
    sim.ToolRadius = 1.5f;
    RestartReadBack(sim);
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line(text.substr(start, end - start));
        SimulateNcLine(sim, line, post, (start & 1) != 0 ? TNcReadMode::Scroll : TNcReadMode::Step);
        start = end + 1;
    }
    fuzz::Require(std::isfinite(sim.TotalSeconds()) && sim.TotalSeconds() >= 0.0, "the machining time is not a time");
    fuzz::Require(sim.ParsedCharacters <= 64 * (text.size() + 1) + 64, "reading took more than linear work");
    return 0;
}
