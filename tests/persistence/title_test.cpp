#include "persistence/build_state.h"
#include "shell/options.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class TitleTest : public testing::Test {
protected:
    void SetUp() override {
        ResetBuildState();
        saved = g_Options;
        g_Options = AppOptions{};
        SetMainTitleSink([this](const std::u16string& title) { shown = title; });
    }
    void TearDown() override {
        SetMainTitleSink(nullptr);
        ResetBuildState();
        g_Options = saved;
    }
    AppOptions saved;
    std::u16string shown;
};

TEST_F(TitleTest, ShowsTheVersionTheFileInUseAndTheModifiedMark) {
    struct Case {
        bool saveToFile, fileOpen, modified;
        std::u16string path, title;
    };
    const Case cases[] = {
        {false, false, false, u"", u"Tolvemar RE v2.21c"},
        {true, false, false, u"/home/player/games/Tolvemar.sav", u"Tolvemar RE v2.21c - Tolvemar.sav"},
        {true, false, true, u"/home/player/games/Tolvemar.sav", u"Tolvemar RE v2.21c - Tolvemar.sav *"},
        // An open file shows its name and extension only.
        {false, true, true, u"/tmp/my builds/x.tvf", u"Tolvemar RE v2.21c - x.tvf *"},
        {false, true, true, u"relative.tvf", u"Tolvemar RE v2.21c - relative.tvf *"},
        // With the profile as the store only the mark follows the version.
        {false, false, true, u"/ignored/Tolvemar.sav", u"Tolvemar RE v2.21c *"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        g_Options.SaveToFile = c.saveToFile;
        g_bSaveFileOpen = c.fileOpen;
        g_bModified = c.modified;
        g_szSaveFilePath = c.path;
        EXPECT_EQ(ComposeMainTitle(), c.title);
        UpdateMainTitle();
        EXPECT_EQ(shown, c.title);
    }
}

}  // namespace
