#include <QDir>

#include "ProgramTestFolder.h"
#include "cam/nc/NcWords.h"
#include "cam/nc/PostSettings.h"

namespace {

// Start-up loads the post into the CAM globals; they are put back afterwards.
class PostAtStartup : public ProgramTestFolder {
protected:
    void TearDown() override
    {
        ProgramTestFolder::TearDown();
        PostSettings = savedPost_;
        NcModal = savedModal_;
    }

private:
    TPostSettings savedPost_ = PostSettings;
    TNcModalMemory savedModal_ = NcModal;
};

} // namespace

TEST_F(PostAtStartup, LoadsThePostTheSettingsNameWhateverItsCase)
{
    WriteFile(QStringLiteral("pst/Router_HEI.pst"), "[Default]\nDialect=HEI\n[Block Numbering]\nSeqStart=40\n");
    WriteSettings("[Default]\nPst=router_hei\n");
    PostSettings.Dialect = DIALECT_SBO;
    Start();
    EXPECT_EQ(PostSettings.Dialect, DIALECT_HEI);
    EXPECT_EQ(NcModal.BlockNumber, 40);
}

TEST_F(PostAtStartup, AMissingPostGivesTheDefaults)
{
    WriteSettings("[Default]\nPst=Nowhere\n");
    PostSettings.Dialect = DIALECT_SBO;
    Start();
    EXPECT_EQ(PostSettings, TPostSettings());
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, QString::fromLatin1(POST_NOT_FOUND));
}
