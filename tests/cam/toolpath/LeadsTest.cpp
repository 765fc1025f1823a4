// Leads on the compensation side never bring the tool nearer to the part
// than its radius plus the stock: checked point by point along every element
// of every loop against the exact distance to the outline and its islands.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cam/chains/Chains.h"
#include "cam/toolpath/Toolpaths.h"
#include "support/OffsetReference.h"

namespace {

TChain Frame(double x0, double y0, double x1, double y1)
{
    return ClosedOutline({{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}});
}

TChain Hole(double cx, double cy, double r)
{
    return ClosedOutline({{cx + r, cy, 1}, {cx - r, cy, 1}});
}

struct TLeadCase {
    const char* Name;
    std::vector<TChain> Chains;
    int Side;
    TLead In;
    TLead Out;
    double Radius;
    double Stock;
    bool Reverse = false;
    // Every loop keeps its lead-in at the full size.
    bool FullLeads = false;
};

void PrintTo(const TLeadCase& c, std::ostream* os)
{
    *os << c.Name;
}

const TLeadCase LEAD_CASES[] = {
    {"frame, Right, arc leads", {Frame(0, 0, 10, 10)}, 1, TLead::Arc, TLead::Arc, 2.5, 0.0},
    {"frame, Right, arc leads, stock", {Frame(0, 0, 20, 12)}, 1, TLead::Arc, TLead::Arc, 1.5, 1.0},
    {"frame, Left, arc leads, reversed", {Frame(0, 0, 10, 10)}, -1, TLead::Arc, TLead::Line, 2.5, 0.5, true},
    {"frame, Left, line leads", {Frame(0, 0, 10, 10)}, -1, TLead::Line, TLead::Line, 2.5, 0.0, false, true},
    {"hole, Right, line leads", {Hole(0, 0, 5.5)}, 1, TLead::Line, TLead::Line, 2.5, 0.0},
    {"hole, Right, arc leads", {Hole(0, 0, 6)}, 1, TLead::Arc, TLead::Arc, 2.0, 0.5},
    {"frame around an island, Right", {Frame(0, 0, 40, 30), Frame(8, 4, 30, 26)}, 1, TLead::Arc, TLead::Line, 1.5, 0.5},
    {"large frame keeps its line leads whole", {Frame(0, 0, 100, 60)}, 1, TLead::Line, TLead::Line, 2.5, 0.0, false,
     true},
    // An arc lead arriving along a corner's edge would start beyond the edge before it: left out.
    {"large frame, Right, arc leads", {Frame(0, 0, 100, 60)}, 1, TLead::Arc, TLead::Arc, 2.5, 0.0},
};

class LeadsTest : public testing::TestWithParam<TLeadCase> {};

} // namespace

TEST_P(LeadsTest, KeepTheToolRadiusAndStockFromThePart)
{
    const TLeadCase& c = GetParam();
    TContourJob job;
    job.Side = c.Side;
    job.OffsetRadius = static_cast<float>(c.Radius);
    job.StockXY = c.Stock;
    job.LeadIn = c.In;
    job.LeadOut = c.Out;
    job.Reverse = c.Reverse;
    const double clearance = c.Radius + c.Stock;
    TChain part;
    for (const TChain& chain : c.Chains)
        part.insert(part.end(), chain.begin(), chain.end());

    std::vector<TChain> loops;
    int leftOut = 0;
    ASSERT_EQ(ContourToolpath(c.Chains.front(), job, loops, DefaultProgressSink(), &part, &leftOut), TCamFailure::None);
    ASSERT_FALSE(loops.empty());
    double nearest = 1e300;
    for (const TChain& loop : loops)
        for (const TChainElement& e : loop)
            for (const TVect p : PointsAlong(e, 400))
                nearest = std::min(nearest, DistanceToChain(p, part));
    EXPECT_GE(nearest, clearance - 1e-6);

    // A loop no longer than without leads lost its lead-in, and was counted.
    TContourJob bareJob = job;
    bareJob.LeadIn = TLead::Off;
    std::vector<TChain> bare;
    ASSERT_EQ(ContourToolpath(c.Chains.front(), bareJob, bare), TCamFailure::None);
    ASSERT_EQ(bare.size(), loops.size());
    int withoutLeadIn = 0;
    for (std::size_t k = 0; k < loops.size(); ++k)
        withoutLeadIn += loops[k].size() == bare[k].size() ? 1 : 0;
    EXPECT_GE(leftOut, withoutLeadIn);
    EXPECT_LE(leftOut, static_cast<int>(loops.size()));
    if (c.FullLeads) {
        EXPECT_EQ(leftOut, 0);
        for (const TChain& loop : loops) {
            TChain full(loop.begin() + 1, loop.end() - 1);
            AddLeadInOut(full, job);
            EXPECT_NEAR(ElementLength(loop.front()), ElementLength(full.front()), 1e-9) << "the lead kept its size";
            EXPECT_NEAR(ElementLength(loop.back()), ElementLength(full.back()), 1e-9) << "the lead kept its size";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, LeadsTest, testing::ValuesIn(LEAD_CASES));

// Each loop that lost its lead is counted, so that the status line can name its chain.
TEST(Leads, ALoopThatLostItsLeadIsCounted)
{
    TContourJob job;
    job.Side = 1;
    job.OffsetRadius = 2.5f;
    job.LeadIn = TLead::Arc;
    job.LeadOut = TLead::Off;
    TChain part;
    const std::vector<TChain> chains{Hole(50, 50, 20), Frame(0, 0, 10, 10)};
    for (const TChain& chain : chains)
        part.insert(part.end(), chain.begin(), chain.end());
    int leftOut = 0;
    std::vector<TChain> loops;
    ASSERT_EQ(ContourToolpath(chains[0], job, loops, DefaultProgressSink(), &part, &leftOut), TCamFailure::None);
    EXPECT_EQ(leftOut, 0) << "a round hole has room for its arc";
    ASSERT_EQ(ContourToolpath(chains[1], job, loops, DefaultProgressSink(), &part, &leftOut), TCamFailure::None);
    EXPECT_EQ(leftOut, 1) << "the frame's corners leave none";
}
