// Each shipped post writes the same small job, compared with a reviewed text
// per post, so that any change of NC output shows up in review.

#include <string>

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "support/Golden.h"
#include "support/NcRig.h"

namespace {

// A profile with a counter-clockwise quarter arc, a clockwise half circle
// dipping into the part, and a counter-clockwise three-quarter arc.
const TChain CONTOUR = {
    MakeElement({0, 0}, {20, 0}),
    ArcOfSweep({20, 0}, {25, 5}, 90),
    MakeElement({25, 5}, {25, 15}),
    ArcOfSweep({25, 15}, {15, 15}, -180),
    MakeElement({15, 15}, {0, 15}),
    ArcOfSweep({0, 15}, {0, 5}, 270),
    MakeElement({0, 5}, {0, 0}),
};

const TPointList HOLES = {{5, 5}, {20, 5}, {12.5, 12.5}};

// The job in the order the program writes one: start of file, a contour at
// one depth, a tool change, three peck-drilled holes, end of file.
class TJobWriter {
public:
    explicit TJobWriter(const TPostSettings& post) : post_(post)
    {
        modal_.BlockNumber = post.SeqStart;
        job_.ToolName = "Flat 6";
        job_.ToolDiameter = "6";
        job_.SpindleSpeed = "12000";
        job_.FeedRate = "800";
        job_.PlungeRate = "300";
        job_.Coolant = true;
        job_.NcFileName = "/home/user/jobs/part.nc";
        job_.ZRapid = 2.0f;
        job_.CurrentDepth = -1.5f;
        job_.PeckIncrement = 1.0;
        job_.Pitch = 1.25;
    }

    std::string Write()
    {
        const TVect start = StartPoint(CONTOUR.front());
        writer_.WriteTemplate(post_.StartOfFile, start.X, start.Y);
        Contour();
        job_.ToolNumber = 2;
        job_.ToolDiameter = "4.2";
        job_.CurrentDepth = -6.0f;
        writer_.WriteTemplate(post_.ToolChange, HOLES.front().X, HOLES.front().Y);
        Holes(post_.Cycles[1]);
        writer_.WriteTemplate(post_.EndOfFile, HOLES.back().X, HOLES.back().Y);
        return writer_.TakeText();
    }

private:
    void ZLine(int motion, double z, const std::string& feed)
    {
        if (post_.OmitZ)
            return;
        std::string words = writer_.FormatZWord(post_.IncrementalMode ? writer_.IncrementZ(z) : z);
        words += writer_.FormatFeedWord(feed);
        writer_.WriteNcLine(motion, words);
    }

    void XYLine(int motion, const std::string& feed, TVect p)
    {
        if (!post_.IncrementalMode) {
            writer_.WriteMoveLine(motion, feed, p.X, p.Y);
            return;
        }
        const float dx = writer_.IncrementX(p.X);
        const float dy = writer_.IncrementY(p.Y);
        std::string words = writer_.FormatXWord(dx);
        words += writer_.FormatYWord(dy);
        words += writer_.FormatFeedWord(feed);
        writer_.WriteNcLine(motion, words);
    }

    void Contour()
    {
        ZLine(MOTION_RAPID, job_.ZRapid, RAPID_FEED);
        XYLine(MOTION_RAPID, RAPID_FEED, StartPoint(CONTOUR.front()));
        ZLine(MOTION_LINEAR, job_.CurrentDepth, job_.PlungeRate);
        for (std::size_t i = 0; i < CONTOUR.size(); ++i) {
            const TChainElement& e = CONTOUR[i];
            const bool first = i == 0;
            const bool last = i + 1 == CONTOUR.size();
            if (first && post_.HasBeforeFirstFeedMove)
                writer_.WriteTemplate(post_.BeforeFirstFeedMove, e.X2, e.Y2);
            if (last && post_.HasBeforeLastFeedMove)
                writer_.WriteTemplate(post_.BeforeLastFeedMove, e.X2, e.Y2);
            if (IsStraight(e))
                XYLine(MOTION_LINEAR, job_.FeedRate, EndPoint(e));
            else
                writer_.WriteArcBlock(e);
            if (first && post_.HasAfterFirstFeedMove)
                writer_.WriteTemplate(post_.AfterFirstFeedMove, e.X2, e.Y2);
            if (last && post_.HasAfterLastFeedMove)
                writer_.WriteTemplate(post_.AfterLastFeedMove, e.X2, e.Y2);
        }
        ZLine(MOTION_RAPID, job_.ZRapid, RAPID_FEED);
    }

    void Holes(const TCycleTemplates& cycle)
    {
        for (std::size_t k = 0; k < HOLES.size(); ++k) {
            const TVect p = HOLES[k];
            if (cycle.Exploded) {
                XYLine(MOTION_RAPID, RAPID_FEED, p);
                ZLine(MOTION_LINEAR, job_.CurrentDepth, job_.PlungeRate);
                ZLine(MOTION_RAPID, job_.ZRapid, RAPID_FEED);
            } else {
                writer_.WriteTemplate((k == 0 ? cycle.CycleDef : cycle.CycleMove) + "\r\n", p.X, p.Y);
            }
        }
        if (!cycle.Exploded)
            writer_.WriteTemplate(cycle.CycleCancel + "\r\n", HOLES.back().X, HOLES.back().Y);
    }

    const TPostSettings& post_;
    TNcModalMemory modal_;
    TNcJobValues job_;
    TNcWriter writer_{post_, modal_, job_};
};

} // namespace

TEST(PostGolden, EachShippedPostWritesItsReviewedText)
{
    const QString folder = QStringLiteral(KESTRO_DATA_DIR "/pst");
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.pst")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const TPostSettings post = ReadPostSettingsFromFile(folder + QLatin1Char('/') + file);
        ExpectGolden("posts/" + QFileInfo(file).completeBaseName().toStdString() + ".nc", TJobWriter(post).Write());
    }
    // Without a post file every default applies.
    ExpectGolden("posts/defaults.nc", TJobWriter(TPostSettings()).Write());
}
