#include <gtest/gtest.h>

#include "cad/base/CADExceptions.h"
#include "cad/fonts/FontRegistry.h"
#include "cad/fonts/VectFont.h"
#include "support/ExceptionMessage.h"
#include "support/VectFontTestSupport.h"

using cadtest::MessageOf;
using namespace vectfont_test;

namespace {

class FontRegistry : public testing::Test {
protected:
    void SetUp() override { CADCoreClearFontRegistry(); }
    void TearDown() override { CADCoreClearFontRegistry(); }
};

} // namespace

TEST_F(FontRegistry, RegistersAFontUnderItsIndex)
{
    const std::string path = WriteTestFile("registry-ok.fnt", FontFileBytes({Stroke('A', 0.6f)}));
    TMessageRecorder messages;
    CADCoreRegisterFontFromFile(7, path);
    CADCoreRegisterFontFromFile(512, path);
    EXPECT_TRUE(messages.Texts.empty());
    TVectFont* font = CADCoreFindFontByIndex(7);
    ASSERT_NE(font, nullptr);
    EXPECT_NE(font->GetChar('A'), nullptr);
    EXPECT_EQ(CADCoreFindFontIndex(font), 7);
    EXPECT_EQ(CADCoreFindFontIndex(CADCoreFindFontByIndex(512)), 512);
}

TEST_F(FontRegistry, RefusedRegistrationsAndLookUpsRaiseTheirTexts)
{
    const std::string path = WriteTestFile("registry-twice.fnt", FontFileBytes({}));
    CADCoreRegisterFontFromFile(0, path);
    EXPECT_EQ(MessageOf<ECADObjClassNotFound>([&] { CADCoreRegisterFontFromFile(0, path); }),
              "CADCoreRegisterFontFromFile: Font index already allocated");
    for (int index : {513, -1})
        EXPECT_EQ(MessageOf<ECADOutOfBound>([&] { CADCoreRegisterFontFromFile(index, path); }),
                  "CADCoreRegisterFontFromFile: Out of bound registration index")
            << index;
    // Indices read from a stream may be anything: outside 0-512 is just "not registered".
    for (int index : {1, 513, -1, -2147483647 - 1})
        EXPECT_EQ(MessageOf<ECADObjClassNotFound>([&] { CADCoreFindFontByIndex(index); }),
                  "CADCoreFindFontByIndex: Font not registered")
            << index;
    const TVectFont stranger;
    for (const TVectFont* font : {&stranger, static_cast<const TVectFont*>(nullptr)})
        EXPECT_EQ(MessageOf<ECADObjClassNotFound>([&] { CADCoreFindFontIndex(font); }),
                  "CADCoreFindFontIndex: Font not found");
}

TEST_F(FontRegistry, AMissingFileIsReportedAndLeavesTheSlotEmpty)
{
    const std::string path = std::string(KESTRO_TEST_OUTPUT_DIR) + "/vectfont/no-such-font.fnt";
    TMessageRecorder messages;
    EXPECT_NO_THROW(CADCoreRegisterFontFromFile(0, path));
    ASSERT_EQ(messages.Texts.size(), 1u);
    EXPECT_EQ(messages.Texts[0], "File not found!\r\n" + path);
    EXPECT_THROW(CADCoreFindFontByIndex(0), ECADObjClassNotFound);
}

TEST_F(FontRegistry, ADamagedFileIsReportedAndLeavesTheSlotEmpty)
{
    auto truncated = FontFileBytes({Stroke('A', 0.6f)});
    truncated.resize(truncated.size() - 10);
    const struct {
        const char* file;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"registry-truncated.fnt", truncated},
        {"registry-empty.fnt", {}},
        {"registry-code.fnt", FontFileBytes({Stroke('A', 0.6f), {300, {}}})},
    };
    for (const auto& c : cases) {
        CADCoreClearFontRegistry();
        const std::string path = WriteTestFile(c.file, c.bytes);
        TMessageRecorder messages;
        EXPECT_NO_THROW(CADCoreRegisterFontFromFile(0, path)) << c.file;
        ASSERT_EQ(messages.Texts.size(), 1u) << c.file;
        EXPECT_EQ(messages.Texts[0].rfind("Font file not valid!\r\n" + path + "\r\n", 0), 0u) << messages.Texts[0];
        EXPECT_THROW(CADCoreFindFontByIndex(0), ECADObjClassNotFound) << c.file;
        // The slot is still free for a good font.
        CADCoreRegisterFontFromFile(0, WriteTestFile("registry-good.fnt", FontFileBytes({})));
        EXPECT_NO_THROW(CADCoreFindFontByIndex(0)) << c.file;
    }
}
