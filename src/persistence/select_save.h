// The save options dialog without its window: which job a save file names as
// its autorun job (or none) and which build slot goes with it. The window
// (template 178) lends its controls through SaveDlgControls.
#pragma once

#include "data/tables.h"

#include <array>
#include <cstdint>
#include <string>

inline constexpr int IDD_SELECTSAVE = 178;
inline constexpr int IDC_NOJOB = 1069;
inline constexpr int IDC_JOB_GROUP = 1080;
inline constexpr int IDC_SLOT_GROUP = 1081;
inline constexpr int IDC_JOB_RADIO_FIRST = 1101;
inline constexpr int IDC_SLOT_RADIO1 = 1075;
inline constexpr int IDC_SLOT_RADIO2 = 1077;
inline constexpr int IDC_SLOT_RADIO3 = 1078;
inline constexpr int IDC_SAVE_OK = 1;
inline constexpr int IDC_SAVE_CANCEL = 2;

inline constexpr int kSaveDlgJobRadioCount = 19;

// One job radio: its control, its place in dialog units and the job it
// stands for. Job 18 has no radio.
struct SaveDlgJobRadio {
    int control;
    int x, y, width, height;
    int32_t job;
};

// The 19 job radios in control order: even positions in the left column,
// odd ones in the right, two to a row.
const std::array<SaveDlgJobRadio, kSaveDlgJobRadioCount>& SaveDlgJobRadios();

inline constexpr std::array<int, kSlotCount> kSaveDlgSlotRadios = {IDC_SLOT_RADIO1, IDC_SLOT_RADIO2,
                                                                   IDC_SLOT_RADIO3};

inline constexpr char16_t kSelectSaveCaption[] = u"파일저장";
inline constexpr char16_t kChooseJobText[] = u"직업을 선택하세요";
inline constexpr char16_t kChooseSlotText[] = u"저장할 슬롯을 선택하세요";

// The job id of a job radio's position; NO_JOB for any other value.
int32_t JobOfSaveDlgRadio(int32_t index);

// What the dialog logic reads and changes in its window.
class SaveDlgControls {
public:
    virtual ~SaveDlgControls() = default;
    virtual bool IsDlgButtonChecked(int id) const = 0;
    virtual void CheckDlgButton(int id, bool checked) = 0;
    virtual void EnableDlgItem(int id, bool enable) = 0;
    virtual void SetDlgItemText(int id, const std::u16string& text) = 0;
    virtual void EndDialog(bool ok) = 0;
};

class SelectSaveLogic {
public:
    bool m_bNoJob = false;  // check box 1069: no autorun job
    int32_t m_nJob = -1;    // while open: checked job radio's position, -1 none;
                            // after OK: the job id, or NO_JOB
    int32_t m_nSlot = -1;   // checked slot radio's position, -1 none

    // Moves the members into the controls (`save` false) or the controls into
    // the members (`save` true).
    void DoDataExchange(SaveDlgControls& controls, bool save);

    // Checks slot 1, clears the rest and sets the localized captions.
    bool OnInitDialog(SaveDlgControls& controls);

    // Enables the job radios, slot radios and both group boxes exactly when
    // the check box is clear.
    void OnClickedNoJob(SaveDlgControls& controls);

    // Ends the dialog with the chosen job and slot, or shows why it cannot.
    void OnOK(SaveDlgControls& controls);
};
