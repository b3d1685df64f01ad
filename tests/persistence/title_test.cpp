#include "persistence/build_state.h"
#include "shell/options.h"

#include <gtest/gtest.h>

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

TEST_F(TitleTest, ProfileStoreUnchangedShowsTheVersionAlone) {
    UpdateMainTitle();
    EXPECT_EQ(shown, u"Tolvemar RE v2.21c");
}

TEST_F(TitleTest, SaveToFileShowsTheFileNameAndThenTheModifiedMark) {
    g_Options.SaveToFile = 1;
    g_szSaveFilePath = u"/home/player/games/Tolvemar.sav";
    UpdateMainTitle();
    EXPECT_EQ(shown, u"Tolvemar RE v2.21c - Tolvemar.sav");
    g_bModified = true;
    UpdateMainTitle();
    EXPECT_EQ(shown, u"Tolvemar RE v2.21c - Tolvemar.sav *");
}

TEST_F(TitleTest, OpenFileShowsNameAndExtensionOnly) {
    g_bSaveFileOpen = true;
    g_szSaveFilePath = u"/tmp/my builds/x.tvf";
    g_bModified = true;
    UpdateMainTitle();
    EXPECT_EQ(shown, u"Tolvemar RE v2.21c - x.tvf *");
    g_szSaveFilePath = u"relative.tvf";
    EXPECT_EQ(ComposeMainTitle(), u"Tolvemar RE v2.21c - relative.tvf *");
}

TEST_F(TitleTest, RegistryStoreModifiedGetsTheMarkOnly) {
    g_bModified = true;
    g_szSaveFilePath = u"/ignored/Tolvemar.sav";
    EXPECT_EQ(ComposeMainTitle(), u"Tolvemar RE v2.21c *");
}

}  // namespace
