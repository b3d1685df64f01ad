#include "persistence/select_save.h"

#include "data/lookups.h"
#include "platform/message_box.h"

namespace {

constexpr int kJobRadioWidths[kSaveDlgJobRadioCount] = {43, 30, 37, 50, 50, 50, 37, 30, 37, 37,
                                                        30, 30, 50, 30, 30, 43, 30, 43, 30};
constexpr int32_t kJobRadioJobs[kSaveDlgJobRadioCount] = {9, 8, 7,  4, 3,  0,  1,  10, 13, 11,
                                                          6, 2, 12, 5, 14, 15, 16, 19, 17};

// Text records of the captions set when the dialog opens.
constexpr int kTextNoJob = 21;
constexpr int kTextJobGroup = 22;
constexpr int kTextSlotGroup = 23;
constexpr int kTextSlot1 = 24;
constexpr int kTextOk = 10;
constexpr int kTextCancel = 11;

// The job names of the radios: each job's name at its highest grade.
constexpr int32_t kHighestGrade = 4;

void ExchangeRadio(SaveDlgControls& controls, const int* ids, int count, bool save, int32_t& value) {
    if (save) {
        value = -1;
        for (int i = 0; i < count; ++i) {
            if (controls.IsDlgButtonChecked(ids[i])) {
                value = i;
                break;
            }
        }
    } else {
        for (int i = 0; i < count; ++i) controls.CheckDlgButton(ids[i], i == value);
    }
}

const std::array<int, kSaveDlgJobRadioCount>& JobRadioIds() {
    static const std::array<int, kSaveDlgJobRadioCount> ids = [] {
        std::array<int, kSaveDlgJobRadioCount> out{};
        for (int k = 0; k < kSaveDlgJobRadioCount; ++k) out[k] = IDC_JOB_RADIO_FIRST + k;
        return out;
    }();
    return ids;
}

void ErrorBox(const char16_t* text) {
    MessageBoxRequest request;
    request.owner = MbOwner::SelectSaveDlg;
    request.text = text;
    request.caption = u"오류";
    request.buttons = MbButtons::Ok;
    request.icon = MbIcon::Stop;
    ShowMessageBox(request);
}

}  // namespace

const std::array<SaveDlgJobRadio, kSaveDlgJobRadioCount>& SaveDlgJobRadios() {
    static const std::array<SaveDlgJobRadio, kSaveDlgJobRadioCount> radios = [] {
        std::array<SaveDlgJobRadio, kSaveDlgJobRadioCount> out{};
        for (int k = 0; k < kSaveDlgJobRadioCount; ++k) {
            out[k] = {
                IDC_JOB_RADIO_FIRST + k, k % 2 == 0 ? 23 : 77, 40 + 12 * (k / 2), kJobRadioWidths[k], 10,
                kJobRadioJobs[k]};
        }
        return out;
    }();
    return radios;
}

int32_t JobOfSaveDlgRadio(int32_t index) {
    if (index < 0 || index >= kSaveDlgJobRadioCount) return NO_JOB;
    return kJobRadioJobs[index];
}

void SelectSaveLogic::DoDataExchange(SaveDlgControls& controls, bool save) {
    if (save) {
        m_bNoJob = controls.IsDlgButtonChecked(IDC_NOJOB);
    } else {
        controls.CheckDlgButton(IDC_NOJOB, m_bNoJob);
    }
    ExchangeRadio(controls, JobRadioIds().data(), kSaveDlgJobRadioCount, save, m_nJob);
    ExchangeRadio(controls, kSaveDlgSlotRadios.data(), kSlotCount, save, m_nSlot);
}

bool SelectSaveLogic::OnInitDialog(SaveDlgControls& controls) {
    m_nSlot = 0;
    DoDataExchange(controls, false);
    controls.SetDlgItemText(IDC_NOJOB, GetLocalizedText(kTextNoJob));
    controls.SetDlgItemText(IDC_JOB_GROUP, GetLocalizedText(kTextJobGroup));
    controls.SetDlgItemText(IDC_SLOT_GROUP, GetLocalizedText(kTextSlotGroup));
    for (const SaveDlgJobRadio& radio : SaveDlgJobRadios()) {
        controls.SetDlgItemText(radio.control, GetJobName(radio.job, kHighestGrade));
    }
    for (int s = 0; s < kSlotCount; ++s) {
        controls.SetDlgItemText(kSaveDlgSlotRadios[s], GetLocalizedText(kTextSlot1 + s));
    }
    controls.SetDlgItemText(IDC_SAVE_OK, GetLocalizedText(kTextOk));
    controls.SetDlgItemText(IDC_SAVE_CANCEL, GetLocalizedText(kTextCancel));
    return true;
}

void SelectSaveLogic::OnClickedNoJob(SaveDlgControls& controls) {
    DoDataExchange(controls, true);
    const bool enable = !m_bNoJob;
    for (int id : JobRadioIds()) controls.EnableDlgItem(id, enable);
    for (int id : kSaveDlgSlotRadios) controls.EnableDlgItem(id, enable);
    controls.EnableDlgItem(IDC_JOB_GROUP, enable);
    controls.EnableDlgItem(IDC_SLOT_GROUP, enable);
}

void SelectSaveLogic::OnOK(SaveDlgControls& controls) {
    DoDataExchange(controls, true);
    if (m_bNoJob) {
        m_nJob = NO_JOB;
    } else {
        if (m_nJob < 0) {
            ErrorBox(kChooseJobText);
            return;
        }
        if (m_nSlot < 0) {
            ErrorBox(kChooseSlotText);
            return;
        }
        m_nJob = JobOfSaveDlgRadio(m_nJob);
    }
    controls.EndDialog(true);
}
