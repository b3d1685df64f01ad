#include "persistence/file_commands.h"

#include "persistence/save_data.h"
#include "persistence_test_support.h"

using namespace persist_test;

namespace {

class ScriptedHost : public FileCommandHost, public FileDialog {
public:
    std::optional<SaveChoice> RunSelectSaveDlg() override {
        ++selectSaveRuns;
        return choice;
    }
    FileDialog& FileDialogs() override { return *this; }
    void ShowFileButtons(bool show) override { buttons.push_back(show); }
    std::optional<std::u16string> GetSaveFileName() override {
        ++saveDialogs;
        return fileName;
    }
    std::optional<std::u16string> GetOpenFileName() override {
        ++openDialogs;
        return fileName;
    }

    std::optional<SaveChoice> choice;
    std::optional<std::u16string> fileName;
    int selectSaveRuns = 0, saveDialogs = 0, openDialogs = 0;
    std::vector<bool> buttons;
};

MessageBoxRequest ChooserBox(const std::u16string& text, const std::u16string& caption, MbButtons buttons,
                             MbIcon icon) {
    return Box(MbOwner::SelectJob, text, caption, buttons, icon);
}

class FileCommandsTest : public PersistenceTest {
protected:
    ScriptedHost host_;
};

TEST_F(FileCommandsTest, SaveWritesTheChosenFileAndAdoptsIt) {
    ApplyAll(RandomValidBuilds(31, CurrentLevelCaps()));
    const AllBuilds builds = CaptureBuilds();
    g_bModified = true;
    host_.choice = SaveChoice{4, 1};
    host_.fileName = u"mine.tvf";  // relative: resolved against the current folder
    answers_ = {MbResult::Ok};
    OnClickedSaveFile(host_);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], ChooserBox(u"파일 저장이 완료되었습니다.", u"확인", MbButtons::Ok, MbIcon::None));
    EXPECT_TRUE(g_bSaveFileOpen);
    EXPECT_FALSE(g_bModified);
    EXPECT_EQ(g_szSaveFilePath, PathIn("mine.tvf"));
    ASSERT_FALSE(titles_.empty());
    EXPECT_EQ(titles_.back(), u"Tolvemar RE v2.21c - mine.tvf");
    EXPECT_TRUE(host_.buttons.empty());
    ExpectSaveFileAutorun(dir_ / "mine.tvf", 4, 1);
    ApplyAll(AllBuilds{});
    CSaveData().LoadFile(g_szSaveFilePath);
    EXPECT_TRUE(CaptureBuilds() == builds);
}

TEST_F(FileCommandsTest, SaveClampsTheChoiceAndStopsOnEveryCancel) {
    host_.choice = std::nullopt;
    OnClickedSaveFile(host_);
    EXPECT_EQ(host_.saveDialogs, 0);

    host_.choice = SaveChoice{25, -3};
    host_.fileName = std::nullopt;
    OnClickedSaveFile(host_);
    EXPECT_EQ(host_.saveDialogs, 1);
    EXPECT_TRUE(boxes_.empty());

    host_.fileName = PathIn("clamped.tvf");
    answers_ = {MbResult::Ok};
    OnClickedSaveFile(host_);
    ExpectSaveFileAutorun(dir_ / "clamped.tvf", 20, 0);
}

TEST_F(FileCommandsTest, SaveAsksBeforeOverwritingAnExistingFile) {
    WriteBytes(dir_ / "old.tvf", {9, 9});
    host_.choice = SaveChoice{NO_JOB, 0};
    host_.fileName = PathIn("old.tvf");
    answers_ = {MbResult::No};
    OnClickedSaveFile(host_);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0],
              ChooserBox(u"파일이 이미 존재합니다. 덮어쓸까요?", u"확인", MbButtons::YesNo, MbIcon::None));
    EXPECT_EQ(ReadBytes(dir_ / "old.tvf"), (std::vector<uint8_t>{9, 9}));
    EXPECT_FALSE(g_bSaveFileOpen);

    answers_ = {MbResult::Yes, MbResult::Ok};
    OnClickedSaveFile(host_);
    EXPECT_EQ(ReadBytes(dir_ / "old.tvf").size(), kSaveFileSize);
    EXPECT_TRUE(g_bSaveFileOpen);
}

TEST_F(FileCommandsTest, AFailedSaveIsReportedAndChangesNoState) {
    WriteBytes(dir_ / "plain", {1});
    g_bModified = true;
    host_.choice = SaveChoice{0, 0};
    host_.fileName = PathIn("plain/x.tvf");
    answers_ = {MbResult::Ok};
    OnClickedSaveFile(host_);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], ChooserBox(u"파일을 저장하지 못했습니다.", u"오류", MbButtons::Ok, MbIcon::Stop));
    EXPECT_FALSE(g_bSaveFileOpen);
    EXPECT_TRUE(g_bModified);
    EXPECT_TRUE(g_szSaveFilePath.empty());
    EXPECT_TRUE(titles_.empty());
}

TEST_F(FileCommandsTest, LoadTakesOverTheAutorunJobAndAdoptsTheFile) {
    AllBuilds builds = RandomValidBuilds(41, CurrentLevelCaps());
    builds.jobs[4].selectedSlot = 2;
    ApplyAll(builds);
    ASSERT_TRUE(CSaveData().SaveFile(4, 1, PathIn("run.tvf")));
    ApplyAll(AllBuilds{});
    g_bModified = true;
    host_.fileName = PathIn("run.tvf");
    OnClickedLoadFile(host_);  // AutoSave on: the builds go to the profile first
    EXPECT_EQ(profile_.writeCount, 80);
    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(g_nAutoRunJob, 4);
    EXPECT_EQ(g_nSelectedSlot[4], 1);  // the autorun slot wins over the block
    builds.jobs[4].selectedSlot = 1;
    EXPECT_TRUE(CaptureBuilds() == builds);
    EXPECT_TRUE(g_bSaveFileOpen);
    EXPECT_FALSE(g_bModified);
    EXPECT_EQ(g_szSaveFilePath, PathIn("run.tvf"));
    EXPECT_EQ(titles_.back(), u"Tolvemar RE v2.21c - run.tvf");
    EXPECT_EQ(host_.buttons, std::vector<bool>{true});
}

TEST_F(FileCommandsTest, LoadWithoutAnAutorunJobKeepsTheBlocksSlots) {
    AllBuilds builds = RandomValidBuilds(43, CurrentLevelCaps());
    ApplyAll(builds);
    ASSERT_TRUE(CSaveData().SaveFile(NO_JOB, 2, PathIn("none.tvf")));
    ApplyAll(AllBuilds{});
    host_.fileName = PathIn("none.tvf");
    OnClickedLoadFile(host_);
    EXPECT_EQ(g_nAutoRunJob, NO_JOB);
    EXPECT_TRUE(CaptureBuilds() == builds);
}

TEST_F(FileCommandsTest, LoadRefusesFilesThatAreNotSaveFiles) {
    const AllBuilds builds = RandomValidBuilds(5, CurrentLevelCaps());
    ApplyAll(builds);
    g_bModified = true;
    g_Options.AutoSave = 0;
    WriteBytes(dir_ / "text.tvf", {'h', 'e', 'l', 'l', 'o'});
    struct Case {
        std::string name;
        std::u16string text;
    };
    for (const Case& c :
         {Case{"text.tvf", u"올바른 저장 파일이 아닙니다."}, Case{"absent.tvf", u"파일을 열 수 없습니다."}}) {
        boxes_.clear();
        host_.fileName = PathIn(c.name);
        answers_ = {MbResult::No, MbResult::Ok};  // do not save first; then the error
        OnClickedLoadFile(host_);
        ASSERT_EQ(boxes_.size(), 2u);
        EXPECT_EQ(boxes_[1], ChooserBox(c.text, u"오류", MbButtons::Ok, MbIcon::Stop));
        EXPECT_TRUE(CaptureBuilds() == builds);
        EXPECT_FALSE(g_bSaveFileOpen);
        EXPECT_TRUE(g_bModified);
        EXPECT_EQ(g_nAutoRunJob, NO_JOB);
        EXPECT_TRUE(host_.buttons.empty());
    }
}

TEST_F(FileCommandsTest, LoadStopsWhenTheSaveQuestionIsCancelled) {
    g_Options.AutoSave = 0;
    g_bModified = true;
    answers_ = {MbResult::Cancel};
    host_.fileName = PathIn("x.tvf");
    OnClickedLoadFile(host_);
    EXPECT_EQ(host_.openDialogs, 0);
    EXPECT_TRUE(g_bModified);
}

TEST_F(FileCommandsTest, CloseSavesThenReloadsFromTheStoreNowInUse) {
    // A chosen file in use, SaveToFile on: closing saves into the chosen file,
    // then reads Tolvemar.sav of the current folder.
    g_Options.SaveToFile = 1;
    const AllBuilds fixed = RandomValidBuilds(50, CurrentLevelCaps());
    ApplyAll(fixed);
    ASSERT_TRUE(CSaveData().SaveFile(18, 0, PathIn("Tolvemar.sav")));
    const AllBuilds chosen = RandomValidBuilds(51, CurrentLevelCaps());
    ApplyAll(chosen);
    g_bSaveFileOpen = true;
    g_szSaveFilePath = PathIn("chosen.tvf");
    g_bModified = true;
    OnClickedCloseFile(host_);
    EXPECT_FALSE(g_bSaveFileOpen);
    EXPECT_FALSE(g_bModified);
    EXPECT_EQ(g_szSaveFilePath, PathIn("Tolvemar.sav"));
    EXPECT_TRUE(CaptureBuilds() == fixed);
    EXPECT_EQ(titles_.back(), u"Tolvemar RE v2.21c - Tolvemar.sav");
    EXPECT_EQ(host_.buttons, std::vector<bool>{false});
    ApplyAll(AllBuilds{});
    ASSERT_EQ(CSaveData().LoadFile(PathIn("chosen.tvf")).status, SaveFileStatus::Ok);
    EXPECT_TRUE(CaptureBuilds() == chosen);
}

TEST_F(FileCommandsTest, CloseReadsTheProfileWithoutSaveToFileAndStopsOnCancel) {
    g_bSaveFileOpen = true;
    g_szSaveFilePath = PathIn("c.tvf");
    g_bModified = true;
    g_Options.AutoSave = 0;
    answers_ = {MbResult::Cancel};
    OnClickedCloseFile(host_);
    EXPECT_TRUE(g_bSaveFileOpen);
    EXPECT_TRUE(host_.buttons.empty());

    ApplyAll(RandomValidBuilds(60, CurrentLevelCaps()));
    answers_ = {MbResult::No};
    OnClickedCloseFile(host_);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "c.tvf"));
    EXPECT_FALSE(g_bSaveFileOpen);
    EXPECT_FALSE(g_bModified);
    EXPECT_EQ(titles_.back(), u"Tolvemar RE v2.21c");
    for (int job = 0; job < kJobCount; ++job) EXPECT_EQ(g_nSelectedSlot[job], 0);  // empty profile
    EXPECT_EQ(host_.buttons, std::vector<bool>{false});
}

}  // namespace
