#include "persistence/select_save.h"

#include "persistence_test_support.h"

#include <map>
#include <set>
#include <vector>

using namespace persist_test;

namespace {

// Controls as a table: checks, enabled states and texts by id.
class FakeControls : public SaveDlgControls {
public:
    bool IsDlgButtonChecked(int id) const override {
        const auto it = checked.find(id);
        return it != checked.end() && it->second;
    }
    void CheckDlgButton(int id, bool value) override { checked[id] = value; }
    void EnableDlgItem(int id, bool enable) override { enabled[id] = enable; }
    void SetDlgItemText(int id, const std::u16string& text) override { texts[id] = text; }
    void EndDialog(bool ok) override { ended = ok ? 1 : 0; }

    // What a click on an automatic radio does: checks it, clears its group.
    void ClickRadio(int id) {
        const bool job = id >= IDC_JOB_RADIO_FIRST && id < IDC_JOB_RADIO_FIRST + kSaveDlgJobRadioCount;
        if (job) {
            for (int k = 0; k < kSaveDlgJobRadioCount; ++k) checked[IDC_JOB_RADIO_FIRST + k] = false;
        } else {
            for (int slot : kSaveDlgSlotRadios) checked[slot] = false;
        }
        checked[id] = true;
    }

    std::map<int, bool> checked, enabled;
    std::map<int, std::u16string> texts;
    int ended = -1;
};

MessageBoxRequest ErrorBox(const std::u16string& text) {
    return Box(MbOwner::SelectSaveDlg, text, u"오류", MbButtons::Ok, MbIcon::Stop);
}

class SelectSaveTest : public PersistenceTest {
protected:
    void Open() { EXPECT_TRUE(logic_.OnInitDialog(controls_)); }
    SelectSaveLogic logic_;
    FakeControls controls_;
};

TEST(SelectSaveTable, RadiosStandForTheirJobsInTwoColumns) {
    const auto& radios = SaveDlgJobRadios();
    const int32_t jobs[] = {9, 8, 7, 4, 3, 0, 1, 10, 13, 11, 6, 2, 12, 5, 14, 15, 16, 19, 17};
    std::set<int32_t> seen;
    for (int k = 0; k < kSaveDlgJobRadioCount; ++k) {
        EXPECT_EQ(radios[k].control, 1101 + k);
        EXPECT_EQ(radios[k].job, jobs[k]);
        EXPECT_EQ(JobOfSaveDlgRadio(k), jobs[k]);
        EXPECT_EQ(radios[k].x, k % 2 == 0 ? 23 : 77);
        EXPECT_EQ(radios[k].y, 40 + 12 * (k / 2));
        EXPECT_EQ(radios[k].height, 10);
        seen.insert(radios[k].job);
    }
    EXPECT_EQ(seen.size(), 19u);
    EXPECT_EQ(seen.count(18), 0u);  // job 18 has no radio
    for (int32_t index : {-1, 19, 20, 1000}) EXPECT_EQ(JobOfSaveDlgRadio(index), NO_JOB);
}

TEST_F(SelectSaveTest, OpensWithSlotOneCheckedAndLocalizedCaptions) {
    Open();
    EXPECT_FALSE(controls_.IsDlgButtonChecked(IDC_NOJOB));
    for (int k = 0; k < kSaveDlgJobRadioCount; ++k) EXPECT_FALSE(controls_.IsDlgButtonChecked(1101 + k));
    EXPECT_TRUE(controls_.IsDlgButtonChecked(1075));
    EXPECT_FALSE(controls_.IsDlgButtonChecked(1077));
    EXPECT_EQ(logic_.m_nSlot, 0);
    EXPECT_EQ(controls_.texts[1069], u"선택하지 않음");
    EXPECT_EQ(controls_.texts[1080], u"자동실행할 직업");
    EXPECT_EQ(controls_.texts[1081], u"저장할 슬롯");
    EXPECT_EQ(controls_.texts[1078], u"슬롯3");
    EXPECT_EQ(controls_.texts[1], u"확인");
    EXPECT_EQ(controls_.texts[2], u"취소");
    EXPECT_EQ(controls_.texts[1118], std::u16string(GetJobName(19, 4)));
    EXPECT_EQ(controls_.texts.size(), 3u + 19u + 3u + 2u);

    g_Options.Language = 2;
    Open();
    EXPECT_EQ(controls_.texts[1069], u"None Selection");
    EXPECT_EQ(controls_.texts[1075], u"Slot1");
    EXPECT_EQ(controls_.texts[1], u"確認");
}

TEST_F(SelectSaveTest, TheCheckBoxDisablesExactlyTheJobAndSlotControls) {
    Open();
    controls_.CheckDlgButton(IDC_NOJOB, true);
    logic_.OnClickedNoJob(controls_);
    std::set<int> expected = {1075, 1077, 1078, 1080, 1081};
    for (int k = 0; k < kSaveDlgJobRadioCount; ++k) expected.insert(1101 + k);
    std::set<int> touched;
    for (const auto& [id, on] : controls_.enabled) {
        touched.insert(id);
        EXPECT_FALSE(on) << id;
    }
    EXPECT_EQ(touched, expected);
    controls_.CheckDlgButton(IDC_NOJOB, false);
    logic_.OnClickedNoJob(controls_);
    for (const auto& [id, on] : controls_.enabled) EXPECT_TRUE(on) << id;
}

TEST_F(SelectSaveTest, OkReturnsTheRadiosJobOrNoJob) {
    struct Case {
        std::vector<int> clicks;
        bool noJob;
        int32_t job, slot;
    };
    // The check box wins over a checked radio, and the slot survives.
    for (const Case& c :
         {Case{{1118, 1078}, false, 19, 2}, Case{{1106}, false, 0, 0}, Case{{1101, 1077}, true, NO_JOB, 1}}) {
        SCOPED_TRACE(c.clicks.front());
        SelectSaveLogic logic;
        FakeControls controls;
        logic.OnInitDialog(controls);
        for (int id : c.clicks) controls.ClickRadio(id);
        controls.CheckDlgButton(IDC_NOJOB, c.noJob);
        logic.OnOK(controls);
        EXPECT_EQ(controls.ended, 1);
        EXPECT_EQ(logic.m_nJob, c.job);
        EXPECT_EQ(logic.m_nSlot, c.slot);
    }
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(SelectSaveTest, OkWithoutAJobOrASlotExplainsAndStays) {
    Open();
    answers_ = {MbResult::Ok};
    logic_.OnOK(controls_);
    EXPECT_EQ(controls_.ended, -1);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], ErrorBox(u"직업을 선택하세요"));

    controls_.ClickRadio(1105);
    for (int slot : kSaveDlgSlotRadios) controls_.CheckDlgButton(slot, false);
    answers_ = {MbResult::Ok};
    logic_.OnOK(controls_);
    EXPECT_EQ(controls_.ended, -1);
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[1], ErrorBox(u"저장할 슬롯을 선택하세요"));

    controls_.CheckDlgButton(IDC_NOJOB, true);  // with no job, the slots are not examined
    logic_.OnOK(controls_);
    EXPECT_EQ(controls_.ended, 1);
    EXPECT_EQ(logic_.m_nJob, NO_JOB);
}

}  // namespace
